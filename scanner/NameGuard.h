#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class Places;

// Names taken from the user's disk (an application's name, a package folder's name) are untrusted.
// A place built from one must name something strictly inside the folder it is meant for: never
// the folder itself, never its parent, never anything outside it.

// True when name can stand as one entry name inside a folder: not empty, not only whitespace,
// not "." or "..", and free of "/" and NUL (a NUL would cut the path short at the system call).
bool isSafeEntryName(const QString &name);

// folder + "/" + fixedPrefix + name, where fixedPrefix is a prefix the program chose (".",
// ".config/", "Application Support/", may be empty) and name is untrusted. Nothing unless name is
// a safe entry name and the last component it forms (fixedPrefix "." with name "." gives "..")
// is one too, so the result always lies strictly inside folder.
std::optional<QString> placeInside(const QString &folder, const QString &fixedPrefix,
                                   const QString &name);

// The folders a search must never offer as a found file, lexically clean: "/", the system root,
// the home folder and every folder above those two, every folder the searches list or build
// places in, the Trash, and the shared folders that hold them (home/Library, home/.local,
// /opt/homebrew, ...). A folder that belongs to one application (a container, for example) is
// not in it even when a searched folder lies inside it.
QStringList protectedFolders(const Places &places);

// True when path is empty, relative, or after lexical clean-up ("a/./b", "a/../b", trailing "/")
// names one of the protected folders. Letter case is ignored, since macOS file systems usually
// ignore it.
bool isProtectedPlace(const QString &path, const QStringList &protectedFolders);

// The protected folders of one machine, judged by their text and by what they are on disk. A
// link can make a folder reachable under another name (~/.config a link into ~/.dotfiles/config),
// so a found item is also refused when, resolved through links, it is one of those folders or
// holds one. A found item that is itself a symbolic link is judged by its text only: moving it
// moves the link, never what it points to. An application's own container that holds a searched
// folder (Docker's data) stays removable. Nothing in a Trash (see TrashFolders.h) is ever a
// found item, whether its path or the place its folder resolves to lies there.
// What of one folder's entries ProtectedPlaces refuses, found once for the folder: a search that
// judges every entry of a folder needs no link resolved per entry.
class ProtectedEntries
{
public:
    // Whether folder + "/" + name is refused. Stricter than ProtectedPlaces::contains: a name is
    // refused by its text alone whether or not the entry is a link.
    bool contains(const QString &name) const;

private:
    friend class ProtectedPlaces;
    bool m_all = false;    // the folder lies in a Trash
    QSet<QString> m_names; // lower-case
};

class ProtectedPlaces
{
public:
    explicit ProtectedPlaces(const Places &places);

    bool contains(const QString &path) const;
    // The entries of folder (absolute) that contains refuses.
    ProtectedEntries entriesOf(const QString &folder) const;
    const QStringList &folders() const { return m_folders; }

private:
    QStringList m_folders;     // lexically clean
    QStringList m_realFolders; // the same, resolved through links, where they exist
    QStringList m_heldFolders; // the resolved folders whose holders are protected too
    QStringList m_trashFolders;
    QStringList m_realTrashFolders; // the same and, where they exist, resolved through links
};

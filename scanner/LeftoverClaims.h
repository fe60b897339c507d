#pragma once

#include "model/AppInfo.h"
#include "model/FileCategory.h"
#include "scanner/NameSieve.h"
#include "scanner/TermMatcher.h"

#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class FileScanner;

// What installed things claim the entries of the searched places, so that what no one claims is
// really left over: the installed applications by their search terms (as their own leftover
// search matches them), the packages of every manager, the Flatpaks, the Snaps and the programs
// on PATH by name, the desktop's own names, and the names the user keeps.
class LeftoverClaims
{
public:
    // The installed names of the machine the scanner looks at, but for its applications': one
    // query per package manager, one listing per Flatpak installation, /snap and each program
    // folder; and the names the user keeps. Nothing here waits for the applications' listing, so
    // the two can be read at once.
    static LeftoverClaims gather(const FileScanner &scanner, const QStringList &kept);
    // What the installed applications claim, by their search terms and their names.
    void addApplications(const FileScanner &scanner, const QList<AppInfo> &apps);

    // Whether something installed, the desktop or the user claims the entry (its name as listed
    // and as the file system's bytes, its leftoverKey).
    bool claims(const QString &entryName, QByteArrayView bytes, const QString &key,
                FileCategory category) const;

    bool hasFlatpak(const QString &id) const { return m_flatpaks.contains(id.toLower()); }
    bool hasSnap(const QString &name) const { return m_snaps.contains(name.toLower()); }
    bool hasBundleIdentifier(const QString &id) const
    {
        return m_bundleIdentifiers.contains(id.toLower());
    }

private:
    void addName(const QString &name);

    QStringList m_terms; // the applications' terms and whole names
    std::shared_ptr<ItemMatcher> m_matcher;
    std::shared_ptr<NameSieve> m_sieve;
    QSet<QString> m_names;             // packages, programs, ids and kept names, as keys
    QSet<QString> m_flatpaks;          // lower-case ids
    QSet<QString> m_snaps;             // lower-case names
    QSet<QString> m_bundleIdentifiers; // lower-case
};

#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// The machine the scanner looks at: the user's home folder, the system root and the XDG base
// directory variables. Every fixed place of the program is resolved through one Places value, so
// that a test can build a whole machine in a temporary folder. By default: the real home folder,
// "/" and this program's environment.
class Places
{
public:
    Places(); // the real machine
    // A machine whose XDG variables and PATH are all unset (so every XDG place is its default
    // under home and root) unless given in xdg ("XDG_CONFIG_HOME" -> "/abs/path").
    Places(QString home, QString root, QMap<QString, QString> xdg = {});

    const QString &home() const { return m_home; }
    const QString &root() const { return m_root; }

    // home + relative, appended as one component string that may contain "/"
    // ("Library/Caches" -> "/home/me/Library/Caches"). An empty relative gives the home itself.
    QString inHome(const QString &relative) const;

    // An absolute place of the machine ("/opt/homebrew/Cellar") under the system root.
    QString onSystem(const QString &absolute) const;

    // A path under the system root shown as the machine sees it ("/Applications/X.app"), so
    // rules that test "/Applications/" prefixes work on a sandbox too. Paths outside the root
    // come back unchanged.
    QString systemRelative(const QString &path) const;

    // The XDG base directories. A variable that is unset, empty or relative is ignored, as the
    // XDG rules say, and its default under the home folder is used. A set value is taken as the
    // absolute path it names.
    QString configHome() const; // $XDG_CONFIG_HOME, else ~/.config
    QString cacheHome() const;  // $XDG_CACHE_HOME, else ~/.cache
    QString dataHome() const;   // $XDG_DATA_HOME, else ~/.local/share
    QString stateHome() const;  // $XDG_STATE_HOME, else ~/.local/state
    // $XDG_DATA_DIRS in order, else /usr/local/share and /usr/share; each one a machine place
    // resolved under the system root. Relative entries are dropped, duplicates kept once.
    QStringList dataDirs() const;

    // Whether the machine sets the XDG variable ("XDG_CONFIG_HOME") to an absolute path, rather
    // than leaving its place to the default.
    bool setsXdg(const QString &variable) const;

    // $XDG_CONFIG_HOME/user-dirs.dirs, where xdg-user-dirs names the user's own folders.
    QString userDirsFile() const;
    // The user's own folders (Desktop, Documents, Downloads, Music, Pictures, Videos...): those
    // the user-dirs.dirs contents name ("$HOME/..." or absolute; one set to the home itself
    // means none), else, with no such file, the usual names under home (Desktop, Documents,
    // Downloads, Movies, Music, Pictures, Videos). Each once, in the order given.
    QStringList userDirectories(const std::optional<QByteArray> &userDirsContents) const;

    // The folders of $PATH, where the programs the user runs by name are: each under the system
    // root unless it lies in the home folder; relative entries dropped, each once. None when the
    // machine gives no PATH (a sandbox that does not set one).
    QStringList programFolders() const;

private:
    QString xdgHome(const char *variable, const QString &fallback) const;

    QString m_home;
    QString m_root;
    QMap<QString, QString> m_xdg;
};

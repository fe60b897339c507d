#pragma once

#include <QString>

// The machine the scanner looks at: the user's home folder and the system root. Every fixed
// place of the program is resolved through one Places value, so that a test can build a whole
// machine in a temporary folder. By default: the real home folder and "/".
class Places
{
public:
    Places(); // the real machine
    Places(QString home, QString root);

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

private:
    QString m_home;
    QString m_root;
};

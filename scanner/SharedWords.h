#pragma once

#include "scanner/SearchTerms.h"

#include <QSet>
#include <QString>
#include <QStringList>

class Places;

// Words that the files of too many programs hold to tell one program from another: the names of
// the folders the searches look in ("Preferences", "Caches", ".config", "share", "Library",
// "autostart", "icons") and vendors, the second part of many reverse-domain identifiers
// ("google" in com.google.Chrome, com.google.Keystone, com.google.drivefs). Such a word is never a
// search term on its own: an application named "Caches" or "Google" finds only entries named
// exactly so (and what its full identifier matches), and a vendor part of its identifier counts
// only along with all its other parts ("Google Chrome" still finds "com.google.Chrome" and
// "google-chrome", never "com.google.Keystone").
//
// Letter case, spaces, "-", "_" and "." are ignored in the comparison: "ApplicationSupport",
// "application-support" and ".config" are such words as much as "Application Support" and
// "config".
class SharedWords
{
public:
    // The own names of the protected folders (every folder the searches list or build places in,
    // and those holding them; see protectedFolders) except the home folder, the system root and
    // the folders above them, whose names say nothing about the searched places ("home", the
    // user's login). Then the well-known vendors.
    SharedWords(const QStringList &protectedFolders, const Places &places);

    void add(const QStringList &words);
    bool contains(QStringView word) const;

    // terms without the shared words: a shared term stays only as a whole name, a shared
    // identifier part becomes one of the shared parts. name, when shared, stays a whole name also
    // where the terms had dropped it as a duplicate of an identifier part (the name "Xcode" of
    // com.apple.dt.Xcode).
    SearchTerms narrowed(const SearchTerms &terms, const QString &name) const;

private:
    QSet<QString> m_keys; // case-folded, without spaces, "-", "_" and "."
};

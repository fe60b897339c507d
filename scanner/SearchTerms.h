#pragma once

// The words a leftover search looks for: an item's names and the parts of its identifier.

#include "model/AppInfo.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

struct SearchTerms
{
    QStringList terms;           // whole-name terms, insertion order, own letter case
    QStringList identifierParts; // words of the bundle identifier
    QStringList wholeNames;      // matched only as a whole name (an identifier of < 3 components)
    QStringList sharedParts;     // identifier parts many programs share (see SharedWords)
};

// A bundle's terms: its identifier (whole, and its distinctive words), its name with and without
// spaces, and the bundle's file name the same way.
SearchTerms searchTermsFor(const std::optional<QString> &bundleIdentifier, const QString &name,
                           const std::optional<QString> &bundlePath);
// Any application's terms: a bundle's as above; a desktop application's also by its other names
// (desktop-file id, program, window class, Snap name, icon, owning package and its family).
SearchTerms searchTermsFor(const AppInfo &app);
// Appends candidate, trimmed, unless it names nothing or seen (lower-cased) already holds it.
void addSearchTerm(const QString &candidate, QSet<QString> &seen, QStringList &list);

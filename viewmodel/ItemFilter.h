#pragma once

#include "model/AppInfo.h"

#include <QList>
#include <QString>

// The search field's filters, as pure functions of a list and the query.
namespace ItemFilter {

// Applications whose lower-cased name contains the lower-cased query or has it as a
// subsequence; names starting with it first; otherwise the given order.
QList<AppInfo> applications(const QList<AppInfo> &apps, const QString &query);

// Length of q (in user-perceived characters) when q is a subsequence of name, else 0; an
// empty q scores 0. Both already lower-cased.
int fuzzyMatchScore(const QString &name, const QString &q);

// Packages whose lower-cased name contains the lower-cased query, in the given order; all of
// them for an empty query.
template <typename Package>
QList<Package> packages(const QList<Package> &packages, const QString &query)
{
    if (query.isEmpty())
        return packages;
    const QString q = query.toLower();
    QList<Package> result;
    for (const Package &package : packages) {
        if (package.name.toLower().contains(q))
            result.append(package);
    }
    return result;
}

} // namespace ItemFilter

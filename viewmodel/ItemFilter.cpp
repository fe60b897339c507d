#include "viewmodel/ItemFilter.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

QStringList graphemes(const QString &text)
{
    QStringList result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        result.append(text.mid(start, end - start));
        start = end;
    }
    return result;
}

} // namespace

namespace ItemFilter {

QList<AppInfo> applications(const QList<AppInfo> &apps, const QString &query)
{
    struct Candidate
    {
        AppInfo app;
        bool startsWithQuery;
        int score;
    };
    const QString q = query.toLower();
    QList<Candidate> kept;
    for (const AppInfo &app : apps) {
        const QString name = app.name.toLower();
        const int score = fuzzyMatchScore(name, q);
        if (name.contains(q) || score > 0)
            kept.append({app, name.startsWith(q), score});
    }
    std::stable_sort(kept.begin(), kept.end(), [](const Candidate &a, const Candidate &b) {
        if (a.startsWithQuery != b.startsWithQuery)
            return a.startsWithQuery;
        return a.score > b.score;
    });
    QList<AppInfo> result;
    result.reserve(kept.size());
    for (const Candidate &candidate : std::as_const(kept))
        result.append(candidate.app);
    return result;
}

int fuzzyMatchScore(const QString &name, const QString &q)
{
    if (q.isEmpty())
        return 0;
    const QStringList nameCharacters = graphemes(name);
    const QStringList queryCharacters = graphemes(q);
    qsizetype position = 0;
    for (const QString &character : queryCharacters) {
        while (position < nameCharacters.size() && nameCharacters.at(position) != character)
            ++position;
        if (position == nameCharacters.size())
            return 0;
        ++position;
    }
    return int(queryCharacters.size());
}

} // namespace ItemFilter

#include "scanner/SharedWords.h"

#include "scanner/Places.h"

#include <QDir>

namespace {

// Vendors that count as such from the start. A vendor is otherwise told by how many of its
// programs the searched folders hold (VendorTally); these vendors' names are shared by their
// system's own programs and settings (com.apple.TCC, the privacy database; org.gnome.* on a
// GNOME desktop) or by folders holding many programs' data (Application Support/Google,
// JetBrains, Microsoft, Adobe, ~/.mozilla), so a home with only one of their programs already
// holds more than that program's files.
constexpr const char *kWellKnownVendors[] = {
    "apple", "google", "microsoft", "adobe", "jetbrains", "mozilla", "gnome", "kde",
};

QString keyOf(QStringView word)
{
    QString key;
    key.reserve(word.size());
    for (const QChar c : word) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('-') && c != QLatin1Char('_') &&
            c != QLatin1Char('.'))
            key.append(c);
    }
    return key.toCaseFolded();
}

// Whether folder is path or holds it.
bool isSameOrAbove(const QString &folder, const QString &path)
{
    return path == folder || folder == QLatin1String("/") ||
           path.startsWith(folder + QLatin1Char('/'));
}

void appendWhole(QStringList &wholeNames, const QString &word)
{
    if (!wholeNames.contains(word, Qt::CaseInsensitive))
        wholeNames.append(word);
}

} // namespace

SharedWords::SharedWords(const QStringList &protectedFolders, const Places &places)
{
    const QString home = QDir::cleanPath(places.home());
    const QString root = QDir::cleanPath(places.root());
    for (const QString &folder : protectedFolders) {
        if (isSameOrAbove(folder, home) || isSameOrAbove(folder, root))
            continue;
        const QString key = keyOf(folder.section(QLatin1Char('/'), -1));
        if (!key.isEmpty())
            m_keys.insert(key);
    }
    for (const char *vendor : kWellKnownVendors)
        m_keys.insert(QString::fromLatin1(vendor));
}

void SharedWords::add(const QStringList &words)
{
    for (const QString &word : words) {
        const QString key = keyOf(word);
        if (!key.isEmpty())
            m_keys.insert(key);
    }
}

bool SharedWords::contains(QStringView word) const
{
    return m_keys.contains(keyOf(word));
}

SearchTerms SharedWords::narrowed(const SearchTerms &terms, const QString &name) const
{
    SearchTerms result;
    result.wholeNames = terms.wholeNames;
    for (const QString &term : terms.terms) {
        if (contains(term))
            appendWhole(result.wholeNames, term);
        else
            result.terms.append(term);
    }
    result.sharedParts = terms.sharedParts;
    for (const QString &part : terms.identifierParts)
        (contains(part) ? result.sharedParts : result.identifierParts).append(part);
    const QString trimmed = name.trimmed();
    if (!trimmed.isEmpty() && contains(trimmed))
        appendWhole(result.wholeNames, trimmed);
    return result;
}

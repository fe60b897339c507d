#include "scanner/TermMatcher.h"

#include <algorithm>

namespace {

// Terms up to this length must begin a word; shorter ones, up to kWholeWordLength, must be one.
constexpr qsizetype kWordStartLength = 5;
constexpr qsizetype kWholeWordLength = 2;

// First components of reverse-domain names: top-level domains that name no program.
constexpr QLatin1String kDomainPrefixes[] = {
    QLatin1String("com"), QLatin1String("org"), QLatin1String("net"),  QLatin1String("io"),
    QLatin1String("app"), QLatin1String("co"),  QLatin1String("dev"),  QLatin1String("me"),
    QLatin1String("uk"),  QLatin1String("de"),  QLatin1String("fr"),   QLatin1String("ai"),
    QLatin1String("xyz"), QLatin1String("edu"), QLatin1String("gov"),  QLatin1String("eu"),
    QLatin1String("us"),  QLatin1String("ch"),  QLatin1String("info"), QLatin1String("nl"),
    QLatin1String("se"),  QLatin1String("jp"),  QLatin1String("cn"),   QLatin1String("ru"),
    QLatin1String("it"),  QLatin1String("es"),  QLatin1String("at"),   QLatin1String("be"),
    QLatin1String("ca"),  QLatin1String("au"),  QLatin1String("tv"),   QLatin1String("cc"),
    QLatin1String("sh"),  QLatin1String("so"),  QLatin1String("to"),   QLatin1String("is"),
    QLatin1String("im"),  QLatin1String("fm"),  QLatin1String("ly"),   QLatin1String("gg"),
    QLatin1String("pl"),  QLatin1String("br"),
};

// File types whose extension is no part of a program's name.
constexpr QLatin1String kKnownExtensions[] = {
    QLatin1String("app"),     QLatin1String("plist"),      QLatin1String("xml"),
    QLatin1String("xbel"),    QLatin1String("json"),       QLatin1String("log"),
    QLatin1String("txt"),     QLatin1String("db"),         QLatin1String("sqlite"),
    QLatin1String("sqlite3"), QLatin1String("conf"),       QLatin1String("cfg"),
    QLatin1String("ini"),     QLatin1String("yaml"),       QLatin1String("yml"),
    QLatin1String("toml"),    QLatin1String("lock"),       QLatin1String("pid"),
    QLatin1String("sock"),    QLatin1String("bak"),        QLatin1String("old"),
    QLatin1String("tmp"),     QLatin1String("gz"),         QLatin1String("zip"),
    QLatin1String("tar"),     QLatin1String("xz"),         QLatin1String("desktop"),
    QLatin1String("service"), QLatin1String("savedState"), QLatin1String("binarycookies"),
    QLatin1String("sh"),      QLatin1String("md"),         QLatin1String("png"),
    QLatin1String("svg"),     QLatin1String("icns"),       QLatin1String("dat"),
    QLatin1String("cache"),   QLatin1String("history"),    QLatin1String("crash"),
    QLatin1String("ips"),     QLatin1String("diag"),       QLatin1String("dmg"),
    QLatin1String("pkg"),     QLatin1String("html"),       QLatin1String("js"),
};

template <size_t N> bool isOneOf(QStringView word, const QLatin1String (&list)[N])
{
    for (const QLatin1String &candidate : list) {
        if (candidate.size() == word.size() && word.compare(candidate, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber();
}

// Whether a word starts at index at of name: after a non-word character, or at a camel-case step.
bool startsWord(QStringView name, qsizetype at)
{
    if (at <= 0 || at >= name.size())
        return at == 0;
    const QChar before = name.at(at - 1);
    const QChar here = name.at(at);
    if (!isWordCharacter(before) || !isWordCharacter(here))
        return true;
    if (before.isLower() && here.isUpper())
        return true;
    return before.isUpper() && here.isUpper() && at + 1 < name.size() && name.at(at + 1).isLower();
}

bool endsWord(QStringView name, qsizetype end)
{
    return end >= name.size() || startsWord(name, end);
}

} // namespace

bool isDomainPrefix(QStringView word)
{
    return isOneOf(word, kDomainPrefixes);
}

NameWords wordsOf(QStringView name)
{
    NameWords words{0, name.size()};
    const qsizetype lastDot = name.lastIndexOf(QLatin1Char('.'));
    if (lastDot > 0 && lastDot + 1 < name.size() &&
        isOneOf(name.mid(lastDot + 1), kKnownExtensions))
        words.end = lastDot;
    const qsizetype start = name.startsWith(QLatin1Char('.')) ? 1 : 0;
    const qsizetype firstDot = name.indexOf(QLatin1Char('.'), start);
    if (firstDot > start && firstDot < words.end &&
        isDomainPrefix(name.mid(start, firstDot - start)))
        words.begin = firstDot + 1;
    return words;
}

bool isWholeName(QStringView name, const QString &whole)
{
    if (whole.isEmpty())
        return false;
    if (name.compare(whole, Qt::CaseInsensitive) == 0)
        return true;
    const qsizetype lastDot = name.lastIndexOf(QLatin1Char('.'));
    return lastDot == whole.size() && wordsOf(name).end == lastDot &&
           name.left(lastDot).compare(whole, Qt::CaseInsensitive) == 0;
}

TermMatcher::TermMatcher(const QString &term)
    : m_term(term), m_matcher(term, Qt::CaseInsensitive),
      m_mustStartWord(term.size() <= kWordStartLength),
      m_mustEndWord(term.size() <= kWholeWordLength)
{}

bool TermMatcher::matches(QStringView name) const
{
    return matches(name, wordsOf(name));
}

bool TermMatcher::matches(QStringView name, NameWords words) const
{
    if (m_term.isEmpty() || name.size() < m_term.size())
        return false;
    // A term that begins or ends with a separator ("-cli") brings its own boundary.
    const bool needStart = m_mustStartWord && isWordCharacter(m_term.front());
    const bool needEnd = m_mustEndWord && isWordCharacter(m_term.back());
    for (qsizetype at = m_matcher.indexIn(name); at >= 0; at = m_matcher.indexIn(name, at + 1)) {
        const qsizetype end = at + m_term.size();
        if (at >= words.end || end <= words.begin)
            continue; // wholly inside the extension or the domain prefix
        if (needStart && !startsWord(name, at))
            continue;
        if (needEnd && !endsWord(name, end))
            continue;
        return true;
    }
    return false;
}

ItemMatcher::ItemMatcher(const QStringList &terms, const QStringList &identifierParts,
                         const QStringList &wholeNames, const QStringList &sharedParts)
    : m_wholeNames(wholeNames)
{
    m_terms.reserve(terms.size());
    for (const QString &term : terms)
        m_terms.emplace_back(term);
    m_parts.reserve(identifierParts.size());
    for (const QString &part : identifierParts)
        m_parts.emplace_back(part);
    for (const QString &part : sharedParts)
        m_sharedParts.emplace_back(part);
}

qsizetype ItemMatcher::score(QStringView name) const
{
    const NameWords words = wordsOf(name);
    qsizetype best = 0;
    for (const QString &whole : m_wholeNames) {
        if (whole.size() > best && isWholeName(name, whole))
            best = whole.size();
    }
    for (const TermMatcher &term : m_terms) {
        if (term.length() > best && term.matches(name, words))
            best = term.length();
    }
    int count = 0;
    qsizetype partsLength = 0;
    for (const TermMatcher &part : m_parts) {
        if (part.matches(name, words)) {
            ++count;
            partsLength += part.length();
        }
    }
    if (count > 0 && size_t(count) == m_parts.size()) {
        for (const TermMatcher &part : m_sharedParts) {
            if (part.matches(name, words)) {
                ++count;
                partsLength += part.length();
            }
        }
    }
    if (count >= kIdentifierPartQuorum)
        best = std::max(best, partsLength);
    return best;
}

QStringList ItemMatcher::termTexts() const
{
    QStringList texts = m_wholeNames;
    for (const TermMatcher &term : m_terms)
        texts.append(term.term());
    return texts;
}

QStringList ItemMatcher::partTexts() const
{
    QStringList texts;
    for (const auto *parts : {&m_parts, &m_sharedParts}) {
        for (const TermMatcher &part : *parts)
            texts.append(part.term());
    }
    return texts;
}

qsizetype ItemMatcher::ownershipScore(QStringView name) const
{
    QString squashed;
    squashed.reserve(name.size());
    for (QChar c : name) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('-') && c != QLatin1Char('_') &&
            c != QLatin1Char('.'))
            squashed.append(c);
    }
    return std::max(score(name), squashed.size() == name.size() ? 0 : score(squashed));
}

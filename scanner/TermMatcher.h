#pragma once

#include <QString>
#include <QStringList>
#include <QStringMatcher>
#include <QStringView>

#include <vector>

// Whether an entry name on disk holds a search term: the one rule every search that offers files
// for the Trash goes by. Letter case is ignored. A name is read as words: runs of letters and
// digits, split where a lower-case letter meets an upper-case one ("SublimeText" is "Sublime",
// "Text") and before the last capital of a capital run followed by a lower-case letter
// ("XMLParser" is "XML", "Parser"). Letters and digits are not split ("x86" is one word). Two
// parts of a name are no words of their own:
//   - the extension, when it is a known file type (".plist", ".xml", ".xbel", ".log", ...);
//   - a reverse-domain prefix ("com." in "com.apple.Notes", "org." in "org.R-project.R").
// A match that lies wholly inside one of them does not count, whatever the term's length.
//
// Then, by the term's length:
//   - 1 or 2 characters: the match must be a whole word.
//       "R" finds "org.R-project.R" and "R.app", not ".rustup", "rclone" or ".Rhistory";
//       "X" finds "homebrew.mxcl.x.plist", not ".Xauthority", "foo.xml" or "lib-x86_64";
//       "Go" finds "Go" and "go-build", not "Google" or "google-chrome".
//   - 3 to 5 characters: the match must begin a word.
//       "Mail" finds "com.apple.mail" and "MailData", not "Gmail" or "email-cache";
//       "Code" finds "VSCode" and "code-server", not "Xcode" or "unicode".
//   - 6 characters or more: anywhere in the name ("Chrome" finds "GoogleChrome").
// The start of a name's words and the end of them: what lies outside [begin, end) is a
// reverse-domain prefix or a known extension.
struct NameWords
{
    qsizetype begin = 0;
    qsizetype end = 0;
};
NameWords wordsOf(QStringView name);
// True for a top-level domain that begins reverse-domain names ("com", "org", "io"), any case.
bool isDomainPrefix(QStringView word);

class TermMatcher
{
public:
    explicit TermMatcher(const QString &term);

    const QString &term() const { return m_term; }
    qsizetype length() const { return m_term.size(); }
    bool matches(QStringView name) const;
    // As above, with the name's words already found.
    bool matches(QStringView name, NameWords words) const;

private:
    QString m_term;
    QStringMatcher m_matcher;
    bool m_mustStartWord = false;
    bool m_mustEndWord = false;
};

// True when name equals whole in any letter case, with or without a known extension.
bool isWholeName(QStringView name, const QString &whole);

// Everything one item is searched by, prepared once per search.
class ItemMatcher
{
public:
    // terms: matched by TermMatcher. identifierParts: words of the bundle identifier, which count
    // only when two or more of them match. wholeNames: matched only as a whole name.
    // sharedParts: identifier parts that many programs share (a vendor), which count only when
    // all of identifierParts match too ("google-chrome" holds both parts of com.google.Chrome).
    ItemMatcher(const QStringList &terms, const QStringList &identifierParts,
                const QStringList &wholeNames, const QStringList &sharedParts = {});

    // How specifically name belongs to the item: 0 when it does not match; otherwise the length
    // of the longest term or whole name that matches, or the added lengths of the identifier
    // parts that do. A longer match is a more specific one.
    qsizetype score(QStringView name) const;
    // The better of score(name) and the score of name with its separators (" ", "-", "_", ".")
    // taken out, so "sticky-notes" counts as "StickyNotes" when telling whose a file is.
    qsizetype ownershipScore(QStringView name) const;
    // The texts of the terms and whole names, and of the identifier parts (shared ones too), of
    // which kIdentifierPartQuorum must match: a name scores 0 unless it holds one of the first or
    // that many of the second, letter case ignored.
    QStringList termTexts() const;
    QStringList partTexts() const;
    static constexpr int kIdentifierPartQuorum = 2;

private:
    std::vector<TermMatcher> m_terms;
    std::vector<TermMatcher> m_parts;
    std::vector<TermMatcher> m_sharedParts;
    QStringList m_wholeNames;
};

// The words a leftover search looks for.
//
// Character counts (the 3-character minimum of an identifier word) are QString lengths in UTF-16
// code units. They equal user-perceived characters for ASCII and most Latin, Greek and Cyrillic
// names; a name with combining marks or characters outside the Basic Multilingual Plane counts
// longer.

#include "scanner/SearchTerms.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QString kDesktopSuffix = QStringLiteral(".desktop");

// Words of a bundle identifier too common to tell one application from another.
const QSet<QString> &ignoredIdentifierWords()
{
    static const QSet<QString> words = {
        QStringLiteral("com"),    QStringLiteral("org"), QStringLiteral("net"),
        QStringLiteral("io"),     QStringLiteral("app"), QStringLiteral("co"),
        QStringLiteral("github"), QStringLiteral("me"),  QStringLiteral("uk"),
        QStringLiteral("de"),     QStringLiteral("fr"),  QStringLiteral("ai"),
        QStringLiteral("xyz"),
    };
    return words;
}

constexpr qsizetype kMinimumIdentifierWordLength = 3;
// A bundle identifier with fewer components ("com", "com.apple") names a vendor at most: it is
// matched only as a whole name, never as a term found inside other names.
constexpr qsizetype kIdentifierTermComponents = 3;

// A term made only of dots, dashes or spaces (an application named ".") would match nearly
// every entry of every folder; such a string names nothing.
bool canIdentify(const QString &term)
{
    return std::any_of(term.begin(), term.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

QString lastPathComponent(const QString &path)
{
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

QString withoutExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

// "sketch-gtk", "viewer-qt5" and "Viewer-Qt6" name the program "sketch" or "viewer" built with a
// toolkit; its folders carry the plain name.
QString withoutToolkitSuffix(const QString &name)
{
    static const QRegularExpression suffix(QStringLiteral("-(gtk[34]?|qt[56]?)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return QString(name).remove(suffix);
}

// "Sketch!" and "Notes…" are "Sketch" and "Notes" on disk.
QString withoutTrailingPunctuation(const QString &name)
{
    qsizetype end = name.size();
    while (end > 0 && (name.at(end - 1).isPunct() || name.at(end - 1).isSymbol() ||
                       name.at(end - 1).isSpace()))
        --end;
    return name.left(end);
}

// The first words of the icon theme's standard names ("utilities-terminal", "text-editor",
// "web-browser"), which many programs use and so say nothing of one.
const QStringList kGenericIconWords = {
    QStringLiteral("accessories"), QStringLiteral("applications"), QStringLiteral("preferences"),
    QStringLiteral("system"),      QStringLiteral("utilities"),    QStringLiteral("help"),
    QStringLiteral("internet"),    QStringLiteral("multimedia"),   QStringLiteral("office"),
    QStringLiteral("text"),        QStringLiteral("web"),          QStringLiteral("mail"),
    QStringLiteral("audio"),       QStringLiteral("video"),        QStringLiteral("image"),
    QStringLiteral("media"),       QStringLiteral("network"),      QStringLiteral("document"),
    QStringLiteral("folder"),      QStringLiteral("input"),        QStringLiteral("computer"),
};

// An Icon value is a theme name, or a file whose name without its extension is one; a standard
// name gives no term.
QString iconTerm(const QString &icon)
{
    if (!icon.startsWith(QLatin1Char('/')))
        return kGenericIconWords.contains(icon.section(QLatin1Char('-'), 0, 0), Qt::CaseInsensitive)
                   ? QString()
                   : icon;
    const QString file = icon.section(QLatin1Char('/'), -1);
    return file.contains(QLatin1Char('.')) ? file.section(QLatin1Char('.'), 0, -2) : file;
}

} // namespace

SearchTerms searchTermsFor(const std::optional<QString> &bundleIdentifier, const QString &name,
                           const std::optional<QString> &bundlePath)
{
    SearchTerms result;
    QSet<QString> seen;
    if (bundleIdentifier) {
        const qsizetype components =
            bundleIdentifier->split(QLatin1Char('.'), Qt::SkipEmptyParts).size();
        addSearchTerm(*bundleIdentifier, seen,
                      components >= kIdentifierTermComponents ? result.terms : result.wholeNames);
        const QStringList pieces = bundleIdentifier->split(QLatin1Char('.'));
        for (const QString &piece : pieces) {
            if (piece.size() < kMinimumIdentifierWordLength)
                continue;
            if (ignoredIdentifierWords().contains(piece.toLower()))
                continue;
            const QString trimmed = piece.trimmed();
            if (!canIdentify(trimmed))
                continue;
            const QString lower = trimmed.toLower();
            if (seen.contains(lower))
                continue;
            seen.insert(lower);
            result.identifierParts.append(trimmed);
        }
    }
    addSearchTerm(name, seen, result.terms);
    addSearchTerm(QString(name).remove(QLatin1Char(' ')), seen, result.terms);
    if (bundlePath) {
        const QString fileName = withoutExtension(lastPathComponent(*bundlePath));
        addSearchTerm(fileName, seen, result.terms);
        addSearchTerm(QString(fileName).remove(QLatin1Char(' ')), seen, result.terms);
    }
    return result;
}

SearchTerms searchTermsFor(const AppInfo &app)
{
    if (!app.isDesktopEntry())
        return searchTermsFor(app.bundleIdentifier, app.name, app.path);
    const std::optional<QString> identifier =
        app.flatpakID.isEmpty() ? std::nullopt : std::optional<QString>(app.flatpakID);
    SearchTerms terms = searchTermsFor(identifier, app.name, std::nullopt);
    QSet<QString> seen;
    for (const QString &term : terms.terms + terms.identifierParts + terms.wholeNames)
        seen.insert(term.toLower());
    const QString baseID = app.desktopFileID.endsWith(kDesktopSuffix)
                               ? app.desktopFileID.chopped(kDesktopSuffix.size())
                               : app.desktopFileID;
    // An AppImage's file name carries its version; its name says the same without it.
    const QString execName =
        app.installation == InstallationKind::appImage ? QString() : app.execName;
    QStringList candidates = {withoutTrailingPunctuation(app.name),
                              baseID,
                              execName,
                              app.startupWMClass,
                              app.snapName,
                              iconTerm(app.iconName)};
    if (app.installation == InstallationKind::systemPackage && !app.owningPackage.isEmpty())
        candidates += QStringList{app.owningPackage} + app.packageFamily;
    for (const QString &candidate : std::as_const(candidates)) {
        addSearchTerm(candidate, seen, terms.terms);
        addSearchTerm(withoutToolkitSuffix(candidate), seen, terms.terms);
    }
    return terms;
}

void addSearchTerm(const QString &candidate, QSet<QString> &seen, QStringList &list)
{
    const QString trimmed = candidate.trimmed();
    if (!canIdentify(trimmed))
        return;
    const QString lower = trimmed.toLower();
    if (seen.contains(lower))
        return;
    seen.insert(lower);
    list.append(trimmed);
}

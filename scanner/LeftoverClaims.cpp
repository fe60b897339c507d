#include "scanner/LeftoverClaims.h"

#include "scanner/FileScanner.h"
#include "scanner/LeftoverEvidence.h"
#include "scanner/LeftoverNames.h"
#include "scanner/PackageFamilies.h"

namespace {

// The folders whose programs count as installed: the system's, Homebrew's and the user's own.
const char *const kProgramFolders[] = {
    "/usr/bin", "/bin", "/usr/sbin", "/sbin", "/usr/games", "/usr/local/bin", "/usr/libexec",
};

QString lastComponent(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

QStringList entryNames(const FileScanner &scanner, const QString &folder)
{
    QStringList names;
    for (const QString &path :
         scanner.fileManager().contentsOfDirectory(folder).value_or(QStringList()))
        names.append(lastComponent(path));
    return names;
}

bool hasEntries(const FileScanner &scanner, const QString &folder)
{
    bool any = false;
    scanner.fileManager().forEachEntry(folder, [&any](QByteArrayView) { any = true; });
    return any;
}

// Every binary and source package name the system's package tool knows, by one query.
QStringList systemPackages(const FileScanner &scanner)
{
    QStringList names;
    QSet<QString> seen;
    for (const QString &line : queryInstalledPackages(scanner)) {
        for (const QString &word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString name = word.section(QLatin1Char(':'), 0, 0);
            if (!seen.contains(name)) {
                seen.insert(name);
                names.append(name);
            }
        }
    }
    return names;
}

} // namespace

void LeftoverClaims::addName(const QString &name)
{
    const QString key = leftoverKey(name);
    if (key.isEmpty())
        return;
    m_names.insert(key);
    // "python3" keeps ".python_history", "libpurple0" keeps ".purple".
    QString plain = key.startsWith(QLatin1String("lib")) ? familyWord(key) : key;
    while (!plain.isEmpty() && (plain.back().isDigit() || plain.back() == QLatin1Char('.') ||
                                plain.back() == QLatin1Char('-')))
        plain.chop(1);
    if (!plain.isEmpty())
        m_names.insert(plain);
}

void LeftoverClaims::addApplications(const FileScanner &scanner, const QList<AppInfo> &apps)
{
    for (const AppInfo &app : apps) {
        // An entry whose program is gone claims nothing: it is a leftover itself.
        if (app.isDesktopEntry() && !app.execPath.isEmpty() &&
            !programExists(scanner, app.execPath))
            continue;
        const SearchTerms terms = scanner.buildSearchTerms(app);
        // The names as well where the search keeps them only as identifier words (as the
        // ownership rule does: "Writer" of com.acme.Writer).
        const SearchTerms names = scanner.buildSearchTerms(
            std::nullopt, app.name, app.isDesktopEntry() ? std::nullopt : std::optional(app.path));
        m_terms += terms.terms + terms.wholeNames + names.terms;
        // The first word of a name of several ("juniper" of "Juniper Terminal") claims too: the
        // search does not offer such a folder for the application, but one named so is more
        // likely the application's than a leftover.
        if (const QString first = app.name.section(QLatin1Char(' '), 0, 0);
            first.size() >= 4 && first.size() < app.name.size())
            addName(first);
        if (app.bundleIdentifier)
            m_bundleIdentifiers.insert(app.bundleIdentifier->toLower());
        for (const QString &name : {app.owningPackage, app.flatpakID, app.snapName, app.execName})
            addName(name);
    }
    // Data folders named otherwise than the programs that keep them are claimed while one of
    // those programs is.
    struct KeptBy
    {
        const char *folder;
        const char *programs[4];
    };
    static const KeptBy kKeptBy[] = {
        {"containers", {"podman", "buildah", "skopeo"}},
        {"android", {"adb", "emulator", "android-studio", "studio"}},
        {"orbstack", {"orb", "orbctl"}},
        {"steam", {"steam", "com.valvesoftware.steam"}},
        {"pip", {"pip", "pip3", "python3-pip"}},
    };
    for (const KeptBy &keptBy : kKeptBy) {
        for (const char *program : keptBy.programs) {
            if (program && m_names.contains(QLatin1String(program))) {
                m_names.insert(QString::fromLatin1(keptBy.folder));
                break;
            }
        }
    }
    m_terms.removeDuplicates();
    m_matcher = std::make_shared<ItemMatcher>(m_terms, QStringList(), QStringList());
    m_sieve = std::make_shared<NameSieve>(m_terms);
}

LeftoverClaims LeftoverClaims::gather(const FileScanner &scanner, const QStringList &kept)
{
    LeftoverClaims claims;
    const Places &places = scanner.places();
    for (const QString &package : systemPackages(scanner))
        claims.addName(package);
    for (const char *store : {"/Cellar", "/Caskroom"}) {
        for (const QString &name :
             entryNames(scanner, scanner.homebrewPrefix() + QString::fromLatin1(store)))
            claims.addName(name);
    }
    // npm's global folders are read as folders: asking npm where its own is costs a process.
    QStringList nodeModules{places.onSystem(QStringLiteral("/opt/homebrew/lib/node_modules")),
                            places.onSystem(QStringLiteral("/usr/local/lib/node_modules")),
                            places.onSystem(QStringLiteral("/usr/lib/node_modules")),
                            places.inHome(QStringLiteral(".npm-global/lib/node_modules"))};
    for (const QString &version :
         entryNames(scanner, places.inHome(QStringLiteral(".nvm/versions/node"))))
        nodeModules.append(places.inHome(QStringLiteral(".nvm/versions/node/")) + version +
                           QStringLiteral("/lib/node_modules"));
    for (const QString &folder : std::as_const(nodeModules)) {
        for (const QString &name : entryNames(scanner, folder)) {
            if (!name.startsWith(QLatin1Char('@'))) {
                claims.addName(name);
                continue;
            }
            for (const QString &scoped : entryNames(scanner, folder + QLatin1Char('/') + name))
                claims.addName(scoped); // "@scope/name" is name's
        }
    }
    for (const QString &folder : {places.dataHome() + QStringLiteral("/flatpak/app"),
                                  places.onSystem(QStringLiteral("/var/lib/flatpak/app"))}) {
        for (const QString &id : entryNames(scanner, folder)) {
            claims.m_flatpaks.insert(id.toLower());
            claims.addName(id);
        }
    }
    for (const QString &name : entryNames(scanner, places.onSystem(QStringLiteral("/snap")))) {
        claims.m_snaps.insert(name.toLower());
        claims.addName(name);
    }
    QStringList programFolders{places.inHome(QStringLiteral(".local/bin")),
                               scanner.homebrewPrefix() + QStringLiteral("/bin")};
    for (const char *folder : kProgramFolders)
        programFolders.append(places.onSystem(QString::fromLatin1(folder)));
    programFolders += places.programFolders();
    // Software installed in a folder of the home (~/.pyenv/bin/pyenv, ~/.cargo/bin/rustup) is
    // installed, on PATH or not: its folder and its programs' names are claimed.
    const QString homePrefix = places.home() + QLatin1Char('/');
    for (const QString &name :
         scanner.fileManager().subfolderNames(places.home()).value_or(QStringList())) {
        if (!name.startsWith(QLatin1Char('.')))
            continue;
        const QString bin = homePrefix + name + QStringLiteral("/bin");
        if (!programFolders.contains(bin) && hasEntries(scanner, bin))
            programFolders.append(bin);
    }
    for (const QString &folder : std::as_const(programFolders)) {
        const QStringList programs = entryNames(scanner, folder);
        for (const QString &name : programs)
            claims.m_names.insert(leftoverKey(name));
        // A program folder inside a dot folder of the home (~/.pyenv/shims) keeps that folder.
        if (!programs.isEmpty() && folder.startsWith(homePrefix))
            claims.m_names.insert(
                leftoverKey(folder.mid(homePrefix.size()).section(QLatin1Char('/'), 0, 0)));
    }
    for (const QString &name : kept)
        claims.m_names.insert(leftoverKey(name));
    claims.m_names.remove(QString());
    return claims;
}

bool LeftoverClaims::claims(const QString &entryName, QByteArrayView bytes, const QString &key,
                            FileCategory category) const
{
    if (m_names.contains(key) || m_names.contains(firstWord(key)) || desktopOwnReason(key))
        return true;
    // A Flatpak's data folder under a system-looking id is still that Flatpak's.
    if (category != FileCategory::flatpakData && isSystemIdentifier(entryName))
        return true;
    if (!m_matcher || !m_sieve->mayHold(bytes))
        return false;
    QStringView subject = entryName;
    if (category == FileCategory::preferences && subject.endsWith(QLatin1String(".plist")))
        subject.chop(6);
    return m_matcher->score(subject) > 0;
}

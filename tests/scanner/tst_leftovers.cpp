#include "scanner/FileScanner.h"
#include "scanner/NameGuard.h"
#include "tests/support/Sandbox.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

namespace {

// "category=name,name" per group, names sorted inside a group (listing order is the file
// system's), groups in their order.
QStringList describe(const QList<FileGroup> &groups)
{
    QStringList out;
    for (const FileGroup &group : groups) {
        QStringList names;
        for (const AssociatedFile &file : group.files)
            names.append(file.name);
        names.sort();
        out.append(caseName(group.category) + QLatin1Char('=') + names.join(QLatin1Char(',')));
    }
    return out;
}

QStringList allPaths(const QList<FileGroup> &groups)
{
    QStringList out;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files)
            out.append(file.path);
    }
    return out;
}

QStringList names(const QList<AssociatedFile> &files)
{
    QStringList out;
    for (const AssociatedFile &file : files)
        out.append(file.name);
    out.sort();
    return out;
}

// What a found item should measure, worked out independently of the scanner: a plain file its
// length; a folder the allocated size of every non-folder entry below it, links not followed.
qint64 expectedSize(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    if (!info.isDir())
        return info.size();
    qint64 total = 0;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        if (!QFileInfo(entry).isDir() || QFileInfo(entry).isSymLink())
            total += Sandbox::allocatedSize(entry);
    }
    return total;
}

AssociatedFile file(const QString &path, FileCategory category = FileCategory::caches)
{
    return AssociatedFile(path, QFileInfo(path).fileName(), category, 0);
}

} // namespace

class LeftoversTest : public QObject
{
    Q_OBJECT

private slots:
    void buildSearchTerms_followsTheInsertionRules_data()
    {
        QTest::addColumn<QString>("identifier"); // "-" for none
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("bundle"); // "-" for none
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QStringList>("parts");

        QTest::newRow("pixel forge") << "io.acme.pixelforge.agent"
                                     << "Pixel Forge"
                                     << "/Applications/Pixel Forge.app"
                                     << QStringList{"io.acme.pixelforge.agent", "Pixel Forge"}
                                     << QStringList{"acme", "pixelforge", "agent"};
        QTest::newRow("ignored words")
            << "com.github.acme"
            << "Acme"
            << "-" << QStringList{"com.github.acme"} << QStringList{"acme"};
        QTest::newRow("no identifier") << "-"
                                       << "Forge"
                                       << "-" << QStringList{"Forge"} << QStringList{};
        QTest::newRow("names trimmed, space-free forms, bundle name")
            << "com.microsoft.VSCode"
            << "  Visual Studio Code \n"
            << "/Applications/Code.app"
            << QStringList{"com.microsoft.VSCode", "Visual Studio Code", "VisualStudioCode", "Code"}
            << QStringList{"microsoft", "VSCode"};
        QTest::newRow("short, ignored, blank and repeated words")
            << "org.APP. ab.   .Tool.tool.XYZ"
            << "tool"
            << "-" << QStringList{"org.APP. ab.   .Tool.tool.XYZ"} << QStringList{"ab", "Tool"};
        QTest::newRow("only the last extension goes")
            << "-"
            << "Foo"
            << "/A/Foo.Bar.app/" << QStringList{"Foo", "Foo.Bar"} << QStringList{};
        QTest::newRow("empty name") << "-"
                                    << ""
                                    << "-" << QStringList{} << QStringList{};
        QTest::newRow("punctuation only names nothing")
            << "..-.---"
            << "."
            << "/A/-.app" << QStringList{} << QStringList{};
        QTest::newRow("non-ascii case-insensitive duplicates")
            << "de.müller.ÉCLAIR"
            << "Éclair"
            << "/A/éclair.app" << QStringList{"de.müller.ÉCLAIR"}
            << QStringList{"müller", "ÉCLAIR"};
    }
    void buildSearchTerms_followsTheInsertionRules()
    {
        QFETCH(QString, identifier);
        QFETCH(QString, name);
        QFETCH(QString, bundle);
        QFETCH(QStringList, terms);
        QFETCH(QStringList, parts);
        const FileScanner scanner(Places(QStringLiteral("/nonexistent"), QStringLiteral("/")));
        const auto opt = [](const QString &s) {
            return s == QLatin1String("-") ? std::nullopt : std::optional<QString>(s);
        };
        const SearchTerms result = scanner.buildSearchTerms(opt(identifier), name, opt(bundle));
        QCOMPARE(result.terms, terms);
        QCOMPARE(result.identifierParts, parts);
    }

    void matchesTerm_wordBoundaryForShortTermsContainmentForLong_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("term");
        QTest::addColumn<bool>("matches");
        const QString forge = QStringLiteral("Forge");
        QTest::newRow("whole") << "forge" << forge << true;
        QTest::newRow("prefix with space") << "Forge Tools" << forge << true;
        QTest::newRow("prefix glued") << "forgeapp" << forge << true;
        QTest::newRow("after dash") << "acme-forge" << forge << true;
        QTest::newRow("after underscore") << "acme_forge.log" << forge << true;
        QTest::newRow("after dot") << "io.forge" << forge << true;
        QTest::newRow("camel case word") << "PixelForge" << forge << true;
        QTest::newRow("upper case inside") << "BigFORGE" << forge << false;
        QTest::newRow("after capital") << "ABForge" << forge << false;
        QTest::newRow("lower case inside") << "reforge" << forge << false;
        QTest::newRow("first occurrence decides") << "XForgeyForge" << forge << false;
        QTest::newRow("after space") << "my Forge" << forge << false;
        QTest::newRow("after digit") << "2Forge" << forge << false;
        QTest::newRow("lower term finds capital") << "PixelForge"
                                                  << "forge" << true;
        QTest::newRow("long anywhere") << "Old PIXEL FORGE backups"
                                       << "Pixel Forge" << true;
        QTest::newRow("long inside word") << "xpixel forgex"
                                          << "Pixel Forge" << true;
        QTest::newRow("long needs the space") << "PixelForge"
                                              << "Pixel Forge" << false;
        QTest::newRow("six characters contain") << "unforged"
                                                << "forged" << true;
        QTest::newRow("non-ascii long") << "CAFÉ-ÉCLAIR.log"
                                        << "café-é" << true;
        QTest::newRow("non-ascii short camel") << "BonÉclai"
                                               << "éclai" << true;
        QTest::newRow("non-ascii short after capital") << "ABÉclai"
                                                       << "éclai" << false;
        QTest::newRow("empty term never") << "anything"
                                          << "" << false;
    }
    void matchesTerm_wordBoundaryForShortTermsContainmentForLong()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, term);
        QFETCH(bool, matches);
        QCOMPARE(FileScanner::matchesTerm(fileName, term), matches);
    }

    void findAssociatedFiles_pixelForge_groupsInOrderMergedAndMeasured()
    {
        Sandbox box;
        QVERIFY(box.isValid());
        const QString bundle = box.makeAppBundle(
            box.systemPath("/Applications"), "Pixel Forge.app",
            {{"CFBundleIdentifier", "io.acme.pixelforge.agent"}, {"CFBundleName", "Pixel Forge"}});
        box.writeFileOfSize(bundle + "/Contents/MacOS/Pixel Forge", 70000);

        // Named places.
        box.writeFileOfSize(box.homePath(".Pixel Forge/state"), 10);
        box.writeFileOfSize(box.homePath(".config/Pixel Forge/config.json"), 300);
        box.writeFileOfSize(box.homePath("Library/Application Support/Pixel Forge/db"), 9000);
        box.writeFileOfSize(box.homePath("Library/Caches/Pixel Forge/a/b/c"), 12345);
        box.writeFileOfSize(box.homePath("Library/Caches/Pixel Forge/.hidden"), 5000);
        box.makeSymlink("/", box.homePath("Library/Caches/Pixel Forge/root-link"));
        box.writeFile(box.homePath("Library/LaunchAgents/Pixel Forge Helper.plist"), "<plist/>");
        box.writeFile(box.homePath("Library/LaunchAgents/io.acme.pixelforge.agent.plist"), "x");

        // Category folders.
        box.makeDir(box.homePath("Library/Application Support/io.acme.pixelforge.agent"));
        box.writeFileOfSize(box.homePath("Library/Caches/io.acme.pixelforge.agent/Cache.db"), 4097);
        box.makeDir(box.homePath("Library/Caches/com.other.app"));
        box.writeFileOfSize(box.homePath("Library/Logs/acme-agent.log"), 1234);
        box.writeFile(box.homePath("Library/Logs/agent-only.log"), "x");
        box.writeFile(box.homePath("Library/Preferences/io.acme.pixelforge.agent.plist"), "p");
        box.writeFile(box.homePath("Library/Preferences/io.acme.pixelforge.agent.Settings.plist"),
                      "p");
        box.writeFile(box.homePath("Library/Preferences/io.acme.pixelforge.agent.json"), "{}");
        box.writeFile(box.homePath("Library/Preferences/Pixel Forge.PLIST"), "p");
        box.writeFile(box.homePath("Library/Preferences/com.other.plist"), "p");
        box.makeDir(box.homePath("Library/Containers/Old pixel forge Backups"));
        box.makeDir(box.homePath("Library/Containers/PixelForge"));
        box.makeDir(
            box.homePath("Library/Saved Application State/io.acme.pixelforge.agent.savedState"));
        box.makeDir(box.homePath(".pixelforge"));
        // A plain file where a folder is expected is skipped; .nvm and WebKit are simply missing.
        box.writeFile(box.homePath("Library/HTTPStorageData"), "not a folder");

        const FileScanner scanner(box.places());
        const QList<FileGroup> groups = scanner.findAssociatedFiles(
            QStringLiteral("io.acme.pixelforge.agent"), QStringLiteral("Pixel Forge"), bundle);

        QCOMPARE(describe(groups), (QStringList{
                                       "appBundle=Pixel Forge.app",
                                       "homeDotFiles=.Pixel Forge",
                                       "configDirectory=Pixel Forge",
                                       "applicationSupport=Pixel Forge,io.acme.pixelforge.agent",
                                       "caches=Pixel Forge,io.acme.pixelforge.agent",
                                       "launchAgents=Pixel Forge Helper.plist",
                                       "preferences=io.acme.pixelforge.agent.Settings.plist,"
                                       "io.acme.pixelforge.agent.plist",
                                       "libraryLogs=acme-agent.log",
                                       "containers=Old pixel forge Backups",
                                       "savedApplicationState=io.acme.pixelforge.agent.savedState",
                                   }));

        // The bundle group holds exactly the bundle; merged groups keep the named file first.
        QCOMPARE(groups[0].files.size(), 1);
        QCOMPARE(groups[0].files[0].path, bundle);
        QCOMPARE(groups[3].files[0].path, box.homePath("Library/Application Support/Pixel Forge"));
        QCOMPARE(groups[4].files[0].path, box.homePath("Library/Caches/Pixel Forge"));

        // No path twice (Caches is listed by three categories, Logs by two).
        const QStringList paths = allPaths(groups);
        QCOMPARE(QSet<QString>(paths.begin(), paths.end()).size(), paths.size());

        // Every file measured as found, unselected, with a fresh id.
        QSet<QUuid> ids;
        for (const FileGroup &group : groups) {
            for (const AssociatedFile &f : group.files) {
                QCOMPARE(f.size, expectedSize(f.path));
                QVERIFY(!f.isSelected);
                ids.insert(f.id);
            }
        }
        QCOMPARE(ids.size(), paths.size());
        // The link to "/" below the cache folder counts as a link, not as the whole disk.
        QVERIFY(groups[4].files[0].size >= 12345 + 5000);
        QVERIFY(groups[4].files[0].size < 1024 * 1024);
        QCOMPARE(groups[7].files[0].size, 1234); // a plain file: its length
    }

    void findAssociatedFiles_forge_wordBoundaryHomeAndPreferenceRules()
    {
        Sandbox box;
        const QStringList included{"forge",          "Forge Tools", "forgeapp",  "acme-forge",
                                   "acme_forge.log", "io.forge",    "PixelForge"};
        const QStringList rejected{"BigFORGE", "ABForge", "reforge", "XForgeyForge"};
        for (const QString &n : included + rejected)
            box.makeDir(box.homePath("Library/Containers/" + n));
        for (const char *n : {".forge", ".forgerc", "forge", ".reforge", ".Xforge"})
            box.writeFile(box.homePath(n), "x");
        box.writeFile(box.homePath("Library/Preferences/forge.plist"), "p");
        box.writeFile(box.homePath("Library/Preferences/com.reforged.plist"), "p");
        box.writeFile(box.homePath("Library/Preferences/forge.plist.bak"), "p");

        const FileScanner scanner(box.places());
        const QList<FileGroup> groups =
            scanner.findAssociatedFiles(std::nullopt, QStringLiteral("Forge"), std::nullopt);

        // Short terms match preference files at word boundaries only: "com.reforged" is another
        // program's.
        QCOMPARE(describe(groups), (QStringList{
                                       "preferences=forge.plist",
                                       "homeDotFiles=.forge,.forgerc",
                                       "containers=" +
                                           [&] {
                                               QStringList s = included;
                                               s.sort();
                                               return s;
                                           }()
                                               .join(','),
                                   }));
    }

    void findAssociatedFiles_homeDotEntries_needAWholeTermOrTwoParts()
    {
        Sandbox box;
        for (const char *n : {".pixelforge", ".acme-agent", ".acme", ".Pixel Forge rc", ".bashrc",
                              ".zshrc", ".Rhistory", ".ssh"})
            box.makeDir(box.homePath(n));
        const FileScanner scanner(box.places());

        // One identifier part is not enough; two are; a whole-name term is.
        QCOMPARE(describe(scanner.findAssociatedFiles(QStringLiteral("io.acme.pixelforge.agent"),
                                                      QStringLiteral("Pixel Forge"), std::nullopt)),
                 QStringList{"homeDotFiles=.Pixel Forge rc,.acme-agent"});

        // A one-letter name reaches only entries where it starts a word, never ".bashrc".
        QCOMPARE(
            describe(scanner.findAssociatedFiles(std::nullopt, QStringLiteral("R"), std::nullopt)),
            QStringList{"homeDotFiles=.Rhistory"});
    }

    void mergeFileGroups_dropsSeenPathsAndJoinsSameCategory()
    {
        const QList<FileGroup> named{
            FileGroup(FileCategory::applicationSupport, {file("/h/AS/Forge")}),
            FileGroup(FileCategory::caches, {file("/h/C/Forge")}),
        };
        const QList<FileGroup> categories{
            FileGroup(FileCategory::preferences, {file("/h/P/forge.plist")}),
            FileGroup(FileCategory::applicationSupport,
                      {file("/h/AS/Forge"), file("/h/AS/io.forge")}),
            FileGroup(FileCategory::caches, {file("/h/C/Forge")}),
            FileGroup(FileCategory::packageManagerCache, {file("/h/C/Forge"), file("/h/C/forge")}),
            FileGroup(FileCategory::systemCaches, {file("/h/C/forge"), file("/h/C/FORGE")}),
            FileGroup(FileCategory::applicationSupport, {file("/h/AS/x.forge")}),
        };
        const QList<FileGroup> merged = FileScanner::mergeFileGroups(named, categories);
        QCOMPARE(merged.size(), 5);
        QCOMPARE(merged[0].id, named[0].id);
        QCOMPARE(allPaths({merged[0]}),
                 (QStringList{"/h/AS/Forge", "/h/AS/io.forge", "/h/AS/x.forge"}));
        QCOMPARE(allPaths({merged[1]}), QStringList{"/h/C/Forge"});
        QCOMPARE(merged[2].category, FileCategory::preferences);
        // Paths are exact strings: letter case makes a different path.
        QCOMPARE(merged[3].category, FileCategory::packageManagerCache);
        QCOMPARE(allPaths({merged[3]}), QStringList{"/h/C/forge"});
        QCOMPARE(allPaths({merged[4]}), QStringList{"/h/C/FORGE"});
        QVERIFY(merged[2].id != categories[0].id); // a new group of the result
        QVERIFY(FileScanner::mergeFileGroups({}, {}).isEmpty());
    }

    void findNamedLocations_stepOrderAndNames()
    {
        Sandbox box;
        const QString name = QStringLiteral("100% Café");
        box.makeDir(box.homePath(".100% Café"));
        box.makeDir(box.homePath(".config/100% Café"));
        box.makeDir(box.homePath(".cache/100% Café"));
        box.writeFile(box.homePath(".local/share/100% Café"), "x");
        box.makeDir(box.homePath("Library/Application Support/100% Café"));
        box.makeDir(box.homePath("Library/Caches/100% Café"));
        box.makeDir(box.homePath("Library/Logs/100% Café"));
        box.writeFile(box.homePath("Library/LaunchAgents/com.x.100% CAFÉ helper.plist"), "x");
        box.writeFile(box.homePath("Library/LaunchAgents/com.x.100 Cafe.plist"), "x");
        const QList<FileGroup> groups = FileScanner(box.places()).findNamedLocations(name);
        QCOMPARE(
            describe(groups),
            (QStringList{"homeDotFiles=.100% Café", "configDirectory=100% Café",
                         "cacheDirectory=100% Café", "localShareDirectory=100% Café",
                         "applicationSupport=100% Café", "caches=100% Café",
                         "libraryLogs=100% Café", "launchAgents=com.x.100% CAFÉ helper.plist"}));
        QCOMPARE(groups[1].files[0].path, box.homePath(".config/100% Café"));
        QCOMPARE(groups[3].files[0].size, 1);

        // The name's letter case is kept in the places; the launch agents match in any case.
        QCOMPARE(
            describe(FileScanner(box.places()).findNamedLocations(QStringLiteral("100% CAFÉ"))),
            QStringList{"launchAgents=com.x.100% CAFÉ helper.plist"});
    }

    void findEntriesContaining_shortNamesMustStandAsWords_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("one letter is a whole word")
            << "n" << QStringList{"n", "n.conf", "homebrew.mxcl.n.plist", "com.nordvpn.plist", "nginx"}
            << QStringList{"homebrew.mxcl.n.plist", "n", "n.conf"};
        QTest::newRow("two letters are a whole word")
            << "gh" << QStringList{"gh-2.40", "GH.log", "ghostty", "digest"}
            << QStringList{"GH.log", "gh-2.40"};
        QTest::newRow("three to five letters begin a word")
            << "git" << QStringList{"git-lfs", "gitconfig", "libgit2", "homebrew.mxcl.git.plist"}
            << QStringList{"git-lfs", "gitconfig", "homebrew.mxcl.git.plist"};
        QTest::newRow("rc files of short names")
            << "wget" << QStringList{"wgetrc", "wget2", "swget"} << QStringList{"wget2", "wgetrc"};
        QTest::newRow("long names by containment")
            << "typescript" << QStringList{"typescript-language-server", "@types-typescript-x", "tsc"}
            << QStringList{"@types-typescript-x", "typescript-language-server"};
    }
    void findEntriesContaining_shortNamesMustStandAsWords()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, found);
        Sandbox box;
        const QString folder = box.systemPath("/Library/LaunchDaemons");
        for (const QString &entry : entries)
            box.writeFile(folder + "/" + entry, "x");
        QStringList actual = names(FileScanner(box.places())
                                       .findEntriesContaining(folder, name,
                                                              FileCategory::launchDaemons,
                                                              std::nullopt));
        actual.sort();
        QCOMPARE(actual, found);
    }

    void findEntriesContaining_excludedNameAndMissingFolder()
    {
        Sandbox box;
        const QString var = box.systemPath("/opt/homebrew/var");
        box.makeDir(var + "/log");
        box.makeDir(var + "/LOG");
        box.makeDir(var + "/logrotate");
        box.makeDir(var + "/og");
        box.makeDir(var + "/og-data");
        box.makeDir(var + "/other");
        const FileScanner scanner(box.places());
        // A two-letter name must be a whole word: "logrotate" belongs to another program.
        QCOMPARE(names(scanner.findEntriesContaining(var, "og", FileCategory::homebrewVar,
                                                     QStringLiteral("Log"))),
                 (QStringList{"og", "og-data"}));
        // Without the exclusion var/log is still never offered: Homebrew searches it itself. LOG is
        // the same folder on a disk that ignores letter case, so it is held back too.
        QCOMPARE(names(scanner.findEntriesContaining(var, "og", FileCategory::homebrewVar,
                                                     std::nullopt)),
                 (QStringList{"og", "og-data"}));
        QVERIFY(scanner
                    .findEntriesContaining(var + "/missing", "og", FileCategory::homebrewVar,
                                           std::nullopt)
                    .isEmpty());
        const QList<AssociatedFile> found =
            scanner.findEntriesContaining(var, "other", FileCategory::homebrewVar, std::nullopt);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0].category, FileCategory::homebrewVar);
        QCOMPARE(found[0].path, var + "/other");
    }

    void hostileNames_neverOfferHomeSearchedFoldersOrOutside_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("dot") << QStringLiteral(".");
        QTest::newRow("dot dot") << QStringLiteral("..");
        QTest::newRow("up twice") << QStringLiteral("../..");
        QTest::newRow("climbing") << QStringLiteral("a/../../b");
        QTest::newRow("slash") << QStringLiteral("/");
        QTest::newRow("spaces") << QStringLiteral("   ");
        QTest::newRow("newline") << QStringLiteral("\n");
        QTest::newRow("nul") << QString(QChar(0));
        QTest::newRow("nul after name") << (QStringLiteral("b") + QChar(0) + QStringLiteral("x"));
        QTest::newRow("dot nul") << (QStringLiteral(".") + QChar(0));
    }
    void hostileNames_neverOfferHomeSearchedFoldersOrOutside()
    {
        QFETCH(QString, name);
        Sandbox box;
        // Every place a hostile name could reach exists: the searched folders with an entry each,
        // "a" folders for "a/../../b" to climb through, and "b" beside and above the home.
        for (const char *folder :
             {".config", ".cache", ".local/share", "Library/Application Support", "Library/Caches",
              "Library/Logs", "Library/LaunchAgents", "Library/Preferences",
              "Library/Containers"}) {
            box.writeFile(box.homePath(QString::fromLatin1(folder) + "/entry.plist"), "x");
            box.makeDir(box.homePath(QString::fromLatin1(folder) + "/a"));
        }
        box.makeDir(box.homePath("a"));
        box.makeDir(box.homePath("Library/a"));
        box.writeFile(box.homePath("b"), "x");
        box.writeFile(box.homePath("Library/b"), "x");
        box.writeFile(box.homePath(".b"), "x");
        box.makeDir(box.homePath(".ssh"));
        box.writeFile(box.homePath(".bashrc"), "x");
        box.writeFile(box.base() + "/home/b", "x");
        // Names that a file system accepts ("   ", "\n") exist too, as places and inside agents.
        if (!name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
            !name.contains(QChar(0))) {
            box.makeDir(box.homePath("." + name));
            box.makeDir(box.homePath(".config/" + name));
            box.makeDir(box.homePath("Library/Caches/" + name));
            box.writeFile(box.homePath("Library/LaunchAgents/x" + name + "y.plist"), "x");
        }

        const FileScanner scanner(box.places());
        QVERIFY(scanner.findNamedLocations(name).isEmpty());
        QVERIFY(scanner
                    .findEntriesContaining(box.homePath("Library/LaunchAgents"), name,
                                           FileCategory::launchAgents, std::nullopt)
                    .isEmpty());
        const QList<FileGroup> found =
            scanner.findAssociatedFiles(std::nullopt, name, std::nullopt);
        QVERIFY2(found.isEmpty(), qPrintable(describe(found).join(" | ")));
        // The same name as a bundle identifier adds no part and no term that matches anything.
        QVERIFY(scanner.findAssociatedFiles(name, name, std::nullopt).isEmpty());
    }

    void protectedFolders_areNeverOfferedButWhatIsInsideThemIs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("mustNotOffer"); // home-relative
        QTest::addColumn<QStringList>("mustOffer");    // home-relative
        QTest::newRow("config") << "config" << QStringList{".config"}
                                << QStringList{".config/config"};
        QTest::newRow("Local") << "Local" << QStringList{".local", ".local/share"}
                               << QStringList{".local/share/local"};
        QTest::newRow("npm") << "npm" << QStringList{".npm"} << QStringList{".npm/npm-cache"};
        QTest::newRow("Homebrew") << "Homebrew" << QStringList{"Library/Caches/Homebrew"}
                                  << QStringList{"Library/Caches/Homebrew/homebrew-x"};
        QTest::newRow("Reports") << "Reports" << QStringList{"Library/Logs/DiagnosticReports"}
                                 << QStringList{"Library/Logs/Reports.log"};
        QTest::newRow("Trash") << "Trash" << QStringList{".Trash", ".local/share/Trash"}
                               << QStringList{".config/Trash"};
        QTest::newRow("Library") << "Library" << QStringList{"Library"}
                                 << QStringList{"Library/Caches/Library"};
    }
    void protectedFolders_areNeverOfferedButWhatIsInsideThemIs()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, mustNotOffer);
        QFETCH(QStringList, mustOffer);
        Sandbox box;
        for (const char *folder : {".config", ".cache", ".local/share/Trash", ".npm", ".Trash",
                                   "Library/Caches/Homebrew", "Library/Logs/DiagnosticReports",
                                   "Library/Application Support"})
            box.makeDir(box.homePath(QString::fromLatin1(folder)));
        for (const QString &path : mustOffer)
            box.makeDir(box.homePath(path));
        const FileScanner scanner(box.places());
        const QStringList paths =
            allPaths(scanner.findAssociatedFiles(std::nullopt, name, box.homePath("")));
        const QStringList guarded = protectedFolders(box.places());
        for (const QString &path : paths)
            QVERIFY2(!isProtectedPlace(path, guarded), qPrintable(path));
        for (const QString &path : mustNotOffer)
            QVERIFY2(!paths.contains(box.homePath(path)), qPrintable(path));
        for (const QString &path : mustOffer)
            QVERIFY2(paths.contains(box.homePath(path)), qPrintable(path));
        QVERIFY(!paths.contains(box.home())); // the home given as the bundle
    }

    void findAssociatedFiles_progressNamesEachFolderOnceAndEachMeasuredItem()
    {
        Sandbox box;
        box.makeDir(box.homePath("Library/Caches/Forge"));
        box.makeDir(box.homePath("Library/Logs"));
        box.makeDir(box.homePath(".config"));
        QStringList told;
        const QList<FileGroup> groups =
            FileScanner(box.places())
                .findAssociatedFiles(std::nullopt, QStringLiteral("Forge"), std::nullopt,
                                     [&](const QString &what) { told.append(what); });
        QCOMPARE(describe(groups), QStringList{"caches=Forge"});
        QCOMPARE(told.count(box.homePath("Library/Caches")), 1);
        QCOMPARE(told.count(box.homePath("Library/Logs")), 1);
        QCOMPARE(told.count(box.home()), 1);
        QCOMPARE(told.count(box.homePath("Library/Caches/Forge")), 1);
        QVERIFY(!told.contains(box.homePath(".nvm")));
    }

    void scanOperations_onMissingOrPlainFileFoldersGiveNothing()
    {
        Sandbox box;
        box.writeFile(box.homePath("Library/WebKit"), "forge");
        const FileScanner scanner(box.places());
        const SearchTerms terms = scanner.buildSearchTerms(std::nullopt, "Forge", std::nullopt);
        QVERIFY(
            scanner
                .scanCategoryFolder(box.homePath("Library/WebKit"), terms, FileCategory::webkitData)
                .isEmpty());
        QVERIFY(scanner.scanCategoryFolder(box.homePath(".nvm"), terms, FileCategory::nvmDirectory)
                    .isEmpty());
        QVERIFY(
            scanner.scanPreferencesFolder(box.homePath("Library/Preferences"), terms).isEmpty());
        QVERIFY(FileScanner(Places(box.homePath("missing"), box.root()))
                    .scanHomeDotEntries(terms)
                    .isEmpty());

        // The three scans on their own measure what they find.
        box.writeFileOfSize(box.homePath("Library/WebKit2/forge/data"), 2000);
        box.writeFileOfSize(box.homePath("Library/Preferences/forge.plist"), 77);
        box.writeFileOfSize(box.homePath(".forge"), 5);
        const QList<AssociatedFile> webkit = scanner.scanCategoryFolder(
            box.homePath("Library/WebKit2"), terms, FileCategory::webkitData);
        QCOMPARE(webkit.size(), 1);
        QCOMPARE(webkit[0].size, expectedSize(webkit[0].path));
        QCOMPARE(webkit[0].category, FileCategory::webkitData);
        const QList<AssociatedFile> prefs =
            scanner.scanPreferencesFolder(box.homePath("Library/Preferences"), terms);
        QCOMPARE(prefs.size(), 1);
        QCOMPARE(prefs[0].size, 77);
        QCOMPARE(prefs[0].category, FileCategory::preferences);
        const QList<AssociatedFile> dots = scanner.scanHomeDotEntries(terms);
        QCOMPARE(dots.size(), 1);
        QCOMPARE(dots[0].name, QStringLiteral(".forge"));
        QCOMPARE(dots[0].size, 5);
    }
};

QTEST_GUILESS_MAIN(LeftoversTest)
#include "tst_leftovers.moc"

#include "scanner/FileScanner.h"
#include "scanner/NameGuard.h"
#include "tests/support/Sandbox.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

namespace {

// "category=name,name" per group, names sorted inside a group (listing order is the file
// system's), groups in their order; with paths, the paths in their order.
QStringList describe(const QList<FileGroup> &groups, bool paths = false)
{
    QStringList out;
    for (const FileGroup &group : groups) {
        QStringList names;
        for (const AssociatedFile &file : group.files)
            names.append(paths ? file.path : file.name);
        if (!paths)
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

// Home entries below prefix: a folder when the entry ends in '/', else a one-byte file.
void make(const Sandbox &box, const QString &prefix, std::initializer_list<const char *> entries)
{
    for (const char *entry : entries) {
        const QString path = box.homePath(prefix + QString::fromUtf8(entry));
        if (path.endsWith(QLatin1Char('/')))
            box.makeDir(path.chopped(1));
        else
            box.writeFile(path, "x");
    }
}

// What a found item should measure, worked out independently of the scanner: a symbolic link
// its own length (only the link goes to the Trash); a plain file its length; a folder the
// allocated size of every non-folder entry below it, links not followed.
qint64 expectedSize(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        struct stat st;
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? qint64(st.st_size) : 0;
    }
    if (!info.isDir())
        return info.exists() ? info.size() : 0;
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

AssociatedFile file(const QString &path)
{
    return AssociatedFile(path, QFileInfo(path).fileName(), FileCategory::caches, 0);
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
        QTest::addColumn<QString>("bundle");   // "-" for none
        QTest::addColumn<QString>("expected"); // "terms | identifier parts | whole names"
        // clang-format off
        QTest::newRow("pixel forge") << "io.acme.pixelforge.agent" << "Pixel Forge"
            << "/Applications/Pixel Forge.app" << "io.acme.pixelforge.agent;Pixel Forge | acme;pixelforge;agent | ";
        QTest::newRow("ignored words") << "com.github.acme" << "Acme" << "-" << "com.github.acme | acme | ";
        QTest::newRow("vendor-only identifiers are whole names") << "com.apple" << "Notes" << "-"
            << "Notes | apple | com.apple";
        QTest::newRow("one component") << "com" << "S" << "-" << "S |  | com";
        QTest::newRow("names trimmed, space-free forms, bundle name") << "com.microsoft.VSCode"
            << "  Visual Studio Code \n" << "/Applications/Code.app"
            << "com.microsoft.VSCode;Visual Studio Code;VisualStudioCode;Code | microsoft;VSCode | ";
        QTest::newRow("short, ignored, blank and repeated words") << "org.APP. ab.   .Tool.tool.XYZ"
            << "tool" << "-" << "org.APP. ab.   .Tool.tool.XYZ | ab;Tool | ";
        QTest::newRow("no identifier, only the last extension goes") << "-" << "Foo"
            << "/A/Foo.Bar.app/" << "Foo;Foo.Bar |  | ";
        QTest::newRow("empty name") << "-" << "" << "-" << " |  | ";
        QTest::newRow("punctuation only names nothing") << "..-.---" << "." << "/A/-.app" << " |  | ";
        QTest::newRow("non-ascii case-insensitive duplicates") << "de.müller.ÉCLAIR" << "Éclair"
            << "/A/éclair.app" << "de.müller.ÉCLAIR | müller;ÉCLAIR | ";
        // clang-format on
    }
    void buildSearchTerms_followsTheInsertionRules()
    {
        QFETCH(QString, identifier);
        QFETCH(QString, name);
        QFETCH(QString, bundle);
        const auto opt = [](const QString &s) {
            return s == QLatin1String("-") ? std::nullopt : std::optional<QString>(s);
        };
        const SearchTerms result = FileScanner(Places("/nonexistent", "/"))
                                       .buildSearchTerms(opt(identifier), name, opt(bundle));
        QTEST(result.terms.join(';') + " | " + result.identifierParts.join(';') + " | " +
                  result.wholeNames.join(';'),
              "expected");
    }

    // Names from real homes and the terms that must (or must not) reach them.
    void matchesTerm_wholeWordsWordStartsAndContainment_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("term");
        QTest::addColumn<bool>("matches");
        struct Row
        {
            const char *term;
            bool matches;
            std::initializer_list<const char *> names;
        };
        // clang-format off
        const Row rows[] = {
            // One or two characters: a whole word; a leading dot, an extension, a domain prefix,
            // a digit run or a lower-case continuation never make one.
            {"S", false, {".ssh", ".sqlite_history", "com.spotify.client", "Slack", "s3cmd"}},
            {"S", true, {"S", "S.app", "com.acme.S", "S-cache", "my_S"}},
            {"R", false, {".rustup", "rclone", ".Rhistory", "com.reforged", ".Renviron"}},
            {"R", true, {"org.R-project.R", "R", "r-cache", ".R"}},
            {"X", false, {".Xauthority", ".xinitrc", "foo.xml", "recently-used.xbel",
                          "lib-x86_64", "Xcode", "xdg"}},
            {"X", true, {"homebrew.mxcl.x.plist", "X-files", "app.X", "com.x"}},
            {"Go", false, {"Google", "google-chrome", "GoogleSoftwareUpdate", "com.google.Chrome",
                           "golang", "Gopher"}},
            {"Go", true, {"Go", "go-build", "GoLand", "org.go.Tools"}},
            // Three to five characters: the start of a word.
            {"Code", false, {"Xcode", "unicode", "com.apple.dt.Xcode", ".vscode", "Barcode"}},
            {"Code", true, {"Code", "VSCode", "code-server", "Code Cache", "CodeLLDB"}},
            {"Mail", false, {"Gmail", "email-cache", "com.readdle.smartemail", "Hotmail"}},
            {"Mail", true, {"com.apple.mail", "MailData", "Mail Downloads", ".mailrc"}},
            {"com", false, {"com.apple.Notes", "com.google.Chrome"}},
            {"Forge", true, {"forge", "Forge Tools", "forgeapp", "acme-forge", "io.forge",
                             "PixelForge", "ABForge", "acme.forge", "BigFORGE"}},
            {"Forge", false, {"reforge", "2Forge", "Xforge"}},
            // Six and more: anywhere, in any letter case, but never in the extension alone.
            {"Pixel Forge", true, {"Old PIXEL FORGE backups", "xpixel forgex"}},
            {"Pixel Forge", false, {"PixelForge"}},
            {"Chrome", true, {"GoogleChrome", "google-chrome-beta"}},
            {"sqlite", false, {"history.sqlite"}},
            {"café-é", true, {"CAFÉ-ÉCLAIR.log"}},
            {"", false, {"anything"}},
        };
        // clang-format on
        for (const Row &row : rows) {
            for (const char *name : row.names)
                QTest::addRow("%s in %s", row.term, name)
                    << QString::fromUtf8(name) << QString::fromUtf8(row.term) << row.matches;
        }
    }
    void matchesTerm_wholeWordsWordStartsAndContainment()
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
        // Named places, then category folders.
        make(box, "",
             {".Pixel Forge/state", ".config/Pixel Forge/config.json", ".pixelforge/",
              "Library/Application Support/Pixel Forge/db", "Library/Logs/agent-only.log",
              "Library/LaunchAgents/Pixel Forge Helper.plist", "Library/Logs/acme-agent.log",
              "Library/LaunchAgents/io.acme.pixelforge.agent.plist",
              "Library/Caches/io.acme.pixelforge.agent/Cache.db"});
        box.writeFileOfSize(box.homePath("Library/Caches/Pixel Forge/a/b/c"), 12345);
        box.writeFileOfSize(box.homePath("Library/Caches/Pixel Forge/.hidden"), 5000);
        box.makeSymlink("/", box.homePath("Library/Caches/Pixel Forge/root-link"));
        // A found place that is itself a link to a large folder frees only the link.
        box.writeFileOfSize(box.base() + "/elsewhere/big.log", 300000);
        box.makeSymlink(box.base() + "/elsewhere", box.homePath("Library/Logs/Pixel Forge"));
        // A plain file where a folder is expected is skipped; .nvm and WebKit are simply missing.
        make(box, "Library/",
             {"Application Support/io.acme.pixelforge.agent/", "Caches/com.other.app/",
              "Containers/Old pixel forge Backups/", "Containers/PixelForge/", "HTTPStorageData",
              "Saved Application State/io.acme.pixelforge.agent.savedState/"});
        make(box, "Library/Preferences/",
             {"io.acme.pixelforge.agent.plist", "Pixel Forge.PLIST", "com.other.plist",
              "io.acme.pixelforge.agent.Settings.plist", "io.acme.pixelforge.agent.json"});

        QStringList told;
        const QList<FileGroup> groups =
            FileScanner(box.places())
                .findAssociatedFiles("io.acme.pixelforge.agent", "Pixel Forge", bundle, {},
                                     [&](const QString &what) { told.append(what); });
        QCOMPARE(describe(groups),
                 (QStringList{"appBundle=Pixel Forge.app", "homeDotFiles=.Pixel Forge",
                              "configDirectory=Pixel Forge",
                              "applicationSupport=Pixel Forge,io.acme.pixelforge.agent",
                              "caches=Pixel Forge,io.acme.pixelforge.agent",
                              "libraryLogs=Pixel Forge,acme-agent.log",
                              "launchAgents=Pixel Forge Helper.plist",
                              "preferences=io.acme.pixelforge.agent.Settings.plist,"
                              "io.acme.pixelforge.agent.plist",
                              "containers=Old pixel forge Backups",
                              "savedApplicationState=io.acme.pixelforge.agent.savedState"}));
        // The bundle group holds the bundle; merged groups keep the named place first.
        QCOMPARE((QStringList{groups[0].files[0].path, groups[3].files[0].path,
                              groups[4].files[0].path}),
                 (QStringList{bundle, box.homePath("Library/Application Support/Pixel Forge"),
                              box.homePath("Library/Caches/Pixel Forge")}));
        // No path twice (Caches is listed by three categories, Logs by two); every file measured
        // as found, unselected, with a fresh id.
        const QStringList paths = allPaths(groups);
        QSet<QUuid> ids;
        for (const FileGroup &group : groups) {
            for (const AssociatedFile &f : group.files) {
                QCOMPARE(f.size, expectedSize(f.path));
                QVERIFY(!f.isSelected && !ids.contains(f.id));
                ids.insert(f.id);
            }
        }
        QCOMPARE(QSet<QString>(paths.begin(), paths.end()).size(), ids.size());
        // The link to "/" below the cache folder counts as a link, not as the whole disk.
        QVERIFY(groups[4].files[0].size >= 12345 + 5000 && groups[4].files[0].size < 1024 * 1024);
        QCOMPARE(groups[5].files[0].size, qint64(QFile::encodeName(box.base() + "/elsewhere").size()));
        // Progress names each searched folder once and each measured item; missing ones never.
        for (const QString &place : {box.homePath("Library/Caches"), box.homePath("Library/Logs"),
                                     box.home(), box.homePath("Library/Caches/Pixel Forge")})
            QVERIFY2(told.count(place) == 1, qPrintable(place));
        QVERIFY(!told.contains(box.homePath(".nvm")));
    }

    void findAssociatedFiles_preferenceAndHomeDotRules()
    {
        Sandbox box;
        make(box, "Library/Containers/", {"forge/", "PixelForge/", "reforge/"});
        make(box, "",
             {".forge", ".forgerc", "forge", ".reforge", ".Xforge", ".pixelforge", ".acme",
              ".acme-agent", ".Pixel Forge rc", ".bashrc", ".Rhistory", ".R"});
        make(box, "Library/Preferences/",
             {"forge.plist", "com.reforged.plist", "forge.plist.bak", "org.R-project.R.plist"});
        const FileScanner scanner(box.places());

        // Short terms match preference files at word boundaries only: "com.reforged" is another
        // program's; only home entries starting with a dot count.
        QCOMPARE(describe(scanner.findAssociatedFiles(std::nullopt, "Forge", std::nullopt)),
                 (QStringList{"preferences=forge.plist",
                              "homeDotFiles=.Pixel Forge rc,.forge,.forgerc",
                              "containers=PixelForge,forge"}));
        // One identifier part is not enough for a home entry; two are; a whole-name term is.
        QCOMPARE(describe(scanner.findAssociatedFiles("io.acme.pixelforge.agent", "Pixel Forge",
                                                      std::nullopt)),
                 QStringList{"homeDotFiles=.Pixel Forge rc,.acme-agent"});
        // A one-letter name reaches only entries where it is a whole word.
        QCOMPARE(describe(scanner.findAssociatedFiles(std::nullopt, "R", std::nullopt)),
                 (QStringList{"homeDotFiles=.R", "preferences=org.R-project.R.plist"}));
    }

    void mergeFileGroups_dropsSeenPathsAndJoinsSameCategory()
    {
        using C = FileCategory;
        const QList<FileGroup> named{FileGroup(C::applicationSupport, {file("/h/AS/Forge")}),
                                     FileGroup(C::caches, {file("/h/C/Forge")})};
        const QList<FileGroup> categories{
            FileGroup(C::preferences, {file("/h/P/forge.plist")}),
            FileGroup(C::applicationSupport, {file("/h/AS/Forge"), file("/h/AS/io.forge")}),
            FileGroup(C::caches, {file("/h/C/Forge")}),
            FileGroup(C::packageManagerCache, {file("/h/C/Forge"), file("/h/C/forge")}),
            FileGroup(C::systemCaches, {file("/h/C/forge"), file("/h/C/FORGE")}),
            FileGroup(C::applicationSupport, {file("/h/AS/x.forge")}),
        };
        const QList<FileGroup> merged = FileScanner::mergeFileGroups(named, categories);
        // Paths are exact strings: letter case makes a different path.
        QCOMPARE(describe(merged, true),
                 (QStringList{"applicationSupport=/h/AS/Forge,/h/AS/io.forge,/h/AS/x.forge",
                              "caches=/h/C/Forge", "preferences=/h/P/forge.plist",
                              "packageManagerCache=/h/C/forge", "systemCaches=/h/C/FORGE"}));
        QCOMPARE(merged[0].id, named[0].id);
        QVERIFY(merged[2].id != categories[0].id); // a new group of the result
        QVERIFY(FileScanner::mergeFileGroups({}, {}).isEmpty());
    }

    void findNamedLocations_stepOrderAndNames()
    {
        Sandbox box;
        for (const char *folder : {".", ".config/", ".cache/", "Library/Application Support/",
                                   "Library/Caches/", "Library/Logs/"})
            make(box, QString::fromUtf8(folder), {"100% Café/"});
        make(box, "",
             {".local/share/100% Café", "Library/LaunchAgents/com.x.100 Cafe.plist",
              "Library/LaunchAgents/com.x.100% CAFÉ helper.plist"});
        const QList<FileGroup> groups = FileScanner(box.places()).findNamedLocations("100% Café");
        QCOMPARE(
            describe(groups),
            (QStringList{"homeDotFiles=.100% Café", "configDirectory=100% Café",
                         "cacheDirectory=100% Café", "localShareDirectory=100% Café",
                         "applicationSupport=100% Café", "caches=100% Café",
                         "libraryLogs=100% Café", "launchAgents=com.x.100% CAFÉ helper.plist"}));
        QCOMPARE(groups[1].files[0].path, box.homePath(".config/100% Café"));
        // The name's letter case is kept in the places; the launch agents match in any case.
        QCOMPARE(describe(FileScanner(box.places()).findNamedLocations("100% CAFÉ")),
                 QStringList{"launchAgents=com.x.100% CAFÉ helper.plist"});
    }

    void findEntriesContaining_shortNamesMustStandAsWords_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("found");
        // clang-format off
        QTest::newRow("one letter is a whole word") << "n" << QStringList{"n", "n.conf",
            "homebrew.mxcl.n.plist", "com.nordvpn.plist", "nginx"} << QStringList{"homebrew.mxcl.n.plist", "n", "n.conf"};
        QTest::newRow("two letters are a whole word") << "gh" << QStringList{"gh-2.40", "GH.log",
            "ghostty", "digest"} << QStringList{"GH.log", "gh-2.40"};
        QTest::newRow("three to five letters begin a word") << "git" << QStringList{"git-lfs",
            "gitconfig", "libgit2", "homebrew.mxcl.git.plist"} << QStringList{"git-lfs", "gitconfig", "homebrew.mxcl.git.plist"};
        QTest::newRow("rc files of short names") << "wget" << QStringList{"wgetrc", "wget2", "swget"}
            << QStringList{"wget2", "wgetrc"};
        QTest::newRow("long names by containment") << "typescript" << QStringList{"typescript-language-server",
            "@types-typescript-x", "tsc"} << QStringList{"@types-typescript-x", "typescript-language-server"};
        QTest::newRow("stores go by containment") << "+git" << QStringList{"git-lfs", "libgit2",
            "digit"} << QStringList{"digit", "git-lfs", "libgit2"};
        // clang-format on
    }
    void findEntriesContaining_shortNamesMustStandAsWords()
    {
        QFETCH(QString, name);
        // "+name": the package stores' containment rule.
        const NameRule rule = name.startsWith('+') ? NameRule::containment : NameRule::word;
        name.remove('+');
        QFETCH(QStringList, entries);
        QFETCH(QStringList, found);
        Sandbox box;
        const QString folder = box.systemPath("/Library/LaunchDaemons");
        for (const QString &entry : entries)
            box.writeFile(folder + "/" + entry, "x");
        QCOMPARE(names(FileScanner(box.places())
                           .findEntriesContaining(folder, name, FileCategory::launchDaemons,
                                                  std::nullopt, rule)),
                 found);
    }

    void findEntriesContaining_excludedNameAndMissingFolder()
    {
        Sandbox box;
        const QString var = box.systemPath("/opt/homebrew/var");
        for (const char *n : {"log", "LOG", "logrotate", "og", "og-data", "other"})
            box.makeDir(var + "/" + n);
        const FileScanner scanner(box.places());
        const auto found = [&](const QString &folder, const QString &name,
                               const std::optional<QString> &excluded = std::nullopt) {
            return scanner.findEntriesContaining(folder, name, FileCategory::homebrewVar, excluded,
                                                 NameRule::word);
        };
        // A two-letter name must be a whole word: "logrotate" belongs to another program. Without
        // the exclusion var/log is still never offered: Homebrew searches it itself. LOG is the
        // same folder on a disk that ignores letter case, so it is held back too.
        QCOMPARE(names(found(var, "og", "Log")), (QStringList{"og", "og-data"}));
        QCOMPARE(names(found(var, "og")), (QStringList{"og", "og-data"}));
        QVERIFY(found(var + "/missing", "og").isEmpty());
        QCOMPARE(describe({FileGroup(FileCategory::homebrewVar, found(var, "other"))}, true),
                 QStringList{"homebrewVar=" + var + "/other"});
        QCOMPARE(found(var, "other")[0].category, FileCategory::homebrewVar);
    }

    void hostileNames_neverOfferHomeSearchedFoldersOrOutside_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name :
             {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("a/../../b"),
              QStringLiteral("/"), QStringLiteral("   "), QStringLiteral("b") + QChar(0) + 'x'})
            QTest::addRow("'%s'", qPrintable(name)) << name;
    }
    void hostileNames_neverOfferHomeSearchedFoldersOrOutside()
    {
        QFETCH(QString, name);
        Sandbox box;
        // Every place a hostile name could reach exists: the searched folders with an entry each,
        // "a" folders for "a/../../b" to climb through, and "b" beside and above the home.
        for (const char *folder :
             {".config/", ".cache/", ".local/share/", "Library/Application Support/",
              "Library/Caches/", "Library/Logs/", "Library/LaunchAgents/", "Library/Preferences/",
              "Library/Containers/"})
            make(box, QString::fromLatin1(folder), {"entry.plist", "a/"});
        make(box, "", {"a/", "Library/a/", ".ssh/", "b", "Library/b", ".b", ".bashrc", "../b"});
        // A name that a file system accepts ("   ") exists too, as places and inside agents.
        if (name.trimmed().isEmpty() && !name.isEmpty()) {
            for (const char *prefix : {".", ".config/", "Library/Caches/"})
                box.makeDir(box.homePath(QString::fromLatin1(prefix) + name));
            box.writeFile(box.homePath("Library/LaunchAgents/x" + name + "y.plist"), "x");
        }

        const FileScanner scanner(box.places());
        QVERIFY(scanner.findNamedLocations(name).isEmpty());
        QVERIFY(scanner
                    .findEntriesContaining(box.homePath("Library/LaunchAgents"), name,
                                           FileCategory::launchAgents, std::nullopt,
                                           NameRule::word)
                    .isEmpty());
        // Also as a bundle identifier: it adds no part and no term that matches anything.
        for (const std::optional<QString> &identifier : {std::optional<QString>(), {name}}) {
            const QList<FileGroup> found = scanner.findAssociatedFiles(identifier, name, {});
            QVERIFY2(found.isEmpty(), qPrintable(describe(found).join(" | ")));
        }
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
        QTest::newRow("Homebrew") << "Homebrew" << QStringList{"Library/Caches/Homebrew"}
                                  << QStringList{"Library/Caches/Homebrew/homebrew-x"};
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
        make(box, "",
             {".config/", ".cache/", ".local/share/Trash/", ".npm/", ".Trash/",
              "Library/Caches/Homebrew/", "Library/Logs/DiagnosticReports/",
              "Library/Application Support/"});
        for (const QString &path : mustOffer)
            box.makeDir(box.homePath(path));
        const QStringList paths = allPaths(
            FileScanner(box.places()).findAssociatedFiles(std::nullopt, name, box.homePath("")));
        const QStringList guarded = protectedFolders(box.places());
        for (const QString &path : paths)
            QVERIFY2(!isProtectedPlace(path, guarded), qPrintable(path));
        QStringList offered;
        for (const QString &path : mustNotOffer + mustOffer + QStringList{""}) // "": the home
            if (paths.contains(QDir::cleanPath(box.homePath(path))))
                offered.append(path);
        QCOMPARE(offered, mustOffer);
    }

    // Missing and plain-file category folders are covered by the Pixel Forge scan above.
    void scanOperations_onMissingFoldersGiveNothing()
    {
        Sandbox box;
        const FileScanner scanner(box.places());
        const SearchTerms terms = scanner.buildSearchTerms(std::nullopt, "Forge", std::nullopt);
        QVERIFY(
            scanner.scanPreferencesFolder(box.homePath("Library/Preferences"), terms).isEmpty());
        QVERIFY(FileScanner(Places(box.homePath("missing"), box.root()))
                    .scanHomeDotEntries(terms)
                    .isEmpty());
    }
};

QTEST_GUILESS_MAIN(LeftoversTest)
#include "tst_leftovers.moc"

#include "scanner/FileScanner.h"
#include "scanner/NameGuard.h"
#include "scanner/NameSieve.h"
#include "scanner/SharedWords.h"
#include "scanner/TermMatcher.h"
#include "scanner/VendorTally.h"
#include "tests/support/Sandbox.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <array>
#include <functional>

namespace {

// "category=label,label" per group, the files' labels (their names unless told) sorted inside a
// group (listing order is the file system's), groups in their order.
QStringList
describe(const QList<FileGroup> &groups,
         const std::function<QString(const AssociatedFile &)> &label = &AssociatedFile::name)
{
    QStringList out;
    for (const FileGroup &group : groups) {
        QStringList labels;
        for (const AssociatedFile &file : group.files)
            labels.append(label(file));
        labels.sort();
        out.append(caseName(group.category) + QLatin1Char('=') + labels.join(QLatin1Char(',')));
    }
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

// The file systems the tests run on allocate 4096-byte blocks; the sizes below are in bytes.
constexpr qint64 kBlock = 4096;

AssociatedFile file(const QString &path)
{
    return AssociatedFile(path, QFileInfo(path).fileName(), FileCategory::caches, 0);
}

} // namespace

class LeftoversTest : public QObject
{
    Q_OBJECT

private slots:
    void buildSearchTerms_followsTheInsertionRules()
    {
        // Rule, identifier ("-" for none), name, bundle ("-" for none), and the terms found as
        // "terms | identifier parts | whole names".
        // clang-format off
        const std::array<const char *, 5> rows[] = {
            {"typical", "io.acme.pixelforge.agent", "Pixel Forge", "/Applications/Pixel Forge.app",
             "io.acme.pixelforge.agent;Pixel Forge | acme;pixelforge;agent | "},
            {"ignored words", "com.github.acme", "Acme", "-", "com.github.acme | acme | "},
            {"vendor-only identifiers are whole names", "com.apple", "Notes", "-",
             "Notes | apple | com.apple"},
            {"one component", "com", "S", "-", "S |  | com"},
            {"names trimmed, space-free forms, bundle name", "com.microsoft.VSCode",
             "  Visual Studio Code \n", "/Applications/Code.app",
             "com.microsoft.VSCode;Visual Studio Code;VisualStudioCode;Code | microsoft;VSCode | "},
            {"short, ignored, blank and repeated words", "org.APP. ab.   .Tool.tool.XYZ", "tool",
             "-", "org.APP. ab.   .Tool.tool.XYZ | ab;Tool | "},
            {"no identifier, only the last extension goes", "-", "Foo", "/A/Foo.Bar.app/",
             "Foo;Foo.Bar |  | "},
            {"empty name", "-", "", "-", " |  | "},
            {"punctuation only names nothing", "..-.---", ".", "/A/-.app", " |  | "},
            {"non-ascii case-insensitive duplicates", "de.müller.ÉCLAIR", "Éclair", "/A/éclair.app",
             "de.müller.ÉCLAIR | müller;ÉCLAIR | "},
        };
        // clang-format on
        const auto opt = [](const char *s) {
            return qstrcmp(s, "-") == 0 ? std::nullopt : std::optional<QString>(s);
        };
        const FileScanner scanner(Places("/nonexistent", "/"));
        for (const auto &[rule, identifier, name, bundle, expected] : rows) {
            const SearchTerms t = scanner.buildSearchTerms(opt(identifier), name, opt(bundle));
            QCOMPARE(rule + (": " + t.terms.join(';')) + " | " + t.identifierParts.join(';') +
                         " | " + t.wholeNames.join(';'),
                     rule + (": " + QString::fromUtf8(expected)));
        }
    }

    // Names from real homes and the terms that must (or must not) reach them.
    void matchesTerm_wholeWordsWordStartsAndContainment()
    {
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
                QVERIFY2(FileScanner::matchesTerm(name, row.term) == row.matches,
                         qPrintable(QStringLiteral("%1 in %2").arg(row.term, name)));
        }
    }

    // The sieve before the matcher rules out only ASCII names that the matcher scores 0.
    void nameSieve_rulesOutOnlyAsciiNamesTheMatcherCannotScore()
    {
        const QString kelvin(QChar(0x212A)); // folds onto "k"
        const ItemMatcher matchers[] = {
            ItemMatcher({"io.acme.pixelforge.agent", "Pixel Forge"},
                        {"acme", "pixelforge", "agent"}, {}),
            ItemMatcher({"R"}, {}, {"com.apple"}),
            ItemMatcher({kelvin + "afka"}, {}, {}),
        };
        // {name as the file system gives it, what the first matcher's sieve says}
        const std::pair<QByteArray, bool> names[] = {
            {"io.acme.pixelforge.agent.plist", true},
            {"xPIXEL FORGE", true},         // at an odd offset
            {"com.acme.agent", true},       // two identifier parts
            {"com.vendor.agent", false},    // one part is not enough
            {"Helper Agent 12.log", false}, // nor is one part again
            {"google_Player_7", false},
            {"Grüße", true},     // not ASCII: never ruled out
            {"Pixel\xff", true}, // nor bytes that are not UTF-8
            {"org.R-project.R", false},
            {"com.apple.plist", false},
            {"kafka.log", false},
            {"", false},
        };
        for (const ItemMatcher &matcher : matchers) {
            const NameSieve sieve(matcher.termTexts(), matcher.partTexts(),
                                  ItemMatcher::kIdentifierPartQuorum);
            for (const auto &[bytes, firstSays] : names) {
                const bool mayHold = sieve.mayHold(bytes);
                QVERIFY2(mayHold || matcher.score(QFile::decodeName(bytes)) == 0,
                         bytes.constData());
                QVERIFY2(&matcher != matchers || mayHold == firstSays, bytes.constData());
            }
        }
        // What the first rules out, the others score: their sieves must let it through.
        QVERIFY(matchers[1].score(u"org.R-project.R") > 0 && matchers[2].score(u"kafka.log") > 0);
    }

    // The searched folders' names in any spelling and well-known vendors are shared words; the
    // folders holding the home and the system root say nothing of what the searches look in.
    void sharedWords_areTheSearchedFoldersNamesAndVendors()
    {
        const Places places("/box/home/someone", "/box/root");
        const SharedWords shared(protectedFolders(places), places);
        for (const char *word : {"Application Support", "applicationsupport", ".config", "share",
                                 "Library", "autostart", "SYSTEMD", "icons", "Cellar", "Google"})
            QVERIFY2(shared.contains(QString::fromUtf8(word)), word);
        for (const char *word : {"box", "someone", "Pixel Forge", "Chrome", ""})
            QVERIFY2(!shared.contains(QString::fromUtf8(word)), word);
    }

    // A vendor is the second part of three programs' reverse-domain names; a program's helpers,
    // the vendor's own file and names without a domain in front count for no further program.
    void vendorTally_countsProgramsOfReverseDomainNames()
    {
        VendorTally tally({"acme", "Zed", "Pixel Forge", "io.zed"});
        for (const char *name :
             {"com.acme.Sync.plist", "com.acme.sync.helper", "org.ACME.Player", "com.acme.plist",
              "homebrew.acme.Tool", "com.acme..x", ".com.acme.Vault", "com.acmex.Vault", "io.zed.a",
              "io.zed.b", "IO.ZED.C", "io.zed.c"})
            tally.count(name);
        QCOMPARE(tally.vendors(), QStringList{"Zed"});
        tally.count("com.acme.Vault");
        QCOMPARE(tally.vendors(), (QStringList{"acme", "Zed"}));
    }

    void findAssociatedFiles_pixelForge_groupsInOrderMergedAndMeasured()
    {
        Sandbox box;
        const QString bundle = box.makeAppBundle(
            box.systemPath("/Applications"), "Pixel Forge.app",
            {{"CFBundleIdentifier", "io.acme.pixelforge.agent"}, {"CFBundleName", "Pixel Forge"}});
        box.writeFileOfSize(bundle + "/Contents/MacOS/Pixel Forge", 17 * kBlock);
        // Named places, then category folders.
        make(box, "",
             {".Pixel Forge/state", ".config/Pixel Forge/config.json", ".pixelforge/",
              ".cache/Pixel Forge/", ".local/share/Pixel Forge/data",
              "Library/Application Support/Pixel Forge/db", "Library/Logs/agent-only.log",
              "Library/LaunchAgents/Pixel Forge Helper.plist", "Library/Logs/acme-agent.log",
              "Library/LaunchAgents/io.acme.pixelforge.agent.plist",
              "Library/Caches/io.acme.pixelforge.agent/Cache.db"});
        box.writeFileOfSize(box.homePath("Library/Caches/Pixel Forge/a/b/c"), 3 * kBlock);
        box.writeFileOfSize(box.homePath("Library/Caches/Pixel Forge/.hidden"), kBlock);
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
        // Each file measured as found: a folder by the blocks below it (the link to "/" in the
        // cache counts as a link, not as the whole disk), a file by its length, a found link as
        // the link only. The bundle holds 18 blocks, the cache 4.
        const QString link = QString::number(QFile::encodeName(box.base() + "/elsewhere").size());
        QCOMPARE(describe(groups,
                          [](const AssociatedFile &f) {
                              return f.name + ' ' + QString::number(f.size);
                          }),
                 (QStringList{"appBundle=Pixel Forge.app 73728", "homeDotFiles=.Pixel Forge 4096",
                              "configDirectory=Pixel Forge 4096", "cacheDirectory=Pixel Forge 0",
                              "localShareDirectory=Pixel Forge 4096",
                              "applicationSupport=Pixel Forge 4096,io.acme.pixelforge.agent 0",
                              "caches=Pixel Forge 16384,io.acme.pixelforge.agent 4096",
                              "libraryLogs=Pixel Forge " + link + ",acme-agent.log 1",
                              "launchAgents=Pixel Forge Helper.plist 1",
                              "preferences=io.acme.pixelforge.agent.Settings.plist 1,"
                              "io.acme.pixelforge.agent.plist 1",
                              "containers=Old pixel forge Backups 0",
                              "savedApplicationState=io.acme.pixelforge.agent.savedState 0"}));
        // The bundle group holds the bundle; merged groups keep the named place first.
        QCOMPARE((QStringList{groups[0].files[0].path, groups[5].files[0].path,
                              groups[6].files[0].path}),
                 (QStringList{bundle, box.homePath("Library/Application Support/Pixel Forge"),
                              box.homePath("Library/Caches/Pixel Forge")}));
        // No path twice (Caches is listed by three categories, Logs by two): the list above would
        // show it. Every file unselected, with a fresh id.
        QSet<QUuid> ids;
        for (const FileGroup &group : groups) {
            for (const AssociatedFile &f : group.files) {
                QVERIFY(!f.isSelected && !ids.contains(f.id));
                ids.insert(f.id);
            }
        }
        // Progress names each searched folder once and each measured item; missing ones never.
        for (const QString &place : {box.homePath("Library/Caches"), box.homePath("Library/Logs"),
                                     box.home(), box.homePath("Library/Caches/Pixel Forge")})
            QVERIFY2(told.count(place) == 1, qPrintable(place));
        QVERIFY(!told.contains(box.homePath(".nvm")));
    }

    void findAssociatedFiles_preferenceAndHomeDotRulesAndMissingFolders()
    {
        Sandbox box;
        make(box, "Library/Containers/", {"forge/", "PixelForge/", "reforge/"});
        make(box, "",
             {".forge", ".forgerc", "forge", ".reforge", ".Xforge", ".pixelforge", ".acme",
              ".acme-agent", ".Pixel Forge rc", ".bashrc"});
        make(box, "Library/Preferences/", {"forge.plist", "com.reforged.plist", "forge.plist.bak"});
        const FileScanner scanner(box.places());

        // Short terms match preference files at word boundaries only: "com.reforged" is another
        // program's; only home entries starting with a dot count.
        QCOMPARE(
            describe(scanner.findAssociatedFiles(std::nullopt, "Forge", std::nullopt)),
            (QStringList{"preferences=forge.plist", "homeDotFiles=.Pixel Forge rc,.forge,.forgerc",
                         "containers=PixelForge,forge"}));
        // One identifier part is not enough for a home entry; two are; a whole-name term is.
        QCOMPARE(describe(scanner.findAssociatedFiles("io.acme.pixelforge.agent", "Pixel Forge",
                                                      std::nullopt)),
                 QStringList{"homeDotFiles=.Pixel Forge rc,.acme-agent"});
        // The single-folder scans give nothing for a missing folder or home.
        const SearchTerms terms = scanner.buildSearchTerms(std::nullopt, "Forge", std::nullopt);
        QVERIFY(scanner.scanPreferencesFolder(box.homePath("Library/Prefs"), terms).isEmpty());
        const FileScanner homeless(Places(box.homePath("missing"), box.root()));
        QVERIFY(homeless.scanHomeDotEntries(terms).isEmpty());
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
        QCOMPARE(describe(merged, &AssociatedFile::path),
                 (QStringList{"applicationSupport=/h/AS/Forge,/h/AS/io.forge,/h/AS/x.forge",
                              "caches=/h/C/Forge", "preferences=/h/P/forge.plist",
                              "packageManagerCache=/h/C/forge", "systemCaches=/h/C/FORGE"}));
        QCOMPARE(merged[0].id, named[0].id);
        QVERIFY(merged[2].id != categories[0].id); // a new group of the result
        QVERIFY(FileScanner::mergeFileGroups({}, {}).isEmpty());
    }

    // The places named after the item keep its letter case (their step order: the Pixel Forge
    // scan); launch agents match it in any case.
    void findNamedLocations_keepTheNamesCaseExceptInLaunchAgents()
    {
        Sandbox box;
        make(box, "",
             {".config/100% Café/", "Library/LaunchAgents/com.x.100 Cafe.plist",
              "Library/LaunchAgents/com.x.100% CAFÉ helper.plist"});
        const FileScanner scanner(box.places());
        const QList<FileGroup> groups = scanner.findNamedLocations("100% Café");
        QCOMPARE(describe(groups), (QStringList{"configDirectory=100% Café",
                                                "launchAgents=com.x.100% CAFÉ helper.plist"}));
        QCOMPARE(groups[0].files[0].path, box.homePath(".config/100% Café"));
        QCOMPARE(describe(scanner.findNamedLocations("100% CAFÉ")),
                 QStringList{"launchAgents=com.x.100% CAFÉ helper.plist"});
    }

    // The word rule itself is the matcher table's; here: which rule applies, the excluded name,
    // protected folders and a missing folder.
    void findEntriesContaining_wordOrContainmentExclusionAndMissingFolder()
    {
        Sandbox box;
        const QString var = box.systemPath("/opt/homebrew/var");
        for (const char *n : {"log", "LOG", "logrotate", "og", "og-data", "git-lfs", "gitconfig",
                              "libgit2", "digit", "homebrew.mxcl.git.plist"})
            box.makeDir(var + "/" + n);
        const FileScanner scanner(box.places());
        const auto found = [&](const QString &folder, const QString &name,
                               const std::optional<QString> &excluded = std::nullopt,
                               NameRule rule = NameRule::word) {
            return scanner.findEntriesContaining(folder, name, FileCategory::homebrewVar, excluded,
                                                 rule);
        };
        // The names found, sorted.
        const auto names = [&](auto... arguments) {
            return describe({FileGroup(FileCategory::homebrewVar, found(var, arguments...))})
                .value(0)
                .section('=', 1);
        };
        QCOMPARE(names("git"), "git-lfs,gitconfig,homebrew.mxcl.git.plist");
        // The package stores go by containment.
        QCOMPARE(names("git", std::nullopt, NameRule::containment),
                 "digit,git-lfs,gitconfig,homebrew.mxcl.git.plist,libgit2");
        // The excluded name is held back in any letter case. var/log is never offered even
        // without the exclusion (Homebrew searches it itself), nor LOG, the same folder on a disk
        // that ignores letter case.
        QCOMPARE(names("og", "OG"), "og-data");
        QCOMPARE(names("log", "Log"), "logrotate");
        QCOMPARE(names("log"), "logrotate");
        QVERIFY(found(var + "/missing", "og").isEmpty());
        const QList<AssociatedFile> data = found(var, "og-data");
        QCOMPARE(data.value(0).path, var + "/og-data");
        QCOMPARE(data.value(0).category, FileCategory::homebrewVar);
    }

    void hostileNames_neverOfferHomeSearchedFoldersOrOutside()
    {
        Sandbox box;
        // Every place a hostile name could reach exists: the searched folders with an entry each,
        // "a" folders for "a/../../b" to climb through, "b" beside and above the home, and "   "
        // (a name a file system accepts) as places and inside agents.
        for (const char *folder :
             {".config/", ".cache/", ".local/share/", "Library/Application Support/",
              "Library/Caches/", "Library/Logs/", "Library/LaunchAgents/", "Library/Preferences/",
              "Library/Containers/"})
            make(box, QString::fromLatin1(folder), {"entry.plist", "a/"});
        make(box, "",
             {"a/", "Library/a/", ".ssh/", "b", "Library/b", ".b", ".bashrc", "../b", ".   /",
              ".config/   /", "Library/Caches/   /", "Library/LaunchAgents/x   y.plist"});

        const FileScanner scanner(box.places());
        for (const QString &name : QStringList{"", ".", "..", "a/../../b", "/", "   ",
                                               QStringLiteral("b") + QChar(0) + 'x'}) {
            // Named places, launch agents and category folders alike; also as a bundle identifier,
            // which adds no part and no term that matches anything. The home folder given as the
            // bundle is never offered either.
            for (const std::optional<QString> &identifier : {std::optional<QString>(), {name}}) {
                const QList<FileGroup> found =
                    scanner.findAssociatedFiles(identifier, name, box.homePath(""));
                QVERIFY2(found.isEmpty(), qPrintable(name + ": " + describe(found).join(" | ")));
            }
        }
    }
};

QTEST_GUILESS_MAIN(LeftoversTest)
#include "tst_leftovers.moc"

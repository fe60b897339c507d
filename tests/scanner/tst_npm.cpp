#include "scanner/FileScanner.h"
#include "tests/support/MachineBuilder.h"
#include "tests/support/Sandbox.h"

#include <QTest>

namespace {

QStringList namesOf(const QList<NPMPackage> &packages)
{
    QStringList names;
    for (const NPMPackage &package : packages)
        names.append(package.name);
    return names;
}

QStringList fileNames(const FileGroup &group)
{
    QStringList names;
    for (const AssociatedFile &file : group.files)
        names.append(file.name);
    names.sort();
    return names;
}

} // namespace

class NPMTest : public QObject
{
    Q_OBJECT

private slots:
    void availability_fixedPathsFirstThenLookup_data()
    {
        QTest::addColumn<QString>("npmAt");
        QTest::addColumn<bool>("installWhich");
        QTest::addColumn<QString>("whichAnswer");
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("whichAsked");

        QTest::newRow("nothing, lookup prints nothing")
            << QString() << true << QString() << false << true;
        QTest::newRow("nothing, no lookup tool")
            << QString() << false << QString() << false << false;
        QTest::newRow("lookup prints only blanks")
            << QString() << true << QStringLiteral("  \t ") << false << true;
        QTest::newRow("lookup finds it")
            << QString() << true << QStringLiteral("/usr/bin/npm") << true << true;
        QTest::newRow("homebrew npm")
            << QStringLiteral("/opt/homebrew/bin/npm") << true << QString() << true << false;
        QTest::newRow("local npm")
            << QStringLiteral("/usr/local/bin/npm") << true << QString() << true << false;
    }

    void availability_fixedPathsFirstThenLookup()
    {
        QFETCH(QString, npmAt);
        QFETCH(bool, installWhich);
        QFETCH(QString, whichAnswer);
        QFETCH(bool, available);
        QFETCH(bool, whichAsked);

        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        if (!npmAt.isEmpty())
            machine.installNPM(npmAt);
        if (installWhich) {
            QMap<QString, QString> known;
            if (!whichAnswer.isEmpty())
                known.insert(QStringLiteral("npm"), whichAnswer);
            machine.installWhich(known);
        }
        const QString modules =
            sandbox.makeDir(sandbox.systemPath(MachineBuilder::homebrewNodeModules()));

        const FileScanner scanner(sandbox.places());
        QCOMPARE(scanner.isNPMAvailable(), available);
        // Without npm there is no global folder, even though the folder is on disk.
        QCOMPARE(scanner.globalNodeModulesURL(),
                 available ? std::optional<QString>(modules) : std::nullopt);
        const QList<QStringList> asked = machine.toolCalls(QStringLiteral("/usr/bin/which"));
        QCOMPARE(!asked.isEmpty(), whichAsked);
        if (whichAsked)
            QCOMPARE(asked.first(), QStringList{QStringLiteral("npm")});
    }

    void globalFolder_homebrewPreferredOverLocal()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installNPM();
        const FileScanner scanner(sandbox.places());
        QCOMPARE(scanner.globalNodeModulesURL(), std::nullopt);

        const QString local =
            sandbox.makeDir(sandbox.systemPath(MachineBuilder::localNodeModules()));
        QCOMPARE(scanner.globalNodeModulesURL(), local);
        const QString homebrew =
            sandbox.makeDir(sandbox.systemPath(MachineBuilder::homebrewNodeModules()));
        QCOMPARE(scanner.globalNodeModulesURL(), homebrew);
    }

    void list_skipsToolsHiddenEntriesAndFiles_sortsCaseInsensitively()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const QString modules = sandbox.systemPath(MachineBuilder::homebrewNodeModules());
        for (const char *name :
             {"Zod", "axios", "bun-types", "npm", "corepack", ".bin", "node_modules"})
            machine.addNPMPackage(modules, QString::fromLatin1(name), QStringLiteral("1.0.0"));
        sandbox.writeFile(modules + QStringLiteral("/.package-lock.json"), "{}");
        sandbox.writeFile(modules + QStringLiteral("/notes.txt"), "not a package");
        sandbox.writeFile(modules + QStringLiteral("/NPM/package.json"), "{\"version\":\"2.0.0\"}");
        // A scope folder is one entry; its own version only when a manifest lies right inside.
        machine.addNPMPackage(modules + QStringLiteral("/@types"), QStringLiteral("node"),
                              QStringLiteral("20.0.0"));
        sandbox.writeFile(modules + QStringLiteral("/@acme/package.json"),
                          "{\"version\":\"0.1.0\"}");
        // A linked package is a link to a folder; a dangling link is no package.
        const QString linked =
            machine.addNPMPackage(sandbox.base() + QStringLiteral("/work"),
                                  QStringLiteral("my-cli"), QStringLiteral("0.0.1"));
        sandbox.makeSymlink(linked, modules + QStringLiteral("/my-cli"));
        sandbox.makeSymlink(sandbox.base() + QStringLiteral("/gone"),
                            modules + QStringLiteral("/ghost"));

        const QList<NPMPackage> packages = FileScanner(sandbox.places()).listNPMPackages();
        QCOMPARE(
            namesOf(packages),
            (QStringList{QStringLiteral("@acme"), QStringLiteral("@types"), QStringLiteral("axios"),
                         QStringLiteral("bun-types"), QStringLiteral("my-cli"),
                         QStringLiteral("NPM"), QStringLiteral("Zod")}));
        QCOMPARE(packages[0].version, QStringLiteral("0.1.0"));
        QCOMPARE(packages[1].version, std::nullopt);
        QCOMPARE(packages[1].path, modules + QStringLiteral("/@types"));
        QCOMPARE(packages[4].version, QStringLiteral("0.0.1"));
        QCOMPARE(packages[4].path, modules + QStringLiteral("/my-cli"));
        QCOMPARE(packages[5].version, QStringLiteral("2.0.0"));
    }

    void list_versionOnlyFromAStringInAnObject_data()
    {
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<bool>("writeManifest");
        QTest::addColumn<QString>("version");

        QTest::newRow("string") << QByteArray("{\"name\":\"p\",\"version\":\"1.2.3\"}") << true
                                << QStringLiteral("1.2.3");
        QTest::newRow("empty string") << QByteArray("{\"version\":\"\"}") << true
                                      << QString(""); // an empty text still is a version
        QTest::newRow("number") << QByteArray("{\"version\":5}") << true << QString();
        QTest::newRow("null") << QByteArray("{\"version\":null}") << true << QString();
        QTest::newRow("object") << QByteArray("{\"version\":{\"major\":1}}") << true << QString();
        QTest::newRow("no member") << QByteArray("{\"name\":\"p\"}") << true << QString();
        QTest::newRow("array") << QByteArray("[{\"version\":\"1.0.0\"}]") << true << QString();
        QTest::newRow("top-level string") << QByteArray("\"1.0.0\"") << true << QString();
        QTest::newRow("broken") << QByteArray("{\"version\":\"1.0") << true << QString();
        QTest::newRow("empty file") << QByteArray() << true << QString();
        QTest::newRow("binary junk") << QByteArray("\xff\xfe\x00\x01", 4) << true << QString();
        QTest::newRow("no manifest") << QByteArray() << false << QString();
    }

    void list_versionOnlyFromAStringInAnObject()
    {
        QFETCH(QByteArray, manifest);
        QFETCH(bool, writeManifest);
        QFETCH(QString, version);

        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.addNPMPackageWithManifest(
            sandbox.systemPath(MachineBuilder::homebrewNodeModules()), QStringLiteral("pkg"),
            writeManifest ? std::optional<QByteArray>(manifest) : std::nullopt);
        const QList<NPMPackage> packages = FileScanner(sandbox.places()).listNPMPackages();
        QCOMPARE(packages.size(), 1);
        QCOMPARE(packages[0].version,
                 version.isNull() ? std::nullopt : std::optional<QString>(version));
    }

    void list_onlyFirstExistingRootThenNpmCache()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const FileScanner scanner(sandbox.places());
        QVERIFY(scanner.listNPMPackages().isEmpty());

        // Neither global folder: the entries of ~/.npm, with the same exclusions. No npm needed.
        const QString cache = sandbox.homePath(QStringLiteral(".npm"));
        sandbox.makeDir(cache + QStringLiteral("/_cacache"));
        sandbox.makeDir(cache + QStringLiteral("/_logs"));
        sandbox.makeDir(cache + QStringLiteral("/.hidden"));
        sandbox.writeFile(cache + QStringLiteral("/_update-notifier-last-checked"), "");
        QCOMPARE(namesOf(scanner.listNPMPackages()),
                 (QStringList{QStringLiteral("_cacache"), QStringLiteral("_logs")}));

        machine.addNPMPackage(sandbox.systemPath(MachineBuilder::localNodeModules()),
                              QStringLiteral("local-only"), QStringLiteral("1.0.0"));
        QCOMPARE(namesOf(scanner.listNPMPackages()), QStringList{QStringLiteral("local-only")});

        machine.addNPMPackage(sandbox.systemPath(MachineBuilder::homebrewNodeModules()),
                              QStringLiteral("brewed"), QStringLiteral("1.0.0"));
        QCOMPARE(namesOf(scanner.listNPMPackages()), QStringList{QStringLiteral("brewed")});

        // Found but not listable: nothing, and no fall-back to the next folder.
        sandbox.makeDir(sandbox.systemPath(QStringLiteral("/opt/homebrew/lib")));
        QFile::remove(sandbox.systemPath(MachineBuilder::homebrewNodeModules()) +
                      QStringLiteral("/brewed/package.json"));
        QFile::remove(sandbox.systemPath(MachineBuilder::homebrewNodeModules()) +
                      QStringLiteral("/brewed/index.js"));
        QDir(sandbox.systemPath(MachineBuilder::homebrewNodeModules()))
            .rmdir(QStringLiteral("brewed"));
        QDir().rmdir(sandbox.systemPath(MachineBuilder::homebrewNodeModules()));
        sandbox.writeFile(sandbox.systemPath(MachineBuilder::homebrewNodeModules()),
                          "a file, not a folder");
        QVERIFY(scanner.listNPMPackages().isEmpty());
    }

    void globalFiles_containmentInAnyLetterCase_inTheFirstFolderOnly()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installNPM();
        const QString modules = sandbox.systemPath(MachineBuilder::homebrewNodeModules());
        for (const char *name :
             {"typescript", "typescript-language-server", "@TypeScript-ESLint", "tslib"})
            machine.addNPMPackage(modules, QString::fromLatin1(name), QStringLiteral("1.0.0"));
        machine.addNPMPackage(sandbox.systemPath(MachineBuilder::localNodeModules()),
                              QStringLiteral("typescript"), QStringLiteral("4.0.0"));

        const FileScanner scanner(sandbox.places());
        const QList<FileGroup> groups = scanner.findNPMGlobalFiles(QStringLiteral("typescript"));
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0].category, FileCategory::globalNodeModules);
        QCOMPARE(fileNames(groups[0]),
                 (QStringList{QStringLiteral("@TypeScript-ESLint"), QStringLiteral("typescript"),
                              QStringLiteral("typescript-language-server")}));
        for (const AssociatedFile &file : groups[0].files) {
            QVERIFY(file.path.startsWith(modules + QLatin1Char('/')));
            QVERIFY(file.size > 0);
            QVERIFY(!file.isSelected);
        }
        QVERIFY(scanner.findNPMGlobalFiles(QStringLiteral("left-pad")).isEmpty());

        // Without npm the global folder is not searched at all.
        QFile::remove(sandbox.systemPath(QStringLiteral("/opt/homebrew/bin/npm")));
        QVERIFY(scanner.findNPMGlobalFiles(QStringLiteral("typescript")).isEmpty());
    }

    void namedFiles_namedPlacesThenCacheEntry()
    {
        Sandbox sandbox;
        sandbox.writeFileOfSize(sandbox.homePath(QStringLiteral(".config/prettier/config.json")),
                                100);
        sandbox.writeFileOfSize(sandbox.homePath(QStringLiteral(".npm/prettier/index.json")), 5000);
        sandbox.writeFileOfSize(sandbox.homePath(QStringLiteral(".npm/prettier-plugin/index.json")),
                                5000);

        const FileScanner scanner(sandbox.places());
        const QList<FileGroup> groups = scanner.findNPMNamedFiles(QStringLiteral("prettier"));
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[0].category, FileCategory::configDirectory);
        QCOMPARE(groups[1].category, FileCategory::npmCache);
        QCOMPARE(groups[1].files.size(), 1);
        const AssociatedFile &cacheEntry = groups[1].files[0];
        QCOMPARE(cacheEntry.path, sandbox.homePath(QStringLiteral(".npm/prettier")));
        QCOMPARE(cacheEntry.name, QStringLiteral("prettier"));
        QCOMPARE(cacheEntry.size, scanner.sizeOfItem(cacheEntry.path));
        QVERIFY(cacheEntry.size >= 5000);

        // The cache entry is an exact name, letter case included.
        QVERIFY(scanner.findNPMNamedFiles(QStringLiteral("Prettier")).isEmpty());
    }

    void hostileNames_neverOfferFoldersOrEverything_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("blank") << QStringLiteral("  ");
        QTest::newRow("dot") << QStringLiteral(".");
        QTest::newRow("dot dot") << QStringLiteral("..");
        QTest::newRow("climbs out") << QStringLiteral("../../etc");
        QTest::newRow("path") << QStringLiteral("_cacache/index-v5");
        QTest::newRow("absolute") << QStringLiteral("/etc");
        QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    }

    void hostileNames_neverOfferFoldersOrEverything()
    {
        QFETCH(QString, name);
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installNPM();
        const QString modules = sandbox.systemPath(MachineBuilder::homebrewNodeModules());
        machine.addNPMPackage(modules, QStringLiteral("a.b"), QStringLiteral("1.0.0"));
        machine.addNPMPackage(modules, QStringLiteral("..weird"), QStringLiteral("1.0.0"));
        sandbox.writeFileOfSize(sandbox.homePath(QStringLiteral(".npm/_cacache/index-v5/00")), 100);
        sandbox.writeFileOfSize(sandbox.systemPath(QStringLiteral("/etc/passwd")), 100);

        const FileScanner scanner(sandbox.places());
        QVERIFY(scanner.findNPMGlobalFiles(name).isEmpty());
        const QList<FileGroup> named = scanner.findNPMNamedFiles(name);
        QVERIFY2(named.isEmpty(),
                 qPrintable(named.isEmpty() ? QString() : named.first().files.first().path));
    }

    void cacheSize_ofTheNpmFolderOnly()
    {
        Sandbox sandbox;
        const FileScanner scanner(sandbox.places());
        QCOMPARE(scanner.npmCacheSize(), 0);

        sandbox.writeFileOfSize(sandbox.homePath(QStringLiteral(".npm/_cacache/content/aa")),
                                3 * 4096);
        sandbox.writeFileOfSize(sandbox.homePath(QStringLiteral(".npm/_logs/1.log")), 10);
        sandbox.writeFileOfSize(sandbox.homePath(QStringLiteral(".npmrc")), 50000);
        const qint64 size = scanner.npmCacheSize();
        QCOMPARE(size, scanner.sizeOfDirectory(sandbox.homePath(QStringLiteral(".npm"))));
        QVERIFY(size >= 4 * 4096);
        QVERIFY(size < 50000);
    }
};

QTEST_GUILESS_MAIN(NPMTest)
#include "tst_npm.moc"

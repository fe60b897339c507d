#include "demo/MachineBuilder.h"
#include "scanner/FileScanner.h"
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
        QTest::newRow("nothing, lookup prints nothing") << "" << true << "" << false << true;
        QTest::newRow("nothing, no lookup tool") << "" << false << "" << false << false;
        QTest::newRow("lookup prints only blanks") << "" << true << "  \t " << false << true;
        QTest::newRow("lookup finds it") << "" << true << "/usr/bin/npm" << true << true;
        QTest::newRow("homebrew npm") << "/opt/homebrew/bin/npm" << true << "" << true << false;
        QTest::newRow("local npm") << "/usr/local/bin/npm" << true << "" << true << false;
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
                known.insert("npm", whichAnswer);
            machine.installWhich(known);
        }
        const FileScanner scanner(sandbox.places());
        QCOMPARE(scanner.isNPMAvailable(), available);
        QCOMPARE(scanner.globalNodeModulesURL(), std::nullopt); // no folder yet
        // Without npm there is no global folder, even though the folder is on disk.
        const QString local =
            sandbox.makeDir(sandbox.systemPath(MachineBuilder::localNodeModules()));
        QCOMPARE(scanner.globalNodeModulesURL(),
                 available ? std::optional<QString>(local) : std::nullopt);
        const QList<QStringList> asked = machine.toolCalls("/usr/bin/which");
        QCOMPARE(!asked.isEmpty(), whichAsked);
        if (whichAsked)
            QCOMPARE(asked.first(), QStringList{"npm"});
        if (!available)
            return;
        // The Homebrew folder is preferred over the local one.
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
            machine.addNPMPackage(modules, QString::fromLatin1(name), "1.0.0");
        sandbox.writeFile(modules + "/.package-lock.json", "{}");
        sandbox.writeFile(modules + "/notes.txt", "not a package");
        sandbox.writeFile(modules + "/NPM/package.json", "{\"version\":\"2.0.0\"}");
        // A scope folder is one entry; its own version only when a manifest lies right inside.
        machine.addNPMPackage(modules + "/@types", "node", "20.0.0");
        sandbox.writeFile(modules + "/@acme/package.json", "{\"version\":\"0.1.0\"}");
        // A linked package is a link to a folder; a dangling link is no package.
        const QString linked = machine.addNPMPackage(sandbox.base() + "/work", "my-cli", "0.0.1");
        sandbox.makeSymlink(linked, modules + "/my-cli");
        sandbox.makeSymlink(sandbox.base() + "/gone", modules + "/ghost");

        const QList<NPMPackage> packages = FileScanner(sandbox.places()).listNPMPackages();
        QCOMPARE(namesOf(packages),
                 (QStringList{"@acme", "@types", "axios", "bun-types", "my-cli", "NPM", "Zod"}));
        QCOMPARE(packages[0].version, QStringLiteral("0.1.0"));
        QCOMPARE(packages[1].version, std::nullopt);
        QCOMPARE(packages[1].path, modules + "/@types");
        QCOMPARE(packages[4].version, QStringLiteral("0.0.1"));
        QCOMPARE(packages[4].path, modules + "/my-cli");
        QCOMPARE(packages[5].version, QStringLiteral("2.0.0"));
    }

    void list_versionOnlyFromAStringInAnObject_data()
    {
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<bool>("writeManifest");
        QTest::addColumn<QString>("version"); // null: none
        QTest::newRow("string") << QByteArray("{\"name\":\"p\",\"version\":\"1.2.3\"}") << true
                                << QStringLiteral("1.2.3");
        // An empty text still is a version.
        QTest::newRow("empty string") << QByteArray("{\"version\":\"\"}") << true << QString("");
        QTest::newRow("number") << QByteArray("{\"version\":5}") << true << QString();
        QTest::newRow("no member") << QByteArray("{\"name\":\"p\"}") << true << QString();
        QTest::newRow("array") << QByteArray("[{\"version\":\"1.0.0\"}]") << true << QString();
        QTest::newRow("broken") << QByteArray("{\"version\":\"1.0") << true << QString();
        QTest::newRow("binary junk") << QByteArray("\xff\xfe\x00\x01", 4) << true << QString();
        QTest::newRow("no manifest") << QByteArray() << false << QString();
    }
    void list_versionOnlyFromAStringInAnObject()
    {
        QFETCH(QByteArray, manifest);
        QFETCH(bool, writeManifest);
        QFETCH(QString, version);
        Sandbox sandbox;
        MachineBuilder(sandbox).addNPMPackageWithManifest(
            sandbox.systemPath(MachineBuilder::homebrewNodeModules()), "pkg",
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
        const QString cache = sandbox.homePath(".npm");
        for (const char *name : {"_cacache", "_logs", ".hidden"})
            sandbox.makeDir(cache + "/" + name);
        sandbox.writeFile(cache + "/_update-notifier-last-checked", "");
        QCOMPARE(namesOf(scanner.listNPMPackages()), (QStringList{"_cacache", "_logs"}));

        machine.addNPMPackage(sandbox.systemPath(MachineBuilder::localNodeModules()), "local-only",
                              "1.0.0");
        QCOMPARE(namesOf(scanner.listNPMPackages()), QStringList{"local-only"});
        const QString homebrew = sandbox.systemPath(MachineBuilder::homebrewNodeModules());
        machine.addNPMPackage(homebrew, "brewed", "1.0.0");
        QCOMPARE(namesOf(scanner.listNPMPackages()), QStringList{"brewed"});

        // Found but not listable: nothing, and no fall-back to the next folder.
        QVERIFY(QDir(homebrew).removeRecursively());
        sandbox.writeFile(homebrew, "a file, not a folder");
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
            machine.addNPMPackage(modules, QString::fromLatin1(name), "1.0.0");
        machine.addNPMPackage(sandbox.systemPath(MachineBuilder::localNodeModules()), "typescript",
                              "4.0.0");

        const FileScanner scanner(sandbox.places());
        const QList<FileGroup> groups = scanner.findNPMGlobalFiles("typescript");
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0].category, FileCategory::globalNodeModules);
        QCOMPARE(fileNames(groups[0]),
                 (QStringList{"@TypeScript-ESLint", "typescript", "typescript-language-server"}));
        for (const AssociatedFile &file : groups[0].files) {
            QVERIFY(file.path.startsWith(modules + "/"));
            QVERIFY(file.size > 0);
            QVERIFY(!file.isSelected);
        }
        QVERIFY(scanner.findNPMGlobalFiles("left-pad").isEmpty());
        // Without npm the global folder is not searched at all.
        QFile::remove(sandbox.systemPath("/opt/homebrew/bin/npm"));
        QVERIFY(scanner.findNPMGlobalFiles("typescript").isEmpty());
    }

    void namedFiles_namedPlacesThenCacheEntry()
    {
        Sandbox sandbox;
        sandbox.writeFileOfSize(sandbox.homePath(".config/prettier/config.json"), 100);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/prettier/index.json"), 5000);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/prettier-plugin/index.json"), 5000);

        const FileScanner scanner(sandbox.places());
        const QList<FileGroup> groups = scanner.findNPMNamedFiles("prettier");
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[0].category, FileCategory::configDirectory);
        QCOMPARE(groups[1].category, FileCategory::npmCache);
        QCOMPARE(groups[1].files.size(), 1);
        const AssociatedFile &cacheEntry = groups[1].files[0];
        QCOMPARE(cacheEntry.path, sandbox.homePath(".npm/prettier"));
        QCOMPARE(cacheEntry.name, QStringLiteral("prettier"));
        QCOMPARE(cacheEntry.size, scanner.sizeOfItem(cacheEntry.path));
        QVERIFY(cacheEntry.size >= 5000);
        // The cache entry is an exact name, letter case included.
        QVERIFY(scanner.findNPMNamedFiles("Prettier").isEmpty());
    }

    void hostileNames_neverOfferFoldersOrEverything_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("blank") << QStringLiteral("  ");
        QTest::newRow("dot dot") << QStringLiteral("..");
        QTest::newRow("climbs out") << QStringLiteral("../../etc");
        QTest::newRow("path") << QStringLiteral("_cacache/index-v5");
        QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    }
    void hostileNames_neverOfferFoldersOrEverything()
    {
        QFETCH(QString, name);
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installNPM();
        const QString modules = sandbox.systemPath(MachineBuilder::homebrewNodeModules());
        machine.addNPMPackage(modules, "a.b", "1.0.0");
        machine.addNPMPackage(modules, "..weird", "1.0.0");
        sandbox.writeFileOfSize(sandbox.homePath(".npm/_cacache/index-v5/00"), 100);
        sandbox.writeFileOfSize(sandbox.systemPath("/etc/passwd"), 100);

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
        sandbox.writeFileOfSize(sandbox.homePath(".npm/_cacache/content/aa"), 3 * 4096);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/_logs/1.log"), 10);
        sandbox.writeFileOfSize(sandbox.homePath(".npmrc"), 50000);
        const qint64 size = scanner.npmCacheSize();
        QCOMPARE(size, scanner.sizeOfDirectory(sandbox.homePath(".npm")));
        QVERIFY(size >= 4 * 4096);
        QVERIFY(size < 50000);
    }
};

QTEST_GUILESS_MAIN(NPMTest)
#include "tst_npm.moc"

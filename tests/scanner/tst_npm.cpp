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

} // namespace

class NPMTest : public QObject
{
    Q_OBJECT

private slots:
    void availability_fixedPathsFirstThenLookup()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const QString which = QStringLiteral("/usr/bin/which");
        const QString local = sandbox.systemPath(MachineBuilder::localNodeModules());
        const QString homebrew = sandbox.systemPath(MachineBuilder::homebrewNodeModules());
        // Where npm is, whether there is a lookup tool and what it prints for npm, then whether
        // npm counts as available and whether the lookup was asked.
        const QList<std::tuple<QString, bool, QString, bool, bool>> cases{
            {"", true, "", false, true},
            {"", false, "", false, false},
            {"", true, "  \t ", false, true},
            {"", true, "/usr/bin/npm", true, true},
            {"/opt/homebrew/bin/npm", true, "", true, false},
            {"/usr/local/bin/npm", true, "", true, false},
        };
        for (const auto &[npmAt, installWhich, whichAnswer, available, whichAsked] : cases) {
            for (const QString &path :
                 QStringList{"/opt/homebrew/bin/npm", "/usr/local/bin/npm", which})
                QFile::remove(sandbox.systemPath(path));
            QDir(local).removeRecursively();
            QDir(homebrew).removeRecursively();
            if (!npmAt.isEmpty())
                machine.installNPM(npmAt);
            if (installWhich) {
                machine.installWhich(whichAnswer.isEmpty()
                                         ? QMap<QString, QString>()
                                         : QMap<QString, QString>{{"npm", whichAnswer}});
            }
            const qsizetype callsBefore = machine.toolCalls(which).size();
            const FileScanner scanner(sandbox.places());
            const QString row = npmAt + u'|' + whichAnswer + QStringLiteral(": %1 %2");
            QCOMPARE(row.arg(scanner.isNPMAvailable())
                         .arg(machine.toolCalls(which).size() > callsBefore),
                     row.arg(available).arg(whichAsked));
            if (whichAsked)
                QCOMPARE(machine.toolCalls(which).last(), QStringList{"npm"});
            QCOMPARE(scanner.globalNodeModulesURL(), std::nullopt); // no folder yet
            // Without npm there is no global folder, even though the folder is on disk; the
            // Homebrew folder is preferred over the local one.
            sandbox.makeDir(local);
            QCOMPARE(scanner.globalNodeModulesURL(),
                     available ? std::optional(local) : std::nullopt);
            sandbox.makeDir(homebrew);
            QCOMPARE(scanner.globalNodeModulesURL(),
                     available ? std::optional(homebrew) : std::nullopt);
        }
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

    void list_versionOnlyFromAStringInAnObject()
    {
        Sandbox sandbox;
        const QString modules = sandbox.systemPath(MachineBuilder::homebrewNodeModules());
        const FileScanner scanner(sandbox.places());
        // The manifest (none for a null array) and the version read from it (null: none). An
        // empty text still is a version.
        const QList<std::pair<QByteArray, QString>> cases{
            {"{\"name\":\"p\",\"version\":\"1.2.3\"}", "1.2.3"},
            {"{\"version\":\"\"}", ""},
            {"{\"version\":5}", {}},
            {"{\"name\":\"p\"}", {}},
            {"[{\"version\":\"1.0.0\"}]", {}},
            {"{\"version\":\"1.0", {}},
            {QByteArray("\xff\xfe\x00\x01", 4), {}},
            {QByteArray(), {}},
        };
        for (const auto &[manifest, version] : cases) {
            QFile::remove(modules + "/pkg/package.json");
            MachineBuilder(sandbox).addNPMPackageWithManifest(
                modules, "pkg", manifest.isNull() ? std::nullopt : std::optional(manifest));
            const QList<NPMPackage> packages = scanner.listNPMPackages();
            QCOMPARE(namesOf(packages), QStringList{"pkg"});
            QCOMPARE(manifest + ": " + packages[0].version.value_or("none").toUtf8(),
                     manifest + ": " + (version.isNull() ? "none" : version.toUtf8()));
        }
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
        QStringList names;
        for (const AssociatedFile &file : groups[0].files) {
            names.append(file.name);
            QCOMPARE(file.path, modules + u'/' + file.name);
            QCOMPARE(file.size, 2 * 4096); // index.js and package.json, a block each
            QVERIFY(!file.isSelected);
        }
        names.sort();
        QCOMPARE(names,
                 (QStringList{"@TypeScript-ESLint", "typescript", "typescript-language-server"}));
        QVERIFY(scanner.findNPMGlobalFiles("left-pad").isEmpty());
        // Without npm the global folder is not searched at all.
        QFile::remove(sandbox.systemPath("/opt/homebrew/bin/npm"));
        QVERIFY(scanner.findNPMGlobalFiles("typescript").isEmpty());
    }

    void namedFiles_namedPlacesThenCacheEntry()
    {
        Sandbox sandbox;
        sandbox.writeFileOfSize(sandbox.homePath(".config/prettier/config.json"), 100);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/prettier/index.json"), 2 * 4096);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/prettier-plugin/index.json"), 5000);

        const FileScanner scanner(sandbox.places());
        const QList<FileGroup> groups = scanner.findNPMNamedFiles("prettier");
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[0].category, FileCategory::configDirectory);
        QCOMPARE(groups[0].files[0].path, sandbox.homePath(".config/prettier"));
        QCOMPARE(groups[1].category, FileCategory::npmCache);
        QCOMPARE(groups[1].files.size(), 1);
        const AssociatedFile &cacheEntry = groups[1].files[0];
        QCOMPARE(cacheEntry.path + u' ' + cacheEntry.name,
                 sandbox.homePath(".npm/prettier") + QStringLiteral(" prettier"));
        QCOMPARE(cacheEntry.size, 2 * 4096);
        // The cache entry is an exact name, letter case included.
        QVERIFY(scanner.findNPMNamedFiles("Prettier").isEmpty());
    }

    void hostileNames_neverOfferFoldersOrEverything()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installNPM();
        const QString modules = sandbox.systemPath(MachineBuilder::homebrewNodeModules());
        machine.addNPMPackage(modules, "a.b", "1.0.0");
        machine.addNPMPackage(modules, "..weird", "1.0.0");
        sandbox.writeFileOfSize(sandbox.homePath(".npm/_cacache/index-v5/00"), 100);
        sandbox.writeFileOfSize(sandbox.systemPath("/etc/passwd"), 100);

        const FileScanner scanner(sandbox.places());
        // Empty, blank, "..", climbing out, a path, a NUL.
        for (const QString &name :
             {QString(), QStringLiteral("  "), QStringLiteral(".."), QStringLiteral("../../etc"),
              QStringLiteral("_cacache/index-v5"),
              QStringLiteral("a") + QChar(0) + QStringLiteral("b")}) {
            QVERIFY2(scanner.findNPMGlobalFiles(name).isEmpty(), qPrintable(name));
            const QList<FileGroup> named = scanner.findNPMNamedFiles(name);
            QVERIFY2(named.isEmpty(),
                     qPrintable(named.isEmpty() ? QString() : named.first().files.first().path));
        }
    }

    // A version manager's npm, found by "which", lists and uninstalls with its own folder (where
    // its node is) first on PATH.
    void versionManagerNPM_listsAndUninstallsWithItsNodeOnPath()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.addNPMPackage(sandbox.systemPath("/opt/node/lib/node_modules"), "tsc", "5.4.5");
        const QString npm = "/opt/node/bin/npm";
        machine.installScriptTool(npm, "echo /opt/node/lib/node_modules");
        machine.installWhich({{"npm", npm}});
        const FileScanner scanner(sandbox.places());
        QCOMPARE(namesOf(scanner.listNPMPackages()), QStringList{"tsc"});
        QVERIFY(scanner.uninstallNPMPackage("tsc").succeeded);
        QCOMPARE(machine.toolCalls(npm),
                 (QList<QStringList>{{"root", "-g"}, {"uninstall", "-g", "tsc"}}));
        QVERIFY(
            machine.toolEnvironment(npm).contains("PATH=" + sandbox.systemPath("/opt/node/bin:") +
                                                  scanner.toolEnvironment().first().mid(5)));
    }

    void cacheSize_ofTheNpmFolderOnly()
    {
        Sandbox sandbox;
        const FileScanner scanner(sandbox.places());
        QCOMPARE(scanner.npmCacheSize(), 0);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/_cacache/content/aa"), 3 * 4096);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/_logs/1.log"), 10);
        sandbox.writeFileOfSize(sandbox.homePath(".npmrc"), 50000);
        // Three blocks and the one block of the log; .npmrc lies outside.
        QCOMPARE(scanner.npmCacheSize(), 4 * 4096);
    }
};

QTEST_GUILESS_MAIN(NPMTest)
#include "tst_npm.moc"

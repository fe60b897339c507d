#include "demo/MachineBuilder.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QTest>

#include <sys/stat.h>

using Receipt = MachineBuilder::Receipt;
using Versions = QList<MachineBuilder::FormulaVersion>;

namespace {

QStringList describe(const QList<HomebrewPackage> &packages)
{
    QStringList lines;
    for (const HomebrewPackage &package : packages) {
        lines.append(package.name + QLatin1Char(' ') + displayName(package.type) +
                     QLatin1Char(' ') + package.version.value_or(QStringLiteral("-")));
    }
    return lines;
}

// "category: name,name" per group, names sorted inside a group.
QStringList describe(const QList<FileGroup> &groups)
{
    QStringList lines;
    for (const FileGroup &group : groups) {
        QStringList names;
        for (const AssociatedFile &file : group.files)
            names.append(file.name);
        names.sort();
        lines.append(caseName(group.category) + QStringLiteral(": ") +
                     names.join(QLatin1Char(',')));
    }
    return lines;
}

} // namespace

class HomebrewTest : public QObject
{
    Q_OBJECT

private slots:
    void availability_brewAtPrefixOrFoundByLookup()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.addFormula("wget", {{"1.24.5", Receipt::onRequest}});
        const FileScanner scanner(sandbox.places());

        // No brew and no lookup tool; then a lookup that does not know brew.
        QVERIFY(!scanner.isHomebrewAvailable());
        QVERIFY(scanner.listHomebrewPackages().isEmpty());
        machine.installWhich({{"npm", "/usr/bin/npm"}});
        QVERIFY(!scanner.isHomebrewAvailable());
        QCOMPARE(machine.toolCalls("/usr/bin/which").last(), QStringList{"brew"});

        machine.installWhich({{"brew", "/usr/local/bin/brew"}});
        QVERIFY(scanner.isHomebrewAvailable());
        QCOMPARE(describe(scanner.listHomebrewPackages()), QStringList{"wget Formula 1.24.5"});

        QFile::remove(sandbox.systemPath("/usr/bin/which"));
        QVERIFY(!scanner.isHomebrewAvailable());
        machine.installBrew();
        QVERIFY(scanner.isHomebrewAvailable());
    }

    void receipts_hideOnlyWhatTheFirstDecidingReceiptSaysIsADependency()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installBrew();
        const FileScanner scanner(sandbox.places());
        // One formula per case, with its versions' receipts, and whether it is shown.
        const QList<std::pair<Versions, bool>> cases{
            {{{"1.0", Receipt::onRequest}}, true},
            {{{"1.0", Receipt::asDependency}}, false},
            {{{"1.0", Receipt::missing}}, true},
            {{{"1.0", Receipt::broken}}, true},
            {{{"1.0", Receipt::notBoolean}}, true}, // a string, not a boolean
            {{{"1.0", Receipt::notObject}}, true},  // an array, not an object
            {{}, true},                             // no versions at all
            {{{"1.0", Receipt::broken}, {"2.0", Receipt::asDependency}}, false},
            {{{"1.0", Receipt::onRequest}, {"2.0", Receipt::asDependency}}, true},
            // Plain string order: "10.0" comes before "9.0", so its receipt decides.
            {{{"9.0", Receipt::onRequest}, {"10.0", Receipt::asDependency}}, false},
        };
        QStringList shown;
        for (qsizetype i = 0; i < cases.size(); ++i) {
            const QString name = QStringLiteral("f%1").arg(i);
            const QString formula = machine.addFormula(name, cases[i].first);
            QCOMPARE(name + u' ' + QString::number(scanner.isInstalledOnRequest(formula)),
                     name + u' ' + QString::number(cases[i].second));
            if (cases[i].second)
                shown << name;
        }
        QStringList listed;
        for (const HomebrewPackage &package : scanner.listHomebrewPackages())
            listed << package.name;
        QCOMPARE(listed, shown);

        // A plain file sorting first, and a version whose receipt is a folder, decide nothing.
        const QString formula = machine.addFormula("a", {{"2.0", Receipt::asDependency}});
        sandbox.writeFile(formula + "/1.0", "{\"installed_on_request\": true}");
        sandbox.makeDir(formula + "/1.5/INSTALL_RECEIPT.json");
        QVERIFY(!scanner.isInstalledOnRequest(formula));
        // A missing folder cannot be listed: shown.
        QVERIFY(scanner.isInstalledOnRequest(sandbox.systemPath("/opt/homebrew/Cellar/missing")));
    }

    void receipts_unlistableFormulaIsShown()
    {
        if (isUnprivilegedChild()) {
            QVERIFY(::geteuid() != 0);
            const FileScanner scanner(
                Places(qEnvironmentVariable("VERLO_HOME"), qEnvironmentVariable("VERLO_ROOT")));
            const QString formula = scanner.places().onSystem("/opt/homebrew/Cellar/locked");
            QVERIFY(scanner.fileManager().fileExists(formula));
            QVERIFY(!scanner.fileManager().contentsOfDirectory(formula));
            QVERIFY(scanner.isInstalledOnRequest(formula));
            return;
        }
        Sandbox sandbox;
        const QString formula =
            MachineBuilder(sandbox).addFormula("locked", {{"1.0", Receipt::asDependency}});
        // Readable, the receipt hides it; the unprivileged user cannot list it and shows it.
        QVERIFY(!FileScanner(sandbox.places()).isInstalledOnRequest(formula));
        ::chmod(QFile::encodeName(formula).constData(), 0);
        QByteArray output;
        const int status = runTestFunctionAsUnprivileged(
            QString::fromLatin1(QTest::currentTestFunction()),
            {{"VERLO_HOME", sandbox.home()}, {"VERLO_ROOT", sandbox.root()}}, &output);
        QVERIFY2(status == 0, output.constData());
    }

    void list_formulaeVersionsAndCasks_sortedWithFormulaFirstOnTies()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installBrew();
        machine.addFormula("node",
                           {{"9.11.2", Receipt::onRequest}, {"10.1.0", Receipt::onRequest}});
        machine.addFormula("python@3.12",
                           {{"3.12.9", Receipt::onRequest}, {"3.12.10", Receipt::onRequest}});
        machine.addFormula("openssl@3", {{"3.3.0", Receipt::asDependency}});
        machine.addFormula("Zstd", {{"b1", Receipt::onRequest}, {"B2", Receipt::onRequest}});
        sandbox.writeFile(machine.addFormula("empty", {}) + "/.DS_Store", "x");
        machine.addFormula("firefox", {{"1.0", Receipt::onRequest}});
        machine.addCask("firefox", "125.0");
        machine.addCask("Alacritty", "0.13.2");
        sandbox.writeFile(sandbox.systemPath("/opt/homebrew/Cellar/README"), "not a formula");
        sandbox.writeFile(sandbox.systemPath("/opt/homebrew/Caskroom/.metadata"), "not a cask");

        const QList<HomebrewPackage> packages =
            FileScanner(sandbox.places()).listHomebrewPackages();
        // Versions by plain string order; casks are always "latest".
        QCOMPARE(describe(packages),
                 (QStringList{"Alacritty Cask latest", "empty Formula -", "firefox Formula 1.0",
                              "firefox Cask latest", "node Formula 10.1.0",
                              "python@3.12 Formula 3.12.10", "Zstd Formula B2"}));
        QCOMPARE(packages[0].path, sandbox.systemPath("/opt/homebrew/Caskroom/Alacritty"));
        QCOMPARE(packages[2].path, sandbox.systemPath("/opt/homebrew/Cellar/firefox"));
    }

    void storeFiles_cellarCaskroomAndBothCachesInOneGroup()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        for (const char *formula : {"wget", "wget2", "curl"})
            machine.addFormula(formula, {{"1.0", Receipt::onRequest}});
        machine.addCask("WGet-GUI");
        sandbox.writeFileOfSize(sandbox.homePath("Library/Caches/Homebrew/wget--1.24.5.tar.gz"),
                                9000);
        sandbox.writeFileOfSize(sandbox.homePath("Library/Caches/Homebrew/curl--8.7.1.tar.gz"),
                                9000);
        machine.addHomebrewFile("Caches/wget-bottle.json", 300);

        const FileScanner scanner(sandbox.places());
        const QList<FileGroup> groups = scanner.findHomebrewStoreFiles("wget");
        // The user's cache comes first, the prefix's cache joins the same group.
        QCOMPARE(describe(groups),
                 (QStringList{"homebrewCellar: wget,wget2", "homebrewCaskroom: WGet-GUI",
                              "homebrewCache: wget--1.24.5.tar.gz,wget-bottle.json"}));
        QCOMPARE(groups[2].files[0].name, QStringLiteral("wget--1.24.5.tar.gz"));
        QCOMPARE(groups[2].files[0].size, 9000);
        // A version's program and receipt, a block each.
        QCOMPARE(groups[0].files[0].size, 2 * 4096);
        // Only the prefix cache has it: a group of its own.
        QCOMPARE(describe(scanner.findHomebrewStoreFiles("bottle")),
                 QStringList{"homebrewCache: wget-bottle.json"});
        QVERIFY(scanner.findHomebrewStoreFiles("ripgrep").isEmpty());
    }

    void supportFiles_configDataLogsDaemonsAndShare()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        sandbox.writeFileOfSize(sandbox.homePath("Library/Logs/lo/old.log"), 100);
        for (const char *file : {"etc/lo.conf", "etc/other.conf", "var/lo-data/db", "var/Log/x.log",
                                 "var/log/lo.log", "var/log/lo-error.log", "var/log/other.txt"})
            machine.addHomebrewFile(file);
        sandbox.writeFile(sandbox.systemPath("/Library/LaunchDaemons/homebrew.mxcl.lo.plist"),
                          "<plist/>");
        machine.addHomebrewFile("share/lo/doc.txt", 2000);
        machine.addHomebrewFile("share/lox/doc.txt", 2000);

        const FileScanner scanner(sandbox.places());
        const QList<FileGroup> groups = scanner.findHomebrewSupportFiles("lo");
        // var/log is never taken whole (whatever its letter case); its files join the named logs.
        QCOMPARE(describe(groups),
                 (QStringList{"libraryLogs: lo,lo-error.log,lo.log", "homebrewConfig: lo.conf",
                              "homebrewVar: lo-data", "launchDaemons: homebrew.mxcl.lo.plist",
                              "homebrewShare: lo"}));
        QCOMPARE(groups[0].files[0].path, sandbox.homePath("Library/Logs/lo"));
        QCOMPARE(groups[4].files[0].path, sandbox.systemPath("/opt/homebrew/share/lo"));
        QCOMPARE(groups[4].files[0].size, 4096); // one block of doc.txt

        // Without the named logs folder, the prefix's log files make a group of their own,
        // after the variable data.
        QVERIFY(QDir(sandbox.homePath("Library/Logs/lo")).removeRecursively());
        QCOMPARE(describe(scanner.findHomebrewSupportFiles("lo")).mid(1, 2),
                 (QStringList{"homebrewVar: lo-data", "libraryLogs: lo-error.log,lo.log"}));
    }

    void hostileNames_neverOfferStoresOrPlacesOutside()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installBrew();
        machine.addFormula("wget", {{"1.0", Receipt::onRequest}});
        machine.addFormula("a.b", {{"1.0", Receipt::onRequest}});
        machine.addCask("firefox");
        for (const char *file : {"etc/wgetrc", "var/db/x", "share/wget/x"})
            machine.addHomebrewFile(file);
        sandbox.writeFile(sandbox.homePath("Library/Caches/Homebrew/a.tar.gz"), "x");

        const FileScanner scanner(sandbox.places());
        for (const QString &name : {QString(), QStringLiteral(" "), QStringLiteral(".."),
                                    QStringLiteral("../../../home"), QStringLiteral("wget/1.0")}) {
            QVERIFY2(scanner.findHomebrewStoreFiles(name).isEmpty(), qPrintable(name));
            const QList<FileGroup> support = scanner.findHomebrewSupportFiles(name);
            QVERIFY2(support.isEmpty(), qPrintable(describe(support).join(QLatin1Char('|'))));
        }
    }

    void cacheSize_sumsBothDownloadCaches()
    {
        Sandbox sandbox;
        const FileScanner scanner(sandbox.places());
        QCOMPARE(scanner.homebrewCacheSize(), 0);
        sandbox.writeFileOfSize(sandbox.homePath("Library/Caches/Homebrew/a.tar.gz"), 5 * 4096);
        QCOMPARE(scanner.homebrewCacheSize(), 5 * 4096);
        MachineBuilder(sandbox).addHomebrewFile("Caches/b.tar.gz", 7 * 4096);
        QCOMPARE(scanner.homebrewCacheSize(), 12 * 4096);
    }
};

QTEST_GUILESS_MAIN(HomebrewTest)
#include "tst_homebrew.moc"

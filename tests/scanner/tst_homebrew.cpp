#include "scanner/FileScanner.h"
#include "tests/support/MachineBuilder.h"
#include "tests/support/Sandbox.h"

#include <QTest>

#include <sys/stat.h>

using Receipt = MachineBuilder::Receipt;
using Versions = QList<MachineBuilder::FormulaVersion>;

Q_DECLARE_METATYPE(Versions)

namespace {

QStringList describe(const QList<HomebrewPackage> &packages)
{
    QStringList lines;
    for (const HomebrewPackage &package : packages) {
        lines.append(package.name + QLatin1Char(' ') + rawValue(package.type) + QLatin1Char(' ') +
                     package.version.value_or(QStringLiteral("-")));
    }
    return lines;
}

QStringList describe(const QList<FileGroup> &groups)
{
    QStringList lines;
    for (const FileGroup &group : groups) {
        QStringList names;
        for (const AssociatedFile &file : group.files)
            names.append(file.name);
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
        machine.addFormula(QStringLiteral("wget"),
                           {{QStringLiteral("1.24.5"), Receipt::onRequest}});
        const FileScanner scanner(sandbox.places());

        // No brew and no lookup tool; then a lookup that does not know brew.
        QVERIFY(!scanner.isHomebrewAvailable());
        QVERIFY(scanner.listHomebrewPackages().isEmpty());
        machine.installWhich({{QStringLiteral("npm"), QStringLiteral("/usr/bin/npm")}});
        QVERIFY(!scanner.isHomebrewAvailable());
        QCOMPARE(machine.toolCalls(QStringLiteral("/usr/bin/which")).last(),
                 QStringList{QStringLiteral("brew")});

        machine.installWhich({{QStringLiteral("brew"), QStringLiteral("/usr/local/bin/brew")}});
        QVERIFY(scanner.isHomebrewAvailable());
        QCOMPARE(describe(scanner.listHomebrewPackages()),
                 QStringList{QStringLiteral("wget Formula 1.24.5")});

        QFile::remove(sandbox.systemPath(QStringLiteral("/usr/bin/which")));
        QVERIFY(!scanner.isHomebrewAvailable());
        machine.installBrew();
        QVERIFY(scanner.isHomebrewAvailable());
    }

    void receipts_hideOnlyWhatTheFirstDecidingReceiptSaysIsADependency_data()
    {
        QTest::addColumn<Versions>("versions");
        QTest::addColumn<bool>("shown");

        const QString v1 = QStringLiteral("1.0");
        const QString v2 = QStringLiteral("2.0");
        QTest::newRow("on request") << Versions{{v1, Receipt::onRequest}} << true;
        QTest::newRow("dependency") << Versions{{v1, Receipt::asDependency}} << false;
        QTest::newRow("no receipt") << Versions{{v1, Receipt::missing}} << true;
        QTest::newRow("broken receipt") << Versions{{v1, Receipt::broken}} << true;
        QTest::newRow("string, not a boolean") << Versions{{v1, Receipt::notBoolean}} << true;
        QTest::newRow("array, not an object") << Versions{{v1, Receipt::notObject}} << true;
        QTest::newRow("no such key") << Versions{{v1, Receipt::withoutKey}} << true;
        QTest::newRow("no versions at all") << Versions{} << true;
        QTest::newRow("undecided first, dependency next")
            << Versions{{v1, Receipt::broken}, {v2, Receipt::asDependency}} << false;
        QTest::newRow("first says on request")
            << Versions{{v1, Receipt::onRequest}, {v2, Receipt::asDependency}} << true;
        QTest::newRow("first says dependency")
            << Versions{{v1, Receipt::asDependency}, {v2, Receipt::onRequest}} << false;
        // Plain string order: "10.0" comes before "9.0", so its receipt decides.
        QTest::newRow("string order, not version order")
            << Versions{{QStringLiteral("9.0"), Receipt::onRequest},
                        {QStringLiteral("10.0"), Receipt::asDependency}}
            << false;
    }

    void receipts_hideOnlyWhatTheFirstDecidingReceiptSaysIsADependency()
    {
        QFETCH(Versions, versions);
        QFETCH(bool, shown);

        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installBrew();
        const QString formula = machine.addFormula(QStringLiteral("tool"), versions);
        const FileScanner scanner(sandbox.places());
        QCOMPARE(scanner.isInstalledOnRequest(formula), shown);
        QCOMPARE(scanner.listHomebrewPackages().size(), shown ? 1 : 0);
    }

    void receipts_oddPlacesAreSkipped()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const FileScanner scanner(sandbox.places());
        const QString cellar = sandbox.systemPath(QStringLiteral("/opt/homebrew/Cellar"));

        // A plain file sorting first, and a version whose receipt is a folder, decide nothing.
        const QString formula = machine.addFormula(
            QStringLiteral("a"), {{QStringLiteral("2.0"), Receipt::asDependency}});
        sandbox.writeFile(formula + QStringLiteral("/1.0"), "{\"installed_on_request\": true}");
        sandbox.makeDir(formula + QStringLiteral("/1.5/INSTALL_RECEIPT.json"));
        QVERIFY(!scanner.isInstalledOnRequest(formula));

        // A missing folder cannot be listed: shown.
        QVERIFY(scanner.isInstalledOnRequest(cellar + QStringLiteral("/missing")));
    }

    void receipts_unlistableFormulaIsShown()
    {
        if (isUnprivilegedChild()) {
            QVERIFY(::geteuid() != 0);
            const FileScanner scanner(
                Places(qEnvironmentVariable("VERLO_HOME"), qEnvironmentVariable("VERLO_ROOT")));
            const QString formula =
                scanner.places().onSystem(QStringLiteral("/opt/homebrew/Cellar/locked"));
            QVERIFY(scanner.fileManager().fileExists(formula));
            QVERIFY(!scanner.fileManager().contentsOfDirectory(formula));
            QVERIFY(scanner.isInstalledOnRequest(formula));
            return;
        }
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const QString formula = machine.addFormula(
            QStringLiteral("locked"), {{QStringLiteral("1.0"), Receipt::asDependency}});
        // Readable, the receipt hides it; the unprivileged user cannot list it and shows it.
        QVERIFY(!FileScanner(sandbox.places()).isInstalledOnRequest(formula));
        ::chmod(QFile::encodeName(formula).constData(), 0);
        QByteArray output;
        const int status =
            runTestFunctionAsUnprivileged(QString::fromLatin1(QTest::currentTestFunction()),
                                          {{QStringLiteral("VERLO_HOME"), sandbox.home()},
                                           {QStringLiteral("VERLO_ROOT"), sandbox.root()}},
                                          &output);
        QVERIFY2(status == 0, output.constData());
    }

    void list_formulaeVersionsAndCasks_sortedWithFormulaFirstOnTies()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installBrew();
        machine.addFormula(QStringLiteral("node"),
                           {{QStringLiteral("9.11.2"), Receipt::onRequest},
                            {QStringLiteral("10.1.0"), Receipt::onRequest}});
        machine.addFormula(QStringLiteral("python@3.12"),
                           {{QStringLiteral("3.12.9"), Receipt::onRequest},
                            {QStringLiteral("3.12.10"), Receipt::onRequest}});
        machine.addFormula(QStringLiteral("openssl@3"),
                           {{QStringLiteral("3.3.0"), Receipt::asDependency}});
        machine.addFormula(QStringLiteral("Zstd"), {{QStringLiteral("b1"), Receipt::onRequest},
                                                    {QStringLiteral("B2"), Receipt::onRequest}});
        const QString empty = machine.addFormula(QStringLiteral("empty"), {});
        sandbox.writeFile(empty + QStringLiteral("/.DS_Store"), "x");
        machine.addFormula(QStringLiteral("firefox"),
                           {{QStringLiteral("1.0"), Receipt::onRequest}});
        machine.addCask(QStringLiteral("firefox"), QStringLiteral("125.0"));
        machine.addCask(QStringLiteral("Alacritty"), QStringLiteral("0.13.2"));
        sandbox.writeFile(sandbox.systemPath(QStringLiteral("/opt/homebrew/Cellar/README")),
                          "not a formula");
        sandbox.writeFile(sandbox.systemPath(QStringLiteral("/opt/homebrew/Caskroom/.metadata")),
                          "not a cask");

        const QList<HomebrewPackage> packages =
            FileScanner(sandbox.places()).listHomebrewPackages();
        QCOMPARE(describe(packages), (QStringList{
                                         QStringLiteral("Alacritty Cask latest"),
                                         QStringLiteral("empty Formula -"),
                                         QStringLiteral("firefox Formula 1.0"),
                                         QStringLiteral("firefox Cask latest"),
                                         QStringLiteral("node Formula 10.1.0"),
                                         QStringLiteral("python@3.12 Formula 3.12.10"),
                                         QStringLiteral("Zstd Formula B2"),
                                     }));
        QCOMPARE(packages[0].path,
                 sandbox.systemPath(QStringLiteral("/opt/homebrew/Caskroom/Alacritty")));
        QCOMPARE(packages[2].path,
                 sandbox.systemPath(QStringLiteral("/opt/homebrew/Cellar/firefox")));
    }

    void storeFiles_cellarCaskroomAndBothCachesInOneGroup()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.addFormula(QStringLiteral("wget"),
                           {{QStringLiteral("1.24.5"), Receipt::onRequest}});
        machine.addFormula(QStringLiteral("wget2"),
                           {{QStringLiteral("2.1.0"), Receipt::onRequest}});
        machine.addFormula(QStringLiteral("curl"), {{QStringLiteral("8.7.1"), Receipt::onRequest}});
        machine.addCask(QStringLiteral("WGet-GUI"));
        sandbox.writeFileOfSize(
            sandbox.homePath(QStringLiteral("Library/Caches/Homebrew/wget--1.24.5.tar.gz")), 9000);
        sandbox.writeFileOfSize(
            sandbox.homePath(QStringLiteral("Library/Caches/Homebrew/curl--8.7.1.tar.gz")), 9000);
        machine.addHomebrewFile(QStringLiteral("Caches/wget-bottle.json"), 300);

        const FileScanner scanner(sandbox.places());
        const QList<FileGroup> groups = scanner.findHomebrewStoreFiles(QStringLiteral("wget"));
        QStringList lines = describe(groups);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(groups[0].category, FileCategory::homebrewCellar);
        QCOMPARE(groups[0].files.size(), 2);
        QCOMPARE(lines[1], QStringLiteral("homebrewCaskroom: WGet-GUI"));
        // The user's cache comes first, the prefix's cache joins the same group.
        QCOMPARE(lines[2], QStringLiteral("homebrewCache: wget--1.24.5.tar.gz,wget-bottle.json"));
        QCOMPARE(groups[2].files[0].size, 9000);
        QVERIFY(groups[0].files[0].size > 0);

        // Only the prefix cache has it: a group of its own.
        const QList<FileGroup> cacheOnly = scanner.findHomebrewStoreFiles(QStringLiteral("bottle"));
        QCOMPARE(describe(cacheOnly),
                 QStringList{QStringLiteral("homebrewCache: wget-bottle.json")});
        QVERIFY(scanner.findHomebrewStoreFiles(QStringLiteral("ripgrep")).isEmpty());
    }

    void supportFiles_configDataLogsDaemonsAndShare()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        sandbox.writeFileOfSize(sandbox.homePath(QStringLiteral("Library/Logs/lo/old.log")), 100);
        machine.addHomebrewFile(QStringLiteral("etc/lo.conf"));
        machine.addHomebrewFile(QStringLiteral("etc/other.conf"));
        machine.addHomebrewFile(QStringLiteral("var/lo-data/db"));
        machine.addHomebrewFile(QStringLiteral("var/Log/x.log"));
        machine.addHomebrewFile(QStringLiteral("var/log/lo.log"));
        machine.addHomebrewFile(QStringLiteral("var/log/lo-error.log"));
        machine.addHomebrewFile(QStringLiteral("var/log/other.txt"));
        sandbox.writeFile(
            sandbox.systemPath(QStringLiteral("/Library/LaunchDaemons/homebrew.mxcl.lo.plist")),
            "<plist/>");
        machine.addHomebrewFile(QStringLiteral("share/lo/doc.txt"), 2000);
        machine.addHomebrewFile(QStringLiteral("share/lox/doc.txt"), 2000);

        const FileScanner scanner(sandbox.places());
        const QList<FileGroup> groups = scanner.findHomebrewSupportFiles(QStringLiteral("lo"));
        QStringList lines = describe(groups);
        // var/log is never taken whole (whatever its letter case); its files join the named logs.
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0].left(lines[0].indexOf(QLatin1Char(':'))), QStringLiteral("libraryLogs"));
        QCOMPARE(groups[0].files[0].path, sandbox.homePath(QStringLiteral("Library/Logs/lo")));
        QStringList logNames;
        for (const AssociatedFile &file : groups[0].files.mid(1))
            logNames.append(file.name);
        logNames.sort();
        QCOMPARE(logNames, (QStringList{QStringLiteral("lo-error.log"), QStringLiteral("lo.log")}));
        QCOMPARE(lines[1], QStringLiteral("homebrewConfig: lo.conf"));
        QCOMPARE(lines[2], QStringLiteral("homebrewVar: lo-data"));
        QCOMPARE(lines[3], QStringLiteral("launchDaemons: homebrew.mxcl.lo.plist"));
        QCOMPARE(lines[4], QStringLiteral("homebrewShare: lo"));
        QCOMPARE(groups[4].files[0].path,
                 sandbox.systemPath(QStringLiteral("/opt/homebrew/share/lo")));
        QCOMPARE(groups[4].files[0].size, scanner.sizeOfItem(groups[4].files[0].path));

        // Without the named logs folder, the prefix's log files make a group of their own,
        // after the variable data.
        QVERIFY(QDir(sandbox.homePath(QStringLiteral("Library/Logs/lo"))).removeRecursively());
        QCOMPARE(describe(scanner.findHomebrewSupportFiles(QStringLiteral("lo")))
                     .mid(1, 2)
                     .last()
                     .left(11),
                 QStringLiteral("libraryLogs"));
    }

    void hostileNames_neverOfferStoresOrPlacesOutside_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("blank") << QStringLiteral(" ");
        QTest::newRow("dot") << QStringLiteral(".");
        QTest::newRow("dot dot") << QStringLiteral("..");
        QTest::newRow("climbs out") << QStringLiteral("../../../home");
        QTest::newRow("path") << QStringLiteral("wget/1.0");
    }

    void hostileNames_neverOfferStoresOrPlacesOutside()
    {
        QFETCH(QString, name);
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installBrew();
        machine.addFormula(QStringLiteral("wget"), {{QStringLiteral("1.0"), Receipt::onRequest}});
        machine.addFormula(QStringLiteral("a.b"), {{QStringLiteral("1.0"), Receipt::onRequest}});
        machine.addCask(QStringLiteral("firefox"));
        machine.addHomebrewFile(QStringLiteral("etc/wgetrc"));
        machine.addHomebrewFile(QStringLiteral("var/db/x"));
        machine.addHomebrewFile(QStringLiteral("share/wget/x"));
        sandbox.writeFile(sandbox.homePath(QStringLiteral("Library/Caches/Homebrew/a.tar.gz")),
                          "x");

        const FileScanner scanner(sandbox.places());
        QVERIFY(scanner.findHomebrewStoreFiles(name).isEmpty());
        const QList<FileGroup> support = scanner.findHomebrewSupportFiles(name);
        QVERIFY2(support.isEmpty(), qPrintable(describe(support).join(QLatin1Char('|'))));
    }

    void cacheSize_sumsBothDownloadCaches()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const FileScanner scanner(sandbox.places());
        QCOMPARE(scanner.homebrewCacheSize(), 0);

        const QString user = sandbox.homePath(QStringLiteral("Library/Caches/Homebrew"));
        sandbox.writeFileOfSize(user + QStringLiteral("/a.tar.gz"), 5 * 4096);
        const qint64 userSize = scanner.sizeOfDirectory(user);
        QVERIFY(userSize >= 5 * 4096);
        QCOMPARE(scanner.homebrewCacheSize(), userSize);

        machine.addHomebrewFile(QStringLiteral("Caches/b.tar.gz"), 7 * 4096);
        const qint64 prefixSize =
            scanner.sizeOfDirectory(sandbox.systemPath(QStringLiteral("/opt/homebrew/Caches")));
        QVERIFY(prefixSize >= 7 * 4096);
        QCOMPARE(scanner.homebrewCacheSize(), userSize + prefixSize);
    }
};

QTEST_GUILESS_MAIN(HomebrewTest)
#include "tst_homebrew.moc"

#include "scanner/NameGuard.h"
#include "scanner/Places.h"

#include <QTest>

class NameGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void isSafeEntryName_rejectsNamesThatAreNotOneEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("dot") << QStringLiteral(".") << false;
        QTest::newRow("dot dot") << QStringLiteral("..") << false;
        QTest::newRow("up twice") << QStringLiteral("../..") << false;
        QTest::newRow("climbing") << QStringLiteral("a/../../b") << false;
        QTest::newRow("slash") << QStringLiteral("/") << false;
        QTest::newRow("absolute") << QStringLiteral("/etc") << false;
        QTest::newRow("spaces") << QStringLiteral("   ") << false;
        QTest::newRow("newline") << QStringLiteral("\n") << false;
        QTest::newRow("tab and space") << QStringLiteral("\t \r") << false;
        QTest::newRow("nul alone") << QString(QChar(0)) << false;
        QTest::newRow("nul inside")
            << (QStringLiteral("a") + QChar(0) + QStringLiteral("b")) << false;
        QTest::newRow("plain") << QStringLiteral("Pixel Forge") << true;
        QTest::newRow("three dots") << QStringLiteral("...") << true;
        QTest::newRow("dots inside") << QStringLiteral("a..b") << true;
        QTest::newRow("percent") << QStringLiteral("100% Pure") << true;
        QTest::newRow("non-ascii") << QStringLiteral("Café Ünïcødé 日本") << true;
        QTest::newRow("padded") << QStringLiteral(" x ") << true;
        QTest::newRow("tilde") << QStringLiteral("~") << true;
    }
    void isSafeEntryName_rejectsNamesThatAreNotOneEntry()
    {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QCOMPARE(isSafeEntryName(name), safe);
    }

    void placeInside_staysStrictlyInsideTheFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected"); // empty: nothing
        const QString home = QStringLiteral("/home/u");
        QTest::newRow("dot folder") << home << "."
                                    << "forge"
                                    << "/home/u/.forge";
        QTest::newRow("dot plus dot is parent") << home << "."
                                                << "."
                                                << "";
        QTest::newRow("dot plus dots") << home << "."
                                       << ".."
                                       << "";
        QTest::newRow("dot plus three dots") << home << "."
                                             << "..."
                                             << "/home/u/....";
        QTest::newRow("config") << home << ".config/"
                                << "forge"
                                << "/home/u/.config/forge";
        QTest::newRow("config empty") << home << ".config/"
                                      << ""
                                      << "";
        QTest::newRow("config climbing") << home << ".config/"
                                         << "../../etc"
                                         << "";
        QTest::newRow("no prefix") << home + "/.npm"
                                   << ""
                                   << "zod"
                                   << "/home/u/.npm/zod";
        QTest::newRow("trailing slash") << home + "/"
                                        << ""
                                        << "zod"
                                        << "/home/u/zod";
        QTest::newRow("empty folder") << QString() << ""
                                      << "zod"
                                      << "";
        QTest::newRow("whitespace") << home << "Caches/"
                                    << "  "
                                    << "";
        QTest::newRow("percent") << home << "Caches/"
                                 << "50%"
                                 << "/home/u/Caches/50%";
    }
    void placeInside_staysStrictlyInsideTheFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, prefix);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(placeInside(folder, prefix, name).value_or(QString()), expected);
    }

    void isProtectedPlace_coversHomeRootSearchedAndSharedFolders_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isProtected");
        const QString h = QStringLiteral("/box/home/user");
        const QString r = QStringLiteral("/box/root");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("relative") << QStringLiteral("Library") << true;
        QTest::newRow("slash") << QStringLiteral("/") << true;
        QTest::newRow("double slash") << QStringLiteral("//") << true;
        QTest::newRow("home") << h << true;
        QTest::newRow("home trailing slash") << h + "/" << true;
        QTest::newRow("home dot") << h + "/." << true;
        QTest::newRow("home via dots") << h + "/.config/.." << true;
        QTest::newRow("above home") << QStringLiteral("/box/home") << true;
        QTest::newRow("base") << QStringLiteral("/box") << true;
        QTest::newRow("root") << r << true;
        QTest::newRow("library") << h + "/Library" << true;
        QTest::newRow("preferences") << h + "/Library/Preferences" << true;
        QTest::newRow("caches other case") << h + "/library/CACHES" << true;
        QTest::newRow("homebrew cache") << h + "/Library/Caches/Homebrew" << true;
        QTest::newRow("diagnostic reports") << h + "/Library/Logs/DiagnosticReports" << true;
        QTest::newRow("launch agents") << h + "/Library/LaunchAgents" << true;
        QTest::newRow("dot config") << h + "/.config" << true;
        QTest::newRow("dot local") << h + "/.local" << true;
        QTest::newRow("local share") << h + "/.local/share" << true;
        QTest::newRow("dot npm") << h + "/.npm" << true;
        QTest::newRow("trash") << h + "/.Trash" << true;
        QTest::newRow("xdg trash") << h + "/.local/share/Trash" << true;
        QTest::newRow("developer") << h + "/Library/Developer/Xcode" << true;
        QTest::newRow("docker data") << h + "/Library/Containers/com.docker.docker/Data" << true;
        QTest::newRow("cellar") << r + "/opt/homebrew/Cellar" << true;
        QTest::newRow("var log") << r + "/opt/homebrew/var/log" << true;
        QTest::newRow("opt") << r + "/opt" << true;
        QTest::newRow("system applications") << r + "/Applications" << true;
        QTest::newRow("launch daemons") << r + "/Library/LaunchDaemons" << true;
        QTest::newRow("an app's cache") << h + "/Library/Caches/Pixel Forge" << false;
        QTest::newRow("an app's config") << h + "/.config/forge" << false;
        QTest::newRow("an app's dot folder") << h + "/.forge" << false;
        QTest::newRow("docker container") << h + "/Library/Containers/com.docker.docker" << false;
        QTest::newRow("a formula") << r + "/opt/homebrew/Cellar/wget" << false;
        QTest::newRow("real etc") << QStringLiteral("/etc") << false;
    }
    void isProtectedPlace_coversHomeRootSearchedAndSharedFolders()
    {
        QFETCH(QString, path);
        QFETCH(bool, isProtected);
        const QStringList guarded =
            protectedFolders(Places(QStringLiteral("/box/home/user"), QStringLiteral("/box/root")));
        QCOMPARE(isProtectedPlace(path, guarded), isProtected);
    }

    void protectedFolders_onTheRealMachineHoldTheRealPlaces()
    {
        const QStringList guarded =
            protectedFolders(Places(QStringLiteral("/Users/me"), QStringLiteral("/")));
        for (const char *path : {"/", "/Users", "/Users/me", "/opt/homebrew", "/Applications",
                                 "/Users/me/Library/Caches"})
            QVERIFY2(isProtectedPlace(QString::fromLatin1(path), guarded), path);
        QVERIFY(!isProtectedPlace(QStringLiteral("/Users/me/Library/Caches/x"), guarded));
    }
};

QTEST_GUILESS_MAIN(NameGuardTest)
#include "tst_nameguard.moc"

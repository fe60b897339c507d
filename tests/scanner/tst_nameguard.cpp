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
        QTest::newRow("climbing") << QStringLiteral("a/../../b") << false;
        QTest::newRow("slash") << QStringLiteral("/") << false;
        QTest::newRow("absolute") << QStringLiteral("/etc") << false;
        QTest::newRow("white space only") << QStringLiteral("\t \r\n") << false;
        QTest::newRow("nul inside")
            << (QStringLiteral("a") + QChar(0) + QStringLiteral("b")) << false;
        QTest::newRow("plain") << QStringLiteral("Pixel Forge") << true;
        QTest::newRow("three dots") << QStringLiteral("...") << true;
        QTest::newRow("percent, non-ascii") << QStringLiteral("100% Café 日本") << true;
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
        struct Row
        {
            const char *tag, *folder, *prefix, *name, *expected;
        };
        for (const Row &row : {
                 Row{"dot folder", "/home/u", ".", "forge", "/home/u/.forge"},
                 Row{"dot plus dot is parent", "/home/u", ".", ".", ""},
                 Row{"dot plus dots", "/home/u", ".", "..", ""},
                 Row{"dot plus three dots", "/home/u", ".", "...", "/home/u/...."},
                 Row{"config", "/home/u", ".config/", "forge", "/home/u/.config/forge"},
                 Row{"config empty", "/home/u", ".config/", "", ""},
                 Row{"config climbing", "/home/u", ".config/", "../../etc", ""},
                 Row{"no prefix", "/home/u/.npm", "", "zod", "/home/u/.npm/zod"},
                 Row{"trailing slash", "/home/u/", "", "zod", "/home/u/zod"},
                 Row{"empty folder", "", "", "zod", ""},
                 Row{"whitespace", "/home/u", "Caches/", "  ", ""},
             }) {
            QTest::newRow(row.tag)
                << QString::fromUtf8(row.folder) << QString::fromUtf8(row.prefix)
                << QString::fromUtf8(row.name) << QString::fromUtf8(row.expected);
        }
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
        // "~" stands for the home folder, "@" for the system root; "|" separates the paths.
        const QStringList guarded =
            QStringLiteral(
                "|Library|/|~|~/|~/.config/..|/box/home|/box|@|~/Library|~/library/CACHES|"
                "~/Library/Caches/Homebrew|~/Library/Logs/DiagnosticReports|"
                "~/Library/LaunchAgents|~/.config|~/.local|~/.local/share|~/.npm|~/.Trash|"
                "~/.local/share/Trash|~/Library/Developer/Xcode|"
                "~/Library/Containers/com.docker.docker/Data|@/opt/homebrew/Cellar|"
                "@/opt/homebrew/var/log|@/opt|@/Applications|@/Library/LaunchDaemons")
                .split(QLatin1Char('|'));
        const QStringList free =
            QStringLiteral("~/Library/Caches/Pixel Forge|~/.config/forge|~/.forge|/etc|"
                           "~/Library/Containers/com.docker.docker|@/opt/homebrew/Cellar/wget")
                .split(QLatin1Char('|'));
        const auto expand = [](QString path) {
            if (path.startsWith(QLatin1Char('~')))
                path.replace(0, 1, QStringLiteral("/box/home/user"));
            else if (path.startsWith(QLatin1Char('@')))
                path.replace(0, 1, QStringLiteral("/box/root"));
            return path;
        };
        for (const QString &path : guarded)
            QTest::newRow(qPrintable("guarded " + path)) << expand(path) << true;
        for (const QString &path : free)
            QTest::newRow(qPrintable("free " + path)) << expand(path) << false;
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

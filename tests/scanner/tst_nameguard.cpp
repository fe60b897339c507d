#include "scanner/NameGuard.h"
#include "scanner/Places.h"

#include <QTest>

class NameGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void isSafeEntryName_rejectsNamesThatAreNotOneEntry()
    {
        for (const QString &name : QStringList{"", ".", "..", "a/../../b", "/", "/etc", "\t \r\n",
                                               QStringLiteral("a") + QChar(0) + 'b'})
            QVERIFY2(!isSafeEntryName(name), qPrintable(name));
        for (const QString &name : QStringList{"Pixel Forge", "...", "100% Café 日本", " x ", "~"})
            QVERIFY2(isSafeEntryName(name), qPrintable(name));
    }

    void placeInside_staysStrictlyInsideTheFolder()
    {
        struct Row
        {
            const char *folder, *prefix, *name, *expected; // expected "": nothing
        };
        // clang-format off
        // With the prefix ".", the name "." would make "..", the parent.
        const Row rows[] = {
            {"/home/u", ".", "forge", "/home/u/.forge"}, {"/home/u", ".", "...", "/home/u/...."},
            {"/home/u", ".", ".", ""}, {"/home/u", ".", "..", ""},
            {"/home/u", ".config/", "forge", "/home/u/.config/forge"},
            {"/home/u", ".config/", "", ""}, {"/home/u", ".config/", "../../etc", ""},
            {"/home/u/.npm", "", "zod", "/home/u/.npm/zod"}, {"/home/u/", "", "zod", "/home/u/zod"},
            {"", "", "zod", ""}, {"/home/u", "Caches/", "  ", ""},
        };
        // clang-format on
        for (const Row &row : rows) {
            const QString place = placeInside(row.folder, row.prefix, row.name).value_or(QString());
            QVERIFY2(place == QLatin1String(row.expected),
                     qPrintable(QStringLiteral("%1 + %2 + '%3' gave '%4'")
                                    .arg(row.folder, row.prefix, row.name, place)));
        }
    }

    void isProtectedPlace_coversHomeRootSearchedAndSharedFolders()
    {
        const QStringList guarded =
            protectedFolders(Places(QStringLiteral("/box/home/user"), QStringLiteral("/box/root")));
        // "~" stands for the home folder, "@" for the system root; "|" separates the paths.
        const std::pair<bool, QString> lists[] = {
            {true, "|Library|/|~|~/|~/.config/..|/box/home|/box|@|~/Library|~/library/CACHES|"
                   "~/Library/Caches/Homebrew|~/Library/Logs/DiagnosticReports|"
                   "~/Library/LaunchAgents|~/.config|~/.local|~/.local/share|~/.npm|~/.Trash|"
                   "~/.local/share/Trash|~/Library/Developer/Xcode|"
                   "~/Library/Containers/com.docker.docker/Data|@/opt/homebrew/Cellar|"
                   "@/opt/homebrew/var/log|@/opt|@/Applications|@/Library/LaunchDaemons"},
            {false, "~/Library/Caches/Pixel Forge|~/.config/forge|~/.forge|/etc|"
                    "~/Library/Containers/com.docker.docker|@/opt/homebrew/Cellar/wget"},
        };
        for (const auto &[isProtected, paths] : lists) {
            for (QString path : paths.split(QLatin1Char('|'))) {
                if (path.startsWith(QLatin1Char('~')))
                    path.replace(0, 1, QStringLiteral("/box/home/user"));
                else if (path.startsWith(QLatin1Char('@')))
                    path.replace(0, 1, QStringLiteral("/box/root"));
                QVERIFY2(isProtectedPlace(path, guarded) == isProtected, qPrintable(path));
            }
        }
        // On the real machine the system root is "/" itself.
        const QStringList real = protectedFolders(Places(QStringLiteral("/Users/me"), "/"));
        for (const char *path : {"/", "/Users", "/Users/me", "/opt/homebrew", "/Applications",
                                 "/Users/me/Library/Caches"})
            QVERIFY2(isProtectedPlace(QString::fromLatin1(path), real), path);
        QVERIFY(!isProtectedPlace(QStringLiteral("/Users/me/Library/Caches/x"), real));
    }
};

QTEST_GUILESS_MAIN(NameGuardTest)
#include "tst_nameguard.moc"

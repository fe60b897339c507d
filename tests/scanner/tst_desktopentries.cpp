// What a desktop entry starts, and what it may lead to: its own application only.
#include "demo/DesktopMachineBuilder.h"
#include "scanner/DesktopEntry.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QTest>

namespace {

// "category=~/path" of every file offered, sorted.
QStringList offered(const QList<FileGroup> &groups, const QString &home)
{
    QStringList out;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files)
            out.append(caseName(group.category) + "=" + QString(file.path).replace(home, "~"));
    }
    out.sort();
    return out;
}

} // namespace

class DesktopEntriesTest : public QObject
{
    Q_OBJECT

private slots:
    // Exec's arguments by its quoting rules, and what they start: the program, "*" when it is an
    // interpreter or launcher, and after "->" the other application its arguments name.
    void splitExec_followsTheQuotingRules_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QString>("arguments"); // joined by "|", "!" for none
        QTest::addColumn<QString>("started");
        const auto row = [](const char *tag, const QString &exec, const QString &arguments,
                            const char *started) {
            QTest::newRow(tag) << exec << arguments << QString(started);
        };
        row("field codes dropped", "app %U --x=%f %i", "app|--x=", "app");
        row("percent", "app 100%%", "app|100%", "app");
        row("quoted escapes", "\"a \\\"b\\\" \\$c \\\\d\" e", "a \"b\" $c \\d|e", "a \"b\" $c \\d");
        row("empty quotes", "app \"\"", "app|", "app");
        row("unclosed", "app \"x", "!", "");
        row("an editor's settings", "/opt/ed/ed --settings", "", "/opt/ed/ed");
        row("env and its settings", "env -u X A=1 -i ~/bin/tool --x", "", "~/bin/tool");
        row("an interpreter", "env A=1 ~/.venv/bin/python3.11 -m nb", "",
            "~/.venv/bin/python3.11* -> nb");
        row("java -jar", "java -Xmx1g -jar ~/a.jar", "", "java* -> ~/a.jar");
        row("sh -c", "sh -c \"cd ~/g && ./run\"", "", "sh* -> cd ~/g && ./run");
        row("a game", "/usr/games/steam steam://rungameid/70", "",
            "/usr/games/steam* -> steam://rungameid/70");
        row("wine", "wine C:\\\\windows\\\\start.exe /Unix ~/g.lnk", "", "wine* -> ~/g.lnk");
        row("a Flatpak", "flatpak run --command=a org.x.A @@u %U @@", "", "flatpak* -> org.x.A");
        row("a web application", "flatpak run org.x.B --app-id=c --profile-directory=P", "",
            "flatpak* -> org.x.B --app-id=c --profile-directory=P");
        row("a browser's web application", "chromium --app=https://a.example", "",
            "chromium -> --app=https://a.example");
        row("a terminal's program", "xterm -e htop -d 5", "", "xterm -> htop -d 5");
        row("an electron application", "electron25 /usr/lib/app.asar", "",
            "electron25* -> /usr/lib/app.asar");
    }
    void splitExec_followsTheQuotingRules()
    {
        QFETCH(QString, exec);
        QFETCH(QString, arguments);
        const std::optional<QStringList> split = DesktopEntry::splitExec(exec);
        if (!arguments.isEmpty())
            QCOMPARE(split ? split->join("|") : "!", arguments);
        const ExecCommand command = ExecCommand::fromArguments(split.value_or(QStringList()));
        QString started = command.program + (command.isLauncher ? "*" : "");
        if (!command.target.isEmpty())
            started += " -> " + command.target;
        QTEST(started, "started");
    }

    // An entry leads to its own application only: an interpreter, a launcher or a program another
    // application shares is never offered, nor are the other entries that start it; entries that
    // start another application (web applications, games) are rows of their own; nothing in the
    // Trash is offered.
    void desktopEntries_leadOnlyToTheirOwnApplication_data()
    {
        QTest::addColumn<QStringList>("entries"); // "file|Name|Exec" of the user's, "~" the home
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("offered"); // for the first entry's row
        const auto row = [](const char *tag, const QStringList &entries, const char *rows,
                            const QStringList &offered) {
            QTest::newRow(tag) << entries << QString(rows) << offered;
        };
        const QString entry = "desktopEntries=~/.local/share/applications/";
        row("interpreters and launchers",
            {"nb.desktop|Notebook|~/.venv/bin/python3 ~/nb/app.py",
             "console.desktop|Console|~/.venv/bin/python3 ~/nb/console.py",
             "tool.desktop|Tool|env A=1 java -jar ~/tool/tool.jar"},
            "Console,Notebook,Tool", {entry + "nb.desktop"});
        row("web applications of a browser",
            {"chrome-a-Default.desktop|YouTube|/usr/bin/chromium --profile-directory=Default "
             "--app-id=a",
             "chrome-b-Default.desktop|Mail|/usr/bin/chromium --profile-directory=Default "
             "--app-id=b"},
            "Mail,YouTube", {entry + "chrome-a-Default.desktop"});
        row("web applications of a Flatpak browser",
            {"c.desktop|Docs|/usr/bin/flatpak run --command=chrome com.google.Chrome --app-id=c",
             "d.desktop|Sheets|/usr/bin/flatpak run --command=chrome com.google.Chrome --app-id=d"},
            "Docs,Sheets", {entry + "c.desktop"});
        row("games of a launcher",
            {"Portal.desktop|Portal|steam steam://rungameid/400",
             "HalfLife.desktop|Half-Life|steam steam://rungameid/70",
             "steam.desktop|Steam|/usr/games/steam %U"},
            "Half-Life,Portal,Steam", {entry + "Portal.desktop"});
        row("a home program a web application shares",
            {"viv.desktop|Vivaldi|~/opt/vivaldi/vivaldi %U",
             "viv-x.desktop|Notes Web|~/opt/vivaldi/vivaldi --app-id=x"},
            "Notes Web,Vivaldi", {entry + "viv.desktop"});
        row("an editor and its settings entry",
            {"ed.desktop|Editor|~/opt/ed/ed %F",
             "ed-settings.desktop|Editor Settings|~/opt/ed/ed --settings"},
            "Editor",
            {"applicationFiles=~/opt/ed/ed", entry + "ed-settings.desktop", entry + "ed.desktop"});
        row("a program in the Trash",
            {"relic.desktop|Relic|~/.local/share/Trash/files/relic/relic"}, "Relic",
            {entry + "relic.desktop"});
    }
    void desktopEntries_leadOnlyToTheirOwnApplication()
    {
        QFETCH(QStringList, entries);
        Sandbox box;
        MachineBuilder machine(box);
        DesktopMachineBuilder desktop(box, machine);
        // What the browser and the game launcher keep: never a web application's or a game's.
        box.makeDir(box.homePath(".config/chromium/Default"));
        box.makeDir(box.homePath(".local/share/Steam/steamapps"));
        for (const QString &line : entries) {
            const QStringList parts = line.split('|');
            QString exec = parts[2];
            exec.replace("~/", box.home() + "/");
            for (const QString &argument : exec.split(' ')) {
                if (argument.startsWith(box.home()))
                    box.writeFile(argument, "#!/bin/sh\n");
            }
            desktop.addDesktopEntry(desktop.userData(), parts[0], parts[1], exec);
        }
        const FileScanner scanner(box.places());
        const QList<AppInfo> installed = scanner.scanApplications();
        QStringList rows;
        for (const AppInfo &app : installed)
            rows.append(app.name);
        QTEST(rows.join(','), "rows");
        const auto first = std::find_if(installed.begin(), installed.end(), [&](const AppInfo &a) {
            return a.desktopFileID == entries.first().section('|', 0, 0);
        });
        QVERIFY(first != installed.end());
        QTEST(offered(scanner.findApplicationFiles(*first, installed), box.home()), "offered");
    }
};

QTEST_GUILESS_MAIN(DesktopEntriesTest)
#include "tst_desktopentries.moc"

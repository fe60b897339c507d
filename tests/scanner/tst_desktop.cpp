#include "demo/DesktopMachineBuilder.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"
#include "viewmodel/FileSelection.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

namespace {

// One machine with an application of every kind and what each left in the home folder.
struct DesktopMachine
{
    Sandbox box;
    MachineBuilder machine{box};
    DesktopMachineBuilder desktop{box, machine};

    DesktopMachine()
    {
        const QString home = box.home();
        desktop.addFlatpak("org.example.Notes", "Notes Plus", true);
        desktop.addFlatpak("org.example.Maps", "Maps", false);
        // A second entry of the same Flatpak folds into its row.
        desktop.addDesktopEntry(desktop.flatpakExports(false), "org.example.Maps.Viewer.desktop",
                                "Map Viewer", "/usr/bin/flatpak run org.example.Maps",
                                {{"X-Flatpak", "org.example.Maps"}});
        desktop.addSnap("tunebox", "TuneBox");
        desktop.addAppImage("Applications/Obsidian-1.5.12-x86_64.AppImage");
        const QString drawio = desktop.addAppImage("Applications/drawio-24.0.AppImage");
        desktop.addDesktopEntry(desktop.userData(), "appimagekit_abc-Drawio.desktop", "draw.io",
                                "\"" + drawio + "\" %U", {{"Icon", "appimagekit_abc_drawio"}});
        desktop.addIcon(desktop.userData(), "appimagekit_abc_drawio", "256x256");
        box.writeFile(box.homePath(".local/zed.app/bin/zed"), "#!/bin/sh\n");
        desktop.addDesktopEntry(desktop.userData(), "zed.desktop", "Zed",
                                home + "/.local/zed.app/bin/zed %F", {{"Icon", "zed"}});
        desktop.addIcon(desktop.userData(), "zed", "512x512");
        desktop.addDesktopEntry(desktop.systemData(), "org.gnome.Calculator.desktop", "Calc",
                                "gnome-calculator", {{"Icon", "org.gnome.Calculator"}});
        // The user's entry of the same id wins; the package still owns the application.
        desktop.addDesktopEntry(desktop.userData(), "org.gnome.Calculator.desktop", "Calculator",
                                "env GDK_BACKEND=x11 gnome-calculator",
                                {{"Icon", "org.gnome.Calculator"}});
        desktop.addIcon(desktop.systemData(), "org.gnome.Calculator", "48x48");
        desktop.addIcon(desktop.systemData(), "org.gnome.Calculator", "256x256");
        desktop.addIcon(desktop.systemData(), "org.gnome.Calculator", "32x32");
        desktop.addDesktopEntry(desktop.systemData(), "xterm.desktop", "XTerm", "xterm",
                                {{"Icon", "xterm"}});
        desktop.addIcon(desktop.systemData(), "xterm", "pixmaps");
        // Entries of one program fold only within one package; a hidden override and NoDisplay
        // give no row.
        desktop.addDesktopEntry(desktop.systemData(), "libreoffice-writer.desktop",
                                "LibreOffice Writer", "libreoffice --writer %U");
        desktop.addDesktopEntry(desktop.systemData(), "libreoffice-calc.desktop",
                                "LibreOffice Calc", "libreoffice --calc %U");
        desktop.addDesktopEntry(desktop.systemData(), "vim.desktop", "Vim", "vim %F");
        desktop.addDesktopEntry(desktop.userData(), "vim.desktop", "Vim", "vim",
                                {{"Hidden", "true"}});
        desktop.addDesktopEntry(desktop.systemData(), "portal.desktop", "Portal", "portal",
                                {{"NoDisplay", "true"}});
        // Folders under another of a program's names: its plain name without the toolkit
        // suffix or the punctuation, its icon, a library of its source package.
        desktop.addDesktopEntry(desktop.systemData(), "org.example.Sketchpad.desktop", "Doodle!",
                                "sketch-gtk %F");
        desktop.addDesktopEntry(desktop.systemData(), "org.example.PixView.desktop",
                                "Picture Viewer", "viewer-qt5", {{"Icon", "pixview"}});
        desktop.addDesktopEntry(desktop.systemData(), "chatter.desktop", "Chatter", "chatter");
        // The alternatives pick the editor's GUI build, whose package is the row's.
        desktop.addDesktopEntry(desktop.systemData(), "edit.desktop", "Edit", "edit %F");
        box.writeFile(box.systemPath("/usr/bin/edit.gtk3"), "#!/bin/sh\n");
        box.makeSymlink("/etc/alternatives/edit", box.systemPath("/usr/bin/edit"));
        box.makeSymlink("../../usr/bin/edit.gtk3", box.systemPath("/etc/alternatives/edit"));
        desktop.installDpkgQuery(
            {{"/usr/share/applications/org.gnome.Calculator.desktop", "gnome-calculator"},
             {"/usr/share/applications/libreoffice-writer.desktop", "libreoffice-writer"},
             {"/usr/share/applications/libreoffice-calc.desktop", "libreoffice-calc"},
             {"/usr/share/applications/chatter.desktop", "chatter"},
             {"/usr/share/applications/edit.desktop", "edit-common"},
             {"/usr/bin/edit.gtk3", "edit-gtk3"}},
            {{"libreoffice-writer", "libreoffice"},
             {"libreoffice-calc", "libreoffice"},
             {"chatter", "chatter"},
             {"libchatproto2:amd64", "chatter"},
             {"edit-common", "edit"},
             {"edit-gtk3", "edit"}});

        // Leftovers.
        for (const char *path :
             {".var/app/org.example.Notes/config/notes.db",
              ".config/autostart/org.example.Notes.desktop", ".local/state/NotesPlus/log",
              ".var/app/org.example.Maps/cache/tiles", "snap/tunebox/common/db",
              ".config/tunebox/settings", ".config/draw.io/config.json",
              ".config/zed/settings.json", ".cache/zed/index",
              ".config/systemd/user/zed-updater.service", ".cache/gnome-calculator/history",
              ".local/share/TuneBox/library", ".config/sketch/prefs", ".local/share/Doodle/a",
              ".config/viewer/rc", ".cache/pixview/thumbs", ".chatproto/accounts.xml",
              ".config/libreoffice/registry.xcu"})
            box.writeFile(box.homePath(path), "x");
        box.writeFile(box.homePath(".config/autostart/zed-sync.desktop"),
                      "[Desktop Entry]\nType=Application\nName=Sync\nExec=" +
                          QFile::encodeName(home) + "/.local/zed.app/bin/zed --sync\n");
    }
};

QString describe(const FileScanner &scanner, const AppInfo &app)
{
    QString icon = app.icon ? app.icon->toSource() : QString();
    icon.replace(scanner.places().home(), "~").replace(scanner.places().root(), "");
    QString path = app.path;
    path.replace(scanner.places().home(), "~").replace(scanner.places().root(), "");
    return QStringList{app.name,
                       displayName(app.installation),
                       path,
                       icon,
                       app.flatpakID + app.snapName + app.owningPackage,
                       scanner.isUserApplication(app) ? "user" : "system"}
        .join(" | ");
}

QStringList relativePaths(const QList<FileGroup> &groups, const QString &home)
{
    QStringList out;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files)
            out.append(caseName(group.category) + "=" +
                       QString(file.path).replace(home, "~").replace(
                           QRegularExpression("^.*/root/"), "/") +
                       (file.alsoUsedBy.isEmpty() ? ""
                                                  : " (also used by " + file.alsoUsedBy +
                                                        (file.isSelected ? ", ticked)" : ")")));
    }
    out.sort();
    return out;
}

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void scanApplications_oneRowPerApplicationWithKindAndIcon()
    {
        DesktopMachine m;
        const FileScanner scanner(m.box.places());
        QStringList rows;
        for (const AppInfo &app : scanner.scanApplications())
            rows.append(describe(scanner, app));
        const QString flatpakIcons = "/flatpak/exports/share/icons/hicolor/scalable/apps/";
        QCOMPARE(
            rows,
            QStringList({
                "Calculator | System Package | "
                "/usr/share/applications/org.gnome.Calculator.desktop | "
                "image:/usr/share/icons/hicolor/256x256/apps/org.gnome.Calculator.png | "
                "gnome-calculator | system",
                "Chatter | System Package | /usr/share/applications/chatter.desktop | "
                "symbol:app.generic | chatter | system",
                "Doodle! | System Package | /usr/share/applications/org.example.Sketchpad.desktop "
                "| symbol:app.generic |  | system",
                "draw.io | AppImage | ~/Applications/drawio-24.0.AppImage | "
                "image:~/.local/share/icons/hicolor/256x256/apps/appimagekit_abc_drawio.png |  | "
                "user",
                "Edit | System Package | /usr/share/applications/edit.desktop | "
                "symbol:app.generic | edit-gtk3 | system",
                "LibreOffice Calc | System Package | "
                "/usr/share/applications/libreoffice-calc.desktop | "
                "symbol:app.generic | libreoffice-calc | system",
                "LibreOffice Writer | System Package | "
                "/usr/share/applications/libreoffice-writer.desktop | "
                "symbol:app.generic | libreoffice-writer | system",
                "Maps | Flatpak | "
                "/var/lib/flatpak/exports/share/applications/org.example.Maps.desktop | "
                "image:/var/lib" +
                    flatpakIcons + "org.example.Maps.svg | org.example.Maps | system",
                "Notes Plus | Flatpak | "
                "~/.local/share/flatpak/exports/share/applications/org.example.Notes.desktop | "
                "image:~/.local/share" +
                    flatpakIcons + "org.example.Notes.svg | org.example.Notes | user",
                "Obsidian | AppImage | ~/Applications/Obsidian-1.5.12-x86_64.AppImage | "
                "symbol:app.generic |  | user",
                "Picture Viewer | System Package | "
                "/usr/share/applications/org.example.PixView.desktop | symbol:app.generic |  | "
                "system",
                "TuneBox | Snap | /var/lib/snapd/desktop/applications/tunebox_tunebox.desktop | "
                "image:/snap/tunebox/current/meta/gui/icon.png | tunebox | system",
                "XTerm | System Package | /usr/share/applications/xterm.desktop | "
                "image:/usr/share/pixmaps/xterm.png |  | system",
                "Zed | Installed in Home Folder | ~/.local/share/applications/zed.desktop | "
                "image:~/.local/share/icons/hicolor/512x512/apps/zed.png |  | user",
            }));
        // One batched query for every packaged entry and the program it resolves to, "--"
        // before the paths; one for the source packages.
        const QList<QStringList> calls = m.machine.toolCalls("/usr/bin/dpkg-query");
        QCOMPARE(calls.first().mid(0, 2), QStringList({"-S", "--"}));
        QCOMPARE(calls.first().size(), 2 + 8 + 1);
        const auto asked = [&](const char *option) {
            return std::count_if(calls.begin(), calls.end(),
                                 [&](const QStringList &call) { return call.value(0) == option; });
        };
        QCOMPARE(asked("-S"), 1);
        QCOMPARE(asked("-W"), 1);
    }

    void scanDesktopApplications_skipsMalformedAndHostileEntries_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("expected"); // the row's name and Exec program name, or ""
        const QByteArray head = "[Desktop Entry]\nType=Application\n";
        const auto row = [](const char *tag, const QByteArray &contents, const QString &expected) {
            QTest::newRow(tag) << contents << expected;
        };
        row("no name", head + "Exec=tool\n", "");
        row("only a localized name", head + "Name[de]=Werkzeug\nExec=tool\n", "");
        row("a link, not an application", "[Desktop Entry]\nType=Link\nName=Tool\n", "");
        row("keys outside the group",
            QByteArray("Name=Tool\n[Desktop Action x]\n"
                       "Type=Application\nName=Tool\n"),
            "");
        row("binary", head + QByteArray("Name=Tool\0\x01\x02", 12), "");
        row("not UTF-8", head + "Name=T\xe9l\xe9\n", "");
        row("huge", head + "Name=Tool\nX-Pad=" + QByteArray(300 * 1024, 'a'), "");
        row("missing TryExec", head + "Name=Tool\nTryExec=/opt/none/tool\n", "");
        row("first value, localized ignored, later groups ignored",
            head + "Name=Tool\nName[fr]=Outil\nName=Other\nExec=tool\n[Desktop Action n]\n"
                   "Exec=other\n",
            "Tool tool");
        row("quotes and field codes",
            head + "Name=Tool\nExec=\"/opt/My App/bin/run\" "
                   "--file=%f %U\n",
            "Tool run");
        row("env settings, escapes", head + "Name=My\\sTool\nExec=env A=1 B=2 tool %u\n",
            "My Tool tool");
        row("quotes that do not close", head + "Name=Tool\nExec=\"tool %u\n", "Tool ");
    }
    void scanDesktopApplications_skipsMalformedAndHostileEntries()
    {
        QFETCH(QByteArray, contents);
        Sandbox box;
        box.writeFile(box.homePath(".local/share/applications/tool.desktop"), contents);
        // A folder link loop and a link to a device are passed over.
        box.makeSymlink(box.homePath(".local/share/applications"),
                        box.homePath(".local/share/applications/loop"));
        box.makeSymlink("/dev/zero", box.homePath(".local/share/applications/zero.desktop"));
        QStringList rows;
        for (const AppInfo &app : FileScanner(box.places()).scanDesktopApplications())
            rows.append(app.name + " " + app.execName);
        QTEST(rows.join(";"), "expected");
    }

    void findApplicationFiles_findsEachKindsPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("user Flatpak")
            << QString("Notes Plus")
            << QStringList{"autostartEntries=~/.config/autostart/org.example.Notes.desktop",
                           "flatpakData=~/.var/app/org.example.Notes",
                           "installedApplication=~/.local/share/flatpak/app/org.example.Notes",
                           "stateDirectory=~/.local/state/NotesPlus"};
        QTest::newRow("system Flatpak")
            << QString("Maps")
            << QStringList{"flatpakData=~/.var/app/org.example.Maps",
                           "installedApplication=/var/lib/flatpak/app/org.example.Maps"};
        QTest::newRow("Snap") << QString("TuneBox")
                              << QStringList{"configDirectory=~/.config/tunebox",
                                             "installedApplication=/snap/tunebox",
                                             "localShareDirectory=~/.local/share/TuneBox",
                                             "snapData=~/snap/tunebox"};
        QTest::newRow("AppImage")
            << QString("draw.io")
            << QStringList{
                   "applicationFiles=~/Applications/drawio-24.0.AppImage",
                   "configDirectory=~/.config/draw.io",
                   "desktopEntries=~/.local/share/applications/appimagekit_abc-Drawio.desktop",
                   "userIcons=~/.local/share/icons/hicolor/256x256/apps/"
                   "appimagekit_abc_drawio.png"};
        QTest::newRow("home-installed")
            << QString("Zed")
            << QStringList{"applicationFiles=~/.local/zed.app/bin/zed",
                           "autostartEntries=~/.config/autostart/zed-sync.desktop",
                           "cacheDirectory=~/.cache/zed",
                           "configDirectory=~/.config/zed",
                           "desktopEntries=~/.local/share/applications/zed.desktop",
                           "userIcons=~/.local/share/icons/hicolor/512x512/apps/zed.png",
                           "userServices=~/.config/systemd/user/zed-updater.service"};
        // The package's own entry and program are never offered; the user's override is.
        QTest::newRow("system package")
            << QString("Calculator")
            << QStringList{
                   "cacheDirectory=~/.cache/gnome-calculator",
                   "desktopEntries=~/.local/share/applications/org.gnome.Calculator.desktop"};
        QTest::newRow("toolkit suffix, punctuation")
            << QString("Doodle!")
            << QStringList{"configDirectory=~/.config/sketch",
                           "localShareDirectory=~/.local/share/Doodle"};
        QTest::newRow("toolkit suffix, icon")
            << QString("Picture Viewer")
            << QStringList{"cacheDirectory=~/.cache/pixview", "configDirectory=~/.config/viewer"};
        QTest::newRow("library of the source package")
            << QString("Chatter") << QStringList{"homeDotFiles=~/.chatproto"};
        QTest::newRow("a folder two rows share")
            << QString("LibreOffice Calc")
            << QStringList{
                   "configDirectory=~/.config/libreoffice (also used by LibreOffice Writer)"};
    }
    void findApplicationFiles_findsEachKindsPlaces()
    {
        QFETCH(QString, name);
        DesktopMachine m;
        const FileScanner scanner(m.box.places());
        const QList<AppInfo> installed = scanner.scanApplications();
        const auto app = std::find_if(installed.begin(), installed.end(),
                                      [&](const AppInfo &a) { return a.name == name; });
        QVERIFY(app != installed.end());
        // Ticking every file of the row leaves those another row lists too.
        QList<FileGroup> groups = scanner.findApplicationFiles(*app, installed);
        FileSelection::selectEveryFile(groups, true);
        QTEST(relativePaths(groups, m.box.home()), "expected");
    }

    // Each kind is removed its own way; a system package never is.
    void uninstallApplication_runsTheKindsTool_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("removed"); // what the tool took away, "" for nothing
        QTest::newRow("user Flatpak")
            << QString("Notes Plus") << QString("/usr/bin/flatpak")
            << QStringList{"uninstall", "--noninteractive", "--user", "org.example.Notes"}
            << QString("~/.local/share/flatpak/app/org.example.Notes");
        QTest::newRow("system Flatpak")
            << QString("Maps") << QString("/usr/bin/flatpak")
            << QStringList{"uninstall", "--noninteractive", "--system", "org.example.Maps"}
            << QString("/var/lib/flatpak/app/org.example.Maps");
        QTest::newRow("Snap") << QString("TuneBox") << QString("/usr/bin/snap")
                              << QStringList{"remove", "tunebox"} << QString("/snap/tunebox");
        QTest::newRow("AppImage") << QString("draw.io") << QString("") << QStringList{}
                                  << QString("");
        QTest::newRow("home-installed")
            << QString("Zed") << QString("") << QStringList{} << QString("");
    }
    void uninstallApplication_runsTheKindsTool()
    {
        QFETCH(QString, name);
        QFETCH(QString, tool);
        QFETCH(QString, removed);
        QFETCH(QStringList, arguments);
        DesktopMachine m;
        m.desktop.installFlatpak();
        m.desktop.installSnapTool();
        const FileScanner scanner(m.box.places());
        const QList<AppInfo> installed = scanner.scanApplications();
        const AppInfo app = *std::find_if(installed.begin(), installed.end(),
                                          [&](const AppInfo &a) { return a.name == name; });
        const auto place = [&](const QString &path) {
            return path.startsWith("~") ? m.box.home() + path.mid(1) : m.box.systemPath(path);
        };
        if (!removed.isEmpty())
            QVERIFY(QFileInfo::exists(place(removed)));
        const UninstallResult result = scanner.uninstallApplication(app);
        // Nothing ran for the kinds without a tool: nothing is reported uninstalled.
        QCOMPARE(result.succeeded, !tool.isEmpty());
        if (!tool.isEmpty()) {
            QCOMPARE(m.machine.toolCalls(tool), QList<QStringList>{arguments});
            QCOMPARE(scanner.uninstallCommandText(app),
                     tool.section('/', -1) + " " + arguments.join(" "));
            QVERIFY(!QFileInfo::exists(place(removed)));
        }
        QVERIFY(m.machine.toolCalls("/usr/bin/flatpak").size() +
                    m.machine.toolCalls("/usr/bin/snap").size() ==
                (tool.isEmpty() ? 0 : 1));
        // Then the files found go to the Trash, the application's own files among them.
        const QList<FileGroup> groups = scanner.findApplicationFiles(app, installed);
        QList<AssociatedFile> files;
        for (const FileGroup &group : groups)
            files.append(group.files);
        QCOMPARE(scanner.moveFilesToTrash(files).moved, files.size());
        for (const AssociatedFile &file : files)
            QVERIFY(!QFileInfo::exists(file.path));
    }

    void systemPackages_areNeverRemoved_andBadNamesNeverReachATool()
    {
        DesktopMachine m;
        m.desktop.installFlatpak();
        m.desktop.installSnapTool();
        const FileScanner scanner(m.box.places());
        const QList<AppInfo> installed = scanner.scanApplications();
        const AppInfo calculator =
            *std::find_if(installed.begin(), installed.end(),
                          [](const AppInfo &a) { return a.name == "Calculator"; });
        const UninstallResult refused = scanner.uninstallApplication(calculator);
        QVERIFY(!refused.succeeded);
        QCOMPARE(refused.output,
                 "Calculator belongs to the system package \"gnome-calculator\" and "
                 "is not removed by Verlo. To remove it, run: sudo apt remove "
                 "gnome-calculator");
        QCOMPARE(scanner.uninstallCommandText(calculator), std::nullopt);

        for (const QString &id :
             {"--help", "../../etc", "org.example", "org.example.Notes/..", "-org.a.b", ""})
            QCOMPARE(scanner.uninstallFlatpak(id, true).output,
                     "Refusing to uninstall a Flatpak named \"" + id + "\"");
        for (const QString &name : {"-h", "a/b", "..", "", "Tune", "tunebox --purge"})
            QCOMPARE(scanner.uninstallSnap(name).output,
                     "Refusing to remove a Snap named \"" + name + "\"");
        QVERIFY(m.machine.toolCalls("/usr/bin/flatpak").isEmpty());
        QVERIFY(m.machine.toolCalls("/usr/bin/snap").isEmpty());

        // A tool that fails says so with what it printed; a missing one is named.
        const UninstallResult failed = scanner.uninstallFlatpak("org.example.Gone", false);
        QCOMPARE(failed.output, "flatpak uninstall failed (exit status 1): error: "
                                "org.example.Gone not installed");
        QFile::remove(m.box.systemPath("/usr/bin/snap"));
        QCOMPARE(scanner.uninstallSnap("tunebox").output, "snap not found at /usr/bin/snap");
    }

    // A package query that hangs is ended: the list comes without owners.
    void hangingPackageQuery_endsAndListsWithoutOwners()
    {
        DesktopMachine m;
        m.machine.installScriptTool("/usr/bin/dpkg-query", "sleep 300");
        FileScanner scanner(m.box.places());
        scanner.setQueryTimeLimit(300);
        const QList<AppInfo> apps = scanner.scanDesktopApplications();
        QCOMPARE(apps.size(), 13); // without owners, Writer and Calc fold by their program
        for (const AppInfo &app : apps)
            QVERIFY(app.owningPackage.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DesktopTest)
#include "tst_desktop.moc"

// The leftovers of programs that are gone (FileScanner::findLeftovers), on one sandbox machine
// holding installed programs of every kind with their folders, the desktop's own folders and
// what removed programs left.

#include "demo/DesktopMachineBuilder.h"
#include "demo/PlistWriter.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QTest>

#include <algorithm>
#include <memory>

namespace {

QStringList names(const QList<LeftoverRow> &rows)
{
    QStringList result;
    for (const LeftoverRow &row : rows)
        result.append(row.name);
    return result;
}

struct SampleMachine
{
    Sandbox box;
    MachineBuilder builder{box};
    DesktopMachineBuilder desktop{box, builder};

    SampleMachine()
    {
        box.makeAppBundle(box.systemPath("/Applications"), "Writer.app",
                          {{"CFBundleIdentifier", "com.acme.Writer"}});
        box.makeAppBundle(box.systemPath("/Applications"), "Juniper Terminal.app",
                          {{"CFBundleIdentifier", "dev.juniper.terminal"}});
        desktop.addDesktopEntry(desktop.systemData(), "doodle.desktop", "Doodle!", "doodle-gtk");
        box.writeScript(box.systemPath("/usr/bin/doodle-gtk"), "true");
        box.writeScript(box.systemPath("/usr/bin/jq"), "true");
        box.writeScript(box.systemPath("/usr/bin/podman"), "true");
        desktop.addFlatpak("org.acme.Paint", "Paint", true);
        desktop.addSnap("drawbox", "DrawBox");
        desktop.installDpkgQuery({{"/usr/share/applications/doodle.desktop", "doodle"}},
                                 {{"doodle", "doodle"},
                                  {"libpurple0", "pidgin"},
                                  {"pidgin", "pidgin"},
                                  {"htop", "htop"},
                                  // Removed, its configuration kept: no longer installed.
                                  {"rc removedpkg", "removedpkg"}});
        builder.installNPM();
        builder.addNPMPackage(box.systemPath(MachineBuilder::homebrewNodeModules()), "tldr",
                              QStringLiteral("1.0"));
        builder.installBrew();
        builder.addFormula("ripgrep", {{"14.0"}});
        box.writeFile(box.homePath(".config/autostart/syncer.desktop"),
                      "[Desktop Entry]\nType=Application\nName=Syncer\nExec=/usr/bin/syncer -b\n");
        desktop.addDesktopEntry(desktop.userData(), "viewer.desktop", "Viewer",
                                box.homePath("Applications/Viewer.AppImage"));
        desktop.addDesktopEntry(desktop.userData(), "paint-extra.desktop", "Paint Extra",
                                "/usr/bin/flatpak run org.acme.Paint",
                                {{"X-Flatpak", "org.acme.Paint"}});
        box.writeFile(box.homePath(".config/systemd/user/backupd.service"),
                      "[Service]\nExecStart=-/usr/bin/backupd --daily\n");
        // Software installed in the home: on PATH, or in a dot folder's own bin.
        box.writeScript(box.homePath(".pyenv/bin/pyenv"), "true");
        box.writeScript(box.homePath(".cargo/bin/rustup"), "true");
        box.writeScript(box.homePath("opt/zig/bin/zig"), "true");
        box.writeScript(box.systemPath("/opt/tools/bin/mytool"), "true");
        box.writeFile(box.homePath("Library/LaunchAgents/com.gone.agentd.plist"),
                      "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Program</key>"
                      "<string>/usr/local/bin/agentd</string></dict></plist>");
        // Agents that name their program by its arguments, in both list formats.
        const auto agent = [](const char *program) {
            return QVariantMap{{"ProgramArguments", QVariantList{program, "--serve"}}};
        };
        box.writeFile(box.homePath("Library/LaunchAgents/com.gone.webd.plist"),
                      PlistWriter::xml(agent("/opt/webd/webd")));
        box.writeFile(box.homePath("Library/LaunchAgents/com.gone.argsd.plist"),
                      PlistWriter::binary(agent("/opt/argsd/argsd")));
        box.writeFile(box.homePath("Library/LaunchAgents/net.helperco.helperd.plist"),
                      PlistWriter::binary(agent("/opt/helperd/helperd")));
        box.writeScript(box.systemPath("/opt/helperd/helperd"), "true");
    }
};

} // namespace

// Each entry: home-relative, made as a folder of 100 bytes unless its name has a dot; the row
// that lists it (empty: never listed) and the row's certainty.
struct Expected
{
    const char *entry;
    const char *row;
    const char *certainty;
};

const Expected kEntries[] = {
    // What installed programs keep, by each kind of claim.
    {"Library/Preferences/com.acme.Writer.plist", "", ""},
    {"Library/Application Support/Writer", "", ""},
    {".config/doodle", "", ""},
    {".var/app/org.acme.Paint", "", ""},
    {"snap/drawbox", "", ""},
    {".purple", "", ""},
    {".config/htop", "", ""},
    {".jq", "", ""},
    {".tldr", "", ""},
    {".config/ripgrep", "", ""},
    {".juniper", "", ""},
    {".local/share/containers", "", ""},
    {".pyenv", "", ""},
    {".cargo", "", ""},
    {".rustup", "", ""},
    {".zig", "", ""},
    {".config/mytool", "", ""},
    {".debug", "", ""},
    {".local/share/applications/paint-extra.desktop", "", ""},
    // The desktop's and the system's own, the searched folders, the Trash, what the user keeps.
    {".config/dconf", "", ""},
    {".config/pulse", "", ""},
    {".config/gtk-3.0", "", ""},
    {".config/mimeapps.list", "", ""},
    {".config/user-dirs.dirs", "", ""},
    {".local/share/keyrings", "", ""},
    {".local/share/recently-used.xbel", "", ""},
    {".cache/fontconfig", "", ""},
    {".bashrc", "", ""},
    {"Library/Preferences/com.apple.finder.plist", "", ""},
    {".config/systemd", "", ""},
    {".local/share/Trash", "", ""},
    {".config", "", ""},
    {".local", "", ""},
    {".var", "", ""},
    {".config/keepme", "", ""},
    // What removed programs left, joined by name across places.
    {"Library/Preferences/com.gone.Sketchpad.plist", "sketchpad", "certain"},
    {"Library/Caches/com.gone.Sketchpad", "sketchpad", "certain"},
    {".var/app/org.gone.Drumkit", "drumkit", "certain"},
    {"snap/oldsnap", "oldsnap", "certain"},
    {".config/autostart/syncer.desktop", "syncer", "certain"},
    {".config/syncer", "syncer", "certain"},
    {".local/share/applications/viewer.desktop", "viewer", "certain"},
    {".config/systemd/user/backupd.service", "backupd", "certain"},
    {"Library/LaunchAgents/com.gone.agentd.plist", "agentd", "certain"},
    {"Library/LaunchAgents/com.gone.webd.plist", "webd", "certain"},
    {"Library/LaunchAgents/com.gone.argsd.plist", "argsd", "certain"},
    {"Library/LaunchAgents/net.helperco.helperd.plist", "helperd", "likely"},
    {".config/removedpkg", "removedpkg", "likely"},
    {".yarnish", "yarnish", "likely"},
    {".android", "android", "likely"},
    {".oldbrewrc", "oldbrew", "likely"},
    {".cache/oldbrew-gtk3", "oldbrew", "likely"},
};

class TestFormerPrograms : public QObject
{
    Q_OBJECT

    std::unique_ptr<SampleMachine> m_machine;
    QList<LeftoverRow> m_rows;
    QList<QStringList> m_partialRows; // the names of each list of rows told while finding

private slots:
    void initTestCase()
    {
        m_machine = std::make_unique<SampleMachine>();
        for (const Expected &expected : kEntries) {
            const QString path = m_machine->box.homePath(QString::fromLatin1(expected.entry));
            if (QFileInfo::exists(path))
                continue;
            if (path.section('/', -1).mid(1).contains('.'))
                m_machine->box.writeFile(path, "x");
            else
                m_machine->box.writeFileOfSize(path + "/data", 100);
        }
        const Sandbox &box = m_machine->box;
        const Places places(box.home(), box.root(),
                            {{"PATH", box.homePath("opt/zig/bin") + ":/opt/tools/bin:bin"}});
        m_rows = FileScanner(places).findLeftovers(
            {QStringLiteral("KeepMe")}, {},
            [this](const QList<LeftoverRow> &rows) { m_partialRows.append(names(rows)); });
    }

    void listsWhatGoneProgramsLeft_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("certainty");
        for (const Expected &expected : kEntries)
            QTest::newRow(expected.entry)
                << QString::fromLatin1(expected.entry) << QString::fromLatin1(expected.row)
                << QString::fromLatin1(expected.certainty);
    }

    void listsWhatGoneProgramsLeft()
    {
        QFETCH(QString, entry);
        QFETCH(QString, row);
        QFETCH(QString, certainty);
        const QString path = m_machine->box.homePath(entry);
        QString listedIn;
        for (const LeftoverRow &leftover : std::as_const(m_rows)) {
            for (const FileGroup &group : leftover.groups) {
                for (const AssociatedFile &file : group.files) {
                    if (file.path != path)
                        continue;
                    listedIn = leftover.name;
                    QVERIFY(file.identity.isValid() && !file.isSelected);
                    QCOMPARE(caseName(leftover.certainty), certainty);
                    QVERIFY(leftover.reason.contains(" is named " + row));
                    QVERIFY(leftover.size > 0 && leftover.lastModified.isValid());
                }
            }
        }
        QCOMPARE(listedIn, row);
    }

    void listsNothingElse_certainFirstThenLargest()
    {
        int listed = 0;
        for (const LeftoverRow &leftover : std::as_const(m_rows)) {
            for (const FileGroup &group : leftover.groups)
                listed += group.files.size();
        }
        const int expected = std::count_if(std::begin(kEntries), std::end(kEntries),
                                           [](const Expected &e) { return *e.row != 0; });
        QCOMPARE(listed, expected);
        for (qsizetype i = 1; i < m_rows.size(); ++i)
            QVERIFY(m_rows[i - 1].certainty == LeftoverCertainty::certain ||
                    (m_rows[i].certainty == LeftoverCertainty::likely &&
                     m_rows[i - 1].size >= m_rows[i].size));
        // The rows judged so far were told first, each time in their final order.
        QVERIFY(!m_partialRows.isEmpty());
        for (const QStringList &partial : std::as_const(m_partialRows)) {
            QStringList inFinalOrder = names(m_rows);
            inFinalOrder.removeIf([&](const QString &name) { return !partial.contains(name); });
            QCOMPARE(partial, inFinalOrder);
        }
    }

    // A machine of rpm and no dpkg: the source rpm's name claims too, and joins its binaries.
    void rpmSourcePackages_claimAndJoinFamilies()
    {
        Sandbox box;
        MachineBuilder(box).installScriptTool("/usr/bin/rpm",
                                              "[ \"$1\" = -qa ] && [ \"$2\" = --qf ] || exit 2\n"
                                              "while read -r name source; do\n"
                                              "  printf \"$(printf '%s' \"$3\" | sed "
                                              "\"s/%{NAME}/$name/g; s/%{SOURCERPM}/$source/g\")\"\n"
                                              "done <<'EOF'\n"
                                              "chatter-gui chatsuite-2.1-3.fc39.src.rpm\n"
                                              "libchatproto2 chatsuite-2.1-3.fc39.src.rpm\n"
                                              "gpg-pubkey (none)\n"
                                              "EOF\n");
        for (const char *entry : {".config/chatsuite", ".chatproto", ".gpg-pubkey", ".gonething"})
            box.writeFile(box.homePath(entry) + "/data", "x");
        const FileScanner scanner(box.places());
        QStringList listed;
        for (const LeftoverRow &row : scanner.findLeftovers({}))
            listed.append(row.name);
        QCOMPARE(listed, QStringList{"gonething"});
        QCOMPARE(scanner.findPackageFamilies().value("chatter-gui"), QStringList{"chatproto"});
    }
};

QTEST_GUILESS_MAIN(TestFormerPrograms)
#include "tst_formerprograms.moc"

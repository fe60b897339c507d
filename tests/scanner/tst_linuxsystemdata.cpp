#include "demo/DesktopMachineBuilder.h"
#include "scanner/FileScanner.h"
#include "scanner/ToolOutput.h"
#include "tests/support/Sandbox.h"

#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kMiB = 1024 * 1024;

QStringList describe(const QList<FileGroup> &groups, const QString &home)
{
    QStringList out;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files) {
            out.append(QStringLiteral("%1 | %2 | %3 | %4")
                           .arg(caseName(group.category), file.name,
                                QString(file.path).replace(home, "~"),
                                file.isRemovable() ? "removable" : file.unremovableReason));
        }
    }
    return out;
}

} // namespace

class LinuxSystemDataTest : public QObject
{
    Q_OBJECT

private slots:
    void places_resolveTheXdgVariables()
    {
        const Places defaults("/h", "/r");
        QCOMPARE(QStringList({defaults.configHome(), defaults.cacheHome(), defaults.dataHome(),
                              defaults.stateHome()}),
                 QStringList({"/h/.config", "/h/.cache", "/h/.local/share", "/h/.local/state"}));
        QCOMPARE(defaults.dataDirs(), QStringList({"/r/usr/local/share", "/r/usr/share"}));
        // Relative and empty values are ignored; absolute ones are used.
        const Places set("/h", "/r",
                         {{"XDG_CONFIG_HOME", "/x/cfg/"},
                          {"XDG_CACHE_HOME", "rel/cache"},
                          {"XDG_DATA_HOME", ""},
                          {"XDG_STATE_HOME", "/x/state"},
                          {"XDG_DATA_DIRS", "rel:/opt/share/::/usr/share:/opt/share"}});
        QCOMPARE(QStringList({set.configHome(), set.cacheHome(), set.dataHome(), set.stateHome()}),
                 QStringList({"/x/cfg", "/h/.cache", "/h/.local/share", "/x/state"}));
        QCOMPARE(set.dataDirs(), QStringList({"/r/opt/share", "/r/usr/share"}));
        QCOMPARE(Places("/h", "/r", {{"XDG_DATA_DIRS", "only/relative"}}).dataDirs(),
                 defaults.dataDirs());
    }

    void parseSizeText_readsToolSizes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("binary");
        QTest::addColumn<qint64>("bytes"); // -1: nothing
        const auto row = [](const char *text, bool binary, qint64 bytes) {
            QTest::newRow(text) << QString::fromUtf8(text) << binary << bytes;
        };
        row("1.5GB", false, 1500000000);
        row("800MB (66%)", false, 800000000);
        row("1.2\u00a0GB", false, 1200000000);
        row("512 kB", false, 512000);
        row("3 KiB", false, 3072);
        row("1.5G", true, 1610612736);
        row("16.0M", true, 16 * kMiB);
        row("0B", false, 0);
        row("12", false, 12);
        row("-1GB", false, -1);
        row("GB", false, -1);
        row("1e9GB", false, -1);
        row("99999999999999TB", false, -1);
        row("3 Ki", false, -1);
    }
    void parseSizeText_readsToolSizes()
    {
        QFETCH(QString, text);
        QFETCH(bool, binary);
        QTEST(parseSizeText(text, binary).value_or(-1), "bytes");
    }

    void parsers_takeOnlyWellFormedLines()
    {
        QCOMPARE(parseDpkgOwners("diversion by x from: /usr/bin/a\n"
                                 "gnome-calculator: /usr/share/applications/a.desktop\n"
                                 "libfoo:amd64, libbar: /usr/share/applications/b.desktop\n"
                                 "-evil: /usr/share/applications/c.desktop\n"
                                 "garbage line\n"),
                 (QHash<QString, QString>{{"/usr/share/applications/a.desktop", "gnome-calculator"},
                                          {"/usr/share/applications/b.desktop", "libfoo"}}));
        QCOMPARE(parseRPMOwners("gimp\nfile /b is not owned by any package\n", {"/a", "/b"}),
                 (QHash<QString, QString>{{"/a", "gimp"}}));
        QCOMPARE(parseRPMOwners("gimp\ngimp-libs\nx\n", {"/a", "/b"}), (QHash<QString, QString>{}));
        QCOMPARE(parseDisabledSnaps("Name Version Rev Tracking Publisher Notes\n"
                                    "core22 2024 1380 latest/stable canonical base,disabled\n"
                                    "core22 2024 1400 latest/stable canonical base\n"
                                    "../x 1 2 latest/stable me disabled\n"
                                    "tool 1 --rev latest/stable me disabled\n")
                     .size(),
                 1);
    }

    // The Linux places, each measured, the tool caches apart, the Trash and what only a command
    // frees shown but never removable; each group largest first.
    void scanLinuxSystemData_listsEachPlaceAndEachCommand()
    {
        Sandbox box;
        MachineBuilder machine(box);
        DesktopMachineBuilder desktop(box, machine);
        QVERIFY(machine.addHomeFolderOfSize(".cache/bigapp", 12 * kMiB));
        QVERIFY(machine.addHomeFolderOfSize(".cache/smallapp", 1 * kMiB));
        QVERIFY(machine.addHomeFolderOfSize(".cache/thumbnails", 11 * kMiB));
        for (const char *cache : {".cache/pip", ".npm/_cacache", ".cargo/registry", "go/pkg/mod",
                                  ".gradle/caches", ".m2/repository", ".cache/JetBrains"})
            QVERIFY(machine.addHomeFolderOfSize(cache, 64 * 1024));
        QVERIFY(machine.addHomeFolderOfSize("Android/Sdk/system-images/android-34", 64 * 1024));
        QVERIFY(machine.addHomeFolderOfSize(".android/avd/Pixel_7.avd", 64 * 1024));
        box.writeFile(box.homePath(".android/avd/Pixel_7.ini"), "x");
        QVERIFY(machine.addHomeFolderOfSize(".local/share/containers/storage", 64 * 1024));
        QVERIFY(machine.addHomeFolderOfSize(".local/share/docker", 64 * 1024));
        QVERIFY(machine.addHomeFolderOfSize(".local/share/Trash/files", 64 * 1024));
        machine.installTool("/usr/bin/journalctl",
                            "Archived and active journals take up 1.5G in the file system.\n");
        machine.installTool("/usr/bin/docker", "Images\t1.2GB (50%)\nContainers\t0B (0%)\n"
                                               "Build Cache\tgarbage\n");
        desktop.installFlatpak("org.gnome.Platform/x86_64/45\t1.1 GB\n"
                               "org.gnome.Platform/x86_64/44\t900 MB\n"
                               "org.gnome.Platform.Locale/x86_64/45\t20 MB\n",
                               "org.gnome.Platform/x86_64/45\n");
        desktop.installSnapTool("Name Version Rev Tracking Publisher Notes\n"
                                "core22 2024 1380 latest/stable canonical base,disabled\n");
        box.writeFileOfSize(box.systemPath("/var/lib/snapd/snaps/core22_1380.snap"), 8192);

        const FileScanner scanner(box.places());
        const QList<FileGroup> groups = scanner.scanLinuxSystemData();
        const QString command = "Only a command can free this. Run: ";
        QCOMPARE(describe(groups, box.home()),
                 QStringList({
                     "systemCaches | bigapp | ~/.cache/bigapp | removable",
                     "systemCaches | Thumbnails | ~/.cache/thumbnails | removable",
                     "packageManagerCache | pip | ~/.cache/pip | removable",
                     "packageManagerCache | npm | ~/.npm/_cacache | removable",
                     "packageManagerCache | Cargo registry | ~/.cargo/registry | removable",
                     "packageManagerCache | Go modules | ~/go/pkg/mod | removable",
                     "packageManagerCache | Gradle | ~/.gradle/caches | removable",
                     "packageManagerCache | Maven | ~/.m2/repository | removable",
                     "packageManagerCache | JetBrains | ~/.cache/JetBrains | removable",
                     "androidImages | System image android-34 | "
                     "~/Android/Sdk/system-images/android-34 | removable",
                     "androidImages | Emulator Pixel_7 | ~/.android/avd/Pixel_7.avd | removable",
                     "containerStorage | Podman | ~/.local/share/containers/storage | removable",
                     "containerStorage | Docker (rootless) | ~/.local/share/docker | removable",
                     "userTrash | Trash | ~/.local/share/Trash | This is your Trash. Empty it from "
                     "your file manager to free this space.",
                     "systemManaged | System journal | " + box.systemPath("/var/log/journal") +
                         " | " + command + "sudo journalctl --vacuum-size=100M",
                     "systemManaged | Docker: unused Images | " +
                         box.systemPath("/var/lib/docker/Images") + " | " + command +
                         "docker system prune",
                     "systemManaged | Unused Flatpak runtime org.gnome.Platform/x86_64/44 | " +
                         box.systemPath("/var/lib/flatpak/runtime/org.gnome.Platform") + " | " +
                         command + "flatpak uninstall --unused",
                     "systemManaged | core22 (disabled revision 1380) | " +
                         box.systemPath("/var/lib/snapd/snaps/core22_1380.snap") + " | " + command +
                         "sudo snap remove core22 --revision=1380",
                 }));
        QCOMPARE(groups.last().totalSize(), 1610612736LL + 1200000000LL + 900000000LL + 8192LL);
        // Nothing unremovable is ever moved.
        const QList<AssociatedFile> managed =
            groups.last().files + groups.at(groups.size() - 2).files;
        QCOMPARE(scanner.moveFilesToTrash(managed).moved, 0);
        QVERIFY(QFileInfo::exists(box.homePath(".local/share/Trash/files")));
    }

    // A Linux npm's global folder is the one "npm root -g" names; Homebrew is found on the Linux
    // prefixes, /opt/homebrew first.
    void npmAndHomebrew_onLinuxPlaces()
    {
        Sandbox box;
        MachineBuilder machine(box);
        const QString global = box.makeDir(box.homePath(".npm-global/lib/node_modules"));
        machine.addNPMPackage(global, "typescript", QString("5.4.5"));
        machine.installTool("/usr/bin/npm", QFile::encodeName(global) + "\n");
        const FileScanner scanner(box.places());
        QCOMPARE(scanner.globalNodeModulesURL(), global);
        QCOMPARE(scanner.listNPMPackages().size(), 1);
        QCOMPARE(machine.toolCalls("/usr/bin/npm").last(), QStringList({"root", "-g"}));
        // The npm that lists the package uninstalls it.
        QVERIFY(scanner.uninstallNPMPackage("typescript").succeeded);
        QCOMPARE(machine.toolCalls("/usr/bin/npm").last(),
                 QStringList({"uninstall", "-g", "typescript"}));
        machine.installTool("/usr/bin/npm", "not a folder\n");
        QCOMPARE(scanner.globalNodeModulesURL(), std::nullopt);

        QCOMPARE(scanner.homebrewPrefix(), box.systemPath("/opt/homebrew"));
        box.writeScript(box.homePath(".linuxbrew/bin/brew"), "exit 0");
        QCOMPARE(scanner.homebrewPrefix(), box.homePath(".linuxbrew"));
        machine.installTool("/home/linuxbrew/.linuxbrew/bin/brew");
        QCOMPARE(scanner.homebrewPrefix(), box.systemPath("/home/linuxbrew/.linuxbrew"));
        machine.installBrew();
        QCOMPARE(scanner.homebrewPrefix(), box.systemPath("/opt/homebrew"));
    }

    // Tools that fail, print nonsense or hang give nothing, and the scan ends; a tool that
    // reports 0 bytes (no journal, nothing reclaimable) gives no entry and no category either.
    void failingEmptyAndHangingTools_giveNothing()
    {
        Sandbox box;
        MachineBuilder machine(box);
        machine.installTool("/usr/bin/journalctl", "take up 1.5G", 1);
        machine.installScriptTool("/usr/bin/docker", "sleep 300");
        machine.installTool("/usr/bin/flatpak", QByteArray(4096, '\xff'));
        machine.installTool("/usr/bin/snap", "disabled disabled disabled\n");
        FileScanner scanner(box.places());
        scanner.setQueryTimeLimit(300);
        QVERIFY(scanner.scanLinuxSystemData().isEmpty());
        QCOMPARE(machine.toolCalls("/usr/bin/docker").size(), 1);

        machine.installTool("/usr/bin/journalctl",
                            "Archived and active journals take up 0B in the file system.\n");
        machine.installTool("/usr/bin/docker", "Images\t0B (0%)\nContainers\t0B\n");
        // Caches holding only what their command keeps, and no core dumps: no entry either.
        for (const char *tool : {"/usr/bin/apt-get", "/usr/bin/dnf", "/usr/bin/pacman"})
            machine.installTool(tool);
        box.writeFile(box.systemPath("/var/cache/apt/archives/lock"), "");
        box.makeDir(box.systemPath("/var/cache/apt/archives/partial"));
        box.writeFileOfSize(box.systemPath("/var/cache/dnf/repo-1/repodata/repomd.xml"), 4096);
        box.writeFileOfSize(box.systemPath("/var/cache/pacman/pkg/a-1-1-any.pkg.tar.zst"), 4096);
        box.makeDir(box.systemPath("/var/lib/pacman/local/a-1-1"));
        box.makeDir(box.systemPath("/var/lib/systemd/coredump"));
        QVERIFY(scanner.scanLinuxSystemData().isEmpty());
        QCOMPARE(scanner.scanSystemData().hiddenCount, 0);
    }

    // What only a root command frees outside the home, where the package tool is installed, as
    // far as the user can read it (apt's partial downloads are root's), without what the
    // command keeps: apt's lock, dnf's metadata, pacman's installed versions, other files.
    void systemCommandCaches_measuredAsTheirCommandFrees()
    {
        const auto found = [](const FileScanner &scanner) {
            QStringList lines;
            for (const AssociatedFile &file : scanner.scanSystemCommandCaches())
                lines << QStringLiteral("%1 | %2 | %3 | %4")
                             .arg(file.name, scanner.places().systemRelative(file.path))
                             .arg(file.size)
                             .arg(file.unremovableReason.section("Run: ", 1));
            return lines;
        };
        // Listed files count their length, walked folders their allocation.
        const auto expected = [](const QString &root, bool readsAll) {
            const auto allocated = [&root](const char *path) {
                return MachineFolder::allocatedSize(root + QLatin1String(path));
            };
            const qint64 apt =
                50000 + (readsAll ? allocated("/var/cache/apt/archives/partial/c_3_all.deb") : 0);
            const qint64 dnf = allocated("/var/cache/dnf/fedora-1a2b/packages/x-1.0-1.x86_64.rpm");
            const qint64 dumps = allocated("/var/lib/systemd/coredump/core.app.1000.zst");
            return QStringList{
                u"APT downloaded packages | /var/cache/apt/archives | %1 | sudo apt-get clean"_s
                    .arg(apt),
                u"DNF downloaded packages | /var/cache/dnf | %1 | "
                "sudo dnf clean packages"_s.arg(dnf),
                "pacman packages no longer installed | /var/cache/pacman/pkg | 27500 | "
                "sudo pacman -Sc",
                u"Core dumps | /var/lib/systemd/coredump | %1 | sudo find "
                "/var/lib/systemd/coredump -type f -delete"_s.arg(dumps),
                "Core dumps | /cores | 9000 | sudo find /cores -type f -name 'core.*' -delete"};
        };
        if (isUnprivilegedChild()) {
            QVERIFY(::geteuid() != 0);
            const QString root = qEnvironmentVariable("VERLO_ROOT");
            QCOMPARE(found(FileScanner(Places(qEnvironmentVariable("VERLO_HOME"), root))),
                     expected(root, false));
            return;
        }
        Sandbox box;
        MachineBuilder machine(box);
        for (const char *tool : {"/usr/bin/apt-get", "/usr/bin/dnf", "/usr/bin/pacman"})
            machine.installTool(tool);
        box.makeDir(box.systemPath("/var/lib/pacman/local/foo-1.0-1"));
        const std::pair<const char *, qint64> files[] = {
            {"/var/cache/apt/archives/a_1_amd64.deb", 30000},
            {"/var/cache/apt/archives/b_2_all.deb", 20000},
            {"/var/cache/apt/archives/lock", 100},
            {"/var/cache/apt/archives/partial/c_3_all.deb", 5000},
            {"/var/cache/dnf/fedora-1a2b/packages/x-1.0-1.x86_64.rpm", 12000},
            {"/var/cache/dnf/fedora-1a2b/repodata/primary.xml", 4000},
            {"/var/cache/pacman/pkg/foo-1.0-1-x86_64.pkg.tar.zst", 20000},
            {"/var/cache/pacman/pkg/foo-0.9-1-x86_64.pkg.tar.zst", 20000},
            {"/var/cache/pacman/pkg/foo-0.9-1-x86_64.pkg.tar.zst.sig", 500},
            {"/var/cache/pacman/pkg/bar-2.0-3-any.pkg.tar.xz", 7000},
            {"/var/cache/pacman/pkg/download-x1/part", 4000},
            {"/var/lib/systemd/coredump/core.app.1000.zst", 16000},
            {"/cores/core.4242", 9000},
            {"/cores/notes.txt", 4000}};
        for (const auto &[path, size] : files)
            box.writeFileOfSize(box.systemPath(path), size);
        const QByteArray partial =
            QFile::encodeName(box.systemPath("/var/cache/apt/archives/partial"));
        QCOMPARE(::chmod(partial.constData(), 0), 0);
        QByteArray output;
        const int status = runTestFunctionAsUnprivileged(
            QString::fromLatin1(QTest::currentTestFunction()),
            {{"VERLO_HOME", box.home()}, {"VERLO_ROOT", box.root()}}, &output);
        QVERIFY2(status == 0, output.constData());
        // Root reads everything, and the entries join the commands' category.
        if (::geteuid() == 0) {
            const FileScanner scanner(box.places());
            QCOMPARE(found(scanner), expected(box.root(), true));
            QCOMPARE(scanner.scanLinuxSystemData().value(0).files.size(), 5);
        }
    }
};

QTEST_GUILESS_MAIN(LinuxSystemDataTest)
#include "tst_linuxsystemdata.moc"

// The Linux half of the sample machine: desktop applications of every kind with their icons and
// what they left, Flatpak and Snap installations whose stand-in tools really uninstall,
// packaged applications that dpkg-query knows (a browser with two web applications), and Linux
// system data (with an apt cache and a core dump under the machine's root).

#include "demo/DesktopMachineBuilder.h"

namespace {

constexpr qint64 kMiB = 1024 * 1024;

} // namespace

bool addLinuxHalf(const MachineFolder &s, const MachineBuilder &m)
{
    const DesktopMachineBuilder d(s, m);
    const QString home = s.home();
    d.addFlatpak(QStringLiteral("org.example.Sketchbook"), QStringLiteral("Sketchbook"), true);
    d.addFlatpak(QStringLiteral("org.example.Podcasts"), QStringLiteral("Podcasts"), false);
    d.addSnap(QStringLiteral("tunebox"), QStringLiteral("TuneBox"));
    const QString appImage =
        d.addAppImage(QStringLiteral("Applications/Drawbridge-2.4.1-x86_64.AppImage"));
    d.addDesktopEntry(d.userData(), QStringLiteral("appimagekit_7c1-Drawbridge.desktop"),
                      QStringLiteral("Drawbridge"), appImage + QStringLiteral(" %U"),
                      {{QStringLiteral("Icon"), QStringLiteral("appimagekit_7c1_drawbridge")}});
    d.addIcon(d.userData(), QStringLiteral("appimagekit_7c1_drawbridge"),
              QStringLiteral("256x256"));
    d.addAppImage(QStringLiteral(".local/bin/Quickshot-0.9.AppImage"));
    s.writeFileOfSize(s.homePath(QStringLiteral(".local/opt/ledger/bin/ledger")), 2 * kMiB);
    d.addDesktopEntry(d.userData(), QStringLiteral("ledger.desktop"), QStringLiteral("Ledger"),
                      home + QStringLiteral("/.local/opt/ledger/bin/ledger"),
                      {{QStringLiteral("Icon"), QStringLiteral("ledger")}});
    d.addIcon(d.userData(), QStringLiteral("ledger"), QStringLiteral("scalable"));
    d.addDesktopEntry(d.systemData(), QStringLiteral("org.example.Calculator.desktop"),
                      QStringLiteral("Calculator"), QStringLiteral("example-calculator"),
                      {{QStringLiteral("Icon"), QStringLiteral("org.example.Calculator")}});
    d.addIcon(d.systemData(), QStringLiteral("org.example.Calculator"), QStringLiteral("128x128"));
    // A packaged browser and two web applications of it, each a row of its own.
    d.addDesktopEntry(d.systemData(), QStringLiteral("org.example.Browser.desktop"),
                      QStringLiteral("Browser"), QStringLiteral("example-browser %U"));
    for (const QString &app : {QStringLiteral("Mail"), QStringLiteral("Tasks")})
        d.addDesktopEntry(d.userData(), QStringLiteral("browser-%1-Default.desktop").arg(app), app,
                          QStringLiteral("/usr/bin/example-browser --profile-directory=Default "
                                         "--app-id=%1")
                              .arg(app.toLower()));
    d.installDpkgQuery(
        {{QStringLiteral("/usr/share/applications/org.example.Calculator.desktop"),
          QStringLiteral("example-calculator")},
         {QStringLiteral("/usr/share/applications/org.example.Browser.desktop"),
          QStringLiteral("example-browser")}},
        {{QStringLiteral("example-calculator"), QStringLiteral("example-calculator")},
         {QStringLiteral("example-browser"), QStringLiteral("example-browser")}});
    // The packages' programs, which the entries start.
    // And the tools whose caches and data the System Data sample holds.
    for (const char *program : {"example-calculator", "example-browser", "pip3", "pipx", "podman",
                                "adb", "steam", "orbctl"})
        s.writeScript(s.systemPath(QStringLiteral("/usr/bin/") + QLatin1String(program)),
                      QStringLiteral("exit 0"));
    d.installFlatpak(QStringLiteral("org.example.Platform/x86_64/23.08\t620 MB\n"
                                    "org.example.Platform/x86_64/22.08\t540 MB\n"),
                     QStringLiteral("org.example.Platform/x86_64/23.08\n"));
    d.installSnapTool(QStringLiteral("Name Version Rev Tracking Publisher Notes\n"
                                     "tunebox 1.8 41 latest/stable example -\n"
                                     "tunebox 1.7 38 latest/stable example disabled\n"));
    s.writeFileOfSize(s.systemPath(QStringLiteral("/var/lib/snapd/snaps/tunebox_38.snap")),
                      3 * kMiB);
    m.installTool(QStringLiteral("/usr/bin/journalctl"),
                  "Archived and active journals take up 312.0M in the file system.\n");

    // What they left behind.
    const auto data = [&](const QString &relative, qint64 size) {
        s.writeFileOfSize(s.homePath(relative), size);
    };
    data(QStringLiteral(".var/app/org.example.Sketchbook/config/settings.ini"), 8 * 1024);
    data(QStringLiteral(".var/app/org.example.Sketchbook/data/brushes.db"), 3 * kMiB);
    data(QStringLiteral(".var/app/org.example.Podcasts/cache/episodes.db"), 6 * kMiB);
    data(QStringLiteral("snap/tunebox/41/library.db"), 4 * kMiB);
    data(QStringLiteral(".config/tunebox/settings.json"), 2 * 1024);
    data(QStringLiteral(".config/Drawbridge/config.json"), 4 * 1024);
    data(QStringLiteral(".cache/Drawbridge/GPUCache/data_0"), 5 * kMiB);
    data(QStringLiteral(".config/ledger/ledger.conf"), 1024);
    data(QStringLiteral(".local/state/ledger/history"), 300 * 1024);
    data(QStringLiteral(".config/autostart/ledger.desktop"), 200);
    data(QStringLiteral(".config/systemd/user/ledger-sync.service"), 300);
    data(QStringLiteral(".cache/example-calculator/history"), 20 * 1024);
    data(QStringLiteral(".config/example-browser/Default/History"), 2 * kMiB);

    // System data: per-program caches, tool caches, Android images, containers, the Trash.
    bool exact = true;
    const auto folder = [&](const QString &relative, qint64 bytes) {
        exact = m.addHomeFolderOfSize(relative, bytes) && exact;
    };
    folder(QStringLiteral(".cache/thumbnails"), 24 * kMiB);
    folder(QStringLiteral(".cache/mozilla"), 64 * kMiB);
    folder(QStringLiteral(".cache/pip"), 48 * kMiB);
    folder(QStringLiteral(".cargo/registry"), 80 * kMiB);
    folder(QStringLiteral("go/pkg/mod"), 36 * kMiB);
    folder(QStringLiteral("Android/Sdk/system-images/android-34"), 90 * kMiB);
    folder(QStringLiteral(".android/avd/Pixel_8.avd"), 40 * kMiB);
    folder(QStringLiteral(".local/share/containers/storage"), 110 * kMiB);
    folder(QStringLiteral(".local/share/Trash/files"), 12 * kMiB);

    // What only a root command frees: apt's downloaded packages and a stored core dump.
    m.installTool(QStringLiteral("/usr/bin/apt-get"));
    for (const auto &[package, size] :
         {std::pair{"libreoffice-core_7.4.7-1_amd64.deb", 38 * kMiB},
          std::pair{"firmware-misc-nonfree_20230210-5_all.deb", 22 * kMiB},
          std::pair{"linux-image-6.1.0-18-amd64_6.1.76-1_amd64.deb", 64 * kMiB}})
        s.writeFileOfSize(
            s.systemPath(QStringLiteral("/var/cache/apt/archives/") + QLatin1String(package)),
            size);
    s.writeFile(s.systemPath(QStringLiteral("/var/cache/apt/archives/lock")), {});
    s.writeFileOfSize(s.systemPath(QStringLiteral("/var/lib/systemd/coredump/"
                                                  "core.ledger.1000.3f2a.1710412345000000.zst")),
                      9 * kMiB);
    // The user's own folders, and a project no category names: Your Files and Large Folders.
    s.writeFile(s.homePath(QStringLiteral(".config/user-dirs.dirs")),
                "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\nXDG_PICTURES_DIR=\"$HOME/Pictures\"\n");
    folder(QStringLiteral("Documents/Taxes 2025"), 6 * kMiB);
    folder(QStringLiteral("Pictures/Holiday"), 18 * kMiB);
    folder(QStringLiteral("Projects/website/node_modules"), 96 * kMiB);
    folder(QStringLiteral("Projects/website/.git"), 14 * kMiB);
    folder(QStringLiteral("Projects/notes"), 2 * kMiB);
    return exact;
}

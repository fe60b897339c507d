// What is offered belongs to the chosen item, and a move acts on exactly what was listed.
#include "scanner/FileScanner.h"
#include "scanner/Trash.h"
#include "tests/support/Sandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

namespace {

// Other programs' files in a home that looks like a real one: a searched folder and its entries
// (", " between them; a folder ends in "/").
const std::pair<const char *, const char *> kOtherPrograms[] = {
    {"",
     ".ssh/, .gnupg/, .bashrc, .bash_history, .zshrc, .profile, .gitconfig, .Xauthority, "
     ".xinitrc, .Xresources, .rustup/, .cargo/, .docker/, .kube/, .aws/, .vscode/, .mozilla/, "
     ".thunderbird/, .python_history, .lesshst, .viminfo, .vim/, .wget-hsts, .sqlite_history, "
     ".gradle/, .m2/, .android/, .dotnet/, .gemrc, .psql_history, .node_repl_history, .yarnrc, "
     ".condarc, .jupyter/, .ipython/, .terraform.d/, .minikube/, .pyenv/, .sdkman/, .oh-my-zsh/, "
     ".tmux.conf, .inputrc, .pki/, .steam/, .xsession-errors"},
    {".config/",
     "rclone/, google-chrome/, gh/, htop/, pulse/, dconf/, gtk-3.0/, fontconfig/, nautilus/, "
     "libreoffice/, VirtualBox/, Slack/, discord/, spotify/, obs-studio/, JetBrains/, "
     "mimeapps.list, user-dirs.dirs, gcloud/, Signal/, Bitwarden/, sticky-notes/, vlc/, gimp/, "
     "inkscape/, Mailspring/"},
    {".cache/",
     "mozilla/, google-chrome/, pip/, yarn/, thumbnails/, mesa_shader_cache/, gstreamer-1.0/, "
     "JetBrains/, typescript/, node-gyp/, tracker3/, ms-playwright/, pre-commit/, black/, mypy/, "
     "ruff/, huggingface/, deno/, ccache/"},
    {".local/share/",
     "recently-used.xbel, keyrings/, gvfs-metadata/, nautilus/, gnome-shell/, Steam/, "
     "TelegramDesktop/, DBeaverData/, nvim/, zoxide/, fish/, mime/, xorg/, webkitgtk/, vulkan/"},
    {"Library/Preferences/",
     "com.apple.Safari.plist, com.apple.finder.plist, com.apple.dock.plist, com.apple.TCC.plist, "
     "com.apple.Notes.plist, com.google.Chrome.plist, com.google.Keystone.Agent.plist, "
     "com.spotify.client.plist, com.tinyspeck.slackmacgap.plist, com.apple.dt.Xcode.plist, "
     "org.xquartz.X11.plist, org.rstudio.RStudio.plist, com.krill.CodeRunner.plist, "
     "com.readdle.smartemail-Mac.plist, com.getmailspring.Mailspring.plist, "
     "com.acme.StickyNotes.plist, .GlobalPreferences.plist, pbs.plist, "
     "com.apple.xpc.activity2.plist, com.acme.Sync.plist, com.acme.Player.plist, "
     "com.acme.agent.plist, com.acme.Updater.plist"},
    {"Library/Application Support/",
     "Google/, Slack/, Spotify/, RStudio/, CodeRunner/, Mailspring/, Sticky Notes/, "
     "com.apple.TCC/, CrashReporter/, Xcode/, AddressBook/, CloudDocs/, Firefox/, Microsoft/, "
     "JetBrains/, Caches/, iCloud/, Knowledge/, com.apple.sharedfilelist/, MobileSync/, "
     "com.acme.Player/, com.acme.Updater/"},
    {"Library/Caches/",
     "Google/, com.google.Chrome/, com.spotify.client/, com.tinyspeck.slackmacgap/, "
     "com.apple.dt.Xcode/, org.rstudio.RStudio/, com.krill.CodeRunner/, "
     "com.getmailspring.Mailspring/, com.apple.Safari/, com.apple.Notes/, Homebrew/, pip/, "
     "node-gyp-x86_64/, com.apple.nsurlsessiond/, GoogleSoftwareUpdate/, com.acme.StickyNotes/, "
     "Yarn/, com.apple.iconservices/, com.acme.Sync/, com.acme.Vault/, com.acme.Notary/"},
    {"Library/Logs/",
     "DiagnosticReports/, GoogleSoftwareUpdateAgent.log, Slack/, CodeRunner/, X11/, Mailspring/, "
     "com.apple.xpc.launchd/"},
    {"Library/Containers/",
     "com.apple.Notes/, com.apple.mail/, com.apple.Safari/, com.apple.TextEdit/, "
     "com.apple.Stickies/, com.apple.Maps/, com.acme.Vault/, com.acme.Notary/"},
    {"Library/LaunchAgents/",
     "com.google.keystone.agent.plist, com.google.GoogleUpdater.wake.plist, "
     "com.spotify.webhelper.plist, org.xquartz.startx.plist, homebrew.mxcl.postgresql.plist, "
     "com.acme.Player.agent.plist"},
};

// Installed applications besides the chosen ones: their files above must stay theirs.
const std::tuple<const char *, const char *, const char *> kInstalled[] = {
    {"Google Chrome", "com.google.Chrome", "/Applications/Google Chrome.app"},
    {"Slack", "com.tinyspeck.slackmacgap", "/Applications/Slack.app"},
    {"Spotify", "com.spotify.client", "/Applications/Spotify.app"},
    {"Xcode", "com.apple.dt.Xcode", "/Applications/Xcode.app"},
    {"RStudio", "org.rstudio.RStudio", "/Applications/RStudio.app"},
    {"XQuartz", "org.xquartz.X11", "/Applications/Utilities/XQuartz.app"},
    {"CodeRunner", "com.krill.CodeRunner", "/Applications/CodeRunner.app"},
    {"Mailspring", "com.getmailspring.Mailspring", "/Applications/Mailspring.app"},
    {"Sticky Notes", "com.acme.StickyNotes", "/Applications/Sticky Notes.app"},
    {"Notes", "com.apple.Notes", "/System/Applications/Notes.app"},
};

QStringList offeredPaths(const QList<FileGroup> &groups, const QString &home)
{
    QStringList paths;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files)
            paths.append(QDir(home).relativeFilePath(file.path));
    }
    paths.sort();
    return paths;
}

} // namespace

class TrustTest : public QObject
{
    Q_OBJECT

private slots:
    // Short names, vendor-only identifiers, names inside other names, names of searched folders
    // and vendors' names reach nothing of the 192 entries other programs keep (a dozen of them
    // one vendor's), and still find the chosen item's own files by its full name or identifier.
    void findAssociatedFiles_offersNothingOfOtherPrograms_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("identifier"); // empty: none
        QTest::addColumn<QStringList>("own");    // home-relative, created, must be offered
        // clang-format off
        QTest::newRow("S") << "S" << "" << QStringList{"Library/Application Support/S"};
        QTest::newRow("R") << "R" << "org.R-project.R"
            << QStringList{"Library/Preferences/org.R-project.R.plist"};
        QTest::newRow("X") << "X" << "" << QStringList{".config/X"};
        QTest::newRow("Go") << "Go" << "" << QStringList{".config/go", "Library/Caches/go-build"};
        QTest::newRow("Code") << "Code" << "com.visualstudio.code.oss"
            << QStringList{"Library/Application Support/Code"};
        QTest::newRow("Mail") << "Mail" << "com.apple.mail" << QStringList{
            "Library/Containers/com.apple.mail", "Library/Preferences/com.apple.mail.plist"};
        QTest::newRow("Notes") << "Notes" << "com.apple.Notes" << QStringList{
            "Library/Caches/com.apple.Notes", "Library/Containers/com.apple.Notes",
            "Library/Preferences/com.apple.Notes.plist"};
        QTest::newRow("com") << "Zyx" << "com" << QStringList{};
        QTest::newRow("com.apple") << "Qwv" << "com.apple" << QStringList{};
        QTest::newRow("Acme") << "Acme" << "" << QStringList{"Library/Containers/Acme"};
        QTest::newRow("Acme agent") << "Acme Studio" << "com.acme.studio.agent"
            << QStringList{"Library/Caches/com.acme.studio.agent", "Library/Logs/studio-agent.log"};
        // Its files are in the home already; a vendor part counts along with all the others.
        QTest::newRow("Chrome") << "Google Chrome" << "com.google.Chrome" << QStringList{
            ".cache/google-chrome", ".config/google-chrome", "Library/Caches/com.google.Chrome",
            "Library/Preferences/com.google.Chrome.plist"};
        QTest::newRow("Apple") << "Apple" << "" << QStringList{};
        QTest::newRow("GNOME") << "GNOME" << "" << QStringList{};
        QTest::newRow("Preferences") << "Preferences" << ""
            << QStringList{"Library/Containers/Preferences"};
        for (const char *place : {"WebKit", "config", "cache", "share", "icons"})
            QTest::newRow(place) << place << "" << QStringList{};
        // clang-format on
    }
    void findAssociatedFiles_offersNothingOfOtherPrograms()
    {
        QFETCH(QString, name);
        QFETCH(QString, identifier);
        QFETCH(QStringList, own);
        Sandbox box;
        int others = 0;
        for (const auto &[folder, entries] : kOtherPrograms) {
            for (const QString &entry : QString::fromUtf8(entries).split(", ")) {
                const QString path = box.homePath(folder + entry);
                path.endsWith('/') ? box.makeDir(path.chopped(1)) : box.writeFile(path, "x");
                ++others;
            }
        }
        QCOMPARE(others, 192);
        for (const QString &path : own)
            box.makeDir(box.homePath(path));
        QList<AppInfo> installed;
        for (const auto &[appName, id, path] : kInstalled)
            installed.append(AppInfo(appName, QString(id), box.systemPath(path)));
        const std::optional<QString> id =
            identifier.isEmpty() ? std::nullopt : std::optional<QString>(identifier);
        installed.append(AppInfo(name, id, box.systemPath("/Applications/" + name + ".app")));

        const QList<FileGroup> groups =
            FileScanner(box.places()).findAssociatedFiles(id, name, std::nullopt, installed);
        QCOMPARE(offeredPaths(groups, box.home()), own);
    }

    // A link that makes a searched folder or the Trash part of another folder protects that
    // folder too, and no Trash is offered; an application's own container stays removable.
    void findAssociatedFiles_protectsFoldersByWhatTheyAre()
    {
        Sandbox box;
        box.makeDir(box.homePath(".dotfiles/config/nvim"));
        box.makeSymlink(box.homePath(".dotfiles/config"), box.homePath(".config"));
        box.makeDir(box.homePath("Library/Application Support/MobileSync/Backup/1234"));
        box.makeDir(box.homePath(".xdg/Trash/files"));
        box.makeDir(box.homePath(".Trash-1000/files/notes")); // the home's file system's own
        box.makeDir(box.homePath(".xdg/Trash/files/cache/relic"));
        box.makeSymlink(box.homePath(".xdg/Trash/files/cache"), box.homePath(".cache"));
        box.makeDir(box.homePath("Library/Containers/com.docker.docker/Data/vms"));
        const FileScanner scanner(
            Places(box.home(), box.root(), {{"XDG_DATA_HOME", box.homePath(".xdg")}}));
        const auto found = [&](const char *name,
                               const std::optional<QString> &identifier = std::nullopt) {
            return offeredPaths(scanner.findAssociatedFiles(identifier, name, std::nullopt),
                                box.home());
        };
        for (const char *name : {"dotfiles", "MobileSync", "xdg", "Trash", "relic"})
            QCOMPARE(name + found(name).join(','), QString(name));
        QCOMPARE(found("Docker", "com.docker.docker"),
                 QStringList{"Library/Containers/com.docker.docker"});
    }

    // Two names that differ only in bytes that are not UTF-8 read alike: one row, shown as not
    // removable, and neither item is ever moved.
    void inexactNames_areListedOnceAndNeverMoved()
    {
        Sandbox box;
        const QByteArray apps = QFile::encodeName(box.makeDir(box.systemPath("/Applications")));
        const QByteArray caches = QFile::encodeName(box.makeDir(box.homePath("Library/Caches")));
        const QByteArray paths[] = {apps + "/Foo\xff.app", apps + "/Foo\xef\xbf\xbd.app",
                                    caches + "/Foo\xff", caches + "/Foo\xef\xbf\xbd"};
        for (const QByteArray &path : paths)
            QCOMPARE(::mkdir(path.constData(), 0755), 0);

        const FileScanner scanner(box.places());
        const QList<AppInfo> listed = scanner.scanApplications();
        QCOMPARE(listed.size(), 1);
        const QList<FileGroup> groups =
            scanner.findAssociatedFiles(std::nullopt, listed[0].name, listed[0].path);
        QCOMPARE(groups.size(), 2);
        const QList<AssociatedFile> files = groups[0].files + groups[1].files;
        QStringList rows;
        for (const AssociatedFile &file : files)
            rows.append(caseName(file.category) + ": " + file.unremovableReason);
        const QString reason =
            "Its name is not valid text, so Verlo cannot tell it apart from other items";
        QCOMPARE(rows, (QStringList{"appBundle: " + reason, "caches: " + reason}));
        const TrashResult result = scanner.moveFilesToTrash(files);
        QCOMPARE(result.moved, 0);
        QCOMPARE(result.failures.size(), 2);
        QCOMPARE(Trash(box.home()).moveToTrash(listed[0].path), reason);
        struct stat st;
        for (const QByteArray &path : paths)
            QVERIFY2(::lstat(path.constData(), &st) == 0, path.constData());
    }

    // What was listed is what moves: a folder swapped for a link, or an item swapped for another,
    // between the scan and the move stays where it is.
    void moveFilesToTrash_leavesWhatChangedSinceItWasListed()
    {
        Sandbox box;
        box.writeFile(box.homePath("Library/Caches/Forge/listed"), "listed");
        box.writeFile(box.homePath("Library/Caches/Forge Data/listed"), "listed");
        box.writeFile(box.base() + "/elsewhere/Forge/other", "other");
        const FileScanner scanner(box.places());
        // One caches group: the named place, then the other entry of the folder.
        const QList<AssociatedFile> listed =
            scanner.findAssociatedFiles(std::nullopt, "Forge", {}).value(0).files;
        const AssociatedFile cache = listed.value(0), data = listed.value(1);
        QCOMPARE((QStringList{cache.path, data.path}),
                 (QStringList{box.homePath("Library/Caches/Forge"),
                              box.homePath("Library/Caches/Forge Data")}));
        QVERIFY(cache.identity.isValid() && data.identity.isValid());

        QVERIFY(QDir().rename(box.homePath("Library/Caches"), box.homePath("Library/Caches.old")));
        box.makeSymlink(box.base() + "/elsewhere", box.homePath("Library/Caches"));
        TrashResult result = scanner.moveFilesToTrash({cache});
        QCOMPARE(result.moved, 0);
        QCOMPARE(result.failures.value(0).error, QString("Changed since it was listed"));
        QVERIFY(QFileInfo::exists(box.base() + "/elsewhere/Forge/other"));

        // Back in place, the listed item moves; one replaced by a link to it does not.
        QVERIFY(QFile::remove(box.homePath("Library/Caches")));
        QVERIFY(QDir().rename(box.homePath("Library/Caches.old"), box.homePath("Library/Caches")));
        QVERIFY(QDir().rename(box.homePath("Library/Caches/Forge Data"), box.base() + "/moved"));
        box.makeSymlink(box.base() + "/moved", box.homePath("Library/Caches/Forge Data"));
        result = scanner.moveFilesToTrash({cache, data});
        QCOMPARE(result.moved, 1);
        QCOMPARE(result.failures.value(0).file.path, data.path);
        QVERIFY(!QFileInfo::exists(cache.path) && QFileInfo(data.path).isSymLink());
    }

    // A System Data entry that is a link is measured as the link it is: only the link moves.
    void systemData_measuresATopLevelLinkAsTheLink()
    {
        Sandbox box;
        box.writeFileOfSize(box.base() + "/disk/DerivedData/big", 3 * 1024 * 1024);
        const QString target = box.base() + "/disk/DerivedData";
        box.makeSymlink(target, box.homePath("Library/Developer/Xcode/DerivedData"));
        box.makeSymlink("/", box.homePath("Library/Caches/root-link"));
        box.writeFileOfSize(box.homePath("Library/Caches/real/big"), 11 * 1024 * 1024);
        const FileScanner scanner(box.places());
        const QList<FileGroup> xcode = scanner.scanXcodeData();
        QCOMPARE(xcode.size(), 1);
        QCOMPARE(xcode[0].files[0].size, qint64(QFile::encodeName(target).size()));
        const QList<FileGroup> caches = scanner.scanCachesAndLogs().value();
        QCOMPARE(caches.size(), 1);
        QCOMPARE(caches[0].files.size(), 1); // the link to "/" is no 10 MB cache
        QCOMPARE(caches[0].files[0].name, QString("real"));
    }
};

QTEST_GUILESS_MAIN(TrustTest)
#include "tst_trust.moc"

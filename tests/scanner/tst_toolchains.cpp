#include "demo/MachineBuilder.h"
#include "scanner/FileScanner.h"
#include "scanner/ToolchainFiles.h"
#include "tests/support/Sandbox.h"

#include <QTest>

namespace {

constexpr qint64 kBlock = 4096;

// "name | path | size in blocks | in use, the removal command, or Trash", sorted by name; the
// category of every group first.
QStringList describe(const QList<FileGroup> &groups, const Sandbox &box)
{
    QStringList out;
    for (const FileGroup &group : groups) {
        out.append(caseName(group.category));
        for (const AssociatedFile &file : group.files) {
            const QString removal = !file.isRemovable()         ? file.unremovableReason
                                    : file.isRemovedByCommand() ? file.removalCommand.join(' ')
                                                                : QStringLiteral("Trash");
            out.append(QStringLiteral("%1 | %2 | %3 | %4")
                           .arg(file.name, file.path, QString::number(file.size / kBlock), removal)
                           .replace(box.home(), "~")
                           .replace(box.root(), ""));
        }
    }
    out.sort();
    return out;
}

} // namespace

class ToolchainsTest : public QObject
{
    Q_OBJECT

private slots:
    void toolchainFiles_tellTheVersionInUse()
    {
        QCOMPARE(rustupDefaultToolchain("version = \"12\"\ndefault_toolchain = \"stable-x86_64-"
                                        "unknown-linux-gnu\"\n[overrides]\n"),
                 "stable-x86_64-unknown-linux-gnu");
        QCOMPARE(rustupDefaultToolchain("profile = \"default\"\n"), std::nullopt);
        QCOMPARE(parseRustupDefaultOutput("nightly-x86_64-unknown-linux-gnu (default)\n"),
                 "nightly-x86_64-unknown-linux-gnu");
        QCOMPARE(parseRustupDefaultOutput("no default toolchain is configured\n"), std::nullopt);
        QCOMPARE(parseRustupDefaultOutput("error: rustup could not choose a version\n"),
                 std::nullopt);
        QVERIFY(isRustupDefault("stable-x86_64-unknown-linux-gnu", "stable"));
        QVERIFY(!isRustupDefault("stable-x86_64", "stab") && !isRustupDefault("stable", ""));
        QCOMPARE(pyenvGlobalVersions("3.12.1 3.11.7\n# 2.7.18\nsystem\n"),
                 QStringList({"3.12.1", "3.11.7"}));
        const SteamManifest game =
            parseSteamManifest("\"AppState\"\n{\n\t\"appid\"\t\"620\"\n\t\"name\"\t\t\"Portal "
                               "2\"\n\t\"installdir\"\t\t\"Portal 2\"\n\t\"UserConfig\"\n\t{\n"
                               "\t\t\"name\"\t\t\"other\"\n\t}\n}\n");
        QCOMPARE(game.name + '|' + game.installDir, "Portal 2|Portal 2");

        // nvm's default alias, through other aliases, to the newest installed match.
        const QStringList installed{"v18.17.1", "v18.19.0", "v20.11.0", "v8.17.0"};
        const std::pair<QMap<QString, QString>, std::optional<QString>> aliases[] = {
            {{{"default", "lts/*"}, {"lts/*", "lts/iron"}, {"lts/iron", "v20.11.0"}}, "v20.11.0"},
            {{{"default", "18"}}, "v18.19.0"},
            {{{"default", "8\n"}}, "v8.17.0"},
            {{{"default", "node"}}, "v20.11.0"},
            {{{"default", "a"}, {"a", "b"}, {"b", "a"}}, std::nullopt},
            {{{"default", "system"}}, std::nullopt},
            {{{"default", "v16.0.0"}}, std::nullopt},
            {{}, std::nullopt},
        };
        for (const auto &[files, expected] : aliases) {
            const QMap<QString, QString> &aliasFiles = files;
            const auto read = [&](const QString &name) -> std::optional<QString> {
                return aliasFiles.contains(name) ? std::optional(aliasFiles.value(name))
                                                 : std::nullopt;
            };
            QCOMPARE(resolveNvmDefault(read, installed), expected);
        }
    }

    // A machine with each kind of toolchain: one row per version, the one in use never
    // removable, the others with their tool's command where it is installed, else the Trash.
    void scanToolchains_listsEachVersionWithItsRemoval()
    {
        Sandbox box;
        MachineBuilder machine(box);
        const auto folder = [&](const QString &relative, int blocks) {
            QVERIFY(machine.addHomeFolderOfSize(relative, blocks * kBlock));
        };
        box.writeFile(box.homePath(".rustup/settings.toml"), "default_toolchain = \"stable\"\n");
        folder(".rustup/toolchains/stable-x86_64-unknown-linux-gnu", 40);
        folder(".rustup/toolchains/nightly-x86_64-unknown-linux-gnu", 30);
        box.makeSymlink(box.homePath("src/rust/build"), box.homePath(".rustup/toolchains/mine"));
        machine.installTool("/usr/bin/rustup");
        box.writeFile(box.homePath(".pyenv/version"), "3.12.1\n");
        folder(".pyenv/versions/3.12.1", 20);
        folder(".pyenv/versions/3.11.7", 21);
        box.makeSymlink(box.homePath(".pyenv/versions/3.11.7/envs/web"),
                        box.homePath(".pyenv/versions/web"));
        box.writeScript(box.homePath(".pyenv/bin/pyenv"), "exit 0");
        box.writeFile(box.homePath(".nvm/alias/default"), "lts/iron");
        box.writeFile(box.homePath(".nvm/alias/lts/iron"), "v20.11.0");
        folder(".nvm/versions/node/v20.11.0", 10);
        folder(".nvm/versions/node/v18.19.0", 11);
        folder(".sdkman/candidates/java/21.0.2-tem", 12);
        folder(".sdkman/candidates/java/17.0.9-tem", 13);
        box.makeSymlink(box.homePath(".sdkman/candidates/java/21.0.2-tem"),
                        box.homePath(".sdkman/candidates/java/current"));
        folder("miniconda3/conda-meta", 1);
        folder("miniconda3/lib", 14);
        box.writeScript(box.homePath("miniconda3/bin/conda"), "exit 0");
        folder("miniconda3/envs/ml", 15);
        folder("miniconda3/pkgs", 16);
        folder(".local/share/pipx/venvs/black", 2);
        machine.installTool("/usr/bin/pipx");
        folder(".virtualenvs/site", 3);
        folder("Android/Sdk/platforms/android-34", 4);
        folder("Android/Sdk/build-tools/34.0.0", 5);
        folder(".local/share/JetBrains/Toolbox/apps/IDEA-U/ch-0/233.1", 6);
        folder(".local/share/JetBrains/Toolbox/apps/IDEA-U/ch-0/233.1.plugins", 1);
        folder(".local/share/JetBrains/Toolbox/apps/pycharm-community", 7);
        folder(".local/share/flatpak/app/org.example.Notes", 8);
        folder(".local/share/flatpak/runtime/org.example.Platform/x86_64/23.08", 9);
        machine.installTool("/usr/bin/flatpak");
        box.writeFile(
            box.homePath(".local/share/Steam/steamapps/appmanifest_620.acf"),
            "\"AppState\"\n{\n\t\"name\"\t\t\"Portal 2\"\n\t\"installdir\"\t\t\"P2\"\n}\n");
        folder(".local/share/Steam/steamapps/common/P2", 17);
        folder(".local/share/Steam/steamapps/common/Unlisted", 18);
        // Debian's Steam folder reached through a link: its games count once.
        box.makeSymlink(box.homePath(".local/share/Steam"),
                        box.homePath(".steam/debian-installation"));

        FileScanner scanner(box.places());
        const QList<FileGroup> groups = scanner.scanToolchains();
        const QString apps = "~/.local/share/JetBrains/Toolbox/apps/";
        const QString steam = "~/.local/share/Steam/steamapps/common/";
        const QString flatpak = "/usr/bin/flatpak uninstall --noninteractive --user ";
        const QString conda = "~/miniconda3/bin/conda ";
        QCOMPARE(describe(groups, box),
                 QStringList({
                     "Android build tools 34.0.0 | ~/Android/Sdk/build-tools/34.0.0 | 5 | Trash",
                     "Android platform android-34 | ~/Android/Sdk/platforms/android-34 | 4 | Trash",
                     "IDEA-U 233.1 (JetBrains Toolbox) | " + apps + "IDEA-U/ch-0/233.1 | 6 | Trash",
                     "Node.js v18.19.0 (nvm) | ~/.nvm/versions/node/v18.19.0 | 11 | Trash",
                     "Node.js v20.11.0 (nvm) | ~/.nvm/versions/node/v20.11.0 | 10 | In use: nvm's "
                     "default version",
                     "Portal 2 (Steam) | " + steam + "P2 | 17 | Trash",
                     "Python 3.11.7 (pyenv) | ~/.pyenv/versions/3.11.7 | 21 | ~/.pyenv/bin/pyenv "
                     "uninstall -f 3.11.7",
                     "Python 3.12.1 (pyenv) | ~/.pyenv/versions/3.12.1 | 20 | In use: pyenv's "
                     "global version",
                     "Rust nightly-x86_64-unknown-linux-gnu | ~/.rustup/toolchains/nightly-x86_64-"
                     "unknown-linux-gnu | 30 | /usr/bin/rustup toolchain uninstall nightly-x86_64-"
                     "unknown-linux-gnu",
                     "Rust stable-x86_64-unknown-linux-gnu | ~/.rustup/toolchains/stable-x86_64-"
                     "unknown-linux-gnu | 40 | In use: the default toolchain",
                     "Unlisted (Steam) | " + steam + "Unlisted | 18 | Trash",
                     "black (pipx) | ~/.local/share/pipx/venvs/black | 2 | /usr/bin/pipx "
                     "uninstall black",
                     // The base environment without its environments and package cache.
                     "conda base (miniconda3) | ~/miniconda3 | 16 | In use: conda's base "
                     "environment",
                     "conda env ml (miniconda3) | ~/miniconda3/envs/ml | 15 | " + conda +
                         "remove -y --all -p ~/miniconda3/envs/ml",
                     "conda package cache (miniconda3) | ~/miniconda3/pkgs | 16 | " + conda +
                         "clean --all -y",
                     "java 17.0.9-tem (SDKMAN) | ~/.sdkman/candidates/java/17.0.9-tem | 13 | Trash",
                     "java 21.0.2-tem (SDKMAN) | ~/.sdkman/candidates/java/21.0.2-tem | 12 | In "
                     "use: SDKMAN's current version",
                     "org.example.Notes (Flatpak) | ~/.local/share/flatpak/app/org.example.Notes | "
                     "8 | " +
                         flatpak + "org.example.Notes",
                     "org.example.Platform 23.08 (Flatpak runtime) | ~/.local/share/flatpak/"
                     "runtime/org.example.Platform/x86_64/23.08 | 9 | " +
                         flatpak + "runtime/org.example.Platform/x86_64/23.08",
                     "pycharm-community (JetBrains Toolbox) | " + apps +
                         "pycharm-community | 7 | "
                         "Trash",
                     "site (virtualenv) | ~/.virtualenvs/site | 3 | Trash",
                     "toolchains",
                 }));
        const QList<AssociatedFile> &files = groups.first().files;
        QVERIFY(std::is_sorted(files.begin(), files.end(),
                               [](const auto &a, const auto &b) { return a.size > b.size; }));

        // The tool removes with the recorded command, says why when it fails, and is looked for
        // again when it runs.
        const AssociatedFile nightly = files.at(1);
        QVERIFY(scanner.removeWithCommand(nightly).succeeded);
        QCOMPARE(machine.toolCalls("/usr/bin/rustup").last(), nightly.removalCommand.mid(1));
        machine.installTool("/usr/bin/rustup", "error: toolchain is in use\n", 1);
        QCOMPARE(scanner.removeWithCommand(nightly).output,
                 "rustup failed (exit status 1): error: toolchain is in use");
        QVERIFY(QFile::remove(box.systemPath("/usr/bin/rustup")));
        QCOMPARE(scanner.removeWithCommand(nightly).output, "rustup not found at /usr/bin/rustup");

        // Without a default in its settings, rustup is asked; without the tool, the Trash.
        box.writeFile(box.homePath(".rustup/settings.toml"), "profile = \"default\"\n");
        machine.installTool("/usr/bin/rustup", "nightly-x86_64-unknown-linux-gnu (default)\n");
        QCOMPARE(scanner.scanToolchains().first().files.at(1).unremovableReason,
                 "In use: the default toolchain");
        QCOMPARE(machine.toolCalls("/usr/bin/rustup").last(), QStringList{"default"});
        QVERIFY(QFile::remove(box.systemPath("/usr/bin/rustup")));
        QVERIFY(!scanner.scanToolchains().first().files.at(0).isRemovedByCommand());
    }
};

QTEST_GUILESS_MAIN(ToolchainsTest)
#include "tst_toolchains.moc"

// The sample machine's toolchains: Rust toolchains with a rustup that really uninstalls, Python
// versions with a pyenv that does too, nvm's Node versions, a pipx environment and a Steam game.
// Each version manager has one version in use.

#include "demo/MachineBuilder.h"

namespace {

constexpr qint64 kMiB = 1024 * 1024;

} // namespace

bool addToolchains(const MachineFolder &s, const MachineBuilder &m)
{
    bool exact = true;
    const auto folder = [&](const QString &relative, qint64 bytes) {
        exact = m.addHomeFolderOfSize(relative, bytes) && exact;
    };
    const QString stable = QStringLiteral("stable-x86_64-unknown-linux-gnu");
    s.writeFile(s.homePath(QStringLiteral(".rustup/settings.toml")),
                "default_toolchain = \"" + stable.toUtf8() + "\"\nprofile = \"default\"\n");
    folder(QStringLiteral(".rustup/toolchains/") + stable, 40 * kMiB);
    folder(QStringLiteral(".rustup/toolchains/nightly-2026-02-20-x86_64-unknown-linux-gnu"),
           24 * kMiB);
    folder(QStringLiteral(".rustup/toolchains/1.75.0-x86_64-unknown-linux-gnu"), 16 * kMiB);
    // Names that could leave the folder never reach these scripts (the scanner hands over
    // names of folders it listed), but they refuse them anyway.
    s.writeScript(s.homePath(QStringLiteral(".cargo/bin/rustup")),
                  QStringLiteral("[ \"$1 $2\" = 'toolchain uninstall' ] || { echo 'rustup 1.27.1 "
                                 "(Verlo demo stand-in)'; exit 0; }\n"
                                 "case \"$3\" in ''|.|..|*/*) exit 1 ;; esac\n"
                                 "rm -rf -- \"$HOME/.rustup/toolchains/$3\"\n"
                                 "echo \"info: toolchain '$3' uninstalled\"\n"));

    s.writeFile(s.homePath(QStringLiteral(".pyenv/version")), "3.12.2\n");
    folder(QStringLiteral(".pyenv/versions/3.12.2"), 12 * kMiB);
    folder(QStringLiteral(".pyenv/versions/3.11.8"), 10 * kMiB);
    folder(QStringLiteral(".pyenv/versions/3.8.18"), 8 * kMiB);
    s.writeScript(s.homePath(QStringLiteral(".pyenv/bin/pyenv")),
                  QStringLiteral("[ \"$1 $2\" = 'uninstall -f' ] || { echo 'pyenv 2.3.36 (Verlo "
                                 "demo stand-in)'; exit 0; }\n"
                                 "case \"$3\" in ''|.|..|*/*) exit 1 ;; esac\n"
                                 "rm -rf -- \"$HOME/.pyenv/versions/$3\"\n"));

    s.writeFile(s.homePath(QStringLiteral(".nvm/alias/default")), "20");
    folder(QStringLiteral(".nvm/versions/node/v20.11.1"), 6 * kMiB);
    folder(QStringLiteral(".nvm/versions/node/v18.19.1"), 5 * kMiB);
    folder(QStringLiteral(".local/share/pipx/venvs/httpie"), 2 * kMiB);
    s.writeFile(s.homePath(QStringLiteral(".local/share/Steam/steamapps/appmanifest_1070560.acf")),
                "\"AppState\"\n{\n\t\"appid\"\t\t\"1070560\"\n\t\"name\"\t\t\"Steam Linux "
                "Runtime\"\n\t\"installdir\"\t\t\"SteamLinuxRuntime\"\n}\n");
    folder(QStringLiteral(".local/share/Steam/steamapps/common/SteamLinuxRuntime"), 8 * kMiB);
    return exact;
}

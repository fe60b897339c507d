// Software the home folder holds per version or per title: the Android SDK's packages, the IDEs
// JetBrains Toolbox installed, the user's Flatpak installation and Steam's games.

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/Machine.h"
#include "scanner/ToolchainFiles.h"
#include "scanner/ToolchainSources.h"

#include <QHash>
#include <QRegularExpression>

namespace {

const QString kFlatpak = QStringLiteral("/usr/bin/flatpak");
constexpr qint64 kManifestLimit = 1024 * 1024;

// The SDK knows its packages by their folders (each holds its package.xml), so moving one to
// the Trash is what "sdkmanager --uninstall" does, and needs no Java on the tools' search path.
void addAndroidSdk(const Machine &machine, QList<ToolchainEntry> &found)
{
    const std::pair<const char *, const char *> kinds[] = {
        {"platforms", "Android platform %1"},
        {"build-tools", "Android build tools %1"},
        {"ndk", "Android NDK %1"},
    };
    for (const char *sdk : {"Android/Sdk", "Library/Android/sdk"}) {
        for (const auto &[folder, label] : kinds) {
            const QString packages = machine.places().inHome(QString::fromLatin1(sdk)) +
                                     QLatin1Char('/') + QString::fromLatin1(folder) +
                                     QLatin1Char('/');
            for (const QString &name : realSubfolders(machine, packages))
                found.append({packages + name, QString::fromLatin1(label).arg(name), {}, {}, {}});
        }
    }
}

// Toolbox 1 keeps each IDE's builds in channel folders ("IDEA-U/ch-0/233.13135.103"), Toolbox 2
// one folder per IDE ("intellij-idea-ultimate").
void addJetBrainsToolbox(const Machine &machine, QList<ToolchainEntry> &found)
{
    for (const QString &apps :
         {machine.places().dataHome() + QStringLiteral("/JetBrains/Toolbox/apps/"),
          machine.places().inHome(
              QStringLiteral("Library/Application Support/JetBrains/Toolbox/apps/"))}) {
        for (const QString &ide : realSubfolders(machine, apps)) {
            bool hasChannels = false;
            for (const QString &channel : realSubfolders(machine, apps + ide)) {
                if (!channel.startsWith(QLatin1String("ch-")))
                    continue;
                hasChannels = true;
                const QString builds = apps + ide + QLatin1Char('/') + channel + QLatin1Char('/');
                for (const QString &build : realSubfolders(machine, builds)) {
                    if (build.endsWith(QLatin1String(".plugins")))
                        continue;
                    found.append({builds + build,
                                  QStringLiteral("%1 %2 (JetBrains Toolbox)").arg(ide, build),
                                  {},
                                  {},
                                  {}});
                }
            }
            if (!hasChannels) {
                found.append(
                    {apps + ide, QStringLiteral("%1 (JetBrains Toolbox)").arg(ide), {}, {}, {}});
            }
        }
    }
}

// Each application, and each branch of each runtime, of the user's installation; flatpak
// removes them when it is there.
void addFlatpakUser(const Machine &machine, QList<ToolchainEntry> &found)
{
    static const QRegularExpression refPart(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9._-]*$"));
    const QString installation = machine.places().dataHome() + QStringLiteral("/flatpak/");
    const QString tool = machine.places().onSystem(kFlatpak);
    const std::optional<QString> flatpak =
        machine.fileManager().fileExists(tool) ? std::optional(tool) : std::nullopt;
    const QStringList uninstall{QStringLiteral("uninstall"), QStringLiteral("--noninteractive"),
                                QStringLiteral("--user")};
    const QString apps = installation + QStringLiteral("app/");
    for (const QString &id : realSubfolders(machine, apps)) {
        found.append({apps + id,
                      QStringLiteral("%1 (Flatpak)").arg(id),
                      {},
                      isValidFlatpakID(id) ? toolCommand(flatpak, uninstall, id) : QStringList(),
                      {}});
    }
    const QString runtimes = installation + QStringLiteral("runtime/");
    for (const QString &id : realSubfolders(machine, runtimes)) {
        for (const QString &arch : realSubfolders(machine, runtimes + id)) {
            const QString branches = runtimes + id + QLatin1Char('/') + arch + QLatin1Char('/');
            for (const QString &branch : realSubfolders(machine, branches)) {
                const bool valid = isValidFlatpakID(id) && refPart.match(arch).hasMatch() &&
                                   refPart.match(branch).hasMatch();
                const QString ref = QStringLiteral("runtime/%1/%2/%3").arg(id, arch, branch);
                found.append({branches + branch,
                              QStringLiteral("%1 %2 (Flatpak runtime)").arg(id, branch),
                              {},
                              valid ? toolCommand(flatpak, uninstall, ref) : QStringList(),
                              {}});
            }
        }
    }
}

// One row per game folder, named as its manifest names the game. Steam has no command that
// uninstalls without its window, so a game goes to the Trash (and Steam offers to download it
// again).
void addSteam(const Machine &machine, QList<ToolchainEntry> &found)
{
    const Places &places = machine.places();
    const FileManager &files = machine.fileManager();
    for (const QString &library :
         {places.dataHome() + QStringLiteral("/Steam/steamapps/"),
          places.inHome(QStringLiteral(".steam/debian-installation/steamapps/")),
          places.inHome(QStringLiteral(".var/app/com.valvesoftware.Steam/.local/share/Steam/"
                                       "steamapps/")),
          places.inHome(QStringLiteral("Library/Application Support/Steam/steamapps/"))}) {
        const QString common = library + QStringLiteral("common/");
        QHash<QString, QString> titles; // game folder -> the game's name
        for (const QString &entry : files.contentsOfDirectory(library).value_or(QStringList())) {
            const QString name = entry.section(QLatin1Char('/'), -1);
            if (!name.startsWith(QLatin1String("appmanifest_")) ||
                !name.endsWith(QLatin1String(".acf")))
                continue;
            const std::optional<QByteArray> text = files.readFile(entry, kManifestLimit);
            const SteamManifest manifest =
                parseSteamManifest(QString::fromUtf8(text.value_or(QByteArray())));
            if (!manifest.name.isEmpty())
                titles.insert(manifest.installDir, manifest.name);
        }
        for (const QString &folder : realSubfolders(machine, common)) {
            found.append({common + folder,
                          QStringLiteral("%1 (Steam)").arg(titles.value(folder, folder)),
                          {},
                          {},
                          {}});
        }
    }
}

} // namespace

QList<ToolchainEntry> findInstalledSoftware(const Machine &machine)
{
    QList<ToolchainEntry> found;
    addAndroidSdk(machine, found);
    addJetBrainsToolbox(machine, found);
    addFlatpakUser(machine, found);
    addSteam(machine, found);
    return found;
}

// Where the language version managers keep their versions in the home folder, which one is in
// use, and the manager's own command that removes one. nvm, SDKMAN and virtualenvwrapper are
// shell functions, not programs: what they install goes to the Trash.

#include "scanner/Machine.h"
#include "scanner/ToolRunner.h"
#include "scanner/ToolchainFiles.h"
#include "scanner/ToolchainSources.h"

namespace {

const QString kDefaultToolchain = QStringLiteral("In use: the default toolchain");
const QString kPyenvGlobal = QStringLiteral("In use: pyenv's global version");
const QString kNvmDefault = QStringLiteral("In use: nvm's default version");
const QString kSdkmanCurrent = QStringLiteral("In use: SDKMAN's current version");
const QString kCondaBase = QStringLiteral("In use: conda's base environment");

// Where the conda and mamba installers put their installation in the home folder.
const char *const kCondaRoots[] = {
    "miniconda3", "miniconda",      "anaconda3",     "miniforge3",     "mambaforge",
    "micromamba", "opt/miniconda3", "opt/anaconda3", "opt/miniforge3",
};

constexpr qint64 kSmallFileLimit = 64 * 1024;

std::optional<QString> readText(const Machine &machine, const QString &path)
{
    const std::optional<QByteArray> bytes = machine.fileManager().readFile(path, kSmallFileLimit);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}

QString lastComponent(const QString &path)
{
    return path.section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty);
}

void addRustup(const Machine &machine, QList<ToolchainEntry> &found)
{
    const QString root = machine.places().inHome(QStringLiteral(".rustup"));
    const QString folder = root + QStringLiteral("/toolchains/");
    const QStringList toolchains = realSubfolders(machine, folder);
    if (toolchains.isEmpty())
        return;
    const std::optional<QString> rustup =
        findTool(machine, {machine.places().inHome(QStringLiteral(".cargo/bin/rustup"))},
                 QStringLiteral("rustup"));
    std::optional<QString> inUse = rustupDefaultToolchain(
        readText(machine, root + QStringLiteral("/settings.toml")).value_or(QString()));
    if (!inUse && rustup) {
        const CommandResult answer =
            ToolRunner(machine).runQuery(*rustup, {QStringLiteral("default")});
        if (answer.status == 0 && answer.output)
            inUse = parseRustupDefaultOutput(*answer.output);
    }
    for (const QString &name : toolchains) {
        found.append(
            {folder + name,
             QStringLiteral("Rust ") + name,
             inUse && isRustupDefault(name, *inUse) ? kDefaultToolchain : QString(),
             toolCommand(rustup, {QStringLiteral("toolchain"), QStringLiteral("uninstall")}, name),
             {}});
    }
}

void addPyenv(const Machine &machine, QList<ToolchainEntry> &found)
{
    const QString root = machine.places().inHome(QStringLiteral(".pyenv"));
    const QString folder = root + QStringLiteral("/versions/");
    const QStringList versions = realSubfolders(machine, folder);
    if (versions.isEmpty())
        return;
    const std::optional<QString> pyenv =
        findTool(machine, {root + QStringLiteral("/bin/pyenv")}, QStringLiteral("pyenv"));
    const QStringList global = pyenvGlobalVersions(
        readText(machine, root + QStringLiteral("/version")).value_or(QString()));
    for (const QString &name : versions) {
        found.append({folder + name,
                      QStringLiteral("Python %1 (pyenv)").arg(name),
                      global.contains(name) ? kPyenvGlobal : QString(),
                      toolCommand(pyenv, {QStringLiteral("uninstall"), QStringLiteral("-f")}, name),
                      {}});
    }
}

void addNvm(const Machine &machine, QList<ToolchainEntry> &found)
{
    // nvm's installer uses $XDG_CONFIG_HOME/nvm when that variable is set.
    for (const QString &root : {machine.places().inHome(QStringLiteral(".nvm")),
                                machine.places().configHome() + QStringLiteral("/nvm")}) {
        const QString folder = root + QStringLiteral("/versions/node/");
        const QStringList versions = realSubfolders(machine, folder);
        const auto readAlias = [&](const QString &alias) -> std::optional<QString> {
            if (alias.isEmpty() || alias.startsWith(QLatin1Char('/')) ||
                alias.split(QLatin1Char('/')).contains(QStringLiteral("..")))
                return std::nullopt;
            return readText(machine, root + QStringLiteral("/alias/") + alias);
        };
        const std::optional<QString> inUse =
            versions.isEmpty() ? std::nullopt : resolveNvmDefault(readAlias, versions);
        for (const QString &name : versions) {
            found.append({folder + name,
                          QStringLiteral("Node.js %1 (nvm)").arg(name),
                          name == inUse ? kNvmDefault : QString(),
                          {},
                          {}});
        }
    }
}

void addSdkman(const Machine &machine, QList<ToolchainEntry> &found)
{
    const QString candidates = machine.places().inHome(QStringLiteral(".sdkman/candidates/"));
    for (const QString &candidate : realSubfolders(machine, candidates)) {
        const QString folder = candidates + candidate + QLatin1Char('/');
        const QString current =
            lastComponent(machine.fileManager()
                              .symbolicLinkTarget(folder + QStringLiteral("current"))
                              .value_or(QString()));
        for (const QString &version : realSubfolders(machine, folder)) {
            if (version == QLatin1String("current"))
                continue;
            found.append({folder + version,
                          QStringLiteral("%1 %2 (SDKMAN)").arg(candidate, version),
                          version == current ? kSdkmanCurrent : QString(),
                          {},
                          {}});
        }
    }
}

// The base environment is the installation itself (its environments and package cache are
// rows of their own); the others are removed by conda, the package cache by "conda clean".
void addConda(const Machine &machine, QList<ToolchainEntry> &found)
{
    const FileManager &files = machine.fileManager();
    std::optional<QString> anyConda;
    const auto addEnvironments = [&](const QString &envs, const std::optional<QString> &conda,
                                     const QString &installation) {
        for (const QString &name : realSubfolders(machine, envs)) {
            const QString path = envs + name;
            found.append({path,
                          QStringLiteral("conda env %1 (%2)").arg(name, installation),
                          QString(),
                          toolCommand(conda,
                                      {QStringLiteral("remove"), QStringLiteral("-y"),
                                       QStringLiteral("--all"), QStringLiteral("-p")},
                                      path),
                          {}});
        }
    };
    for (const char *place : kCondaRoots) {
        const QString root = machine.places().inHome(QString::fromLatin1(place));
        // A link to a shared installation elsewhere is not the home folder's to clean.
        if (files.isSymbolicLink(root))
            continue;
        const QString label = lastComponent(root);
        std::optional<QString> conda;
        for (const char *tool : {"/bin/conda", "/bin/mamba"}) {
            if (!conda && files.fileExists(root + QString::fromLatin1(tool)))
                conda = root + QString::fromLatin1(tool);
        }
        if (!anyConda)
            anyConda = conda;
        if (files.isDirectory(root + QStringLiteral("/conda-meta"))) {
            found.append({root,
                          QStringLiteral("conda base (%1)").arg(label),
                          kCondaBase,
                          {},
                          {QStringLiteral("envs"), QStringLiteral("pkgs")}});
        }
        addEnvironments(root + QStringLiteral("/envs/"), conda, label);
        const QString packages = root + QStringLiteral("/pkgs");
        if (files.isDirectory(packages) && !files.isSymbolicLink(packages)) {
            found.append({packages,
                          QStringLiteral("conda package cache (%1)").arg(label),
                          QString(),
                          conda ? QStringList{*conda, QStringLiteral("clean"),
                                              QStringLiteral("--all"), QStringLiteral("-y")}
                                : QStringList(),
                          {}});
        }
    }
    // Where conda creates environments when its installation is not the user's to write.
    addEnvironments(machine.places().inHome(QStringLiteral(".conda/envs/")), anyConda,
                    QStringLiteral("~/.conda"));
}

void addPythonEnvironments(const Machine &machine, QList<ToolchainEntry> &found)
{
    const Places &places = machine.places();
    const std::optional<QString> pipx = findTool(
        machine, {places.inHome(QStringLiteral(".local/bin/pipx"))}, QStringLiteral("pipx"));
    // The current place first, then those of older pipx versions and of macOS.
    for (const QString &venvs :
         {places.inHome(QStringLiteral(".local/share/pipx/venvs/")),
          places.inHome(QStringLiteral(".local/pipx/venvs/")),
          places.inHome(QStringLiteral("Library/Application Support/pipx/venvs/"))}) {
        for (const QString &name : realSubfolders(machine, venvs)) {
            found.append({venvs + name,
                          QStringLiteral("%1 (pipx)").arg(name),
                          QString(),
                          toolCommand(pipx, {QStringLiteral("uninstall")}, name),
                          {}});
        }
    }
    // virtualenvwrapper's and pipenv's environments.
    for (const QString &folder : {places.inHome(QStringLiteral(".virtualenvs/")),
                                  places.inHome(QStringLiteral(".local/share/virtualenvs/"))}) {
        for (const QString &name : realSubfolders(machine, folder))
            found.append({folder + name, QStringLiteral("%1 (virtualenv)").arg(name), {}, {}, {}});
    }
}

} // namespace

QList<ToolchainEntry> findLanguageToolchains(const Machine &machine)
{
    QList<ToolchainEntry> found;
    addRustup(machine, found);
    addPyenv(machine, found);
    addNvm(machine, found);
    addSdkman(machine, found);
    addConda(machine, found);
    addPythonEnvironments(machine, found);
    return found;
}

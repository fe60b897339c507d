// Where the language version managers keep their versions in the home folder, which one is in
// use, and the manager's own command that removes one. nvm, SDKMAN and virtualenvwrapper are
// shell functions, not programs: what they install goes to the Trash.

#include "scanner/FileScanner.h"
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

std::optional<QString> readText(const FileScanner &scanner, const QString &path)
{
    const std::optional<QByteArray> bytes = scanner.fileManager().readFile(path, kSmallFileLimit);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}

QString lastComponent(const QString &path)
{
    return path.section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty);
}

void addRustup(const FileScanner &scanner, QList<ToolchainEntry> &found)
{
    const QString root = scanner.places().inHome(QStringLiteral(".rustup"));
    const QString folder = root + QStringLiteral("/toolchains/");
    const QStringList toolchains = realSubfolders(scanner, folder);
    if (toolchains.isEmpty())
        return;
    const std::optional<QString> rustup =
        findTool(scanner, {scanner.places().inHome(QStringLiteral(".cargo/bin/rustup"))},
                 QStringLiteral("rustup"));
    std::optional<QString> inUse = rustupDefaultToolchain(
        readText(scanner, root + QStringLiteral("/settings.toml")).value_or(QString()));
    if (!inUse && rustup) {
        const CommandResult answer = scanner.runQuery(*rustup, {QStringLiteral("default")});
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

void addPyenv(const FileScanner &scanner, QList<ToolchainEntry> &found)
{
    const QString root = scanner.places().inHome(QStringLiteral(".pyenv"));
    const QString folder = root + QStringLiteral("/versions/");
    const QStringList versions = realSubfolders(scanner, folder);
    if (versions.isEmpty())
        return;
    const std::optional<QString> pyenv =
        findTool(scanner, {root + QStringLiteral("/bin/pyenv")}, QStringLiteral("pyenv"));
    const QStringList global = pyenvGlobalVersions(
        readText(scanner, root + QStringLiteral("/version")).value_or(QString()));
    for (const QString &name : versions) {
        found.append({folder + name,
                      QStringLiteral("Python %1 (pyenv)").arg(name),
                      global.contains(name) ? kPyenvGlobal : QString(),
                      toolCommand(pyenv, {QStringLiteral("uninstall"), QStringLiteral("-f")}, name),
                      {}});
    }
}

void addNvm(const FileScanner &scanner, QList<ToolchainEntry> &found)
{
    // nvm's installer uses $XDG_CONFIG_HOME/nvm when that variable is set.
    for (const QString &root : {scanner.places().inHome(QStringLiteral(".nvm")),
                                scanner.places().configHome() + QStringLiteral("/nvm")}) {
        const QString folder = root + QStringLiteral("/versions/node/");
        const QStringList versions = realSubfolders(scanner, folder);
        const auto readAlias = [&](const QString &alias) -> std::optional<QString> {
            if (alias.isEmpty() || alias.startsWith(QLatin1Char('/')) ||
                alias.split(QLatin1Char('/')).contains(QStringLiteral("..")))
                return std::nullopt;
            return readText(scanner, root + QStringLiteral("/alias/") + alias);
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

void addSdkman(const FileScanner &scanner, QList<ToolchainEntry> &found)
{
    const QString candidates = scanner.places().inHome(QStringLiteral(".sdkman/candidates/"));
    for (const QString &candidate : realSubfolders(scanner, candidates)) {
        const QString folder = candidates + candidate + QLatin1Char('/');
        const QString current =
            lastComponent(scanner.fileManager()
                              .symbolicLinkTarget(folder + QStringLiteral("current"))
                              .value_or(QString()));
        for (const QString &version : realSubfolders(scanner, folder)) {
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
void addConda(const FileScanner &scanner, QList<ToolchainEntry> &found)
{
    const FileManager &files = scanner.fileManager();
    std::optional<QString> anyConda;
    const auto addEnvironments = [&](const QString &envs, const std::optional<QString> &conda,
                                     const QString &installation) {
        for (const QString &name : realSubfolders(scanner, envs)) {
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
        const QString root = scanner.places().inHome(QString::fromLatin1(place));
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
    addEnvironments(scanner.places().inHome(QStringLiteral(".conda/envs/")), anyConda,
                    QStringLiteral("~/.conda"));
}

void addPythonEnvironments(const FileScanner &scanner, QList<ToolchainEntry> &found)
{
    const Places &places = scanner.places();
    const std::optional<QString> pipx = findTool(
        scanner, {places.inHome(QStringLiteral(".local/bin/pipx"))}, QStringLiteral("pipx"));
    // The current place first, then those of older pipx versions and of macOS.
    for (const QString &venvs :
         {places.inHome(QStringLiteral(".local/share/pipx/venvs/")),
          places.inHome(QStringLiteral(".local/pipx/venvs/")),
          places.inHome(QStringLiteral("Library/Application Support/pipx/venvs/"))}) {
        for (const QString &name : realSubfolders(scanner, venvs)) {
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
        for (const QString &name : realSubfolders(scanner, folder))
            found.append({folder + name, QStringLiteral("%1 (virtualenv)").arg(name), {}, {}, {}});
    }
}

} // namespace

QList<ToolchainEntry> findLanguageToolchains(const FileScanner &scanner)
{
    QList<ToolchainEntry> found;
    addRustup(scanner, found);
    addPyenv(scanner, found);
    addNvm(scanner, found);
    addSdkman(scanner, found);
    addConda(scanner, found);
    addPythonEnvironments(scanner, found);
    return found;
}

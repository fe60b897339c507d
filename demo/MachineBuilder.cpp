#include "demo/MachineBuilder.h"

#include "demo/PlistWriter.h"
#include "model/ShellQuoting.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes size bytes for real and flushes them to disk, so that the allocation the file system
// reports (extent blocks included) is final when it is measured.
bool writeDurableFile(const QString &path, qint64 size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray chunk(1 << 20, 'v');
    for (qint64 left = size; left > 0;) {
        const qint64 n = qMin<qint64>(left, chunk.size());
        if (file.write(chunk.constData(), n) != n)
            return false;
        left -= n;
    }
    file.flush();
    return ::fsync(file.handle()) == 0;
}

// Allocation of everything below folder except one path, links not followed.
qint64 allocatedBelow(const QString &folder, const QString &except)
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path != except)
            total += MachineFolder::allocatedSize(path);
    }
    return total;
}

QString toolsFolder(const MachineFolder &folder)
{
    return folder.base() + QStringLiteral("/tool-calls");
}

} // namespace

MachineBuilder::MachineBuilder(const MachineFolder &folder) : m_folder(folder)
{
    const QString tools = toolsFolder(m_folder);
    QDir().mkpath(tools);
    // Tools may be run by the unprivileged test user, and must still be able to record.
    ::chmod(QFile::encodeName(tools).constData(), 0777);
}

QString MachineBuilder::callLog(const QString &systemPath) const
{
    QString name = systemPath;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return toolsFolder(m_folder) + QLatin1Char('/') + name;
}

QString MachineBuilder::installTool(const QString &systemPath, const QByteArray &output, int status,
                                    const QByteArray &errorOutput) const
{
    const QString log = callLog(systemPath);
    QString body = QStringLiteral("log=%1\n"
                                  "for a in \"$@\"; do printf '%s\\037' \"$a\"; done >> \"$log\"\n"
                                  "printf '\\n' >> \"$log\"\n"
                                  "env | LC_ALL=C sort > \"$log.env\"\n")
                       .arg(shellQuoted(log));
    if (!output.isEmpty()) {
        m_folder.writeFile(log + QStringLiteral(".out"), output);
        body += QStringLiteral("cat %1\n").arg(shellQuoted(log + QStringLiteral(".out")));
    }
    if (!errorOutput.isEmpty()) {
        m_folder.writeFile(log + QStringLiteral(".err"), errorOutput);
        body += QStringLiteral("cat %1 >&2\n").arg(shellQuoted(log + QStringLiteral(".err")));
    }
    body += QStringLiteral("exit %1").arg(status);
    return m_folder.writeScript(m_folder.systemPath(systemPath), body);
}

QString MachineBuilder::installScriptTool(const QString &systemPath, const QString &body) const
{
    const QString log = callLog(systemPath);
    return m_folder.writeScript(
        m_folder.systemPath(systemPath),
        QStringLiteral("log=%1\n"
                       "for a in \"$@\"; do printf '%s\\037' \"$a\"; done >> \"$log\"\n"
                       "printf '\\n' >> \"$log\"\n"
                       "env | LC_ALL=C sort > \"$log.env\"\n")
                .arg(shellQuoted(log)) +
            body);
}

QString MachineBuilder::installBrew(int status, const QByteArray &output) const
{
    return installTool(QStringLiteral("/opt/homebrew/bin/brew"), output, status);
}

QString MachineBuilder::installNPM(const QString &systemPath, int status,
                                   const QByteArray &output) const
{
    return installTool(systemPath, output, status);
}

QString MachineBuilder::installWhich(const QMap<QString, QString> &known) const
{
    const QString systemPath = QStringLiteral("/usr/bin/which");
    const QString log = callLog(systemPath);
    QString body = QStringLiteral("log=%1\n"
                                  "for a in \"$@\"; do printf '%s\\037' \"$a\"; done >> \"$log\"\n"
                                  "printf '\\n' >> \"$log\"\n"
                                  "case \"$1\" in\n")
                       .arg(shellQuoted(log));
    for (auto it = known.constBegin(); it != known.constEnd(); ++it) {
        body += QStringLiteral("  %1) printf '%s\\n' %2; exit 0;;\n")
                    .arg(shellQuoted(it.key()), shellQuoted(it.value()));
    }
    body += QStringLiteral("esac\nexit 1");
    return m_folder.writeScript(m_folder.systemPath(systemPath), body);
}

QString MachineBuilder::installTmutil(const QByteArray &output, int status,
                                      const QByteArray &errorOutput) const
{
    return installTool(QStringLiteral("/usr/bin/tmutil"), output, status, errorOutput);
}

QList<QStringList> MachineBuilder::toolCalls(const QString &systemPath) const
{
    QFile file(callLog(systemPath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> calls;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        QStringList arguments = QString::fromUtf8(line).split(QChar(0x1f));
        arguments.removeLast(); // every argument ends with the separator
        calls.append(arguments);
    }
    return calls;
}

QStringList MachineBuilder::toolEnvironment(const QString &systemPath) const
{
    QFile file(callLog(systemPath) + QStringLiteral(".env"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString MachineBuilder::addNPMPackage(const QString &folder, const QString &name,
                                      const std::optional<QString> &version) const
{
    QJsonObject manifest{{QStringLiteral("name"), name}};
    if (version)
        manifest.insert(QStringLiteral("version"), *version);
    return addNPMPackageWithManifest(folder, name, QJsonDocument(manifest).toJson());
}

QString MachineBuilder::addNPMPackageWithManifest(const QString &folder, const QString &name,
                                                  const std::optional<QByteArray> &manifest) const
{
    const QString package = m_folder.makeDir(folder + QLatin1Char('/') + name);
    m_folder.writeFile(package + QStringLiteral("/index.js"), "module.exports = {};\n");
    if (manifest)
        m_folder.writeFile(package + QStringLiteral("/package.json"), *manifest);
    return package;
}

QString MachineBuilder::addFormula(const QString &name, const QList<FormulaVersion> &versions) const
{
    const QString formula =
        m_folder.makeDir(m_folder.systemPath(QStringLiteral("/opt/homebrew/Cellar/")) + name);
    for (const FormulaVersion &version : versions) {
        const QString folder = formula + QLatin1Char('/') + version.version;
        m_folder.writeFile(folder + QStringLiteral("/bin/") + name, "#!/bin/sh\n");
        QByteArray receipt;
        switch (version.receipt) {
        case Receipt::onRequest:
        case Receipt::asDependency: {
            const bool onRequest = version.receipt == Receipt::onRequest;
            receipt =
                QJsonDocument(QJsonObject{{QStringLiteral("homebrew_version"), "4.2.0"},
                                          {QStringLiteral("installed_as_dependency"), !onRequest},
                                          {QStringLiteral("installed_on_request"), onRequest},
                                          {QStringLiteral("poured_from_bottle"), true}})
                    .toJson();
            break;
        }
        case Receipt::missing:
            continue;
        case Receipt::broken:
            receipt = "{\"installed_on_request\": fal";
            break;
        case Receipt::notBoolean:
            receipt = "{\"installed_on_request\": \"false\"}";
            break;
        case Receipt::notObject:
            receipt = "[{\"installed_on_request\": false}]";
            break;
        case Receipt::withoutKey:
            receipt = "{\"homebrew_version\": \"4.2.0\"}";
            break;
        }
        m_folder.writeFile(folder + QStringLiteral("/INSTALL_RECEIPT.json"), receipt);
    }
    return formula;
}

QString MachineBuilder::addCask(const QString &name, const QString &version) const
{
    const QString cask =
        m_folder.makeDir(m_folder.systemPath(QStringLiteral("/opt/homebrew/Caskroom/")) + name);
    m_folder.makeDir(cask + QLatin1Char('/') + version);
    return cask;
}

QString MachineBuilder::addHomebrewFile(const QString &relative, qint64 size) const
{
    return m_folder.writeFileOfSize(
        m_folder.systemPath(QStringLiteral("/opt/homebrew/")) + relative, size);
}

bool MachineBuilder::makeFolderOfAllocatedSize(const QString &folder, qint64 bytes) const
{
    m_folder.makeDir(folder);
    const QString data = folder + QStringLiteral("/data.bin");
    QFile::remove(data);
    const qint64 wanted = bytes - allocatedBelow(folder, data);
    if (wanted < 0)
        return false;
    if (wanted == 0)
        return true;
    // A large file may need an extent block besides its data; shrink the data by what the file
    // system added and try again.
    qint64 length = wanted;
    for (int attempt = 0; attempt < 4 && length > 0; ++attempt) {
        if (!writeDurableFile(data, length))
            return false;
        const qint64 allocated = MachineFolder::allocatedSize(data);
        if (allocated == wanted)
            return true;
        length -= allocated - wanted;
    }
    return false;
}

bool MachineBuilder::setModificationDate(const QString &path, const QDateTime &date)
{
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(date.toSecsSinceEpoch());
    times[0].tv_nsec = times[1].tv_nsec = 0;
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

QString MachineBuilder::installXcode() const
{
    return m_folder.makeAppBundle(
        m_folder.systemPath(QStringLiteral("/Applications")), QStringLiteral("Xcode.app"),
        {{QStringLiteral("CFBundleIdentifier"), QStringLiteral("com.apple.dt.Xcode")},
         {QStringLiteral("CFBundleName"), QStringLiteral("Xcode")}});
}

QString MachineBuilder::installDocker() const
{
    return m_folder.makeAppBundle(
        m_folder.systemPath(QStringLiteral("/Applications")), QStringLiteral("Docker.app"),
        {{QStringLiteral("CFBundleIdentifier"), QStringLiteral("com.docker.docker")},
         {QStringLiteral("CFBundleName"), QStringLiteral("Docker")}});
}

bool MachineBuilder::addHomeFolderOfSize(const QString &relative, qint64 bytes) const
{
    return makeFolderOfAllocatedSize(m_folder.homePath(relative), bytes);
}

QString MachineBuilder::addDeviceBackup(const QString &id, BackupInfo info,
                                        const QString &productName, qint64 bytes,
                                        const QDateTime &modified) const
{
    const QString folder = m_folder.makeDir(
        m_folder.homePath(QStringLiteral("Library/Application Support/MobileSync/Backup/")) + id);
    const QVariantMap keys{{QStringLiteral("Product Name"), productName},
                           {QStringLiteral("Device Name"), productName},
                           {QStringLiteral("Product Version"), QStringLiteral("17.4")}};
    const QString plist = folder + QStringLiteral("/Info.plist");
    switch (info) {
    case BackupInfo::xml:
        m_folder.writeFile(plist, PlistWriter::xml(keys));
        break;
    case BackupInfo::binary:
        m_folder.writeFile(plist, PlistWriter::binary(keys));
        break;
    case BackupInfo::missing:
        break;
    case BackupInfo::broken:
        m_folder.writeFile(plist, "bplist00 this is not a property list");
        break;
    case BackupInfo::notDictionary:
        m_folder.writeFile(plist, PlistWriter::xml(QVariantList{productName}));
        break;
    case BackupInfo::nameNotText: {
        QVariantMap numeric = keys;
        numeric.insert(QStringLiteral("Product Name"), 42);
        m_folder.writeFile(plist, PlistWriter::binary(numeric));
        break;
    }
    }
    makeFolderOfAllocatedSize(folder, bytes);
    setModificationDate(folder, modified);
    return folder;
}

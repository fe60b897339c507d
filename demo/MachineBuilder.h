#pragma once

#include "demo/MachineFolder.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Builds the parts of a machine that the package and system-data scans look at, in a
// MachineFolder: npm global folders, a Homebrew prefix with Cellar, Caskroom and receipts,
// download caches, developer data, device backups, container data, caches and logs of chosen
// allocated sizes, and stand-in scripts for brew, npm, which and tmutil that record how they were
// called. Shared by the sample machine of make demo and make screenshots and by the tests.
class MachineBuilder
{
public:
    explicit MachineBuilder(const MachineFolder &folder);

    // --- Stand-in tools ------------------------------------------------------------------------
    // An executable at the system path that records its arguments (and environment), prints
    // output on standard output (and errorOutput on standard error) and exits with status.
    QString installTool(const QString &systemPath, const QByteArray &output = {}, int status = 0,
                        const QByteArray &errorOutput = {}) const;
    // "/opt/homebrew/bin/brew", "/opt/homebrew/bin/npm" (or "/usr/local/bin/npm").
    QString installBrew(int status = 0, const QByteArray &output = {}) const;
    QString installNPM(const QString &systemPath = QStringLiteral("/opt/homebrew/bin/npm"),
                       int status = 0, const QByteArray &output = {}) const;
    // "/usr/bin/which": prints the path given for a known tool name, nothing (status 1) otherwise.
    QString installWhich(const QMap<QString, QString> &known = {}) const;
    // "/usr/bin/tmutil" printing output (raw bytes) and exiting with status.
    QString installTmutil(const QByteArray &output, int status = 0,
                          const QByteArray &errorOutput = {}) const;
    // An executable at the system path that records its arguments and environment as
    // installTool does, then runs body (shell).
    QString installScriptTool(const QString &systemPath, const QString &body) const;
    // The argument lists of every call of the tool at systemPath, oldest first.
    QList<QStringList> toolCalls(const QString &systemPath) const;
    // The environment ("NAME=value", sorted) the tool saw on its last call.
    QStringList toolEnvironment(const QString &systemPath) const;

    // --- npm -----------------------------------------------------------------------------------
    static QString homebrewNodeModules()
    {
        return QStringLiteral("/opt/homebrew/lib/node_modules");
    }
    static QString localNodeModules() { return QStringLiteral("/usr/local/lib/node_modules"); }
    // A package folder <globalFolder>/<name> (globalFolder is a system path, or an absolute path
    // such as home/.npm) with a package.json holding name and, when given, version.
    QString addNPMPackage(const QString &folder, const QString &name,
                          const std::optional<QString> &version) const;
    // As above with the manifest's exact bytes; no manifest at all when nothing is given.
    QString addNPMPackageWithManifest(const QString &folder, const QString &name,
                                      const std::optional<QByteArray> &manifest) const;

    // --- Homebrew ------------------------------------------------------------------------------
    // What a version folder's INSTALL_RECEIPT.json says about installed_on_request.
    enum class Receipt
    {
        onRequest,    // true
        asDependency, // false
        missing,      // no receipt file
        broken,       // not JSON
        notBoolean,   // "installed_on_request": "true" (a string)
        notObject,    // a JSON array
        withoutKey,   // an object without the key
    };
    struct FormulaVersion
    {
        QString version;
        Receipt receipt = Receipt::onRequest;
    };
    // /opt/homebrew/Cellar/<name>/<version>/ with a small binary and the receipt of each version.
    QString addFormula(const QString &name, const QList<FormulaVersion> &versions) const;
    // /opt/homebrew/Caskroom/<name>/<version>/.
    QString addCask(const QString &name, const QString &version = QStringLiteral("1.0")) const;
    // A file of size bytes at /opt/homebrew/<relative> ("etc/foo.conf", "var/log/foo.log").
    QString addHomebrewFile(const QString &relative, qint64 size = 64) const;

    // --- Sizes ---------------------------------------------------------------------------------
    // Makes folder (an absolute path) hold data whose allocated size is exactly bytes, written
    // out for real: one file, adjusted until the file system reports that allocation. bytes must
    // be a multiple of the file system's block size (4096 on ext4); 0 gives an empty folder.
    // Returns whether the exact allocation was reached.
    bool makeFolderOfAllocatedSize(const QString &folder, qint64 bytes) const;
    // Sets the modification date of whatever is at path.
    static bool setModificationDate(const QString &path, const QDateTime &date);

    // --- System data ---------------------------------------------------------------------------
    QString installXcode() const;  // /Applications/Xcode.app
    QString installDocker() const; // /Applications/Docker.app
    // home/<relative> of exactly bytes allocated ("Library/Developer/Xcode/DerivedData").
    bool addHomeFolderOfSize(const QString &relative, qint64 bytes) const;

    enum class BackupInfo
    {
        xml,           // Info.plist with "Product Name" as text, XML
        binary,        // the same, binary
        missing,       // no Info.plist
        broken,        // bytes that are no property list
        notDictionary, // a property list whose top level is an array
        nameNotText,   // "Product Name" is an integer
    };
    // home/Library/Application Support/MobileSync/Backup/<id> with bytes of data, its
    // Info.plist, and the given modification date on the backup folder.
    QString addDeviceBackup(const QString &id, BackupInfo info, const QString &productName,
                            qint64 bytes, const QDateTime &modified) const;

private:
    QString callLog(const QString &systemPath) const;

    const MachineFolder &m_folder;
};

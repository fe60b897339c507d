#include "tests/support/Sandbox.h"

#include "tests/support/PlistWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void makeParent(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
}

} // namespace

Sandbox::Sandbox()
{
    m_savedHome = qgetenv("HOME");
    m_hadXdgDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    m_savedXdgDataHome = qgetenv("XDG_DATA_HOME");
    QDir().mkpath(home());
    QDir().mkpath(root());
    // Other users (the unprivileged test user) must be able to reach the tree.
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    qputenv("HOME", QFile::encodeName(home()));
    qunsetenv("XDG_DATA_HOME");
}

Sandbox::~Sandbox()
{
    qputenv("HOME", m_savedHome);
    if (m_hadXdgDataHome)
        qputenv("XDG_DATA_HOME", m_savedXdgDataHome);
    // Make everything removable again, whatever a test did to permissions.
    QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("u+rwx"),
                                                 m_dir.path()});
}

bool Sandbox::isValid() const { return m_dir.isValid(); }
QString Sandbox::base() const { return m_dir.path(); }
QString Sandbox::home() const { return m_dir.path() + QStringLiteral("/home/user"); }
QString Sandbox::root() const { return m_dir.path() + QStringLiteral("/root"); }
Places Sandbox::places() const { return Places(home(), root()); }

QString Sandbox::homePath(const QString &relative) const
{
    return places().inHome(relative);
}

QString Sandbox::systemPath(const QString &absolute) const
{
    return places().onSystem(absolute);
}

QString Sandbox::makeDir(const QString &absolutePath) const
{
    QDir().mkpath(absolutePath);
    return absolutePath;
}

QString Sandbox::writeFile(const QString &absolutePath, const QByteArray &contents) const
{
    makeParent(absolutePath);
    QFile file(absolutePath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents);
    return absolutePath;
}

QString Sandbox::writeFileOfSize(const QString &absolutePath, qint64 size) const
{
    makeParent(absolutePath);
    QFile file(absolutePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return absolutePath;
    const QByteArray chunk(1 << 20, 'v');
    qint64 left = size;
    while (left > 0) {
        const qint64 n = qMin<qint64>(left, chunk.size());
        file.write(chunk.constData(), n);
        left -= n;
    }
    return absolutePath;
}

QString Sandbox::makeSymlink(const QString &target, const QString &linkPath) const
{
    makeParent(linkPath);
    ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(linkPath).constData());
    return linkPath;
}

QString Sandbox::writeScript(const QString &absolutePath, const QString &body) const
{
    writeFile(absolutePath, QByteArrayLiteral("#!/bin/sh\n") + body.toUtf8() + '\n');
    ::chmod(QFile::encodeName(absolutePath).constData(), 0755);
    return absolutePath;
}

QString Sandbox::makeAppBundle(const QString &folder, const QString &fileName,
                               const QVariantMap &keys, PlistFormat format, bool writePlist) const
{
    const QString bundle = folder + QLatin1Char('/') + fileName;
    makeDir(bundle + QStringLiteral("/Contents/MacOS"));
    if (writePlist) {
        const QByteArray bytes =
            format == PlistFormat::xml ? PlistWriter::xml(keys) : PlistWriter::binary(keys);
        writeFile(bundle + QStringLiteral("/Contents/Info.plist"), bytes);
    }
    return bundle;
}

qint64 Sandbox::allocatedSize(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return static_cast<qint64>(st.st_blocks) * 512;
}

int runAsUnprivileged(const QString &commandLine, QByteArray *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (::geteuid() == 0) {
        // 65534 is "nobody" on Debian; --clear-groups drops root's supplementary groups.
        process.start(QStringLiteral("setpriv"),
                      {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                       QStringLiteral("--clear-groups"), QStringLiteral("/bin/sh"),
                       QStringLiteral("-c"), commandLine});
    } else {
        process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine});
    }
    process.waitForFinished(-1);
    if (output)
        *output = process.readAll();
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

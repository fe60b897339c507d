#include "demo/MachineFolder.h"

#include "demo/PlistWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void makeParent(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
}

} // namespace

MachineFolder::MachineFolder(const QString &base)
    : MachineFolder(base, base + QStringLiteral("/home/user"), base + QStringLiteral("/root"))
{}

MachineFolder::MachineFolder(const QString &base, const QString &home, const QString &root)
    : m_base(base), m_home(home), m_root(root)
{
    if (m_base.isEmpty())
        return;
    QDir().mkpath(m_base);
    QDir().mkpath(m_home);
    QDir().mkpath(m_root);
}

bool MachineFolder::isValid() const
{
    return !m_base.isEmpty() && QFileInfo(home()).isDir() && QFileInfo(root()).isDir();
}

Places MachineFolder::places() const
{
    return Places(home(), root());
}

QString MachineFolder::homePath(const QString &relative) const
{
    return places().inHome(relative);
}

QString MachineFolder::systemPath(const QString &absolute) const
{
    return places().onSystem(absolute);
}

QString MachineFolder::makeDir(const QString &absolutePath) const
{
    QDir().mkpath(absolutePath);
    return absolutePath;
}

QString MachineFolder::writeFile(const QString &absolutePath, const QByteArray &contents) const
{
    makeParent(absolutePath);
    QFile file(absolutePath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents);
    return absolutePath;
}

QString MachineFolder::writeFileOfSize(const QString &absolutePath, qint64 size) const
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

QString MachineFolder::makeSymlink(const QString &target, const QString &linkPath) const
{
    makeParent(linkPath);
    ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(linkPath).constData());
    return linkPath;
}

QString MachineFolder::writeScript(const QString &absolutePath, const QString &body) const
{
    writeFile(absolutePath, QByteArrayLiteral("#!/bin/sh\n") + body.toUtf8() + '\n');
    ::chmod(QFile::encodeName(absolutePath).constData(), 0755);
    return absolutePath;
}

QString MachineFolder::makeAppBundle(const QString &folder, const QString &fileName,
                                     const QVariantMap &keys, PlistFormat format,
                                     bool writePlist) const
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

qint64 MachineFolder::allocatedSize(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return static_cast<qint64>(st.st_blocks) * 512;
}

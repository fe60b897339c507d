#pragma once

#include "scanner/Places.h"

#include <QByteArray>
#include <QString>
#include <QVariantMap>

// A whole machine laid out in one folder: a home folder (<base>/home/user) and a system root
// (<base>/root), with helpers to build application bundles, folders, files of chosen sizes, links
// and stand-in tools in it. Making one creates both folders; nothing is ever removed.
class MachineFolder
{
public:
    explicit MachineFolder(const QString &base);

    bool isValid() const; // both folders exist
    QString base() const { return m_base; }
    QString home() const; // <base>/home/user
    QString root() const; // <base>/root
    Places places() const;

    // Paths: home-relative ("Library/Caches/x") and system ("/opt/homebrew/Cellar").
    QString homePath(const QString &relative) const;
    QString systemPath(const QString &absolute) const;

    // Every creator makes missing parent folders and returns the absolute path it made.
    QString makeDir(const QString &absolutePath) const;
    QString writeFile(const QString &absolutePath, const QByteArray &contents) const;
    // A file whose logical length is size bytes, written out (not sparse), so its allocated
    // size is real blocks.
    QString writeFileOfSize(const QString &absolutePath, qint64 size) const;
    QString makeSymlink(const QString &target, const QString &linkPath) const;
    // An executable shell script (#!/bin/sh) with the given body.
    QString writeScript(const QString &absolutePath, const QString &body) const;

    // A bundle "<folder>/<fileName>" with Contents/Info.plist built from keys (string values
    // only), written as XML or binary. With no keys and writePlist false, no Info.plist at all.
    enum class PlistFormat
    {
        xml,
        binary
    };
    QString makeAppBundle(const QString &folder, const QString &fileName, const QVariantMap &keys,
                          PlistFormat format = PlistFormat::xml, bool writePlist = true) const;

    // Allocated size (st_blocks * 512) of what lies at path, not following links; -1 when
    // nothing is there.
    static qint64 allocatedSize(const QString &path);

private:
    QString m_base;
};

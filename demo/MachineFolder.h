#pragma once

#include "scanner/Places.h"

#include <QByteArray>
#include <QString>
#include <QVariantMap>

// A whole machine: a home folder (<base>/home/user) and a system root (<base>/root), or a home and
// a root given elsewhere, with helpers to build application bundles, folders, files of chosen
// sizes, links and stand-in tools in it. The base folder keeps what the stand-in tools record.
// Making one creates the folders; nothing is ever removed.
class MachineFolder
{
public:
    explicit MachineFolder(const QString &base);
    MachineFolder(const QString &base, const QString &home, const QString &root);

    bool isValid() const; // both folders exist
    QString base() const { return m_base; }
    QString home() const { return m_home; } // <base>/home/user unless given
    QString root() const { return m_root; } // <base>/root unless given
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
    QString m_home;
    QString m_root;
};

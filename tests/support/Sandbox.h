#pragma once

#include "scanner/Places.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

#include <sys/types.h>

// A whole machine in a temporary folder: a home folder and a system root, with helpers to build
// application bundles, folders, files of chosen sizes, links and stand-in tools. Creating a
// Sandbox points HOME at its home folder and clears XDG_DATA_HOME, so nothing reaches the real
// home of whoever runs the tests. Everything is removed when the Sandbox goes away.
class Sandbox
{
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

    bool isValid() const;
    // Leaves the machine on disk when the Sandbox goes away (the demo machine outlives its
    // builder).
    void keep() { m_dir.setAutoRemove(false); }
    QString base() const;  // the temporary folder holding both
    QString home() const;  // <base>/home/user
    QString root() const;  // <base>/root
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
    enum class PlistFormat { xml, binary };
    QString makeAppBundle(const QString &folder, const QString &fileName, const QVariantMap &keys,
                          PlistFormat format = PlistFormat::xml, bool writePlist = true) const;

    // Allocated size (st_blocks * 512) of what lies at path, not following links.
    static qint64 allocatedSize(const QString &path);

private:
    QTemporaryDir m_dir;
    QByteArray m_savedHome;
    QByteArray m_savedXdgDataHome;
    bool m_hadXdgDataHome = false;
};

// Runs a shell command line as the unprivileged user "nobody" (through setpriv when running as
// root, directly otherwise), for tests that need file permissions to count. Returns the exit code.
int runAsUnprivileged(const QString &commandLine, QByteArray *output = nullptr);

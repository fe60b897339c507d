#pragma once

#include "scanner/ExecCommand.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The keys of one freedesktop desktop entry that Verlo reads, from its "[Desktop Entry]" group
// only. Localized keys ("Name[de]") are ignored; string values have their escapes (\s \n \t \r
// \\) resolved.
struct DesktopEntry
{
    QString type;
    QString name;
    QString exec;
    QString tryExec;
    QString icon;
    QString startupWMClass;
    QString flatpakID;        // X-Flatpak
    QString snapInstanceName; // X-SnapInstanceName
    bool noDisplay = false;
    bool hidden = false;

    // Entries are small; anything larger is not one.
    static constexpr qint64 kMaxBytes = 256 * 1024;

    // Nothing when the bytes are larger than kMaxBytes, hold a NUL, are not valid UTF-8 or have
    // no "[Desktop Entry]" group. A key given twice keeps its first value.
    static std::optional<DesktopEntry> parse(const QByteArray &bytes);

    // Exec split into arguments by its quoting rules, with field codes ("%f", "%U") dropped and
    // "%%" read as "%". Nothing for a value whose quotes do not close.
    static std::optional<QStringList> splitExec(const QString &exec);

    // What Exec starts; nothing (an empty program) for a value whose quotes do not close.
    ExecCommand command() const;
};

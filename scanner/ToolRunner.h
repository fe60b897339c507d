#pragma once

#include "scanner/Machine.h"

#include <QString>
#include <QStringList>

#include <optional>

struct UninstallResult
{
    bool succeeded = false;
    std::optional<QString> output;
};

struct CommandResult
{
    std::optional<QString> output; // both streams; nothing when not valid UTF-8 or not started
    int status = -1;               // -1 when the tool could not be started
    bool timedOut = false;         // killed when the query time limit ran out
};

// Runs the machine's tools: by absolute path, with only PATH and HOME set.
class ToolRunner
{
public:
    explicit ToolRunner(Machine machine) : m_machine(std::move(machine)) {}

    CommandResult runCommand(const QString &executable, const QStringList &arguments) const;
    // As runCommand, within the machine's query time limit.
    CommandResult runQuery(const QString &executable, const QStringList &arguments) const;
    std::optional<QString> runCommandForOutput(const QString &executable,
                                               const QStringList &arguments) const;
    // Exactly PATH and HOME, as "NAME=value" pairs.
    QStringList toolEnvironment() const;
    // The tool's path as "which" prints it, trimmed; nothing when not found.
    std::optional<QString> locateTool(const QString &name) const;

private:
    Machine m_machine;
};

// What an uninstalling tool said, or why it said nothing: succeeded only on exit status 0.
UninstallResult uninstallOutcome(const CommandResult &command, const QString &tool);

#include "scanner/ToolRunner.h"

#include "scanner/Process.h"

namespace {

const QString kWhichPath = QStringLiteral("/usr/bin/which");
const QString kToolSearchPath = QStringLiteral(
    "/opt/homebrew/bin:/opt/homebrew/sbin:/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin");

} // namespace

CommandResult ToolRunner::runCommand(const QString &executable, const QStringList &arguments) const
{
    Process process(executable, arguments);
    process.setEnvironment(toolEnvironment());
    const ProcessResult run = process.run();
    if (!run.started)
        return {std::nullopt, -1};
    return {run.text(), run.status};
}

CommandResult ToolRunner::runQuery(const QString &executable, const QStringList &arguments) const
{
    Process process(executable, arguments);
    process.setEnvironment(toolEnvironment());
    process.setTimeLimit(m_machine.queryTimeLimit());
    const ProcessResult run = process.run();
    if (!run.started)
        return {std::nullopt, -1};
    return {run.text(), run.status, run.timedOut};
}

std::optional<QString> ToolRunner::runCommandForOutput(const QString &executable,
                                                       const QStringList &arguments) const
{
    return runCommand(executable, arguments).output;
}

QStringList ToolRunner::toolEnvironment() const
{
    return {QStringLiteral("PATH=") + kToolSearchPath,
            QStringLiteral("HOME=") + m_machine.places().home()};
}

std::optional<QString> ToolRunner::locateTool(const QString &name) const
{
    // "which" gets this program's own environment, and only its standard output is read.
    Process process(m_machine.places().onSystem(kWhichPath), {name});
    process.setCaptureStandardError(false);
    const std::optional<QString> output = process.run().text();
    if (!output)
        return std::nullopt;
    const QString path = output->trimmed();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

UninstallResult uninstallOutcome(const CommandResult &command, const QString &tool)
{
    if (command.status == -1 && !command.output)
        return {false, QStringLiteral("%1 could not be started").arg(tool)};
    if (command.status != 0) {
        const QString said = command.output.value_or(QString()).trimmed();
        QString text = QStringLiteral("%1 failed (exit status %2)").arg(tool).arg(command.status);
        if (!said.isEmpty())
            text += QStringLiteral(": ") + said;
        return {false, text};
    }
    return {true, command.output};
}

#include "scanner/ExecCommand.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QStringList kLaunchers = {
    QStringLiteral("sh"),          QStringLiteral("bash"),       QStringLiteral("dash"),
    QStringLiteral("zsh"),         QStringLiteral("ksh"),        QStringLiteral("fish"),
    QStringLiteral("csh"),         QStringLiteral("tcsh"),       QStringLiteral("env"),
    QStringLiteral("java"),        QStringLiteral("javaw"),      QStringLiteral("mono"),
    QStringLiteral("dotnet"),      QStringLiteral("nodejs"),     QStringLiteral("flatpak"),
    QStringLiteral("snap"),        QStringLiteral("gtk-launch"), QStringLiteral("xdg-open"),
    QStringLiteral("gio"),         QStringLiteral("kde-open"),   QStringLiteral("kde-open5"),
    QStringLiteral("exo-open"),    QStringLiteral("steam"),      QStringLiteral("appimage-run"),
    QStringLiteral("wine-stable"), QStringLiteral("pkexec"),     QStringLiteral("sudo"),
    QStringLiteral("nohup"),       QStringLiteral("setsid"),     QStringLiteral("nice"),
    QStringLiteral("firejail"),    QStringLiteral("prime-run"),  QStringLiteral("gamemoderun"),
};

// Words a launcher takes before what it starts ("flatpak run X", "gio launch X",
// "kioclient5 exec X", "wine start /unix X", "wine C:\windows\command\start.exe /Unix X").
const QStringList kSubcommands = {QStringLiteral("run"),   QStringLiteral("launch"),
                                  QStringLiteral("open"),  QStringLiteral("exec"),
                                  QStringLiteral("start"), QStringLiteral("/unix")};

bool isSubcommand(const QString &argument)
{
    return kSubcommands.contains(argument, Qt::CaseInsensitive) ||
           argument.endsWith(QLatin1String("\\start.exe"), Qt::CaseInsensitive);
}

// Terminals are applications of their own, and start another one after these options
// ("xterm -e htop", "gnome-terminal -- htop").
const QStringList kTerminals = {
    QStringLiteral("x-terminal-emulator"),
    QStringLiteral("xterm"),
    QStringLiteral("uxterm"),
    QStringLiteral("gnome-terminal"),
    QStringLiteral("konsole"),
    QStringLiteral("xfce4-terminal"),
    QStringLiteral("mate-terminal"),
    QStringLiteral("lxterminal"),
    QStringLiteral("tilix"),
    QStringLiteral("terminator"),
    QStringLiteral("kitty"),
    QStringLiteral("alacritty"),
    QStringLiteral("foot"),
    QStringLiteral("wezterm"),
    QStringLiteral("urxvt"),
};
const QStringList kTerminalCommandOptions = {QStringLiteral("-e"), QStringLiteral("-x"),
                                             QStringLiteral("--")};

// Options by which a browser starts one web application, and those that tell two of the same
// name apart.
const QStringList kAppOptions = {QStringLiteral("--app-id"), QStringLiteral("--app"),
                                 QStringLiteral("--application-mode")};
const QStringList kProfileOptions = {QStringLiteral("--profile-directory"),
                                     QStringLiteral("--profile"),
                                     QStringLiteral("--user-data-dir")};

bool isOption(const QString &argument)
{
    return argument.startsWith(QLatin1Char('-'));
}

bool isAddress(const QString &argument)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(argument).hasMatch();
}

// The web application options among arguments, "--name=value" each, or "" when none starts one.
QString webApplication(const QStringList &arguments)
{
    QStringList named;
    bool startsOne = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        const bool app = kAppOptions.contains(name);
        if (!app && !kProfileOptions.contains(name))
            continue;
        startsOne = startsOne || app;
        QString value = argument.section(QLatin1Char('='), 1);
        if (!argument.contains(QLatin1Char('=')) && name != QLatin1String("--application-mode") &&
            i + 1 < arguments.size() && !isOption(arguments.at(i + 1)))
            value = arguments.at(++i);
        named.append(name + QLatin1Char('=') + value);
    }
    return startsOne ? named.join(QLatin1Char(' ')) : QString();
}

// Where env's settings end: after "NAME=value", options and the values "-u" and "-C" take.
qsizetype afterEnv(const QStringList &arguments, qsizetype i)
{
    while (i < arguments.size()) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("-u") || argument == QLatin1String("-C"))
            i += 2;
        else if (isOption(argument) || argument.contains(QLatin1Char('=')))
            ++i;
        else
            break;
    }
    return i;
}

} // namespace

bool ExecCommand::isLauncherName(const QString &name)
{
    static const QRegularExpression versioned(
        QStringLiteral("^(python|pypy|perl|ruby|node|php|lua|wine|electron|kioclient)[0-9.]*$"));
    return kLaunchers.contains(name) || versioned.match(name).hasMatch();
}

ExecCommand ExecCommand::fromArguments(const QStringList &arguments)
{
    ExecCommand command;
    qsizetype i = 0;
    if (!arguments.isEmpty() &&
        arguments.first().section(QLatin1Char('/'), -1) == QLatin1String("env"))
        i = afterEnv(arguments, 1);
    if (i >= arguments.size())
        return command;
    command.program = arguments.at(i);
    command.isLauncher = isLauncherName(command.program.section(QLatin1Char('/'), -1));
    command.arguments = arguments.mid(i + 1);
    const QStringList &rest = command.arguments;
    QStringList target;
    if (command.isLauncher) {
        // What it starts: its first argument that is no option or subcommand word.
        for (const QString &argument : rest) {
            if (!isOption(argument) && !isSubcommand(argument)) {
                target.append(argument);
                break;
            }
        }
    } else {
        for (const QString &argument : rest) {
            if (isAddress(argument))
                target.append(argument);
        }
        if (kTerminals.contains(command.program.section(QLatin1Char('/'), -1))) {
            const auto option = std::find_if(rest.begin(), rest.end(), [](const QString &a) {
                return kTerminalCommandOptions.contains(a);
            });
            if (option != rest.end() && option + 1 != rest.end())
                target.append(QStringList(option + 1, rest.end()).join(QLatin1Char(' ')));
        }
    }
    if (const QString app = webApplication(rest); !app.isEmpty())
        target.append(app);
    command.target = target.join(QLatin1Char(' '));
    return command;
}

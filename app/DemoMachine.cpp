#include "app/DemoMachine.h"

#include <QFileInfo>
#include <QSettings>

namespace DemoMachine {

std::optional<Places> fromEnvironment()
{
    const QString home = qEnvironmentVariable("VERLO_DEMO_HOME");
    const QString root = qEnvironmentVariable("VERLO_DEMO_ROOT");
    if (home.isEmpty() || root.isEmpty() || !QFileInfo(home).isDir() || !QFileInfo(root).isDir())
        return std::nullopt;
    return Places(home, root);
}

void keepSettingsIn(const QString &folder)
{
    // Native is the same file format on Linux; both are set so neither reaches the real home.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder);
}

void keepSettingsOn(const Places &machine, const Places &program)
{
    const QString variable = QStringLiteral("XDG_CONFIG_HOME");
    keepSettingsIn(program.setsXdg(variable) ? program.configHome() : machine.configHome());
}

} // namespace DemoMachine

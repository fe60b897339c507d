#include "scanner/ToolchainFiles.h"

#include <QRegularExpression>
#include <QVersionNumber>

namespace {

// nvm's aliases may point at one another; a circle must end.
constexpr int kMaxAliasHops = 8;

// The newest installed version whose number is prefix or begins with it ("20" finds v20.11.0,
// not v200.1); any version for an empty prefix.
std::optional<QString> newestMatching(const QStringList &installed, const QString &prefix)
{
    std::optional<QString> newest;
    QVersionNumber newestNumber;
    for (const QString &folder : installed) {
        const QString number = folder.startsWith(QLatin1Char('v')) ? folder.mid(1) : folder;
        if (!prefix.isEmpty() && number != prefix && !number.startsWith(prefix + QLatin1Char('.')))
            continue;
        const QVersionNumber version = QVersionNumber::fromString(number);
        if (version.isNull())
            continue;
        if (!newest || version > newestNumber) {
            newest = folder;
            newestNumber = version;
        }
    }
    return newest;
}

} // namespace

std::optional<QString> rustupDefaultToolchain(const QString &settingsToml)
{
    static const QRegularExpression line(
        QStringLiteral(R"re(^\s*default_toolchain\s*=\s*"([^"]+)"\s*(#.*)?$)re"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(settingsToml);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

std::optional<QString> parseRustupDefaultOutput(const QString &output)
{
    const QString first = output.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
    // "no default toolchain is configured", "error: ...": the answer names no toolchain.
    if (first.isEmpty() || first.startsWith(QLatin1String("no ")) || first.contains(u':'))
        return std::nullopt;
    return first.section(QLatin1Char(' '), 0, 0);
}

bool isRustupDefault(const QString &toolchain, const QString &defaultToolchain)
{
    return !defaultToolchain.isEmpty() &&
           (toolchain == defaultToolchain ||
            toolchain.startsWith(defaultToolchain + QLatin1Char('-')));
}

QStringList pyenvGlobalVersions(const QString &versionFile)
{
    QStringList versions;
    for (const QString &line : versionFile.split(QLatin1Char('\n'))) {
        const QString text = line.section(QLatin1Char('#'), 0, 0);
        for (const QString &word :
             text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            if (word != QLatin1String("system"))
                versions.append(word);
        }
    }
    return versions;
}

std::optional<QString>
resolveNvmDefault(const std::function<std::optional<QString>(const QString &)> &readAlias,
                  const QStringList &installed)
{
    static const QRegularExpression versionPrefix(QStringLiteral(R"(^v?(\d+(\.\d+){0,2})$)"));
    QString name = QStringLiteral("default");
    for (int hop = 0; hop < kMaxAliasHops; ++hop) {
        const std::optional<QString> target = readAlias(name);
        if (!target) {
            if (hop == 0)
                return std::nullopt;
            break;
        }
        name = target->trimmed();
    }
    if (name == QLatin1String("node") || name == QLatin1String("stable"))
        return newestMatching(installed, {});
    const QRegularExpressionMatch match = versionPrefix.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    return newestMatching(installed, match.captured(1));
}

SteamManifest parseSteamManifest(const QString &text)
{
    static const QRegularExpression pair(QStringLiteral(R"re(^\s*"([^"]+)"\s+"([^"]*)")re"));
    SteamManifest manifest;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = pair.match(line);
        if (!match.hasMatch())
            continue;
        const QString key = match.captured(1).toLower();
        if (key == QLatin1String("name") && manifest.name.isEmpty())
            manifest.name = match.captured(2);
        else if (key == QLatin1String("installdir") && manifest.installDir.isEmpty())
            manifest.installDir = match.captured(2);
    }
    return manifest;
}

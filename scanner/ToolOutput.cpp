#include "scanner/ToolOutput.h"

#include "scanner/DesktopApplicationPlaces.h"

#include <QRegularExpression>

#include <cmath>

namespace {

QStringList lines(const QString &output)
{
    return output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

constexpr double kLargestSize = 1e18; // an exabyte: anything larger is not a disk

} // namespace

std::optional<qint64> parseSizeText(const QString &text, bool singleLetterIsBinary)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*([0-9]+(?:[.,][0-9]+)?)[\\s\\x{00A0}]*([KMGTkmgt]?)(i?)([Bb]?)(?:\\s|\\(|$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double number =
        QString(match.captured(1)).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const QString prefix = match.captured(2).toUpper();
    const bool iec = !match.captured(3).isEmpty();
    const bool hasB = !match.captured(4).isEmpty();
    if (iec && (prefix.isEmpty() || !hasB))
        return std::nullopt;
    const double base = iec || (singleLetterIsBinary && !hasB && !prefix.isEmpty()) ? 1024 : 1000;
    const int power =
        QStringLiteral(" KMGT").indexOf(prefix.isEmpty() ? QStringLiteral(" ") : prefix);
    const double bytes = number * std::pow(base, power);
    if (!std::isfinite(bytes) || bytes < 0 || bytes > kLargestSize)
        return std::nullopt;
    return static_cast<qint64>(std::llround(bytes));
}

QHash<QString, QString> parseDpkgOwners(const QString &output)
{
    QHash<QString, QString> owners;
    for (const QString &line : lines(output)) {
        if (line.startsWith(QLatin1String("diversion ")))
            continue;
        const qsizetype separator = line.indexOf(QLatin1String(": /"));
        if (separator <= 0)
            continue;
        const QString path = line.mid(separator + 2).trimmed();
        QString package = line.left(separator).section(QLatin1Char(','), 0, 0).trimmed();
        package = package.section(QLatin1Char(':'), 0, 0);
        if (isValidPackageName(package) && !owners.contains(path))
            owners.insert(path, package);
    }
    return owners;
}

QHash<QString, QString> parseRPMOwners(const QString &output, const QStringList &paths)
{
    const QStringList names = lines(output);
    QHash<QString, QString> owners;
    if (names.size() != paths.size())
        return owners;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString name = names.at(i).trimmed();
        if (isValidPackageName(name))
            owners.insert(paths.at(i), name);
    }
    return owners;
}

std::optional<qint64> parseJournalUsage(const QString &output)
{
    static const QRegularExpression pattern(QStringLiteral("take up (\\S+)"));
    const QRegularExpressionMatch match = pattern.match(output);
    if (!match.hasMatch())
        return std::nullopt;
    return parseSizeText(match.captured(1), true);
}

QList<ReclaimableItem> parseDockerReclaimable(const QString &output)
{
    QList<ReclaimableItem> items;
    for (const QString &line : lines(output)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 2 || fields.at(0).trimmed().isEmpty())
            continue;
        const std::optional<qint64> bytes = parseSizeText(fields.at(1));
        if (bytes && *bytes > 0)
            items.append({fields.at(0).trimmed(), *bytes});
    }
    return items;
}

QList<ReclaimableItem> parseUnusedFlatpakRuntimes(const QString &runtimes,
                                                  const QString &appRuntimes)
{
    // "org.gnome.Platform/x86_64/45" per application.
    QStringList used;
    for (const QString &line : lines(appRuntimes)) {
        const QString ref = line.trimmed();
        if (ref.count(QLatin1Char('/')) == 2)
            used.append(ref);
    }
    QList<ReclaimableItem> unused;
    for (const QString &line : lines(runtimes)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 2)
            continue;
        const QString ref = fields.at(0).trimmed();
        const QStringList parts = ref.split(QLatin1Char('/'));
        if (parts.size() != 3 || !isValidFlatpakID(parts.at(0)))
            continue;
        // An extension ("org.gnome.Platform.Locale", "...Platform.GL.default") goes with the
        // runtime it extends.
        const bool isUsed = std::any_of(used.begin(), used.end(), [&](const QString &usedRef) {
            const QString usedID = usedRef.section(QLatin1Char('/'), 0, 0);
            return usedRef == ref || parts.at(0).startsWith(usedID + QLatin1Char('.'));
        });
        const std::optional<qint64> bytes = parseSizeText(fields.at(1));
        if (!isUsed && bytes)
            unused.append({ref, *bytes});
    }
    return unused;
}

QList<SnapRevision> parseDisabledSnaps(const QString &output)
{
    QList<SnapRevision> disabled;
    for (const QString &line : lines(output)) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() < 4 ||
            !fields.last().split(QLatin1Char(',')).contains(QStringLiteral("disabled")))
            continue;
        static const QRegularExpression revision(QStringLiteral("^x?[0-9]{1,12}$"));
        if (isValidSnapName(fields.at(0)) && revision.match(fields.at(2)).hasMatch())
            disabled.append({fields.at(0), fields.at(2)});
    }
    return disabled;
}

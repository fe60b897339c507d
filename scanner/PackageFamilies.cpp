#include "scanner/PackageFamilies.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/FileManager.h"
#include "scanner/FileScanner.h"
#include "scanner/Places.h"

#include <QDir>
#include <QRegularExpression>

namespace {

// A link chain longer than this is a loop.
constexpr int kMaxLinks = 16;

const QString kDpkgQuery = QStringLiteral("/usr/bin/dpkg-query");
const QString kRPM = QStringLiteral("/usr/bin/rpm");
const QString kRPMPackagesFormat = QStringLiteral("%{NAME}\\t%{SOURCERPM}\\n");

QString withoutArchitecture(const QString &package)
{
    return package.section(QLatin1Char(':'), 0, 0);
}

} // namespace

QString familyWord(const QString &package)
{
    static const QRegularExpression library(QStringLiteral("^lib([a-z0-9+]*[a-z+])[-.0-9]*\\d$"));
    const QRegularExpressionMatch match = library.match(package);
    return match.hasMatch() ? match.captured(1) : package;
}

const QString kDpkgPackagesFormat =
    QStringLiteral("${db:Status-Abbrev}${binary:Package} ${source:Package}\n");

QStringList installedPackageLines(const QString &output)
{
    QStringList lines;
    for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.size() > 3 && line.at(1) == QLatin1Char('i'))
            lines.append(line.mid(3));
    }
    return lines;
}

QStringList rpmPackageLines(const QString &output)
{
    QStringList lines;
    for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString binary = line.section(QLatin1Char('\t'), 0, 0).trimmed();
        QString source = line.section(QLatin1Char('\t'), 1).trimmed();
        for (const QLatin1String suffix :
             {QLatin1String(".src.rpm"), QLatin1String(".nosrc.rpm")}) {
            if (source.endsWith(suffix)) {
                source.chop(suffix.size());
                break;
            }
        }
        // "pidgin-2.14.12-1.fc39": the name is what comes before the last two dashes.
        source =
            source.count(QLatin1Char('-')) >= 2 ? source.section(QLatin1Char('-'), 0, -3) : binary;
        if (!binary.isEmpty())
            lines.append(binary + QLatin1Char(' ') + source);
    }
    return lines;
}

QStringList queryInstalledPackages(const FileScanner &scanner)
{
    const Places &places = scanner.places();
    const FileManager &files = scanner.fileManager();
    if (const QString dpkg = places.onSystem(kDpkgQuery); files.fileExists(dpkg)) {
        const CommandResult result = scanner.runQuery(
            dpkg, {QStringLiteral("-W"), QStringLiteral("-f"), kDpkgPackagesFormat});
        if (result.output && result.status == 0 && !result.timedOut)
            return installedPackageLines(*result.output);
    } else if (const QString rpm = places.onSystem(kRPM); files.fileExists(rpm)) {
        const CommandResult result = scanner.runQuery(
            rpm, {QStringLiteral("-qa"), QStringLiteral("--qf"), kRPMPackagesFormat});
        if (result.output && result.status == 0 && !result.timedOut)
            return rpmPackageLines(*result.output);
    }
    return {};
}

QHash<QString, QStringList> parsePackageFamilies(const QStringList &lines)
{
    QHash<QString, QStringList> binariesOfSource;
    QHash<QString, QString> sourceOf;
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() != 2)
            continue;
        const QString binary = withoutArchitecture(fields.at(0));
        const QString &source = fields.at(1);
        if (!isValidPackageName(binary) || !isValidPackageName(source) || sourceOf.contains(binary))
            continue;
        sourceOf.insert(binary, source);
        binariesOfSource[source].append(binary);
    }
    QHash<QString, QStringList> families;
    for (auto it = sourceOf.constBegin(); it != sourceOf.constEnd(); ++it) {
        QStringList words;
        for (const QString &other : binariesOfSource.value(it.value())) {
            const QString word = familyWord(other);
            if (other != it.key() && !words.contains(word))
                words.append(word);
        }
        if (!words.isEmpty())
            families.insert(it.key(), words);
    }
    return families;
}

QString resolvedProgram(const Places &places, const FileManager &fileManager,
                        const QString &program)
{
    QString path;
    if (program.startsWith(QLatin1Char('/'))) {
        path = places.onSystem(program);
    } else if (!program.isEmpty() && !program.contains(QLatin1Char('/'))) {
        for (const char *folder : {"/usr/bin", "/bin", "/usr/games", "/usr/local/bin"}) {
            const QString candidate =
                places.onSystem(QString::fromLatin1(folder) + QLatin1Char('/') + program);
            if (fileManager.fileExists(candidate) || fileManager.isSymbolicLink(candidate)) {
                path = candidate;
                break;
            }
        }
    }
    // Each link is followed within the system root, never to the real machine's files.
    const QString &root = places.root();
    for (int i = 0; !path.isEmpty() && i < kMaxLinks; ++i) {
        const std::optional<QString> target = fileManager.symbolicLinkTarget(path);
        if (!target) {
            bool isDirectory = true;
            return fileManager.fileExists(path, &isDirectory) && !isDirectory ? path : QString();
        }
        path = target->startsWith(QLatin1Char('/'))
                   ? places.onSystem(QDir::cleanPath(*target))
                   : QDir::cleanPath(path.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/') +
                                     *target);
        if (root != QLatin1String("/") && !path.startsWith(root + QLatin1Char('/')))
            return QString();
    }
    return QString();
}

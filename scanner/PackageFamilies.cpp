#include "scanner/PackageFamilies.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/FileManager.h"
#include "scanner/Places.h"

#include <QDir>
#include <QRegularExpression>

namespace {

// A link chain longer than this is a loop.
constexpr int kMaxLinks = 16;

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

QHash<QString, QStringList> parsePackageFamilies(const QString &output)
{
    QHash<QString, QStringList> binariesOfSource;
    QHash<QString, QString> sourceOf;
    for (const QString &line : installedPackageLines(output)) {
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

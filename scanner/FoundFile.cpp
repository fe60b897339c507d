#include "scanner/FoundFile.h"

#include "scanner/FileManager.h"

const QString kInexactNameReason =
    QStringLiteral("Its name is not valid text, so Verlo cannot tell it apart from other items");

AssociatedFile freedOnlyByCommand(const QString &path, const QString &name, qint64 size,
                                  const QString &command)
{
    AssociatedFile file(path, name, FileCategory::systemManaged, size);
    file.unremovableReason = QStringLiteral("Only a command can free this. Run: %1").arg(command);
    return file;
}

bool hasExactName(const QString &path)
{
    return !path.contains(QChar(QChar::ReplacementCharacter));
}

AssociatedFile foundFile(const FileManager &fileManager, const QString &path, const QString &name,
                         FileCategory category, qint64 size)
{
    AssociatedFile file(path, name, category, size);
    if (!hasExactName(path)) {
        file.size = 0;
        file.unremovableReason = kInexactNameReason;
    } else if (const std::optional<FileIdentity> identity = fileManager.identity(path)) {
        file.identity = *identity;
    }
    return file;
}

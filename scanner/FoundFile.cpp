#include "scanner/FoundFile.h"

#include "scanner/FileManager.h"

const QString kInexactNameReason =
    QStringLiteral("Its name is not valid text, so Verlo cannot tell it apart from other items");

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

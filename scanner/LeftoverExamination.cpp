#include "scanner/LeftoverExamination.h"

#include "scanner/FoundFile.h"
#include "scanner/SmallPool.h"

#include <QFile>

#include <sys/stat.h>

namespace {

ExaminedLeftover examine(const FileScanner &scanner, const ListedLeftover &entry,
                         const FolderMeasure &measureFolder)
{
    ExaminedLeftover examined{AssociatedFile(entry.path, entry.name, entry.category, 0), {}};
    AssociatedFile &file = examined.file;
    if (scanner.isCancelled())
        return examined;
    // One lstat gives what it is (a link as itself), its length and its last change.
    struct stat st;
    const bool known = ::lstat(QFile::encodeName(entry.path).constData(), &st) == 0;
    if (known)
        examined.changed = qint64(st.st_mtime);
    if (!hasExactName(entry.path)) {
        file.unremovableReason = kInexactNameReason;
    } else if (known) {
        file.identity =
            FileIdentity{static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino),
                         static_cast<quint32>(st.st_mode & S_IFMT)};
        if (!scanner.isCancelled())
            file.size =
                S_ISDIR(st.st_mode) ? measureFolder(entry.path) : static_cast<qint64>(st.st_size);
    }
    return examined;
}

} // namespace

void examineLeftovers(const FileScanner &scanner, const std::vector<ListedLeftover> &entries,
                      const FolderMeasure &measureFolder, const ScanProgress &progress,
                      const ExaminedEntry &examinedOne)
{
    forEachOnSmallPool(entries.size(), 8, [&](size_t i, bool onCallingThread) {
        if (onCallingThread && progress)
            progress(entries[i].path);
        examinedOne(i, examine(scanner, entries[i], measureFolder));
    });
}

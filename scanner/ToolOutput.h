#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Readers of what package and system tools print. Tool output is untrusted text: every reader
// takes only lines of the expected shape and skips the rest.

// "1.5GB", "1.2 GB", "800MB (66%)", "16.0M", "512 kB", "3 KiB" -> bytes. Units of one letter
// ("G", as journalctl prints them) are powers of 1024 when singleLetterIsBinary, else of 1000;
// "kB"/"MB"/... are powers of 1000 and "KiB"/"MiB"/... of 1024. Nothing for anything else.
std::optional<qint64> parseSizeText(const QString &text, bool singleLetterIsBinary = false);

// "dpkg-query -S": "pkg: /path", "pkg1, pkg2: /path", "pkg:amd64: /path" -> path to the first
// package (without its architecture). "diversion by ..." lines are skipped.
QHash<QString, QString> parseDpkgOwners(const QString &output);
// "rpm -qf --queryformat '%{NAME}\n' paths...": one line per path, in order; taken only when
// the line count matches and each line is a package name (an unowned file's message is not).
QHash<QString, QString> parseRPMOwners(const QString &output, const QStringList &paths);

// "journalctl --disk-usage": "Archived and active journals take up 1.2G in the file system."
std::optional<qint64> parseJournalUsage(const QString &output);

struct ReclaimableItem
{
    QString name;
    qint64 bytes = 0;
};
// "docker system df --format '{{.Type}}\t{{.Reclaimable}}'": "Images\t1.2GB (80%)" per line.
QList<ReclaimableItem> parseDockerReclaimable(const QString &output);

// "flatpak list --runtime --columns=ref,size" and "flatpak list --app --columns=runtime": the
// runtimes (and their extensions) no installed application uses, with their sizes.
QList<ReclaimableItem> parseUnusedFlatpakRuntimes(const QString &runtimes,
                                                  const QString &appRuntimes);

struct SnapRevision
{
    QString name;
    QString revision;
};
// "snap list --all": the rows whose notes say "disabled".
QList<SnapRevision> parseDisabledSnaps(const QString &output);

// What programs removed long ago left in the sample machine's home: a bundle dragged to the
// Trash (its Application Support folder and preferences), a Flatpak uninstalled without its
// data, an autostart entry of a program that is gone, and a dot folder nothing installed is
// named after. They were last changed months ago.

#include "demo/SampleParts.h"

#include <QDateTime>
#include <QFile>

#include <sys/time.h>

namespace sample {

namespace {

class Leftovers : public Part
{
public:
    using Part::Part;

    void build() const
    {
        const QString tessera = s.homePath(QStringLiteral("Library/Application Support/Tessera"));
        folderOfSize(tessera, 400 * kKiB,
                     {QStringLiteral("Library.sqlite"), QStringLiteral("Thumbnails.cache"),
                      QStringLiteral("Settings.json")});
        const QString preferences = file(
            s.homePath(QStringLiteral("Library/Preferences/com.tessera.Tessera.plist")), 4 * kKiB);
        const QString radio = s.homePath(QStringLiteral(".var/app/org.example.Radio"));
        folderOfSize(radio + QStringLiteral("/data"), 200 * kKiB,
                     {QStringLiteral("stations.db"), QStringLiteral("artwork.cache")});
        const QString autostart = s.writeFile(
            s.homePath(QStringLiteral(".config/autostart/cloudsync.desktop")),
            "[Desktop Entry]\nType=Application\nName=CloudSync\nExec=/usr/bin/cloudsync "
            "--background\n");
        const QString dotFolder = s.homePath(QStringLiteral(".pixelforge"));
        folderOfSize(dotFolder, 100 * kKiB,
                     {QStringLiteral("brushes.dat"), QStringLiteral("recent.json")});

        age(tessera, QDate(2025, 9, 12));
        age(preferences, QDate(2025, 9, 12));
        age(radio, QDate(2025, 11, 3));
        age(autostart, QDate(2025, 6, 20));
        age(dotFolder, QDate(2026, 1, 8));
    }

private:
    // Dates the entry (a file or a folder) back to noon of that day.
    static void age(const QString &path, const QDate &date)
    {
        const qint64 seconds = QDateTime(date, QTime(12, 0)).toSecsSinceEpoch();
        const timeval times[2] = {{static_cast<time_t>(seconds), 0},
                                  {static_cast<time_t>(seconds), 0}};
        ::utimes(QFile::encodeName(path).constData(), times);
    }
};

} // namespace

void addLeftovers(const MachineFolder &s, const MachineBuilder &m)
{
    Leftovers(s, m).build();
}

} // namespace sample

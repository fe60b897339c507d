// The Trash as macOS has it: the platform's own moves (QFile::moveToTrash, here Qt's Trash for
// this system) and keeps no record Verlo reads; the place it gives is recorded, and Put Back
// returns from there, never over anything and only the item that went.
#include "scanner/Trash.h"
#include "scanner/TrashRestore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class PlatformTrashTest : public QObject
{
    Q_OBJECT

private slots:
    void moveAndPutBack_byThePlaceTheTrashGives()
    {
        QTemporaryDir base;
        const QString home = base.path() + "/home", caches = home + "/Library/Caches/";
        QVERIFY(QDir().mkpath(caches) && QDir().mkpath(home + "/.local/share"));
        qputenv("HOME", QFile::encodeName(home));
        const auto write = [](const QString &path, const QByteArray &bytes) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        const auto identity = [](const QString &path) {
            struct stat st = {};
            ::lstat(QFile::encodeName(path).constData(), &st);
            return FileIdentity{quint64(st.st_dev), quint64(st.st_ino), st.st_mode & S_IFMT};
        };
        // The item, what happens before Put Back, and part of the answer (empty: put back).
        const std::tuple<QString, QString, QString> cases[] = {
            {"moved", "", ""},
            {"taken", "place taken", "is taken; nothing was overwritten"},
            {"swapped", "entry replaced", "is no longer the item that was moved there"},
        };
        const Trash trash(home);
        for (const auto &[name, change, answer] : cases) {
            const QString path = caches + name;
            QVERIFY(write(path, name.toUtf8()));
            TrashedItem trashed;
            QCOMPARE(trash.moveToTrash(path, identity(path), &trashed), QString());
            const QString place = trashed.trashFolder + '/' + trashed.name;
            QVERIFY(!QFileInfo::exists(path) && trashed.identity == identity(place));
            QCOMPARE(trashed.originalPath, path);
            if (change == "place taken")
                QVERIFY(write(path, "new"));
            if (change == "entry replaced")
                QVERIFY(write(place + ".new", "new") && QFile::remove(place) &&
                        QFile::rename(place + ".new", place));

            QString restoredTo;
            const QString error =
                TrashRestore::putBack(trashed, trash.homeTrashFolder(), &restoredTo);
            QVERIFY2(answer.isEmpty() ? error.isEmpty() : error.contains(answer),
                     qPrintable(name + ": " + error));
            QFile file(answer.isEmpty() ? restoredTo : place);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(),
                     change == "entry replaced" ? QByteArray("new") : name.toUtf8());
        }
    }
};

QTEST_GUILESS_MAIN(PlatformTrashTest)
#include "tst_platformtrash.moc"

#include "demo/MachineBuilder.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QProcess>
#include <QTest>

#include <unistd.h>

namespace {

constexpr qint64 kMiB = 1024 * 1024;

// The category's group, shown or hidden; an empty one when there is none.
FileGroup groupOf(const SystemDataResult &result, FileCategory category)
{
    for (const FileGroup &group : result.groups + result.hiddenGroups) {
        if (group.category == category)
            return group;
    }
    return FileGroup(category, {});
}

// "name size" of each file of the category's group.
QStringList entries(const SystemDataResult &result, FileCategory category)
{
    QStringList out;
    for (const AssociatedFile &file : groupOf(result, category).files)
        out.append(QStringLiteral("%1 %2").arg(file.name).arg(file.size));
    return out;
}

qint64 commandNumber(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    qint64 sum = 0;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n'))
        sum += line.split('\t').first().toLongLong();
    return sum;
}

// The home as du counts it with every hard-linked path counted and the folders' own blocks left
// out: the rules the size walk and the coverage line follow.
qint64 duOfHome(const QString &home)
{
    return commandNumber("du", {"-sB1", "--count-links", home}) -
           512 * commandNumber("find", {home, "-type", "d", "-printf", "%b\\n"});
}

} // namespace

class LargeFoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void scan_accountsForEveryByteOfTheHomeOnce()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        for (const auto &[place, size] : QList<std::pair<QString, qint64>>{
                 {".cache/big-app", 30 * kMiB},  // listed under System Caches
                 {".cache/small-app", 2 * kMiB}, // measured, under the cache minimum
                 {".local/share/Trash", kMiB},   // the Trash, named
                 {"projects/a/b/c", 40 * kMiB},  // a large folder, its bytes three down
                 {"projects/a/notes", kMiB},     //
                 {".local/lib/tool", 15 * kMiB}, // beside the Trash's folders
                 {".mozilla", 3 * kMiB},         // too small to be listed
                 {".config/app-a", 6 * kMiB},    // a searched folder is never listed whole,
                 {".config/app-b", 6 * kMiB},    // only its entries
                 {"Docs", 5 * kMiB},             // the user's documents
                 {"Docs/Music", 7 * kMiB}})      // and music inside them
            QVERIFY(machine.addHomeFolderOfSize(place, size));
        sandbox.writeFileOfSize(sandbox.homePath("disk.img"), 12 * kMiB);
        sandbox.writeFile(sandbox.homePath(".bashrc"), "alias ll='ls -l'\n");
        const QString linked = sandbox.homePath("projects/a/b/c/data.bin");
        QCOMPARE(::link(QFile::encodeName(linked), QFile::encodeName(sandbox.homePath("Docs/l"))),
                 0);
        const QDateTime changed(QDate(2024, 3, 5), QTime(9, 30), Qt::UTC);
        QVERIFY(MachineBuilder::setModificationDate(linked, changed));
        QVERIFY(MachineBuilder::setModificationDate(sandbox.homePath("projects/a/notes/data.bin"),
                                                    changed.addYears(-3)));
        // Desktop set to the home itself means none; a folder outside the home is not walked.
        sandbox.writeFile(sandbox.homePath(".config/user-dirs.dirs"),
                          "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/\"\n"
                          "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_MUSIC_DIR=\"$HOME/Docs/Music\"\n"
                          "XDG_VIDEOS_DIR=\"" +
                              sandbox.systemPath("/media/Videos").toUtf8() + "\"\n");
        sandbox.makeDir(sandbox.systemPath("/media/Videos"));

        const FileScanner scanner(sandbox.places());
        QList<SystemDataResult> partial;
        const auto measured = std::make_shared<std::atomic<qint64>>(0);
        const SystemDataResult result = scanner.scanSystemData(
            {}, {[&partial](const SystemDataResult &r) { partial.append(r); }, measured});

        const qint64 c = 40 * kMiB;
        QCOMPARE(entries(result, FileCategory::largeFolders),
                 (QStringList{QStringLiteral("projects %1").arg(c + kMiB),
                              QStringLiteral("lib %1").arg(15 * kMiB),
                              QStringLiteral("disk.img %1").arg(12 * kMiB)}));
        // A hard link counts once per path, as everywhere.
        QCOMPARE(entries(result, FileCategory::userFiles),
                 (QStringList{QStringLiteral("Docs %1").arg(5 * kMiB + c),
                              QStringLiteral("Music %1").arg(7 * kMiB)}));
        const FileGroup large = groupOf(result, FileCategory::largeFolders);
        QCOMPARE(large.files[0].path, sandbox.homePath("projects"));
        QCOMPARE(large.files[0].lastModified, changed);
        QVERIFY(large.files[0].isRemovable() && !large.files[0].isSelected);
        QVERIFY(!groupOf(result, FileCategory::userFiles).files[0].isRemovable()); // never offered

        // The coverage line's figures, to the byte; and each byte measured once.
        QCOMPARE(result.homeSize, duOfHome(sandbox.home()));
        QCOMPARE(result.accountedSize, (30 + 1 + 5 + 40 + 7 + 41 + 15 + 12) * kMiB);
        QCOMPARE(measured->load(), result.homeSize);

        // Each step's categories came before the home's walk ended; the last is the result.
        QVERIFY(partial.size() >= 2);
        QCOMPARE(entries(partial.first(), FileCategory::systemCaches),
                 QStringList{QStringLiteral("big-app %1").arg(30 * kMiB)});
        QVERIFY(entries(partial.first(), FileCategory::largeFolders).isEmpty());
        QCOMPARE(entries(partial.last(), FileCategory::largeFolders),
                 entries(result, FileCategory::largeFolders));

        // Opening a large folder: its children, largest first, adding up to it; and theirs.
        QStringList children;
        qint64 sum = 0;
        for (const AssociatedFile &file :
             scanner.largestChildren(sandbox.homePath("projects/a"), 10)) {
            children.append(QStringLiteral("%1 %2").arg(file.name).arg(file.size));
            sum += file.size;
        }
        QCOMPARE(children, (QStringList{QStringLiteral("b %1").arg(c),
                                        QStringLiteral("notes %1").arg(kMiB)}));
        QCOMPARE(sum, large.files[0].size);
        QCOMPARE(scanner.largestChildren(sandbox.homePath("projects/a/b"), 10)[0].lastModified,
                 changed);
        QCOMPARE(scanner.largestChildren(sandbox.home(), 2).size(), 2);
    }
};

QTEST_GUILESS_MAIN(LargeFoldersTest)
#include "tst_largefolders.moc"

#include "scanner/Places.h"
#include "scanner/Trash.h"
#include "tests/support/Sandbox.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

QByteArray bytes(const QString &path)
{
    return QFile::encodeName(path);
}

// The permission bits of what is at path, links not followed; -1 when nothing is there.
int modeOf(const QString &path)
{
    struct stat st;
    return ::lstat(bytes(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

bool lexists(const QString &path)
{
    return modeOf(path) >= 0;
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The encoding a Trash reader expects, written out independently: every byte except the
// unreserved characters and "/" as %XX.
QByteArray percentEncoded(const QString &path)
{
    QByteArray out;
    for (const char c : path.toUtf8()) {
        const uchar u = static_cast<uchar>(c);
        if ((u < 0x80 && QChar::isLetterOrNumber(u)) || QByteArray("-._~/").contains(c))
            out += c;
        else
            out += '%' + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
    }
    return out;
}

// The Path= value of a well-formed .trashinfo with a plausible DeletionDate=, else empty.
QByteArray recordedPath(const QString &infoFile)
{
    static const QRegularExpression format(
        QStringLiteral("^\\[Trash Info\\]\nPath=([^\n]*)\n"
                       "DeletionDate=(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d)\n\\z"));
    const QRegularExpressionMatch match = format.match(QString::fromLatin1(contentsOf(infoFile)));
    const QDateTime when = QDateTime::fromString(match.captured(2), Qt::ISODate);
    const qint64 age = when.secsTo(QDateTime::currentDateTime());
    if (!match.hasMatch() || !when.isValid() || age < -2 || age > 5)
        return {};
    return match.captured(1).toLatin1();
}

// What a trash folder holds: the contents of each stored file against its recorded path.
QMap<QByteArray, QByteArray> storedPaths(const QString &trash)
{
    QMap<QByteArray, QByteArray> paths;
    for (const QString &name : entriesOf(trash + "/files"))
        paths.insert(contentsOf(trash + "/files/" + name),
                     recordedPath(trash + "/info/" + name + ".trashinfo"));
    return paths;
}

} // namespace

class TrashTest : public QObject
{
    Q_OBJECT

private slots:
    // Every move records the item's path and overwrites nothing. A machine's relative
    // XDG_DATA_HOME is ignored; an absolute one is the base folder of the Trash.
    void homeTrash_recordsPathsNeverOverwritesAndFollowsXdgDataHome()
    {
        Sandbox box;
        const Trash trash(Places(box.home(), box.root(), {{"XDG_DATA_HOME", "relative/data"}}));
        const QString folder = box.homePath(".local/share/Trash");
        // Names a Trash reader needs percent-encoded; a stray file without its info and a stray
        // info without its file already take them.
        const QString dataName = QStringLiteral("100% done%20 a#b?c&d=e+f;[h]'\".bin");
        const QString logName = QStringLiteral("Ünï cødé\n日本語 🎉");
        box.writeFile(folder + "/files/" + dataName, "old file");
        box.writeFile(folder + "/info/" + logName + ".trashinfo", "old info");
        const QString data = box.homePath(dataName), log = box.homePath("Library/" + logName);
        // The same name twice from two folders, then once more from the first; a name so long
        // that the info file's name must be shortened to fit, twice.
        const QString first = box.homePath("a/r.txt"), second = box.homePath("b/r.txt");
        const QString longName = box.homePath(QString(250, QLatin1Char('n')));
        const QList<std::pair<QString, QByteArray>> items{
            {data, "data"},   {log, "log"},         {first, "first"},    {second, "second"},
            {first, "third"}, {longName, "long 1"}, {longName, "long 2"}};
        // Each stored file against its recorded path; the stray file keeps its name and no info.
        QMap<QByteArray, QByteArray> expected{{"old file", {}}};
        for (const auto &[item, contents] : items) {
            QCOMPARE(trash.moveToTrash(box.writeFile(item, contents)), QString());
            expected.insert(contents, percentEncoded(item));
        }

        for (const QString &item : {data, log, first, second, longName})
            QVERIFY(!lexists(item));
        QCOMPARE(contentsOf(folder + "/files/" + dataName), QByteArray("old file"));
        QCOMPARE(contentsOf(folder + "/info/" + logName + ".trashinfo"), QByteArray("old info"));
        QCOMPARE(storedPaths(folder), expected);
        QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(expected.value("log"))), log);
        QCOMPARE(entriesOf(folder + "/info").size(), 8);

        const QString dataHome = box.makeDir(box.base() + "/xdg data");
        const QString item = box.writeFile(box.homePath("item"), "xdg");
        QCOMPARE(
            Trash(Places(box.home(), box.root(), {{"XDG_DATA_HOME", dataHome}})).moveToTrash(item),
            QString());
        QCOMPARE(storedPaths(dataHome + "/Trash"),
                 (QMap<QByteArray, QByteArray>{{"xdg", percentEncoded(item)}}));
        // Made by the Trash itself, for this user only.
        QCOMPARE(modeOf(dataHome + "/Trash/files"), 0700);
        QCOMPARE(modeOf(dataHome + "/Trash/info"), 0700);
    }

    void foldersAndLinks_moveAsThemselves()
    {
        Sandbox box;
        const Trash trash(box.home());
        const QString folder = box.homePath("Library/Application Support/Tool");
        box.writeFile(folder + "/a/b/deep.txt", "deep");
        box.makeSymlink("/etc/hostname", folder + "/link");
        const QString target = box.writeFile(box.homePath("real/f"), "kept");
        const QString targetFolder = box.makeDir(box.homePath("real/folder"));
        box.writeFile(targetFolder + "/inside", "kept too");
        // name -> link target; a link to the home folder is only a link.
        const QMap<QString, QString> links{{"fileLink", target},
                                           {"folderLink", targetFolder},
                                           {"dangling", "/nowhere"},
                                           {"homeLink", box.home()}};
        for (auto it = links.cbegin(); it != links.cend(); ++it)
            box.makeSymlink(it.value(), box.homePath(it.key()));

        // A trailing slash names the folder, or the link itself.
        for (const QString &path :
             {folder + '/', box.homePath("folderLink/"), box.homePath("fileLink"),
              box.homePath("dangling"), box.homePath("homeLink")})
            QCOMPARE(trash.moveToTrash(path), QString());

        const QString files = box.homePath(".local/share/Trash/files/");
        QVERIFY(!lexists(folder));
        QCOMPARE(contentsOf(files + "Tool/a/b/deep.txt"), QByteArray("deep"));
        QCOMPARE(QFile::symLinkTarget(files + "Tool/link"), QStringLiteral("/etc/hostname"));
        QCOMPARE(recordedPath(box.homePath(".local/share/Trash/info/Tool.trashinfo")),
                 percentEncoded(folder));
        for (auto it = links.cbegin(); it != links.cend(); ++it) {
            QVERIFY(!lexists(box.homePath(it.key())));
            QCOMPARE(QFile::symLinkTarget(files + it.key()), it.value());
        }
        QCOMPARE(contentsOf(target), QByteArray("kept"));
        QCOMPARE(contentsOf(targetFolder + "/inside"), QByteArray("kept too"));
    }

    // Refused: no path, the root, relative paths, the home folder and what holds it, the Trash, its
    // own folders and what is already in them, and every path when the home folder is relative.
    void refusalsAndFailures_leaveEverythingInPlace()
    {
        Sandbox box;
        const QString keep = box.writeFile(box.homePath("Library/Preferences/keep.plist"), "k");
        QCOMPARE(Trash(box.home()).moveToTrash(box.writeFile(box.homePath("item"), "")), QString());
        const QStringList before = entriesOf(box.home());
        // Path ("@" stands for the box home, "^" for its base) -> part of the reason.
        // clang-format off
        const std::pair<const char *, const char *> cases[] = {
            {"", "No path was given"}, {"/", "root folder"}, {"//", "root folder"},
            {"Library", "Not an absolute path"}, {"@", "home folder"}, {"@/", "home folder"},
            {"@/Library/..", "Verlo only moves items named by their own path"},
            {"@/Library/../../user", "home folder"}, {"^/home", "holds the home"},
            {"@/no/gone.txt", "No such file or directory"},
            {"@/.local", "holds the Trash"}, {"@/.local/share/Trash", "holds the Trash"},
            {"@/.local/share/Trash/files", "It is already in the Trash"},
            {"@/.local/share/Trash/info", "It is already in the Trash"},
            {"@/.local/share/Trash/files/item", "It is already in the Trash"},
            {"@/.local/share/Trash/info/item.trashinfo", "It is already in the Trash"},
        };
        // clang-format on
        for (const auto &[path, reason] : cases) {
            const QString error =
                Trash(box.home())
                    .moveToTrash(
                        QString::fromUtf8(path).replace('@', box.home()).replace('^', box.base()));
            QVERIFY2(error.contains(reason), qPrintable(path + QStringLiteral(": ") + error));
        }
        // A relative home folder (the same folder, seen from its base) leaves nothing to go by.
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(box.base());
        const QString relative = Trash("home/user").moveToTrash(keep);
        QDir::setCurrent(cwd);
        QVERIFY2(relative.contains("not an absolute path"), qPrintable(relative));

        QCOMPARE(entriesOf(box.home()), before);
        QCOMPARE(contentsOf(keep), QByteArray("k"));
        QCOMPARE(entriesOf(box.homePath(".local/share/Trash/files")), QStringList{"item"});
        QCOMPARE(entriesOf(box.homePath(".local/share/Trash/info")), QStringList{"item.trashinfo"});
    }

    void otherFileSystem_ownTrashOrClearFailure()
    {
        Sandbox box;
        QTemporaryDir elsewhere(QStringLiteral("/dev/shm/verlo-trash-XXXXXX"));
        struct stat shm, home;
        if (!elsewhere.isValid() || ::stat(bytes(elsewhere.path()).constData(), &shm) != 0 ||
            ::stat(bytes(box.home()).constData(), &home) != 0 || shm.st_dev == home.st_dev)
            QSKIP("needs /dev/shm on a file system of its own");
        const QString name = QFileInfo(elsewhere.path()).fileName() + " item";
        const QString item = box.writeFile(elsewhere.path() + '/' + name, "far away");

        const QString error = Trash(box.home()).moveToTrash(item);

        // Where it went: the top of /dev/shm's mount, in the shared folder when that is set up
        // safely, else in this user's own folder there.
        const QString uid = QString::number(::geteuid());
        struct stat shared;
        const bool useShared = ::lstat("/dev/shm/.Trash", &shared) == 0 &&
                               S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX);
        const QString trash = useShared ? "/dev/shm/.Trash/" + uid : "/dev/shm/.Trash-" + uid;
        const QString stored = trash + "/files/" + name;
        const QString info = trash + "/info/" + name + ".trashinfo";
        const QByteArray storedContents = contentsOf(stored);
        const QByteArray path = recordedPath(info);
        // Clean up what this test put into the shared folder before judging.
        QFile::remove(stored);
        QFile::remove(info);

        QCOMPARE(error, QString());
        QVERIFY(!lexists(item));
        QCOMPARE(storedContents, QByteArray("far away"));
        // Relative to the top folder of that file system.
        QCOMPARE(path, percentEncoded(item.mid(QStringLiteral("/dev/shm/").size())));
        QCOMPARE(modeOf(trash) & 0777, 0700);
        QVERIFY(!lexists(box.homePath(".local/share/Trash/files/") + name));

        // The user pointed the home Trash's files folder at another file system: no copy.
        const QString homeTrash = box.homePath(".local/share/Trash");
        box.makeDir(homeTrash + "/info");
        box.makeSymlink(elsewhere.path(), homeTrash + "/files");
        const QString stay = box.writeFile(box.homePath("stay.txt"), "stay");
        const QString failure = Trash(box.home()).moveToTrash(stay);
        QVERIFY2(failure.contains("another file system"), qPrintable(failure));
        QCOMPARE(contentsOf(stay), QByteArray("stay"));
        QVERIFY(entriesOf(elsewhere.path()).isEmpty());
        QVERIFY(entriesOf(homeTrash + "/info").isEmpty());
    }

    // An item swapped for another's between the check and the move, where the Trash's files
    // folder (another's, sticky) lets nothing out again: the failure says where it is, and it is
    // there with its record.
    void swappedItemStuckInTrash_isReportedWhereItIs()
    {
        if (isUnprivilegedChild()) {
            const QString caches = qEnvironmentVariable("HOME") + "/Caches/";
            TrashedItem trashed;
            const QString error =
                Trash(qEnvironmentVariable("HOME"))
                    .moveToTrash(caches + "item", std::nullopt, &trashed, [&](const TrashedItem &) {
                        QFile::rename(caches + "item", caches + "listed");
                        QFile::rename(caches + "other", caches + "item");
                        return QString();
                    });
            std::printf("%s | %s\n", qPrintable(error), qPrintable(trashed.name));
            return;
        }
        if (::geteuid() != 0)
            QSKIP("handing the Trash's files folder to another user needs root");
        Sandbox box;
        const QString trash = box.homePath(".local/share/Trash");
        for (const QString &folder : {trash + "/files", trash + "/info"})
            ::chmod(bytes(box.makeDir(folder)).constData(), 01777);
        ::chmod(bytes(box.makeDir(box.homePath("Caches"))).constData(), 0777);
        box.writeFile(box.homePath("Caches/item"), "listed");
        box.writeFile(box.homePath("Caches/other"), "other");
        QByteArray output;
        QCOMPARE(runTestFunctionAsUnprivileged(QTest::currentTestFunction(), {{"HOME", box.home()}},
                                               &output),
                 0);
        const QByteArray where = "Changed since it was listed; what was found in its place went "
                                 "to the Trash as " +
                                 bytes(trash) + "/files/item and could not be moved back";
        QVERIFY2(output.contains(where) && output.contains(") | item\n"), output.constData());
        QCOMPARE(contentsOf(trash + "/files/item"), QByteArray("other"));
        QCOMPARE(recordedPath(trash + "/info/item.trashinfo"),
                 percentEncoded(box.homePath("Caches/item")));
        QCOMPARE(contentsOf(box.homePath("Caches/listed")), QByteArray("listed"));
    }

    // Items on another file system go to its top folder's shared .Trash/<uid> only when .Trash is
    // sticky and no link, else to .Trash-<uid>, which must be this user's own and no link.
    void topDirTrash_choosesSafeFolder()
    {
        Sandbox box;
        // A sticky, world-writable folder that no link may steer the Trash into.
        const QString decoy = box.makeDir(box.base() + "/decoy");
        ::chmod(bytes(decoy).constData(), 01777);
        const QString uid = QString::number(::geteuid());
        // Setup, the mode of .Trash (0: none), the entry that is a link to the decoy, whether
        // .Trash-@ belongs to another user, and the folder chosen (empty: refused).
        // clang-format off
        const std::tuple<const char *, int, const char *, bool, const char *> rows[] = {
            {"nothing yet", 0, "", false, ".Trash-@"},
            {"sticky shared", 01777, "", false, ".Trash/@"},
            {"shared, not sticky", 0777, "", false, ".Trash-@"},
            {"shared is a link", 0, ".Trash", false, ".Trash-@"},
            {"shared entry is a link", 01777, ".Trash/@", false, ".Trash-@"},
            {"own is a link", 0, ".Trash-@", false, ""},
            {"own belongs to another", 0, "", true, ""},
        };
        // clang-format on
        for (const auto &[setup, sharedMode, link, foreign, expected] : rows) {
            if (foreign && ::geteuid() != 0)
                continue; // handing a folder to another user needs root (as in CI); skipped below
            const QString top = box.makeDir(box.base() + '/' + setup);
            const auto at = [&](const char *relative) {
                return top + '/' + QString::fromUtf8(relative).replace('@', uid);
            };
            if (sharedMode)
                ::chmod(bytes(box.makeDir(at(".Trash"))).constData(), sharedMode);
            if (*link)
                box.makeSymlink(decoy, at(link));
            if (foreign)
                QCOMPARE(::chown(bytes(box.makeDir(at(".Trash-@"))).constData(), 65534, 65534), 0);

            QString error;
            const QString trash = Trash::trashFolderForTopDir(top, &error);
            const QString row = QString::fromUtf8(setup) + ": ";
            QCOMPARE(row + trash, row + (*expected ? at(expected) : QString()));
            if (*expected)
                QCOMPARE(modeOf(trash), 0700);
            else
                QVERIFY2(error.contains(at(".Trash-@")), qPrintable(row + error));
        }
        QVERIFY(entriesOf(decoy).isEmpty());
        if (::geteuid() != 0)
            QSKIP("the other user's folder needs root");
    }
};

QTEST_GUILESS_MAIN(TrashTest)
#include "tst_trash.moc"

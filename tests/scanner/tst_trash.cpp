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

namespace {

QByteArray bytes(const QString &path)
{
    return QFile::encodeName(path);
}

bool lexists(const QString &path)
{
    struct stat st;
    return ::lstat(bytes(path).constData(), &st) == 0;
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString linkTarget(const QString &path)
{
    char buffer[4096];
    const ssize_t n = ::readlink(bytes(path).constData(), buffer, sizeof buffer);
    return n < 0 ? QString() : QFile::decodeName(QByteArray(buffer, n));
}

mode_t modeOf(const QString &path)
{
    struct stat st;
    return ::lstat(bytes(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

dev_t deviceOf(const QString &path)
{
    struct stat st;
    return ::stat(bytes(path).constData(), &st) == 0 ? st.st_dev : 0;
}

// The encoding a Trash reader expects, written out independently: every byte except the
// unreserved characters and "/" as %XX.
QByteArray percentEncoded(const QString &path)
{
    QByteArray out;
    for (const char c : path.toUtf8()) {
        const uchar u = static_cast<uchar>(c);
        const bool keep = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                          (u >= '0' && u <= '9') || u == '-' || u == '.' || u == '_' || u == '~' ||
                          u == '/';
        if (keep)
            out += c;
        else
            out += '%' + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
    }
    return out;
}

struct TrashInfo
{
    bool valid = false;
    QByteArray path;
    QDateTime deletionDate;
};

TrashInfo readInfo(const QString &infoFile)
{
    TrashInfo info;
    const QList<QByteArray> lines = contentsOf(infoFile).split('\n');
    if (lines.size() != 4 || lines[0] != "[Trash Info]" || !lines[1].startsWith("Path=") ||
        !lines[2].startsWith("DeletionDate=") || !lines[3].isEmpty())
        return info;
    info.path = lines[1].mid(5);
    const QByteArray date = lines[2].mid(13);
    static const QRegularExpression shape(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$"));
    if (!shape.match(QString::fromLatin1(date)).hasMatch())
        return info;
    info.deletionDate = QDateTime::fromString(QString::fromLatin1(date), Qt::ISODate);
    info.valid = info.deletionDate.isValid();
    return info;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TrashTest : public QObject
{
    Q_OBJECT

private slots:
    void homeTrash_recordsEncodedPathAndDate_data();
    void homeTrash_recordsEncodedPathAndDate();
    void sameNameTwice_bothSurvive();
    void existingNames_areNeverOverwritten();
    void folder_movesWhole();
    void symbolicLink_movesLinkNotTarget();
    void longName_stillFitsInfoFile();
    void refusedPaths_stayWhereTheyAre_data();
    void refusedPaths_stayWhereTheyAre();
    void missingPath_failsWithSystemReason();
    void xdgDataHome_isHonoured();
    void otherFileSystem_goesToItsOwnTrash();
    void filesFolderOnOtherFileSystem_failsWithoutCopy();
    void topDirTrash_choosesSafeFolder_data();
    void topDirTrash_choosesSafeFolder();
};

void TrashTest::homeTrash_recordsEncodedPathAndDate_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("notes.txt");
    QTest::newRow("spaces") << QStringLiteral("My Notes (old).txt");
    QTest::newRow("percent") << QStringLiteral("100% done%20.txt");
    QTest::newRow("newline") << QStringLiteral("two\nlines");
    QTest::newRow("non-ASCII") << QStringLiteral("Ünïcødé – 日本語 🎉");
    QTest::newRow("URL characters") << QStringLiteral("a#b?c&d=e+f;g[h]'\"");
    QTest::newRow("dot file") << QStringLiteral(".hidden");
}

void TrashTest::homeTrash_recordsEncodedPathAndDate()
{
    QFETCH(QString, name);
    Sandbox sandbox;
    const QString item =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("Library/Caches/") + name), "payload");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);

    QCOMPARE(Trash(sandbox.home()).moveToTrash(item), QString());

    const QString trash = sandbox.homePath(QStringLiteral(".local/share/Trash"));
    QVERIFY(!lexists(item));
    QCOMPARE(contentsOf(trash + QStringLiteral("/files/") + name), QByteArray("payload"));
    const TrashInfo info =
        readInfo(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
    QVERIFY(info.valid);
    QCOMPARE(info.path, percentEncoded(item));
    QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(info.path)), item);
    QVERIFY(info.deletionDate >= before);
    QVERIFY(info.deletionDate <= QDateTime::currentDateTime().addSecs(2));
    for (const QString &folder :
         {trash + QStringLiteral("/files"), trash + QStringLiteral("/info")})
        QCOMPARE(modeOf(folder), mode_t(0700));
}

void TrashTest::sameNameTwice_bothSurvive()
{
    Sandbox sandbox;
    const Trash trash(sandbox.home());
    const QString first =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("a/report.txt")), "first");
    const QString second =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("b/report.txt")), "second");
    QCOMPARE(trash.moveToTrash(first), QString());
    QCOMPARE(trash.moveToTrash(second), QString());
    // The same place again, once more.
    const QString third = sandbox.writeFile(first, "third");
    QCOMPARE(trash.moveToTrash(third), QString());

    const QString files = sandbox.homePath(QStringLiteral(".local/share/Trash/files"));
    const QString infos = sandbox.homePath(QStringLiteral(".local/share/Trash/info"));
    const QStringList names = entriesOf(files);
    QCOMPARE(names.size(), 3);
    QMap<QByteArray, QByteArray> pathByContents;
    for (const QString &name : names) {
        const TrashInfo info =
            readInfo(infos + QLatin1Char('/') + name + QStringLiteral(".trashinfo"));
        QVERIFY2(info.valid, qPrintable(name));
        pathByContents.insert(contentsOf(files + QLatin1Char('/') + name), info.path);
    }
    QCOMPARE(pathByContents.value("first"), percentEncoded(first));
    QCOMPARE(pathByContents.value("second"), percentEncoded(second));
    QCOMPARE(pathByContents.value("third"), percentEncoded(first));
    QCOMPARE(entriesOf(infos).size(), 3);
}

void TrashTest::existingNames_areNeverOverwritten()
{
    Sandbox sandbox;
    const QString trash = sandbox.homePath(QStringLiteral(".local/share/Trash"));
    // A stray file without its info, and a stray info without its file: both names are taken.
    sandbox.writeFile(trash + QStringLiteral("/files/data.bin"), "old file");
    sandbox.writeFile(trash + QStringLiteral("/info/log.txt.trashinfo"), "old info");
    sandbox.makeDir(trash + QStringLiteral("/files/folder"));
    sandbox.writeFile(trash + QStringLiteral("/files/folder/inside"), "old inside");

    const QString data =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("data.bin")), "new file");
    const QString log = sandbox.writeFile(sandbox.homePath(QStringLiteral("log.txt")), "new log");
    const QString folder = sandbox.makeDir(sandbox.homePath(QStringLiteral("folder")));
    sandbox.writeFile(folder + QStringLiteral("/other"), "new other");
    for (const QString &item : {data, log, folder})
        QCOMPARE(Trash(sandbox.home()).moveToTrash(item), QString());

    QCOMPARE(contentsOf(trash + QStringLiteral("/files/data.bin")), QByteArray("old file"));
    QCOMPARE(contentsOf(trash + QStringLiteral("/info/log.txt.trashinfo")), QByteArray("old info"));
    QCOMPARE(entriesOf(trash + QStringLiteral("/files/folder")),
             QStringList{QStringLiteral("inside")});
    // The stray file's name had no info: that info must not have been left behind either.
    QVERIFY(!lexists(trash + QStringLiteral("/info/data.bin.trashinfo")));
    QVERIFY(!lexists(trash + QStringLiteral("/info/folder.trashinfo")));

    int found = 0;
    for (const QString &name : entriesOf(trash + QStringLiteral("/files"))) {
        const QString file = trash + QStringLiteral("/files/") + name;
        const TrashInfo info =
            readInfo(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
        if (contentsOf(file) == "new file") {
            QCOMPARE(info.path, percentEncoded(data));
            ++found;
        } else if (contentsOf(file) == "new log") {
            QCOMPARE(info.path, percentEncoded(log));
            ++found;
        } else if (QFileInfo(file).isDir() &&
                   entriesOf(file) == QStringList{QStringLiteral("other")}) {
            QCOMPARE(info.path, percentEncoded(folder));
            ++found;
        }
    }
    QCOMPARE(found, 3);
}

void TrashTest::folder_movesWhole()
{
    Sandbox sandbox;
    const QString folder = sandbox.homePath(QStringLiteral("Library/Application Support/Tool"));
    sandbox.writeFile(folder + QStringLiteral("/a/b/deep.txt"), "deep");
    sandbox.writeFile(folder + QStringLiteral("/top.txt"), "top");
    sandbox.makeSymlink(QStringLiteral("/etc/hostname"), folder + QStringLiteral("/link"));

    // A trailing slash names the same folder.
    QCOMPARE(Trash(sandbox.home()).moveToTrash(folder + QLatin1Char('/')), QString());

    const QString moved = sandbox.homePath(QStringLiteral(".local/share/Trash/files/Tool"));
    QVERIFY(!lexists(folder));
    QCOMPARE(contentsOf(moved + QStringLiteral("/a/b/deep.txt")), QByteArray("deep"));
    QCOMPARE(contentsOf(moved + QStringLiteral("/top.txt")), QByteArray("top"));
    QCOMPARE(linkTarget(moved + QStringLiteral("/link")), QStringLiteral("/etc/hostname"));
    QCOMPARE(
        readInfo(sandbox.homePath(QStringLiteral(".local/share/Trash/info/Tool.trashinfo"))).path,
        percentEncoded(folder));
}

void TrashTest::symbolicLink_movesLinkNotTarget()
{
    Sandbox sandbox;
    const Trash trash(sandbox.home());
    const QString target =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("real/file.txt")), "kept");
    const QString targetFolder = sandbox.makeDir(sandbox.homePath(QStringLiteral("real/folder")));
    sandbox.writeFile(targetFolder + QStringLiteral("/inside"), "kept too");
    const QString fileLink =
        sandbox.makeSymlink(target, sandbox.homePath(QStringLiteral("fileLink")));
    const QString folderLink =
        sandbox.makeSymlink(targetFolder, sandbox.homePath(QStringLiteral("folderLink")));
    const QString dangling = sandbox.makeSymlink(QStringLiteral("/nowhere/at/all"),
                                                 sandbox.homePath(QStringLiteral("dangling")));
    const QString homeLink =
        sandbox.makeSymlink(sandbox.home(), sandbox.homePath(QStringLiteral("homeLink")));

    QCOMPARE(trash.moveToTrash(fileLink), QString());
    QCOMPARE(trash.moveToTrash(folderLink + QLatin1Char('/')), QString());
    QCOMPARE(trash.moveToTrash(dangling), QString());
    // A link to the home folder is only a link: moving it leaves the home alone.
    QCOMPARE(trash.moveToTrash(homeLink), QString());

    const QString files = sandbox.homePath(QStringLiteral(".local/share/Trash/files/"));
    QCOMPARE(linkTarget(files + QStringLiteral("fileLink")), target);
    QCOMPARE(linkTarget(files + QStringLiteral("folderLink")), targetFolder);
    QCOMPARE(linkTarget(files + QStringLiteral("dangling")), QStringLiteral("/nowhere/at/all"));
    QCOMPARE(linkTarget(files + QStringLiteral("homeLink")), sandbox.home());
    QCOMPARE(contentsOf(target), QByteArray("kept"));
    QCOMPARE(contentsOf(targetFolder + QStringLiteral("/inside")), QByteArray("kept too"));
    for (const QString &link : {fileLink, folderLink, dangling, homeLink})
        QVERIFY(!lexists(link));
}

void TrashTest::longName_stillFitsInfoFile()
{
    Sandbox sandbox;
    const QString name = QString(250, QLatin1Char('n'));
    const QString item = sandbox.writeFile(sandbox.homePath(name), "long");
    const Trash trash(sandbox.home());
    QCOMPARE(trash.moveToTrash(item), QString());
    sandbox.writeFile(item, "long again");
    QCOMPARE(trash.moveToTrash(item), QString());

    const QString trashFolder = sandbox.homePath(QStringLiteral(".local/share/Trash"));
    const QStringList names = entriesOf(trashFolder + QStringLiteral("/files"));
    QCOMPARE(names.size(), 2);
    for (const QString &stored : names) {
        const TrashInfo info = readInfo(trashFolder + QStringLiteral("/info/") + stored +
                                        QStringLiteral(".trashinfo"));
        QVERIFY(info.valid);
        QCOMPARE(info.path, percentEncoded(item));
    }
}

void TrashTest::refusedPaths_stayWhereTheyAre_data()
{
    QTest::addColumn<QString>("relative"); // to the sandbox home; "@" stands for the home itself
    QTest::addColumn<QString>("absolute"); // used when relative is empty
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QString() << QString() << QStringLiteral("No path was given");
    QTest::newRow("root") << QString() << QStringLiteral("/") << QStringLiteral("root folder");
    QTest::newRow("root, doubled")
        << QString() << QStringLiteral("//") << QStringLiteral("root folder");
    QTest::newRow("relative") << QString() << QStringLiteral("Library")
                              << QStringLiteral("absolute");
    QTest::newRow("home") << QStringLiteral("@") << QString() << QStringLiteral("home folder");
    QTest::newRow("home, slash") << QStringLiteral("@/") << QString()
                                 << QStringLiteral("home folder");
    QTest::newRow("home, by ..") << QStringLiteral("@/Library/..") << QString()
                                 << QStringLiteral("Verlo");
    QTest::newRow("home, by path")
        << QStringLiteral("@/Library/../../user") << QString() << QStringLiteral("home folder");
    QTest::newRow("above home") << QStringLiteral("@/..") << QString() << QStringLiteral("Verlo");
    QTest::newRow("holds the Trash")
        << QStringLiteral("@/.local") << QString() << QStringLiteral("holds the Trash");
    QTest::newRow("the Trash") << QStringLiteral("@/.local/share/Trash") << QString()
                               << QStringLiteral("holds the Trash");
    QTest::newRow("dot") << QStringLiteral("@/Library/.") << QString() << QStringLiteral("Verlo");
}

void TrashTest::refusedPaths_stayWhereTheyAre()
{
    QFETCH(QString, relative);
    QFETCH(QString, absolute);
    QFETCH(QString, reason);
    Sandbox sandbox;
    sandbox.writeFile(sandbox.homePath(QStringLiteral("Library/Preferences/keep.plist")), "keep");
    sandbox.writeFile(sandbox.homePath(QStringLiteral(".local/share/Trash/files/old")), "old");
    const QStringList before = entriesOf(sandbox.home());
    QString path = relative.isEmpty() ? absolute : relative;
    path.replace(QLatin1Char('@'), sandbox.home());

    const QString error = Trash(sandbox.home()).moveToTrash(path);
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(entriesOf(sandbox.home()), before);
    QCOMPARE(contentsOf(sandbox.homePath(QStringLiteral("Library/Preferences/keep.plist"))),
             QByteArray("keep"));
    QCOMPARE(entriesOf(sandbox.homePath(QStringLiteral(".local/share/Trash/files"))),
             QStringList{QStringLiteral("old")});
    QVERIFY(entriesOf(sandbox.homePath(QStringLiteral(".local/share/Trash/info"))).isEmpty());
}

void TrashTest::missingPath_failsWithSystemReason()
{
    Sandbox sandbox;
    const Trash trash(sandbox.home());
    QCOMPARE(trash.moveToTrash(sandbox.homePath(QStringLiteral("gone.txt"))),
             QStringLiteral("No such file or directory"));
    QCOMPARE(trash.moveToTrash(sandbox.homePath(QStringLiteral("no/such/folder/gone.txt"))),
             QStringLiteral("No such file or directory"));
    QVERIFY(entriesOf(sandbox.homePath(QStringLiteral(".local/share/Trash/info"))).isEmpty());
}

void TrashTest::xdgDataHome_isHonoured()
{
    Sandbox sandbox;
    const QString dataHome = sandbox.makeDir(sandbox.base() + QStringLiteral("/xdg data"));
    const QString first = sandbox.writeFile(sandbox.homePath(QStringLiteral("first")), "1");
    const QString second = sandbox.writeFile(sandbox.homePath(QStringLiteral("second")), "2");

    qputenv("XDG_DATA_HOME", bytes(dataHome));
    const QString error = Trash(sandbox.home()).moveToTrash(first);
    // A relative value is not a valid base folder and is ignored.
    qputenv("XDG_DATA_HOME", "relative/data");
    const QString secondError = Trash(sandbox.home()).moveToTrash(second);
    qunsetenv("XDG_DATA_HOME");

    QCOMPARE(error, QString());
    QCOMPARE(secondError, QString());
    QCOMPARE(contentsOf(dataHome + QStringLiteral("/Trash/files/first")), QByteArray("1"));
    QCOMPARE(readInfo(dataHome + QStringLiteral("/Trash/info/first.trashinfo")).path,
             percentEncoded(first));
    QVERIFY(!lexists(sandbox.homePath(QStringLiteral(".local/share/Trash/files/first"))));
    QCOMPARE(contentsOf(sandbox.homePath(QStringLiteral(".local/share/Trash/files/second"))),
             QByteArray("2"));
}

void TrashTest::otherFileSystem_goesToItsOwnTrash()
{
    Sandbox sandbox;
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/verlo-trash-XXXXXX"));
    if (!elsewhere.isValid() || deviceOf(elsewhere.path()) == deviceOf(sandbox.home()))
        QSKIP("needs /dev/shm on a file system of its own");
    const QString name = QFileInfo(elsewhere.path()).fileName() + QStringLiteral(" item");
    const QString item = sandbox.writeFile(elsewhere.path() + QLatin1Char('/') + name, "far away");

    const QString error = Trash(sandbox.home()).moveToTrash(item);

    // Where it went: the top of /dev/shm's mount, in the shared folder when that is set up
    // safely, else in this user's own folder there.
    const QString uid = QString::number(::geteuid());
    struct stat shared;
    const bool useShared = ::lstat("/dev/shm/.Trash", &shared) == 0 && S_ISDIR(shared.st_mode) &&
                           (shared.st_mode & S_ISVTX);
    const QString trash = useShared ? QStringLiteral("/dev/shm/.Trash/") + uid
                                    : QStringLiteral("/dev/shm/.Trash-") + uid;
    const QString stored = trash + QStringLiteral("/files/") + name;
    const QString info = trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo");
    const QByteArray storedContents = contentsOf(stored);
    const TrashInfo record = readInfo(info);
    // Clean up what this test put into the shared folder before judging.
    QFile::remove(stored);
    QFile::remove(info);

    QCOMPARE(error, QString());
    QVERIFY(!lexists(item));
    QCOMPARE(storedContents, QByteArray("far away"));
    QVERIFY(record.valid);
    // Relative to the top folder of that file system.
    QCOMPARE(record.path, percentEncoded(item.mid(QStringLiteral("/dev/shm/").size())));
    QCOMPARE(modeOf(trash) & 0777, mode_t(0700));
    QVERIFY(!lexists(sandbox.homePath(QStringLiteral(".local/share/Trash/files/") + name)));
}

void TrashTest::filesFolderOnOtherFileSystem_failsWithoutCopy()
{
    Sandbox sandbox;
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/verlo-files-XXXXXX"));
    if (!elsewhere.isValid() || deviceOf(elsewhere.path()) == deviceOf(sandbox.home()))
        QSKIP("needs /dev/shm on a file system of its own");
    // The user pointed the Trash's files folder at another file system.
    const QString trash = sandbox.homePath(QStringLiteral(".local/share/Trash"));
    sandbox.makeDir(trash + QStringLiteral("/info"));
    sandbox.makeSymlink(elsewhere.path(), trash + QStringLiteral("/files"));
    const QString item = sandbox.writeFile(sandbox.homePath(QStringLiteral("stay.txt")), "stay");

    const QString error = Trash(sandbox.home()).moveToTrash(item);

    QVERIFY2(error.contains(QStringLiteral("another file system")), qPrintable(error));
    QCOMPARE(contentsOf(item), QByteArray("stay"));
    QVERIFY(entriesOf(elsewhere.path()).isEmpty());
    QVERIFY(entriesOf(trash + QStringLiteral("/info")).isEmpty());
}

void TrashTest::topDirTrash_choosesSafeFolder_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("expected"); // relative to the top folder; empty: refused
    const QString uid = QString::number(::geteuid());
    QTest::newRow("nothing yet") << QStringLiteral("none") << QStringLiteral(".Trash-") + uid;
    QTest::newRow("sticky shared") << QStringLiteral("sticky") << QStringLiteral(".Trash/") + uid;
    QTest::newRow("shared, not sticky")
        << QStringLiteral("plain") << QStringLiteral(".Trash-") + uid;
    QTest::newRow("shared is a link") << QStringLiteral("link") << QStringLiteral(".Trash-") + uid;
    QTest::newRow("shared entry is a link")
        << QStringLiteral("stickyWithLink") << QStringLiteral(".Trash-") + uid;
    QTest::newRow("own is a link") << QStringLiteral("ownLink") << QString();
    QTest::newRow("own is a file") << QStringLiteral("ownFile") << QString();
    QTest::newRow("own belongs to another") << QStringLiteral("ownForeign") << QString();
}

void TrashTest::topDirTrash_choosesSafeFolder()
{
    QFETCH(QString, setup);
    QFETCH(QString, expected);
    Sandbox sandbox;
    const QString top = sandbox.makeDir(sandbox.base() + QStringLiteral("/mount"));
    const QString decoy = sandbox.makeDir(sandbox.base() + QStringLiteral("/decoy"));
    ::chmod(bytes(decoy).constData(), 01777);
    const QString uid = QString::number(::geteuid());
    const QString shared = top + QStringLiteral("/.Trash");
    const QString own = top + QStringLiteral("/.Trash-") + uid;
    if (setup == QLatin1String("sticky") || setup == QLatin1String("stickyWithLink")) {
        sandbox.makeDir(shared);
        ::chmod(bytes(shared).constData(), 01777);
        if (setup == QLatin1String("stickyWithLink"))
            sandbox.makeSymlink(decoy, shared + QLatin1Char('/') + uid);
    } else if (setup == QLatin1String("plain")) {
        sandbox.makeDir(shared);
        ::chmod(bytes(shared).constData(), 0777);
    } else if (setup == QLatin1String("link")) {
        sandbox.makeSymlink(decoy, shared);
    } else if (setup == QLatin1String("ownLink")) {
        sandbox.makeSymlink(decoy, own);
    } else if (setup == QLatin1String("ownFile")) {
        sandbox.writeFile(own, "not a folder");
    } else if (setup == QLatin1String("ownForeign")) {
        sandbox.makeDir(own);
        if (::geteuid() != 0)
            QSKIP("handing a folder to another user needs root");
        QCOMPARE(::chown(bytes(own).constData(), 65534, 65534), 0);
    }

    QString error;
    const QString trash = Trash::trashFolderForTopDir(top, &error);

    QVERIFY(entriesOf(decoy).isEmpty());
    if (expected.isEmpty()) {
        QCOMPARE(trash, QString());
        QVERIFY(error.contains(own));
        return;
    }
    QCOMPARE(trash, top + QLatin1Char('/') + expected);
    QCOMPARE(modeOf(trash), mode_t(0700));
}

QTEST_GUILESS_MAIN(TrashTest)
#include "tst_trash.moc"

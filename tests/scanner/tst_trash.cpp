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
    const QList<QByteArray> lines = contentsOf(infoFile).split('\n');
    static const QRegularExpression date(
        QStringLiteral("^DeletionDate=(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d)$"));
    if (lines.size() != 4 || lines[0] != "[Trash Info]" || !lines[1].startsWith("Path=") ||
        !lines[3].isEmpty())
        return {};
    const QRegularExpressionMatch match = date.match(QString::fromLatin1(lines[2]));
    const QDateTime when = QDateTime::fromString(match.captured(1), Qt::ISODate);
    const QDateTime now = QDateTime::currentDateTime();
    if (!when.isValid() || when < now.addSecs(-5) || when > now.addSecs(2))
        return {};
    return lines[1].mid(5);
}

// What a trash folder holds: the contents of each stored file against its recorded path.
QMap<QByteArray, QByteArray> storedPaths(const QString &trash)
{
    QMap<QByteArray, QByteArray> paths;
    for (const QString &name : entriesOf(trash + QStringLiteral("/files")))
        paths.insert(
            contentsOf(trash + QStringLiteral("/files/") + name),
            recordedPath(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo")));
    return paths;
}

} // namespace

class TrashTest : public QObject
{
    Q_OBJECT

private slots:
    void homeTrash_recordsPathsAndNeverOverwrites();
    void foldersAndLinks_moveAsThemselves();
    void failures_leaveEverythingInPlace_data();
    void failures_leaveEverythingInPlace();
    void xdgDataHome_isHonoured();
    void otherFileSystem_ownTrashOrClearFailure();
    void topDirTrash_choosesSafeFolder_data();
    void topDirTrash_choosesSafeFolder();
};

void TrashTest::homeTrash_recordsPathsAndNeverOverwrites()
{
    Sandbox sandbox;
    const Trash trash(sandbox.home());
    const QString folder = sandbox.homePath(QStringLiteral(".local/share/Trash"));
    // Names a Trash reader needs percent-encoded; a stray file without its info and a stray
    // info without its file already take them.
    const QString dataName = QStringLiteral("100% done%20 a#b?c&d=e+f;[h]'\".bin");
    const QString logName = QStringLiteral("Ünï cødé\n日本語 🎉");
    sandbox.writeFile(folder + QStringLiteral("/files/") + dataName, "old file");
    sandbox.writeFile(folder + QStringLiteral("/info/") + logName + QStringLiteral(".trashinfo"),
                      "old info");
    const QString data = sandbox.writeFile(sandbox.homePath(dataName), "data");
    const QString log =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("Library/") + logName), "log");
    // The same name twice from two folders, then once more from the first; a name so long
    // that the info file's name must be shortened to fit, twice.
    const QString first = sandbox.writeFile(sandbox.homePath(QStringLiteral("a/r.txt")), "first");
    const QString second = sandbox.writeFile(sandbox.homePath(QStringLiteral("b/r.txt")), "second");
    const QString longName = sandbox.homePath(QString(250, QLatin1Char('n')));
    for (const QString &item : {data, log, first, second})
        QCOMPARE(trash.moveToTrash(item), QString());
    const QList<std::pair<QString, QByteArray>> again{
        {first, "third"}, {longName, "long 1"}, {longName, "long 2"}};
    for (const auto &[item, contents] : again)
        QCOMPARE(trash.moveToTrash(sandbox.writeFile(item, contents)), QString());

    for (const QString &item : {data, log, first, second, longName})
        QVERIFY(!lexists(item));
    QCOMPARE(contentsOf(folder + QStringLiteral("/files/") + dataName), QByteArray("old file"));
    QCOMPARE(contentsOf(folder + QStringLiteral("/info/") + logName + QStringLiteral(".trashinfo")),
             QByteArray("old info"));
    QVERIFY(!lexists(folder + QStringLiteral("/info/") + dataName + QStringLiteral(".trashinfo")));
    QMap<QByteArray, QByteArray> stored = storedPaths(folder);
    stored.remove("old file");
    const QMap<QByteArray, QByteArray> expected{
        {"data", percentEncoded(data)},      {"log", percentEncoded(log)},
        {"first", percentEncoded(first)},    {"second", percentEncoded(second)},
        {"third", percentEncoded(first)},    {"long 1", percentEncoded(longName)},
        {"long 2", percentEncoded(longName)}};
    QCOMPARE(stored, expected);
    QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(stored.value("log"))), log);
    QCOMPARE(entriesOf(folder + QStringLiteral("/info")).size(), 8);
}

void TrashTest::foldersAndLinks_moveAsThemselves()
{
    Sandbox sandbox;
    const Trash trash(sandbox.home());
    const QString folder = sandbox.homePath(QStringLiteral("Library/Application Support/Tool"));
    sandbox.writeFile(folder + QStringLiteral("/a/b/deep.txt"), "deep");
    sandbox.makeSymlink(QStringLiteral("/etc/hostname"), folder + QStringLiteral("/link"));
    const QString target = sandbox.writeFile(sandbox.homePath(QStringLiteral("real/f")), "kept");
    const QString targetFolder = sandbox.makeDir(sandbox.homePath(QStringLiteral("real/folder")));
    sandbox.writeFile(targetFolder + QStringLiteral("/inside"), "kept too");
    // name -> link target; a link to the home folder is only a link.
    const QMap<QString, QString> links{{QStringLiteral("fileLink"), target},
                                       {QStringLiteral("folderLink"), targetFolder},
                                       {QStringLiteral("dangling"), QStringLiteral("/nowhere")},
                                       {QStringLiteral("homeLink"), sandbox.home()}};
    for (auto it = links.cbegin(); it != links.cend(); ++it)
        sandbox.makeSymlink(it.value(), sandbox.homePath(it.key()));

    // A trailing slash names the folder, or the link itself.
    QCOMPARE(trash.moveToTrash(folder + QLatin1Char('/')), QString());
    QCOMPARE(trash.moveToTrash(sandbox.homePath(QStringLiteral("folderLink")) + QLatin1Char('/')),
             QString());
    for (const QString &name :
         {QStringLiteral("fileLink"), QStringLiteral("dangling"), QStringLiteral("homeLink")})
        QCOMPARE(trash.moveToTrash(sandbox.homePath(name)), QString());

    const QString files = sandbox.homePath(QStringLiteral(".local/share/Trash/files/"));
    QVERIFY(!lexists(folder));
    QCOMPARE(contentsOf(files + QStringLiteral("Tool/a/b/deep.txt")), QByteArray("deep"));
    QCOMPARE(linkTarget(files + QStringLiteral("Tool/link")), QStringLiteral("/etc/hostname"));
    QCOMPARE(
        recordedPath(sandbox.homePath(QStringLiteral(".local/share/Trash/info/Tool.trashinfo"))),
        percentEncoded(folder));
    for (auto it = links.cbegin(); it != links.cend(); ++it) {
        QVERIFY(!lexists(sandbox.homePath(it.key())));
        QCOMPARE(linkTarget(files + it.key()), it.value());
    }
    QCOMPARE(contentsOf(target), QByteArray("kept"));
    QCOMPARE(contentsOf(targetFolder + QStringLiteral("/inside")), QByteArray("kept too"));
}

void TrashTest::failures_leaveEverythingInPlace_data()
{
    QTest::addColumn<QString>("path"); // "@" stands for the sandbox home, "^" for its base
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QString() << QStringLiteral("No path was given");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("root folder");
    QTest::newRow("root, doubled") << QStringLiteral("//") << QStringLiteral("root folder");
    QTest::newRow("relative") << QStringLiteral("Library") << QStringLiteral("absolute");
    QTest::newRow("home") << QStringLiteral("@") << QStringLiteral("home folder");
    QTest::newRow("home, slash") << QStringLiteral("@/") << QStringLiteral("home folder");
    QTest::newRow("home, by ..") << QStringLiteral("@/Library/..") << QStringLiteral("Verlo");
    QTest::newRow("home, by path")
        << QStringLiteral("@/Library/../../user") << QStringLiteral("home folder");
    QTest::newRow("holds home") << QStringLiteral("^/home") << QStringLiteral("holds the home");
    QTest::newRow("missing") << QStringLiteral("@/no/gone.txt")
                             << QStringLiteral("No such file or directory");
    QTest::newRow("holds the Trash")
        << QStringLiteral("@/.local") << QStringLiteral("holds the Trash");
}

void TrashTest::failures_leaveEverythingInPlace()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    Sandbox sandbox;
    sandbox.writeFile(sandbox.homePath(QStringLiteral("Library/Preferences/keep.plist")), "keep");
    sandbox.writeFile(sandbox.homePath(QStringLiteral(".local/share/Trash/files/old")), "old");
    const QStringList before = entriesOf(sandbox.home());
    path.replace(QLatin1Char('@'), sandbox.home()).replace(QLatin1Char('^'), sandbox.base());

    const QString error = Trash(sandbox.home()).moveToTrash(path);
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(entriesOf(sandbox.home()), before);
    QCOMPARE(contentsOf(sandbox.homePath(QStringLiteral("Library/Preferences/keep.plist"))),
             QByteArray("keep"));
    QCOMPARE(entriesOf(sandbox.homePath(QStringLiteral(".local/share/Trash/files"))),
             QStringList{QStringLiteral("old")});
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
    // Made by the Trash itself, for this user only.
    QCOMPARE(modeOf(dataHome + QStringLiteral("/Trash/files")), mode_t(0700));
    QCOMPARE(modeOf(dataHome + QStringLiteral("/Trash/info")), mode_t(0700));
    QCOMPARE(storedPaths(dataHome + QStringLiteral("/Trash")),
             (QMap<QByteArray, QByteArray>{{"1", percentEncoded(first)}}));
    QCOMPARE(storedPaths(sandbox.homePath(QStringLiteral(".local/share/Trash"))),
             (QMap<QByteArray, QByteArray>{{"2", percentEncoded(second)}}));
}

void TrashTest::otherFileSystem_ownTrashOrClearFailure()
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
    const QByteArray path = recordedPath(info);
    // Clean up what this test put into the shared folder before judging.
    QFile::remove(stored);
    QFile::remove(info);

    QCOMPARE(error, QString());
    QVERIFY(!lexists(item));
    QCOMPARE(storedContents, QByteArray("far away"));
    // Relative to the top folder of that file system.
    QCOMPARE(path, percentEncoded(item.mid(QStringLiteral("/dev/shm/").size())));
    QCOMPARE(modeOf(trash) & 0777, mode_t(0700));
    QVERIFY(!lexists(sandbox.homePath(QStringLiteral(".local/share/Trash/files/") + name)));

    // The user pointed the home Trash's files folder at another file system: no copy.
    const QString homeTrash = sandbox.homePath(QStringLiteral(".local/share/Trash"));
    sandbox.makeDir(homeTrash + QStringLiteral("/info"));
    sandbox.makeSymlink(elsewhere.path(), homeTrash + QStringLiteral("/files"));
    const QString stay = sandbox.writeFile(sandbox.homePath(QStringLiteral("stay.txt")), "stay");
    const QString failure = Trash(sandbox.home()).moveToTrash(stay);
    QVERIFY2(failure.contains(QStringLiteral("another file system")), qPrintable(failure));
    QCOMPARE(contentsOf(stay), QByteArray("stay"));
    QVERIFY(entriesOf(elsewhere.path()).isEmpty());
    QVERIFY(entriesOf(homeTrash + QStringLiteral("/info")).isEmpty());
}

void TrashTest::topDirTrash_choosesSafeFolder_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("expected"); // relative to the top folder; empty: refused
    const QString own = QStringLiteral(".Trash-") + QString::number(::geteuid());
    QTest::newRow("nothing yet") << QString() << own;
    QTest::newRow("sticky shared")
        << QStringLiteral("sticky") << QStringLiteral(".Trash/") + QString::number(::geteuid());
    QTest::newRow("shared, not sticky") << QStringLiteral("plain") << own;
    QTest::newRow("shared is a link") << QStringLiteral("link") << own;
    QTest::newRow("shared entry is a link") << QStringLiteral("stickyWithLink") << own;
    QTest::newRow("own is a link") << QStringLiteral("ownLink") << QString();
    QTest::newRow("own belongs to another") << QStringLiteral("ownForeign") << QString();
}

void TrashTest::topDirTrash_choosesSafeFolder()
{
    QFETCH(QString, setup);
    QFETCH(QString, expected);
    Sandbox sandbox;
    const QString top = sandbox.makeDir(sandbox.base() + QStringLiteral("/mount"));
    // A sticky, world-writable folder that no link may steer the Trash into.
    const QString decoy = sandbox.makeDir(sandbox.base() + QStringLiteral("/decoy"));
    ::chmod(bytes(decoy).constData(), 01777);
    const QString uid = QString::number(::geteuid());
    const QString shared = top + QStringLiteral("/.Trash");
    const QString own = top + QStringLiteral("/.Trash-") + uid;
    if (setup == QLatin1String("sticky") || setup == QLatin1String("plain") ||
        setup == QLatin1String("stickyWithLink"))
        ::chmod(bytes(sandbox.makeDir(shared)).constData(),
                setup == QLatin1String("plain") ? 0777 : 01777);
    if (setup == QLatin1String("stickyWithLink"))
        sandbox.makeSymlink(decoy, shared + QLatin1Char('/') + uid);
    else if (setup == QLatin1String("link") || setup == QLatin1String("ownLink"))
        sandbox.makeSymlink(decoy, setup == QLatin1String("link") ? shared : own);
    else if (setup == QLatin1String("ownForeign")) {
        if (::geteuid() != 0)
            QSKIP("handing a folder to another user needs root");
        QCOMPARE(::chown(bytes(sandbox.makeDir(own)).constData(), 65534, 65534), 0);
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

#include "scanner/DirectoryWalker.h"
#include "scanner/FileScanner.h"
#include "scanner/WalkPacer.h"
#include "tests/support/Sandbox.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray bytes(const QString &path)
{
    return QFile::encodeName(path);
}

qint64 allocatedOf(const QStringList &paths)
{
    qint64 total = 0;
    for (const QString &path : paths) {
        const qint64 size = Sandbox::allocatedSize(path);
        Q_ASSERT(size >= 0);
        total += size;
    }
    return total;
}

// Writes size bytes to name inside the folder open at dirFd and returns the file's allocated
// size, read from its own descriptor (deep paths are too long for lstat, raw names too odd).
qint64 writeFileAt(int dirFd, const char *name, qint64 size)
{
    const int fd = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    struct stat info;
    const bool ok = ::write(fd, QByteArray(size, 'x').constData(), size) == size &&
                    ::fsync(fd) == 0 && ::fstat(fd, &info) == 0;
    ::close(fd);
    return ok ? qint64(info.st_blocks) * 512 : -1;
}

// A chain of levels folders named "d" below the folder open at fd, with a file at every
// fileEvery-th level, adding the files' sizes to *expected. Returns the deepest folder, open.
int makeChain(int fd, int levels, int fileEvery, qint64 *expected)
{
    for (int level = 1; level <= levels && fd >= 0; ++level) {
        const int next = ::mkdirat(fd, "d", 0755) == 0
                             ? ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                             : -1;
        ::close(fd);
        fd = next;
        if (fd >= 0 && level % fileEvery == 0)
            *expected += writeFileAt(fd, "f", 5000);
    }
    return fd;
}

} // namespace

class TestSizes : public QObject
{
    Q_OBJECT

private slots:
    void missingEmptyAndSingleFile_followTheirRules();
    void links_topFollowedAndNothingBelow();
    void hiddenBundlesHardLinksAndOddNames_allCounted();
    void deepTree_measuredWithFewDescriptors();
    void wideTree_sameTotalOnAnyThreadCountAndProgressPerTopFolder();
    void unreadableParts_countNothingAsUnprivilegedUser();
    void pacer_threadsFollowTheShareOfTimeSpentWaiting();
};

void TestSizes::missingEmptyAndSingleFile_followTheirRules()
{
    Sandbox sandbox;
    const FileScanner scanner(sandbox.places());
    const QString missing = sandbox.homePath(QStringLiteral("nothing/here"));
    QCOMPARE(scanner.sizeOfItem(missing), 0);
    QCOMPARE(scanner.sizeOfDirectory(missing), 0);
    QCOMPARE(scanner.sizeOfFile(missing), 0);
    QCOMPARE(scanner.sizeOfItem(QString()), 0);
    const QString empty = sandbox.makeDir(sandbox.homePath(QStringLiteral("empty")));
    QCOMPARE(scanner.sizeOfItem(empty), 0);

    // A folder counts the space its file occupies; the file by itself reports its length.
    const QString folder = sandbox.makeDir(sandbox.homePath(QStringLiteral("one")));
    const QString file = sandbox.writeFile(folder + QStringLiteral("/byte"), "x");
    const qint64 allocated = Sandbox::allocatedSize(file);
    QVERIFY2(allocated > 1, "a one-byte file should occupy a whole block");
    QCOMPARE(scanner.sizeOfDirectory(folder), allocated);
    QCOMPARE(scanner.sizeOfItem(folder), allocated);
    QCOMPARE(scanner.sizeOfItem(file), 1);
    QCOMPARE(scanner.sizeOfFile(file), 1);
    QCOMPARE(scanner.sizeOfDirectory(file), 0);

    // A FIFO is measured as itself and never opened: nothing here may block.
    const QString fifo = folder + QStringLiteral("/pipe");
    QVERIFY(::mkfifo(bytes(fifo).constData(), 0644) == 0);
    QCOMPARE(scanner.sizeOfItem(fifo), 0);
    QCOMPARE(scanner.sizeOfDirectory(fifo), 0);
    QCOMPARE(scanner.sizeOfDirectory(folder), allocated);

    // Measuring again reads the disk again.
    const QString more = sandbox.writeFileOfSize(folder + QStringLiteral("/more"), 70000);
    QCOMPARE(scanner.sizeOfDirectory(folder), allocated + Sandbox::allocatedSize(more));
}

void TestSizes::links_topFollowedAndNothingBelow()
{
    Sandbox sandbox;
    const FileScanner scanner(sandbox.places());
    const QString outside = sandbox.makeDir(sandbox.homePath(QStringLiteral("outside")));
    const QString big = sandbox.writeFileOfSize(outside + QStringLiteral("/big"), 1 << 20);
    const QString folder = sandbox.makeDir(sandbox.homePath(QStringLiteral("folder")));
    const QStringList counted = {
        sandbox.writeFileOfSize(folder + QStringLiteral("/own"), 10000),
        sandbox.makeSymlink(outside, folder + QStringLiteral("/toFolder")),
        sandbox.makeSymlink(big, folder + QStringLiteral("/toFile")),
        // Loops: would never end if followed.
        sandbox.makeSymlink(QStringLiteral("."), folder + QStringLiteral("/self")),
        sandbox.makeSymlink(QStringLiteral(".."), folder + QStringLiteral("/up")),
        sandbox.makeSymlink(QStringLiteral("b"), folder + QStringLiteral("/a")),
        sandbox.makeSymlink(QStringLiteral("a"), folder + QStringLiteral("/b")),
        sandbox.makeSymlink(QStringLiteral("nowhere"), folder + QStringLiteral("/dangling")),
        // A target name long enough to need a block of its own on most file systems.
        sandbox.makeSymlink(QString(300, QLatin1Char('t')), folder + QStringLiteral("/long")),
    };

    // Below the top, a link counts its own allocation and is never followed.
    const qint64 expected = allocatedOf(counted);
    QVERIFY(expected < Sandbox::allocatedSize(big));
    QCOMPARE(scanner.sizeOfDirectory(folder), expected);
    QCOMPARE(scanner.sizeOfItem(folder), expected);

    // At the top, a link to a folder is taken as the folder.
    const QString topLink = sandbox.makeSymlink(outside, sandbox.homePath(QStringLiteral("link")));
    QCOMPARE(scanner.sizeOfItem(topLink), Sandbox::allocatedSize(big));
    QCOMPARE(scanner.sizeOfDirectory(topLink), Sandbox::allocatedSize(big));
    // A link to a file reports the link's own length, as a file's attributes do.
    QCOMPARE(scanner.sizeOfItem(folder + QStringLiteral("/toFile")), big.toUtf8().size());
    QCOMPARE(scanner.sizeOfItem(folder + QStringLiteral("/dangling")), 0);
    QCOMPARE(scanner.sizeOfItem(folder + QStringLiteral("/a")), 0);
    QCOMPARE(scanner.sizeOfDirectory(folder + QStringLiteral("/a")), 0);
}

void TestSizes::hiddenBundlesHardLinksAndOddNames_allCounted()
{
    Sandbox sandbox;
    const FileScanner scanner(sandbox.places());
    const QString folder = sandbox.makeDir(sandbox.homePath(QStringLiteral("Library/Caches")));
    const QString bundle = sandbox.makeAppBundle(folder, QStringLiteral("Tool.app"),
                                                 {{QStringLiteral("CFBundleName"), "Tool"}});
    const QString shared = sandbox.writeFileOfSize(folder + QStringLiteral("/shared"), 40000);
    QStringList files = {
        sandbox.writeFileOfSize(folder + QStringLiteral("/.hidden"), 3000),
        sandbox.writeFileOfSize(folder + QStringLiteral("/.store/deeper/.x/data"), 250000),
        sandbox.writeFileOfSize(bundle + QStringLiteral("/Contents/MacOS/Tool"), 90000),
        bundle + QStringLiteral("/Contents/Info.plist"),
        shared,
    };
    // Hard links are counted once per path that leads to them.
    for (const QString &link : {folder + QStringLiteral("/shared-again"),
                                folder + QStringLiteral("/.store/shared-elsewhere")}) {
        QVERIFY(::link(bytes(shared).constData(), bytes(link).constData()) == 0);
        files << link;
    }
    const QStringList names = {QStringLiteral("with space"), QStringLiteral("line\nbreak"),
                               QStringLiteral("100% done %s%n"), QStringLiteral("Grüße 日本語")};
    for (const QString &name : names) {
        const QString inFolder = folder + QLatin1Char('/') + name;
        files << sandbox.writeFileOfSize(inFolder + QLatin1Char('/') + name, 5000);
        QCOMPARE(scanner.sizeOfItem(inFolder), allocatedOf({files.last()}));
        files << sandbox.writeFileOfSize(inFolder + QStringLiteral(".bin"), 10);
        QCOMPARE(scanner.sizeOfItem(files.last()), 10);
    }
    // A name that is not valid UTF-8 at all, made with the raw bytes.
    const int folderFd = ::open(bytes(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const qint64 rawName = writeFileAt(folderFd, "raw-\xff\xfe-name", 9000);
    ::close(folderFd);
    QVERIFY(rawName > 0);

    const qint64 expected = allocatedOf(files) + rawName;
    QVERIFY(expected >= 3 * Sandbox::allocatedSize(shared) + 250000);
    QCOMPARE(scanner.sizeOfDirectory(folder), expected);
    QCOMPARE(scanner.sizeOfItem(bundle), allocatedOf({files[2], files[3]}));
    QCOMPARE(scanner.sizeOfItem(files[0]), 3000);
}

void TestSizes::deepTree_measuredWithFewDescriptors()
{
    Sandbox sandbox;
    // Ten thousand folders take a while to make and remove on a disk that discards freed
    // blocks; memory-backed /dev/shm is a real file system too and is used where it exists.
    QTemporaryDir shm(QStringLiteral("/dev/shm/verlo-deep-XXXXXX"));
    const QString top =
        shm.isValid() ? shm.path() : sandbox.makeDir(sandbox.homePath(QStringLiteral("deep")));
    // 10,000 folders deep in all: a trunk 3,000 deep that forks into two branches 3,500 deep
    // each. Walking the second branch needs the fork again, long after it was closed.
    qint64 expected = 0;
    const int fork =
        makeChain(::open(bytes(top).constData(), O_RDONLY | O_DIRECTORY), 3000, 1000, &expected);
    QVERIFY(fork >= 0);
    expected += writeFileAt(fork, "at-fork", 20000);
    for (const char *branch : {"left", "right"}) {
        QVERIFY(::mkdirat(fork, branch, 0755) == 0);
        const int leaf =
            makeChain(::openat(fork, branch, O_RDONLY | O_DIRECTORY), 3499, 700, &expected);
        QVERIFY(leaf >= 0);
        expected += writeFileAt(leaf, "leaf", 30000);
        ::close(leaf);
    }
    ::close(fork);

    QList<qint64> measured;
    {
        // Far fewer descriptors than folders: a walk that kept one per level would fail here. Two
        // threads each in a branch want more than the limit together, and give some back.
        struct rlimit saved;
        ::getrlimit(RLIMIT_NOFILE, &saved);
        struct rlimit lowered = saved;
        lowered.rlim_cur = std::min<rlim_t>(100, saved.rlim_cur);
        ::setrlimit(RLIMIT_NOFILE, &lowered);
        measured << FileScanner(sandbox.places()).sizeOfDirectory(top)
                 << DirectoryWalker(1).totalSize(top) << DirectoryWalker(2).totalSize(top)
                 << DirectoryWalker(8).totalSize(top);
        ::setrlimit(RLIMIT_NOFILE, &saved);
    }
    // The temporary folders' own clean-up cannot reach paths this long.
    QCOMPARE(QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), top}), 0);
    QVERIFY(expected > 0);
    QCOMPARE(measured, QList<qint64>({expected, expected, expected, expected}));
}

void TestSizes::wideTree_sameTotalOnAnyThreadCountAndProgressPerTopFolder()
{
    Sandbox sandbox;
    // Enough folders for helper threads to start and share the work, in uneven subtrees.
    const QString top = sandbox.makeDir(sandbox.homePath(QStringLiteral("wide")));
    QStringList files{sandbox.writeFileOfSize(top + QStringLiteral("/loose.txt"), 10)};
    QStringList projects;
    for (int project = 0; project < 6; ++project) {
        projects << QStringLiteral("%1/p%2").arg(top).arg(project);
        for (int package = 0; package < 10 + project * 6; ++package) {
            const QString dir =
                QStringLiteral("%1/p%2/node_modules/pkg%3").arg(top).arg(project).arg(package);
            files << sandbox.writeFile(dir + QStringLiteral("/lib/index.js"),
                                       QByteArray(100 + package * 97, 'j'));
            files << sandbox.writeFile(dir + QStringLiteral("/package.json"), "{}");
        }
    }
    const qint64 expected = allocatedOf(files);
    for (int threads : {1, 2, 4}) {
        for (int round = 0; round < 5; ++round) {
            QCOMPARE(DirectoryWalker(threads).totalSize(top), expected);
            QCOMPARE(DirectoryWalker::paced(threads, 8).totalSize(top), expected);
        }
    }

    // Progress names top-level folders only.
    QStringList told;
    const FileScanner scanner(sandbox.places());
    QCOMPARE(scanner.sizeOfDirectory(top, [&told](const QString &what) { told << what; }),
             expected);
    QVERIFY(!told.isEmpty());
    QVERIFY(told.size() <= projects.size());
    for (const QString &what : std::as_const(told))
        QVERIFY2(projects.contains(what), qPrintable(what));
}

void TestSizes::unreadableParts_countNothingAsUnprivilegedUser()
{
    Sandbox sandbox;
    const QString folder = sandbox.makeDir(sandbox.homePath(QStringLiteral("mixed")));
    const QStringList readable = {
        sandbox.writeFileOfSize(folder + QStringLiteral("/visible.bin"), 3000),
        sandbox.writeFileOfSize(folder + QStringLiteral("/open/after.bin"), 80000),
        // Reading a file's size needs no permission on the file itself.
        sandbox.writeFileOfSize(folder + QStringLiteral("/no-read.bin"), 6000),
    };
    const QStringList hidden = {
        sandbox.writeFileOfSize(folder + QStringLiteral("/locked/sub/deeper.bin"), 20000),
        // Listable but not searchable: names can be read, sizes cannot.
        sandbox.writeFileOfSize(folder + QStringLiteral("/list-only/a.bin"), 7000),
        sandbox.writeFileOfSize(folder + QStringLiteral("/list-only/sub/b.bin"), 7000),
        // Searchable but not listable: nothing can be found in it.
        sandbox.writeFileOfSize(folder + QStringLiteral("/search-only/c.bin"), 9000),
    };
    const qint64 expected = allocatedOf(readable);
    const qint64 hiddenTotal = allocatedOf(hidden);
    QVERIFY(hiddenTotal > 0);
    const std::pair<const char *, mode_t> modes[] = {
        {"/no-read.bin", 0}, {"/locked", 0}, {"/list-only", 0744}, {"/search-only", 0711}};
    for (const auto &[name, mode] : modes)
        QVERIFY(::chmod(bytes(folder + QLatin1String(name)).constData(), mode) == 0);

    QByteArray output;
    QCOMPARE(runAsUnprivileged(
                 QStringLiteral("'%1' '%2'").arg(QStringLiteral(SIZE_PROBE_PATH), folder), &output),
             0);
    bool isNumber = false;
    const qint64 measured = output.trimmed().toLongLong(&isNumber);
    QVERIFY2(isNumber, output.constData());
    QCOMPARE(measured, expected);

    // Whoever may read everything (root in CI ignores the modes) gets the whole tree.
    if (::geteuid() == 0)
        QCOMPARE(FileScanner(sandbox.places()).sizeOfDirectory(folder), expected + hiddenTotal);
}

void TestSizes::pacer_threadsFollowTheShareOfTimeSpentWaiting()
{
    // {share of time waiting, threads} from two threads up to eight: enough threads that two
    // processors stay busy, none more for a little waiting, all of them once that is not enough.
    const QList<std::pair<double, int>> rule = {{0.0, 2}, {0.15, 2}, {0.3, 3},  {0.5, 4},
                                                {0.6, 5}, {0.7, 7},  {0.75, 8}, {0.95, 8},
                                                {1.0, 8}, {-1.0, 2}, {2.0, 8}};
    QList<int> threads;
    for (const auto &[share, expected] : rule)
        threads << WalkPacer::threadsFor(share, 2, 8);
    QList<int> expected;
    for (const auto &[share, count] : rule)
        expected << count;
    QCOMPARE(threads, expected);
    QCOMPARE(WalkPacer::threadsFor(0.9, 1, 1), 1);

    // Decided once per window of reported time, and only told when the count changes.
    using std::chrono::milliseconds;
    WalkPacer pacer(2, 8);
    QCOMPARE(pacer.add(milliseconds(5), milliseconds(5)), std::nullopt);
    QCOMPARE(pacer.add(milliseconds(0), milliseconds(10)), std::optional<int>(8)); // 75% waited
    QCOMPARE(pacer.add(milliseconds(2), milliseconds(18)), std::nullopt);          // still 8
    QCOMPARE(pacer.add(milliseconds(19), milliseconds(1)), std::optional<int>(2));
    QCOMPARE(pacer.threads(), 2);
}

QTEST_GUILESS_MAIN(TestSizes)
#include "tst_sizes.moc"

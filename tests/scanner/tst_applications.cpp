#include "demo/PlistWriter.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

const QString kName = QStringLiteral("CFBundleName");
const QString kDisplayName = QStringLiteral("CFBundleDisplayName");
const QString kIdentifier = QStringLiteral("CFBundleIdentifier");
const ItemIcon kGenericIcon = ItemIcon::symbol(QStringLiteral("app.generic"));

// A bundle whose Info.plist holds exactly these bytes; none at all for a null array.
QString makeBundle(const Sandbox &sandbox, const QString &folder, const QString &fileName,
                   const QByteArray &info)
{
    const QString bundle = sandbox.makeAppBundle(folder, fileName, {}, {}, false);
    if (!info.isNull())
        sandbox.writeFile(bundle + QStringLiteral("/Contents/Info.plist"), info);
    return bundle;
}

QStringList namesOf(const QList<AppInfo> &apps)
{
    QStringList names;
    for (const AppInfo &app : apps)
        names.append(app.name);
    return names;
}

} // namespace

class TestApplications : public QObject
{
    Q_OBJECT

private slots:
    void readAppInfo_namesAndIdentifier_data();
    void readAppInfo_namesAndIdentifier();
    void readAppInfo_iconStaysInsideTheBundle_data();
    void readAppInfo_iconStaysInsideTheBundle();
    void readAppInfo_infoPlistThatIsAPipe_doesNotHang();
    void scanApplicationsFolder_listsOnlyDirectAppEntries();
    void scanApplications_sortsBothFoldersStablyAndLocalized();
};

void TestApplications::readAppInfo_namesAndIdentifier_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("info");
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QString>>("identifier");

    const std::optional<QString> none;
    const std::optional<QString> foo = QStringLiteral("com.example.foo");
    const QVariantMap both{{kName, "Foo"}, {kDisplayName, "Foo Pro"}, {kIdentifier, *foo}};
    using PlistWriter::binary;
    using PlistWriter::xml;
    PlistWriter::BinaryBuilder nul(1);
    nul.add(nul.dict({1}, {2}));
    nul.add(PlistWriter::BinaryBuilder::ascii("CFBundleName"));
    nul.add(PlistWriter::BinaryBuilder::ascii(QByteArray("Foo\0Bar", 7)));

    QTest::newRow("both names, xml") << "Foo.app" << xml(both) << "Foo" << foo;
    QTest::newRow("both names, binary") << "Foo.app" << binary(both) << "Foo" << foo;
    QTest::newRow("display name only")
        << "Foo.app" << binary(QVariantMap{{kDisplayName, "Foo Pro"}}) << "Foo Pro" << none;
    QTest::newRow("neither name") << "Visual Studio Code.app"
                                  << xml(QVariantMap{{kIdentifier, *foo}}) << "Visual Studio Code"
                                  << foo;
    QTest::newRow("empty name counts")
        << "Foo.app" << xml(QVariantMap{{kName, QString()}, {kDisplayName, "Shown"}}) << "" << none;
    QTest::newRow("name of another type")
        << "Foo.app" << binary(QVariantMap{{kName, 5}, {kDisplayName, "Shown"}}) << "Shown" << none;
    QTest::newRow("identifier of another type")
        << "Foo.app" << xml(QVariantMap{{kName, "Foo"}, {kIdentifier, QVariantList{*foo}}}) << "Foo"
        << none;
    QTest::newRow("NUL inside the name")
        << "x.app" << nul.build(0) << QStringLiteral("Foo") + QChar(0) + QStringLiteral("Bar")
        << none;
    QTest::newRow("no Info.plist") << "Missing.app" << QByteArray() << "Missing" << none;
    QTest::newRow("garbage Info.plist")
        << "Junk.app" << QByteArray("\x00\xff garbage \x01<", 13) << "Junk" << none;
    QTest::newRow("top-level array") << "List.app" << xml(QVariantList{kName}) << "List" << none;
    QTest::newRow("truncated binary") << "Cut.app" << binary(both).chopped(20) << "Cut" << none;
    QTest::newRow("50 MB Info.plist")
        << "Huge.app" << xml(QVariantMap{{kName, QString(50 * 1024 * 1024, QLatin1Char('x'))}})
        << "Huge" << none;
    QTest::newRow("spaces, newline, percent, non-ASCII file name")
        << "Ünïcödé 100%\nTool.app" << QByteArray() << "Ünïcödé 100%\nTool" << none;
    QTest::newRow("dots in the file name")
        << "Foo.v2.app" << xml(QVariantMap{{kIdentifier, *foo}}) << "Foo.v2" << foo;
}

void TestApplications::readAppInfo_namesAndIdentifier()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, info);
    QFETCH(QString, name);
    QFETCH(std::optional<QString>, identifier);

    Sandbox sandbox;
    const QString bundle = makeBundle(sandbox, sandbox.systemPath("/Applications"), fileName, info);
    const AppInfo app = FileScanner(sandbox.places()).readAppInfo(bundle);
    QCOMPARE(app.name, name);
    QCOMPARE(app.bundleIdentifier, identifier);
    QCOMPARE(app.path, bundle);
    QCOMPARE(app.icon, std::optional(kGenericIcon));
}

void TestApplications::readAppInfo_iconStaysInsideTheBundle_data()
{
    QTest::addColumn<QVariant>("iconFile");
    QTest::addColumn<QString>("file");     // made under Contents/Resources
    QTest::addColumn<QString>("expected"); // under Contents/Resources; empty: generic icon

    QTest::newRow("name without extension") << QVariant("AppIcon") << "AppIcon.icns"
                                            << "AppIcon.icns";
    QTest::newRow("name with extension") << QVariant("AppIcon.icns") << "AppIcon.icns"
                                         << "AppIcon.icns";
    QTest::newRow("icon file missing") << QVariant("AppIcon") << ""
                                       << "";
    QTest::newRow("parent folder") << QVariant("../Info.plist") << "AppIcon.icns"
                                   << "";
    QTest::newRow("absolute path") << QVariant("/etc/hostname") << "AppIcon.icns"
                                   << "";
    QTest::newRow("subfolder") << QVariant("Icons/AppIcon.icns") << "Icons/AppIcon.icns"
                               << "";
    QTest::newRow("a folder, not a file") << QVariant("Folder.icns") << "Folder.icns/inside"
                                          << "";
    QTest::newRow("not a string") << QVariant(7) << "AppIcon.icns"
                                  << "";
    QTest::newRow("empty") << QVariant(QString()) << "AppIcon.icns"
                           << "";
}

void TestApplications::readAppInfo_iconStaysInsideTheBundle()
{
    QFETCH(QVariant, iconFile);
    QFETCH(QString, file);
    QFETCH(QString, expected);

    Sandbox sandbox;
    const QString bundle = makeBundle(
        sandbox, sandbox.homePath("Applications"), "Paint.app",
        PlistWriter::binary(QVariantMap{{kName, "Paint"}, {"CFBundleIconFile", iconFile}}));
    const QString resources = bundle + QStringLiteral("/Contents/Resources/");
    if (!file.isEmpty())
        sandbox.writeFile(resources + file, "icns");
    // Something real outside the bundle, two levels up, where "../.." would reach.
    sandbox.writeFile(sandbox.homePath("Applications/AppIcon.icns"), "outside");

    const AppInfo app = FileScanner(sandbox.places()).readAppInfo(bundle);
    QCOMPARE(app.name, QStringLiteral("Paint"));
    QCOMPARE(app.icon,
             std::optional(expected.isEmpty() ? kGenericIcon
                                              : ItemIcon::imageFile(resources + expected)));
}

void TestApplications::readAppInfo_infoPlistThatIsAPipe_doesNotHang()
{
    Sandbox sandbox;
    const QString bundle = makeBundle(sandbox, sandbox.systemPath("/Applications"), "Pipe.app", {});
    const QByteArray pipe = QFile::encodeName(bundle + QStringLiteral("/Contents/Info.plist"));
    QCOMPARE(::mkfifo(pipe.constData(), 0644), 0);

    // Opening a pipe for reading waits for a writer; a scan must not wait for one.
    auto result = std::async(std::launch::async,
                             [&] { return FileScanner(sandbox.places()).readAppInfo(bundle); });
    const bool finished = result.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    if (!finished) { // release the reader so the test can end, then report the hang
        const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    const AppInfo app = result.get();
    QVERIFY2(finished, "reading a pipe named Info.plist blocked the scan");
    QCOMPARE(app.name, QStringLiteral("Pipe"));
}

void TestApplications::scanApplicationsFolder_listsOnlyDirectAppEntries()
{
    Sandbox sandbox;
    const QString folder = sandbox.systemPath("/Applications");
    QVERIFY(FileScanner(sandbox.places()).scanApplications().isEmpty()); // neither folder exists
    for (const QString &name :
         {"Alpha.app", ".Hidden.app", "Tool.APP", "Utilities/Inner.app", "Archive.app.zip"})
        sandbox.makeAppBundle(folder, name, {{kName, QFileInfo(name).completeBaseName()}});
    sandbox.writeFile(folder + QStringLiteral("/Readme.txt"), "read me");
    // A plain file with the extension is listed too: the entry's kind is not looked at.
    sandbox.writeFile(folder + QStringLiteral("/Plain.app"), "not a bundle");
    // A link to a bundle elsewhere is an entry like any other.
    const QString elsewhere = sandbox.makeAppBundle(sandbox.base() + QStringLiteral("/elsewhere"),
                                                    "Linked.app", {{kName, "Linked"}});
    sandbox.makeSymlink(elsewhere, folder + QStringLiteral("/Linked.app"));

    const FileScanner scanner(sandbox.places());
    const QList<AppInfo> apps = scanner.scanApplicationsFolder(folder);
    QStringList names = namesOf(apps);
    names.sort();
    QCOMPARE(names, QStringList({".Hidden", "Alpha", "Linked", "Plain"}));
    for (const AppInfo &app : apps)
        QCOMPARE(QFileInfo(app.path).absolutePath(), folder);
    QVERIFY(scanner.scanApplicationsFolder(folder + QStringLiteral("/Nothing")).isEmpty());
    QVERIFY(scanner.scanApplicationsFolder(folder + QStringLiteral("/Readme.txt")).isEmpty());
    // A user folder that cannot be listed counts as empty; the system folder is still read.
    sandbox.writeFile(sandbox.homePath("Applications"), "a file, not a folder");
    QCOMPARE(scanner.scanApplications().size(), apps.size());
}

void TestApplications::scanApplications_sortsBothFoldersStablyAndLocalized()
{
    Sandbox sandbox;
    const QString user = sandbox.homePath("Applications");
    const QString system = sandbox.systemPath("/Applications");
    makeBundle(sandbox, user, "beta.app", {});
    sandbox.makeAppBundle(user, "Zed.app", {{kDisplayName, "Zed"}}, Sandbox::PlistFormat::binary);
    sandbox.makeAppBundle(user, "Éclair.app", {{kName, "Éclair"}});
    sandbox.makeAppBundle(system, "eagle.app", {{kName, "eagle"}});
    makeBundle(sandbox, system, "alpha tool.app", "broken");
    sandbox.makeAppBundle(system, "Tool.APP", {{kName, "Tool"}});
    sandbox.makeAppBundle(system, "Utilities/Deep.app", {{kName, "Deep"}});
    // Enough equal names that an unstable sort would mix the two folders' copies.
    for (int i = 0; i < 12; ++i) {
        sandbox.makeAppBundle(user, QStringLiteral("Twin %1.app").arg(i), {{kName, "Twin"}});
        sandbox.makeAppBundle(system, QStringLiteral("Twin %1.app").arg(i), {{kName, "TWIN"}});
    }

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QList<AppInfo> apps = FileScanner(sandbox.places()).scanApplications();
    QLocale::setDefault(saved);
    // A letter with an accent sorts with its base letter, not after "Z".
    QStringList expected{"alpha tool", "beta", "eagle", "Éclair"};
    expected << QStringList(12, QStringLiteral("Twin")) << QStringList(12, QStringLiteral("TWIN"))
             << QStringLiteral("Zed");
    QCOMPARE(namesOf(apps), expected);
    // Within one folder the listing order is kept.
    QStringList userTwins;
    for (const AppInfo &app : FileScanner(sandbox.places()).scanApplicationsFolder(user)) {
        if (app.name == QStringLiteral("Twin"))
            userTwins << app.path;
    }
    for (int i = 0; i < 12; ++i)
        QCOMPARE(apps[4 + i].path, userTwins[i]);
}

QTEST_GUILESS_MAIN(TestApplications)
#include "tst_applications.moc"

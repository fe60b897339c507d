#include "scanner/FileScanner.h"
#include "scanner/PropertyList.h"
#include "tests/support/PlistWriter.h"
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
const QString kIconFile = QStringLiteral("CFBundleIconFile");
const ItemIcon kGenericIcon = ItemIcon::symbol(QStringLiteral("app.generic"));

// How a test bundle's Info.plist is made.
enum class Plist
{
    Xml,
    Binary,
    Raw,
    None
};

QString makeBundle(const Sandbox &sandbox, const QString &folder, const QString &fileName,
                   const QVariantMap &keys, Plist plist = Plist::Xml, const QByteArray &raw = {})
{
    const QString bundle = sandbox.makeAppBundle(
        folder, fileName, keys,
        plist == Plist::Binary ? Sandbox::PlistFormat::binary : Sandbox::PlistFormat::xml,
        plist == Plist::Xml || plist == Plist::Binary);
    if (plist == Plist::Raw)
        sandbox.writeFile(bundle + QStringLiteral("/Contents/Info.plist"), raw);
    return bundle;
}

QStringList namesOf(const QList<AppInfo> &apps)
{
    QStringList names;
    for (const AppInfo &app : apps)
        names.append(app.name);
    return names;
}

QStringList pathsOf(const QList<AppInfo> &apps)
{
    QStringList paths;
    for (const AppInfo &app : apps)
        paths.append(app.path);
    return paths;
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
    void scanApplications_sortsBothFoldersUserFirst();
    void scanApplications_missingFolders();
    void scanApplications_sortIsLocalized();
};

void TestApplications::readAppInfo_namesAndIdentifier_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QVariantMap>("keys");
    QTest::addColumn<int>("plist");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QString>>("identifier");

    const std::optional<QString> none;
    const std::optional<QString> foo = QStringLiteral("com.example.foo");
    const QVariantMap both{{kName, "Foo"}, {kDisplayName, "Foo Pro"}, {kIdentifier, *foo}};
    const int xml = int(Plist::Xml), binary = int(Plist::Binary), raw = int(Plist::Raw),
              missing = int(Plist::None);

    QTest::newRow("both names, xml") << "Foo.app" << both << xml << QByteArray() << "Foo" << foo;
    QTest::newRow("both names, binary")
        << "Foo.app" << both << binary << QByteArray() << "Foo" << foo;
    QTest::newRow("display name only") << "Foo.app" << QVariantMap{{kDisplayName, "Foo Pro"}}
                                       << binary << QByteArray() << "Foo Pro" << none;
    QTest::newRow("neither name") << "Visual Studio Code.app" << QVariantMap{{kIdentifier, *foo}}
                                  << xml << QByteArray() << "Visual Studio Code" << foo;
    QTest::newRow("empty name counts")
        << "Foo.app" << QVariantMap{{kName, QString()}, {kDisplayName, "Shown"}} << xml
        << QByteArray() << "" << none;
    QTest::newRow("name of another type")
        << "Foo.app" << QVariantMap{{kName, 5}, {kDisplayName, "Shown"}} << binary << QByteArray()
        << "Shown" << none;
    QTest::newRow("identifier of another type")
        << "Foo.app" << QVariantMap{{kName, "Foo"}, {kIdentifier, QVariantList{*foo}}} << xml
        << QByteArray() << "Foo" << none;
    QTest::newRow("empty dictionary")
        << "Empty.app" << QVariantMap() << binary << QByteArray() << "Empty" << none;
    QTest::newRow("unicode name, binary") << "x.app" << QVariantMap{{kName, "Café Über 日本"}}
                                          << binary << QByteArray() << "Café Über 日本" << none;
    QTest::newRow("NUL inside the name") << "x.app" << QVariantMap() << raw <<
        [] {
            PlistWriter::BinaryBuilder builder(1);
            builder.add(builder.dict({1}, {2}));
            builder.add(PlistWriter::BinaryBuilder::ascii("CFBundleName"));
            builder.add(PlistWriter::BinaryBuilder::ascii(QByteArray("Foo\0Bar", 7)));
            return builder.build(0);
        }() << QStringLiteral("Foo") + QChar(0) + QStringLiteral("Bar")
                                         << none;
    QTest::newRow("no Info.plist")
        << "Missing.app" << QVariantMap() << missing << QByteArray() << "Missing" << none;
    QTest::newRow("empty Info.plist")
        << "Blank.app" << QVariantMap() << raw << QByteArray() << "Blank" << none;
    QTest::newRow("garbage Info.plist")
        << "Junk.app" << QVariantMap() << raw << QByteArray("\x00\xff garbage \x01<", 13) << "Junk"
        << none;
    QTest::newRow("top-level array")
        << "List.app" << QVariantMap() << raw
        << PlistWriter::xml(QVariantList{QStringLiteral("CFBundleName")}) << "List" << none;
    QTest::newRow("truncated binary") << "Cut.app" << QVariantMap() << raw
                                      << PlistWriter::binary(both).chopped(20) << "Cut" << none;
    QTest::newRow("50 MB Info.plist")
        << "Huge.app" << QVariantMap() << raw
        << PlistWriter::xml(QVariantMap{{kName, QString(50 * 1024 * 1024, QLatin1Char('x'))}})
        << "Huge" << none;
    QTest::newRow("spaces, newline, percent, non-ASCII file name")
        << "Ünïcödé 100%\nTool.app" << QVariantMap() << missing << QByteArray()
        << "Ünïcödé 100%\nTool" << none;
    QTest::newRow("dots in the file name") << "Foo.v2.app" << QVariantMap{{kIdentifier, *foo}}
                                           << xml << QByteArray() << "Foo.v2" << foo;
}

void TestApplications::readAppInfo_namesAndIdentifier()
{
    QFETCH(QString, fileName);
    QFETCH(QVariantMap, keys);
    QFETCH(int, plist);
    QFETCH(QByteArray, raw);
    QFETCH(QString, name);
    QFETCH(std::optional<QString>, identifier);

    Sandbox sandbox;
    const QString bundle =
        makeBundle(sandbox, sandbox.systemPath("/Applications"), fileName, keys, Plist(plist), raw);
    const AppInfo app = FileScanner(sandbox.places()).readAppInfo(bundle);
    QCOMPARE(app.name, name);
    QCOMPARE(app.bundleIdentifier, identifier);
    QCOMPARE(app.path, bundle);
    QCOMPARE(app.icon, std::optional(kGenericIcon));
}

void TestApplications::readAppInfo_iconStaysInsideTheBundle_data()
{
    QTest::addColumn<QVariant>("iconFile");
    QTest::addColumn<QStringList>("files"); // made under Contents/Resources
    QTest::addColumn<QString>("expected");  // under Contents/Resources; empty: generic icon

    const QStringList appIcon{QStringLiteral("AppIcon.icns")};
    QTest::newRow("name without extension") << QVariant("AppIcon") << appIcon << "AppIcon.icns";
    QTest::newRow("name with extension") << QVariant("AppIcon.icns") << appIcon << "AppIcon.icns";
    QTest::newRow("other image type")
        << QVariant("Logo.png") << QStringList{QStringLiteral("Logo.png")} << "Logo.png";
    QTest::newRow("icon file missing") << QVariant("AppIcon") << QStringList() << "";
    QTest::newRow("only the bare name exists")
        << QVariant("AppIcon") << QStringList{QStringLiteral("AppIcon")} << "";
    QTest::newRow("parent folder") << QVariant("../Info.plist") << appIcon << "";
    QTest::newRow("far outside") << QVariant("../../../../../../../../etc/hostname") << appIcon
                                 << "";
    QTest::newRow("absolute path") << QVariant("/etc/hostname") << appIcon << "";
    QTest::newRow("dot dot") << QVariant("..") << appIcon << "";
    QTest::newRow("subfolder") << QVariant("Icons/AppIcon.icns")
                               << QStringList{QStringLiteral("Icons/AppIcon.icns")} << "";
    QTest::newRow("a folder, not a file")
        << QVariant("Folder.icns") << QStringList{QStringLiteral("Folder.icns/inside")} << "";
    QTest::newRow("not a string") << QVariant(7) << appIcon << "";
    QTest::newRow("empty") << QVariant(QString()) << appIcon << "";
}

void TestApplications::readAppInfo_iconStaysInsideTheBundle()
{
    QFETCH(QVariant, iconFile);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);

    Sandbox sandbox;
    const QString bundle = makeBundle(sandbox, sandbox.homePath("Applications"), "Paint.app",
                                      {{kName, "Paint"}, {kIconFile, iconFile}}, Plist::Binary);
    const QString resources = bundle + QStringLiteral("/Contents/Resources/");
    for (const QString &file : files)
        sandbox.writeFile(resources + file, "icns");
    // Something real outside the bundle, two levels up, where "../.." would reach.
    sandbox.writeFile(sandbox.homePath("Applications/AppIcon.icns"), "outside");

    const AppInfo app = FileScanner(sandbox.places()).readAppInfo(bundle);
    QCOMPARE(app.name, QStringLiteral("Paint"));
    if (expected.isEmpty())
        QCOMPARE(app.icon, std::optional(kGenericIcon));
    else
        QCOMPARE(app.icon, std::optional(ItemIcon::imageFile(resources + expected)));
}

void TestApplications::readAppInfo_infoPlistThatIsAPipe_doesNotHang()
{
    Sandbox sandbox;
    const QString bundle =
        makeBundle(sandbox, sandbox.systemPath("/Applications"), "Pipe.app", {}, Plist::None);
    const QString pipe = bundle + QStringLiteral("/Contents/Info.plist");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);

    // Opening a pipe for reading waits for a writer; a scan must not wait for one.
    auto result = std::async(std::launch::async,
                             [&] { return FileScanner(sandbox.places()).readAppInfo(bundle); });
    const bool finished = result.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    if (!finished) {
        // Release the reader so the test can end, then report the hang.
        const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    const AppInfo app = result.get();
    QVERIFY2(finished, "reading a pipe named Info.plist blocked the scan");
    QCOMPARE(app.name, QStringLiteral("Pipe"));
    QCOMPARE(app.bundleIdentifier, std::nullopt);
}

void TestApplications::scanApplicationsFolder_listsOnlyDirectAppEntries()
{
    Sandbox sandbox;
    const QString folder = sandbox.systemPath("/Applications");
    makeBundle(sandbox, folder, "Alpha.app", {{kName, "Alpha"}});
    makeBundle(sandbox, folder, ".Hidden.app", {{kName, "Hidden"}}, Plist::Binary);
    makeBundle(sandbox, folder, "Tool.APP", {{kName, "Tool"}});
    makeBundle(sandbox, folder, "Utilities/Inner.app", {{kName, "Inner"}});
    makeBundle(sandbox, folder, "Archive.app.zip", {{kName, "Archive"}});
    sandbox.writeFile(folder + QStringLiteral("/Readme.txt"), "read me");
    // A plain file with the extension is listed too: the entry's kind is not looked at.
    sandbox.writeFile(folder + QStringLiteral("/Plain.app"), "not a bundle");
    // A link to a bundle elsewhere is an entry like any other.
    const QString elsewhere = makeBundle(sandbox, sandbox.base() + QStringLiteral("/elsewhere"),
                                         "Linked.app", {{kName, "Linked"}});
    sandbox.makeSymlink(elsewhere, folder + QStringLiteral("/Linked.app"));

    const FileScanner scanner(sandbox.places());
    QList<AppInfo> apps = scanner.scanApplicationsFolder(folder);
    QStringList names = namesOf(apps);
    names.sort();
    QCOMPARE(names, QStringList({"Alpha", "Hidden", "Linked", "Plain"}));
    for (const AppInfo &app : apps)
        QCOMPARE(QFileInfo(app.path).absolutePath(), folder);

    // Listing order is kept: the same folder listed twice gives the same sequence.
    QCOMPARE(pathsOf(scanner.scanApplicationsFolder(folder)), pathsOf(apps));
    QVERIFY(scanner.scanApplicationsFolder(folder + QStringLiteral("/Nothing")).isEmpty());
    QVERIFY(scanner.scanApplicationsFolder(folder + QStringLiteral("/Readme.txt")).isEmpty());
}

void TestApplications::scanApplications_sortsBothFoldersUserFirst()
{
    Sandbox sandbox;
    const QString user = sandbox.homePath("Applications");
    const QString system = sandbox.systemPath("/Applications");
    const QString userSame = makeBundle(sandbox, user, "Same.app", {{kName, "Same"}});
    const QString userEcho = makeBundle(sandbox, user, "Echo.app", {{kName, "echo"}});
    makeBundle(sandbox, user, "beta.app", {}, Plist::None);
    makeBundle(sandbox, user, "Zed.app", {{kDisplayName, "Zed"}}, Plist::Binary);
    const QString systemSame =
        makeBundle(sandbox, system, "Same.app", {{kName, "Same"}}, Plist::Binary);
    const QString systemEcho = makeBundle(sandbox, system, "Echo.app", {{kName, "ECHO"}});
    makeBundle(sandbox, system, "Gamma.app", {{kName, "Gamma"}});
    makeBundle(sandbox, system, "alpha tool.app", {}, Plist::Raw, "broken");
    makeBundle(sandbox, system, "Tool.APP", {{kName, "Tool"}});
    makeBundle(sandbox, system, "Utilities/Deep.app", {{kName, "Deep"}});

    // Enough equal names that an unstable sort would mix the two folders' copies.
    for (int i = 0; i < 12; ++i) {
        makeBundle(sandbox, user, QStringLiteral("Twin %1.app").arg(i), {{kName, "Twin"}});
        makeBundle(sandbox, system, QStringLiteral("Twin %1.app").arg(i), {{kName, "TWIN"}});
    }

    const QList<AppInfo> apps = FileScanner(sandbox.places()).scanApplications();
    QStringList expected{"alpha tool", "beta", "echo", "ECHO", "Gamma", "Same", "Same"};
    for (int i = 0; i < 12; ++i)
        expected.append(QStringLiteral("Twin"));
    for (int i = 0; i < 12; ++i)
        expected.append(QStringLiteral("TWIN"));
    expected.append(QStringLiteral("Zed"));
    QCOMPARE(namesOf(apps), expected);
    QCOMPARE(apps[2].path, userEcho);
    QCOMPARE(apps[3].path, systemEcho);
    QCOMPARE(apps[5].path, userSame);
    QCOMPARE(apps[6].path, systemSame);
    QVERIFY(apps[5] != apps[6]); // two bundles, two records
    // Within one folder the listing order is kept.
    const QStringList userTwins = pathsOf(apps.mid(7, 12));
    QStringList userListing = pathsOf(FileScanner(sandbox.places()).scanApplicationsFolder(user));
    userListing.removeIf(
        [](const QString &path) { return !path.contains(QStringLiteral("Twin")); });
    QCOMPARE(userTwins, userListing);
}

void TestApplications::scanApplications_missingFolders()
{
    Sandbox sandbox;
    const FileScanner scanner(sandbox.places());
    QVERIFY(scanner.scanApplications().isEmpty());

    const QString system = sandbox.systemPath("/Applications");
    makeBundle(sandbox, system, "Beta.app", {{kName, "Beta"}});
    makeBundle(sandbox, system, "Alpha.app", {{kName, "Alpha"}});
    QVERIFY(!QFileInfo::exists(sandbox.homePath("Applications")));
    QCOMPARE(namesOf(scanner.scanApplications()), QStringList({"Alpha", "Beta"}));

    // A user folder that cannot be listed counts as empty.
    sandbox.writeFile(sandbox.homePath("Applications"), "a file, not a folder");
    QCOMPARE(namesOf(scanner.scanApplications()), QStringList({"Alpha", "Beta"}));
}

void TestApplications::scanApplications_sortIsLocalized()
{
    Sandbox sandbox;
    const QString system = sandbox.systemPath("/Applications");
    for (const QString &name : {QStringLiteral("Zed"), QStringLiteral("Éclair"),
                                QStringLiteral("eagle"), QStringLiteral("Apple")})
        makeBundle(sandbox, system, name + QStringLiteral(".app"), {{kName, name}});

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QStringList names = namesOf(FileScanner(sandbox.places()).scanApplications());
    QLocale::setDefault(saved);
    // A letter with an accent sorts with its base letter, not after "Z".
    QCOMPARE(names, QStringList({"Apple", "eagle", "Éclair", "Zed"}));
}

QTEST_GUILESS_MAIN(TestApplications)
#include "tst_applications.moc"

#include "demo/PlistWriter.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>

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
    void readAppInfo_namesAndIdentifier()
    {
        const std::optional<QString> none;
        const std::optional<QString> foo = QStringLiteral("com.example.foo");
        const QVariantMap both{{kName, "Foo"}, {kDisplayName, "Foo Pro"}, {kIdentifier, *foo}};
        using PlistWriter::binary;
        using PlistWriter::xml;
        PlistWriter::BinaryBuilder nul(1);
        nul.add(nul.dict({1}, {2}));
        nul.add(PlistWriter::BinaryBuilder::ascii("CFBundleName"));
        nul.add(PlistWriter::BinaryBuilder::ascii(QByteArray("Foo\0Bar", 7)));
        const QString huge(50 * 1024 * 1024, QLatin1Char('x'));
        // The bundle's file name, its Info.plist (none for a null array), the name and identifier.
        // clang-format off
        const QList<std::tuple<QString, QByteArray, QString, std::optional<QString>>> cases{
            {"Foo.app", xml(both), "Foo", foo},
            {"Foo.app", binary(both), "Foo", foo},
            {"Foo.app", binary(QVariantMap{{kDisplayName, "Foo Pro"}}), "Foo Pro", none},
            {"Visual Studio Code.app", xml(QVariantMap{{kIdentifier, *foo}}), "Visual Studio Code", foo},
            {"Foo.app", xml(QVariantMap{{kName, QString()}, {kDisplayName, "Shown"}}), "", none}, // empty counts
            {"Foo.app", binary(QVariantMap{{kName, 5}, {kDisplayName, "Shown"}}), "Shown", none},
            {"Foo.app", xml(QVariantMap{{kName, "Foo"}, {kIdentifier, QVariantList{*foo}}}), "Foo", none},
            {"x.app", nul.build(0), QStringLiteral("Foo") + QChar(0) + QStringLiteral("Bar"), none},
            {"Missing.app", QByteArray(), "Missing", none},
            {"Junk.app", QByteArray("\x00\xff garbage \x01<", 13), "Junk", none},
            {"List.app", xml(QVariantList{kName}), "List", none},
            {"Cut.app", binary(both).chopped(20), "Cut", none},
            {"Huge.app", xml(QVariantMap{{kName, huge}}), "Huge", none}, // 50 MB Info.plist
            {"Ünïcödé 100%\nTool.app", QByteArray(), "Ünïcödé 100%\nTool", none},
            {"Foo.v2.app", xml(QVariantMap{{kIdentifier, *foo}}), "Foo.v2", foo},
        };
        // clang-format on
        Sandbox sandbox;
        const FileScanner scanner(sandbox.places());
        for (qsizetype i = 0; i < cases.size(); ++i) {
            const auto &[fileName, info, name, identifier] = cases[i];
            const QString folder = sandbox.systemPath(QStringLiteral("/Applications/%1").arg(i));
            const QString bundle = makeBundle(sandbox, folder, fileName, info);
            const AppInfo app = scanner.readAppInfo(bundle);
            const QString row = QString::number(i) + QLatin1Char(' ');
            QCOMPARE(row + app.name + u'/' + app.bundleIdentifier.value_or(QStringLiteral("none")),
                     row + name + u'/' + identifier.value_or(QStringLiteral("none")));
            QCOMPARE(app.path, bundle);
            QCOMPARE(app.icon, std::optional(kGenericIcon));
        }
    }

    void readAppInfo_iconStaysInsideTheBundle()
    {
        Sandbox sandbox;
        const QString bundle = sandbox.homePath("Applications/Paint.app");
        const QString resources = bundle + QStringLiteral("/Contents/Resources/");
        // Something real outside the bundle, two levels up, where "../.." would reach.
        sandbox.writeFile(sandbox.homePath("Applications/AppIcon.icns"), "outside");
        // CFBundleIconFile, the file made under Contents/Resources, and the icon found there
        // (empty: the generic icon).
        const QList<std::tuple<QVariant, QString, QString>> cases{
            {"AppIcon", "AppIcon.icns", "AppIcon.icns"},
            {"AppIcon.icns", "AppIcon.icns", "AppIcon.icns"},
            {"AppIcon", "", ""}, // the icon file is missing
            {"../Info.plist", "AppIcon.icns", ""},
            {"/etc/hostname", "AppIcon.icns", ""},
            {"Icons/AppIcon.icns", "Icons/AppIcon.icns", ""},
            {"Folder.icns", "Folder.icns/inside", ""}, // a folder, not a file
            {7, "AppIcon.icns", ""},
            {QString(), "AppIcon.icns", ""},
        };
        for (const auto &[iconFile, file, expected] : cases) {
            QDir(resources).removeRecursively();
            makeBundle(
                sandbox, sandbox.homePath("Applications"), "Paint.app",
                PlistWriter::binary(QVariantMap{{kName, "Paint"}, {"CFBundleIconFile", iconFile}}));
            if (!file.isEmpty())
                sandbox.writeFile(resources + file, "icns");
            const AppInfo app = FileScanner(sandbox.places()).readAppInfo(bundle);
            QCOMPARE(app.name, QStringLiteral("Paint"));
            QCOMPARE(
                iconFile.toString() + u' ' + app.icon.value_or(ItemIcon()).toSource(),
                iconFile.toString() + u' ' +
                    (expected.isEmpty() ? kGenericIcon : ItemIcon::imageFile(resources + expected))
                        .toSource());
        }
    }

    void readAppInfo_infoPlistThatIsAPipe_doesNotHang()
    {
        Sandbox sandbox;
        const QString bundle =
            makeBundle(sandbox, sandbox.systemPath("/Applications"), "Pipe.app", {});
        const QByteArray pipe = QFile::encodeName(bundle + QStringLiteral("/Contents/Info.plist"));
        QCOMPARE(::mkfifo(pipe.constData(), 0644), 0);

        // Opening a pipe for reading waits for a writer; a scan must not wait for one.
        auto result = std::async(std::launch::async,
                                 [&] { return FileScanner(sandbox.places()).readAppInfo(bundle); });
        const bool finished =
            result.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
        if (!finished) { // release the reader so the test can end, then report the hang
            const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
        const AppInfo app = result.get();
        QVERIFY2(finished, "reading a pipe named Info.plist blocked the scan");
        QCOMPARE(app.name, QStringLiteral("Pipe"));
    }

    void scanApplicationsFolder_listsOnlyDirectAppEntries()
    {
        Sandbox sandbox;
        const QString folder = sandbox.systemPath("/Applications");
        QVERIFY(
            FileScanner(sandbox.places()).scanApplications().isEmpty()); // neither folder exists
        for (const QString &name :
             {"Alpha.app", ".Hidden.app", "Tool.APP", "Utilities/Inner.app", "Archive.app.zip"})
            sandbox.makeAppBundle(folder, name, {{kName, QFileInfo(name).completeBaseName()}});
        sandbox.writeFile(folder + QStringLiteral("/Readme.txt"), "read me");
        // A plain file with the extension is listed too: the entry's kind is not looked at.
        sandbox.writeFile(folder + QStringLiteral("/Plain.app"), "not a bundle");
        // A link to a bundle elsewhere is an entry like any other.
        const QString elsewhere = sandbox.makeAppBundle(
            sandbox.base() + QStringLiteral("/elsewhere"), "Linked.app", {{kName, "Linked"}});
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

    void scanApplications_sortsBothFoldersStablyAndLocalized()
    {
        Sandbox sandbox;
        const QString user = sandbox.homePath("Applications");
        const QString system = sandbox.systemPath("/Applications");
        makeBundle(sandbox, user, "beta.app", {});
        sandbox.makeAppBundle(user, "Zed.app", {{kDisplayName, "Zed"}},
                              Sandbox::PlistFormat::binary);
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
        expected << QStringList(12, QStringLiteral("Twin"))
                 << QStringList(12, QStringLiteral("TWIN")) << QStringLiteral("Zed");
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
};

QTEST_GUILESS_MAIN(TestApplications)
#include "tst_applications.moc"

// The window's C++ helpers: the symbol table and its SVGs, the two image providers, the Trash
// folder the banner opens, and the two proxy models the lists draw from.

#include "model/FileCategory.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"
#include "ui/ApplicationSectionsModel.h"
#include "ui/Desktop.h"
#include "ui/FileGroupSortModel.h"
#include "ui/Icons.h"
#include "ui/ItemIconProvider.h"
#include "ui/SymbolImageProvider.h"
#include "ui/SymbolTable.h"
#include "viewmodel/AppListModel.h"
#include "viewmodel/FileGroupListModel.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(VerloPlugin)

namespace {

// Pixels drawn at full opacity, unpremultiplied.
QList<QColor> opaquePixels(const QImage &image)
{
    QList<QColor> pixels;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QColor c = QColor::fromRgba(argb.pixel(x, y));
            if (c.alpha() == 255)
                pixels.append(c);
        }
    }
    return pixels;
}

bool isTransparent(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(argb.pixel(x, y)) != 0)
                return false;
        }
    }
    return true;
}

// What the item provider draws for a source text, as the window asks for it.
QImage itemImage(const QString &source, const QSize &size)
{
    const QString url = Icons().itemUrl(source);
    const QString prefix = QStringLiteral("image://item/");
    if (!url.startsWith(prefix))
        return {};
    ItemIconProvider provider;
    QSize actual;
    return provider.requestImage(url.mid(prefix.size()), &actual, size);
}

QImage solid(const QColor &color, int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

FileGroup group(FileCategory category, const QList<qint64> &sizes)
{
    QList<AssociatedFile> files;
    int i = 0;
    for (qint64 size : sizes) {
        files.append(AssociatedFile(QStringLiteral("/x/%1/%2").arg(caseName(category)).arg(i++),
                                    QStringLiteral("f"), category, size));
    }
    return FileGroup(category, files);
}

QStringList categoriesInOrder(const QAbstractItemModel &model)
{
    const int role = model.roleNames().key("category");
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names.append(model.index(row, 0).data(role).toString());
    return names;
}

} // namespace

class IconsTest : public QObject
{
    Q_OBJECT

private slots:
    void symbolTable_coversEveryNameTheModelUses();
    void symbolTable_filesAreValidSvg();
    void symbolProvider_tintsInRequestedColour();
    void symbolProvider_unknownNameDrawsNothingAndIsNoted();
    void itemProvider_readsBundleIconThroughOddPaths_data();
    void itemProvider_readsBundleIconThroughOddPaths();
    void itemProvider_unreadableIconFallsBackToGenericIcon();
    void itemProvider_workspaceIconTellsFoldersFromFiles();
    void trashFolderUrl_followsDataHome_data();
    void trashFolderUrl_followsDataHome();
    void groupSort_largestFirstAndBack();
    void applicationSections_userFirstWithTitles();
};

void IconsTest::symbolTable_coversEveryNameTheModelUses()
{
    QStringList missing;
    for (FileCategory category : allFileCategories()) {
        if (SymbolTable::filePath(iconName(category)).isEmpty())
            missing.append(iconName(category));
    }
    // Bundles without an icon and package folders carry symbols of their own.
    Sandbox sandbox;
    const QString bundle = sandbox.makeAppBundle(sandbox.systemPath(QStringLiteral("/Applications")),
                                                 QStringLiteral("Plain.app"), {});
    const FileScanner scanner(sandbox.places());
    const AppInfo app = scanner.readAppInfo(bundle);
    QVERIFY(app.icon);
    const QString appSymbol = Icons().symbolName(app.icon->toSource());
    QVERIFY(!appSymbol.isEmpty());
    for (const QString &name : {appSymbol, NPMPackage(QStringLiteral("x"), {}, QStringLiteral("/none")).icon(scanner.fileManager()).value,
                                HomebrewPackage(QStringLiteral("x"), HomebrewPackageType::formula, {}, QStringLiteral("/none")).icon(scanner.fileManager()).value}) {
        if (SymbolTable::filePath(name).isEmpty())
            missing.append(name);
    }
    QCOMPARE(missing, QStringList());
}

void IconsTest::symbolTable_filesAreValidSvg()
{
    const QStringList names = SymbolTable::names();
    QVERIFY(names.size() >= 40);
    for (const QString &name : names) {
        const QString path = SymbolTable::filePath(name);
        QVERIFY2(QFile::exists(path), qPrintable(name));
        QSvgRenderer renderer(path);
        QVERIFY2(renderer.isValid(), qPrintable(name));
    }
    QVERIFY(QFile::exists(QStringLiteral(":/qt/qml/Verlo/icons/LICENSE")));
}

void IconsTest::symbolProvider_tintsInRequestedColour()
{
    SymbolImageProvider provider;
    const QString url = Icons().symbolUrl(QStringLiteral("trash"), QColor(0x0A, 0x6C, 0xF5));
    const QString prefix = QStringLiteral("image://symbol/");
    QVERIFY(url.startsWith(prefix));
    QSize size;
    const QImage image = provider.requestImage(url.mid(prefix.size()), &size, QSize(40, 40));
    QCOMPARE(size, QSize(40, 40));
    const QList<QColor> pixels = opaquePixels(image);
    QVERIFY(pixels.size() > 40);
    for (const QColor &pixel : pixels)
        QCOMPARE(pixel.rgb(), QColor(0x0A, 0x6C, 0xF5).rgb());
    // Not the whole square: it is a glyph.
    QVERIFY(pixels.size() < 40 * 40 * 3 / 4);
}

void IconsTest::symbolProvider_unknownNameDrawsNothingAndIsNoted()
{
    SymbolImageProvider provider;
    QSize size;
    const QImage image = provider.requestImage(QStringLiteral("ff000000/no.such.symbol"), &size,
                                               QSize(16, 16));
    QCOMPARE(size, QSize(16, 16));
    QVERIFY(isTransparent(image));
    QVERIFY(SymbolImageProvider::unknownNames().contains(QStringLiteral("no.such.symbol")));
}

void IconsTest::itemProvider_readsBundleIconThroughOddPaths_data()
{
    QTest::addColumn<QString>("bundleName");
    QTest::newRow("plain") << "Plain.app";
    QTest::newRow("spaces") << "My Great App.app";
    QTest::newRow("url characters") << "Hash#Query?100%.app";
    QTest::newRow("non-latin") << "Überblick 写.app";
}

void IconsTest::itemProvider_readsBundleIconThroughOddPaths()
{
    QFETCH(QString, bundleName);
    Sandbox sandbox;
    const QString bundle = sandbox.makeAppBundle(
        sandbox.systemPath(QStringLiteral("/Applications")), bundleName,
        {{QStringLiteral("CFBundleIconFile"), QStringLiteral("AppIcon")}});
    const QString icon = bundle + QStringLiteral("/Contents/Resources/AppIcon.icns");
    QDir().mkpath(QFileInfo(icon).absolutePath());
    QImageWriter writer(icon, "icns");
    QVERIFY2(writer.write(solid(QColor(200, 30, 90), 128)), qPrintable(writer.errorString()));

    // The scanner names the file; the window's URL carries it to the provider intact.
    const AppInfo app = FileScanner(sandbox.places()).readAppInfo(bundle);
    QVERIFY(app.icon);
    QCOMPARE(app.icon->toSource(), QStringLiteral("image:") + icon);
    const QImage image = itemImage(app.icon->toSource(), QSize(64, 64));
    QCOMPARE(image.size(), QSize(64, 64));
    QCOMPARE(QColor(image.pixel(32, 32)).rgb(), QColor(200, 30, 90).rgb());
}

void IconsTest::itemProvider_unreadableIconFallsBackToGenericIcon()
{
    Sandbox sandbox;
    const QString broken = sandbox.writeFile(sandbox.systemPath(QStringLiteral("/Applications/B.app/Contents/Resources/AppIcon.icns")),
                                             QByteArray("icns\x00\x00\x10\x00garbage", 16));
    const QImage generic = ItemIconProvider::genericApplicationIcon(QSize(48, 48));
    QVERIFY(!isTransparent(generic));
    QCOMPARE(itemImage(QStringLiteral("image:") + broken, QSize(48, 48)), generic);
    QCOMPARE(itemImage(QStringLiteral("image:") + sandbox.systemPath(QStringLiteral("/missing.icns")),
                       QSize(48, 48)),
             generic);
    // The generic application symbol is drawn as that icon too.
    QCOMPARE(itemImage(QStringLiteral("symbol:app.generic"), QSize(48, 48)), generic);
    // Other symbols are left to the window.
    QCOMPARE(Icons().itemUrl(QStringLiteral("symbol:terminal.fill")), QString());
}

void IconsTest::itemProvider_workspaceIconTellsFoldersFromFiles()
{
    Sandbox sandbox;
    const QString folder = sandbox.makeDir(sandbox.homePath(QStringLiteral("pkg #1")));
    const QString file = sandbox.writeFile(sandbox.homePath(QStringLiteral("notes.txt")), "x");
    const QImage folderIcon = itemImage(QStringLiteral("workspace:") + folder, QSize(32, 32));
    const QImage fileIcon = itemImage(QStringLiteral("workspace:") + file, QSize(32, 32));
    const QImage goneIcon = itemImage(QStringLiteral("workspace:") + folder + QStringLiteral("/gone"),
                                      QSize(32, 32));
    QVERIFY(!isTransparent(folderIcon));
    QVERIFY(!isTransparent(fileIcon));
    QVERIFY(folderIcon != fileIcon);
    QCOMPARE(goneIcon, fileIcon);
    QCOMPARE(folderIcon, ItemIconProvider::workspaceIcon(folder, QSize(32, 32)));
}

void IconsTest::trashFolderUrl_followsDataHome_data()
{
    QTest::addColumn<bool>("setDataHome");
    QTest::addColumn<QString>("existing"); // relative to the data home; "" for nothing
    QTest::addColumn<QString>("expected"); // relative to the data home, or a URL
    QTest::newRow("default, used trash") << false << "Trash/files" << "Trash/files";
    QTest::newRow("default, bare trash") << false << "Trash" << "Trash";
    QTest::newRow("default, never used") << false << "" << "trash:///";
    QTest::newRow("XDG_DATA_HOME") << true << "Trash/files" << "Trash/files";
}

void IconsTest::trashFolderUrl_followsDataHome()
{
#ifdef Q_OS_MACOS
    QSKIP("the Trash is ~/.Trash on macOS");
#endif
    QFETCH(bool, setDataHome);
    QFETCH(QString, existing);
    QFETCH(QString, expected);
    Sandbox sandbox;
    const QString dataHome = setDataHome ? sandbox.homePath(QStringLiteral("data"))
                                         : sandbox.homePath(QStringLiteral(".local/share"));
    if (setDataHome)
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    if (!existing.isEmpty())
        QDir().mkpath(dataHome + QLatin1Char('/') + existing);
    const QUrl url = Desktop::trashFolderUrl();
    qunsetenv("XDG_DATA_HOME");
    if (expected.contains(QLatin1Char(':')))
        QCOMPARE(url, QUrl(expected));
    else
        QCOMPARE(url, QUrl::fromLocalFile(dataHome + QLatin1Char('/') + expected));
}

void IconsTest::groupSort_largestFirstAndBack()
{
    FileGroupListModel groups;
    const QList<FileGroup> scanOrder = {group(FileCategory::appBundle, {100}),
                                        group(FileCategory::preferences, {5, 5}),
                                        group(FileCategory::caches, {900}),
                                        group(FileCategory::libraryLogs, {10})};
    groups.setGroups(scanOrder);
    FileGroupSortModel sorted;
    sorted.setSourceModel(&groups);
    const QStringList scan = {QStringLiteral("appBundle"), QStringLiteral("preferences"),
                              QStringLiteral("caches"), QStringLiteral("libraryLogs")};
    QCOMPARE(categoriesInOrder(sorted), scan);

    sorted.setBySize(true);
    // Ties (preferences and logs, 10 bytes each) keep the scan order.
    QCOMPARE(categoriesInOrder(sorted),
             QStringList({QStringLiteral("caches"), QStringLiteral("appBundle"),
                          QStringLiteral("preferences"), QStringLiteral("libraryLogs")}));

    // Ticking does not move groups, and a new scan is sorted again.
    QList<FileGroup> ticked = scanOrder;
    ticked[1].files[0].isSelected = true;
    groups.updateGroups(ticked);
    QCOMPARE(categoriesInOrder(sorted).first(), QStringLiteral("caches"));
    groups.setGroups({group(FileCategory::containers, {1}), group(FileCategory::webkitData, {2})});
    QCOMPARE(categoriesInOrder(sorted),
             QStringList({QStringLiteral("webkitData"), QStringLiteral("containers")}));

    sorted.setBySize(false);
    QCOMPARE(categoriesInOrder(sorted),
             QStringList({QStringLiteral("containers"), QStringLiteral("webkitData")}));
}

void IconsTest::applicationSections_userFirstWithTitles()
{
    AppListModel user;
    AppListModel system;
    ApplicationSectionsModel sections;
    sections.setUserApplications(&user);
    sections.setSystemApplications(&system);
    QCOMPARE(sections.count(), 0);

    system.setApps({AppInfo(QStringLiteral("Beta"), {}, QStringLiteral("/Applications/Beta.app")),
                    AppInfo(QStringLiteral("Gamma"), {}, QStringLiteral("/Applications/Gamma.app"))});
    user.setApps({AppInfo(QStringLiteral("Alpha"), {}, QStringLiteral("/home/u/Applications/Alpha.app"))});
    QCOMPARE(sections.count(), 3);

    const QHash<int, QByteArray> roles = sections.roleNames();
    const int nameRole = roles.key("name");
    const int titleRole = roles.key("sectionTitle");
    QVERIFY(nameRole > 0);
    QVERIFY(titleRole > 0);
    QStringList rows;
    for (int row = 0; row < sections.rowCount(); ++row) {
        const QModelIndex index = sections.index(row, 0);
        rows.append(index.data(titleRole).toString() + QLatin1Char('/') + index.data(nameRole).toString());
    }
    QCOMPARE(rows, QStringList({QStringLiteral("User Applications/Alpha"),
                                QStringLiteral("Applications/Beta"),
                                QStringLiteral("Applications/Gamma")}));

    // A list replaced whole is followed.
    user.setApps({});
    QCOMPARE(sections.count(), 2);
    QCOMPARE(sections.index(0, 0).data(titleRole).toString(), QStringLiteral("Applications"));
}

QTEST_MAIN(IconsTest)
#include "tst_icons.moc"

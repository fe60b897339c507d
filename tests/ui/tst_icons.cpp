// The window's C++ helpers: the symbol table and its SVGs, the two image providers, the Trash
// folder the banner opens, and the two proxy models the lists draw from.

#include "model/FileCategory.h"
#include "model/SidebarSection.h"
#include "scanner/FileScanner.h"
#include "scanner/Trash.h"
#include "tests/support/Sandbox.h"
#include "ui/ApplicationSectionsModel.h"
#include "ui/Desktop.h"
#include "ui/FileGroupSortModel.h"
#include "ui/Icons.h"
#include "ui/ItemIconProvider.h"
#include "ui/SymbolImageProvider.h"
#include "ui/SymbolTable.h"
#include "viewmodel/AppListModel.h"
#include "viewmodel/CategoryEnums.h"
#include "viewmodel/FileGroupListModel.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(VerloPlugin)
Q_IMPORT_QML_PLUGIN(Verlo_ViewModelPlugin)

using namespace Qt::StringLiterals;

namespace {

// The pixels, unpremultiplied, whose alpha passes the test.
QList<QColor> pixelsWhere(const QImage &image, bool (*alphaTest)(int))
{
    QList<QColor> pixels;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QColor c = QColor::fromRgba(argb.pixel(x, y));
            if (alphaTest(c.alpha()))
                pixels.append(c);
        }
    }
    return pixels;
}

QList<QColor> opaquePixels(const QImage &image)
{
    return pixelsWhere(image, [](int alpha) { return alpha == 255; });
}

bool isTransparent(const QImage &image)
{
    return pixelsWhere(image, [](int alpha) { return alpha != 0; }).isEmpty();
}

// What the item provider draws for a source text, as the window asks for it.
QImage itemImage(const QString &source, const QSize &size)
{
    const QString url = Icons().itemUrl(source);
    const QString prefix = u"image://item/"_s;
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
        files.append(
            AssociatedFile(u"/x/%1/%2"_s.arg(caseName(category)).arg(i++), u"f"_s, category, size));
    }
    return FileGroup(category, files);
}

// The case names of the rows' categories, read from the category role QML compares.
QStringList categoriesInOrder(const QAbstractItemModel &model)
{
    const int role = model.roleNames().key("category");
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row) {
        const auto category = model.index(row, 0).data(role).value<Category::Value>();
        names.append(caseName(Category::toFileCategory(category)));
    }
    return names;
}

} // namespace

class IconsTest : public QObject
{
    Q_OBJECT

private slots:
    void symbolTable_coversEveryNameTheModelUsesWithValidSvg()
    {
        QStringList missing;
        for (FileCategory category : allFileCategories()) {
            if (SymbolTable::filePath(iconName(category)).isEmpty())
                missing.append(iconName(category));
        }
        // Bundles without an icon, npm packages and formulae carry symbols of their own (the
        // scanner and model tests pin these names).
        QStringList symbols{u"app.generic"_s, u"terminal.fill"_s, u"shippingbox.fill"_s};
        for (SidebarSection section : allSidebarSections())
            symbols.append(iconName(section));
        for (const QString &name : std::as_const(symbols)) {
            if (SymbolTable::filePath(name).isEmpty())
                missing.append(name);
        }
        QCOMPARE(missing, QStringList());

        const QStringList names = SymbolTable::names();
        QVERIFY(names.size() >= 40);
        for (const QString &name : names) {
            const QString path = SymbolTable::filePath(name);
            QVERIFY2(QFile::exists(path), qPrintable(name));
            QSvgRenderer renderer(path);
            QVERIFY2(renderer.isValid(), qPrintable(name));
        }
        QVERIFY(QFile::exists(u":/qt/qml/Verlo/icons/LICENSE"_s));
    }

    void symbolProvider_tintsGlyphAndNotesUnknownNames()
    {
        SymbolImageProvider provider;
        const QString url = Icons().symbolUrl(u"trash"_s, QColor(0x0A, 0x6C, 0xF5));
        const QString prefix = u"image://symbol/"_s;
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

        // An unknown name draws nothing and is noted.
        const QImage unknown =
            provider.requestImage(u"ff000000/no.such.symbol"_s, &size, QSize(16, 16));
        QCOMPARE(size, QSize(16, 16));
        QVERIFY(isTransparent(unknown));
        QVERIFY(SymbolImageProvider::unknownNames().contains(u"no.such.symbol"_s));
    }

    void itemProvider_readsBundleIconThroughHostilePath()
    {
        // Spaces, URL characters and non-Latin letters in the path.
        const QString bundleName = u"My #Query?100% Überblick 写.app"_s;
        Sandbox sandbox;
        const QString bundle =
            sandbox.makeAppBundle(sandbox.systemPath(u"/Applications"_s), bundleName,
                                  {{u"CFBundleIconFile"_s, u"AppIcon"_s}});
        const QString icon = bundle + u"/Contents/Resources/AppIcon.icns"_s;
        QDir().mkpath(QFileInfo(icon).absolutePath());
        QImageWriter writer(icon, "icns");
        QVERIFY2(writer.write(solid(QColor(200, 30, 90), 128)), qPrintable(writer.errorString()));

        // The scanner names the file; the window's URL carries it to the provider intact.
        const AppInfo app = FileScanner(sandbox.places()).readAppInfo(bundle);
        QVERIFY(app.icon);
        QCOMPARE(app.icon->toSource(), u"image:"_s + icon);
        const QImage image = itemImage(app.icon->toSource(), QSize(64, 64));
        QCOMPARE(image.size(), QSize(64, 64));
        QCOMPARE(QColor(image.pixel(32, 32)).rgb(), QColor(200, 30, 90).rgb());
    }

    void itemProvider_fallbackAndWorkspaceIcons()
    {
        Sandbox sandbox;
        const QString broken = sandbox.writeFile(
            sandbox.systemPath(u"/Applications/B.app/Contents/Resources/AppIcon.icns"_s),
            QByteArray("icns\x00\x00\x10\x00garbage", 16));
        const QImage generic = ItemIconProvider::genericApplicationIcon(QSize(48, 48));
        QVERIFY(!isTransparent(generic));
        QCOMPARE(itemImage(u"image:"_s + broken, QSize(48, 48)), generic);
        QCOMPARE(itemImage(u"image:"_s + sandbox.systemPath(u"/missing.icns"_s), QSize(48, 48)),
                 generic);
        // The generic application symbol is drawn as that icon too.
        QCOMPARE(itemImage(u"symbol:app.generic"_s, QSize(48, 48)), generic);
        // Other symbols are left to the window.
        QCOMPARE(Icons().itemUrl(u"symbol:terminal.fill"_s), QString());

        // Workspace icons tell folders from files.
        const QString folder = sandbox.makeDir(sandbox.homePath(u"pkg #1"_s));
        const QString file = sandbox.writeFile(sandbox.homePath(u"notes.txt"_s), "x");
        const QImage folderIcon = itemImage(u"workspace:"_s + folder, QSize(32, 32));
        const QImage fileIcon = itemImage(u"workspace:"_s + file, QSize(32, 32));
        const QImage goneIcon = itemImage(u"workspace:"_s + folder + u"/gone"_s, QSize(32, 32));
        QVERIFY(!isTransparent(folderIcon));
        QVERIFY(!isTransparent(fileIcon));
        QVERIFY(folderIcon != fileIcon);
        QCOMPARE(goneIcon, fileIcon);
        QCOMPARE(folderIcon, ItemIconProvider::workspaceIcon(folder, QSize(32, 32)));
    }

    void trashFolderUrl_followsDataHome()
    {
        if (Trash(u"/home/user"_s).homeTrashFolder() == u"/home/user/.Trash"_s)
            QSKIP("the Trash is ~/.Trash on macOS");
        Sandbox sandbox;
        // Whether the machine sets XDG_DATA_HOME, the folder made below the data home ("": none),
        // and the URL: a path below the data home, or the desktop's trash: URL when the Trash was
        // never used.
        const QList<std::tuple<bool, QString, QString>> cases{{false, "Trash/files", "Trash/files"},
                                                              {false, "Trash", "Trash"},
                                                              {false, "", "trash:///"},
                                                              {true, "Trash/files", "Trash/files"}};
        for (const auto &[setDataHome, existing, expected] : cases) {
            QDir(sandbox.homePath(u".local"_s)).removeRecursively();
            const QString dataHome = sandbox.homePath(setDataHome ? u"data"_s : u".local/share"_s);
            QMap<QString, QString> xdg;
            if (setDataHome)
                xdg.insert(u"XDG_DATA_HOME"_s, dataHome);
            if (!existing.isEmpty())
                QDir().mkpath(dataHome + QLatin1Char('/') + existing);
            const QUrl url = Desktop::trashFolderUrl(Places(sandbox.home(), sandbox.root(), xdg));
            QCOMPARE(url, expected.contains(QLatin1Char(':'))
                              ? QUrl(expected)
                              : QUrl::fromLocalFile(dataHome + QLatin1Char('/') + expected));
        }
    }

    // QML's capitalised categories and badges name the model's cases, one for one.
    void qmlEnums_nameTheSameCases()
    {
        const QMetaEnum categories = QMetaEnum::fromType<Category::Value>();
        QCOMPARE(categories.keyCount(), allFileCategories().size());
        for (FileCategory category : allFileCategories()) {
            QCOMPARE(
                QString::fromLatin1(categories.valueToKey(int(Category::of(category)))).toLower(),
                caseName(category).toLower());
        }
        const QMetaEnum badges = QMetaEnum::fromType<Safety::Value>();
        for (SystemDataSafety safety :
             {SystemDataSafety::safe, SystemDataSafety::review, SystemDataSafety::caution}) {
            QCOMPARE(QString::fromLatin1(badges.valueToKey(int(Safety::of(safety)))).toLower(),
                     caseName(safety));
        }
    }

    void groupSort_largestFirstAndBack()
    {
        FileGroupListModel groups;
        const QList<FileGroup> scanOrder = {
            group(FileCategory::appBundle, {100}), group(FileCategory::preferences, {5, 5}),
            group(FileCategory::caches, {900}), group(FileCategory::libraryLogs, {10})};
        groups.setGroups(scanOrder);
        FileGroupSortModel sorted;
        sorted.setSourceModel(&groups);
        const QStringList scan = {u"appBundle"_s, u"preferences"_s, u"caches"_s, u"libraryLogs"_s};
        QCOMPARE(categoriesInOrder(sorted), scan);

        sorted.setBySize(true);
        // Ties (preferences and logs, 10 bytes each) keep the scan order.
        QCOMPARE(categoriesInOrder(sorted),
                 QStringList({u"caches"_s, u"appBundle"_s, u"preferences"_s, u"libraryLogs"_s}));

        // Ticking does not move groups, and a new scan is sorted again.
        QList<FileGroup> ticked = scanOrder;
        ticked[1].files[0].isSelected = true;
        groups.updateGroups(ticked);
        QCOMPARE(categoriesInOrder(sorted).first(), u"caches"_s);
        groups.setGroups(
            {group(FileCategory::containers, {1}), group(FileCategory::webkitData, {2})});
        QCOMPARE(categoriesInOrder(sorted), QStringList({u"webkitData"_s, u"containers"_s}));

        sorted.setBySize(false);
        QCOMPARE(categoriesInOrder(sorted), QStringList({u"containers"_s, u"webkitData"_s}));
    }

    void applicationSections_userFirstWithTitles()
    {
        AppListModel user;
        AppListModel system;
        ApplicationSectionsModel sections;
        sections.setUserApplications(&user);
        sections.setSystemApplications(&system);
        QCOMPARE(sections.count(), 0);

        system.setApps({AppInfo(u"Beta"_s, {}, u"/Applications/Beta.app"_s),
                        AppInfo(u"Gamma"_s, {}, u"/Applications/Gamma.app"_s)});
        user.setApps({AppInfo(u"Alpha"_s, {}, u"/home/u/Applications/Alpha.app"_s)});
        QCOMPARE(sections.count(), 3);

        const QHash<int, QByteArray> roles = sections.roleNames();
        const int nameRole = roles.key("name");
        const int titleRole = roles.key("sectionTitle");
        QStringList rows;
        for (int row = 0; row < sections.rowCount(); ++row) {
            const QModelIndex index = sections.index(row, 0);
            rows.append(index.data(titleRole).toString() + QLatin1Char('/') +
                        index.data(nameRole).toString());
        }
        QCOMPARE(rows, QStringList({u"User Applications/Alpha"_s, u"Applications/Beta"_s,
                                    u"Applications/Gamma"_s}));

        // A list replaced whole is followed.
        user.setApps({});
        QCOMPARE(sections.count(), 2);
        QCOMPARE(sections.index(0, 0).data(titleRole).toString(), u"Applications"_s);
    }
};

QTEST_MAIN(IconsTest)
#include "tst_icons.moc"

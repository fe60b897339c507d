#include "model/AppInfo.h"
#include "model/AssociatedFile.h"
#include "model/ByteCountFormat.h"
#include "model/FileCategory.h"
#include "model/FileGroup.h"
#include "model/HomebrewPackage.h"
#include "model/NPMPackage.h"
#include "model/SidebarSection.h"
#include "scanner/CategoryPlaces.h"
#include "scanner/FileManager.h"
#include "scanner/ItemIcons.h"
#include "scanner/Places.h"
#include "tests/support/Sandbox.h"

#include <QSet>
#include <QTest>

#include <thread>

class ModelTest : public QObject
{
    Q_OBJECT

private slots:
    void records_compareByTheirIdentityFieldsNotById()
    {
        const AppInfo a(QStringLiteral("Foo"), QStringLiteral("com.foo"),
                        QStringLiteral("/A/Foo.app"));
        const AppInfo b(QStringLiteral("Bar"), std::nullopt, QStringLiteral("/A/Foo.app"));
        QVERIFY(a.id != b.id);
        QCOMPARE(a, b);
        QCOMPARE(QSet<AppInfo>({a, b}).size(), 1);

        const NPMPackage p1(QStringLiteral("zod"), QStringLiteral("1.0"), QStringLiteral("/x/zod"));
        const NPMPackage p2(QStringLiteral("zod"), std::nullopt, QStringLiteral("/y/zod"));
        QCOMPARE(p1, p2);

        const HomebrewPackage formula(QStringLiteral("foo"), HomebrewPackageType::formula,
                                      QStringLiteral("1"), QStringLiteral("/c/foo"));
        const HomebrewPackage cask(QStringLiteral("foo"), HomebrewPackageType::cask,
                                   QStringLiteral("latest"), QStringLiteral("/k/foo"));
        QVERIFY(!(formula == cask));
        QCOMPARE(qHash(formula), qHash(cask));
        QCOMPARE(QSet<HomebrewPackage>({formula, cask}).size(), 2);

        const AssociatedFile f1(QStringLiteral("/p"), QStringLiteral("p"), FileCategory::caches, 1);
        const AssociatedFile f2(QStringLiteral("/p"), QStringLiteral("q"),
                                FileCategory::preferences, 9, true);
        QCOMPARE(f1, f2);
        QCOMPARE(qHash(f1), qHash(f2));

        // Ids are random version-4 ids, none repeated across threads (each has its generator).
        QSet<QUuid> ids;
        QList<QUuid> other;
        std::thread worker([&other] {
            for (int i = 0; i < 5000; ++i)
                other.append(AssociatedFile().id);
        });
        for (int i = 0; i < 5000; ++i)
            ids.insert(FileGroup().id);
        worker.join();
        for (const QUuid &id : std::as_const(other))
            ids.insert(id);
        QCOMPARE(ids.size(), 10000);
        QCOMPARE(ids.begin()->version(), QUuid::Random);
        QCOMPARE(ids.begin()->variant(), QUuid::DCE);
    }

    void displayNamesAndLocations()
    {
        QCOMPARE(sidebarSectionFromDisplayName(QStringLiteral("Brew")), SidebarSection::homebrew);
        QVERIFY(!sidebarSectionFromDisplayName(QStringLiteral("Homebrew")));
        QCOMPARE(sidebarSectionFromCommandWord(QStringLiteral("brew")), SidebarSection::homebrew);
        for (const char *word : {"homebrew", "Brew", "systemData", ""})
            QVERIFY(!sidebarSectionFromCommandWord(QLatin1String(word)));
        QCOMPARE(homebrewPackageTypeFromDisplayName(QStringLiteral("Cask")),
                 HomebrewPackageType::cask);
        QVERIFY(!homebrewPackageTypeFromDisplayName(QStringLiteral("cask")));
        QVERIFY(!fileCategoryFromDisplayName(QStringLiteral("homebrewVar")));
        QSet<QString> names;
        for (FileCategory category : allFileCategories()) {
            QCOMPARE(fileCategoryFromDisplayName(displayName(category)), category);
            names.insert(displayName(category));
        }
        QCOMPARE(names.size(), 51);
        QCOMPARE(libraryFolderName(FileCategory::savedApplicationState),
                 QStringLiteral("Saved Application State"));
        QVERIFY(!libraryFolderName(FileCategory::homeDotFiles));

        const Places places(QStringLiteral("/sb/home/me"), QStringLiteral("/sb/root"));
        QCOMPARE(defaultLocation(FileCategory::systemCaches, places),
                 QStringLiteral("/sb/home/me/Library/Caches"));
        QCOMPARE(defaultLocation(FileCategory::homebrewCellar, places),
                 QStringLiteral("/sb/root/opt/homebrew/Cellar"));
        QVERIFY(!defaultLocation(FileCategory::appBundle, places));
        const Places real(QStringLiteral("/home/me"), QStringLiteral("/"));
        QCOMPARE(defaultLocation(FileCategory::homebrewCaskroom, real),
                 QStringLiteral("/opt/homebrew/Caskroom"));
        QCOMPARE(real.systemRelative(QStringLiteral("/Applications/X.app")),
                 QStringLiteral("/Applications/X.app"));
        QCOMPARE(places.systemRelative(QStringLiteral("/sb/root/Applications/X.app")),
                 QStringLiteral("/Applications/X.app"));
    }

    void groups_countSelectionAndTotals()
    {
        QCOMPARE(FileGroup(FileCategory::caches, {}).formattedSize(), QStringLiteral("0 bytes"));
        FileGroup group(FileCategory::caches,
                        {AssociatedFile(QStringLiteral("/a"), QStringLiteral("a"),
                                        FileCategory::caches, 1500, true),
                         AssociatedFile(QStringLiteral("/b"), QStringLiteral("b"),
                                        FileCategory::caches, 2500, false)});
        QCOMPARE(group.selectedCount(), 1);
        QCOMPARE(group.selectedSize(), 1500);
        QCOMPARE(group.formattedSize(), QStringLiteral("4 kB"));
    }

    void formatByteCount_usesDecimalUnits()
    {
        const QList<std::pair<qint64, QString>> cases{{0, "0 bytes"},
                                                      {1, "1 byte"},
                                                      {999, "999 bytes"},
                                                      {1000, "1 kB"},
                                                      {1024, "1 kB"},
                                                      {12'499, "12 kB"},
                                                      {999'999, "1 MB"},
                                                      {3'400'000, "3.4 MB"},
                                                      {104'857'600, "104.9 MB"},
                                                      {1'234'567'890, "1.23 GB"},
                                                      {2'000'000'000, "2 GB"},
                                                      {5'500'000'000'000, "5.5 TB"},
                                                      {-2000, "-2 kB"}};
        for (const auto &[bytes, text] : cases)
            QCOMPARE(formatByteCount(bytes), text);
    }

    void icons_followTheExistenceAndTypeRules()
    {
        Sandbox sandbox;
        FileManager fm;
        const QString present = sandbox.makeDir(sandbox.systemPath("/opt/homebrew/Caskroom/foo"));
        const QString missing = sandbox.systemPath("/opt/homebrew/Caskroom/gone");
        const ItemIcon box = ItemIcon::symbol(QStringLiteral("shippingbox.fill"));
        QCOMPARE(
            iconOf(HomebrewPackage(QStringLiteral("foo"), HomebrewPackageType::cask, {}, present),
                   fm),
            ItemIcon::workspace(present));
        QCOMPARE(
            iconOf(HomebrewPackage(QStringLiteral("gone"), HomebrewPackageType::cask, {}, missing),
                   fm),
            box);
        QCOMPARE(iconOf(HomebrewPackage(QStringLiteral("foo"), HomebrewPackageType::formula, {},
                                        present),
                        fm),
                 box);
        QCOMPARE(iconOf(NPMPackage(QStringLiteral("gone"), {}, missing), fm),
                 ItemIcon::symbol(QStringLiteral("terminal.fill")));
        QCOMPARE(iconOf(NPMPackage(QStringLiteral("foo"), {}, present), fm),
                 ItemIcon::workspace(present));

        QVERIFY(fm.isDirectory(present));
        QDir(present).removeRecursively();
        QVERIFY(!fm.isDirectory(present));
        QCOMPARE(AssociatedFile::placeholder().path, QStringLiteral("/dev/null"));
        QCOMPARE(AssociatedFile::placeholder().id, AssociatedFile::placeholder().id);
    }
};

QTEST_GUILESS_MAIN(ModelTest)
#include "tst_model.moc"

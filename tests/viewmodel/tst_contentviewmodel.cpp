// The view model driven over sandbox machines, as the window would drive it: what a user sees
// (published values and their order, texts, files in the Trash, packages uninstalled).

#include "model/ByteCountFormat.h"
#include "tests/support/MachineBuilder.h"
#include "tests/support/Sandbox.h"
#include "viewmodel/AppListModel.h"
#include "viewmodel/ContentViewModel.h"
#include "viewmodel/FileGroupListModel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

constexpr int kWorkTimeoutMs = 20000;

const QString kNPM = QStringLiteral("/opt/homebrew/bin/npm");
const QString kBrew = QStringLiteral("/opt/homebrew/bin/brew");

#define SETTLE(vm) QTRY_VERIFY_WITH_TIMEOUT(!(vm).hasPendingWork(), kWorkTimeoutMs)

QStringList names(const QList<AppInfo> &apps)
{
    QStringList result;
    for (const AppInfo &app : apps)
        result.append(app.name);
    return result;
}

QStringList paths(const QList<FileGroup> &groups)
{
    QStringList result;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files)
            result.append(file.path);
    }
    return result;
}

QList<bool> selections(const QList<FileGroup> &groups)
{
    QList<bool> result;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files)
            result.append(file.isSelected);
    }
    return result;
}

const FileGroup *groupOf(const QList<FileGroup> &groups, FileCategory category)
{
    for (const FileGroup &group : groups) {
        if (group.category == category)
            return &group;
    }
    return nullptr;
}

// The "fileId" a QML row would pass back, read through the model as a delegate reads it.
QString fileIdFromModel(const ContentViewModel &vm, const QString &path)
{
    QAbstractListModel *model = vm.fileGroupsModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QVariantList files =
            model->data(model->index(row), FileGroupListModel::FilesRole).toList();
        for (const QVariant &file : files) {
            const QVariantMap map = file.toMap();
            if (map.value(QStringLiteral("path")).toString() == path)
                return map.value(QStringLiteral("fileId")).toString();
        }
    }
    return {};
}

QStringList trashedNames(const Sandbox &sandbox)
{
    QStringList entries = QDir(sandbox.homePath(QStringLiteral(".local/share/Trash/files")))
                              .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    entries.sort();
    return entries;
}

qint64 sizeOf(const QList<FileGroup> &groups, const QString &path)
{
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files) {
            if (file.path == path)
                return file.size;
        }
    }
    return -1;
}

} // namespace

// Records the names of the view model's own signals in the order they are emitted.
class SignalRecorder : public QObject
{
    Q_OBJECT

public:
    explicit SignalRecorder(ContentViewModel *source)
    {
        const QMetaObject *meta = source->metaObject();
        const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("record()"));
        for (int i = ContentViewModel::staticMetaObject.methodOffset(); i < meta->methodCount();
             ++i) {
            if (meta->method(i).methodType() == QMetaMethod::Signal)
                connect(source, meta->method(i), this, slot);
        }
    }

    // The recorded names reduced to those given, in order.
    QStringList only(const QStringList &wanted) const
    {
        QStringList result;
        for (const QString &name : log) {
            if (wanted.contains(name))
                result.append(name);
        }
        return result;
    }

    QStringList log;

public slots:
    void record()
    {
        log.append(QString::fromLatin1(sender()->metaObject()->method(senderSignalIndex()).name()));
    }
};

class TestContentViewModel : public QObject
{
    Q_OBJECT

private slots:
    void fuzzyMatchScore_data();
    void fuzzyMatchScore();
    void applications_listedSplitAndSearched_data();
    void applications_listedSplitAndSearched();
    void selectSection_clearsInOrderThenLoads();
    void npmSection_listsWithToolAndMeasuresCacheWithout();
    void appScan_bundleTickDrivesEverything();
    void homebrewFlow_cacheFollowsCellarAndFailedUninstallStillTrashes();
    void npmRemoval_uninstallSucceedsAndSomeTrashMovesFail();
    void removal_secondWithinThreeSecondsKeepsItsLine();
    void endToEnd_applicationLeftoversReachTheTrash();
    void systemData_snapshotsRescanAndVanishedCategory();
    void systemData_resultAfterLeavingSectionKeepsItemScan();
    void systemData_resultWhileRemovalPendingKeepsBusyState();
    void itemScan_lateResultOfEarlierPickIsDropped();
    void destroyedWhileWorking_isNeverTouched();
};

void TestContentViewModel::fuzzyMatchScore_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("score");
    QTest::newRow("subsequence") << "xcode"
                                 << "xcd" << 3;
    QTest::newRow("substring") << "code editor"
                               << "code" << 4;
    QTest::newRow("wrong order") << "xcode"
                                 << "dcx" << 0;
    QTest::newRow("letter missing") << "xcode"
                                    << "xcz" << 0;
    QTest::newRow("repeated letter needs two") << "xcode"
                                               << "oo" << 0;
    QTest::newRow("empty query") << "xcode"
                                 << "" << 0;
    QTest::newRow("space is a character") << "code editor"
                                          << " " << 1;
    // "e" plus a combining accent is one character, not an "e".
    QTest::newRow("combining accent") << QStringLiteral("cafe\u0301") << "e" << 0;
    QTest::newRow("whole accented character")
        << QStringLiteral("cafe\u0301") << QStringLiteral("ce\u0301") << 2;
}

void TestContentViewModel::fuzzyMatchScore()
{
    QFETCH(QString, name);
    QFETCH(QString, query);
    QFETCH(int, score);
    QCOMPARE(ContentViewModel::fuzzyMatchScore(name, query), score);
}

void TestContentViewModel::applications_listedSplitAndSearched_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("empty shows all in name order")
        << "" << QStringList{"Code Editor", "Notes", "Xcode"};
    QTest::newRow("letters in order keep Xcode") << "xcd" << QStringList{"Xcode"};
    QTest::newRow("prefix match first") << "code" << QStringList{"Code Editor", "Xcode"};
    QTest::newRow("case ignored") << "XCODE" << QStringList{"Xcode"};
    QTest::newRow("a space is a query") << " " << QStringList{"Code Editor"};
    QTest::newRow("no match") << "zzz" << QStringList{};
}

void TestContentViewModel::applications_listedSplitAndSearched()
{
    QFETCH(QString, query);
    QFETCH(QStringList, shown);

    Sandbox sandbox;
    sandbox.makeAppBundle(
        sandbox.systemPath("/Applications"), "Xcode.app",
        {{"CFBundleIdentifier", "com.apple.dt.Xcode"}, {"CFBundleName", "Xcode"}});
    sandbox.makeAppBundle(sandbox.systemPath("/Applications"), "Notes.app",
                          {{"CFBundleName", "Notes"}}, Sandbox::PlistFormat::binary);
    sandbox.makeAppBundle(
        sandbox.homePath("Applications"), "Code Editor.app",
        {{"CFBundleIdentifier", "com.example.editor"}, {"CFBundleName", "Code Editor"}});

    ContentViewModel vm{FileScanner(sandbox.places())};
    // Filled before the constructor returns: the first window opens with the list.
    QCOMPARE(names(vm.filteredApps()), (QStringList{"Code Editor", "Notes", "Xcode"}));
    QCOMPARE(names(vm.userApplications()), QStringList{"Code Editor"});
    QCOMPARE(names(vm.systemApplications()), (QStringList{"Notes", "Xcode"}));

    vm.search(query);
    QCOMPARE(vm.searchQuery(), query);
    QCOMPARE(names(vm.filteredApps()), shown);
    QCOMPARE(vm.filteredAppsModel()->rowCount(), shown.size());
    for (int row = 0; row < shown.size(); ++row) {
        const QModelIndex index = vm.filteredAppsModel()->index(row);
        QCOMPARE(index.data(AppListModel::NameRole).toString(), shown.at(row));
    }
    // The two sub-lists follow the shown list.
    QCOMPARE(vm.userApplicationsModel()->rowCount() + vm.systemApplicationsModel()->rowCount(),
             shown.size());
    SETTLE(vm);
}

void TestContentViewModel::selectSection_clearsInOrderThenLoads()
{
    Sandbox sandbox;
    MachineBuilder machine(sandbox);
    sandbox.makeAppBundle(
        sandbox.systemPath("/Applications"), "Xcode.app",
        {{"CFBundleIdentifier", "com.apple.dt.Xcode"}, {"CFBundleName", "Xcode"}});
    ContentViewModel vm{FileScanner(sandbox.places())};
    SETTLE(vm);

    // The section already shown: nothing reloads, nothing is cleared.
    vm.search("xc");
    vm.selectApplication(vm.allApps().first().path);
    SETTLE(vm);
    SignalRecorder same(&vm);
    vm.selectSection(QStringLiteral("Applications"));
    vm.selectSection(QStringLiteral("Homebrew")); // not a section title
    QVERIFY2(same.log.isEmpty(), qPrintable(same.log.join(u',')));
    QCOMPARE(vm.searchQuery(), QStringLiteral("xc"));
    QCOMPARE(vm.selectedItemName(), QStringLiteral("Xcode"));

    vm.selectSection(QStringLiteral("System Data"));
    QVERIFY(vm.isScanning());
    QVERIFY(!vm.selectedApp());
    SETTLE(vm);
    const FileGroup backups(FileCategory::deviceBackups,
                            {AssociatedFile(sandbox.homePath("backup-1"), "iPhone",
                                            FileCategory::deviceBackups, 200'000'000)});
    vm.applySystemDataResult({backups}, 0);
    vm.selectSystemCategory(QStringLiteral("deviceBackups"));
    vm.search("stored only");
    QCOMPARE(vm.fileGroups().size(), 1);

    SignalRecorder change(&vm);
    vm.selectSection(QStringLiteral("npm"));
    const QStringList order{"selectedItemChanged", "fileGroupsChanged", "searchQueryChanged",
                            "selectedSystemCategoryChanged", "currentSectionChanged"};
    QStringList seen = change.only(order);
    seen.removeDuplicates();
    QCOMPARE(seen, order);
    QVERIFY(change.log.indexOf("isLoadingListChanged") >
            change.log.indexOf("currentSectionChanged"));
    QVERIFY(vm.isLoadingList());
    QCOMPARE(vm.currentSectionRaw(), QStringLiteral("npm"));
    QVERIFY(vm.searchQuery().isEmpty());
    QVERIFY(vm.selectedSystemCategoryName().isEmpty());
    QVERIFY(vm.fileGroups().isEmpty());
    // The System Data rows stay for the next visit.
    QCOMPARE(vm.systemDataGroups().size(), 1);
    SETTLE(vm);
    QVERIFY(!vm.isLoadingList());
}

void TestContentViewModel::npmSection_listsWithToolAndMeasuresCacheWithout()
{
    {
        Sandbox sandbox;
        sandbox.writeFileOfSize(sandbox.homePath(".npm/_cacache/blob"), 20000);
        ContentViewModel vm{FileScanner(sandbox.places())};
        vm.selectSection(SidebarSection::npm);
        SETTLE(vm);
        QVERIFY(!vm.isNPMAvailable());
        QVERIFY(vm.allNPMPackages().isEmpty());
        QCOMPARE(vm.npmCacheSize(), vm.scanner().npmCacheSize());
        QVERIFY(vm.npmCacheSize() >= 20000);
        QCOMPARE(vm.npmCacheSizeText(), formatByteCount(vm.npmCacheSize()));
    }

    Sandbox sandbox;
    MachineBuilder machine(sandbox);
    machine.installNPM();
    machine.addNPMPackage(sandbox.systemPath(MachineBuilder::homebrewNodeModules()), "xcode-tools",
                          "1.0.0");
    machine.addNPMPackage(sandbox.systemPath(MachineBuilder::homebrewNodeModules()), "typescript",
                          "5.4.0");
    ContentViewModel vm{FileScanner(sandbox.places())};
    QTRY_VERIFY_WITH_TIMEOUT(vm.isNPMAvailable(), kWorkTimeoutMs); // measured off the GUI thread
    QSignalSpy loading(&vm, &ContentViewModel::isLoadingListChanged);
    vm.selectSection(SidebarSection::npm);
    SETTLE(vm);
    QCOMPARE(loading.count(), 2);
    QCOMPARE(vm.filteredNPMPackagesModel()->rowCount(), 2);
    vm.search("xcd"); // no subsequence match for packages
    QVERIFY(vm.filteredNPMPackages().isEmpty());
    vm.search("TOOL");
    QCOMPARE(vm.filteredNPMPackages().size(), 1);
    QCOMPARE(vm.filteredNPMPackages().first().name, QStringLiteral("xcode-tools"));
    vm.search("");
    QCOMPARE(vm.filteredNPMPackages().size(), 2);
}

void TestContentViewModel::appScan_bundleTickDrivesEverything()
{
    Sandbox sandbox;
    const QString bundle = sandbox.makeAppBundle(
        sandbox.homePath("Applications"), "Code Editor.app",
        {{"CFBundleIdentifier", "com.example.editor"}, {"CFBundleName", "Code Editor"}});
    sandbox.writeFileOfSize(sandbox.homePath("Library/Preferences/com.example.editor.plist"), 1000);
    sandbox.writeFileOfSize(sandbox.homePath("Library/Caches/com.example.editor/cache.db"), 3000);
    ContentViewModel vm{FileScanner(sandbox.places())};

    // No application selected: only the busy state ends.
    QSignalSpy groupsChanged(&vm, &ContentViewModel::fileGroupsChanged);
    vm.scanSelectedApp();
    QVERIFY(!vm.isScanning());
    QCOMPARE(groupsChanged.count(), 0);

    SignalRecorder recorder(&vm);
    vm.selectApplication(bundle);
    QVERIFY(vm.isScanning());
    SETTLE(vm);
    QVERIFY(!vm.isScanning());
    QCOMPARE(vm.selectedItemKind(), QStringLiteral("app"));
    QCOMPARE(vm.selectedItemSubtitle(), QStringLiteral("com.example.editor"));
    QCOMPARE(vm.fileGroups().first().category, FileCategory::appBundle);
    QVERIFY(paths(vm.fileGroups()).contains(bundle));
    QCOMPARE(vm.fileGroupsFileCount(), 3);
    QVERIFY(!selections(vm.fileGroups()).contains(true));
    QCOMPARE(vm.deleteConfirmationMessage(), QStringLiteral("No items selected."));
    QStringList busy = recorder.only({"isScanningChanged", "fileGroupsChanged"});
    QCOMPARE(busy, (QStringList{"isScanningChanged", "fileGroupsChanged", "isScanningChanged"}));

    // Ticking a row changes rows in place: no reset, so the delegates keep their state.
    QSignalSpy reset(vm.fileGroupsModel(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(vm.fileGroupsModel(), &QAbstractItemModel::dataChanged);
    const QString preferences = sandbox.homePath("Library/Preferences/com.example.editor.plist");
    vm.toggleFile(fileIdFromModel(vm, preferences));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(vm.totalSelectedCount(), 1);
    QCOMPARE(vm.totalSelectedSize(), 1000);
    QCOMPARE(vm.deleteButtonTitle(), QStringLiteral("Move to Trash"));

    // The bundle carries everything with it, both ways.
    vm.toggleFile(fileIdFromModel(vm, bundle));
    QCOMPARE(selections(vm.fileGroups()), QList<bool>(3, true));
    vm.toggleFile(fileIdFromModel(vm, bundle));
    QCOMPARE(selections(vm.fileGroups()), QList<bool>(3, false));
    QCOMPARE(reset.count(), 0);
    QCOMPARE(vm.fileGroupsTotalSize(), vm.fileGroups().at(0).totalSize() +
                                           vm.fileGroups().at(1).totalSize() +
                                           vm.fileGroups().at(2).totalSize());

    // Unknown ids and a no-op select-all report nothing.
    QSignalSpy selection(&vm, &ContentViewModel::selectionChanged);
    vm.toggleFile(QUuid::createUuid().toString());
    vm.setGroupSelection(QUuid::createUuid().toString(), true);
    vm.setAllSelected(false);
    QCOMPARE(selection.count(), 0);
}

void TestContentViewModel::homebrewFlow_cacheFollowsCellarAndFailedUninstallStillTrashes()
{
    Sandbox sandbox;
    MachineBuilder machine(sandbox);
    machine.installBrew(1, "\n  Error: No such keg: /opt/homebrew/Cellar/wget  \n\n");
    machine.addFormula("wget", {{"1.21", MachineBuilder::Receipt::onRequest}});
    machine.addCask("firefox", "125.0");
    const QString download = sandbox.writeFileOfSize(
        sandbox.homePath("Library/Caches/Homebrew/wget--1.21.tar.gz"), 7000);
    const QString config = machine.addHomebrewFile("etc/wgetrc", 300);

    ContentViewModel vm{FileScanner(sandbox.places())};
    vm.selectSection(QStringLiteral("Brew"));
    SETTLE(vm);
    QCOMPARE(vm.allHomebrewPackages().size(), 2);

    vm.selectHomebrewPackage("firefox", "Cask");
    SETTLE(vm);
    QCOMPARE(vm.selectedItemSymbol(), QStringLiteral("shippingbox.fill"));
    QCOMPARE(vm.deleteConfirmationMessage(),
             QStringLiteral("Run \"brew uninstall --cask firefox\". This cannot be undone."));

    vm.selectHomebrewPackage("wget", "Formula");
    SETTLE(vm);
    QCOMPARE(vm.selectedItemName(), QStringLiteral("wget"));
    QCOMPARE(vm.selectedItemSubtitle(), QStringLiteral("v1.21"));
    // Package files start selected.
    QVERIFY(!selections(vm.fileGroups()).contains(false));
    const FileGroup *cellar = groupOf(vm.fileGroups(), FileCategory::homebrewCellar);
    QVERIFY(cellar);
    QCOMPARE(cellar->files.size(), 1);
    const QUuid cellarFile = cellar->files.first().id;
    const QUuid cacheGroup = groupOf(vm.fileGroups(), FileCategory::homebrewCache)->id;
    QCOMPARE(vm.deleteButtonTitle(), QStringLiteral("Uninstall & Remove"));
    const qint64 trashSize = 7000 + 300;
    QCOMPARE(vm.deleteConfirmationMessage(),
             QStringLiteral("Run \"brew uninstall wget\" \u00B7 Move 2 item(s) (%1) to Trash. "
                            "This cannot be undone.")
                 .arg(formatByteCount(trashSize)));

    // The download cache follows the Cellar; a hand change of the cache leaves the Cellar alone.
    vm.toggleFile(cellarFile);
    QCOMPARE(groupOf(vm.fileGroups(), FileCategory::homebrewCache)->selectedCount(), 0);
    vm.setGroupSelection(cacheGroup, true);
    QCOMPARE(groupOf(vm.fileGroups(), FileCategory::homebrewCellar)->selectedCount(), 0);
    vm.setGroupSelection(cacheGroup, false);
    vm.toggleFile(cellarFile);
    QCOMPARE(groupOf(vm.fileGroups(), FileCategory::homebrewCache)->selectedCount(), 1);

    // The uninstall fails; the Trash step still runs and the list is still reloaded.
    QSignalSpy reloaded(&vm, &ContentViewModel::allHomebrewPackagesChanged);
    vm.deleteSelected();
    QVERIFY(vm.isScanning());
    SETTLE(vm);
    QCOMPARE(machine.toolCalls(kBrew), (QList<QStringList>{{"uninstall", "wget"}}));
    QCOMPARE(vm.errorMessage(), QStringLiteral("Failed to uninstall wget:\nError: No such keg: "
                                               "/opt/homebrew/Cellar/wget"));
    QVERIFY(vm.showErrorAlert());
    QCOMPARE(
        vm.lastDeleteSummary(),
        QStringLiteral("Moved 2 item(s) to Trash \u00B7 %1 freed").arg(formatByteCount(trashSize)));
    QVERIFY(!QFileInfo::exists(download));
    QVERIFY(!QFileInfo::exists(config));
    QCOMPARE(trashedNames(sandbox), (QStringList{"wget--1.21.tar.gz", "wgetrc"}));
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(vm.homebrewCacheSize(), 0);
    QVERIFY(vm.selectedItemKind().isEmpty());
    QVERIFY(vm.fileGroups().isEmpty());
    QVERIFY(!vm.isScanning());
    vm.dismissError();
    QVERIFY(!vm.showErrorAlert());
}

void TestContentViewModel::npmRemoval_uninstallSucceedsAndSomeTrashMovesFail()
{
    Sandbox sandbox;
    MachineBuilder machine(sandbox);
    machine.installNPM(kNPM, 0, "removed 1 package in 1s\n");
    const QString module = machine.addNPMPackage(
        sandbox.systemPath(MachineBuilder::homebrewNodeModules()), "mytool", "2.0.0");
    const QString dotFile = sandbox.writeFileOfSize(sandbox.homePath(".mytool"), 1000);
    const QString cacheFolder = sandbox.homePath(".cache/mytool");
    sandbox.writeFileOfSize(cacheFolder + "/blob", 30000);
    const QString npmCacheEntry = sandbox.writeFileOfSize(sandbox.homePath(".npm/mytool"), 2000);
    // The user keeps the Trash inside the tool's config folder (through a link): that folder can
    // never go to the Trash, whoever runs this, while everything else can.
    const QString config = sandbox.homePath(".config/mytool");
    sandbox.writeFileOfSize(config + "/settings.json", 50000);
    sandbox.makeDir(config + "/Trash");
    sandbox.makeSymlink(config + "/Trash", sandbox.homePath(".local/share/Trash"));

    ContentViewModel vm{FileScanner(sandbox.places())};
    vm.selectSection(SidebarSection::npm);
    SETTLE(vm);
    const qint64 cacheBefore = vm.npmCacheSize();
    vm.selectNPMPackage("mytool");
    SETTLE(vm);
    const QList<FileGroup> found = vm.fileGroups();
    QCOMPARE(paths(found).size(), 5);
    QVERIFY(paths(found).contains(module));
    QCOMPARE(vm.selectedItemIconSource(), QStringLiteral("workspace:") + module);

    qint64 fourSizes = 0;
    for (const QString &path : {dotFile, cacheFolder, npmCacheEntry, config})
        fourSizes += sizeOf(found, path);
    QCOMPARE(vm.deleteConfirmationMessage(),
             QStringLiteral("Run \"npm uninstall -g mytool\" \u00B7 Move 4 item(s) (%1) to Trash. "
                            "This cannot be undone.")
                 .arg(formatByteCount(fourSizes)));

    SignalRecorder recorder(&vm);
    vm.deleteSelected();
    QVERIFY(vm.isScanning());
    SETTLE(vm);

    QCOMPARE(machine.toolCalls(kNPM), (QList<QStringList>{{"uninstall", "-g", "mytool"}}));
    // Only what really moved is counted.
    const qint64 freed =
        sizeOf(found, dotFile) + sizeOf(found, cacheFolder) + sizeOf(found, npmCacheEntry);
    QCOMPARE(vm.lastDeleteSummary(),
             QStringLiteral("Uninstalled mytool \u00B7 Moved 3 item(s) to Trash \u00B7 %1 freed")
                 .arg(formatByteCount(freed)));
    const QString error = vm.errorMessageText();
    const QString expectedStart = QStringLiteral("Failed to remove 1 file(s):\n") + config + ": ";
    QVERIFY2(error.startsWith(expectedStart), qPrintable(error));
    QVERIFY(error.size() > expectedStart.size());
    QCOMPARE(error.indexOf(u'\n', expectedStart.size()), -1);
    QVERIFY(vm.showErrorAlert());
    QCOMPARE(trashedNames(sandbox), (QStringList{".mytool", "mytool", "mytool.2"}));
    QVERIFY(QFileInfo::exists(config + "/settings.json"));
    QVERIFY(QFileInfo::exists(module)); // package files are the package manager's business

    // Published in order: the alert text before the alert, then the line, then the refresh.
    const QStringList order =
        recorder.only({"errorMessageChanged", "showErrorAlertChanged", "lastDeleteSummaryChanged",
                       "npmCacheSizeChanged", "allNPMPackagesChanged"});
    QCOMPARE(order, (QStringList{"errorMessageChanged", "showErrorAlertChanged",
                                 "lastDeleteSummaryChanged", "npmCacheSizeChanged",
                                 "allNPMPackagesChanged"}));
    QCOMPARE(vm.npmCacheSize(), vm.scanner().npmCacheSize());
    QVERIFY(vm.npmCacheSize() < cacheBefore);
    QVERIFY(vm.selectedItemKind().isEmpty());
    QVERIFY(vm.fileGroups().isEmpty());
    QVERIFY(!vm.isScanning());
}

void TestContentViewModel::removal_secondWithinThreeSecondsKeepsItsLine()
{
    Sandbox sandbox;
    const QString bundle = sandbox.makeAppBundle(
        sandbox.systemPath("/Applications"), "Notes.app",
        {{"CFBundleIdentifier", "com.example.notes"}, {"CFBundleName", "Notes"}});
    const QString first = sandbox.writeFileOfSize(
        sandbox.homePath("Library/Preferences/com.example.notes.plist"), 1000);
    const QString second =
        sandbox.writeFileOfSize(sandbox.homePath("Library/Logs/com.example.notes.log"), 5000);
    ContentViewModel vm{FileScanner(sandbox.places())};
    vm.selectApplication(bundle);
    SETTLE(vm);

    QElapsedTimer sinceFirst;
    QObject::connect(&vm, &ContentViewModel::lastDeleteSummaryChanged, &vm, [&] {
        if (!sinceFirst.isValid() && vm.hasLastDeleteSummary())
            sinceFirst.start();
    });
    vm.toggleFile(fileIdFromModel(vm, first));
    vm.deleteSelected();
    SETTLE(vm);
    const QString firstLine = QStringLiteral("Moved 1 item(s) to Trash \u00B7 1 kB freed");
    // The application is searched again; the rescan does not eat the line.
    QCOMPARE(vm.lastDeleteSummary(), firstLine);
    QCOMPARE(vm.selectedItemName(), QStringLiteral("Notes"));
    QVERIFY(!paths(vm.fileGroups()).contains(first));
    QVERIFY(paths(vm.fileGroups()).contains(second));

    QTest::qWait(1000);
    vm.toggleFile(fileIdFromModel(vm, second));
    vm.deleteSelected();
    SETTLE(vm);
    const QString secondLine = QStringLiteral("Moved 1 item(s) to Trash \u00B7 5 kB freed");
    QCOMPARE(vm.lastDeleteSummary(), secondLine);
    QVERIFY(sinceFirst.elapsed() < 3000);

    // The first line's timer has fired by now; it must not have cleared the second line.
    QTest::qWait(int(3400 - sinceFirst.elapsed()));
    QCOMPARE(vm.lastDeleteSummary(), secondLine);
    QTRY_VERIFY_WITH_TIMEOUT(!vm.hasLastDeleteSummary(), 4000);
    QCOMPARE(trashedNames(sandbox),
             (QStringList{"com.example.notes.log", "com.example.notes.plist"}));
}

void TestContentViewModel::endToEnd_applicationLeftoversReachTheTrash()
{
    Sandbox sandbox;
    const QString bundle = sandbox.makeAppBundle(
        sandbox.homePath("Applications"), "Code Editor.app",
        {{"CFBundleIdentifier", "com.example.editor"}, {"CFBundleName", "Code Editor"}});
    sandbox.makeAppBundle(sandbox.systemPath("/Applications"), "Xcode.app",
                          {{"CFBundleName", "Xcode"}});
    const QString support = sandbox.homePath("Library/Application Support/Code Editor");
    sandbox.writeFileOfSize(support + "/workspace.db", 12000);
    const QString preferences = sandbox.writeFileOfSize(
        sandbox.homePath("Library/Preferences/com.example.editor.plist"), 900);

    ContentViewModel vm{FileScanner(sandbox.places())};
    // As the list row does: pick, then the detail pane fills.
    vm.selectApplication(bundle);
    QVERIFY(vm.isScanning());
    QVERIFY(vm.fileGroups().isEmpty());
    SETTLE(vm);
    QCOMPARE(paths(vm.fileGroups()).size(), 3);

    // Ticking the bundle takes everything.
    vm.toggleFile(fileIdFromModel(vm, bundle));
    QCOMPARE(vm.totalSelectedCount(), 3);
    const qint64 total = vm.totalSelectedSize();
    QCOMPARE(vm.deleteButtonTitle(), QStringLiteral("Move to Trash"));
    QCOMPARE(vm.deleteConfirmationMessage(),
             QStringLiteral("Move 3 item(s) (%1) to Trash. This cannot be undone.")
                 .arg(formatByteCount(total)));

    vm.setShowDeleteConfirmation(true);
    vm.deleteSelected();
    vm.setShowDeleteConfirmation(false);
    SETTLE(vm);

    QCOMPARE(
        vm.lastDeleteSummary(),
        QStringLiteral("Moved 3 item(s) to Trash \u00B7 %1 freed").arg(formatByteCount(total)));
    QVERIFY(!vm.hasErrorMessage());
    QCOMPARE(trashedNames(sandbox),
             (QStringList{"Code Editor", "Code Editor.app", "com.example.editor.plist"}));
    const QString trash = sandbox.homePath(".local/share/Trash");
    QVERIFY(QFileInfo::exists(trash + "/files/Code Editor/workspace.db"));
    QVERIFY(QFileInfo::exists(trash + "/info/Code Editor.app.trashinfo"));
    QVERIFY(!QFileInfo::exists(bundle));
    QVERIFY(!QFileInfo::exists(preferences));
    // The bundle is gone: the list is loaded again and the detail pane cleared.
    QCOMPARE(names(vm.allApps()), QStringList{"Xcode"});
    QCOMPARE(vm.userApplicationsModel()->rowCount(), 0);
    QVERIFY(vm.selectedItemKind().isEmpty());
    QVERIFY(vm.fileGroups().isEmpty());
    QVERIFY(!vm.isScanning());
}

void TestContentViewModel::systemData_snapshotsRescanAndVanishedCategory()
{
    Sandbox sandbox;
    MachineBuilder machine(sandbox);
    machine.installTmutil("Snapshots for disk /:\ncom.apple.TimeMachine.2024-05-01-101500.local\n"
                          "com.apple.TimeMachine.2024-05-02-101500.local\n");
    sandbox.writeFileOfSize(sandbox.homePath("Library/Caches/com.example.big/data"), 4096);
    ContentViewModel vm{FileScanner(sandbox.places())};
    QStringList progress;
    QObject::connect(&vm, &ContentViewModel::scanProgressTextChanged, &vm,
                     [&] { progress.append(vm.scanProgressText()); });
    vm.selectSection(QStringLiteral("System Data"));
    QVERIFY(vm.isScanning());
    // Clicks while the scan runs change nothing.
    vm.selectSystemCategory(QStringLiteral("timeMachineSnapshots"));
    QVERIFY(vm.selectedSystemCategoryName().isEmpty());
    SETTLE(vm);
    QVERIFY(!vm.isScanning());
    // The scan told what it measured, and the line is gone once it ended.
    QVERIFY2(progress.size() >= 2 && progress.first().startsWith(sandbox.home()),
             qPrintable(progress.join(u',')));
    QVERIFY(vm.scanProgressText().isEmpty());
    const FileGroup *found = groupOf(vm.systemDataGroups(), FileCategory::timeMachineSnapshots);
    QVERIFY(found);
    const FileGroup snapshots = *found;
    QCOMPARE(snapshots.files.size(), 2);

    vm.selectSystemCategory(QStringLiteral("timeMachineSnapshots"));
    QCOMPARE(vm.selectedSystemCategoryTitle(), QStringLiteral("Time Machine Snapshots"));
    QCOMPARE(vm.selectedSystemCategorySubtitle(), QStringLiteral("2 items"));
    QCOMPARE(vm.fileGroups().size(), 1);
    QCOMPARE(vm.fileGroups().first().id, snapshots.id);
    QCOMPARE(selections(vm.fileGroups()), QList<bool>(2, true));
    QCOMPARE(vm.deleteConfirmationMessage(),
             QStringLiteral("Move 2 item(s) (%1) to Trash. This cannot be undone.\n\n"
                            "\u26A0\uFE0F This includes system data that may not be recoverable. "
                            "Make sure you have backups.")
                 .arg(formatByteCount(0)));

    // Snapshots stand on "/", which never goes to the Trash: two failures, then a new scan that
    // opens the same category again.
    vm.deleteSelected();
    SETTLE(vm);
    const QStringList lines = vm.errorMessageText().split(u'\n');
    QVERIFY2(lines.size() == 3, qPrintable(vm.errorMessageText()));
    QCOMPARE(lines.at(0), QStringLiteral("Failed to remove 2 file(s):"));
    QVERIFY(lines.at(1).startsWith("/: ") && lines.at(2).startsWith("/: "));
    QVERIFY(!vm.hasLastDeleteSummary());
    QCOMPARE(machine.toolCalls("/usr/bin/tmutil").size(), 2);
    QCOMPARE(vm.fileGroups().size(), 1);
    QCOMPARE(selections(vm.fileGroups()), QList<bool>(2, true));

    // Deselecting in the detail pane leaves the rows and their total alone.
    const qint64 total = vm.systemDataTotalSize();
    const QList<FileGroup> rows = vm.systemDataGroups();
    vm.setAllSelected(false);
    QCOMPARE(vm.systemDataTotalSize(), total);
    QCOMPARE(selections(vm.systemDataGroups()), selections(rows));

    // A rescan without the category empties the pane but keeps the choice; it comes back.
    const FileGroup derived(
        FileCategory::xcodeDerivedData,
        {AssociatedFile(sandbox.homePath("DD/A"), "A", FileCategory::xcodeDerivedData, 150'000'000),
         AssociatedFile(sandbox.homePath("DD/B"), "B", FileCategory::xcodeDerivedData,
                        50'000'000)});
    vm.applySystemDataResult({derived}, 3);
    QVERIFY(vm.fileGroups().isEmpty());
    QCOMPARE(vm.selectedSystemCategoryName(), QStringLiteral("timeMachineSnapshots"));
    QCOMPARE(vm.hiddenSystemCategoryCount(), 3);
    QCOMPARE(vm.systemDataTotalSize(), 200'000'000);
    QCOMPARE(vm.systemDataTotalSizeText(), formatByteCount(200'000'000));
    QVERIFY(vm.selectedSystemCategorySubtitle().isEmpty());
    vm.applySystemDataResult({derived, snapshots}, 0);
    QCOMPARE(vm.fileGroups().size(), 1);
    QCOMPARE(vm.fileGroups().first().category, FileCategory::timeMachineSnapshots);

    vm.selectSystemCategory(QStringLiteral("xcodeDerivedData"));
    QCOMPARE(vm.selectedSystemCategorySubtitle(),
             QStringLiteral("2 items \u00B7 ") + formatByteCount(200'000'000));
    QVERIFY(!vm.deleteConfirmationMessage().contains(u'\n'));
    QAbstractListModel *rowsModel = vm.systemDataGroupsModel();
    QVERIFY(rowsModel->index(0).data(FileGroupListModel::IsSelectedRole).toBool());
    QVERIFY(!rowsModel->index(1).data(FileGroupListModel::IsSelectedRole).toBool());
}

void TestContentViewModel::systemData_resultAfterLeavingSectionKeepsItemScan()
{
    Sandbox sandbox;
    // A slow snapshot listing keeps the System Data scan running while the user moves on.
    sandbox.writeScript(sandbox.systemPath("/usr/bin/tmutil"),
                        "sleep 2\nprintf 'com.apple.TimeMachine.2024-05-01-101500.local\\n'\n");
    const QString bundle = sandbox.makeAppBundle(
        sandbox.systemPath("/Applications"), "Notes.app",
        {{"CFBundleIdentifier", "com.example.notes"}, {"CFBundleName", "Notes"}});
    sandbox.writeFileOfSize(sandbox.homePath("Library/Preferences/com.example.notes.plist"), 1000);
    ContentViewModel vm{FileScanner(sandbox.places())};
    SETTLE(vm);

    vm.selectSection(QStringLiteral("System Data"));
    QVERIFY(vm.isScanning());
    vm.selectSection(QStringLiteral("Applications"));
    vm.selectApplication(bundle);
    QTRY_VERIFY_WITH_TIMEOUT(!vm.isScanning(), kWorkTimeoutMs);
    const QStringList appFiles = paths(vm.fileGroups());
    QCOMPARE(appFiles.size(), 2);
    QVERIFY2(vm.hasPendingWork(), "the System Data scan should still be running");

    QSignalSpy scanning(&vm, &ContentViewModel::isScanningChanged);
    QSignalSpy groups(&vm, &ContentViewModel::fileGroupsChanged);
    QSignalSpy rows(&vm, &ContentViewModel::systemDataGroupsChanged);
    SETTLE(vm);
    QCOMPARE(rows.count(), 1);
    QCOMPARE(vm.systemDataGroups().size(), 1);
    QCOMPARE(vm.systemDataGroups().first().category, FileCategory::timeMachineSnapshots);
    // The application's files and the idle state are the Applications section's, untouched.
    QCOMPARE(groups.count(), 0);
    QCOMPARE(paths(vm.fileGroups()), appFiles);
    QCOMPARE(scanning.count(), 0);
    QVERIFY(!vm.isScanning());
}

void TestContentViewModel::systemData_resultWhileRemovalPendingKeepsBusyState()
{
    Sandbox sandbox;
    MachineBuilder machine(sandbox);
    // The snapshot listing answers after a second; the uninstall takes three.
    sandbox.writeScript(sandbox.systemPath("/usr/bin/tmutil"),
                        "sleep 1\nprintf 'com.apple.TimeMachine.2024-05-01-101500.local\\n'\n");
    sandbox.writeScript(sandbox.systemPath(kNPM), "sleep 3\nexit 0\n");
    machine.addNPMPackage(sandbox.systemPath(MachineBuilder::homebrewNodeModules()), "mytool",
                          "2.0.0");
    const QString dotFile = sandbox.writeFileOfSize(sandbox.homePath(".mytool"), 1000);
    ContentViewModel vm{FileScanner(sandbox.places())};

    vm.selectSection(SidebarSection::systemData);
    vm.selectSection(SidebarSection::npm);
    QTRY_COMPARE_WITH_TIMEOUT(vm.allNPMPackagesCount(), 1, kWorkTimeoutMs);
    vm.selectNPMPackage("mytool");
    QTRY_VERIFY_WITH_TIMEOUT(!vm.isScanning(), kWorkTimeoutMs);
    QVERIFY(vm.systemDataGroups().isEmpty());
    const QStringList packageFiles = paths(vm.fileGroups());
    QCOMPARE(packageFiles.size(), 2);

    vm.deleteSelected();
    QVERIFY(vm.isScanning());
    QSignalSpy groups(&vm, &ContentViewModel::fileGroupsChanged);
    QTRY_VERIFY_WITH_TIMEOUT(!vm.systemDataGroups().isEmpty(), kWorkTimeoutMs);
    // The removal is still running: the pane stays busy with the package's files.
    QVERIFY(QFileInfo::exists(dotFile));
    QVERIFY(vm.isScanning());
    QCOMPARE(groups.count(), 0);
    QCOMPARE(paths(vm.fileGroups()), packageFiles);

    SETTLE(vm);
    QVERIFY(!vm.isScanning());
    QCOMPARE(
        vm.lastDeleteSummary(),
        QStringLiteral("Uninstalled mytool \u00B7 Moved 1 item(s) to Trash \u00B7 1 kB freed"));
    QCOMPARE(trashedNames(sandbox), QStringList{".mytool"});
}

void TestContentViewModel::itemScan_lateResultOfEarlierPickIsDropped()
{
    Sandbox sandbox;
    MachineBuilder machine(sandbox);
    machine.installNPM();
    machine.addNPMPackage(sandbox.systemPath(MachineBuilder::homebrewNodeModules()), "alpha",
                          "1.0.0");
    machine.addNPMPackage(sandbox.systemPath(MachineBuilder::homebrewNodeModules()), "beta",
                          "1.0.0");
    sandbox.writeFileOfSize(sandbox.homePath(".config/alpha/config.json"), 100);
    sandbox.writeFileOfSize(sandbox.homePath(".config/beta/config.json"), 100);
    ContentViewModel vm{FileScanner(sandbox.places())};
    vm.selectSection(SidebarSection::npm);
    SETTLE(vm);

    // Whatever fileGroups shows must belong to the item named in the header at that moment.
    QStringList shownWithHeader;
    QObject::connect(&vm, &ContentViewModel::fileGroupsChanged, &vm, [&] {
        for (const QString &path : paths(vm.fileGroups()))
            shownWithHeader.append(vm.selectedItemName() + " " + path);
    });
    QSignalSpy scanning(&vm, &ContentViewModel::isScanningChanged);
    vm.selectNPMPackage("alpha");
    vm.selectNPMPackage("beta");
    SETTLE(vm);
    QCOMPARE(vm.selectedItemName(), QStringLiteral("beta"));
    QVERIFY(!shownWithHeader.isEmpty());
    for (const QString &entry : std::as_const(shownWithHeader)) {
        QVERIFY2(entry.startsWith("beta ") && !entry.contains("alpha"), qPrintable(entry));
    }
    // Busy from the first pick until the newest scan ended, without a gap.
    QCOMPARE(scanning.count(), 2);
    QVERIFY(!vm.isScanning());

    // A scan started before a change of section never fills the new section's pane.
    shownWithHeader.clear();
    vm.selectNPMPackage("alpha");
    vm.selectSection(SidebarSection::systemData);
    SETTLE(vm);
    QVERIFY2(shownWithHeader.isEmpty(), qPrintable(shownWithHeader.join(u',')));
    QVERIFY(vm.fileGroups().isEmpty());
}

void TestContentViewModel::destroyedWhileWorking_isNeverTouched()
{
    Sandbox sandbox;
    sandbox.writeScript(sandbox.systemPath("/usr/bin/tmutil"),
                        "sleep 1\nprintf 'com.apple.TimeMachine.2024-05-01-101500.local\\n'\n");
    auto vm = std::make_unique<ContentViewModel>(FileScanner(sandbox.places()));
    vm->selectSection(SidebarSection::systemData);
    vm->selectSection(SidebarSection::npm);
    QVERIFY(vm->hasPendingWork());
    vm.reset();
    // Results posted by the finished work find no view model and are dropped.
    QTest::qWait(200);
}

QTEST_GUILESS_MAIN(TestContentViewModel)
#include "tst_contentviewmodel.moc"

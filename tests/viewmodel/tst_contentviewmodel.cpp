// The view model driven over sandbox machines, as the window would drive it: what a user sees
// (published values and their order, texts, files in the Trash, packages uninstalled).

#include "model/ByteCountFormat.h"
#include "tests/support/MachineBuilder.h"
#include "tests/support/Sandbox.h"
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

// Records the names of the view model's own signals (those wanted, or all) in emission order.
class SignalRecorder : public QObject
{
    Q_OBJECT

public:
    SignalRecorder(ContentViewModel *source, const QStringList &wanted = {}) : m_wanted(wanted)
    {
        const QMetaObject *meta = source->metaObject();
        const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("record()"));
        for (int i = ContentViewModel::staticMetaObject.methodOffset(); i < meta->methodCount();
             ++i) {
            if (meta->method(i).methodType() == QMetaMethod::Signal)
                connect(source, meta->method(i), this, slot);
        }
    }

    QStringList log;

public slots:
    void record()
    {
        const QString name =
            QString::fromLatin1(sender()->metaObject()->method(senderSignalIndex()).name());
        if (m_wanted.isEmpty() || m_wanted.contains(name))
            log.append(name);
    }

private:
    QStringList m_wanted;
};

class TestContentViewModel : public QObject
{
    Q_OBJECT

private slots:
    void fuzzyMatchScore_data();
    void fuzzyMatchScore();
    void listsSearchAndSectionChange();
    void endToEnd_scanTickAndTwoRemovalsWithinThreeSeconds();
    void homebrewFlow_cacheFollowsCellarAndFailedUninstallStillTrashes();
    void npmRemoval_uninstallSucceedsAndSomeTrashMovesFail();
    void systemData_snapshotsRescanAndVanishedCategory();
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
    QTest::newRow("repeated letter needs two") << "xcode"
                                               << "oo" << 0;
    QTest::newRow("empty query") << "xcode"
                                 << "" << 0;
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

void TestContentViewModel::listsSearchAndSectionChange()
{
    Sandbox sandbox;
    sandbox.makeAppBundle(
        sandbox.systemPath("/Applications"), "Xcode.app",
        {{"CFBundleIdentifier", "com.apple.dt.Xcode"}, {"CFBundleName", "Xcode"}});
    sandbox.makeAppBundle(sandbox.systemPath("/Applications"), "Notes.app",
                          {{"CFBundleName", "Notes"}}, Sandbox::PlistFormat::binary);
    sandbox.makeAppBundle(
        sandbox.homePath("Applications"), "Code Editor.app",
        {{"CFBundleIdentifier", "com.example.editor"}, {"CFBundleName", "Code Editor"}});
    sandbox.writeFileOfSize(sandbox.homePath(".npm/_cacache/blob"), 20000);

    ContentViewModel vm{FileScanner(sandbox.places())};
    // Filled before the constructor returns: the first window opens with the list.
    const QStringList all{"Code Editor", "Notes", "Xcode"};
    QCOMPARE(names(vm.filteredApps()), all);
    QCOMPARE(names(vm.userApplications()), QStringList{"Code Editor"});
    QCOMPARE(names(vm.systemApplications()), (QStringList{"Notes", "Xcode"}));
    SETTLE(vm);

    // Letters in order, case ignored; prefix matches first; the two sub-lists follow.
    const QList<std::pair<QString, QStringList>> searches{
        {"XCD", {"Xcode"}}, {"code", {"Code Editor", "Xcode"}}, {"zzz", {}}, {"", all}};
    for (const auto &[query, shown] : searches) {
        vm.search(query);
        QCOMPARE(names(vm.filteredApps()), shown);
        QCOMPARE(vm.filteredAppsModel()->rowCount(), shown.size());
        QCOMPARE(vm.userApplicationsModel()->rowCount() + vm.systemApplicationsModel()->rowCount(),
                 shown.size());
    }

    // The section already shown: nothing reloads, nothing is cleared.
    vm.search("xc");
    vm.selectApplication(vm.filteredApps().first().path);
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

    // Cleared in order, then the list loads.
    const QStringList order{"selectedItemChanged",   "fileGroupsChanged",
                            "searchQueryChanged",    "selectedSystemCategoryChanged",
                            "currentSectionChanged", "isLoadingListChanged"};
    SignalRecorder change(&vm, order);
    vm.selectSection(QStringLiteral("npm"));
    QStringList seen = change.log;
    seen.removeDuplicates();
    QCOMPARE(seen, order);
    QVERIFY(vm.isLoadingList());
    QCOMPARE(vm.currentSectionRaw(), QStringLiteral("npm"));
    QVERIFY(vm.searchQuery().isEmpty());
    QVERIFY(vm.selectedSystemCategoryName().isEmpty());
    QVERIFY(vm.fileGroups().isEmpty());
    // The System Data rows stay for the next visit.
    QCOMPARE(vm.systemDataGroups().size(), 1);
    SETTLE(vm);
    QVERIFY(!vm.isLoadingList());
    // Without npm the list is empty, and its cache is measured all the same.
    QVERIFY(!vm.isNPMAvailable());
    QVERIFY(vm.allNPMPackages().isEmpty());
    QCOMPARE(vm.npmCacheSize(), vm.scanner().npmCacheSize());
    QVERIFY(vm.npmCacheSize() >= 20000);
    QCOMPARE(vm.npmCacheSizeText(), formatByteCount(vm.npmCacheSize()));
}

void TestContentViewModel::endToEnd_scanTickAndTwoRemovalsWithinThreeSeconds()
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
        sandbox.homePath("Library/Preferences/com.example.editor.plist"), 1000);

    ContentViewModel vm{FileScanner(sandbox.places())};
    // As the list row does: pick, then the detail pane fills.
    SignalRecorder recorder(&vm, {"isScanningChanged", "fileGroupsChanged"});
    vm.selectApplication(bundle);
    QVERIFY(vm.isScanning());
    QVERIFY(vm.fileGroups().isEmpty());
    SETTLE(vm);
    QCOMPARE(recorder.log,
             (QStringList{"isScanningChanged", "fileGroupsChanged", "isScanningChanged"}));
    QCOMPARE(vm.selectedItemKind(), QStringLiteral("app"));
    QCOMPARE(vm.selectedItemSubtitle(), QStringLiteral("com.example.editor"));
    QCOMPARE(vm.fileGroups().first().category, FileCategory::appBundle);
    QCOMPARE(vm.fileGroupsFileCount(), 3);
    QCOMPARE(selections(vm.fileGroups()), QList<bool>(3, false));
    QCOMPARE(vm.deleteConfirmationMessage(), QStringLiteral("No items selected."));

    // Ticking a row changes rows in place: no reset, so the delegates keep their state.
    QSignalSpy reset(vm.fileGroupsModel(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(vm.fileGroupsModel(), &QAbstractItemModel::dataChanged);
    vm.toggleFile(fileIdFromModel(vm, preferences));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(vm.totalSelectedCount(), 1);
    QCOMPARE(vm.totalSelectedSize(), 1000);
    // The bundle carries everything with it, both ways.
    vm.toggleFile(fileIdFromModel(vm, bundle));
    QCOMPARE(selections(vm.fileGroups()), QList<bool>(3, true));
    vm.toggleFile(fileIdFromModel(vm, bundle));
    QCOMPARE(selections(vm.fileGroups()), QList<bool>(3, false));
    // Unknown ids and a no-op select-all report nothing.
    QSignalSpy selection(&vm, &ContentViewModel::selectionChanged);
    vm.toggleFile(QUuid::createUuid().toString());
    vm.setGroupSelection(QUuid::createUuid().toString(), true);
    vm.setAllSelected(false);
    QCOMPARE(selection.count(), 0);

    QCOMPARE(reset.count(), 0);

    // A first removal of the preferences alone: the application is searched again, and the
    // rescan does not eat the line.
    QElapsedTimer sinceFirst;
    QObject::connect(&vm, &ContentViewModel::lastDeleteSummaryChanged, &vm, [&] {
        if (!sinceFirst.isValid() && vm.hasLastDeleteSummary())
            sinceFirst.start();
    });
    vm.toggleFile(fileIdFromModel(vm, preferences));
    vm.setShowDeleteConfirmation(true);
    vm.deleteSelected();
    vm.setShowDeleteConfirmation(false);
    SETTLE(vm);
    QCOMPARE(vm.lastDeleteSummary(), QStringLiteral("Moved 1 item(s) to Trash \u00B7 1 kB freed"));
    QCOMPARE(vm.selectedItemName(), QStringLiteral("Code Editor"));
    QCOMPARE(paths(vm.fileGroups()).size(), 2);
    QVERIFY(!paths(vm.fileGroups()).contains(preferences));

    // A second removal within 3 s, by the bundle, which takes what is left.
    QTest::qWait(1000);
    vm.toggleFile(fileIdFromModel(vm, bundle));
    QCOMPARE(vm.totalSelectedCount(), 2);
    const qint64 total = vm.totalSelectedSize();
    QCOMPARE(vm.deleteButtonTitle(), QStringLiteral("Move to Trash"));
    QCOMPARE(vm.deleteConfirmationMessage(),
             QStringLiteral("Move 2 item(s) (%1) to Trash. This cannot be undone.")
                 .arg(formatByteCount(total)));
    vm.deleteSelected();
    SETTLE(vm);
    const QString secondLine =
        QStringLiteral("Moved 2 item(s) to Trash \u00B7 %1 freed").arg(formatByteCount(total));
    QCOMPARE(vm.lastDeleteSummary(), secondLine);
    QVERIFY(sinceFirst.elapsed() < 3000);
    QVERIFY(!vm.hasErrorMessage());
    QCOMPARE(trashedNames(sandbox),
             (QStringList{"Code Editor", "Code Editor.app", "com.example.editor.plist"}));
    const QString trash = sandbox.homePath(".local/share/Trash");
    QVERIFY(QFileInfo::exists(trash + "/files/Code Editor/workspace.db"));
    QVERIFY(QFileInfo::exists(trash + "/info/Code Editor.app.trashinfo"));
    QVERIFY(!QFileInfo::exists(bundle));
    // The bundle is gone: the list is loaded again and the detail pane cleared.
    QCOMPARE(names(vm.allApps()), QStringList{"Xcode"});
    QCOMPARE(vm.userApplicationsModel()->rowCount(), 0);
    QVERIFY(vm.selectedItemKind().isEmpty());
    QVERIFY(vm.fileGroups().isEmpty());
    QVERIFY(!vm.isScanning());

    // The first line's timer has fired by now; it must not have cleared the second line.
    QTest::qWait(int(3400 - sinceFirst.elapsed()));
    QCOMPARE(vm.lastDeleteSummary(), secondLine);
    QTRY_VERIFY_WITH_TIMEOUT(!vm.hasLastDeleteSummary(), 4000);
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
    QVERIFY(vm.fileGroups().isEmpty());
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
    qint64 fourSizes = 0;
    for (const QString &path : {dotFile, cacheFolder, npmCacheEntry, config})
        fourSizes += sizeOf(found, path);
    QCOMPARE(vm.deleteConfirmationMessage(),
             QStringLiteral("Run \"npm uninstall -g mytool\" \u00B7 Move 4 item(s) (%1) to Trash. "
                            "This cannot be undone.")
                 .arg(formatByteCount(fourSizes)));

    const QStringList order{"errorMessageChanged", "showErrorAlertChanged",
                            "lastDeleteSummaryChanged", "npmCacheSizeChanged",
                            "allNPMPackagesChanged"};
    SignalRecorder recorder(&vm, order);
    vm.deleteSelected();
    QVERIFY(vm.isScanning());
    SETTLE(vm);
    QCOMPARE(machine.toolCalls(kNPM), (QList<QStringList>{{"uninstall", "-g", "mytool"}}));
    // Only what really moved is counted; the one failure is listed with its reason.
    const qint64 freed = fourSizes - sizeOf(found, config);
    QCOMPARE(vm.lastDeleteSummary(),
             QStringLiteral("Uninstalled mytool \u00B7 Moved 3 item(s) to Trash \u00B7 %1 freed")
                 .arg(formatByteCount(freed)));
    const QString error = vm.errorMessageText();
    const QString expectedStart = QStringLiteral("Failed to remove 1 file(s):\n") + config + ": ";
    QVERIFY2(error.startsWith(expectedStart) && error.size() > expectedStart.size() &&
                 error.indexOf(u'\n', expectedStart.size()) == -1,
             qPrintable(error));
    QVERIFY(vm.showErrorAlert());
    QCOMPARE(trashedNames(sandbox), (QStringList{".mytool", "mytool", "mytool.2"}));
    QVERIFY(QFileInfo::exists(config + "/settings.json"));
    QVERIFY(QFileInfo::exists(module)); // package files are the package manager's business
    // Published in order: the alert text before the alert, then the line, then the refresh.
    QCOMPARE(recorder.log, order);
    QCOMPARE(vm.npmCacheSize(), vm.scanner().npmCacheSize());
    QVERIFY(vm.npmCacheSize() < cacheBefore);
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

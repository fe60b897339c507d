// The view model driven over sandbox machines, as the window would drive it: what a user sees
// (published values and their order, texts, files in the Trash, packages uninstalled).

#include "demo/DesktopMachineBuilder.h"
#include "demo/MachineBuilder.h"
#include "model/ByteCountFormat.h"
#include "tests/support/Sandbox.h"
#include "viewmodel/ContentViewModel.h"
#include "viewmodel/FileGroupListModel.h"
#include "viewmodel/ItemFilter.h"
#include "viewmodel/KeptLeftovers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWorkTimeoutMs = 20000;

const QString kNPM = u"/opt/homebrew/bin/npm"_s;

#define SETTLE(vm) QTRY_VERIFY_WITH_TIMEOUT(!(vm).hasPendingWork(), kWorkTimeoutMs)

QStringList names(const QList<AppInfo> &apps)
{
    QStringList result;
    for (const AppInfo &app : apps)
        result.append(app.name);
    return result;
}

// The groups' files as "+name" (ticked) or "-name", by file name, in published order.
QString ticks(const QList<FileGroup> &groups)
{
    QStringList result;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files)
            result.append((file.isSelected ? u"+"_s : u"-"_s) + QFileInfo(file.path).fileName());
    }
    return result.join(u", "_s);
}

// The detail pane in one line: header, files with their ticks, and whether it is busy.
QString pane(const ContentViewModel &vm)
{
    return vm.selectedItemHeader().title + u" ("_s + vm.selectedItemHeader().subtitle + u"): "_s +
           ticks(vm.fileGroups()) + (vm.isScanning() ? u" [busy]"_s : QString());
}

// The id of the file shown at path, as the text a QML row passes back.
QString idOf(const ContentViewModel &vm, const QString &path)
{
    for (const FileGroup &group : vm.fileGroups()) {
        for (const AssociatedFile &file : group.files) {
            if (file.path == path)
                return file.id.toString(QUuid::WithoutBraces);
        }
    }
    return {};
}

QStringList trashedNames(const Sandbox &sandbox)
{
    QStringList entries = QDir(sandbox.homePath(u".local/share/Trash/files"_s))
                              .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    entries.sort();
    return entries;
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
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
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

    QTemporaryDir m_config; // the program's settings, out of the real configuration

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(false);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void fuzzyMatchScore()
    {
        // Subsequence, substring, wrong order, a letter used twice, empty query; "e" plus a
        // combining accent is one character, not an "e".
        const QList<std::tuple<QString, QString, int>> cases{
            {u"xcode"_s, u"xcd"_s, 3},          {u"code editor"_s, u"code"_s, 4},
            {u"xcode"_s, u"dcx"_s, 0},          {u"xcode"_s, u"oo"_s, 0},
            {u"xcode"_s, QString(), 0},         {u"cafe\u0301"_s, u"e"_s, 0},
            {u"cafe\u0301"_s, u"ce\u0301"_s, 2}};
        for (const auto &[name, query, score] : cases) {
            QCOMPARE(query + u'=' + QString::number(ItemFilter::fuzzyMatchScore(name, query)),
                     query + u'=' + QString::number(score));
        }
    }

    void applications_searchSectionChangeAndTwoRemovalsWithinThreeSeconds()
    {
        Sandbox sandbox;
        const QString apps = sandbox.systemPath("/Applications");
        sandbox.makeAppBundle(
            apps, "Xcode.app",
            {{"CFBundleIdentifier", "com.apple.dt.Xcode"}, {"CFBundleName", "Xcode"}});
        sandbox.makeAppBundle(apps, "Notes.app", {{"CFBundleName", "Notes"}},
                              Sandbox::PlistFormat::binary);
        const QString bundle = sandbox.makeAppBundle(
            sandbox.homePath("Applications"), "Code Editor.app",
            {{"CFBundleIdentifier", "com.example.editor"}, {"CFBundleName", "Code Editor"}});
        sandbox.writeFileOfSize(
            sandbox.homePath("Library/Application Support/Code Editor/workspace.db"), 3 * 4096);
        const QString preferences = sandbox.writeFileOfSize(
            sandbox.homePath("Library/Preferences/com.example.editor.plist"), 1000);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/_cacache/blob"), 5 * 4096);

        ContentViewModel vm{FileScanner(sandbox.places())};
        // Filled before the constructor returns: the first window opens with the list. The
        // user's own applications come first.
        const QStringList all{"Code Editor", "Notes", "Xcode"};
        QCOMPARE(names(vm.filteredApps()), all);
        QCOMPARE(names(vm.userApplications()) + names(vm.systemApplications()), all);
        SETTLE(vm);

        // Letters in order, case ignored; prefix matches first; the model follows.
        vm.search("CODE");
        QCOMPARE(names(vm.filteredApps()), (QStringList{"Code Editor", "Xcode"}));
        QCOMPARE(vm.filteredAppsModel()->rowCount(), 2);

        // The section already shown, or a title that is no section: nothing reloads or clears.
        vm.search("xc");
        vm.selectApplication(vm.filteredApps().first().path);
        SETTLE(vm);
        SignalRecorder same(&vm);
        vm.selectSection(u"Applications"_s);
        vm.selectSection(u"Homebrew"_s);
        QVERIFY2(same.log.isEmpty(), qPrintable(same.log.join(u',')));
        QCOMPARE(vm.searchQuery() + u'/' + vm.selectedItemHeader().title, u"xc/Xcode"_s);

        vm.selectSection(u"System Data"_s);
        QVERIFY(vm.isScanning() && !vm.selectedApp());
        SETTLE(vm);
        vm.applySystemDataResult(
            {{FileGroup(FileCategory::deviceBackups,
                        {AssociatedFile(sandbox.homePath("backup-1"), "iPhone",
                                        FileCategory::deviceBackups, 200'000'000)})},
             0,
             {}});
        vm.selectSystemCategory(FileCategory::deviceBackups);
        vm.search("stored only"); // does not filter the category's files
        QCOMPARE(vm.fileGroups().size(), 1);

        // Cleared in order, then the list loads; the System Data rows stay for the next visit.
        const QStringList order{"selectedItemChanged",   "fileGroupsChanged",
                                "searchQueryChanged",    "selectedSystemCategoryChanged",
                                "currentSectionChanged", "isLoadingListChanged"};
        SignalRecorder change(&vm, order);
        vm.selectSection(u"npm"_s);
        change.log.removeDuplicates();
        QCOMPARE(change.log, order);
        QVERIFY(vm.isLoadingList());
        QCOMPARE((QStringList{vm.currentSectionTitle(), vm.searchQuery(),
                              vm.selectedSystemCategoryName(), ticks(vm.fileGroups()),
                              QString::number(vm.systemDataGroups().size())}),
                 (QStringList{"npm", "", "", "", "1"}));
        SETTLE(vm);
        // Without npm the list is empty, and its cache is measured all the same.
        QVERIFY(!vm.isLoadingList() && !vm.isNPMAvailable() && vm.allNPMPackages().isEmpty());
        QCOMPARE(vm.npmCacheSize(), 5 * 4096);
        QCOMPARE(vm.npmCacheSizeText(), u"20 kB"_s);
        // npm installed while Verlo runs is found when the window is back in front.
        MachineBuilder(sandbox).installNPM();
        QVERIFY(!vm.isNPMAvailable());
        vm.refreshToolAvailability();
        QTRY_VERIFY(vm.isNPMAvailable());

        // Back to the applications for a scan, ticks and two removals within 3 s.
        vm.selectSection(u"Applications"_s);
        SETTLE(vm);
        // As the list row does: pick, then the detail pane fills, application files unticked.
        SignalRecorder recorder(&vm, {"isScanningChanged", "fileGroupsChanged"});
        vm.selectApplication(bundle);
        QCOMPARE(pane(vm), u"Code Editor (com.example.editor):  [busy]"_s);
        SETTLE(vm);
        QCOMPARE(recorder.log,
                 (QStringList{"isScanningChanged", "fileGroupsChanged", "isScanningChanged"}));
        QCOMPARE(vm.selectedItemKind() + u' ' + pane(vm),
                 u"app Code Editor (com.example.editor): -Code Editor.app, -Code Editor, "
                 "-com.example.editor.plist"_s);
        QCOMPARE(vm.deleteConfirmationMessage(), u"No items selected."_s);

        // Ticking changes rows in place (no reset: the delegates keep their state); the bundle
        // carries everything with it, both ways; unknown ids and a no-op select-all report
        // nothing.
        QSignalSpy reset(vm.fileGroupsModel(), &QAbstractItemModel::modelReset);
        QSignalSpy changed(vm.fileGroupsModel(), &QAbstractItemModel::dataChanged);
        vm.toggleFile(idOf(vm, preferences));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(vm.totalSelectedSize(), 1000);
        vm.toggleFile(idOf(vm, bundle));
        QCOMPARE(ticks(vm.fileGroups()),
                 u"+Code Editor.app, +Code Editor, +com.example.editor.plist"_s);
        vm.toggleFile(idOf(vm, bundle));
        QCOMPARE(ticks(vm.fileGroups()),
                 u"-Code Editor.app, -Code Editor, -com.example.editor.plist"_s);
        QSignalSpy selection(&vm, &ContentViewModel::selectionChanged);
        vm.toggleFile(QUuid::createUuid().toString());
        vm.setGroupSelection(QUuid::createUuid().toString(), true);
        vm.setAllSelected(false);
        QCOMPARE(selection.count() + reset.count(), 0);

        // A first removal of the preferences alone: the application is searched again, and the
        // rescan does not eat the line.
        QElapsedTimer sinceFirst;
        QObject::connect(&vm, &ContentViewModel::lastDeleteSummaryChanged, &vm, [&] {
            if (!sinceFirst.isValid() && vm.hasLastDeleteSummary())
                sinceFirst.start();
        });
        vm.toggleFile(idOf(vm, preferences));
        vm.setShowDeleteConfirmation(true);
        vm.deleteSelected();
        vm.setShowDeleteConfirmation(false);
        SETTLE(vm);
        QCOMPARE(vm.lastDeleteSummary(), u"Moved 1 item(s) to Trash \u00B7 1 kB freed"_s);
        QCOMPARE(pane(vm), u"Code Editor (com.example.editor): -Code Editor.app, -Code Editor"_s);

        // A second removal within 3 s, by the bundle (its Info.plist, a block), which takes the
        // application support folder (three blocks) with it.
        QTest::qWait(1000);
        vm.toggleFile(idOf(vm, bundle));
        QCOMPARE(vm.deleteButtonTitle() + u": "_s + vm.deleteConfirmationMessage(),
                 u"Move to Trash: Move 2 item(s) (16 kB) to Trash. This cannot be undone."_s);
        vm.deleteSelected();
        SETTLE(vm);
        const QString secondLine = u"Moved 2 item(s) to Trash \u00B7 16 kB freed"_s;
        QCOMPARE(vm.lastDeleteSummary(), secondLine);
        QVERIFY(sinceFirst.elapsed() < 3000 && !vm.hasErrorMessage());
        QCOMPARE(trashedNames(sandbox),
                 (QStringList{"Code Editor", "Code Editor.app", "com.example.editor.plist"}));
        // The bundle is gone: the list is loaded again and the detail pane cleared.
        QCOMPARE(names(vm.allApps()), (QStringList{"Notes", "Xcode"}));
        QCOMPARE(vm.selectedItemKind() + pane(vm), u" (): "_s);

        // Both lines' timers have fired by then: the line stays while it offers Put Back.
        QTest::qWait(3400);
        QVERIFY(vm.canPutBack() && vm.lastDeleteSummary() == secondLine);
        // Put Back brings the second removal's items back from their records (the bundle is
        // listed again), then the line goes.
        vm.putBackLastRemoval();
        QVERIFY(!vm.canPutBack());
        SETTLE(vm);
        QCOMPARE(vm.lastDeleteSummary(), u"Put back 2 item(s)"_s);
        QCOMPARE(trashedNames(sandbox), QStringList{"com.example.editor.plist"});
        QCOMPARE(QDir(sandbox.homePath(u".local/share/Trash/info"_s)).entryList(QDir::Files),
                 QStringList{"com.example.editor.plist.trashinfo"});
        QCOMPARE(names(vm.allApps()), all);
        QTRY_VERIFY_WITH_TIMEOUT(!vm.hasLastDeleteSummary(), 4000);
    }

    void homebrewFlow_cacheFollowsCellarAndFailedUninstallStillTrashes()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installBrew(1, "\n  Error: No such keg: /opt/homebrew/Cellar/wget  \n\n");
        machine.addFormula("wget", {{"1.21", MachineBuilder::Receipt::onRequest}});
        machine.addCask("firefox", "125.0");
        const QString download = sandbox.writeFileOfSize(
            sandbox.homePath("Library/Caches/Homebrew/wget--1.21.tar.gz"), 7000);
        const QString config = machine.addHomebrewFile("etc/wgetrc", 800);
        const QString app = sandbox.makeAppBundle(sandbox.systemPath("/Applications"),
                                                  "Firefox.app", {{"CFBundleName", "Firefox"}});

        // An application whose search found its cask: nothing here uninstalls the cask (brew runs
        // only for wget below), so the texts say it stays and which command removes it.
        ContentViewModel vm{FileScanner(sandbox.places())};
        vm.selectApplication(app);
        SETTLE(vm);
        vm.toggleFile(idOf(vm, app));
        const QString left =
            u"Not uninstalled: firefox (Caskroom); to remove, run \"brew uninstall --cask firefox\""_s;
        QCOMPARE(vm.deleteButtonTitle() + u": "_s + vm.deleteConfirmationMessage(),
                 u"Move to Trash: Move 1 item(s) (4 kB) to Trash. This cannot be undone. "_s +
                     left + u'.');
        vm.deleteSelected();
        SETTLE(vm);
        QCOMPARE(vm.lastDeleteSummary(),
                 u"Moved 1 item(s) to Trash \u00B7 4 kB freed \u00B7 "_s + left);

        vm.selectSection(u"Brew"_s);
        SETTLE(vm);
        vm.selectHomebrewPackage("firefox", "Cask");
        SETTLE(vm);
        QCOMPARE(vm.deleteConfirmationMessage(),
                 u"Run \"brew uninstall --cask firefox\". This cannot be undone."_s);

        // Package files start selected; the two files to move hold 7,800 bytes.
        vm.selectHomebrewPackage("wget", "Formula");
        SETTLE(vm);
        QCOMPARE(pane(vm), u"wget (v1.21): +wgetrc, +wget, +wget--1.21.tar.gz"_s);
        QCOMPARE(vm.deleteButtonTitle() + u": "_s + vm.deleteConfirmationMessage(),
                 u"Uninstall & Remove: Run \"brew uninstall wget\" \u00B7 Move 2 item(s) (8 kB) "
                 "to Trash. This cannot be undone."_s);

        // The download cache follows the Cellar; a hand change of the cache leaves the Cellar
        // alone. Groups: configuration, Cellar, cache.
        const QUuid cellarFile = vm.fileGroups().at(1).files[0].id;
        const QUuid cacheGroup = vm.fileGroups().at(2).id;
        vm.toggleFile(cellarFile);
        QCOMPARE(ticks(vm.fileGroups()), u"+wgetrc, -wget, -wget--1.21.tar.gz"_s);
        vm.setGroupSelection(cacheGroup, true);
        QCOMPARE(ticks(vm.fileGroups()), u"+wgetrc, -wget, +wget--1.21.tar.gz"_s);
        vm.setGroupSelection(cacheGroup, false);
        vm.toggleFile(cellarFile);
        QCOMPARE(ticks(vm.fileGroups()), u"+wgetrc, +wget, +wget--1.21.tar.gz"_s);

        // The uninstall fails; the Trash step still runs and the list is still reloaded.
        QSignalSpy reloaded(&vm, &ContentViewModel::allHomebrewPackagesChanged);
        vm.deleteSelected();
        QVERIFY(vm.isScanning());
        SETTLE(vm);
        QCOMPARE(machine.toolCalls("/opt/homebrew/bin/brew"),
                 (QList<QStringList>{{"uninstall", "wget"}}));
        QCOMPARE(vm.errorMessage(),
                 u"Failed to uninstall wget:\nError: No such keg: /opt/homebrew/Cellar/wget"_s);
        QCOMPARE(vm.lastDeleteSummary(), u"Moved 2 item(s) to Trash \u00B7 8 kB freed"_s);
        QVERIFY(!QFileInfo::exists(download) && !QFileInfo::exists(config));
        QCOMPARE(trashedNames(sandbox),
                 (QStringList{"Firefox.app", "wget--1.21.tar.gz", "wgetrc"}));
        QCOMPARE(reloaded.count(), 1);
        QCOMPARE(vm.homebrewCacheSize(), 0);
        QVERIFY(vm.showErrorAlert() && vm.fileGroups().isEmpty());
    }

    void npmRemoval_lateScanDroppedAndSomeTrashMovesFail()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installNPM(kNPM, 0, "removed 1 package in 1s\n");
        const QString modules = sandbox.systemPath(MachineBuilder::homebrewNodeModules());
        machine.addNPMPackage(modules, "alpha", "1.0.0");
        sandbox.writeFileOfSize(sandbox.homePath(".config/alpha/config.json"), 100);
        const QString module = machine.addNPMPackage(modules, "mytool", "2.0.0");
        // The files to move: 1,000 and 2,000 bytes, and folders of 8 and 13 blocks.
        sandbox.writeFileOfSize(sandbox.homePath(".mytool"), 1000);
        sandbox.writeFileOfSize(sandbox.homePath(".cache/mytool/blob"), 8 * 4096);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/mytool"), 2000);
        const QString config = sandbox.homePath(".config/mytool");
        sandbox.writeFileOfSize(config + "/settings.json", 13 * 4096);
        const QString cache = sandbox.homePath(".cache/mytool");

        ContentViewModel vm{FileScanner(sandbox.places())};
        vm.selectSection(SidebarSection::npm);
        SETTLE(vm);
        QCOMPARE(vm.npmCacheSize(), 4096); // ~/.npm/mytool

        // A quick second pick: whatever the pane shows belongs to the item named in its header
        // at that moment, and it stays busy from the first pick until the newest scan ended.
        QStringList panes;
        QObject::connect(&vm, &ContentViewModel::fileGroupsChanged, &vm, [&] {
            if (!vm.fileGroups().isEmpty())
                panes.append(pane(vm));
        });
        QSignalSpy scanning(&vm, &ContentViewModel::isScanningChanged);
        vm.selectNPMPackage("alpha");
        vm.selectNPMPackage("mytool");
        SETTLE(vm);
        QVERIFY(!panes.isEmpty());
        for (const QString &shown : std::as_const(panes))
            QVERIFY2(shown.startsWith(u"mytool "_s) && !shown.contains(u"alpha"_s),
                     qPrintable(shown));
        QCOMPARE(scanning.count(), 2);
        // The places in the home named after it may be the user's own: ticked by hand only.
        QCOMPARE(pane(vm), u"mytool (v2.0.0): -.mytool, -mytool, -mytool, +mytool, +mytool"_s);
        vm.setAllSelected(true);
        QCOMPARE(vm.deleteConfirmationMessage(),
                 u"Run \"npm uninstall -g mytool\" \u00B7 Move 4 item(s) (89 kB) to Trash. "
                 "This cannot be undone."_s);

        // The cache is replaced after the scan: the listed folder is gone, the new one stays.
        QVERIFY(QDir().rename(cache, cache + "-listed"));
        sandbox.writeFileOfSize(cache + "/new", 10);

        // Published in order: the alert text before the alert, then the line, then the refresh:
        // the uninstalled package's row goes at once, and the list is read again.
        const QStringList order{"errorMessageChanged", "showErrorAlertChanged",
                                "lastDeleteSummaryChanged", "npmCacheSizeChanged",
                                "allNPMPackagesChanged"};
        SignalRecorder recorder(&vm, order);
        vm.deleteSelected();
        QVERIFY(vm.isScanning());
        SETTLE(vm);
        QCOMPARE(recorder.log, order + QStringList{"allNPMPackagesChanged"});
        QCOMPARE(machine.toolCalls(kNPM), (QList<QStringList>{{"uninstall", "-g", "mytool"}}));
        // Only what really moved is counted (all but the 8 blocks of the cache folder); the one
        // failure is listed with its reason.
        QCOMPARE(
            vm.lastDeleteSummary(),
            u"Uninstalled mytool \u00B7 Moved 3 item(s) to Trash \u00B7 56 kB freed \u00B7 Put "
            "Back restores the files only"_s);
        QCOMPARE(vm.errorMessageText(),
                 u"Failed to remove 1 file(s):\n"_s + cache + u": Changed since it was listed"_s);
        QVERIFY(vm.showErrorAlert());
        QCOMPARE(trashedNames(sandbox), (QStringList{".mytool", "mytool", "mytool.2"}));
        // Package files are the package manager's business.
        QVERIFY(QFileInfo::exists(cache + "/new") && QFileInfo::exists(module));
        QCOMPARE(vm.npmCacheSize(), 0);

        // A scan started before a change of section never fills the new section's pane.
        panes.clear();
        vm.selectNPMPackage("alpha");
        vm.selectSection(SidebarSection::systemData);
        SETTLE(vm);
        QVERIFY2(panes.isEmpty(), qPrintable(panes.join(u',')));
        QVERIFY(vm.fileGroups().isEmpty());
    }

    // A slow listing never holds the constructor up. Desktop applications sit in the list their
    // installation says; a Flatpak is removed by its tool once its installation is ticked, then
    // its files go to the Trash; a system package never offers itself.
    void desktopApplications_listedByKindAndRemovedTheirWay()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        DesktopMachineBuilder desktop(sandbox, machine);
        desktop.installFlatpak();
        desktop.addFlatpak("org.example.Notes", "Notes Plus", true);
        sandbox.writeFileOfSize(sandbox.homePath(".var/app/org.example.Notes/data"), 4096);
        desktop.addDesktopEntry(desktop.systemData(), "org.gnome.Calculator.desktop", "Calculator",
                                "gnome-calculator");
        desktop.installDpkgQuery(
            {{"/usr/share/applications/org.gnome.Calculator.desktop", "gnome-calculator"}});
        // The listing asks dpkg-query, which waits until the test lets it answer: the constructor
        // returns with the list empty and busy, and the whole list arrives later.
        const QString dpkg = sandbox.systemPath("/usr/bin/dpkg-query");
        const QString gate = sandbox.base() + u"/dpkg-may-answer"_s;
        QVERIFY(QFile::rename(dpkg, dpkg + u".real"_s));
        sandbox.writeScript(
            dpkg,
            u"until [ -e '%1' ]; do sleep 0.05; done\nexec '%2.real' \"$@\"\n"_s.arg(gate, dpkg));
        ContentViewModel vm{FileScanner(sandbox.places())};
        QVERIFY(vm.allApps().isEmpty() && vm.isLoadingList());
        sandbox.writeFile(gate, {});
        SETTLE(vm);
        QVERIFY(!vm.isLoadingList());
        QCOMPARE(names(vm.userApplications()) + QStringList{"|"} + names(vm.systemApplications()),
                 (QStringList{"Notes Plus", "|", "Calculator"}));

        vm.selectApplication(vm.systemApplications().at(0).path);
        SETTLE(vm);
        QCOMPARE(pane(vm), u"Calculator (System Package \u00B7 gnome-calculator): "_s);

        vm.selectApplication(vm.userApplications().at(0).path);
        SETTLE(vm);
        QCOMPARE(pane(vm), u"Notes Plus (Flatpak \u00B7 org.example.Notes): -org.example.Notes, "
                           "-org.example.Notes"_s);
        vm.setAllSelected(true);
        QVERIFY(vm.deleteConfirmationMessage().startsWith(
            u"Run \"flatpak uninstall --noninteractive --user org.example.Notes\" \u00B7 Move 1 "
            "item(s)"_s));
        vm.deleteSelected();
        SETTLE(vm);
        QCOMPARE(machine.toolCalls("/usr/bin/flatpak").last(),
                 (QStringList{"uninstall", "--noninteractive", "--user", "org.example.Notes"}));
        QCOMPARE(trashedNames(sandbox), QStringList{"org.example.Notes"});
        QCOMPARE(names(vm.allApps()), QStringList{"Calculator"});
    }

    void systemData_snapshotsRescanAndVanishedCategory()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installTmutil(
            "Snapshots for disk /:\ncom.apple.TimeMachine.2024-05-01-101500.local\n"
            "com.apple.TimeMachine.2024-05-02-101500.local\n");
        sandbox.writeFileOfSize(sandbox.homePath("Library/Caches/com.example.big/data"), 4096);
        ContentViewModel vm{FileScanner(sandbox.places())};
        QStringList progress;
        QObject::connect(&vm, &ContentViewModel::scanProgressTextChanged, &vm,
                         [&] { progress.append(vm.scanProgressText()); });
        vm.selectSection(u"System Data"_s);
        // Clicks while the scan runs change nothing.
        vm.selectSystemCategory(FileCategory::timeMachineSnapshots);
        QVERIFY(vm.isScanning() && vm.selectedSystemCategoryName().isEmpty());
        SETTLE(vm);
        // The scan told what it measured, and the line is gone once it ended.
        QVERIFY2(progress.size() >= 2 && progress.first().startsWith(sandbox.home()),
                 qPrintable(progress.join(u',')));
        QVERIFY(vm.scanProgressText().isEmpty() && !vm.isScanning());
        QCOMPARE(vm.systemDataGroups().size(), 1);
        const FileGroup snapshots = vm.systemDataGroups().first();

        // A category opens all ticked, with a warning: snapshots stand on "/", which never goes
        // to the Trash; two failures, then a new scan that opens the same category again.
        vm.selectSystemCategory(FileCategory::timeMachineSnapshots);
        const auto category = [&] {
            return QStringList{vm.selectedSystemCategoryName(),
                               vm.selectedSystemCategoryHeader().title,
                               vm.selectedSystemCategoryHeader().subtitle, ticks(vm.fileGroups())};
        };
        const QStringList opened{"timeMachineSnapshots", "Time Machine Snapshots", "2 items",
                                 "+, +"};
        QCOMPARE(category(), opened);
        QCOMPARE(vm.fileGroups().first().id, snapshots.id);
        QCOMPARE(vm.deleteConfirmationMessage(),
                 u"Move 2 item(s) (0 bytes) to Trash. This cannot be undone.\n\n\u26A0\uFE0F This "
                 "includes system data that may not be recoverable. Make sure you have backups."_s);
        vm.deleteSelected();
        SETTLE(vm);
        const QStringList lines = vm.errorMessageText().split(u'\n');
        QVERIFY2(lines.size() == 3 && lines[0] == u"Failed to remove 2 file(s):"_s &&
                     lines[1].startsWith(u"/: "_s) && lines[2].startsWith(u"/: "_s),
                 qPrintable(vm.errorMessageText()));
        QVERIFY(!vm.hasLastDeleteSummary());
        QCOMPARE(machine.toolCalls("/usr/bin/tmutil").size(), 2);
        QCOMPARE(category(), opened);

        // Deselecting in the detail pane leaves the rows and their total alone.
        vm.setAllSelected(false);
        QCOMPARE(ticks(vm.systemDataGroups()) + u" = "_s + vm.systemDataTotalSizeText(),
                 u"-, - = 0 bytes"_s);

        // A rescan without the category empties the pane but keeps the choice; it comes back.
        const FileGroup derived(FileCategory::xcodeDerivedData,
                                {AssociatedFile(sandbox.homePath("DD/A"), "A",
                                                FileCategory::xcodeDerivedData, 150'000'000),
                                 AssociatedFile(sandbox.homePath("DD/B"), "B",
                                                FileCategory::xcodeDerivedData, 50'000'000)});
        vm.applySystemDataResult({{derived}, 3, {}});
        QCOMPARE(category(),
                 (QStringList{"timeMachineSnapshots", "Time Machine Snapshots", "", ""}));
        QCOMPARE(vm.hiddenSystemCategoryCount(), 3);
        QCOMPARE(vm.systemDataTotalSize(), 200'000'000);
        vm.applySystemDataResult({{derived, snapshots}, 0, {}});
        QCOMPARE(category(), opened);

        // Another category: its size in the subtitle, no warning, and the row highlighted.
        vm.selectSystemCategory(FileCategory::xcodeDerivedData);
        QCOMPARE(vm.selectedSystemCategoryHeader().subtitle, u"2 items \u00B7 200 MB"_s);
        QVERIFY(!vm.deleteConfirmationMessage().contains(u'\n'));
        QAbstractListModel *rowsModel = vm.systemDataGroupsModel();
        QVERIFY(rowsModel->index(0).data(FileGroupListModel::IsSelectedRole).toBool());
        QVERIFY(!rowsModel->index(1).data(FileGroupListModel::IsSelectedRole).toBool());

        // A category under the threshold stays out of the rows and the total, and opens like
        // any other; after a removal in it the rescan opens it again.
        sandbox.writeFileOfSize(sandbox.homePath(".cache/pip/wheel"), 8192);
        sandbox.writeFileOfSize(sandbox.homePath(".npm/_cacache/index"), 4096);
        vm.startSystemDataScan();
        SETTLE(vm);
        QCOMPARE(ticks(vm.hiddenSystemDataGroups()), u"-pip, -_cacache"_s);
        vm.selectSystemCategory(FileCategory::packageManagerCache);
        QCOMPARE(category(), (QStringList{"packageManagerCache", "Package Manager Cache",
                                          u"2 items \u00B7 12 kB"_s, "+pip, +_cacache"}));
        vm.toggleFile(vm.fileGroups().first().files.last().id);
        vm.deleteSelected();
        SETTLE(vm);
        QCOMPARE(trashedNames(sandbox), QStringList{"pip"});
        QCOMPARE(ticks(vm.fileGroups()), u"+_cacache"_s);
        // The small categories, once shown, are hidden again when the section changes.
        vm.setShowHiddenSystemCategories(true);
        vm.selectSection(SidebarSection::npm);
        QVERIFY(!vm.showHiddenSystemCategories());
    }

    // Installed versions open unticked, and the one in use is never ticked; the others go by their
    // tool (a rustup that really uninstalls) or to the Trash, and the rescan lists what is left.
    void systemData_toolchainsRemovedByTheirTool()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const QString stable = u"stable-x86_64-unknown-linux-gnu"_s;
        const QString nightly = u"nightly-x86_64-unknown-linux-gnu"_s;
        sandbox.writeFile(sandbox.homePath(u".rustup/settings.toml"_s),
                          "default_toolchain = \"" + stable.toUtf8() + "\"\n");
        QVERIFY(machine.addHomeFolderOfSize(u".rustup/toolchains/"_s + stable, 100 << 20));
        QVERIFY(machine.addHomeFolderOfSize(u".rustup/toolchains/"_s + nightly, 8192));
        QVERIFY(machine.addHomeFolderOfSize(u".nvm/versions/node/v18.19.0"_s, 4096));
        machine.installScriptTool(u"/usr/bin/rustup"_s,
                                  u"rm -rf -- \"$HOME/.rustup/toolchains/$3\""_s);
        ContentViewModel vm{FileScanner(sandbox.places())};
        vm.selectSection(SidebarSection::systemData);
        SETTLE(vm);
        vm.selectSystemCategory(FileCategory::toolchains);
        QCOMPARE(ticks(vm.fileGroups()), u"-%1, -%2, -v18.19.0"_s.arg(stable, nightly));
        vm.setAllSelected(true);
        QCOMPARE(ticks(vm.fileGroups()), u"-%1, +%2, +v18.19.0"_s.arg(stable, nightly));
        QCOMPARE(vm.deleteConfirmationMessage(),
                 u"Run \"rustup toolchain uninstall %1\" \u00B7 Move 1 item(s) (4 kB) to Trash. "
                 "This cannot be undone."_s.arg(nightly));
        vm.deleteSelected();
        SETTLE(vm);
        QCOMPARE(machine.toolCalls(u"/usr/bin/rustup"_s),
                 (QList<QStringList>{{u"toolchain"_s, u"uninstall"_s, nightly}}));
        QCOMPARE(trashedNames(sandbox), QStringList{u"v18.19.0"_s});
        QCOMPARE(vm.lastDeleteSummary(),
                 u"Uninstalled Rust %1 \u00B7 Moved 1 item(s) to Trash \u00B7 12 kB freed "
                 "\u00B7 Put Back restores the files only"_s.arg(nightly));
        QCOMPARE(ticks(vm.fileGroups()), u"-"_s + stable);
    }

    void systemData_categoriesAsMeasuredProgressCoverageAndDrillDown()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installXcode();
        QVERIFY(machine.addHomeFolderOfSize("Library/Developer/Xcode/DerivedData", 8192));
        QVERIFY(machine.addHomeFolderOfSize("projects/site/build", 100 << 20)); // shown
        QVERIFY(machine.addHomeFolderOfSize("projects/site/src", 4096));
        // The snapshot listing, after the Xcode step, waits until the test lets it go.
        const QString go = sandbox.base() + "/go";
        sandbox.writeScript(sandbox.systemPath("/usr/bin/tmutil"),
                            "i=0\nwhile [ ! -e '" + go +
                                "' ] && [ $i -lt 600 ]; do sleep 0.05; "
                                "i=$((i+1)); done\n");
        ContentViewModel vm{FileScanner(sandbox.places())};
        const HomeCoverage &coverage = *vm.homeCoverage();
        vm.selectSection(SidebarSection::systemData);
        // The Xcode category is there (hidden, too small) while the scan still runs.
        QTRY_COMPARE_WITH_TIMEOUT(vm.hiddenSystemCategoryCount(), 1, kWorkTimeoutMs);
        QVERIFY(vm.isScanning() && coverage.isMeasuring());
        QVERIFY(coverage.fraction() >= 0 && coverage.fraction() < 1);
        QVERIFY(coverage.progressText().endsWith(u" measured"_s));
        sandbox.writeFile(go, "");
        SETTLE(vm);
        QVERIFY(!coverage.isMeasuring() && coverage.homeSize() > (100 << 20));
        QCOMPARE(coverage.coverageText(), u"%1 of %2 in your home accounted for"_s.arg(
                                              formatByteCount(coverage.accountedSize()),
                                              formatByteCount(coverage.homeSize())));
        QCOMPARE(HomeCoverage::expectedSize(sandbox.home()), coverage.homeSize());

        // Large Folders open unticked; a row opens to its largest entries, and back.
        vm.selectSystemCategory(FileCategory::largeFolders);
        QCOMPARE(ticks(vm.fileGroups()), u"-projects"_s);
        vm.openFolder(sandbox.homePath("projects"));
        SETTLE(vm);
        vm.openFolder(sandbox.homePath("projects/site"));
        SETTLE(vm);
        QCOMPARE(vm.openedFolders(),
                 (QStringList{sandbox.homePath("projects"), sandbox.homePath("projects/site")}));
        QCOMPARE(ticks(vm.fileGroups()), u"-build, -src"_s);
        vm.toggleFile(idOf(vm, sandbox.homePath("projects/site/src")));
        vm.closeFolder();
        QCOMPARE(ticks(vm.fileGroups()), u"-site"_s);
        vm.openFolder(sandbox.homePath("projects/site/build")); // not listed here: ignored
        QVERIFY(!vm.isScanning());
        vm.closeFolder();
        QVERIFY(vm.openedFolders().isEmpty());
        QCOMPARE(ticks(vm.fileGroups()), u"-projects"_s);
        vm.openFolder(sandbox.homePath("projects"));
        SETTLE(vm);
        vm.selectSection(SidebarSection::npm);
        QVERIFY(vm.openedFolders().isEmpty());
    }

    // Rows of programs that are gone, in the scanner's order; a pick shows the row's files with
    // nothing ticked; Keep takes a row out at once and for good (a new view model and the
    // command line's search agree); List Again brings it back; a removal of all of a row's files
    // reloads the list without it.
    void leftovers_pickKeepListAgainAndRemoval()
    {
        Sandbox sandbox;
        const QString kit =
            sandbox.writeFileOfSize(sandbox.homePath(".var/app/org.gone.Drumkit/config/kit"), 700);
        const QString sketch =
            sandbox.writeFileOfSize(sandbox.homePath(".config/sketchpad/settings.ini"), 9000);
        sandbox.writeFileOfSize(sandbox.homePath(".cache/sketchpad/thumbs"), 300);
        KeptLeftovers::setNames({});
        const FileScanner scanner(sandbox.places());
        const auto rowNames = [](const QList<LeftoverRow> &rows) {
            QStringList result;
            for (const LeftoverRow &row : rows)
                result.append(row.name);
            return result;
        };

        ContentViewModel vm{scanner};
        SETTLE(vm);
        vm.selectSection(SidebarSection::leftovers);
        QVERIFY(vm.isLoadingList());
        SETTLE(vm);
        LeftoversSection &section = *vm.leftovers();
        QCOMPARE(rowNames(section.filteredRows()), rowNames(scanner.findLeftovers({})));
        QCOMPARE(rowNames(section.filteredRows()), (QStringList{"drumkit", "sketchpad"}));
        QCOMPARE(section.rowsModel()->index(0).data(LeftoverListModel::CertaintyTextRole),
                 u"Certain"_s);
        vm.search("sketch");
        QCOMPARE(rowNames(section.filteredRows()), QStringList{"sketchpad"});
        vm.search(QString());

        vm.selectLeftover("sketchpad");
        SETTLE(vm);
        QCOMPARE(vm.selectedItemHeader().title, u"sketchpad"_s);
        QVERIFY(vm.selectedItemHeader().subtitle.startsWith(u"Likely \u00B7 Last changed "_s));
        QVERIFY(vm.selectedItemHeader().note.contains(u"is named sketchpad"_s));
        QCOMPARE(ticks(vm.fileGroups()), u"-sketchpad, -sketchpad"_s);
        QCOMPARE(section.rowsModel()->index(1).data(LeftoverListModel::IsSelectedRole), true);

        // Keep: the row and the pick go at once, and stay gone for a new window and the
        // command line.
        section.keep("sketchpad");
        QCOMPARE(rowNames(section.filteredRows()), QStringList{"drumkit"});
        QVERIFY(!vm.selectedItem() && vm.fileGroups().isEmpty());
        QCOMPARE(section.keptNames(), QStringList{"sketchpad"});
        {
            ContentViewModel fresh{scanner};
            fresh.selectSection(SidebarSection::leftovers);
            SETTLE(fresh);
            QCOMPARE(rowNames(fresh.leftovers()->allRows()), QStringList{"drumkit"});
            QCOMPARE(rowNames(scanner.findLeftovers(KeptLeftovers::names())),
                     QStringList{"drumkit"});
        }
        section.stopKeeping("sketchpad");
        SETTLE(vm);
        QCOMPARE(rowNames(section.filteredRows()), (QStringList{"drumkit", "sketchpad"}));
        QVERIFY(section.keptNames().isEmpty() && KeptLeftovers::names().isEmpty());

        // Every file of the row to the Trash: the list reloads without it and the pick ends.
        vm.selectLeftover("drumkit");
        SETTLE(vm);
        vm.setAllSelected(true);
        vm.deleteSelected();
        SETTLE(vm);
        QVERIFY(!QFileInfo::exists(kit) && QFileInfo::exists(sketch));
        QCOMPARE(trashedNames(sandbox), QStringList{"org.gone.Drumkit"});
        QCOMPARE(rowNames(section.allRows()), QStringList{"sketchpad"});
        QVERIFY(!vm.selectedItem() && vm.fileGroups().isEmpty());
    }

    // Rows found so far, then more, a changed size, a row gone and the order changed: the list
    // follows each without a reset, so the view keeps its selection, scroll and delegates.
    void leftoverList_followsEachListWithoutReset()
    {
        const auto row = [](const char *name, qint64 size) {
            LeftoverRow result;
            result.name = QString::fromLatin1(name);
            result.size = size;
            return result;
        };
        LeftoverListModel model;
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        model.setRows({row("b", 1)});
        model.setRows({row("a", 5), row("b", 1)});
        model.setSelectedName("a");
        const QPersistentModelIndex a = model.index(0);
        const QList<QList<LeftoverRow>> steps{{row("a", 5), row("b", 2), row("c", 1)},
                                              {row("c", 9), row("a", 5)}};
        for (const QList<LeftoverRow> &rows : steps)
            model.setRows(rows);
        QStringList shown;
        for (int i = 0; i < model.rowCount(); ++i)
            shown.append(model.index(i).data(LeftoverListModel::NameRole).toString() + u'=' +
                         model.index(i).data(LeftoverListModel::SizeTextRole).toString());
        QCOMPARE(shown, (QStringList{u"c=9 bytes"_s, u"a=5 bytes"_s}));
        QCOMPARE(resets.count(), 0);
        QCOMPARE(a.row(), 1);
        QCOMPARE(a.data(LeftoverListModel::IsSelectedRole), true);
    }

    void systemData_resultWhileRemovalPendingKeepsBusyState()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        // The snapshot listing answers after a second; the uninstall takes three.
        sandbox.writeScript(sandbox.systemPath("/usr/bin/tmutil"),
                            "sleep 1\nprintf 'com.apple.TimeMachine.2024-05-01-101500.local\\n'\n");
        sandbox.writeScript(sandbox.systemPath(kNPM), "sleep 3\nexit 0\n");
        machine.addNPMPackage(sandbox.systemPath(MachineBuilder::homebrewNodeModules()), "mytool",
                              "2.0.0");
        const QString cacheFile = sandbox.writeFileOfSize(sandbox.homePath(".npm/mytool"), 1000);
        // A view model destroyed while its work runs: the results posted later (while the one
        // below works) find no view model and are dropped.
        auto doomed = std::make_unique<ContentViewModel>(FileScanner(sandbox.places()));
        doomed->selectSection(SidebarSection::systemData);
        doomed->selectSection(SidebarSection::npm);
        QVERIFY(doomed->hasPendingWork());
        doomed.reset();

        // The section changes while the System Data scan runs.
        ContentViewModel vm{FileScanner(sandbox.places())};
        vm.selectSection(SidebarSection::systemData);
        vm.selectSection(SidebarSection::npm);
        QTRY_COMPARE_WITH_TIMEOUT(vm.allNPMPackagesCount(), 1, kWorkTimeoutMs);
        vm.selectNPMPackage("mytool");
        QTRY_VERIFY_WITH_TIMEOUT(!vm.isScanning(), kWorkTimeoutMs);
        QVERIFY(vm.systemDataGroups().isEmpty());
        QCOMPARE(pane(vm), u"mytool (v2.0.0): +mytool, +mytool"_s);

        // The result lands while the removal is still running: the pane stays busy with the
        // package's files.
        vm.deleteSelected();
        const QString busy = pane(vm);
        QVERIFY(busy.endsWith(u"[busy]"_s));
        QSignalSpy groups(&vm, &ContentViewModel::fileGroupsChanged);
        QTRY_VERIFY_WITH_TIMEOUT(!vm.systemDataGroups().isEmpty(), kWorkTimeoutMs);
        QVERIFY(QFileInfo::exists(cacheFile));
        QCOMPARE(groups.count(), 0);
        QCOMPARE(pane(vm), busy);

        SETTLE(vm);
        QVERIFY(!vm.isScanning());
        QCOMPARE(vm.lastDeleteSummary(),
                 u"Uninstalled mytool \u00B7 Moved 1 item(s) to Trash \u00B7 1 kB freed \u00B7 Put "
                 "Back restores the files only"_s);
        QCOMPARE(trashedNames(sandbox), QStringList{"mytool"});
    }
};

QTEST_GUILESS_MAIN(TestContentViewModel)
#include "tst_contentviewmodel.moc"

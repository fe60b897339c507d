// The real window (Main.qml and everything under it) over a view model on a sandbox machine,
// offscreen: what a user sees and what the controls do.

#include "app/VerloApp.h"
#include "model/ByteCountFormat.h"
#include "tests/support/MachineBuilder.h"
#include "tests/support/Sandbox.h"
#include "ui/SymbolImageProvider.h"
#include "viewmodel/ContentViewModel.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (!root)
        return nullptr;
    if (root->objectName() == name)
        return root;
    const QList<QQuickItem *> children = root->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

void collectItems(QQuickItem *root, const QString &name, QList<QQuickItem *> &found)
{
    if (!root)
        return;
    if (root->objectName() == name)
        found.append(root);
    const QList<QQuickItem *> children = root->childItems();
    for (QQuickItem *child : children)
        collectItems(child, name, found);
}

QString textOf(const QObject *object)
{
    return object ? object->property("text").toString() : QString();
}

// Types into whatever has the keyboard focus, one key at a time.
void typeText(QWindow *window, const char *text)
{
    for (const char *c = text; *c; ++c)
        QTest::keyClick(window, *c);
}

bool shown(const QQuickItem *item)
{
    return item && item->isVisible() && item->width() > 0 && item->height() > 0;
}

// Takes the file URLs the window opens, in place of the desktop, while it exists.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

// A sandbox machine and the window over it.
class Harness
{
public:
    Sandbox sandbox;
    MachineBuilder machine{sandbox};
    std::unique_ptr<VerloApp> app;

    bool start()
    {
        app = std::make_unique<VerloApp>(FileScanner(sandbox.places()));
        if (!app->start() || !app->window())
            return false;
        if (!QTest::qWaitForWindowExposed(app->window()))
            return false;
        // Tall enough that every group of these small machines is on screen.
        app->window()->resize(1000, 900);
        return settle();
    }

    ContentViewModel &vm() const { return app->viewModel(); }
    QQuickWindow *window() const { return app->window(); }

    // Waits until every worker result has been applied and the window has redrawn.
    bool settle() const
    {
        const bool idle = QTest::qWaitFor([this] { return !vm().hasPendingWork(); }, 20000);
        QTest::qWait(50);
        return idle;
    }

    QQuickItem *item(const QString &name) const { return findItem(window()->contentItem(), name); }
    QList<QQuickItem *> items(const QString &name) const
    {
        QList<QQuickItem *> found;
        collectItems(window()->contentItem(), name, found);
        return found;
    }
    QObject *dialog(const QString &name) const { return window()->findChild<QObject *>(name); }
    QQuickItem *dialogPart(const QString &dialogName, const char *part, const QString &name) const
    {
        QObject *popup = dialog(dialogName);
        return popup ? findItem(popup->property(part).value<QQuickItem *>(), name) : nullptr;
    }

    void click(QQuickItem *target) const
    {
        // Let layouts place whatever just appeared before aiming at it.
        QTest::qWait(30);
        const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }

    // Three applications, one in the home folder's Applications folder, with leftovers.
    void addApplications() const
    {
        const QString applications = sandbox.systemPath(QStringLiteral("/Applications"));
        sandbox.makeAppBundle(applications, QStringLiteral("Alpha Editor.app"),
                              {{QStringLiteral("CFBundleIdentifier"), QStringLiteral("com.alpha.editor")},
                               {QStringLiteral("CFBundleName"), QStringLiteral("Alpha Editor")}});
        sandbox.makeAppBundle(applications, QStringLiteral("Beta Player.app"),
                              {{QStringLiteral("CFBundleIdentifier"), QStringLiteral("org.beta.player")},
                               {QStringLiteral("CFBundleName"), QStringLiteral("Beta Player")}},
                              Sandbox::PlistFormat::binary);
        sandbox.makeAppBundle(sandbox.homePath(QStringLiteral("Applications")),
                              QStringLiteral("Gamma Notes.app"),
                              {{QStringLiteral("CFBundleIdentifier"), QStringLiteral("net.gamma.notes")},
                               {QStringLiteral("CFBundleName"), QStringLiteral("Gamma Notes")}});
        sandbox.writeFileOfSize(
            sandbox.homePath(QStringLiteral("Library/Preferences/com.alpha.editor.plist")), 700);
        sandbox.writeFileOfSize(
            sandbox.homePath(QStringLiteral("Library/Caches/com.alpha.editor/Cache.db")), 300000);
        sandbox.writeFileOfSize(
            sandbox.homePath(QStringLiteral("Library/Application Support/Alpha Editor/data.db")),
            120000);
    }
};

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void placeholder_followsSection_data();
    void placeholder_followsSection();
    void missingTool_disablesSectionAndShowsNotFound();
    void search_filtersAndQuotesQuery();
    void rowClick_scansAndShowsGroups();
    void tickingBundle_ticksEverythingAndFooterCounts();
    void confirmation_cancelRemovesNothing();
    void removal_showsBannerAndOpensTrash();
    void packageUninstall_disablesControlsWhileRunning();
    void systemData_rowsBadgesAndHiddenLine();
    void hiddenLine_followsCount_data();
    void hiddenLine_followsCount();
    void errorAlert_withoutMessage_showsFallback();
    void dividerPosition_keptAcrossLaunches();

private:
    QTemporaryDir m_config;
};

void WindowTest::initTestCase()
{
    // The divider position is stored with QSettings, under XDG_CONFIG_HOME: keep it out of the
    // real configuration, in one folder for the whole run (QSettings settles its folder once,
    // and Qt Test's own settings folder would follow each sandbox's HOME).
    QVERIFY(m_config.isValid());
    QStandardPaths::setTestModeEnabled(false);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    VerloApp::describeApplication();
}

void WindowTest::cleanupTestCase()
{
    // Every symbol any view asked for during these tests is in the table.
    QCOMPARE(SymbolImageProvider::unknownNames(), QStringList());
}

void WindowTest::placeholder_followsSection_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("detail");
    QTest::newRow("applications") << "Applications" << "Select an app"
                                  << "Choose an app from the sidebar to scan\nfor associated files";
    QTest::newRow("npm") << "npm" << "Select a package"
                         << "Choose a package from the sidebar to scan\nfor npm-related files";
    QTest::newRow("homebrew") << "Brew" << "Select a package"
                              << "Choose a package from the sidebar to scan\nfor Homebrew-related files";
    QTest::newRow("system data") << "System Data" << "Scan System Data"
                                 << "Click 'Scan System Data' in the sidebar\nto analyze storage usage by category.";
}

void WindowTest::placeholder_followsSection()
{
    QFETCH(QString, section);
    QFETCH(QString, title);
    QFETCH(QString, detail);

    Harness h;
    h.machine.installBrew();
    h.machine.installNPM();
    QVERIFY(h.start());

    QQuickItem *button = h.item(QStringLiteral("sectionButton_") + section);
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    h.click(button);
    QVERIFY(h.settle());
    QCOMPARE(h.vm().currentSectionRaw(), section);

    QQuickItem *placeholder = h.item(QStringLiteral("detailPlaceholder"));
    QVERIFY(shown(placeholder));
    QCOMPARE(placeholder->property("title").toString(), title);
    QCOMPARE(placeholder->property("detail").toString(), detail);
    QVERIFY(!shown(h.item(QStringLiteral("moveToTrashButton"))));
}

void WindowTest::missingTool_disablesSectionAndShowsNotFound()
{
    Harness h; // no npm anywhere, and no "which" that could find one
    QVERIFY(h.start());

    QQuickItem *npmButton = h.item(QStringLiteral("sectionButton_npm"));
    QVERIFY(npmButton);
    QVERIFY(!npmButton->isEnabled());
    h.click(npmButton);
    QVERIFY(h.settle());
    QCOMPARE(h.vm().currentSectionRaw(), QStringLiteral("Applications"));

    // Reached anyway (the view model allows it), the list explains what is missing, also while
    // a search text is present, and the cache bar still shows a size.
    h.vm().selectSection(SidebarSection::npm);
    QVERIFY(h.settle());
    h.vm().search(QStringLiteral("type"));
    QVERIFY(h.settle());
    QQuickItem *empty = h.item(QStringLiteral("listEmptyState"));
    QVERIFY(shown(empty));
    QCOMPARE(empty->property("title").toString(), QStringLiteral("npm not found"));
    QCOMPARE(empty->property("detail").toString(),
             QStringLiteral("npm is not installed on this system"));
    QCOMPARE(textOf(h.item(QStringLiteral("cacheSize"))), formatByteCount(0));
}

void WindowTest::search_filtersAndQuotesQuery()
{
    Harness h;
    h.addApplications();
    QVERIFY(h.start());

    QVERIFY(shown(h.item(QStringLiteral("appRow_Alpha Editor"))));
    QVERIFY(shown(h.item(QStringLiteral("appRow_Gamma Notes"))));
    QStringList headers;
    for (QQuickItem *header : h.items(QStringLiteral("sectionHeader")))
        headers.append(textOf(header));
    QCOMPARE(headers, QStringList({QStringLiteral("User Applications"), QStringLiteral("Applications")}));

    QQuickItem *field = h.item(QStringLiteral("searchField"));
    QVERIFY(field);
    h.click(field);
    QTRY_VERIFY(field->hasActiveFocus());
    QVERIFY(!shown(h.item(QStringLiteral("clearSearchButton"))));

    // Every keystroke filters; the user section disappears with its last row.
    typeText(h.window(), "be");
    QVERIFY(h.settle());
    QCOMPARE(h.vm().searchQuery(), QStringLiteral("be"));
    QTRY_VERIFY(shown(h.item(QStringLiteral("appRow_Beta Player"))));
    QVERIFY(!h.item(QStringLiteral("appRow_Alpha Editor")));
    QVERIFY(!h.item(QStringLiteral("appRow_Gamma Notes")));
    QVERIFY(shown(h.item(QStringLiteral("clearSearchButton"))));

    // No match: the query is quoted exactly as typed, spaces and letter case kept.
    typeText(h.window(), " ZZ");
    QVERIFY(h.settle());
    QQuickItem *empty = h.item(QStringLiteral("listEmptyState"));
    QTRY_VERIFY(shown(empty));
    QCOMPARE(empty->property("title").toString(), QStringLiteral("No results"));
    QCOMPARE(empty->property("detail").toString(), QStringLiteral("No apps match 'be ZZ'"));

    // The clear button empties the field and brings every application back.
    h.click(h.item(QStringLiteral("clearSearchButton")));
    QVERIFY(h.settle());
    QCOMPARE(textOf(field), QString());
    QCOMPARE(h.vm().searchQuery(), QString());
    QTRY_VERIFY(shown(h.item(QStringLiteral("appRow_Alpha Editor"))));
    QVERIFY(shown(h.item(QStringLiteral("appRow_Gamma Notes"))));
    QVERIFY(!shown(h.item(QStringLiteral("listEmptyState"))));
}

void WindowTest::rowClick_scansAndShowsGroups()
{
    Harness h;
    h.addApplications();
    QVERIFY(h.start());

    QQuickItem *row = h.item(QStringLiteral("appRow_Alpha Editor"));
    QVERIFY(row);
    QVERIFY(!row->property("isSelected").toBool());
    h.click(row);
    QVERIFY(h.settle());

    QTRY_VERIFY(row->property("isSelected").toBool());
    QCOMPARE(textOf(h.item(QStringLiteral("detailTitle"))), QStringLiteral("Alpha Editor"));
    QCOMPARE(textOf(h.item(QStringLiteral("detailSubtitle"))), QStringLiteral("com.alpha.editor"));
    for (const QString &category : {QStringLiteral("appBundle"), QStringLiteral("preferences"),
                                    QStringLiteral("caches"),
                                    QStringLiteral("applicationSupport")}) {
        QTRY_VERIFY2(shown(h.item(QStringLiteral("fileGroup_") + category)), qPrintable(category));
    }
    QVERIFY(!shown(h.item(QStringLiteral("detailBusyState"))));
    QVERIFY(shown(h.item(QStringLiteral("sortButton"))));

    // Folding a group hides its rows and keeps its header and toggle.
    QQuickItem *caches = h.item(QStringLiteral("fileGroup_caches"));
    QVERIFY(shown(findItem(caches, QStringLiteral("fileRow_com.alpha.editor"))));
    h.click(findItem(caches, QStringLiteral("groupHeader_caches")));
    QTRY_VERIFY(!shown(findItem(caches, QStringLiteral("fileRow_com.alpha.editor"))));
    QVERIFY(shown(findItem(caches, QStringLiteral("groupToggle_caches"))));

    // The sort button flips the flag and its own label.
    QQuickItem *sort = h.item(QStringLiteral("sortButton"));
    QCOMPARE(textOf(sort), QStringLiteral("Sort by Size"));
    h.click(sort);
    QTRY_COMPARE(textOf(sort), QStringLiteral("Sort by Name"));
    QVERIFY(h.vm().sortBySize());
}

void WindowTest::tickingBundle_ticksEverythingAndFooterCounts()
{
    Harness h;
    h.addApplications();
    QVERIFY(h.start());
    h.click(h.item(QStringLiteral("appRow_Alpha Editor")));
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(QStringLiteral("fileGroup_appBundle"))));

    // Application files start unticked: the footer sums everything and removal is off.
    const int fileCount = h.vm().fileGroupsFileCount();
    QCOMPARE(fileCount, 4);
    QQuickItem *footer = h.item(QStringLiteral("footerSummary"));
    QCOMPARE(textOf(footer), QStringLiteral("Total: %1 in 4 file(s)")
                                 .arg(formatByteCount(h.vm().fileGroupsTotalSize())));
    QVERIFY(!h.item(QStringLiteral("moveToTrashButton"))->isEnabled());

    QQuickItem *bundleRow = h.item(QStringLiteral("fileRow_Alpha Editor.app"));
    QVERIFY(bundleRow);
    h.click(findItem(bundleRow, QStringLiteral("fileCheckBox")));
    QVERIFY(h.settle());

    QTRY_COMPARE(h.vm().totalSelectedCount(), fileCount);
    const QList<QQuickItem *> boxes = h.items(QStringLiteral("fileCheckBox"));
    QCOMPARE(boxes.size(), fileCount);
    for (QQuickItem *box : boxes)
        QVERIFY(box->property("checked").toBool());
    const QList<QQuickItem *> toggles = h.items(QStringLiteral("groupToggle_caches"));
    QCOMPARE(toggles.size(), 1);
    QCOMPARE(textOf(toggles.first()), QStringLiteral("Deselect All"));
    QCOMPARE(textOf(footer), QStringLiteral("4 file(s) selected (%1)")
                                 .arg(formatByteCount(h.vm().totalSelectedSize())));
    QVERIFY(h.item(QStringLiteral("moveToTrashButton"))->isEnabled());

    // A group's toggle then drops that group only.
    h.click(toggles.first());
    QVERIFY(h.settle());
    QTRY_COMPARE(h.vm().totalSelectedCount(), fileCount - 1);
    QCOMPARE(textOf(toggles.first()), QStringLiteral("Select All"));
    QVERIFY(textOf(footer).startsWith(QStringLiteral("3 file(s) selected (")));
}

void WindowTest::confirmation_cancelRemovesNothing()
{
    Harness h;
    h.addApplications();
    QVERIFY(h.start());
    h.click(h.item(QStringLiteral("appRow_Alpha Editor")));
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(QStringLiteral("fileGroup_caches"))));
    h.click(findItem(h.item(QStringLiteral("fileGroup_caches")), QStringLiteral("groupToggle_caches")));
    QVERIFY(h.settle());

    h.click(h.item(QStringLiteral("moveToTrashButton")));
    QObject *confirm = h.dialog(QStringLiteral("confirmDialog"));
    QVERIFY(confirm);
    QTRY_VERIFY(confirm->property("opened").toBool());
    QVERIFY(h.vm().showDeleteConfirmation());
    QCOMPARE(textOf(confirm->property("header").value<QQuickItem *>()), QStringLiteral("Confirm"));
    QCOMPARE(textOf(confirm->property("contentItem").value<QQuickItem *>()),
             h.vm().deleteConfirmationMessage());
    QVERIFY(h.vm().deleteConfirmationMessage().startsWith(QStringLiteral("Move 1 item(s) (")));
    QCOMPARE(textOf(h.dialogPart(QStringLiteral("confirmDialog"), "footer",
                                 QStringLiteral("dialogActionButton"))),
             QStringLiteral("Move to Trash"));

    QQuickItem *cancel = h.dialogPart(QStringLiteral("confirmDialog"), "footer",
                                      QStringLiteral("dialogCancelButton"));
    QCOMPARE(textOf(cancel), QStringLiteral("Cancel"));
    h.click(cancel);
    QTRY_VERIFY(!confirm->property("visible").toBool());
    QVERIFY(!h.vm().showDeleteConfirmation());
    QVERIFY(QFileInfo::exists(h.sandbox.homePath(QStringLiteral("Library/Caches/com.alpha.editor"))));
    QCOMPARE(h.vm().totalSelectedCount(), 1);
}

void WindowTest::removal_showsBannerAndOpensTrash()
{
    Harness h;
    h.addApplications();
    QVERIFY(h.start());
    UrlCatcher catcher;

    h.click(h.item(QStringLiteral("appRow_Alpha Editor")));
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(QStringLiteral("fileGroup_caches"))));
    h.click(findItem(h.item(QStringLiteral("fileGroup_caches")), QStringLiteral("groupToggle_caches")));
    QVERIFY(h.settle());
    QVERIFY(!shown(h.item(QStringLiteral("resultBanner"))));

    h.click(h.item(QStringLiteral("moveToTrashButton")));
    QObject *confirm = h.dialog(QStringLiteral("confirmDialog"));
    QTRY_VERIFY(confirm->property("opened").toBool());
    h.click(h.dialogPart(QStringLiteral("confirmDialog"), "footer",
                         QStringLiteral("dialogActionButton")));
    QVERIFY(h.settle());

    // The banner tells what happened (it lives 3 seconds: use it first); the cache went to the
    // sandbox's Trash and the application was searched again.
    QQuickItem *banner = h.item(QStringLiteral("resultBanner"));
    QTRY_VERIFY(shown(banner));
    h.click(h.item(QStringLiteral("openTrashButton")));
    const QString trash = h.sandbox.homePath(QStringLiteral(".local/share/Trash/files"));
    QTRY_COMPARE(catcher.urls.size(), 1);
    QCOMPARE(catcher.urls.first(), QUrl::fromLocalFile(trash));
    QVERIFY(textOf(h.item(QStringLiteral("resultText"))).startsWith(QStringLiteral("Moved 1 item(s) to Trash")));

    const QString cache = h.sandbox.homePath(QStringLiteral("Library/Caches/com.alpha.editor"));
    QVERIFY(!QFileInfo::exists(cache));
    QVERIFY(QFileInfo::exists(trash + QStringLiteral("/com.alpha.editor")));
    QVERIFY(!h.item(QStringLiteral("fileGroup_caches")));
    QVERIFY(shown(h.item(QStringLiteral("fileGroup_preferences"))));

    // The line goes away when the view model drops it.
    QTRY_VERIFY_WITH_TIMEOUT(!shown(banner), 8000);
}

void WindowTest::packageUninstall_disablesControlsWhileRunning()
{
    Harness h;
    // A brew whose uninstall takes a moment and really removes the formula.
    const QString cellar = h.sandbox.systemPath(QStringLiteral("/opt/homebrew/Cellar"));
    h.sandbox.writeScript(h.sandbox.systemPath(QStringLiteral("/opt/homebrew/bin/brew")),
                          QStringLiteral("[ \"$1\" = uninstall ] || exit 0\nsleep 1.5\n"
                                         "rm -rf '%1/wget'\necho 'Uninstalling wget'")
                              .arg(cellar));
    h.machine.addFormula(QStringLiteral("wget"), {{QStringLiteral("1.24.5")}});
    h.machine.addHomebrewFile(QStringLiteral("etc/wgetrc"), 5000);
    QVERIFY(h.start());

    QQuickItem *brewButton = h.item(QStringLiteral("sectionButton_Brew"));
    QVERIFY(brewButton->isEnabled());
    h.click(brewButton);
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(QStringLiteral("brewRow_wget"))));
    QCOMPARE(textOf(findItem(h.item(QStringLiteral("brewRow_wget")), QStringLiteral("typeBadge"))),
             QStringLiteral("Formula"));
    h.click(h.item(QStringLiteral("brewRow_wget")));
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(QStringLiteral("fileGroup_homebrewCellar"))));

    // Package files start ticked and are removed by the package manager.
    QQuickItem *cellarRow = findItem(h.item(QStringLiteral("fileGroup_homebrewCellar")),
                                     QStringLiteral("fileRow_wget"));
    QVERIFY(cellarRow);
    QCOMPARE(textOf(findItem(cellarRow, QStringLiteral("fileDetail"))),
             QStringLiteral("Removed via package manager"));
    QCOMPARE(h.vm().totalSelectedCount(), h.vm().fileGroupsFileCount());

    h.click(h.item(QStringLiteral("moveToTrashButton")));
    QObject *confirm = h.dialog(QStringLiteral("confirmDialog"));
    QTRY_VERIFY(confirm->property("opened").toBool());
    QVERIFY(textOf(confirm->property("contentItem").value<QQuickItem *>())
                .startsWith(QStringLiteral("Run \"brew uninstall wget\" \u00B7 Move 1 item(s) (")));
    QQuickItem *action = h.dialogPart(QStringLiteral("confirmDialog"), "footer",
                                      QStringLiteral("dialogActionButton"));
    QCOMPARE(textOf(action), QStringLiteral("Uninstall & Remove"));
    h.click(action);

    // While brew runs, the pane is busy and nothing can be ticked, sorted or removed.
    QTRY_VERIFY(h.vm().isScanning());
    QVERIFY(shown(h.item(QStringLiteral("detailBusyState"))));
    for (const QString &name : {QStringLiteral("selectAllButton"), QStringLiteral("deselectAllButton"),
                                QStringLiteral("sortButton"), QStringLiteral("moveToTrashButton")}) {
        QQuickItem *control = h.item(name);
        QVERIFY2(control, qPrintable(name));
        QVERIFY2(!control->isEnabled(), qPrintable(name));
    }

    QVERIFY(h.settle());
    QTRY_VERIFY(!h.vm().isScanning());
    QVERIFY(!QFileInfo::exists(cellar + QStringLiteral("/wget")));
    QTRY_VERIFY(!h.item(QStringLiteral("brewRow_wget")));
    QCOMPARE(h.item(QStringLiteral("detailPlaceholder"))->property("title").toString(),
             QStringLiteral("Select a package"));
}

void WindowTest::systemData_rowsBadgesAndHiddenLine()
{
    Harness h;
    QVERIFY(h.machine.addHomeFolderOfSize(QStringLiteral("Library/Developer/Xcode/DerivedData"),
                                          100LL * 1024 * 1024));
    QVERIFY(h.machine.addHomeFolderOfSize(QStringLiteral("Library/Developer/Xcode/Archives"),
                                          64 * 4096));
    QVERIFY(h.machine.addHomeFolderOfSize(QStringLiteral("Library/Logs/DiagnosticReports"),
                                          16 * 4096));
    h.machine.installXcode();
    h.machine.installTmutil("Snapshots for disk /:\n"
                            "com.apple.TimeMachine.2026-03-14-093012.local\n"
                            "com.apple.TimeMachine.2026-03-14-103044.local\n");
    QVERIFY(h.start());

    h.click(h.item(QStringLiteral("sectionButton_System Data")));
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(QStringLiteral("systemCategoryRow_xcodeDerivedData"))));
    QVERIFY(!shown(h.item(QStringLiteral("systemScanningState"))));
    QVERIFY(shown(h.item(QStringLiteral("systemTotalBar"))));
    QCOMPARE(textOf(h.item(QStringLiteral("systemTotal"))),
             formatByteCount(h.vm().systemDataTotalSize()));

    QQuickItem *derived = h.item(QStringLiteral("systemCategoryRow_xcodeDerivedData"));
    QCOMPARE(textOf(findItem(derived, QStringLiteral("safetyBadge"))), QStringLiteral("Safe to clean"));
    QVERIFY(!shown(findItem(derived, QStringLiteral("categoryDetail"))));
    QQuickItem *snapshots = h.item(QStringLiteral("systemCategoryRow_timeMachineSnapshots"));
    QVERIFY(shown(snapshots));
    QCOMPARE(textOf(findItem(snapshots, QStringLiteral("safetyBadge"))), QStringLiteral("Review first"));
    QCOMPARE(textOf(findItem(snapshots, QStringLiteral("categorySize"))), QStringLiteral("2 snapshots"));
    QCOMPARE(textOf(findItem(snapshots, QStringLiteral("categoryDetail"))), QStringLiteral("2 items"));

    QQuickItem *hidden = h.item(QStringLiteral("hiddenCategoriesLine"));
    QVERIFY(shown(hidden));
    QCOMPARE(textOf(hidden), QStringLiteral("%1 categories under 100 MB hidden")
                                 .arg(h.vm().hiddenSystemCategoryCount()));
    QVERIFY(h.vm().hiddenSystemCategoryCount() >= 2);

    // A click opens the category in the detail pane, all ticked, without the package controls.
    h.click(derived);
    QVERIFY(h.settle());
    QTRY_VERIFY(derived->property("isSelected").toBool());
    QCOMPARE(textOf(h.item(QStringLiteral("detailTitle"))), QStringLiteral("Xcode DerivedData"));
    QCOMPARE(textOf(h.item(QStringLiteral("detailSubtitle"))),
             QStringLiteral("1 item \u00B7 %1").arg(formatByteCount(h.vm().fileGroupsTotalSize())));
    QVERIFY(shown(h.item(QStringLiteral("fileGroup_xcodeDerivedData"))));
    QVERIFY(!shown(h.item(QStringLiteral("sortButton"))));
    QVERIFY(!shown(h.item(QStringLiteral("selectAllButton"))));
    QVERIFY(h.item(QStringLiteral("moveToTrashButton"))->isEnabled());

    // Snapshots cannot go to the Trash: the confirmation warns, and the error alert lists them.
    h.click(snapshots);
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(QStringLiteral("fileGroup_timeMachineSnapshots"))));
    h.click(h.item(QStringLiteral("moveToTrashButton")));
    QObject *confirm = h.dialog(QStringLiteral("confirmDialog"));
    QTRY_VERIFY(confirm->property("opened").toBool());
    QVERIFY(textOf(confirm->property("contentItem").value<QQuickItem *>())
                .endsWith(QStringLiteral("\n\n\u26A0\uFE0F This includes system data that may "
                                         "not be recoverable. Make sure you have backups.")));
    h.click(h.dialogPart(QStringLiteral("confirmDialog"), "footer",
                         QStringLiteral("dialogActionButton")));
    QVERIFY(h.settle());
    QObject *error = h.dialog(QStringLiteral("errorDialog"));
    QTRY_VERIFY(error->property("opened").toBool());
    QCOMPARE(textOf(error->property("header").value<QQuickItem *>()), QStringLiteral("Error"));
    QVERIFY(textOf(error->property("contentItem").value<QQuickItem *>())
                .startsWith(QStringLiteral("Failed to remove 2 file(s):\n/: ")));
    QQuickItem *ok = h.dialogPart(QStringLiteral("errorDialog"), "footer",
                                  QStringLiteral("dialogCancelButton"));
    QCOMPARE(textOf(ok), QStringLiteral("OK"));
    QVERIFY(!shown(h.dialogPart(QStringLiteral("errorDialog"), "footer",
                                QStringLiteral("dialogActionButton"))));
    h.click(ok);
    QTRY_VERIFY(!h.vm().showErrorAlert());
}

void WindowTest::hiddenLine_followsCount_data()
{
    QTest::addColumn<int>("hidden");
    QTest::addColumn<QString>("line");
    QTest::newRow("none") << 0 << QString();
    QTest::newRow("one") << 1 << QStringLiteral("1 category under 100 MB hidden");
    QTest::newRow("three") << 3 << QStringLiteral("3 categories under 100 MB hidden");
}

void WindowTest::hiddenLine_followsCount()
{
    QFETCH(int, hidden);
    QFETCH(QString, line);

    Harness h;
    QVERIFY(h.start());
    h.vm().selectSection(SidebarSection::systemData);
    QVERIFY(h.settle());
    // A result as the scanner would deliver it: Docker data in two places, a one-file cache.
    const QString docker = h.sandbox.homePath(QStringLiteral("Library/Containers/com.docker.docker/Data"));
    const QString orb = h.sandbox.homePath(QStringLiteral(".orbstack"));
    h.vm().applySystemDataResult(
        {FileGroup(FileCategory::dockerData,
                   {AssociatedFile(docker, QStringLiteral("Docker Desktop"), FileCategory::dockerData, 300000000),
                    AssociatedFile(orb, QStringLiteral("OrbStack"), FileCategory::dockerData, 200000000)}),
         FileGroup(FileCategory::packageManagerCache,
                   {AssociatedFile(h.sandbox.homePath(QStringLiteral("Library/Caches/pip")),
                                   QStringLiteral("pip"), FileCategory::packageManagerCache, 150000000)})},
        hidden);
    QVERIFY(h.settle());

    QQuickItem *dockerRow = h.item(QStringLiteral("systemCategoryRow_dockerData"));
    QTRY_VERIFY(shown(dockerRow));
    QCOMPARE(textOf(findItem(dockerRow, QStringLiteral("categoryDetail"))),
             QStringLiteral("Containers, images & volumes (Docker Desktop data)"));
    QCOMPARE(textOf(findItem(dockerRow, QStringLiteral("safetyBadge"))), QStringLiteral("Caution"));
    QQuickItem *cacheRow = h.item(QStringLiteral("systemCategoryRow_packageManagerCache"));
    QVERIFY(!shown(findItem(cacheRow, QStringLiteral("safetyBadge"))));
    QVERIFY(!shown(findItem(cacheRow, QStringLiteral("categoryDetail"))));

    QQuickItem *hiddenLine = h.item(QStringLiteral("hiddenCategoriesLine"));
    QVERIFY(hiddenLine);
    QCOMPARE(shown(hiddenLine), hidden > 0);
    if (hidden > 0)
        QCOMPARE(textOf(hiddenLine), line);
}

void WindowTest::errorAlert_withoutMessage_showsFallback()
{
    Harness h;
    QVERIFY(h.start());
    h.vm().setShowErrorAlert(true);
    QObject *error = h.dialog(QStringLiteral("errorDialog"));
    QTRY_VERIFY(error->property("opened").toBool());
    QCOMPARE(textOf(error->property("contentItem").value<QQuickItem *>()),
             QStringLiteral("An unknown error occurred"));
    QTest::keyClick(h.window(), Qt::Key_Escape);
    QTRY_VERIFY(!h.vm().showErrorAlert());
}

void WindowTest::dividerPosition_keptAcrossLaunches()
{
    Harness h;
    QVERIFY(h.start());
    QQuickItem *sidebar = h.item(QStringLiteral("sidebar"));
    QVERIFY(sidebar);
    const qreal start = sidebar->width();

    // Drag the divider far to the right: the sidebar stops at its widest.
    // The grip reaches a few points beyond the hairline.
    const QPoint handle(qRound(sidebar->mapToScene(QPointF(sidebar->width(), 0)).x()) + 2, 300);
    QTest::mouseMove(h.window(), handle);
    QTest::mousePress(h.window(), Qt::LeftButton, Qt::NoModifier, handle);
    for (int x = handle.x(); x <= handle.x() + 400; x += 20)
        QTest::mouseMove(h.window(), QPoint(x, 300));
    QTest::mouseRelease(h.window(), Qt::LeftButton, Qt::NoModifier, QPoint(handle.x() + 400, 300));
    QTRY_COMPARE(sidebar->width(), 400.0);
    QVERIFY(start < 400);

    // The next window opens with the same divider.
    h.app.reset();
    QVERIFY(h.start());
    QQuickItem *reopened = h.item(QStringLiteral("sidebar"));
    QVERIFY(reopened);
    QTRY_COMPARE(reopened->width(), 400.0);
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"

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

using namespace Qt::StringLiterals;

namespace {

// Every item under root (root included) with that object name, depth first.
QList<QQuickItem *> itemsNamed(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> found;
    if (root && root->objectName() == name)
        found.append(root);
    for (QQuickItem *child : root ? root->childItems() : QList<QQuickItem *>())
        found += itemsNamed(child, name);
    return found;
}

QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    const QList<QQuickItem *> found = itemsNamed(root, name);
    return found.isEmpty() ? nullptr : found.first();
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
    UrlCatcher() { QDesktopServices::setUrlHandler(u"file"_s, this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(u"file"_s); }

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
        return itemsNamed(window()->contentItem(), name);
    }
    QObject *dialog(const QString &name) const { return window()->findChild<QObject *>(name); }
    QQuickItem *dialogPart(const QString &dialogName, const char *part, const QString &name) const
    {
        QObject *popup = dialog(dialogName);
        return popup ? findItem(popup->property(part).value<QQuickItem *>(), name) : nullptr;
    }
    // The text a dialog shows in one of its parts ("header", "contentItem").
    QString dialogText(const QString &dialogName, const char *part) const
    {
        QObject *popup = dialog(dialogName);
        return popup ? textOf(popup->property(part).value<QQuickItem *>()) : QString();
    }

    void click(QQuickItem *target) const
    {
        // Let layouts place whatever just appeared before aiming at it.
        QTest::qWait(30);
        const QPointF centre =
            target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }

    // Three applications, one in the home folder's Applications folder, with leftovers.
    void addApplications() const
    {
        const QString applications = sandbox.systemPath(u"/Applications"_s);
        sandbox.makeAppBundle(applications, u"Alpha Editor.app"_s,
                              {{u"CFBundleIdentifier"_s, u"com.alpha.editor"_s},
                               {u"CFBundleName"_s, u"Alpha Editor"_s}});
        sandbox.makeAppBundle(applications, u"Beta Player.app"_s,
                              {{u"CFBundleIdentifier"_s, u"org.beta.player"_s},
                               {u"CFBundleName"_s, u"Beta Player"_s}},
                              Sandbox::PlistFormat::binary);
        sandbox.makeAppBundle(sandbox.homePath(u"Applications"_s), u"Gamma Notes.app"_s,
                              {{u"CFBundleIdentifier"_s, u"net.gamma.notes"_s},
                               {u"CFBundleName"_s, u"Gamma Notes"_s}});
        sandbox.writeFileOfSize(sandbox.homePath(u"Library/Preferences/com.alpha.editor.plist"_s),
                                700);
        sandbox.writeFileOfSize(sandbox.homePath(u"Library/Caches/com.alpha.editor/Cache.db"_s),
                                300000);
        sandbox.writeFileOfSize(
            sandbox.homePath(u"Library/Application Support/Alpha Editor/data.db"_s), 120000);
    }
};

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void placeholders_followSection();
    void missingTool_disablesSectionAndShowsNotFound();
    void search_filtersAndQuotesQuery();
    void applicationFlow_scanTickConfirmAndBanner();
    void packageUninstall_disablesControlsWhileRunning();
    void systemData_rowsBadgesAndHiddenLine();
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

void WindowTest::placeholders_followSection()
{
    Harness h;
    h.machine.installBrew();
    h.machine.installNPM();
    QVERIFY(h.start());

    const QList<QStringList> sections{
        {"npm", "Select a package",
         "Choose a package from the sidebar to scan\nfor npm-related files"},
        {"Brew", "Select a package",
         "Choose a package from the sidebar to scan\nfor Homebrew-related files"},
        {"System Data", "Scan System Data",
         "Click 'Scan System Data' in the sidebar\nto analyze storage usage by category."},
        {"Applications", "Select an app",
         "Choose an app from the sidebar to scan\nfor associated files"}};
    for (const QStringList &section : sections) {
        QQuickItem *button = h.item(u"sectionButton_"_s + section.at(0));
        QVERIFY2(button && button->isEnabled(), qPrintable(section.at(0)));
        h.click(button);
        QVERIFY(h.settle());
        QCOMPARE(h.vm().currentSectionRaw(), section.at(0));
        QQuickItem *placeholder = h.item(u"detailPlaceholder"_s);
        QVERIFY(shown(placeholder));
        QCOMPARE(placeholder->property("title").toString(), section.at(1));
        QCOMPARE(placeholder->property("detail").toString(), section.at(2));
        QVERIFY(!shown(h.item(u"moveToTrashButton"_s)));
    }
}

void WindowTest::missingTool_disablesSectionAndShowsNotFound()
{
    Harness h; // no npm anywhere, and no "which" that could find one
    QVERIFY(h.start());
    QQuickItem *npmButton = h.item(u"sectionButton_npm"_s);
    QVERIFY(npmButton);
    QVERIFY(!npmButton->isEnabled());
    h.click(npmButton);
    QVERIFY(h.settle());
    QCOMPARE(h.vm().currentSectionRaw(), u"Applications"_s);

    // Reached anyway (the view model allows it), the list explains what is missing, also while
    // a search text is present, and the cache bar still shows a size.
    h.vm().selectSection(SidebarSection::npm);
    h.vm().search(u"type"_s);
    QVERIFY(h.settle());
    QQuickItem *empty = h.item(u"listEmptyState"_s);
    QVERIFY(shown(empty));
    QCOMPARE(empty->property("title").toString(), u"npm not found"_s);
    QCOMPARE(empty->property("detail").toString(), u"npm is not installed on this system"_s);
    QCOMPARE(textOf(h.item(u"cacheSize"_s)), formatByteCount(0));
}

void WindowTest::search_filtersAndQuotesQuery()
{
    Harness h;
    h.addApplications();
    QVERIFY(h.start());
    QStringList headers;
    for (QQuickItem *header : h.items(u"sectionHeader"_s))
        headers.append(textOf(header));
    QCOMPARE(headers, QStringList({u"User Applications"_s, u"Applications"_s}));

    QQuickItem *field = h.item(u"searchField"_s);
    QVERIFY(field);
    h.click(field);
    QTRY_VERIFY(field->hasActiveFocus());
    QVERIFY(!shown(h.item(u"clearSearchButton"_s)));

    // Every keystroke filters; the user section disappears with its last row.
    typeText(h.window(), "be");
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(u"appRow_Beta Player"_s)));
    QVERIFY(!h.item(u"appRow_Alpha Editor"_s));
    QVERIFY(!h.item(u"appRow_Gamma Notes"_s));

    // No match: the query is quoted exactly as typed, spaces and letter case kept.
    typeText(h.window(), " ZZ");
    QVERIFY(h.settle());
    QQuickItem *empty = h.item(u"listEmptyState"_s);
    QTRY_VERIFY(shown(empty));
    QCOMPARE(empty->property("title").toString(), u"No results"_s);
    QCOMPARE(empty->property("detail").toString(), u"No apps match 'be ZZ'"_s);

    // The clear button empties the field and brings every application back.
    h.click(h.item(u"clearSearchButton"_s));
    QVERIFY(h.settle());
    QCOMPARE(textOf(field), QString());
    QCOMPARE(h.vm().searchQuery(), QString());
    QTRY_VERIFY(shown(h.item(u"appRow_Gamma Notes"_s)));
    QVERIFY(!shown(h.item(u"listEmptyState"_s)));
}

void WindowTest::applicationFlow_scanTickConfirmAndBanner()
{
    Harness h;
    h.addApplications();
    QVERIFY(h.start());
    UrlCatcher catcher;

    QQuickItem *row = h.item(u"appRow_Alpha Editor"_s);
    QVERIFY(row);
    h.click(row);
    QVERIFY(h.settle());
    QTRY_VERIFY(row->property("isSelected").toBool());
    QCOMPARE(textOf(h.item(u"detailTitle"_s)), u"Alpha Editor"_s);
    QCOMPARE(textOf(h.item(u"detailSubtitle"_s)), u"com.alpha.editor"_s);
    for (const QString &category :
         {u"appBundle"_s, u"preferences"_s, u"caches"_s, u"applicationSupport"_s}) {
        QTRY_VERIFY2(shown(h.item(u"fileGroup_"_s + category)), qPrintable(category));
    }
    QVERIFY(!shown(h.item(u"detailBusyState"_s)));

    // Folding a group hides its rows and keeps its header and toggle.
    QQuickItem *caches = h.item(u"fileGroup_caches"_s);
    QVERIFY(shown(findItem(caches, u"fileRow_com.alpha.editor"_s)));
    h.click(findItem(caches, u"groupHeader_caches"_s));
    QTRY_VERIFY(!shown(findItem(caches, u"fileRow_com.alpha.editor"_s)));
    QVERIFY(shown(findItem(caches, u"groupToggle_caches"_s)));

    // The sort button flips the flag and its own label.
    QQuickItem *sort = h.item(u"sortButton"_s);
    QCOMPARE(textOf(sort), u"Sort by Size"_s);
    h.click(sort);
    QTRY_COMPARE(textOf(sort), u"Sort by Name"_s);
    QVERIFY(h.vm().sortBySize());

    // Application files start unticked: the footer sums everything and removal is off.
    QCOMPARE(h.vm().fileGroupsFileCount(), 4);
    QQuickItem *footer = h.item(u"footerSummary"_s);
    QCOMPARE(textOf(footer),
             u"Total: %1 in 4 file(s)"_s.arg(formatByteCount(h.vm().fileGroupsTotalSize())));
    QQuickItem *trashButton = h.item(u"moveToTrashButton"_s);
    QVERIFY(!trashButton->isEnabled());

    // Ticking the bundle ticks everything.
    QQuickItem *bundleRow = h.item(u"fileRow_Alpha Editor.app"_s);
    QVERIFY(bundleRow);
    h.click(findItem(bundleRow, u"fileCheckBox"_s));
    QVERIFY(h.settle());
    QTRY_COMPARE(h.vm().totalSelectedCount(), 4);
    const QList<QQuickItem *> boxes = h.items(u"fileCheckBox"_s);
    QCOMPARE(boxes.size(), 4);
    for (QQuickItem *box : boxes)
        QVERIFY(box->property("checked").toBool());
    // Sorting rebuilt the group delegates: look them up again from here on.
    QCOMPARE(h.items(u"groupToggle_caches"_s).size(), 1);
    QCOMPARE(textOf(h.item(u"groupToggle_caches"_s)), u"Deselect All"_s);
    QCOMPARE(textOf(footer),
             u"4 file(s) selected (%1)"_s.arg(formatByteCount(h.vm().totalSelectedSize())));
    QVERIFY(trashButton->isEnabled());

    // A group's toggle then drops that group only; only the cache is left after a round trip.
    h.click(h.item(u"groupToggle_caches"_s));
    QVERIFY(h.settle());
    QTRY_COMPARE(h.vm().totalSelectedCount(), 3);
    QCOMPARE(textOf(h.item(u"groupToggle_caches"_s)), u"Select All"_s);
    QVERIFY(textOf(footer).startsWith(u"3 file(s) selected ("_s));
    h.click(h.item(u"deselectAllButton"_s));
    QVERIFY(h.settle());
    h.click(h.item(u"groupToggle_caches"_s));
    QVERIFY(h.settle());
    QTRY_COMPARE(h.vm().totalSelectedCount(), 1);

    // The confirmation shows the view model's text; Cancel removes nothing.
    QObject *confirm = h.dialog(u"confirmDialog"_s);
    QVERIFY(confirm);
    h.click(trashButton);
    QTRY_VERIFY(confirm->property("opened").toBool());
    QVERIFY(h.vm().showDeleteConfirmation());
    QCOMPARE(h.dialogText(u"confirmDialog"_s, "header"), u"Confirm"_s);
    QCOMPARE(h.dialogText(u"confirmDialog"_s, "contentItem"), h.vm().deleteConfirmationMessage());
    QVERIFY(h.vm().deleteConfirmationMessage().startsWith(u"Move 1 item(s) ("_s));
    QQuickItem *action = h.dialogPart(u"confirmDialog"_s, "footer", u"dialogActionButton"_s);
    QCOMPARE(textOf(action), u"Move to Trash"_s);
    QQuickItem *cancel = h.dialogPart(u"confirmDialog"_s, "footer", u"dialogCancelButton"_s);
    QCOMPARE(textOf(cancel), u"Cancel"_s);
    h.click(cancel);
    QTRY_VERIFY(!confirm->property("visible").toBool());
    QVERIFY(!h.vm().showDeleteConfirmation());
    const QString cache = h.sandbox.homePath(u"Library/Caches/com.alpha.editor"_s);
    QVERIFY(QFileInfo::exists(cache));
    QVERIFY(!shown(h.item(u"resultBanner"_s)));

    h.click(trashButton);
    QTRY_VERIFY(confirm->property("opened").toBool());
    h.click(action);
    QVERIFY(h.settle());

    // The banner tells what happened (it lives 3 seconds: use it first); the cache went to the
    // sandbox's Trash and the application was searched again.
    QQuickItem *banner = h.item(u"resultBanner"_s);
    QTRY_VERIFY(shown(banner));
    h.click(h.item(u"openTrashButton"_s));
    const QString trash = h.sandbox.homePath(u".local/share/Trash/files"_s);
    QTRY_COMPARE(catcher.urls.size(), 1);
    QCOMPARE(catcher.urls.first(), QUrl::fromLocalFile(trash));
    QVERIFY(textOf(h.item(u"resultText"_s)).startsWith(u"Moved 1 item(s) to Trash"_s));
    QVERIFY(!QFileInfo::exists(cache));
    QVERIFY(QFileInfo::exists(trash + u"/com.alpha.editor"_s));
    QVERIFY(!h.item(u"fileGroup_caches"_s));
    QVERIFY(shown(h.item(u"fileGroup_preferences"_s)));
    // The line goes away when the view model drops it.
    QTRY_VERIFY_WITH_TIMEOUT(!shown(banner), 8000);
}

void WindowTest::packageUninstall_disablesControlsWhileRunning()
{
    Harness h;
    // A brew whose uninstall takes a moment and really removes the formula.
    const QString cellar = h.sandbox.systemPath(u"/opt/homebrew/Cellar"_s);
    h.sandbox.writeScript(h.sandbox.systemPath(u"/opt/homebrew/bin/brew"_s),
                          QStringLiteral("[ \"$1\" = uninstall ] || exit 0\nsleep 1.5\n"
                                         "rm -rf '%1/wget'\necho 'Uninstalling wget'")
                              .arg(cellar));
    h.machine.addFormula(u"wget"_s, {{u"1.24.5"_s}});
    h.machine.addHomebrewFile(u"etc/wgetrc"_s, 5000);
    QVERIFY(h.start());

    QQuickItem *brewButton = h.item(u"sectionButton_Brew"_s);
    QVERIFY(brewButton->isEnabled());
    h.click(brewButton);
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(u"brewRow_wget"_s)));
    QCOMPARE(textOf(findItem(h.item(u"brewRow_wget"_s), u"typeBadge"_s)), u"Formula"_s);
    h.click(h.item(u"brewRow_wget"_s));
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(u"fileGroup_homebrewCellar"_s)));

    // Package files start ticked and are removed by the package manager.
    QQuickItem *cellarRow = findItem(h.item(u"fileGroup_homebrewCellar"_s), u"fileRow_wget"_s);
    QVERIFY(cellarRow);
    QCOMPARE(textOf(findItem(cellarRow, u"fileDetail"_s)), u"Removed via package manager"_s);
    QCOMPARE(h.vm().totalSelectedCount(), h.vm().fileGroupsFileCount());

    h.click(h.item(u"moveToTrashButton"_s));
    QObject *confirm = h.dialog(u"confirmDialog"_s);
    QTRY_VERIFY(confirm->property("opened").toBool());
    QVERIFY(h.dialogText(u"confirmDialog"_s, "contentItem")
                .startsWith(u"Run \"brew uninstall wget\" \u00B7 Move 1 item(s) ("_s));
    QQuickItem *action = h.dialogPart(u"confirmDialog"_s, "footer", u"dialogActionButton"_s);
    QCOMPARE(textOf(action), u"Uninstall & Remove"_s);
    h.click(action);

    // While brew runs, the pane is busy and nothing can be ticked, sorted or removed.
    QTRY_VERIFY(h.vm().isScanning());
    QVERIFY(shown(h.item(u"detailBusyState"_s)));
    for (const QString &name :
         {u"selectAllButton"_s, u"deselectAllButton"_s, u"sortButton"_s, u"moveToTrashButton"_s}) {
        QQuickItem *control = h.item(name);
        QVERIFY2(control, qPrintable(name));
        QVERIFY2(!control->isEnabled(), qPrintable(name));
    }

    QVERIFY(h.settle());
    QTRY_VERIFY(!h.vm().isScanning());
    QVERIFY(!QFileInfo::exists(cellar + u"/wget"_s));
    QTRY_VERIFY(!h.item(u"brewRow_wget"_s));
    QCOMPARE(h.item(u"detailPlaceholder"_s)->property("title").toString(), u"Select a package"_s);
}

void WindowTest::systemData_rowsBadgesAndHiddenLine()
{
    Harness h;
    QVERIFY(h.machine.addHomeFolderOfSize(u"Library/Developer/Xcode/DerivedData"_s,
                                          100LL * 1024 * 1024));
    QVERIFY(h.machine.addHomeFolderOfSize(u"Library/Developer/Xcode/Archives"_s, 64 * 4096));
    QVERIFY(h.machine.addHomeFolderOfSize(u"Library/Logs/DiagnosticReports"_s, 16 * 4096));
    h.machine.installXcode();
    h.machine.installTmutil("Snapshots for disk /:\n"
                            "com.apple.TimeMachine.2026-03-14-093012.local\n"
                            "com.apple.TimeMachine.2026-03-14-103044.local\n");
    QVERIFY(h.start());

    h.click(h.item(u"sectionButton_System Data"_s));
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(u"systemCategoryRow_xcodeDerivedData"_s)));
    QVERIFY(!shown(h.item(u"systemScanningState"_s)));
    QVERIFY(shown(h.item(u"systemTotalBar"_s)));
    QCOMPARE(textOf(h.item(u"systemTotal"_s)), formatByteCount(h.vm().systemDataTotalSize()));

    QQuickItem *derived = h.item(u"systemCategoryRow_xcodeDerivedData"_s);
    QCOMPARE(textOf(findItem(derived, u"safetyBadge"_s)), u"Safe to clean"_s);
    QVERIFY(!shown(findItem(derived, u"categoryDetail"_s)));
    QQuickItem *snapshots = h.item(u"systemCategoryRow_timeMachineSnapshots"_s);
    QVERIFY(shown(snapshots));
    QCOMPARE(textOf(findItem(snapshots, u"safetyBadge"_s)), u"Review first"_s);
    QCOMPARE(textOf(findItem(snapshots, u"categorySize"_s)), u"2 snapshots"_s);
    QCOMPARE(textOf(findItem(snapshots, u"categoryDetail"_s)), u"2 items"_s);

    QQuickItem *hidden = h.item(u"hiddenCategoriesLine"_s);
    QVERIFY(shown(hidden));
    QVERIFY(h.vm().hiddenSystemCategoryCount() >= 2);

    // A click opens the category in the detail pane, all ticked, without the package controls.
    h.click(derived);
    QVERIFY(h.settle());
    QTRY_VERIFY(derived->property("isSelected").toBool());
    QCOMPARE(textOf(h.item(u"detailTitle"_s)), u"Xcode DerivedData"_s);
    QCOMPARE(textOf(h.item(u"detailSubtitle"_s)),
             u"1 item \u00B7 %1"_s.arg(formatByteCount(h.vm().fileGroupsTotalSize())));
    QVERIFY(shown(h.item(u"fileGroup_xcodeDerivedData"_s)));
    QVERIFY(!shown(h.item(u"sortButton"_s)));
    QVERIFY(!shown(h.item(u"selectAllButton"_s)));
    QVERIFY(h.item(u"moveToTrashButton"_s)->isEnabled());

    // Snapshots cannot go to the Trash: the confirmation warns, and the error alert lists them.
    h.click(snapshots);
    QVERIFY(h.settle());
    QTRY_VERIFY(shown(h.item(u"fileGroup_timeMachineSnapshots"_s)));
    h.click(h.item(u"moveToTrashButton"_s));
    QObject *confirm = h.dialog(u"confirmDialog"_s);
    QTRY_VERIFY(confirm->property("opened").toBool());
    QVERIFY(h.dialogText(u"confirmDialog"_s, "contentItem")
                .endsWith(QStringLiteral("\n\n\u26A0\uFE0F This includes system data that may "
                                         "not be recoverable. Make sure you have backups.")));
    h.click(h.dialogPart(u"confirmDialog"_s, "footer", u"dialogActionButton"_s));
    QVERIFY(h.settle());
    QObject *error = h.dialog(u"errorDialog"_s);
    QTRY_VERIFY(error->property("opened").toBool());
    QCOMPARE(h.dialogText(u"errorDialog"_s, "header"), u"Error"_s);
    QVERIFY(h.dialogText(u"errorDialog"_s, "contentItem")
                .startsWith(u"Failed to remove 2 file(s):\n/: "_s));
    QQuickItem *ok = h.dialogPart(u"errorDialog"_s, "footer", u"dialogCancelButton"_s);
    QCOMPARE(textOf(ok), u"OK"_s);
    QVERIFY(!shown(h.dialogPart(u"errorDialog"_s, "footer", u"dialogActionButton"_s)));
    h.click(ok);
    QTRY_VERIFY(!h.vm().showErrorAlert());

    // A result as the scanner would deliver it: Docker data in two places, a one-file cache;
    // the hidden line follows the count, singular, plural or gone.
    const QString docker = h.sandbox.homePath(u"Library/Containers/com.docker.docker/Data"_s);
    const QList<FileGroup> result{
        FileGroup(FileCategory::dockerData,
                  {AssociatedFile(docker, u"Docker Desktop"_s, FileCategory::dockerData, 300000000),
                   AssociatedFile(h.sandbox.homePath(u".orbstack"_s), u"OrbStack"_s,
                                  FileCategory::dockerData, 200000000)}),
        FileGroup(FileCategory::packageManagerCache,
                  {AssociatedFile(h.sandbox.homePath(u"Library/Caches/pip"_s), u"pip"_s,
                                  FileCategory::packageManagerCache, 150000000)})};
    const QList<std::pair<int, QString>> counts{{1, u"1 category under 100 MB hidden"_s},
                                                {3, u"3 categories under 100 MB hidden"_s},
                                                {0, QString()}};
    for (const auto &[count, line] : counts) {
        h.vm().applySystemDataResult(result, count);
        QVERIFY(h.settle());
        QTRY_COMPARE(shown(h.item(u"hiddenCategoriesLine"_s)), count > 0);
        if (count > 0)
            QCOMPARE(textOf(h.item(u"hiddenCategoriesLine"_s)), line);
    }
    QQuickItem *dockerRow = h.item(u"systemCategoryRow_dockerData"_s);
    QVERIFY(shown(dockerRow));
    QCOMPARE(textOf(findItem(dockerRow, u"categoryDetail"_s)),
             u"Containers, images & volumes (Docker Desktop data)"_s);
    QCOMPARE(textOf(findItem(dockerRow, u"safetyBadge"_s)), u"Caution"_s);
    QQuickItem *cacheRow = h.item(u"systemCategoryRow_packageManagerCache"_s);
    QVERIFY(!shown(findItem(cacheRow, u"safetyBadge"_s)));
    QVERIFY(!shown(findItem(cacheRow, u"categoryDetail"_s)));
}

void WindowTest::errorAlert_withoutMessage_showsFallback()
{
    Harness h;
    QVERIFY(h.start());
    h.vm().setShowErrorAlert(true);
    QObject *error = h.dialog(u"errorDialog"_s);
    QTRY_VERIFY(error->property("opened").toBool());
    QCOMPARE(h.dialogText(u"errorDialog"_s, "contentItem"), u"An unknown error occurred"_s);
    QTest::keyClick(h.window(), Qt::Key_Escape);
    QTRY_VERIFY(!h.vm().showErrorAlert());
}

void WindowTest::dividerPosition_keptAcrossLaunches()
{
    Harness h;
    QVERIFY(h.start());
    QQuickItem *sidebar = h.item(u"sidebar"_s);
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
    QQuickItem *reopened = h.item(u"sidebar"_s);
    QVERIFY(reopened);
    QTRY_COMPARE(reopened->width(), 400.0);
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"

// The real window (Main.qml and everything under it) over a view model on a sandbox machine,
// offscreen: what a user sees and what the controls do.

#include "app/VerloApp.h"
#include "demo/MachineBuilder.h"
#include "tests/support/Sandbox.h"
#include "ui/SymbolImageProvider.h"
#include "viewmodel/ContentViewModel.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QQuickItem>
#include <QQuickWindow>
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

// Every text item under root that would read markup in what it shows ("<b>", "<img src=...>").
QStringList markupTexts(QQuickItem *root)
{
    QStringList found;
    if (const QVariant format = root->property("textFormat");
        format.isValid() && root->inherits("QQuickText") &&
        !root->inherits("QQuickPlaceholderText") /* a fixed hint */ &&
        format.toInt() != 0 /* PlainText */)
        found.append(root->objectName() + u": "_s + textOf(root));
    for (QQuickItem *child : root->childItems())
        found += markupTexts(child);
    return found;
}

bool shown(const QQuickItem *item)
{
    return item && item->isVisible() && item->width() > 0 && item->height() > 0;
}

// The texts of the named parts under root, "-" for a part not shown, joined by " | ".
QString texts(QQuickItem *root, const QStringList &parts)
{
    QStringList result;
    for (const QString &part : parts) {
        QQuickItem *item = findItem(root, part);
        result.append(shown(item) ? textOf(item) : u"-"_s);
    }
    return result.join(u" | "_s);
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
        if (!app->start() || !app->window() || !QTest::qWaitForWindowExposed(app->window()))
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
    QString text(const QString &name) const { return textOf(item(name)); }
    bool visible(const QString &name) const { return shown(item(name)); }
    // A placeholder or empty state as "title | detail", or "-" when it is not shown.
    QString state(const QString &name) const
    {
        const QQuickItem *shownItem = shown(item(name)) ? item(name) : nullptr;
        return shownItem ? shownItem->property("title").toString() + u" | "_s +
                               shownItem->property("detail").toString()
                         : u"-"_s;
    }
    QString texts(const QStringList &parts) const
    {
        return ::texts(window()->contentItem(), parts);
    }

    // Clicks the centre of target (a name or an item), then waits for the work it started.
    bool click(const QString &name) const { return click(item(name)); }
    bool click(QQuickItem *target, bool thenSettle = true) const
    {
        // Let layouts place whatever just appeared before aiming at it.
        QTest::qWait(30);
        if (!target)
            return false;
        const QPointF centre =
            target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        return !thenSettle || settle();
    }

    // Waits for the dialog to open; then its "header | text | action | cancel", "-" for a
    // button not shown.
    QString openedDialog(const QString &name) const
    {
        QObject *popup = window()->findChild<QObject *>(name);
        if (!popup || !QTest::qWaitFor([popup] { return popup->property("opened").toBool(); }))
            return u"not opened"_s;
        auto part = [popup](const char *part) {
            return popup->property(part).value<QQuickItem *>();
        };
        return QStringList{
            textOf(part("header")), textOf(part("contentItem")),
            ::texts(part("footer"), {u"dialogActionButton"_s, u"dialogCancelButton"_s})}
            .join(u" | "_s);
    }
    bool clickInDialog(const QString &dialog, const QString &button, bool thenSettle = true) const
    {
        QObject *popup = window()->findChild<QObject *>(dialog);
        return popup &&
               click(findItem(popup->property("footer").value<QQuickItem *>(), button), thenSettle);
    }
};

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The divider position is stored with QSettings, under XDG_CONFIG_HOME: keep it out of the
        // real configuration, in one folder for the whole run (QSettings settles its folder once,
        // and Qt Test's own settings folder would follow each sandbox's HOME).
        QVERIFY(m_config.isValid());
        QStandardPaths::setTestModeEnabled(false);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        VerloApp::describeApplication();

        // A task bar matches the window to the installed desktop entry by its id and shows the
        // same drawing: the blue tile with the white box.
        QCOMPARE(QGuiApplication::desktopFileName(), u"io.github.verlo.Verlo"_s);
        const QImage icon = QGuiApplication::windowIcon().pixmap(64).toImage();
        QCOMPARE(icon.size(), QSize(64, 64));
        const QColor tile = icon.pixelColor(8, 32);
        const QColor box = icon.pixelColor(32, 46);
        QVERIFY2(tile.blue() > 200 && tile.red() < 100, qPrintable(tile.name()));
        QVERIFY2(box.red() > 240 && box.green() > 240 && box.blue() > 240, qPrintable(box.name()));
    }

    void cleanupTestCase()
    {
        // Every symbol any view asked for during these tests is in the table.
        QCOMPARE(SymbolImageProvider::unknownNames(), QStringList());
    }

    void sections_placeholdersAndDividerKeptAcrossLaunches()
    {
        Harness h;
        h.machine.installBrew();
        h.machine.installNPM();
        QVERIFY(h.start());

        const QList<std::pair<QString, QString>> sections{
            {"npm",
             "Select a package | Choose a package from the sidebar to scan\nfor npm-related files"},
            {"Brew", "Select a package | Choose a package from the sidebar to scan\nfor "
                     "Homebrew-related files"},
            {"System Data",
             "Scan System Data | Click 'Scan System Data' in the sidebar\nto analyze "
             "storage usage by category."},
            {"Leftovers", "Select a leftover | Choose what a removed program left behind\nto "
                          "see its files"},
            {"Applications",
             "Select an app | Choose an app from the sidebar to scan\nfor associated "
             "files"}};
        for (const auto &[section, placeholder] : sections) {
            QVERIFY2(h.item(u"sectionButton_"_s + section)->isEnabled(), qPrintable(section));
            QVERIFY(h.click(u"sectionButton_"_s + section));
            QCOMPARE(h.vm().currentSectionTitle() + u": "_s + h.state(u"detailPlaceholder"_s),
                     section + u": "_s + placeholder);
            QVERIFY(!h.visible(u"moveToTrashButton"_s));
        }

        // Drag the divider far to the right: the sidebar stops at its widest. The grip reaches a
        // few points beyond the hairline.
        QQuickItem *sidebar = h.item(u"sidebar"_s);
        QVERIFY(sidebar && sidebar->width() < 400);
        const QPoint handle(qRound(sidebar->mapToScene(QPointF(sidebar->width(), 0)).x()) + 2, 300);
        QTest::mouseMove(h.window(), handle);
        QTest::mousePress(h.window(), Qt::LeftButton, Qt::NoModifier, handle);
        for (int x = handle.x(); x <= handle.x() + 400; x += 20)
            QTest::mouseMove(h.window(), QPoint(x, 300));
        QTest::mouseRelease(h.window(), Qt::LeftButton, Qt::NoModifier,
                            QPoint(handle.x() + 400, 300));
        QTRY_COMPARE(sidebar->width(), 400.0);

        // The next window opens with the same divider.
        h.app.reset();
        QVERIFY(h.start());
        QVERIFY(h.item(u"sidebar"_s));
        QTRY_COMPARE(h.item(u"sidebar"_s)->width(), 400.0);
    }

    // The Leftovers section: its empty state, a row of what a gone program left with its
    // certainty, the row's files unticked under a header with Keep, and the folded Keep list that
    // lists it again.
    void leftovers_rowsEmptyStateAndKeepList()
    {
        Harness h;
        QVERIFY(h.start());
        QVERIFY(h.click(u"sectionButton_Leftovers"_s));
        QCOMPARE(h.state(u"listEmptyState"_s),
                 u"No leftovers found | Everything in the places Verlo searches belongs to "
                 "something installed"_s);

        h.sandbox.writeFileOfSize(h.sandbox.homePath(".config/sketchpad/settings.ini"), 2000);
        QVERIFY(h.click(u"sectionButton_Applications"_s) && h.click(u"sectionButton_Leftovers"_s));
        QQuickItem *row = h.item(u"leftoverRow_sketchpad"_s);
        QVERIFY(shown(row));
        QCOMPARE(::texts(row, {u"rowTitle"_s, u"certaintyBadge"_s}), u"sketchpad | Likely"_s);
        QVERIFY(h.click(row));
        QCOMPARE(h.text(u"detailTitle"_s), u"sketchpad"_s);
        QVERIFY(h.text(u"detailNote"_s).contains(u"is named sketchpad"_s));
        QCOMPARE(h.vm().totalSelectedCount(), 0);
        QVERIFY(h.click(u"keepButton"_s));
        QVERIFY(!shown(h.item(u"leftoverRow_sketchpad"_s)) && h.visible(u"detailPlaceholder"_s));
        QVERIFY(h.visible(u"listEmptyState"_s));
        QVERIFY(h.click(u"keptToggle"_s));
        QVERIFY(h.visible(u"keptRow_sketchpad"_s));
        QVERIFY(h.click(u"stopKeeping_sketchpad"_s));
        QVERIFY(shown(h.item(u"leftoverRow_sketchpad"_s)) && !h.visible(u"keptToggle"_s));
    }

    void applications_missingToolSearchAlertAndRemoval()
    {
        Harness h; // no npm anywhere, and no "which" that could find one
        // Three applications, one in the home folder's Applications folder, with leftovers.
        const QString applications = h.sandbox.systemPath(u"/Applications"_s);
        h.sandbox.makeAppBundle(applications, u"Alpha Editor.app"_s,
                                {{u"CFBundleIdentifier"_s, u"com.alpha.editor"_s},
                                 {u"CFBundleName"_s, u"Alpha Editor"_s}});
        h.sandbox.makeAppBundle(applications, u"Beta Player.app"_s,
                                {{u"CFBundleName"_s, u"Beta Player"_s}},
                                Sandbox::PlistFormat::binary);
        h.sandbox.makeAppBundle(h.sandbox.homePath(u"Applications"_s), u"Gamma Notes.app"_s,
                                {{u"CFBundleName"_s, u"Gamma Notes"_s}});
        // 435 kB in all: the bundle's Info.plist (a block), 700 bytes, and 75 and 30 blocks.
        h.sandbox.writeFileOfSize(
            h.sandbox.homePath(u"Library/Preferences/com.alpha.editor.plist"_s), 700);
        h.sandbox.writeFileOfSize(h.sandbox.homePath(u"Library/Caches/com.alpha.editor/Cache.db"_s),
                                  75 * 4096);
        h.sandbox.writeFileOfSize(
            h.sandbox.homePath(u"Library/Application Support/Alpha Editor/data.db"_s), 30 * 4096);
        QVERIFY(h.start());

        QVERIFY(!h.item(u"sectionButton_npm"_s)->isEnabled());
        QVERIFY(h.click(u"sectionButton_npm"_s));
        QCOMPARE(h.vm().currentSectionTitle(), u"Applications"_s);

        // Reached anyway (the view model allows it), the list explains what is missing, also while
        // a search text is present, and the cache bar still shows a size.
        h.vm().selectSection(SidebarSection::npm);
        h.vm().search(u"type"_s);
        QVERIFY(h.settle());
        QCOMPARE(h.state(u"listEmptyState"_s),
                 u"npm not found | npm is not installed on this system"_s);
        QCOMPARE(h.text(u"cacheSize"_s), u"0 bytes"_s);

        // An alert without a message shows a fallback text; Escape dismisses it.
        h.vm().selectSection(u"Applications"_s);
        QVERIFY(h.settle());
        h.vm().setShowErrorAlert(true);
        QCOMPARE(h.openedDialog(u"errorDialog"_s), u"Error | An unknown error occurred | - | OK"_s);
        // Names, paths and tool output are shown as they are, never read as markup.
        QCOMPARE(markupTexts(h.window()->contentItem()).join(u", "_s), QString());
        QTest::keyClick(h.window(), Qt::Key_Escape);
        QTRY_VERIFY(!h.vm().showErrorAlert());

        QQuickItem *field = h.item(u"searchField"_s);
        QVERIFY(h.click(field));
        QTRY_VERIFY(field->hasActiveFocus());
        QVERIFY(!h.visible(u"clearSearchButton"_s));

        // Every keystroke filters; the user section disappears with its last row.
        typeText(h.window(), "be");
        QVERIFY(h.settle());
        QTRY_VERIFY(h.visible(u"appRow_Beta Player"_s));
        QVERIFY(!h.item(u"appRow_Alpha Editor"_s) && !h.item(u"appRow_Gamma Notes"_s));

        // No match: the query is quoted exactly as typed, spaces and letter case kept.
        typeText(h.window(), " ZZ");
        QVERIFY(h.settle());
        QTRY_COMPARE(h.state(u"listEmptyState"_s), u"No results | No apps match 'be ZZ'"_s);

        // The clear button empties the field and brings every application back.
        QVERIFY(h.click(u"clearSearchButton"_s));
        QCOMPARE(textOf(field) + h.vm().searchQuery(), QString());
        QTRY_VERIFY(h.visible(u"appRow_Gamma Notes"_s));
        QVERIFY(!h.visible(u"listEmptyState"_s));

        UrlCatcher catcher;

        // A row click scans the application: its header and groups, no busy state.
        QQuickItem *row = h.item(u"appRow_Alpha Editor"_s);
        QVERIFY(h.click(row));
        QTRY_VERIFY(row->property("isSelected").toBool());
        QCOMPARE(h.texts({u"detailTitle"_s, u"detailSubtitle"_s, u"detailBusyState"_s}),
                 u"Alpha Editor | com.alpha.editor | -"_s);
        for (const QString &category :
             {u"appBundle"_s, u"preferences"_s, u"caches"_s, u"applicationSupport"_s}) {
            QTRY_VERIFY2(h.visible(u"fileGroup_"_s + category), qPrintable(category));
        }

        // Application files start unticked: the footer sums everything and removal is off.
        QQuickItem *trashButton = h.item(u"moveToTrashButton"_s);
        QCOMPARE(h.text(u"footerSummary"_s), u"Total: 435 kB in 4 file(s)"_s);
        QVERIFY(!trashButton->isEnabled());

        // Ticking the bundle ticks everything.
        QVERIFY(h.click(findItem(h.item(u"fileRow_Alpha Editor.app"_s), u"fileCheckBox"_s)));
        QTRY_COMPARE(h.vm().totalSelectedCount(), 4);
        const QList<QQuickItem *> boxes = itemsNamed(h.window()->contentItem(), u"fileCheckBox"_s);
        QCOMPARE(boxes.size(), 4);
        for (QQuickItem *box : boxes)
            QVERIFY(box->property("checked").toBool());
        QCOMPARE(h.texts({u"groupToggle_caches"_s, u"footerSummary"_s}),
                 u"Deselect All | 4 file(s) selected (435 kB)"_s);
        QVERIFY(trashButton->isEnabled());

        // A group's toggle then drops that group only; only the cache is left after a round trip.
        QVERIFY(h.click(u"groupToggle_caches"_s));
        QTRY_COMPARE(h.vm().totalSelectedCount(), 3);
        QCOMPARE(h.text(u"groupToggle_caches"_s), u"Select All"_s);
        QCOMPARE(h.text(u"footerSummary"_s), u"3 file(s) selected (128 kB)"_s);
        QVERIFY(h.click(u"deselectAllButton"_s) && h.click(u"groupToggle_caches"_s));
        QTRY_COMPARE(h.vm().totalSelectedCount(), 1);
        // Space on a focused box ticks its file in place: the same row keeps its focus.
        QQuickItem *box = findItem(h.item(u"fileRow_com.alpha.editor.plist"_s), u"fileCheckBox"_s);
        box->forceActiveFocus();
        for (int expected : {2, 1}) {
            QTest::keyClick(h.window(), Qt::Key_Space);
            QTRY_COMPARE(h.vm().totalSelectedCount(), expected);
            QCOMPARE(findItem(h.item(u"fileRow_com.alpha.editor.plist"_s), u"fileCheckBox"_s), box);
            QVERIFY(box->hasActiveFocus());
        }

        // The confirmation shows the view model's text; Cancel removes nothing.
        QVERIFY(h.click(trashButton));
        QCOMPARE(
            h.openedDialog(u"confirmDialog"_s),
            u"Confirm | Move 1 item(s) (307 kB) to Trash. This cannot be undone. | Move to Trash "
            "| Cancel"_s);
        QVERIFY(h.clickInDialog(u"confirmDialog"_s, u"dialogCancelButton"_s));
        QTRY_VERIFY(!h.vm().showDeleteConfirmation());
        const QString cache = h.sandbox.homePath(u"Library/Caches/com.alpha.editor"_s);
        QVERIFY(QFileInfo::exists(cache) && !h.visible(u"resultBanner"_s));

        QVERIFY(h.click(trashButton));
        QVERIFY(h.openedDialog(u"confirmDialog"_s).startsWith(u"Confirm | "_s));
        QVERIFY(h.clickInDialog(u"confirmDialog"_s, u"dialogActionButton"_s));

        // The banner tells what happened (it lives 3 seconds: use it first); the cache went to the
        // sandbox's Trash and the application was searched again.
        QTRY_VERIFY(h.visible(u"resultBanner"_s));
        QQuickItem *banner = h.item(u"resultBanner"_s);
        QVERIFY(h.click(u"openTrashButton"_s));
        const QString trash = h.sandbox.homePath(u".local/share/Trash/files"_s);
        QTRY_COMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(trash)});
        QVERIFY(h.text(u"resultText"_s).startsWith(u"Moved 1 item(s) to Trash"_s));
        QVERIFY(!QFileInfo::exists(cache) && QFileInfo::exists(trash + u"/com.alpha.editor"_s));
        QVERIFY(!h.item(u"fileGroup_caches"_s) && h.visible(u"fileGroup_preferences"_s));
        // The line stays while it offers Put Back; Put Back brings the cache back, then the line
        // goes away when the view model drops it.
        QVERIFY(h.click(u"putBackButton"_s));
        QTRY_VERIFY(QFileInfo::exists(cache) && !h.visible(u"putBackButton"_s));
        QTRY_COMPARE(h.text(u"resultText"_s), u"Put back 1 item(s)"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!shown(banner), 8000);
    }

    void packageUninstall_disablesControlsWhileRunning()
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

        QVERIFY(h.click(u"sectionButton_Brew"_s));
        QTRY_VERIFY(h.visible(u"brewRow_wget"_s));
        QCOMPARE(texts(h.item(u"brewRow_wget"_s), {u"typeBadge"_s}), u"Formula"_s);
        QVERIFY(h.click(u"brewRow_wget"_s));
        QTRY_VERIFY(h.visible(u"fileGroup_homebrewCellar"_s));

        // Package files start ticked and are removed by the package manager.
        QCOMPARE(texts(findItem(h.item(u"fileGroup_homebrewCellar"_s), u"fileRow_wget"_s),
                       {u"fileDetail"_s}),
                 u"Removed via package manager"_s);
        QCOMPARE(h.vm().totalSelectedCount(), h.vm().fileGroupsFileCount());
        QVERIFY(h.click(u"moveToTrashButton"_s));
        QCOMPARE(
            h.openedDialog(u"confirmDialog"_s),
            u"Confirm | Run \"brew uninstall wget\" \u00B7 Move 1 item(s) (5 kB) to Trash. This "
            "cannot be undone. | Uninstall & Remove | Cancel"_s);
        QVERIFY(h.clickInDialog(u"confirmDialog"_s, u"dialogActionButton"_s, false));

        // While brew runs, the pane is busy and nothing can be ticked, sorted or removed.
        QTRY_VERIFY(h.vm().isScanning());
        QVERIFY(h.visible(u"detailBusyState"_s));
        for (const QString &name : {u"selectAllButton"_s, u"deselectAllButton"_s, u"sortButton"_s,
                                    u"moveToTrashButton"_s})
            QVERIFY2(h.item(name) && !h.item(name)->isEnabled(), qPrintable(name));

        QVERIFY(h.settle());
        QTRY_VERIFY(!h.vm().isScanning());
        QVERIFY(!QFileInfo::exists(cellar + u"/wget"_s));
        QTRY_VERIFY(!h.item(u"brewRow_wget"_s));
        QVERIFY(h.state(u"detailPlaceholder"_s).startsWith(u"Select a package | "_s));
    }

    void systemData_rowsBadgesAndHiddenLine()
    {
        Harness h;
        QVERIFY(h.machine.addHomeFolderOfSize(u"Library/Developer/Xcode/DerivedData"_s,
                                              100LL * 1024 * 1024));
        QVERIFY(h.machine.addHomeFolderOfSize(u"Library/Developer/Xcode/Archives"_s, 64 * 4096));
        QVERIFY(h.machine.addHomeFolderOfSize(u"Library/Logs/DiagnosticReports"_s, 16 * 4096));
        QVERIFY(h.machine.addHomeFolderOfSize(u"projects/site"_s, 100LL * 1024 * 1024));
        h.machine.installXcode();
        h.machine.installTmutil("Snapshots for disk /:\n"
                                "com.apple.TimeMachine.2026-03-14-093012.local\n"
                                "com.apple.TimeMachine.2026-03-14-103044.local\n");
        QVERIFY(h.start());

        QVERIFY(h.click(u"sectionButton_System Data"_s));
        QTRY_VERIFY(h.visible(u"systemCategoryRow_xcodeDerivedData"_s));
        QCOMPARE(
            h.texts({u"systemScanningState"_s, u"systemTotal"_s, u"hiddenCategoriesLine"_s,
                     u"smallerCategoriesButton"_s, u"homeProgress"_s}),
            u"- | 209.7 MB | 2 categories under 100 MB hidden | Show 2 smaller categories | -"_s);
        const QString coverage = h.vm().homeCoverage()->coverageText();
        QVERIFY(coverage.endsWith(u" in your home accounted for"_s));
        QCOMPARE(h.text(u"coverageLine"_s), coverage);
        // The small categories come as rows on request, open like any other, and go again.
        QVERIFY(!h.visible(u"systemCategoryRow_diagnosticReports"_s));
        QVERIFY(h.click(u"smallerCategoriesButton"_s));
        QTRY_VERIFY(h.visible(u"systemCategoryRow_diagnosticReports"_s));
        QCOMPARE(
            h.texts({u"hiddenCategoriesLine"_s, u"smallerCategoriesButton"_s, u"systemTotal"_s}),
            u"2 categories under 100 MB | Hide smaller categories | 209.7 MB"_s);
        QVERIFY(h.click(u"systemCategoryRow_diagnosticReports"_s));
        QTRY_VERIFY(h.visible(u"fileGroup_diagnosticReports"_s));
        QVERIFY(h.item(u"systemCategoryRow_diagnosticReports"_s)->property("isSelected").toBool());
        QVERIFY(h.click(u"smallerCategoriesButton"_s));
        QTRY_VERIFY(!h.visible(u"systemCategoryRow_xcodeArchives"_s));

        // A large folder opens to its own entries, unticked, with the way back.
        QVERIFY(h.click(u"systemCategoryRow_largeFolders"_s));
        QTRY_VERIFY(h.visible(u"fileRow_projects"_s));
        QVERIFY(!h.visible(u"folderTrail"_s) && h.vm().totalSelectedCount() == 0);
        QVERIFY(h.click(u"fileRow_projects"_s));
        QTRY_VERIFY(h.visible(u"fileRow_site"_s));
        QCOMPARE(h.text(u"folderTrailText"_s), u"Large Folders  \u203A  projects"_s);
        QVERIFY(h.click(u"folderBackButton"_s));
        QTRY_VERIFY(h.visible(u"fileRow_projects"_s) && !h.visible(u"folderTrail"_s));

        // Each row: its safety badge, size and detail ("-" where none is shown).
        const QStringList parts{u"safetyBadge"_s, u"categorySize"_s, u"categoryDetail"_s};
        QQuickItem *derived = h.item(u"systemCategoryRow_xcodeDerivedData"_s);
        QQuickItem *snapshots = h.item(u"systemCategoryRow_timeMachineSnapshots"_s);
        QCOMPARE(texts(derived, {u"safetyBadge"_s, u"categoryDetail"_s}), u"Safe to clean | -"_s);
        QCOMPARE(texts(snapshots, parts), u"Review first | 2 snapshots | 2 items"_s);

        // A click opens the category in the detail pane, all ticked, without the package controls.
        QVERIFY(h.click(derived));
        QTRY_VERIFY(derived->property("isSelected").toBool());
        QCOMPARE(
            h.texts({u"detailTitle"_s, u"detailSubtitle"_s, u"sortButton"_s, u"selectAllButton"_s}),
            u"Xcode DerivedData | 1 item \u00B7 104.9 MB | - | -"_s);
        QVERIFY(h.visible(u"fileGroup_xcodeDerivedData"_s) &&
                h.item(u"moveToTrashButton"_s)->isEnabled());

        // Snapshots cannot go to the Trash: the confirmation warns (its text is the view model's),
        // and the error alert lists them.
        QVERIFY(h.click(snapshots));
        QTRY_VERIFY(h.visible(u"fileGroup_timeMachineSnapshots"_s));
        QVERIFY(h.click(u"moveToTrashButton"_s));
        QVERIFY(
            h.openedDialog(u"confirmDialog"_s).endsWith(u"backups. | Move to Trash | Cancel"_s));
        QVERIFY(h.clickInDialog(u"confirmDialog"_s, u"dialogActionButton"_s));
        const QString error = h.openedDialog(u"errorDialog"_s);
        QVERIFY2(error.startsWith(u"Error | Failed to remove 2 file(s):\n/: "_s) &&
                     error.endsWith(u" | - | OK"_s),
                 qPrintable(error));
        QVERIFY(h.clickInDialog(u"errorDialog"_s, u"dialogCancelButton"_s));
        QTRY_VERIFY(!h.vm().showErrorAlert());

        // A result as the scanner would deliver it: Docker data in two places, a one-file cache;
        // the hidden line follows the count, singular or gone.
        const QString docker = h.sandbox.homePath(u"Library/Containers/com.docker.docker/Data"_s);
        const QList<FileGroup> result{
            FileGroup(
                FileCategory::dockerData,
                {AssociatedFile(docker, u"Docker Desktop"_s, FileCategory::dockerData, 300000000),
                 AssociatedFile(h.sandbox.homePath(u".orbstack"_s), u"OrbStack"_s,
                                FileCategory::dockerData, 200000000)}),
            FileGroup(FileCategory::packageManagerCache,
                      {AssociatedFile(h.sandbox.homePath(u"Library/Caches/pip"_s), u"pip"_s,
                                      FileCategory::packageManagerCache, 150000000)})};
        const QList<std::pair<int, QString>> counts{{1, u"1 category under 100 MB hidden"_s},
                                                    {0, u"-"_s}};
        for (const auto &[count, line] : counts) {
            h.vm().applySystemDataResult({result, count, {}});
            QVERIFY(h.settle());
            QTRY_COMPARE(h.texts({u"hiddenCategoriesLine"_s}), line);
        }
        QCOMPARE(texts(h.item(u"systemCategoryRow_dockerData"_s),
                       {u"categoryDetail"_s, u"safetyBadge"_s}),
                 u"Containers, images & volumes (Docker Desktop data) | Caution"_s);
        QQuickItem *cacheRow = h.item(u"systemCategoryRow_packageManagerCache"_s);
        QVERIFY(shown(cacheRow));
        QCOMPARE(texts(cacheRow, {u"safetyBadge"_s, u"categoryDetail"_s}), u"- | -"_s);

        // With every category small, the empty state offers them.
        h.vm().applySystemDataResult({{}, 1, {result.last()}});
        QVERIFY(h.settle());
        QTRY_COMPARE(h.texts({u"emptyStateSmallerCategoriesButton"_s}),
                     u"Show 1 smaller category"_s);
        QVERIFY(h.click(u"emptyStateSmallerCategoriesButton"_s));
        QTRY_VERIFY(h.visible(u"systemCategoryRow_packageManagerCache"_s));
        QVERIFY(!h.visible(u"systemEmptyState"_s));
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"

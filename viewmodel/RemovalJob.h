#pragma once

#include "model/AssociatedFile.h"
#include "model/Item.h"
#include "model/SidebarSection.h"
#include "scanner/RunningPrograms.h"
#include "scanner/Trash.h"

#include <QList>
#include <QStringList>

#include <optional>

class FileScanner;

// One confirmed removal: what the user ticked and for which item, fixed when they confirmed.
struct RemovalPlan
{
    QList<AssociatedFile> trashFiles; // the ticked files that go to the Trash
    bool hasPackageFiles = false;     // some ticked file is removed by its package manager
    // The item shown, if any (none in System Data).
    std::optional<Item> item;
    // The item is uninstalled first: the shown npm or Homebrew package when a file only its
    // package manager removes is ticked, or a Flatpak or Snap whose installation is ticked (the
    // confirmation names uninstallCommand).
    bool uninstallsItem = false;
    QString uninstallCommand;
    // Ticked package files no uninstall of this removal takes (store entries the leftover search
    // found for an application): they stay, and the texts name the command that removes them.
    QList<AssociatedFile> leftPackageFiles;
    // Ticked files their own tool removes (a toolchain by "rustup toolchain uninstall"), each by
    // its command, before the Trash step.
    QList<AssociatedFile> commandFiles;
    SidebarSection section = SidebarSection::applications;
    // A process of the user that runs the application whose files go (checkRunning).
    std::optional<RunningProcess> runningProcess;

    // The application shown, if the item is one.
    const AppInfo *app() const { return item ? item->as<AppInfo>() : nullptr; }
    // A package manager or an application's own tool runs before the Trash step.
    bool runsUninstall() const { return uninstallsItem || !commandFiles.isEmpty(); }
};

// What a removal did, in the words the window shows.
struct RemovalReport
{
    QStringList successes; // joined into the result line
    QStringList errors;    // joined into the error alert
    qint64 npmCacheSize = 0;
    qint64 homebrewCacheSize = 0;
    bool appBundleExists = true; // whether the shown application's bundle is still there
    bool uninstalled = false;    // the package manager's uninstall, or a tool's, ran and succeeded
    QList<TrashedItem> trashed;  // what went to the Trash at a known place, in plan order

    // Ticked package files were left in place for their package manager.
    bool leftPackageFiles = false;
};

// The plan for the ticked files: the package of the shown package section, or the shown Flatpak
// or Snap, is uninstalled when a file only its tool removes is ticked; other package files (a
// Cellar or Caskroom entry found for an application) stay; every other ticked file goes to the
// Trash; a file with a removal command is removed by it instead. An item of another section than
// the one shown is not the plan's.
RemovalPlan planRemoval(const FileScanner &scanner, const QList<AssociatedFile> &selected,
                        SidebarSection section, const std::optional<Item> &item);

// Notes in the plan the process that runs its application, when the plan moves or uninstalls
// anything of it; reads the user's processes, a few milliseconds.
void checkRunning(const FileScanner &scanner, RemovalPlan &plan);
// "Sketch is running (sketch, process 4242)"; empty when no process was noted.
QString runningText(const RemovalPlan &plan);

// Runs the plan: the package manager's uninstall, the files' own removal commands, then the files
// that still exist to the Trash one by one, then the cache sizes again. What goes to the Trash is
// kept as the last removal item by item (RemovalRecord); when the scanner's cancellation flag is
// set, the command or item under way finishes and the rest stay. Never on the GUI thread.
RemovalReport runRemoval(const FileScanner &scanner, const RemovalPlan &plan);

// The confirmation text: uninstall part, Move part, closing sentence, the package files left and
// the commands that remove them, the running application, warning paragraph.
QString confirmationMessage(const RemovalPlan &plan, const QList<AssociatedFile> &selected);
// "Uninstall & Remove" when the plan runs an uninstall, else "Move to Trash".
QString removalButtonTitle(const RemovalPlan &plan);

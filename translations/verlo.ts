<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>AlertDialog</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppListView</name>
    <message>
        <source>Search apps...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No apps found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No apps match &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No applications found</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ApplicationSectionsModel</name>
    <message>
        <source>User Applications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applications</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>&apos;%1&apos; names %2 applications; name one by its path:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: missing argument (see verlo %1 --help)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: unexpected argument &apos;%2&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning (%1): %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;; commands: %2 (see verlo --help)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print JSON (see README).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the files found for one item, grouped as the window shows them, with the ticks they start with.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 file(s), %2; %3 ticked (%4)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measures the System Data categories as the window shows them: sizes, safety badges and the count of small categories left out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists the installed applications, global npm packages or Homebrew packages, in the window&apos;s order.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>apps, npm or brew</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>list: unknown section &apos;%1&apos; (apps, npm or brew)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not found on this machine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proceed? [y/N] </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show what would be done; change nothing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not ask for confirmation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>remove: unknown category &apos;%1&apos;; categories: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>remove: not removing without --yes: there is no terminal to ask on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put them back with: verlo restore --last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Puts items back from the Trash where they were, never over anything: the files of the last removal (--last), or items of the home Trash by their names there. A package manager&apos;s uninstall is not undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Names in the Trash (its files/ folder).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The files of the last removal (window or command line).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>restore: give either --last or names in the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>restore: the last removal left nothing to put back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put back %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No applications found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No global npm packages found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Homebrew packages found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tick every removable file (as ticking an application&apos;s bundle does).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tick exactly the files of this category (its case name, such as caches or preferences; repeatable).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing of %1 is ticked; nothing removed (--only CATEGORY ticks categories, --all every file)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 in your home accounted for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Removes one item as the window does: the package manager&apos;s uninstall for a package, then the ticked files to the Trash. The files start ticked as in the window: none of an application&apos;s, a package&apos;s own but not the places in the home named after it. --all ticks every file, --only the files of the named categories. Shows the window&apos;s confirmation text first and asks on the terminal unless --yes is given. Refuses while the application runs unless --force is given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove an application&apos;s files even while it runs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>remove: %1; quit it first, or give --force to remove its files while it runs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Also used by %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown item &apos;%1&apos;. An item is an installed application (by name, bundle identifier or path), npm:NAME, brew:NAME (a formula), cask:NAME or leftover:NAME; &apos;verlo list&apos; and &apos;verlo leftovers&apos; show them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An application (name, bundle identifier or path), npm:NAME, brew:NAME, cask:NAME or leftover:NAME.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>changed %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists what programs that are no longer installed left in the home: the entries of the searched places that no installed application, package or program, nor the desktop, claims, one row per former program, certain ones first. &apos;verlo files leftover:NAME&apos; and &apos;verlo remove leftover:NAME&apos; take a row.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No leftovers found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 category(ies) under %2 hidden: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Finds what installed software leaves on disk and moves it to the Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without a command, opens the window. Commands (each has its own --help):
  list apps|npm|brew [--json]     the installed items of a section
  files ITEM [--json]             the files found for one item
  remove ITEM [--all | --only CATEGORY...] [--dry-run] [--yes] [--force]
                                  removes an item as the window does
  system-data [--json]            the System Data categories
  restore --last | TRASH-NAME...  puts items back from the Trash</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An unknown error occurred</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ContentViewModel</name>
    <message>
        <source>Uninstall &amp; Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move %1 item(s) (%2) to Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No items selected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. This cannot be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

⚠️ This includes system data that may not be recoverable. Make sure you have backups.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uninstalled %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to uninstall %1:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moved %1 item(s) to Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 freed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to remove %1 file(s):
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not uninstalled: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; to remove, run &quot;%1 %2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped before %1 file(s); they were left where they are</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is running (%2, process %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: quit it first, or it may write its files again and lose what it has open.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileDetailView</name>
    <message>
        <source>Select a package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan System Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select an app</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a package from the sidebar to scan
for npm-related files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a package from the sidebar to scan
for Homebrew-related files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click &apos;Scan System Data&apos; in the sidebar
to analyze storage usage by category.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose an app from the sidebar to scan
for associated files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort by Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort by Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning for associated files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No associated files found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No npm cache, node_modules, or NVM
files found for this package.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Cellar, Caskroom, or cache files
found for this package.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a category from the sidebar to view system files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No leftover Preference, Application Support,
or Cache files were found for this app.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 file(s) selected (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total: %1 in %2 file(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deselect All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measuring...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a leftover</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose what a removed program left behind
to see its files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Everything this row listed is gone.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileGroupView</name>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deselect All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileRowView</name>
    <message>
        <source>Removed via package manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · changed %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Also used by %1 · %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileScanner</name>
    <message>
        <source>No installed application, package or program is named %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HomeCoverage</name>
    <message>
        <source>%1 of about %2 measured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 in your home accounted for</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HomebrewPackageListView</name>
    <message>
        <source>Search packages...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Homebrew Cache:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Homebrew not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No packages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Homebrew is not installed on this system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No packages match &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Homebrew packages installed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KeptLeftoversView</name>
    <message>
        <source>Kept (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List Again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LeftoverEvidence</name>
    <message>
        <source>It starts the Flatpak %1, which is not installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It starts %1, which is gone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Flatpak %1 is installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Snap %1 is installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No installed application is %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LeftoverListModel</name>
    <message>
        <source>%1 place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 places</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LeftoverListView</name>
    <message>
        <source>Search leftovers...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No leftovers found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No leftovers match &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Everything in the places Verlo searches belongs to something installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Still searching...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LeftoverNames</name>
    <message>
        <source>The desktop&apos;s settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sound system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The desktop&apos;s own files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The user&apos;s keys and passwords</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This program&apos;s own settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A folder the system keeps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The system&apos;s and the shell&apos;s own files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The build-id cache of debugging and profiling tools</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LeftoverRow</name>
    <message>
        <source>Certain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Likely</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LeftoversSection</name>
    <message>
        <source>Last changed %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NPMPackageListView</name>
    <message>
        <source>Search packages...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>npm Cache:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>npm not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No global packages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>npm is not installed on this system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No packages match &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No globally installed npm packages</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PutBack</name>
    <message>
        <source>Put back %1 item(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not put back %1 item(s):
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put Back restores the files only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not keep the record of this removal in %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SidebarSection</name>
    <message>
        <source>Applications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>npm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brew</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leftovers</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SmallerCategoriesButton</name>
    <message>
        <source>Hide smaller categories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show 1 smaller category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show %1 smaller categories</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SmallerCategoriesView</name>
    <message>
        <source>1 category under 100 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 categories under 100 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 category under 100 MB hidden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 categories under 100 MB hidden</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemCategoryRowView</name>
    <message>
        <source>Containers, images &amp; volumes (Docker Desktop data)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 snapshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 snapshots</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemDataSafety</name>
    <message>
        <source>Safe to clean</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Review first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Caution</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemDataSection</name>
    <message>
        <source>%1 item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemDataView</name>
    <message>
        <source>System Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning system data...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing significant found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No system data categories
exceed 100 MB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total System Data:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrashRestore</name>
    <message>
        <source>it does not begin with [Trash Info]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds a line that is no entry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it has two Path= lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it has no Path=</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not create the folder %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its record %1 is missing from the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its record %1 is not a small file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its Path= has invalid percent-encoding</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its Path= is not exact text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its Path= is relative, but the home Trash records absolute paths</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a Trash folder of this user</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its Path= lies outside the file system of its Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its Path= &quot;%1&quot; is not a plain path (empty, &quot;.&quot; or &quot;..&quot; parts)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not the name of an item in the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a Trash folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its record %1 is refused: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is no longer in the Trash (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its original place %1 is taken; nothing was overwritten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its original place %1 is on another file system than the Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not move it back to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its name in the Trash now belongs to an item from %1; nothing was moved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Where it came from is not known; nothing was moved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its record points into the Trash itself (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is no longer the item that was moved there; nothing was moved</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

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
    <name>CommandLine</name>
    <message>
        <source>Finds what installed software leaves on disk and moves it to the Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
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
        <source>Run &quot;%1 %2&quot;</source>
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
        <source>%1 item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run &quot;%1&quot;</source>
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
    <name>SectionSwitcher</name>
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
</context>
<context>
    <name>SystemCategoryRowView</name>
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
    <message>
        <source>%1 category under 100 MB hidden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 categories under 100 MB hidden</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

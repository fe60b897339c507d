#include "viewmodel/PackageSection.h"

#include "model/ByteCountFormat.h"
#include "scanner/ItemIcons.h"
#include "viewmodel/ItemFilter.h"

namespace {

template <typename Package> QList<PackageRecord> records(const QList<Package> &packages)
{
    return {packages.cbegin(), packages.cend()};
}

} // namespace

PackageSection::Tool PackageSection::npm()
{
    return {[](const FileScanner &scanner) { return scanner.isNPMAvailable(); },
            [](const FileScanner &scanner, bool available) {
                return available ? records(scanner.listNPMPackages()) : QList<PackageRecord>();
            },
            [](const FileScanner &scanner) { return scanner.npmCacheSize(); }};
}

PackageSection::Tool PackageSection::homebrew()
{
    // Homebrew's folders are read even without the brew command.
    return {
        [](const FileScanner &scanner) { return scanner.isHomebrewAvailable(); },
        [](const FileScanner &scanner, bool) { return records(scanner.listHomebrewPackages()); },
        [](const FileScanner &scanner) { return scanner.homebrewCacheSize(); }};
}

PackageSection::PackageSection(SidebarSection section, Tool tool, const FileScanner &scanner,
                               JobRunner &jobs, QObject *parent)
    : SectionModel(section, scanner, jobs, parent), m_tool(std::move(tool)),
      m_packagesModel(new PackageListModel(this))
{}

QString PackageSection::cacheSizeText() const
{
    return formatByteCount(m_cacheSize);
}

std::optional<PackageRecord> PackageSection::find(const QString &name,
                                                  const QString &typeName) const
{
    for (const PackageEntry &entry : m_allPackages) {
        if (entry.name != name)
            continue;
        const auto *brew = std::get_if<HomebrewPackage>(&entry.record);
        if (!brew || displayName(brew->type) == typeName)
            return entry.record;
    }
    return std::nullopt;
}

QString PackageSection::iconSourceOf(const QUuid &id) const
{
    for (const PackageEntry &entry : m_allPackages) {
        if (entry.id == id)
            return entry.iconSource;
    }
    return {};
}

void PackageSection::load()
{
    struct Loaded
    {
        bool available = false;
        QList<PackageEntry> packages;
        qint64 cacheSize = 0;
    };
    const FileScanner scanner = m_scanner;
    const Tool tool = m_tool;
    startLoad(
        [scanner, tool] {
            Loaded loaded;
            loaded.available = tool.isAvailable(scanner);
            for (const PackageRecord &record : tool.list(scanner, loaded.available)) {
                const QString icon = std::visit(
                    [&](const auto &p) { return iconOf(p, scanner.fileManager()).toSource(); },
                    record);
                loaded.packages.append(PackageEntry(record, icon));
            }
            loaded.cacheSize = tool.cacheSize(scanner);
            return loaded;
        },
        [this](const Loaded &loaded) {
            setAvailable(loaded.available);
            emit reloaded(loaded.packages);
            setAllPackages(loaded.packages);
            setFilteredPackages(ItemFilter::packages(loaded.packages, m_query));
            setCacheSize(loaded.cacheSize);
        });
}

void PackageSection::search(const QString &query)
{
    m_query = query;
    setFilteredPackages(ItemFilter::packages(m_allPackages, query));
}

void PackageSection::setSelectedId(const QUuid &id)
{
    m_selectedId = id;
    m_packagesModel->setSelectedId(id);
}

void PackageSection::refreshAvailability()
{
    const FileScanner scanner = m_scanner;
    const auto test = m_tool.isAvailable;
    ++m_pendingChecks;
    m_jobs.run(
        JobRunner::Queue::loads, this, [scanner, test] { return test(scanner); },
        [this](bool available) {
            --m_pendingChecks;
            setAvailable(available);
        });
}

void PackageSection::setCacheSize(qint64 size)
{
    if (size == m_cacheSize)
        return;
    m_cacheSize = size;
    emit cacheSizeChanged();
}

void PackageSection::drop(const PackageRecord &package)
{
    const PackageEntry gone(package);
    QList<PackageEntry> all = m_allPackages;
    all.removeAll(gone);
    QList<PackageEntry> shown = filteredPackages();
    shown.removeAll(gone);
    setAllPackages(all);
    setFilteredPackages(shown);
}

void PackageSection::setAllPackages(const QList<PackageEntry> &packages)
{
    m_allPackages = packages;
    emit allPackagesChanged();
}

void PackageSection::setFilteredPackages(const QList<PackageEntry> &packages)
{
    m_packagesModel->setPackages(packages);
    m_packagesModel->setSelectedId(m_selectedId);
    emit filteredPackagesChanged();
}

#pragma once

#include "viewmodel/PackageListModel.h"
#include "viewmodel/SectionModel.h"

#include <functional>
#include <optional>

// A package manager's section (npm, Homebrew): its global packages, the size of its download
// cache and whether the tool is installed. The tool's part is a table of three calls; the rest is
// the same for every package manager.
class PackageSection : public SectionModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns its sections")
    // The packages shown: all of them, or those matching the search.
    Q_PROPERTY(PackageListModel *packages READ packagesModel CONSTANT)
    // Size of the full list (the empty state tells "no results" from "nothing installed").
    Q_PROPERTY(int allCount READ allCount NOTIFY allPackagesChanged)
    Q_PROPERTY(qint64 cacheSize READ cacheSize NOTIFY cacheSizeChanged)
    Q_PROPERTY(QString cacheSizeText READ cacheSizeText NOTIFY cacheSizeChanged)

public:
    struct Tool
    {
        std::function<bool(const FileScanner &)> isAvailable;
        // The installed packages (available: what isAvailable said just before).
        std::function<QList<PackageRecord>(const FileScanner &, bool available)> list;
        std::function<qint64(const FileScanner &)> cacheSize;
    };
    static Tool npm();
    static Tool homebrew();

    PackageSection(SidebarSection section, Tool tool, const FileScanner &scanner, JobRunner &jobs,
                   QObject *parent = nullptr);

    PackageListModel *packagesModel() const { return m_packagesModel; }
    const QList<PackageEntry> &allPackages() const { return m_allPackages; }
    const QList<PackageEntry> &filteredPackages() const { return m_packagesModel->packages(); }
    int allCount() const { return int(m_allPackages.size()); }
    qint64 cacheSize() const { return m_cacheSize; }
    QString cacheSizeText() const;
    // The package of that name (and Homebrew type name) in the full list.
    std::optional<PackageRecord> find(const QString &name, const QString &typeName = {}) const;
    // The icon worked out at load for the package with this id ("" when none).
    QString iconSourceOf(const QUuid &id) const;

    void load() override;
    void search(const QString &query) override;
    void setSelectedId(const QUuid &id) override;
    // Tests the tool again on a worker.
    void refreshAvailability();
    void setCacheSize(qint64 size);
    // Takes a package its manager just removed out of both lists at once.
    void drop(const PackageRecord &package);

signals:
    // A load arrived, before it replaces the lists (the selected package may take its new id).
    void reloaded(const QList<PackageEntry> &packages);
    void allPackagesChanged();
    void filteredPackagesChanged();
    void cacheSizeChanged();

private:
    void setAllPackages(const QList<PackageEntry> &packages);
    void setFilteredPackages(const QList<PackageEntry> &packages);

    const Tool m_tool;
    QList<PackageEntry> m_allPackages;
    PackageListModel *m_packagesModel;
    QUuid m_selectedId;
    qint64 m_cacheSize = 0;
};

#pragma once

#include "model/FileCategory.h"
#include "viewmodel/CategoryEnums.h"
#include "viewmodel/DetailHeader.h"
#include "viewmodel/FileGroupListModel.h"
#include "viewmodel/HomeCoverage.h"
#include "viewmodel/ScanActivity.h"
#include "viewmodel/SectionModel.h"

#include <optional>

// The System Data section: the categories the scan measured (those under the display threshold
// apart, shown on request), the selected category and the home's coverage.
class SystemDataSection : public SectionModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns its sections")
    Q_PROPERTY(FileGroupListModel *groups READ groupsModel CONSTANT)
    Q_PROPERTY(FileGroupListModel *hiddenGroups READ hiddenGroupsModel CONSTANT)
    Q_PROPERTY(int hiddenCount READ hiddenCount NOTIFY hiddenCountChanged)
    // Whether the categories under the display threshold are shown as rows under the others.
    Q_PROPERTY(bool showHidden READ showHidden WRITE setShowHidden NOTIFY showHiddenChanged)
    // The selected category's case name ("" when none), and its display name, count text
    // ("3 items · 1.2 GB", "1 item", "" when the scan did not keep it) and symbol.
    Q_PROPERTY(QString selectedCategory READ selectedCategoryName NOTIFY selectedCategoryChanged)
    Q_PROPERTY(DetailHeader selectedCategoryHeader READ selectedCategoryHeader NOTIFY
                   selectedCategoryChanged)
    Q_PROPERTY(qint64 totalSize READ totalSize NOTIFY groupsChanged)
    Q_PROPERTY(QString totalSizeText READ totalSizeText NOTIFY groupsChanged)
    // The home's figures for the header: progress while scanning, then coverage.
    Q_PROPERTY(HomeCoverage *homeCoverage READ homeCoverage CONSTANT)

public:
    SystemDataSection(const FileScanner &scanner, JobRunner &jobs, ScanActivity &activity,
                      QObject *parent = nullptr);

    const QList<FileGroup> &groups() const { return m_groups; }
    // The categories measured under the display threshold, largest first: not in groups nor
    // its total, shown only on request, and opened like any other.
    const QList<FileGroup> &hiddenGroups() const { return m_hiddenGroups; }
    const QSet<QString> &directories() const { return m_directories; }
    FileGroupListModel *groupsModel() const { return m_groupsModel; }
    FileGroupListModel *hiddenGroupsModel() const { return m_hiddenGroupsModel; }
    int hiddenCount() const { return m_hiddenCount; }
    bool showHidden() const { return m_showHidden; }
    void setShowHidden(bool show);
    std::optional<FileCategory> selectedCategory() const { return m_selectedCategory; }
    QString selectedCategoryName() const;
    DetailHeader selectedCategoryHeader() const;
    void setSelectedCategory(std::optional<FileCategory> category);
    // That category's group as the detail pane opens it, ticked as a System Data category
    // opens (empty when the scan did not keep it).
    QList<FileGroup> openedCategory(std::optional<FileCategory> category) const;
    // Of the shown categories but Your Files.
    qint64 totalSize() const;
    QString totalSizeText() const;
    HomeCoverage *homeCoverage() const { return m_homeCoverage; }

    // Starts the scan on its own worker (the activity is busy meanwhile).
    void load() override;
    void search(const QString &) override {}
    // Takes a scan's result: the rows, then resultApplied.
    void applyResult(const SystemDataResult &result, const QSet<QString> &directoryPaths);

signals:
    void groupsChanged();
    void hiddenCountChanged();
    void showHiddenChanged();
    void selectedCategoryChanged();
    // A whole scan's result replaced the rows (not a step of a running one).
    void resultApplied(const QSet<QString> &directoryPaths);

private:
    void setGroups(const SystemDataResult &result, const QSet<QString> &directoryPaths);
    void setHiddenCount(int count);
    const FileGroup *group(FileCategory category) const;

    ScanActivity &m_activity;
    QList<FileGroup> m_groups;
    QList<FileGroup> m_hiddenGroups;
    QSet<QString> m_directories;
    int m_hiddenCount = 0;
    bool m_showHidden = false;
    std::optional<FileCategory> m_selectedCategory;
    FileGroupListModel *m_groupsModel;
    FileGroupListModel *m_hiddenGroupsModel;
    HomeCoverage *m_homeCoverage;
};

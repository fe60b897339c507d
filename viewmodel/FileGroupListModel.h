#pragma once

#include <QtQml/qqmlregistration.h>

#include "model/FileGroup.h"

#include <QAbstractListModel>
#include <QList>
#include <QSet>
#include <QString>
#include <optional>

// A list of FileGroups for QML: the found files of the detail pane (fileGroups) and the System
// Data rows (systemDataGroups). One row per group. Roles:
//   groupId (QString UUID), category (Category::Value), categoryName (the case name,
//   "homebrewCellar", for object names), title (the category's display name), iconName (the
//   category's symbol name), totalSize (qint64), formattedSize, fileCount, selectedCount,
//   selectedSize (qint64), allSelected (the group has removable files and every one is selected),
//   isSelected (the group's category is the highlighted category, see setHighlightedCategory; used
//   by the System Data rows), safety (the System Data badge, Safety::Value), safetyText (the
//   badge's text or ""), files.
// files is the group's FileListModel (one row per file, see there); it lives as long as the row.
// setGroups replaces the list (model reset: group ids change on every scan). updateGroups takes a
// list of the same groups in the same order with changed isSelected flags: the groups whose counts
// changed and the file rows that changed are announced alone, so delegates (a group's expansion,
// a row's focus) survive ticking.
class FileListModel;

class FileGroupListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns it")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role
    {
        GroupIdRole = Qt::UserRole + 1,
        CategoryRole,
        CategoryNameRole,
        TitleRole,
        IconNameRole,
        TotalSizeRole,
        FormattedSizeRole,
        FileCountRole,
        SelectedCountRole,
        SelectedSizeRole,
        AllSelectedRole,
        IsSelectedRole,
        SafetyRole,
        SafetyTextRole,
        FilesRole,
    };
    Q_ENUM(Role)

    explicit FileGroupListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return int(m_groups.size()); }
    const QList<FileGroup> &groups() const { return m_groups; }

    // Replaces the whole list (model reset). directoryPaths: the paths of the files that are
    // folders, tested when the groups were found (the model never touches the disk).
    void setGroups(const QList<FileGroup> &groups, const QSet<QString> &directoryPaths = {});
    // Same groups (by id, same order) with new selection flags: dataChanged per changed row.
    // Falls back to setGroups when the groups differ.
    void updateGroups(const QList<FileGroup> &groups);
    // The category whose row reads isSelected (nothing: no row).
    void setHighlightedCategory(std::optional<FileCategory> category);

signals:
    void countChanged();

private:
    QList<FileGroup> m_groups;
    QList<FileListModel *> m_fileModels; // one per group, in row order
    QSet<QString> m_directoryPaths;
    std::optional<FileCategory> m_highlightedCategory;
};

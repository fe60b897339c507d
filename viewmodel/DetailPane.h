#pragma once

#include "model/FileGroup.h"
#include "scanner/FileScanner.h"
#include "viewmodel/FileGroupListModel.h"
#include "viewmodel/JobRunner.h"
#include "viewmodel/ScanActivity.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <functional>

// The detail pane's files: the groups found for the selected item or System Data category, their
// ticks and totals, and the Large Folders drill-down. fileGroups is replaced whole after a scan
// (model reset); a change of ticks is a dataChanged, so views keep their state.
class DetailPane : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns its detail pane")
    Q_PROPERTY(FileGroupListModel *fileGroups READ fileGroupsModel CONSTANT)
    // Totals of fileGroups, re-announced whenever the groups or their ticks change.
    Q_PROPERTY(int totalSelectedCount READ totalSelectedCount NOTIFY selectionChanged)
    Q_PROPERTY(QString totalSelectedSizeText READ totalSelectedSizeText NOTIFY selectionChanged)
    Q_PROPERTY(QString fileGroupsTotalSizeText READ fileGroupsTotalSizeText NOTIFY selectionChanged)
    Q_PROPERTY(int fileGroupsFileCount READ fileGroupsFileCount NOTIFY selectionChanged)
    Q_PROPERTY(bool sortBySize READ sortBySize WRITE setSortBySize NOTIFY sortBySizeChanged)
    // The folders opened below a Large Folders row, outermost first ([] at the category's top).
    Q_PROPERTY(QStringList openedFolders READ openedFolders NOTIFY openedFoldersChanged)

public:
    struct Found
    {
        QList<FileGroup> groups;
        QSet<QString> directoryPaths;
    };
    using Search = std::function<QList<FileGroup>(const FileScanner &, const ScanProgress &)>;

    DetailPane(const FileScanner &scanner, JobRunner &jobs, ScanActivity &activity,
               QObject *parent = nullptr);

    const QList<FileGroup> &fileGroups() const { return m_fileGroups; }
    FileGroupListModel *fileGroupsModel() const { return m_fileGroupsModel; }
    // Replaces fileGroups whole and closes every opened folder.
    void setFileGroups(const QList<FileGroup> &groups, const QSet<QString> &directoryPaths = {});
    // Empties the pane and runs search on the serial worker; its result fills the pane unless a
    // newer item job or pick came meanwhile.
    void startScan(Search search);

    // Unknown ids do nothing. Toggling the bundle applies its new value to every file; Cellar
    // and Caskroom changes make the download cache follow.
    Q_INVOKABLE void toggleFile(const QString &fileId);
    Q_INVOKABLE void setGroupSelection(const QString &groupId, bool selected);
    Q_INVOKABLE void setAllSelected(bool selected);
    // Applies a change of ticks made by FileSelection (nothing when it changed nothing).
    void editTicks(const std::function<void(QList<FileGroup> &)> &edit);

    QList<AssociatedFile> selectedFiles() const;
    int totalSelectedCount() const;
    QString totalSelectedSizeText() const;
    QString fileGroupsTotalSizeText() const;
    int fileGroupsFileCount() const;
    bool sortBySize() const { return m_sortBySize; }
    void setSortBySize(bool sortBySize);

    // The drill-down: openFolder shows, in place of the files, the largest entries of one of
    // their large folders (measured on the serial worker, none ticked); ignored while scanning
    // or outside System Data. closeFolder goes back one level, to the files as they were left.
    QStringList openedFolders() const;
    Q_INVOKABLE void openFolder(const QString &path);
    Q_INVOKABLE void closeFolder();

signals:
    // fileGroups was replaced whole (selectionChanged follows).
    void fileGroupsChanged();
    // The ticks inside fileGroups changed (or fileGroups was replaced).
    void selectionChanged();
    void sortBySizeChanged();
    void openedFoldersChanged();
    // An item scan started: the result line of the last removal goes.
    void scanStarted();

private:
    struct OpenedFolder
    {
        QString path;
        QList<FileGroup> parentGroups; // the files when it was opened
        QSet<QString> parentDirectories;
    };
    void publishSelection(const QList<FileGroup> &groups);
    void setOpenedFolders(const QList<OpenedFolder> &trail);

    const FileScanner &m_scanner;
    JobRunner &m_jobs;
    ScanActivity &m_activity;
    QList<FileGroup> m_fileGroups;
    QSet<QString> m_fileGroupDirectories;
    QList<OpenedFolder> m_openedFolders;
    bool m_sortBySize = false;
    FileGroupListModel *m_fileGroupsModel;
};

#pragma once

#include "viewmodel/SectionModel.h"

#include <QAbstractListModel>
#include <QList>
#include <QtQml/qqmlregistration.h>

// The sidebar's section buttons, one row per section of the section table, in its order. Roles:
// section (Section.Value), title (the untranslated display name, which names the section),
// label (the translated display name), symbol, isAvailable (the section's tool is installed;
// a dataChanged when a test says otherwise).
class SectionListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns it")

public:
    enum Role
    {
        SectionRole = Qt::UserRole + 1,
        TitleRole,
        LabelRole,
        SymbolRole,
        IsAvailableRole,
    };
    Q_ENUM(Role)

    // sections: the child of each section, by SidebarSection.
    explicit SectionListModel(const QList<SectionModel *> &sections, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QList<SectionModel *> m_sections;
};

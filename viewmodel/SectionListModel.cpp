#include "viewmodel/SectionListModel.h"

#include "viewmodel/SectionEnum.h"

#include <QCoreApplication>

SectionListModel::SectionListModel(const QList<SectionModel *> &sections, QObject *parent)
    : QAbstractListModel(parent), m_sections(sections)
{
    for (int row = 0; row < m_sections.size(); ++row) {
        connect(m_sections.at(row), &SectionModel::isAvailableChanged, this,
                [this, row] { emit dataChanged(index(row), index(row), {IsAvailableRole}); });
    }
}

int SectionListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(allSidebarSections().size());
}

QVariant SectionListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const SidebarSection section = allSidebarSections().at(index.row());
    switch (role) {
    case SectionRole:
        return QVariant::fromValue(Section::of(section));
    case TitleRole:
        return displayName(section);
    case Qt::DisplayRole:
    case LabelRole:
        return QCoreApplication::translate("SidebarSection", displayName(section).toUtf8());
    case SymbolRole:
        return iconName(section);
    case IsAvailableRole:
        return m_sections.value(index.row()) ? m_sections.at(index.row())->isAvailable() : true;
    }
    return {};
}

QHash<int, QByteArray> SectionListModel::roleNames() const
{
    return {{SectionRole, "section"},
            {TitleRole, "title"},
            {LabelRole, "label"},
            {SymbolRole, "symbol"},
            {IsAvailableRole, "isAvailable"}};
}

#include "ui/SplitViewAutosave.h"

#include <QSettings>

void SplitViewAutosave::setAutosaveName(const QString &name)
{
    if (name == m_autosaveName)
        return;
    m_autosaveName = name;
    emit autosaveNameChanged();
}

QVariant SplitViewAutosave::savedState() const
{
    if (m_autosaveName.isEmpty())
        return {};
    const QVariant value = QSettings().value(m_autosaveName);
    if (!value.isValid() || value.toByteArray().isEmpty())
        return {};
    return value.toByteArray();
}

void SplitViewAutosave::save(const QVariant &state) const
{
    if (m_autosaveName.isEmpty())
        return;
    QSettings().setValue(m_autosaveName, state.toByteArray());
}

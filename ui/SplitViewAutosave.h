#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// Keeps a split view's divider position across launches under autosaveName, in the
// application's QSettings. The QML side hands over SplitView.saveState() and feeds
// savedState() to SplitView.restoreState().
class SplitViewAutosave : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        QString autosaveName READ autosaveName WRITE setAutosaveName NOTIFY autosaveNameChanged)

public:
    using QObject::QObject;

    QString autosaveName() const { return m_autosaveName; }
    void setAutosaveName(const QString &name);

    // The state saved under autosaveName, or an invalid variant when none was saved (or the
    // name is empty).
    Q_INVOKABLE QVariant savedState() const;
    // Stores the state under autosaveName; does nothing while the name is empty.
    Q_INVOKABLE void save(const QVariant &state) const;

signals:
    void autosaveNameChanged();

private:
    QString m_autosaveName;
};

#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// What the detail pane's header shows for the selected item or System Data category: a title,
// the line under it ("" for none), a note under that (why a leftover row is listed; "" for none)
// and an image: iconSource (ItemIcon::toSource(), "" when there
// is none) or else the symbol.
struct DetailHeader
{
    Q_GADGET
    QML_VALUE_TYPE(detailHeader)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString subtitle MEMBER subtitle CONSTANT)
    Q_PROPERTY(QString iconSource MEMBER iconSource CONSTANT)
    Q_PROPERTY(QString symbol MEMBER symbol CONSTANT)
    Q_PROPERTY(QString note MEMBER note CONSTANT)

public:
    QString title;
    QString subtitle;
    QString iconSource;
    QString symbol;
    QString note = QString();

    friend bool operator==(const DetailHeader &, const DetailHeader &) = default;
};

Q_DECLARE_METATYPE(DetailHeader)

#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;

// Turns the icon texts of the records ("symbol:NAME", "image:PATH", "workspace:PATH") into image
// URLs served by the two providers, and installs those providers on an engine.
class Icons : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // "image://symbol/<aarrggbb>/<name>"; empty for an empty name.
    Q_INVOKABLE QString symbolUrl(const QString &name, const QColor &color) const;
    // For "image:" and "workspace:" sources, and for "symbol:app.generic" (the generic
    // application icon), the provider URL; empty for other "symbol:" sources and anything else
    // (the caller draws those as symbols).
    Q_INVOKABLE QString itemUrl(const QString &source) const;
    // The name of a "symbol:NAME" source; empty for any other source.
    Q_INVOKABLE QString symbolName(const QString &source) const;

    // Adds the "symbol" and "item" image providers; the engine owns them.
    static void installImageProviders(QQmlEngine *engine);
};

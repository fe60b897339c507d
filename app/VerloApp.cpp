#include "app/VerloApp.h"

#include "ui/Desktop.h"
#include "ui/Icons.h"
#include "viewmodel/ContentViewModel.h"

#include <QGuiApplication>
#include <QIcon>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(VerloPlugin)
Q_IMPORT_QML_PLUGIN(Verlo_ViewModelPlugin)

VerloApp::VerloApp(FileScanner scanner)
    : m_places(scanner.places()),
      m_viewModel(std::make_unique<ContentViewModel>(std::move(scanner)))
{
    Icons::installImageProviders(&m_engine);
}

// The engine (and with it the window) goes before the view model it shows.
VerloApp::~VerloApp()
{
    const QList<QObject *> roots = m_engine.rootObjects();
    for (QObject *root : roots)
        delete root;
}

bool VerloApp::start()
{
    bool failed = false;
    const auto connection = QObject::connect(
        &m_engine, &QQmlApplicationEngine::objectCreationFailed, [&failed] { failed = true; });
    m_engine.setInitialProperties(
        {{QStringLiteral("viewModel"),
          QVariant::fromValue(static_cast<QObject *>(m_viewModel.get()))}});
    // The module's QML types live in folders under qrc:/qt/qml/Verlo, so `import Verlo` has to
    // find the module's qmldir there: Qt 6.4 does not search qrc:/qt/qml by default.
    m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    m_engine.load(QUrl(QStringLiteral("qrc:/qt/qml/Verlo/Main.qml")));
    QObject::disconnect(connection);
    // "Open Trash" opens the Trash of the machine the window shows.
    if (auto *desktop = m_engine.singletonInstance<Desktop *>(qmlTypeId("Verlo", 1, 0, "Desktop")))
        desktop->setPlaces(m_places);
    return !failed && window() != nullptr;
}

QQuickWindow *VerloApp::window() const
{
    const QList<QObject *> roots = m_engine.rootObjects();
    return roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(roots.constFirst());
}

void VerloApp::nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Verlo"));
    QCoreApplication::setOrganizationName(QStringLiteral("Verlo"));
}

void VerloApp::describeApplication()
{
    nameApplication();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Verlo"));
    // The desktop entry's name: a task bar finds the entry, and with it the icon, by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral(VERLO_APP_ID));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/" VERLO_APP_ID ".svg")));
    // Closing the last window quits; there is nothing to keep running without one.
    QGuiApplication::setQuitOnLastWindowClosed(true);
}

#pragma once

#include "scanner/FileScanner.h"

#include <QQmlApplicationEngine>

#include <memory>

class ContentViewModel;
class QQuickWindow;

// The application: the one ContentViewModel, kept for the life of the process, and the window
// that shows it. Build it after the QGuiApplication; the view model loads the applications list
// in its constructor, so the first window opens with the list filled.
class VerloApp
{
public:
    // The view model looks at the machine the scanner is given (the real one by default).
    explicit VerloApp(FileScanner scanner = FileScanner());
    ~VerloApp();
    VerloApp(const VerloApp &) = delete;
    VerloApp &operator=(const VerloApp &) = delete;

    // Opens the window (Main.qml with the view model as its initial property). False when the
    // window could not be created; the caller should then exit with a failure status.
    bool start();

    ContentViewModel &viewModel() const { return *m_viewModel; }
    QQmlApplicationEngine &engine() { return m_engine; }
    // The main window once started; nullptr before or after a failed start.
    QQuickWindow *window() const;

    // Names the application and its organisation ("Verlo") for QSettings; the command line, which
    // has no window, calls only this.
    static void nameApplication();
    // Names the application for QSettings and the window system ("Verlo"), and gives its windows
    // the application id and icon of the installed desktop entry. Call after the QGuiApplication.
    static void describeApplication();

private:
    Places m_places; // the machine, for what the window asks of the desktop
    std::unique_ptr<ContentViewModel> m_viewModel;
    QQmlApplicationEngine m_engine;
};

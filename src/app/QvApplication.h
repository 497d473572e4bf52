#pragma once

#include <QApplication>

// The application object. A database error that reaches the event loop
// (from any window's click or key) is shown with the engine's text, and the
// program goes on instead of ending.
class QvApplication : public QApplication {
public:
    QvApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

#pragma once
// The application object: names the program to the desktop, gives every
// window the program's icon, and reports an error that escapes a command in
// a message box and lets the program go on.

#include <QApplication>

class QVApplication : public QApplication {
public:
    QVApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the general error report for an error's description.
void ReportUnhandledError(const QString& description);

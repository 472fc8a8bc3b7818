#include "platform/QVApplication.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

#include "platform/QVDialogs.h"

QVApplication::QVApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setQuitOnLastWindowClosed(false);
    // Windows and menus speak in the gothic face; labels and the tool bar
    // set their mincho face themselves.
    QFont gothic(QStringLiteral("IPAPGothic"));
    gothic.setPixelSize(15);
    setFont(gothic);
    // The standard dialogs (files, colours) speak Japanese like the program.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool QVApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportUnhandledError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ReportUnhandledError(QStringLiteral("不明なエラー"));
    }
    return false;
}

void ReportUnhandledError(const QString& description)
{
    Dialogs().ShowError(QApplication::activeWindow(), description);
}

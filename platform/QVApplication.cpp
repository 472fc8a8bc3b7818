#include "platform/QVApplication.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

#include "platform/QVDialogs.h"

namespace {

// The icon's sizes, built into the program from the pictures the desktop
// entry uses; a program built without them has no icon of its own.
QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/quorvex/icons/quorvex-%1.png").arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}

}  // namespace

QVApplication::QVApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setQuitOnLastWindowClosed(false);
    // The window class "Qorvix" and the desktop entry quorvex.desktop tie the
    // windows to the menu entry and its icon.
    setApplicationName(QStringLiteral("Qorvix"));
    setDesktopFileName(QStringLiteral("quorvex"));
    setWindowIcon(ProgramIcon());
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

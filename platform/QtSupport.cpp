#include "platform/QtSupport.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

void BringToFront(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void CentreOnScreen(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - QPoint(window->width() / 2, window->height() / 2));
}

QLabel* SunkenReadout(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* readout = Named(new QLabel(parent), name);
    readout->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    readout->setGeometry(geometry);
    return readout;
}

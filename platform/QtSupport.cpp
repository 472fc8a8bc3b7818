#include "platform/QtSupport.h"

#include <QLabel>
#include <QWidget>

void BringToFront(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

QLabel* SunkenReadout(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* readout = Named(new QLabel(parent), name);
    readout->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    readout->setGeometry(geometry);
    return readout;
}

void LabelReadout(QLabel* caption, QLabel* readout, const QString& heading)
{
    caption->setBuddy(readout);
    readout->setAccessibleDescription(heading.isEmpty() ? caption->text() : heading + QLatin1Char(' ') + caption->text());
}

#pragma once
// Small helpers every window shares: control names, colour words in Qt's
// colour types, bringing a window to the front.

#include <QColor>
#include <QLatin1String>
#include <QObject>
#include <QString>

#include "platform/QtColorWords.h"

class QLabel;
class QRect;
class QWidget;

// Gives a control the name it is known by (to tests and assistive
// technology) and returns it.
template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

// Shows a window and brings it to the front; a null window is passed over.
void BringToFront(QWidget* window);
// A named, right-aligned, sunken read-out placed at `geometry`. It is given
// no accessible name: assistive technology reads its text, the value, as its
// name, and hears of every change.
QLabel* SunkenReadout(QWidget* parent, const char* name, const QRect& geometry);
// Ties a read-out to the caption beside it, so that a screen reader says
// both ("実部 -5.00E-001"): the caption labels it (the caption's buddy), and
// its description is the caption after the heading it stands under.
void LabelReadout(QLabel* caption, QLabel* readout, const QString& heading = {});

#pragma once
// Colour words in Qt's colour types.

#include <QColor>

#include "colour/model/ColorMap.h"

inline QRgb RgbOfColorWord(ColorWord word)
{
    const ColorMapEntry e = EntryOfColorWord(word);
    return qRgb(e.red, e.green, e.blue);
}

inline QColor ColorOfColorWord(ColorWord word) { return QColor(RgbOfColorWord(word)); }

inline ColorWord ColorWordOfColor(const QColor& color)
{
    return ColorWordOf(ColorMapEntry{0, uint8_t(color.red()), uint8_t(color.green()), uint8_t(color.blue())});
}

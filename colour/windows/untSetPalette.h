#pragma once
// The colour-map view "カラーマップ設定": the 256 colours of currentColorMap
// as a strip, and its red, green and blue as three bar charts. Drawn when
// shown from the diagnostics menu; it does not follow later changes.

#include <QWidget>

#include "commands/WindowPorts.h"

class TQVImage;

class TfrmSetPalette : public QWidget, public ColorMapViewPort {
    Q_OBJECT
public:
    explicit TfrmSetPalette(QWidget* parent = nullptr);
    ~TfrmSetPalette() override;

    QWidget* Window() override { return this; }
    // Draws currentColorMap as it is now.
    void DrawColorMap() override;

private:
    TQVImage* AddImage(const char* name, const QString& accessibleName, int height, int top);

    TQVImage* imgViewPalette = nullptr;
    TQVImage* imgSetRed = nullptr;
    TQVImage* imgSetGreen = nullptr;
    TQVImage* imgSetBlue = nullptr;
};

extern TfrmSetPalette* frmSetPalette;

#pragma once
// The pixel information window "パレット情報": pixel and complex coordinates,
// escape count and colour entry of the pixel under the last right press,
// and "変更" to give that entry a new colour.

#include <QPoint>
#include <QWidget>

#include "colour/model/ColorMap.h"
#include "commands/WindowPorts.h"

class QLabel;
class QPushButton;
struct ColorEntryInformation;
struct PixelInformation;

class TfrmDisplay1 : public QWidget, public PixelInformationPort {
    Q_OBJECT
public:
    explicit TfrmDisplay1(QWidget* parent = nullptr);
    ~TfrmDisplay1() override;

    QWidget* Window() override { return this; }
    // Shown now and again whenever the window becomes active.
    void Inspect(QPoint pixel, QPoint popupPosition) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    QLabel* AddLabel(const char* name, const QString& text, int x, int y);
    void FormActivate();
    void FormDeactivate();
    void btnPal1ChanClick();
    void ShowPixel(const PixelInformation& info);
    void ShowColorEntry(const ColorEntryInformation& info);
    void PaintSwatch(ColorWord color);

    QLabel* stPixX = nullptr;
    QLabel* stPixY = nullptr;
    QLabel* stRe = nullptr;
    QLabel* stIm = nullptr;
    QLabel* stPal = nullptr;
    QLabel* stRR = nullptr;
    QLabel* stGG = nullptr;
    QLabel* stBB = nullptr;
    QLabel* lblCount = nullptr;  // the whole count, beside the swatch
    QLabel* stCount = nullptr;
    QLabel* Shape1 = nullptr;
    QPushButton* btnPal1Chan = nullptr;
    QPushButton* btnJulia = nullptr;
    // The colour dialog cdDisp1 starts from the colour it returned last.
    ColorWord cdDisp1Color = kBlackWord;

    int infoPaletteIndex = 0;
    QPoint inspectedPixel;
    QPoint popupPosition;
    // The window's own colour dialog takes the focus without closing it.
    bool pickingColor = false;
};

extern TfrmDisplay1* frmDisplay1;

#pragma once
// The pixel information window "パレット情報": pixel and complex coordinates,
// escape count and colour entry of the pixel under the last right press,
// and "変更" to give that entry a new colour.

#include <QPoint>
#include <QWidget>

#include "ColorMap.h"
#include "QVHost.h"

class QLabel;
class QPushButton;
struct ColourEntryInformation;
struct PixelInformation;

class TfrmDisplay1 : public QWidget {
    Q_OBJECT
public:
    explicit TfrmDisplay1(QWidget* parent = nullptr);
    ~TfrmDisplay1() override;

    // The pixel to show and the screen point the window goes to; shown now
    // and again whenever the window becomes active.
    void Inspect(QPoint pixel, QPoint popupPosition);
    // "変更" follows the colour-map commands: off while a render or a
    // recolouring runs.
    void SetCommandEnabled(QVCommand command, bool enabled);

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    QLabel* AddLabel(const char* name, const QString& text, int x, int y);
    void FormActivate();
    void FormDeactivate();
    void btnPal1ChanClick();
    void ShowPixel(const PixelInformation& info);
    void ShowColourEntry(const ColourEntryInformation& info);
    void PaintSwatch(ColourWord colour);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* stPixX = nullptr;
    QLabel* stPixY = nullptr;
    QLabel* stRe = nullptr;
    QLabel* stIm = nullptr;
    QLabel* stPal = nullptr;
    QLabel* stRR = nullptr;
    QLabel* stGG = nullptr;
    QLabel* stBB = nullptr;
    QLabel* Shape1 = nullptr;
    QPushButton* btnPal1Chan = nullptr;
    // The colour dialog cdDisp1 starts from the colour it returned last.
    ColourWord cdDisp1Colour = kBlackWord;

    int infoPaletteIndex = 0;
    QPoint inspectedPixel;
    QPoint popupPosition;
    // The window's own colour dialog takes the focus without closing it.
    bool pickingColour = false;
};

extern TfrmDisplay1* frmDisplay1;

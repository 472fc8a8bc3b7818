#include "colour/windows/untDisplay1.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "colour/views/PaletteViews.h"
#include "commands/CommandSet.h"
#include "commands/QVCommands.h"
#include "engine/EngineState.h"
#include "platform/QVDialogs.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

TfrmDisplay1* frmDisplay1 = nullptr;

namespace {

constexpr int kSwatchSide = 88;

QString Decimal(int value) { return QString::number(value); }

}  // namespace

TfrmDisplay1::TfrmDisplay1(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    frmDisplay1 = this;
    setObjectName(QStringLiteral("frmDisplay1"));
    setWindowTitle(QStringLiteral("パレット情報"));
    setFixedSize(375, 289);
    BuildControls();
    KeepOnScreen(this);
}

TfrmDisplay1::~TfrmDisplay1()
{
    if (frmDisplay1 == this)
        frmDisplay1 = nullptr;
}

QLabel* TfrmDisplay1::AddLabel(const char* name, const QString& text, int x, int y)
{
    auto* label = Named(new QLabel(text, this), name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void TfrmDisplay1::BuildControls()
{
    const QString pixel = AddLabel("Label1", QStringLiteral("座標（ピクセル）"), 16, 10)->text();
    QLabel* pixelX = AddLabel("Label2", QStringLiteral("Ｘ"), 32, 39);
    stPixX = SunkenReadout(this, "stPixX", QRect(60, 36, 96, 22));
    LabelReadout(pixelX, stPixX, pixel);
    QLabel* pixelY = AddLabel("Label3", QStringLiteral("Ｙ"), 200, 39);
    stPixY = SunkenReadout(this, "stPixY", QRect(228, 36, 96, 22));
    LabelReadout(pixelY, stPixY, pixel);
    const QString plane = AddLabel("Label4", QStringLiteral("座標（複素平面）"), 16, 74)->text();
    QLabel* re = AddLabel("Label5", QStringLiteral("実部"), 32, 103);
    stRe = SunkenReadout(this, "stRe", QRect(68, 100, 112, 22));
    LabelReadout(re, stRe, plane);
    QLabel* im = AddLabel("Label6", QStringLiteral("虚部"), 200, 103);
    stIm = SunkenReadout(this, "stIm", QRect(236, 100, 112, 22));
    LabelReadout(im, stIm, plane);
    const QString colour = AddLabel("Label7", QStringLiteral("カラー情報"), 16, 138)->text();
    QLabel* entry = AddLabel("Label8", QStringLiteral("＃"), 32, 167);
    stPal = SunkenReadout(this, "stPal", QRect(68, 164, 72, 22));
    LabelReadout(entry, stPal, colour);
    QLabel* red = AddLabel("Label9", QStringLiteral("赤"), 32, 197);
    stRR = SunkenReadout(this, "stRR", QRect(68, 194, 72, 22));
    LabelReadout(red, stRR, colour);
    QLabel* green = AddLabel("Label10", QStringLiteral("緑"), 32, 227);
    stGG = SunkenReadout(this, "stGG", QRect(68, 224, 72, 22));
    LabelReadout(green, stGG, colour);
    QLabel* blue = AddLabel("Label11", QStringLiteral("青"), 32, 257);
    stBB = SunkenReadout(this, "stBB", QRect(68, 254, 72, 22));
    LabelReadout(blue, stBB, colour);
    // The whole count, shown only at a limit or in a colouring of the user's.
    lblCount = AddLabel("Label12", QStringLiteral("反復回数"), 264, 141);
    stCount = SunkenReadout(this, "stCount", QRect(264, 164, 100, 22));
    LabelReadout(lblCount, stCount, colour);
    lblCount->hide();
    stCount->hide();

    Shape1 = Named(new QLabel(this), "Shape1");
    Shape1->setGeometry(168, 164, kSwatchSide, kSwatchSide);
    Shape1->setAccessibleName(QStringLiteral("色見本"));
    PaintSwatch(kBlackWord);

    btnPal1Chan = Named(new QPushButton(QStringLiteral("変更"), this), "btnPal1Chan");
    btnPal1Chan->setGeometry(272, 219, 80, 33);
    btnPal1Chan->setEnabled(false);
    connect(btnPal1Chan, &QPushButton::clicked, this, &TfrmDisplay1::btnPal1ChanClick);
    // "変更" follows the colour-map commands, off while a render or a
    // recolouring runs, and only for an escaping count's entry.
    // The Julia set of the pixel's point, while nothing is drawn.
    btnJulia = Named(new QPushButton(QStringLiteral("ジュリア集合"), this), "btnJulia");
    btnJulia->setGeometry(272, 256, 96, 28);
    connect(btnJulia, &QPushButton::clicked, this, [this] {
        hide();
        ShowJuliaOfPixel(inspectedPixel);
    });
    WatchCommand(QVCommand::ColorMaps, btnPal1Chan,
                 [this](bool enabled) { btnPal1Chan->setEnabled(enabled && infoPaletteIndex > 0); });
}

void TfrmDisplay1::Inspect(QPoint pixel, QPoint position)
{
    inspectedPixel = pixel;
    popupPosition = position;
    // Filled at once as well: a window that is active already, or one the
    // window manager does not activate, gets no activation to fill it.
    FormActivate();
}

void TfrmDisplay1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        FormActivate();
    else
        FormDeactivate();
}

void TfrmDisplay1::FormActivate()
{
    PlaceOnScreen(this, popupPosition);
    ShowPixel(InspectPixel(dpCurr, inspectedPixel.x(), inspectedPixel.y(), currentColorMap));
    btnJulia->setEnabled(!IsRendering && dpCurr.diType != 0 && !InJuliaView());
}

void TfrmDisplay1::FormDeactivate()
{
    // A render or a recolouring, its own included, keeps the window open.
    if (!IsRendering && !pickingColor)
        hide();
}

void TfrmDisplay1::ShowPixel(const PixelInformation& info)
{
    stPixX->setText(Decimal(info.x));
    stPixY->setText(Decimal(info.y));
    stRe->setText(QString::fromStdString(info.re));
    stIm->setText(QString::fromStdString(info.im));
    // A deep view's point in full: the digits that matter at its pixels.
    stRe->setToolTip(QString::fromStdString(info.reFull));
    stIm->setToolTip(QString::fromStdString(info.imFull));
    stCount->setText(QString::fromStdString(info.count));
    lblCount->setVisible(!info.count.empty());
    stCount->setVisible(!info.count.empty());
    ShowColorEntry(info.color);
}

void TfrmDisplay1::ShowColorEntry(const ColorEntryInformation& info)
{
    infoPaletteIndex = info.paletteIndex;
    stPal->setText(Decimal(info.paletteIndex));
    stRR->setText(Decimal(info.entry.red));
    stGG->setText(Decimal(info.entry.green));
    stBB->setText(Decimal(info.entry.blue));
    PaintSwatch(info.swatch);
    btnPal1Chan->setEnabled(info.changeable && !IsRendering);
}

void TfrmDisplay1::PaintSwatch(ColorWord color)
{
    QPixmap swatch(kSwatchSide, kSwatchSide);
    swatch.fill(palette().color(QPalette::Window));
    QPainter painter(&swatch);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(ColorOfColorWord(color));
    painter.drawRoundedRect(QRectF(0.5, 0.5, kSwatchSide - 1, kSwatchSide - 1), 12, 12);
    painter.end();
    Shape1->setPixmap(swatch);
    Shape1->setAccessibleDescription(ColorOfColorWord(color).name());
}

void TfrmDisplay1::btnPal1ChanClick()
{
    // Never inside a running render: the picture it paints is not finished.
    if (IsRendering || infoPaletteIndex <= 0)
        return;
    const int n = infoPaletteIndex;
    pickingColor = true;
    const bool picked = Dialogs().PickColor(this, cdDisp1Color);
    pickingColor = false;
    // The window manager may hand the focus elsewhere when the dialog closes;
    // the window stays the active one, so that leaving it later closes it.
    activateWindow();
    if (picked)
        SetCurrentColorMapEntry(n, cdDisp1Color);
    ShowColorEntry(DescribeColorEntry(n, currentColorMap));
    btnPal1Chan->setEnabled(false);
    RecolorCurrentPicture();
    btnPal1Chan->setEnabled(!IsRendering);
}

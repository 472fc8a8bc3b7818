#include "colour/windows/untSetPalette.h"

#include <vector>

#include "colour/model/ColorMap.h"
#include "colour/views/PaletteViews.h"
#include "platform/QVImage.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

TfrmSetPalette* frmSetPalette = nullptr;

namespace {

constexpr int kImageLeft = (634 - kPaletteViewWidth) / 2;

void ShowPicture(TQVImage* image, const std::vector<ColorWord>& words)
{
    QImage& picture = image->Picture();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = RgbOfColorWord(words[size_t(y) * size_t(picture.width()) + size_t(x)]);
    }
    image->update();
}

}  // namespace

TfrmSetPalette::TfrmSetPalette(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    frmSetPalette = this;
    setObjectName(QStringLiteral("frmSetPalette"));
    setWindowTitle(QStringLiteral("カラーマップ設定"));
    setFixedSize(634, 607);
    imgViewPalette = AddImage("imgViewPalette", QStringLiteral("カラーマップ"), kPaletteStripHeight, 40);
    imgSetRed = AddImage("imgSetRed", QStringLiteral("赤"), kChannelChartHeight, 121);
    imgSetGreen = AddImage("imgSetGreen", QStringLiteral("緑"), kChannelChartHeight, 281);
    imgSetBlue = AddImage("imgSetBlue", QStringLiteral("青"), kChannelChartHeight, 441);
    KeepOnScreen(this);
    CentreOnScreen(this);
}

TfrmSetPalette::~TfrmSetPalette()
{
    if (frmSetPalette == this)
        frmSetPalette = nullptr;
}

TQVImage* TfrmSetPalette::AddImage(const char* name, const QString& accessibleName, int height, int top)
{
    auto* image = Named(new TQVImage(QSize(kPaletteViewWidth, height), Qt::white, this), name);
    image->setAccessibleName(accessibleName);
    image->move(kImageLeft, top);
    return image;
}

void TfrmSetPalette::DrawColorMap()
{
    const PaletteViewPictures pictures = DrawPaletteView(currentColorMap);
    ShowPicture(imgViewPalette, pictures.strip);
    ShowPicture(imgSetRed, pictures.red);
    ShowPicture(imgSetGreen, pictures.green);
    ShowPicture(imgSetBlue, pictures.blue);
}

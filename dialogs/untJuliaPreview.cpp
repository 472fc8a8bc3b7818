#include "dialogs/untJuliaPreview.h"

#include <QCloseEvent>
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include "commands/JuliaCommands.h"
#include "engine/CountColors.h"
#include "engine/EngineState.h"
#include "engine/NumberFormat.h"
#include "platform/QtColorWords.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

namespace {

constexpr int kPreviewThreads = 2;

}  // namespace

TfrmJuliaPreview::TfrmJuliaPreview(std::function<void()> closed, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      whenClosed(std::move(closed))
{
    setObjectName(QStringLiteral("frmJuliaPreview"));
    setWindowTitle(QStringLiteral("ジュリア集合のプレビュー"));
    setFixedSize(kPreviewSide + 8, kPreviewSide + 50);
    imgJuliaPreview = Named(new QLabel(this), "imgJuliaPreview");
    imgJuliaPreview->setGeometry(4, 4, kPreviewSide, kPreviewSide);
    imgJuliaPreview->setAccessibleName(QStringLiteral("ジュリア集合のプレビュー"));
    stJuliaPoint = Named(new QLabel(this), "stJuliaPoint");
    stJuliaPoint->setGeometry(4, kPreviewSide + 6, kPreviewSide, 40);
    previewer = std::make_unique<JuliaPreviewer>(kPreviewThreads, [this](JuliaPreviewPicture&& picture) {
        // Handed to the user-interface thread; dropped there if the window is gone.
        QMetaObject::invokeMethod(
            this, [this, p = std::move(picture)] { Paint(p); }, Qt::QueuedConnection);
    });
    KeepOnScreen(this);
}

TfrmJuliaPreview::~TfrmJuliaPreview() { previewer.reset(); }

void TfrmJuliaPreview::ShowPoint(PlanePoint c)
{
    askedTicket = previewer->Request(PreviewIteration(c), PreviewRegion());
    stJuliaPoint->setText(QString::fromStdString("c = " + FormatExponent(c.re, 3) + ",\n     " + FormatExponent(c.im, 3)));
}

void TfrmJuliaPreview::Paint(const JuliaPreviewPicture& picture)
{
    // A picture older than one already shown is stale.
    if (picture.ticket <= paintedTicket)
        return;
    paintedTicket = picture.ticket;
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int x = 0; x < picture.width; ++x)
        for (int y = 0; y < picture.height; ++y)
            image.setPixel(x, y, RgbOfColorWord(ColorWordOfCount(picture.Count(x, y), currentColorMap, picture.limit)));
    imgJuliaPreview->setPixmap(QPixmap::fromImage(image));
}

std::unique_ptr<JuliaPreviewPort> CreateJuliaPreview(std::function<void()> closed, QWidget* parent)
{
    return std::make_unique<TfrmJuliaPreview>(std::move(closed), parent);
}

void TfrmJuliaPreview::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (whenClosed)
        whenClosed();
}

// Renders the program's icon: the whole view of the Mandelbrot set, drawn by
// the program's own render driver, on a rounded square with transparent
// corners, saved as quorvex-<size>.png for each size the desktop asks for.
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "tools/ImageHost.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/RenderDriver.h"

namespace {

// Rendered twice as large as the largest icon, then scaled down smoothly.
constexpr int kRenderSize = 512;
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

QImage RenderWholeView()
{
    ResetEngineState();
    dpCurr.diImgW = kRenderSize;
    dpCurr.diImgH = kRenderSize;
    SetUpWholeView(1);
    QImage picture(kRenderSize, kRenderSize, QImage::Format_RGB32);
    ImageHost host(picture);
    RenderView(host, dpCurr);
    return picture;
}

// The picture on a rounded square, a sixteenth of the side left clear.
QImage IconOfSize(const QImage& picture, int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    const qreal margin = size / 16.0;
    const QRectF square(margin, margin, size - 2 * margin, size - 2 * margin);
    const QImage scaled = picture.scaled(square.size().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QBrush brush(scaled);
    brush.setTransform(QTransform::fromTranslate(square.left(), square.top()));
    painter.setBrush(brush);
    painter.drawRoundedRect(square, square.width() * 0.18, square.height() * 0.18);
    painter.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder (writes quorvex-16.png ... quorvex-256.png there)\n", argv[0]);
        return 2;
    }
    const QImage picture = RenderWholeView();
    for (const int size : kIconSizes) {
        const QString path = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/quorvex-%1.png").arg(size);
        if (!IconOfSize(picture, size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

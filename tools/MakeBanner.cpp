// Draws the title banner of the version window with the program's own
// renderer: the seahorse valley of the Mandelbrot set, the program's
// name over it. Writes a 512 x 96 PNG to the path given.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

#include "tools/ImageHost.h"
#include "colour/model/ColorMap.h"
#include "engine/EngineState.h"
#include "engine/RenderDriver.h"

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 96;
// Rendered larger and scaled down, for smooth filaments; the upright
// picture stays within the iteration buffer's 1501 rows.
constexpr int kOversample = 2;

// Night blue through teal and gold to white, one cycle every 48 counts.
ColorMap BannerColors()
{
    struct Stop {
        double at;
        int r, g, b;
    };
    const Stop stops[] = {{0.0, 6, 12, 40}, {0.3, 20, 90, 140}, {0.55, 60, 190, 180},
                          {0.75, 250, 200, 80}, {0.9, 255, 250, 230}, {1.0, 6, 12, 40}};
    ColorMap map{};
    for (int i = 0; i < 256; ++i) {
        const double t = std::fmod(std::sqrt(double(i)) * 1.9, 1.0);
        int k = 0;
        while (stops[k + 1].at < t)
            ++k;
        const double f = (t - stops[k].at) / (stops[k + 1].at - stops[k].at);
        const auto mix = [f](int a, int b) { return uint8_t(std::lround(a + (b - a) * f)); };
        map[size_t(i)] = ColorMapEntry{0, mix(stops[k].r, stops[k + 1].r), mix(stops[k].g, stops[k + 1].g),
                                       mix(stops[k].b, stops[k + 1].b)};
    }
    return map;
}

// The valley runs along the imaginary axis: rendered upright, turned on its side.
QImage RenderStrip()
{
    const int w = kHeight * kOversample;
    const int h = kWidth * kOversample;
    ResetEngineState();
    dpCurr.diType = 1;
    dpCurr.dinum = 1;
    dpCurr.diImgW = w;
    dpCurr.diImgH = h;
    dpCurr.dwa = -0.7456L;
    dpCurr.dwb = 0.1180L;
    dpCurr.dwx = 0.0150L;
    dpCurr.dwy = dpCurr.dwx * h / w;
    dpCurr.dwPitchX = dpCurr.dwx / w;
    dpCurr.dwPitchY = dpCurr.dwy / h;
    WholeView = dpCurr;
    currentColorMap = BannerColors();

    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(Qt::black);
    ImageHost host(picture);
    RenderView(host, dpCurr);
    return picture.transformed(QTransform().rotate(-90))
        .scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void DrawTitle(QImage& banner)
{
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, kWidth * 0.62, 0);
    shade.setColorAt(0.0, QColor(0, 0, 0, 170));
    shade.setColorAt(0.7, QColor(0, 0, 0, 90));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.fillRect(banner.rect(), shade);

    QFont title(QStringLiteral("IPAPGothic"));
    title.setPixelSize(54);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    QPainterPath name;
    name.addText(22, 60, title, QStringLiteral("Quorvex"));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 150));
    painter.drawPath(name.translated(2.5, 2.5));
    painter.setPen(QPen(QColor(20, 40, 70), 1.2));
    painter.setBrush(QColor(255, 246, 222));
    painter.drawPath(name);

    QFont subtitle(QStringLiteral("IPAPGothic"));
    subtitle.setPixelSize(14);
    painter.setFont(subtitle);
    painter.setPen(QColor(200, 225, 240));
    painter.drawText(26, 83, QStringLiteral("マンデルブロ集合と仲間たちの探索"));
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_banner output.png\n");
        return 2;
    }
    QImage banner = RenderStrip();
    DrawTitle(banner);
    if (!banner.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "make_banner: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

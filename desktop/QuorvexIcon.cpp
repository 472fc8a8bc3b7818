// Renders the program's icon: the whole view of the Mandelbrot set, drawn by
// the program's own render driver, saved as a PNG file.
#include <QImage>
#include <cstdio>

#include "EngineState.h"
#include "Navigation.h"
#include "SilentHost.h"
#include "RenderDriver.h"

namespace {

constexpr int kIconSize = 256;

// Keeps the painted columns; the program's windows are not needed here.
class IconHost final : public SilentHost {
public:
    QImage picture{kIconSize, kIconSize, QImage::Format_RGB32};

    void PaintColumn(int x, const uint32_t* colourWords, int height) override
    {
        for (int y = 0; y < height && y < picture.height(); ++y) {
            const uint32_t word = colourWords[y];
            picture.setPixel(x, y, qRgb(int(word & 0xFF), int((word >> 8) & 0xFF), int((word >> 16) & 0xFF)));
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s icon.png\n", argv[0]);
        return 2;
    }
    ResetEngineState();
    dpCurr.diImgW = kIconSize;
    dpCurr.diImgH = kIconSize;
    SetUpWholeView(1);
    IconHost host;
    RenderView(host, dpCurr);
    if (!host.picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

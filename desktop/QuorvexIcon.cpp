// Renders the program's icon: the whole view of the Mandelbrot set, drawn by
// the program's own render driver, saved as a PNG file.
#include <QImage>
#include <cstdio>

#include "tools/ImageHost.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/RenderDriver.h"

namespace {

constexpr int kIconSize = 256;

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
    QImage picture(kIconSize, kIconSize, QImage::Format_RGB32);
    ImageHost host(picture);
    RenderView(host, dpCurr);
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

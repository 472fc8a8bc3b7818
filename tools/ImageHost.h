#pragma once
// A host for the build-time pictures: keeps the painted columns in an image
// and passes over everything else a window would do.

#include <QImage>

#include "QtSupport.h"
#include "SilentHost.h"

class ImageHost final : public SilentHost {
public:
    explicit ImageHost(QImage& picture) : picture(picture) {}

    void PaintColumn(int x, const uint32_t* colourWords, int height) override
    {
        for (int y = 0; y < height && y < picture.height(); ++y)
            picture.setPixel(x, y, RgbOfColourWord(colourWords[y]));
    }

private:
    QImage& picture;
};

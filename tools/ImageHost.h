#pragma once
// A host for the build-time pictures: keeps the painted columns in an image
// and passes over everything else a window would do.

#include <QImage>

#include "engine/SilentHost.h"
#include "platform/QtColorWords.h"

class ImageHost final : public SilentHost {
public:
    explicit ImageHost(QImage& picture) : picture(picture) {}

    void PaintColumn(int x, const uint32_t* colorWords, int height) override
    {
        for (int y = 0; y < height && y < picture.height(); ++y)
            picture.setPixel(x, y, RgbOfColorWord(colorWords[y]));
    }

private:
    QImage& picture;
};

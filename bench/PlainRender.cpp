#include "PlainRender.h"

#include "colour/model/ColorMap.h"
#include "engine/CountColors.h"
#include "engine/Formulas.h"

PlainPicture RenderPlainly(const ViewRecord& view, const FormulaParams& params)
{
    PlainPicture p;
    p.width = view.diImgW;
    p.height = view.diImgH;
    p.counts.resize(size_t(p.width) * p.height);
    const PlaneRegion region = view.Region();
    for (int x = 0; x < p.width; ++x) {
        const long double cx = region.RenderRe(x);
        for (int y = 0; y < p.height; ++y) {
            const int n = IteratePoint(view.diType, cx, region.RenderIm(y), params);
            p.counts[size_t(x) * p.height + y] = n;
            ++p.histogram[n];
        }
    }
    return p;
}

void PictureHost::SetPixel(int x, int y, uint32_t word) { picture_[size_t(x) * height_ + y] = word; }

void RecolorPlainly(PictureHost& host, int width, int height)
{
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            const uint8_t n = IterationBuffer[BufferIndex(x, y)];
            host.SetPixel(x, y, ColorWordOfCount(CountOfBufferValue(n), currentColorMap));
        }
}

#include "PlainRender.h"

#include "colour/model/ColorMap.h"
#include "engine/Formulas.h"

PlainPicture RenderPlainly(const ViewRecord& view, const FormulaParams& params, int limit, JuliaPoint julia)
{
    PlainPicture p;
    p.limit = limit;
    p.width = view.diImgW;
    p.height = view.diImgH;
    p.counts.resize(size_t(p.width) * p.height);
    p.ends.resize(p.counts.size());
    const PlaneRegion region = view.Region();
    const Iteration what{view.diType, params, limit, julia};
    for (int x = 0; x < p.width; ++x) {
        const long double cx = region.RenderRe(x);
        for (int y = 0; y < p.height; ++y) {
            const size_t i = size_t(x) * p.height + y;
            const EscapeCount n = IteratePoint(what, cx, region.RenderIm(y), &p.ends[i]);
            p.counts[i] = n;
            ++p.histogram[n >= limit ? 256 : n == 0 ? 0 : size_t((n - 1) % 255 + 1)];
        }
    }
    return p;
}

uint32_t PlainColorWord(EscapeCount n, const ColorMap& map, int limit)
{
    if (n >= limit)
        return 0;
    const ColorMapEntry& e = map[n == 0 ? 0 : size_t((n - 1) % 255 + 1)];
    return uint32_t(e.red) | uint32_t(e.green) << 8 | uint32_t(e.blue) << 16;
}

void PictureHost::SetPixel(int x, int y, uint32_t word) { picture_[size_t(x) * height_ + y] = word; }

void RecolorPlainly(PictureHost& host, int width, int height)
{
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            const uint8_t n = IterationBuffer[BufferIndex(x, y)];
            host.SetPixel(x, y, n == 0 ? 0 : PlainColorWord(n, currentColorMap, kDefaultIterationLimit));
        }
}

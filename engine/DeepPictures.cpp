#include "engine/DeepPictures.h"

#include <vector>

#include "engine/CountColors.h"
#include "engine/DeepView.h"

std::unique_ptr<DeepRenderer> DeepRendererFor(const Iteration& what, const PlaneRegion& own,
                                              const PreciseCentre& centre, const PlaneRegion& samples, int threads)
{
    const bool hasOwn = own.width > 0 && own.height > 0;
    if (!IsDeepRegion(what, hasOwn ? own : samples))
        return nullptr;
    DeepSettings settings;
    settings.threads = threads;
    return std::make_unique<DeepRenderer>(DeepJobOf(what.type, what.params, samples, centre, what.limit), settings);
}

bool DeepSampleColumns(DeepRenderer& renderer, int first, int rows, EscapeCount* counts, float* fractions,
                       const std::atomic<bool>& cancel)
{
    const int width = renderer.Job().width;
    const int limit = int(renderer.Job().limit);
    std::vector<DeepPixel> pixels(size_t(width) * size_t(rows));
    if (!renderer.RenderRows(first, rows, pixels.data(), cancel))
        return false;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x) {
            const DeepPixel& p = pixels[size_t(y) * size_t(width) + size_t(x)];
            const size_t at = size_t(x) * size_t(rows) + size_t(y);
            counts[at] = EscapeCount(p.count);
            if (fractions)
                fractions[at] = IsEscapeCount(counts[at], limit)
                                    ? SmoothFraction(EscapeEnd{float(p.previousNorm), float(p.lastNorm)})
                                    : 0.0f;
        }
    return true;
}

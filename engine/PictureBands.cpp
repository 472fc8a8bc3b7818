#include "engine/PictureBands.h"

#include <algorithm>
#include <vector>

bool RenderPictureRows(const PictureJob& job, int first, int end, const std::atomic<bool>& cancel,
                       const TakeRows& take)
{
    PictureRenderer renderer(job);
    const int band = BandRowsFor(job.width, job.samples);
    std::vector<uint8_t> rgb(size_t(job.width) * 3 * size_t(band));
    for (int y = first; y < end; y += band) {
        const int count = std::min(band, end - y);
        if (!renderer.RenderRows(y, count, rgb.data(), cancel) || !take(rgb.data(), count))
            return false;
    }
    return true;
}

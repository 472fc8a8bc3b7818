#include "render/RenderRegion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/PlaceView.h"
#include "engine/Formulas.h"
#include "engine/ViewRecord.h"

PictureRegion RegionAtSize(const Place& place, int width, int height, bool stretch)
{
    PictureRegion region = RegionOfPlace(place);
    if (stretch)
        return region;
    // How much taller the picture is than the place's shape, in the place's
    // pixels times the picture's width.
    const int64_t taller = int64_t(height) * place.width - int64_t(width) * place.height;
    if (taller >= place.width)
        region.plane.extentY *= (long double)(int64_t(height) * place.width) / (long double)(int64_t(width) * place.height);
    else if (-taller >= place.height)
        region.plane.extentX *= (long double)(int64_t(width) * place.height) / (long double)(int64_t(height) * place.width);
    return region;
}

Place PlaceOfView(int type, long double centreRe, long double centreIm, long double extentRe, long double extentIm,
                  int width, int height, bool stretch)
{
    // Extents of the picture's shape but for the rounding of their digits stay as given.
    const long double wide = extentRe * height;
    const long double tall = extentIm * width;
    if (!stretch && std::fabs(wide - tall) > 1e-12L * std::max(wide, tall)) {
        if (wide > tall)
            extentIm = std::max(extentIm, wide / width);
        else
            extentRe = std::max(extentRe, tall / height);
    }
    Place view;
    view.type = type;
    view.params = StartupEditedParams();
    Place place = PlaceOfRegion(view, PlaneRegion{centreRe, centreIm, extentRe, extentIm, 0, 0, width, height});
    place.wholeWidth = place.width;
    place.wholeHeight = place.height;
    return place;
}

Place PlaceOfRegion(const Place& of, const PlaneRegion& region)
{
    const double scale =
        std::min({1.0, double(kMaxPictureWidth) / region.width, double(kMaxPictureHeight) / region.height});
    Place place = of;
    place.width = std::max(1, int(region.width * scale + 0.5));
    place.height = std::max(1, int(region.height * scale + 0.5));
    place.centreRe = region.centreX;
    place.centreIm = region.centreY;
    place.extentRe = region.extentX;
    place.extentIm = region.extentY;
    place.pixelRe = region.extentX / place.width;
    place.pixelIm = region.extentY / place.height;
    return place;
}

#pragma once
// What quorvex-render draws of a place at a size of its own: pixels keep
// their shape, so a picture of another shape than the place shows more of
// the plane along one axis, around the same centre.

#include "engine/Place.h"
#include "engine/PictureRenderer.h"

// The region a picture of width x height shows of the place. Where its shape
// is the place's, to within one pixel of the picture, the place's own region;
// otherwise the place's centre is kept and one extent grows, so that the
// pixels have the shape of the place's pixels. With stretch, the place's own
// region whatever the shape.
PictureRegion RegionAtSize(const Place& place, int width, int height, bool stretch);

// The place of a view given on the command line by its centre and extents,
// at the picture size the program could show it in, so that its PNG opens in
// the program. Without stretch the extents first grow along one axis to the
// shape of width x height, for square pixels.
Place PlaceOfView(int type, long double centreRe, long double centreIm, long double extentRe, long double extentIm,
                  int width, int height, bool stretch);

// The place of a picture of region.width x region.height showing that
// region: the place with the region's centre and extents, at the picture's
// size made small enough for the program (1600 x 1200 at most), so that
// the picture's PNG draws that very region again, at its own size. What a
// band of a picture and the frames of a film carry.
Place PlaceOfRegion(const Place& place, const PlaneRegion& region);

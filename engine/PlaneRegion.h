#pragma once
// A rectangle of the plane at a picture size, and the rules by which the
// program maps the picture's pixels to points of it and back. Each rule is
// written once, here; a caller names the rule it uses.

#include <optional>

struct PlanePoint {
    long double re = 0.0L;
    long double im = 0.0L;
};

// A picture's size in pixels.
struct PictureSize {
    int width = 0;
    int height = 0;
};

struct PlaneRegion {
    long double centreX = 0.0L;  // the centre, real and imaginary part
    long double centreY = 0.0L;
    long double extentX = 0.0L;  // along the real and the imaginary axis
    long double extentY = 0.0L;
    // The size of one pixel a view keeps: its extents over its own picture
    // size when it was made, which the picture shown may no longer have.
    long double pitchX = 0.0L;
    long double pitchY = 0.0L;
    int width = 0;  // the picture, in pixels
    int height = 0;

    // The render's rule, (x - width / 2) * extent / width + centre with the
    // half a real number: column 0 on the left edge of the rectangle, the
    // top row on its smallest imaginary part.
    long double RenderRe(int x) const { return (x - width / 2.0L) * extentX / width + centreX; }
    long double RenderIm(int y) const { return (y - height / 2.0L) * extentY / height + centreY; }

    // The pixel-size rule, (x - width div 2) * pitch + centre with the half
    // truncated: half a pixel beside the render's point where a side is odd.
    PlanePoint PitchPoint(int x, int y) const
    {
        return PlanePoint{(x - width / 2) * pitchX + centreX, (y - height / 2) * pitchY + centreY};
    }
    // The centre at which the pixel-size rule puts the point at pixel (x, y).
    PlanePoint CentreKeeping(int x, int y, PlanePoint point) const
    {
        return PlanePoint{point.re - (x - width / 2) * pitchX, point.im - (y - height / 2) * pitchY};
    }

    // The zoom's rule for the centre of a selection around pixel (x, y):
    // x * extent / width - extent / 2 + centre.
    PlanePoint ZoomCentre(int x, int y) const
    {
        return PlanePoint{x * PixelExtentX() - extentX / 2 + centreX, y * PixelExtentY() - extentY / 2 + centreY};
    }
    // What a pixel of the picture spans: the extent over the picture size.
    long double PixelExtentX() const { return extentX / width; }
    long double PixelExtentY() const { return extentY / height; }

    // Back from a point to the pixel whose left (top) edge is nearest to it,
    // counted from the rectangle's edge in pixel sizes and rounded half up;
    // none outside the rectangle.
    std::optional<int> ColumnOf(long double re) const;
    std::optional<int> RowOf(long double im) const;

    // The same rectangle at another picture size, with the pixel size that
    // size gives it.
    PlaneRegion AtSize(int w, int h) const
    {
        return PlaneRegion{centreX, centreY, extentX, extentY, extentX / w, extentY / h, w, h};
    }
};

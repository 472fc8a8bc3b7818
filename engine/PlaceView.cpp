#include "engine/PlaceView.h"

#include <cstring>

#include "engine/EngineState.h"
#include "engine/Navigation.h"

namespace {

bool SameWholeView(const ViewRecord& a, const ViewRecord& b)
{
    return a.diType == b.diType && a.diImgW == b.diImgW && a.diImgH == b.diImgH && a.dwx == b.dwx &&
           a.dwy == b.dwy && a.dwPitchX == b.dwPitchX && a.dwPitchY == b.dwPitchY && a.dwa == b.dwa &&
           a.dwb == b.dwb;
}

bool SameColorMap(const ColorMap& a, const ColorMap& b) { return std::memcmp(a.data(), b.data(), sizeof a) == 0; }

}  // namespace

Place PlaceOfCurrentView()
{
    const PictureSize shown = ShownPictureSize(dpCurr);
    Place place;
    place.type = dpCurr.diType;
    place.width = shown.width;
    place.height = shown.height;
    place.centreRe = dpCurr.dwa;
    place.centreIm = dpCurr.dwb;
    place.extentRe = dpCurr.dwx;
    place.extentIm = dpCurr.dwy;
    place.pixelRe = dpCurr.dwPitchX;
    place.pixelIm = dpCurr.dwPitchY;
    place.depth = dpCurr.dinum;
    place.params = ActiveParams;
    place.wholeWidth = WholeView.diImgW;
    place.wholeHeight = WholeView.diImgH;
    place.hasColorMap = true;
    place.colorMap = currentColorMap;
    place.limit = ActiveDepth.limit;
    place.coloring = ActiveDepth.coloring;
    place.julia = ActiveJulia;
    const PreciseCentre centre = WithoutRoundingOnly(CentreOrFields(CurrentCentre, PlanePoint{dpCurr.dwa, dpCurr.dwb}));
    if (!centre.Empty()) {
        place.centreReDigits = FormatPreciseExact(centre.Re());
        place.centreImDigits = FormatPreciseExact(centre.Im());
    }
    return place;
}

PreciseCentre CentreOfPlace(const Place& place)
{
    const PlanePoint fields{place.centreRe, place.centreIm};
    if (place.centreReDigits.empty() && place.centreImDigits.empty())
        return PreciseCentre();
    const auto part = [](const std::string& digits, long double field) {
        return digits.empty() ? PreciseReal(field) : ParsePrecise(digits).value;
    };
    return WithoutRoundingOnly(CentreOrFields(
        PreciseCentre(part(place.centreReDigits, fields.re), part(place.centreImDigits, fields.im)), fields));
}

PictureRegion RegionOfPlace(const Place& place)
{
    return PictureRegion{Iteration{place.type, place.params, place.limit, place.julia},
                         PlaneRegion{place.centreRe, place.centreIm, place.extentRe, place.extentIm, place.pixelRe,
                                     place.pixelIm, place.width, place.height},
                         CentreOfPlace(place)};
}

ViewRecord ViewOfPlace(const Place& place)
{
    ViewRecord view = ViewTemplate;
    view.diType = place.type;
    view.dinum = place.depth;
    view.diImgW = place.width;
    view.diImgH = place.height;
    view.dwx = place.extentRe;
    view.dwy = place.extentIm;
    view.dwPitchX = place.pixelRe;
    view.dwPitchY = place.pixelIm;
    view.dwa = place.centreRe;
    view.dwb = place.centreIm;
    return view;
}

ViewRecord WholeViewOfPlace(const Place& place)
{
    ViewRecord whole = ViewTemplate;
    whole.diImgW = place.wholeWidth;
    whole.diImgH = place.wholeHeight;
    SetWholeViewFields(whole, place.type, place.params.Og);
    return whole;
}

PlaceChanges SetUpPlace(const Place& place)
{
    PlaceChanges changes;
    dpNext = ViewOfPlace(place);
    NextCentre = CentreOfPlace(place);
    ActiveParams = place.params;
    ActiveDepth = PictureDepth{place.limit, place.coloring};
    ActiveJulia = place.julia;
    const ViewRecord whole = WholeViewOfPlace(place);
    if (!SameWholeView(whole, WholeView)) {
        WholeView = whole;
        changes.wholeView = true;
    }
    if (place.hasColorMap && !SameColorMap(place.colorMap, currentColorMap)) {
        SetCurrentColorMap(place.colorMap);
        changes.colorMap = true;
    }
    return changes;
}

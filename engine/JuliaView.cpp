#include "engine/JuliaView.h"

#include "engine/EngineState.h"
#include "engine/JuliaTable.h"
#include "engine/Navigation.h"

PlanePoint PointUnderPixel(int x, int y) { return PointOfPixel(dpCurr, ShownPictureSize(dpCurr), x, y); }

ViewRecord JuliaWholeView(const ViewRecord& from, const FormulaParams& params)
{
    ViewRecord view = ViewTemplate;
    view.diType = from.diType;
    view.dinum = 1;
    view.diImgW = from.diImgW;
    view.diImgH = from.diImgH;
    view.TakeRegion(JuliaWholeRegion(from.diType, params, PictureSize{from.diImgW, from.diImgH}));
    return view;
}

ViewRecord PlaneWholeView(const ViewRecord& from, const FormulaParams& params)
{
    ViewRecord view = ViewTemplate;
    view.diImgW = from.diImgW;
    view.diImgH = from.diImgH;
    SetWholeViewFields(view, from.diType, params.Og);
    return view;
}

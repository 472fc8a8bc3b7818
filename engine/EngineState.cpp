#include "engine/EngineState.h"

#include "colour/model/ColorMap.h"

const ViewRecord ViewTemplate{};
ViewRecord dpCurr{};
ViewRecord dpNext{};
ViewRecord WholeView{};
ViewStack BackStack;
ViewStack ForwardStack;
PreciseCentre CurrentCentre;
PreciseCentre NextCentre;

FormulaParams EditedParams = StartupEditedParams();
FormulaParams ActiveParams{};

IterationBufferType IterationBuffer{};
WholeCountBufferType WholeCountBuffer{};
EscapeEndBufferType EscapeEndBuffer{};
EscapeHistogramType EscapeHistogram{};
RenderedArea LastRenderedArea{};
CountSummary LastCountSummary{};

PictureDepth ActiveDepth{};
JuliaPoint ActiveJulia{};
bool AutomaticLimit = false;

bool IsRendering = false;
bool CancelRequested = false;
bool DebugMode = false;

int LastBackCount = 0;
int LastForwardCount = 0;

long double KeyStep = StartupKeyStep();

PictureSize ShownPictureSize(const ViewRecord& view)
{
    if (LastRenderedArea.width > 0)
        return PictureSize{LastRenderedArea.width, LastRenderedArea.rows};
    return PictureSize{view.diImgW, view.diImgH};
}

long double StartupKeyStep()
{
    // 0x3FFD C90FDAA22168C235: pi / 8 rounded to 64 mantissa bits.
    return 0x1.921fb54442d1846ap-2L;
}

void ResetEngineState()
{
    dpCurr = ViewTemplate;
    dpNext = ViewTemplate;
    CurrentCentre = NextCentre = PreciseCentre();
    WholeView = ViewTemplate;
    BackStack.clear();
    ForwardStack.clear();
    EditedParams = StartupEditedParams();
    ActiveParams = FormulaParams{};
    IterationBuffer.fill(0);
    WholeCountBuffer.fill(0);
    EscapeEndBuffer.fill(EscapeEnd{});
    EscapeHistogram.fill(0);
    LastRenderedArea = RenderedArea{};
    LastCountSummary = CountSummary{};
    ActiveDepth = PictureDepth{};
    ActiveJulia = kNoJuliaPoint;
    AutomaticLimit = false;
    IsRendering = false;
    CancelRequested = false;
    DebugMode = false;
    LastBackCount = 0;
    LastForwardCount = 0;
    KeyStep = StartupKeyStep();
    FillPresetColorMap(currentColorMap, kPresetSetting1);
}

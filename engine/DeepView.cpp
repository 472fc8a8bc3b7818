#include "engine/DeepView.h"

bool IsDeepType(int type) { return type >= kFirstDeepType && type <= kLastDeepType; }

bool IsDeepRegion(const Iteration& what, const PlaneRegion& region)
{
    return IsDeepType(what.type) && !what.julia.isSet && region.width > 0 && region.height > 0 &&
           !DirectKernelsResolve(region.centreX, region.centreY, region.PixelExtentX(), region.PixelExtentY());
}

DepthLimit DepthLimitOf(int type, bool julia, long double centreX, long double centreY, long double pitchX,
                        long double pitchY)
{
    if (julia)
        return DirectKernelsResolve(centreX, centreY, pitchX, pitchY) ? DepthLimit::None : DepthLimit::JuliaEightyBits;
    if (IsDeepType(type))
        return pitchX < kSmallestDeepPixel || pitchY < kSmallestDeepPixel ? DepthLimit::Smallest : DepthLimit::None;
    if (type != 0 && !DirectKernelsResolve(centreX, centreY, pitchX, pitchY))
        return DepthLimit::EightyBits;
    return DepthLimit::None;
}

const char* DepthLimitMessage(DepthLimit limit)
{
    switch (limit) {
    case DepthLimit::EightyBits:
        return "この関数はここより深く拡大できません（80 ビットの数では点の区別がつかなくなります）";
    case DepthLimit::JuliaEightyBits:
        return "ジュリア集合はここより深く拡大できません（80 ビットの数では点の区別がつかなくなります）";
    case DepthLimit::Smallest:
        return "ここより深くは拡大できません（深い拡大の限界です）";
    case DepthLimit::None: break;
    }
    return "";
}

DeepJob DeepJobOf(int type, const FormulaParams& params, const PlaneRegion& region, const PreciseCentre& centre,
                  int32_t limit)
{
    const PreciseCentre c = CentreOrFields(centre, PlanePoint{region.centreX, region.centreY});
    DeepJob job;
    job.type = type;
    job.params = params;
    job.centreX = c.Re();
    job.centreY = c.Im();
    job.pitchX = region.PixelExtentX();
    job.pitchY = region.PixelExtentY();
    job.width = region.width;
    job.height = region.height;
    job.limit = uint32_t(limit);
    return job;
}

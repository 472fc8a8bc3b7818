#include "engine/Coefficients.h"

#include <cmath>

#include "engine/EngineState.h"
#include "engine/NumberFormat.h"

namespace {

// The ends of the bar as values; a stepped value never passes them.
constexpr long double kUpperLimit = 1.6L;
constexpr long double kLowerLimit = -1.6L;

}  // namespace

long double& PartOf(FormulaParams& params, CoefficientPart part)
{
    switch (part) {
    case CoefficientPart::GzRe: return params.Gz.re;
    case CoefficientPart::GzIm: return params.Gz.im;
    case CoefficientPart::ItRe: return params.It.re;
    case CoefficientPart::ItIm: return params.It.im;
    case CoefficientPart::RmRe: return params.Rm.re;
    case CoefficientPart::RmIm: return params.Rm.im;
    case CoefficientPart::MuRe: return params.Mu.re;
    case CoefficientPart::MuIm: return params.Mu.im;
    case CoefficientPart::OgRe: return params.Og.re;
    case CoefficientPart::OgIm: break;
    }
    return params.Og.im;
}

long double CoefficientOfPosition(int position)
{
    return static_cast<long double>(position) / kPositionsPerUnit;
}

int PositionOfCoefficient(long double value)
{
    const long double scaled = value * kPositionsPerUnit;
    if (std::isnan(scaled))
        return 0;
    if (scaled >= kCoefficientBarMax)
        return kCoefficientBarMax;
    if (scaled <= kCoefficientBarMin)
        return kCoefficientBarMin;
    return static_cast<int>(RoundHalfUp(scaled));
}

std::optional<CoefficientKeyStep> StepByKey(const std::string& key, long double value, long double step)
{
    if (key == "0")
        return CoefficientKeyStep{0.0L, 0};
    if (key == "P" || key == "p") {
        value += step;
        if (value > kUpperLimit)
            value = 0 - 4 * step;
    } else if (key == "M" || key == "m") {
        value -= step;
        if (value < kLowerLimit)
            value = 4 * step;
    } else {
        return std::nullopt;
    }
    return CoefficientKeyStep{value, PositionOfCoefficient(value)};
}

void SetEditedPartAt(CoefficientPart part, int position) { PartOf(EditedParams, part) = CoefficientOfPosition(position); }

std::optional<int> StepEditedPartByKey(CoefficientPart part, const std::string& key)
{
    long double& value = PartOf(EditedParams, part);
    const std::optional<CoefficientKeyStep> step = StepByKey(key, value, KeyStep);
    if (!step)
        return std::nullopt;
    value = step->value;
    return step->position;
}

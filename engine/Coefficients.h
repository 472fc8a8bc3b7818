#pragma once
// The coefficient dialog's arithmetic: the ten parts of the formula
// parameters it edits, the bar position each part stands at, and the steps
// of the "0", "P" and "M" keys.

#include <optional>
#include <string>

#include "engine/Formulas.h"

// One real or imaginary part of a parameter, in the dialog's order.
enum class CoefficientPart { GzRe, GzIm, ItRe, ItIm, RmRe, RmIm, MuRe, MuIm, OgRe, OgIm };

long double& PartOf(FormulaParams& params, CoefficientPart part);

// Every bar: positions -32000..32000 standing for p / 20000.
inline constexpr int kCoefficientBarMin = -32000;
inline constexpr int kCoefficientBarMax = 32000;
inline constexpr int kCoefficientBarPage = 2000;
inline constexpr int kCoefficientBarTick = 4000;
inline constexpr int kPositionsPerUnit = 20000;

long double CoefficientOfPosition(int position);
// Floor of v * 20000 + 0.5, held to the bar's ends.
int PositionOfCoefficient(long double value);

// A typed key's new value and the position the bar then takes.
struct CoefficientKeyStep {
    long double value;
    int position;
};
// "0" sets 0, "P"/"p" adds step and wraps past 1.6 to -4 * step, "M"/"m"
// subtracts it and wraps below -1.6 to 4 * step. Any other key is left to the bar.
std::optional<CoefficientKeyStep> StepByKey(const std::string& key, long double value, long double step);

// The coefficient dialog's writes into EditedParams: a bar's position, or a
// typed key stepping the part by KeyStep, which returns the position the bar
// then takes (none for a key left to the bar).
void SetEditedPartAt(CoefficientPart part, int position);
std::optional<int> StepEditedPartByKey(CoefficientPart part, const std::string& key);

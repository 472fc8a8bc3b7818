#pragma once
// Every formula the program draws, one record each: how a point is iterated,
// which kernel computes a column, where its whole view lies, when conjugate
// rows share their counts, and what its menu items say. Adding a formula is
// one record here (FormulaTable.cpp) and its step (FormulaSteps.h).

#include <span>

#include "engine/FormulaKernels.h"
#include "engine/Iteration.h"
#include "engine/PlaneRegion.h"

inline constexpr int kFirstFormulaType = 1;
inline constexpr int kLastFormulaType = 6;

// The coefficients a step reads, as flags.
enum FormulaCoefficient : unsigned { kReadsXi = 1, kReadsEta = 2, kReadsLambda = 4, kReadsMu = 8 };

struct FormulaRecord {
    int type;
    // The whole-view items of the control window's and the drawing window's
    // formula menus: object names and captions, UTF-8.
    const char* controlName;
    const char* controlCaption;
    const char* drawingName;
    const char* drawingCaption;
    // The centre of the whole view: omicron, or the point given.
    bool wholeCentreIsOmicron;
    long double wholeCentreRe;
    long double wholeCentreIm;
    // One point iterated plainly from z = 0: the count every kernel gives,
    // and the end of its orbit if it escapes and end is not null.
    EscapeCount (*iteratePoint)(long double cx, long double cy, const FormulaParams& params, int limit,
                                EscapeEnd* end);
    // The counts of a column's rows, by the fastest kernel for the parameters.
    RowKernel iterateRows;
    // The coefficients the step reads (FormulaCoefficient flags).
    unsigned coefficients;
    // Whether the map commutes with conjugation when all the coefficients it
    // reads are real: then the orbits of conjugate points are conjugate, step
    // for step and bit for bit, and so are their counts.
    bool conjugateWithRealCoefficients;
};

// The records in the order of the menus, types kFirstFormulaType to kLastFormulaType.
std::span<const FormulaRecord> FormulaTable();
// The record of a type; none for a type the program does not have (0 among them).
const FormulaRecord* FindFormula(int type);

// Whether conjugate points have the same count with these parameters.
bool ConjugatesShareCounts(const FormulaRecord& formula, const FormulaParams& params);

// The centre of a type's whole view: where the table says, or omicron (also
// for a type the table does not have).
PlanePoint WholeViewCentre(int type, const ComplexValue& omicron);
// The whole view of every formula is 3.6 wide.
inline constexpr long double kWholeViewExtent = 3.6L;  // 0x4000 E666666666666666
// The whole view of a type on a picture of the given size: 3.6 wide, as tall
// as the picture's proportions make it, around WholeViewCentre.
PlaneRegion WholeViewRegion(int type, const ComplexValue& omicron, PictureSize picture);

#pragma once
// The Julia sets of the formulas, one record per formula: the same map, the
// same escape test, radius and limit, with each orbit starting at the
// pixel's point and the fixed c added at every step. The records choose the
// kernels beside the formula table's and say where the whole set lies.

#include <string>

#include "engine/FormulaKernels.h"
#include "engine/Iteration.h"
#include "engine/PlaneRegion.h"

struct JuliaRecord {
    int type;
    // One point (zx, zy) iterated plainly with the fixed c: what every Julia
    // kernel is held to.
    EscapeCount (*iteratePoint)(long double zx, long double zy, long double cRe, long double cIm,
                                const FormulaParams& params, int limit, EscapeEnd* end);
    // The counts of a column's rows for what.julia.
    RowKernel iterateRows;
    // f(-z) is f(z) bit for bit (an even map): the points z and -z have the
    // same orbit from the first step on, for every c.
    bool even;
    // The whole view: centred on 0, or for the polynomial on -eta / (4 xi),
    // the mean of the roots of f(z) + c; its shorter side this long.
    bool centreOfPolynomial;
    long double wholeSide;
};

// The record of a type; none for a type the program does not have.
const JuliaRecord* FindJulia(int type);

// IteratePoint for what.julia: the orbit of the point (zx, zy).
EscapeCount IterateJuliaPoint(const Iteration& what, long double zx, long double zy, EscapeEnd* end);

// Whether a column's row i shares its count with row rows - i where their
// starting points are conjugates (c and every coefficient read real) or
// negatives (an even map on the column through 0).
bool JuliaRowsMirror(const Iteration& what, long double cx);

// The Julia set's whole view of a type on a picture of the given size.
PlaneRegion JuliaWholeRegion(int type, const FormulaParams& params, PictureSize picture);
// c short enough for a caption, three digits a part: "-0.8+0.156i".
std::string JuliaPointCaption(const JuliaPoint& c);
// Whether a point can be a Julia view's c: both parts finite.
bool IsJuliaParameter(long double re, long double im);

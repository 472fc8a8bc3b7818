#pragma once
// The program-wide engine state, shared by every window on the one
// user-interface thread.

#include <array>
#include <cstdint>

#include "engine/AutomaticLimit.h"
#include "engine/CountColors.h"
#include "engine/Formulas.h"
#include "engine/PictureDepth.h"
#include "engine/ViewRecord.h"
#include "engine/deep/PreciseCentre.h"

inline constexpr int kBufferColumns = 2001;
inline constexpr int kBufferRows = 1501;

// Escape counts of the last render, column-major: (x, y) at x * kBufferRows + y.
// 8 bits: the count's entry in the count colouring, the count itself with a
// limit of 256; 0 for a captured point as for count 0 (BufferValueOfCount).
using IterationBufferType = std::array<uint8_t, kBufferColumns * kBufferRows>;
// The same counts whole, the limit for a captured point, laid out alike.
using WholeCountBufferType = std::array<EscapeCount, kBufferColumns * kBufferRows>;
// The ends of the escaped points' orbits, laid out alike.
using EscapeEndBufferType = std::array<EscapeEnd, kBufferColumns * kBufferRows>;
// Counters 0..255 per buffer value (the escape count with a limit of 256),
// counter 256 for captured points.
using EscapeHistogramType = std::array<uint32_t, kCapturedCounter + 1>;

inline constexpr int BufferIndex(int x, int y) { return x * kBufferRows + y; }

// The part of the picture the last render really filled: the columns it
// completed, at the height it rendered; and the width of the whole picture
// it set out to draw.
struct RenderedArea {
    int columns = 0;
    int rows = 0;
    int width = 0;
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < columns && y < rows; }
};

// The size of the picture on screen: the last render's, which a window
// resized since then does not change; the view's own before any render.
PictureSize ShownPictureSize(const ViewRecord& view);

extern const ViewRecord ViewTemplate;
extern ViewRecord dpCurr;
extern ViewRecord dpNext;
extern ViewRecord WholeView;
extern ViewStack BackStack;
extern ViewStack ForwardStack;
// The precise centres of dpCurr and dpNext; empty where their fields are the centre.
extern PreciseCentre CurrentCentre;
extern PreciseCentre NextCentre;

extern FormulaParams EditedParams;
extern FormulaParams ActiveParams;

extern IterationBufferType IterationBuffer;
extern WholeCountBufferType WholeCountBuffer;
extern EscapeEndBufferType EscapeEndBuffer;
extern EscapeHistogramType EscapeHistogram;
extern RenderedArea LastRenderedArea;
// The counts of the last render: their range, and what the automatic limit
// decides from.
extern CountSummary LastCountSummary;

// The limit and colouring of the view on screen, kept with it in the history
// as the coefficients are.
extern PictureDepth ActiveDepth;
// The limit menu's choice "automatic": a new view takes the limit the rule
// chose from the last render (NextAutomaticLimit of LastCountSummary).
extern bool AutomaticLimit;
// The c of the view on screen where it is a Julia view, kept with it in the history.
extern JuliaPoint ActiveJulia;

extern bool IsRendering;
extern bool CancelRequested;
extern bool DebugMode;

// History counts taken by the last render; they decide back/forward after it.
extern int LastBackCount;
extern int LastForwardCount;

extern long double KeyStep;

// pi / 8 in extended precision.
long double StartupKeyStep();

// Puts every program-wide value back to what the program starts with:
// view records from the template, empty history, start-up parameters,
// cleared buffers and histogram, flags off, currentColorMap at its start.
void ResetEngineState();

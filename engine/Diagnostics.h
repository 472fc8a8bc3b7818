#pragma once
// What the diagnostics grid shows: the fields of a view record, one per row,
// and the escape-count histogram.

#include <array>
#include <string>
#include <vector>

#include "engine/EngineState.h"
#include "engine/ViewRecord.h"

// Rows 0..19 of the record grid's heading column.
inline constexpr std::array<const char*, 20> kViewRecordRowNames = {
    "No",  "dbOK", "dinum", "diWinW", "diWinH", "diImgW", "diImgH", "dwa", "dwb", "dwx",
    "dwy", "csx",  "csy",   "cex",    "cey",    "cdx",    "cdy",    "ccx", "ccy", "Img(W,H)",
};

// Rows 1..19 of one record column: "---" for dbOK, integers in decimal,
// reals in the general 15-digit form, and last the given picture width.
std::array<std::string, 19> ViewRecordColumn(const ViewRecord& view, int pictureWidth);

// Rows 1..257 of the count column: counter r - 1 beside label r - 1, so the
// captured pixels (counter 256) come last. At a limit above 256 the counters
// are those of the count colouring's entries.
std::array<std::string, 257> HistogramColumn(const EscapeHistogramType& histogram);

// The rows the count grid gains below the counters where the render's limit
// is not 256: the limit, and the smallest and largest escape count ("-"
// where nothing escaped); none at 256.
struct GridRow {
    std::string label;
    std::string value;
};
std::vector<GridRow> CountRangeRows(const CountSummary& counts);

#include "engine/Diagnostics.h"

#include "engine/NumberFormat.h"

std::array<std::string, 19> ViewRecordColumn(const ViewRecord& view, int pictureWidth)
{
    using std::to_string;
    return {
        "---",
        to_string(view.dinum),
        to_string(view.diWinW),
        to_string(view.diWinH),
        to_string(view.diImgW),
        to_string(view.diImgH),
        FormatGeneral15(view.dwa),
        FormatGeneral15(view.dwb),
        FormatGeneral15(view.dwx),
        FormatGeneral15(view.dwy),
        to_string(view.csx),
        to_string(view.csy),
        to_string(view.cex),
        to_string(view.cey),
        to_string(view.cdx),
        to_string(view.cdy),
        to_string(view.ccx),
        to_string(view.ccy),
        to_string(pictureWidth),
    };
}

std::array<std::string, 257> HistogramColumn(const EscapeHistogramType& histogram)
{
    std::array<std::string, 257> column;
    for (size_t i = 0; i < column.size(); ++i)
        column[i] = std::to_string(histogram[i]);
    return column;
}

std::vector<GridRow> CountRangeRows(const CountSummary& counts)
{
    if (counts.limit == kDefaultIterationLimit)
        return {};
    const bool escaped = counts.escaped > 0;
    return {
        {"limit", std::to_string(counts.limit)},
        {"min", escaped ? std::to_string(counts.smallest) : "-"},
        {"max", escaped ? std::to_string(counts.largest) : "-"},
    };
}

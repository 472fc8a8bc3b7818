// quorvex-render: draws a Quorvex picture of any size without a display,
// the same pixels the program shows for the same place, size and colour map.

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "colour/model/ColorMap.h"
#include "colour/model/ColorMapFile.h"
#include "engine/Formulas.h"
#include "engine/PictureRenderer.h"
#include "engine/Place.h"
#include "files/PictureFiles.h"
#include "files/WholeFiles.h"
#include "render/RenderOptions.h"

namespace {

constexpr int kBadUse = 2;
constexpr int kFailed = 1;

int Fail(int status, const std::string& message)
{
    std::fprintf(stderr, "quorvex-render: %s\n", message.c_str());
    return status;
}

// The place of a view given on the command line, at the picture size the
// program could show it in, so that the picture's PNG opens in the program.
Place PlaceOfRegion(int type, long double re, long double im, long double extentRe, long double extentIm, int width,
                    int height)
{
    const double scale = std::min({1.0, double(kMaxPictureWidth) / width, double(kMaxPictureHeight) / height});
    Place place;
    place.type = type;
    place.width = std::max(1, int(width * scale));
    place.height = std::max(1, int(height * scale));
    place.wholeWidth = place.width;
    place.wholeHeight = place.height;
    place.centreRe = re;
    place.centreIm = im;
    place.extentRe = extentRe;
    place.extentIm = extentIm;
    place.pixelRe = extentRe / place.width;
    place.pixelIm = extentIm / place.height;
    place.params = StartupEditedParams();
    return place;
}

// The place to draw: a .qvplace file, a PNG the program saved, or the view
// of the command line. False with the reason.
bool ReadPlace(const RenderOptions& o, Place& place, std::string& reason)
{
    if (o.place.empty()) {
        place = PlaceOfRegion(*o.type, o.centreRe, o.centreIm, o.extentRe, o.extentIm, o.width, o.height);
        return true;
    }
    return ReadPlaceFile(o.place, place, reason);
}

bool ReadColors(const RenderOptions& o, const Place& place, ColorMap& colors, std::string& reason)
{
    if (!o.colorMap.empty()) {
        const ColorMapFileResult result = ReadColorMapFile(o.colorMap, colors);
        reason = ColorMapFileMessage(result, o.colorMap);
        return result == ColorMapFileResult::Done;
    }
    if (place.hasColorMap)
        colors = place.colorMap;
    else
        FillPresetColorMap(colors, kPresetSetting1);
    return true;
}

class Progress {
public:
    Progress(bool shown, int rows) : shown_(shown), rows_(rows), start_(std::chrono::steady_clock::now()) {}
    void Show(int done)
    {
        if (!shown_ || done == 0)
            return;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        const int left = int(seconds * (rows_ - done) / done + 0.5);
        std::fprintf(stderr, "\r%3d%%  %d:%02d left ", int(100.0 * done / rows_), left / 60, left % 60);
        if (done == rows_)
            std::fputc('\n', stderr);
    }

private:
    bool shown_;
    int rows_;
    std::chrono::steady_clock::time_point start_;
};

int Render(const RenderOptions& o)
{
    Place place;
    std::string reason;
    if (!ReadPlace(o, place, reason))
        return Fail(kBadUse, o.place + ": " + reason);
    PictureJob job;
    job.region = RegionOfPlace(place);
    job.width = o.width > 0 ? o.width : place.width;
    job.height = o.height > 0 ? o.height : place.height;
    job.samples = o.samples;
    job.threads = o.threads;
    if (!ReadColors(o, place, job.colors, reason))
        return Fail(kBadUse, reason);
    const RowRange rows = PartRows(job.height, o.part, o.parts);
    if (rows.end <= rows.first)
        return Fail(kBadUse, "--part: the picture has fewer rows than parts");

    PictureFileWriter file(o.output, PictureFormatOfName(o.output), job.width, rows.end - rows.first, kPlacePngKey,
                           FormatPlace(place));
    if (file.Open(reason) != FileWriteResult::Written)
        return Fail(kBadUse, o.output + ": " + reason);
    PictureRenderer renderer(job);
    Progress progress(!o.quiet && ::isatty(STDERR_FILENO), rows.end - rows.first);
    const int bandRows = BandRowsFor(job.width, job.samples);
    std::vector<uint8_t> band(size_t(job.width) * 3 * size_t(bandRows));
    const std::atomic<bool> never{false};
    for (int y = rows.first; y < rows.end; y += bandRows) {
        const int count = std::min(bandRows, rows.end - y);
        renderer.RenderRows(y, count, band.data(), never);
        if (!file.WriteRows(band.data(), count))
            break;
        progress.Show(y + count - rows.first);
    }
    if (file.Finish(reason) != FileWriteResult::Written)
        return Fail(kFailed, o.output + ": " + reason);
    return 0;
}

int Bench()
{
    PictureJob job;
    const FormulaParams params = StartupEditedParams();
    job.region = PictureRegion{Iteration{1, params}, WholeViewRegion(1, params.Og, PictureSize{3840, 2160})};
    job.width = 3840;
    job.height = 2160;
    FillPresetColorMap(job.colors, kPresetSetting1);
    PictureRenderer renderer(job);
    const int bandRows = BandRowsFor(job.width, job.samples);
    std::vector<uint8_t> band(size_t(job.width) * 3 * size_t(bandRows));
    const std::atomic<bool> never{false};
    const auto start = std::chrono::steady_clock::now();
    for (int y = 0; y < job.height; y += bandRows)
        renderer.RenderRows(y, std::min(bandRows, job.height - y), band.data(), never);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("bench case=whole1 size=3840x2160 aa=1 seconds=%.3f megapixels_per_s=%.1f\n", seconds,
                3840.0 * 2160.0 / seconds / 1e6);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    RenderOptions options;
    std::string error;
    if (!ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), options, error))
        return Fail(kBadUse, error + "\n" + "Try 'quorvex-render --help'.");
    if (options.help) {
        std::fputs(RenderUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("quorvex-render (Quorvex) %s\n", QUORVEX_VERSION);
        return 0;
    }
    return options.bench ? Bench() : Render(options);
}

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
#include "engine/PictureBands.h"
#include "engine/PictureRenderer.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "engine/DeepPictures.h"
#include "files/PictureFiles.h"
#include "files/WholeFiles.h"
#include "render/RenderOptions.h"
#include "render/PictureOutputs.h"
#include "render/RenderRegion.h"
#include "render/TerminationSignals.h"
#include "render/ZoomFilm.h"

namespace {

int Fail(int status, const std::string& message)
{
    std::fprintf(stderr, "quorvex-render: %s\n", message.c_str());
    return status;
}

// The place to draw: a .qvplace file, a PNG the program saved, or the view
// of the command line. False with the reason.
bool ReadPlace(const RenderOptions& o, Place& place, std::string& reason)
{
    if (o.place.empty()) {
        place = PlaceOfView(*o.type, o.centreRe, o.centreIm, o.extentRe, o.extentIm, o.width, o.height, o.stretch);
        place.centreReDigits = o.centreReDigits;
        place.centreImDigits = o.centreImDigits;
        return true;
    }
    return ReadPlaceFile(o.place, place, reason);
}

// The picture's size: as asked, else a PNG's own, else the place's.
bool PictureSizeOf(const RenderOptions& o, const Place& place, int& width, int& height, std::string& reason)
{
    width = o.width > 0 ? o.width : place.width;
    height = o.height > 0 ? o.height : place.height;
    if (o.width > 0 || o.place.empty() || PictureFormatOfName(o.place) != PictureFormat::Png)
        return true;
    if (!ReadPngSize(o.place, width, height) || width > kMaxPictureSide || height > kMaxPictureSide) {
        reason = "the PNG's own size is not 1 to " + std::to_string(kMaxPictureSide) + " each way; give --size";
        return false;
    }
    return true;
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

// The limit and the colouring given override the place's own; an automatic
// limit is settled on the place's view before the picture is drawn, and
// goes into the picture's place.
void TakeDepth(const RenderOptions& o, const PictureJob& job, Place& place)
{
    if (o.limit)
        place.limit = *o.limit;
    if (o.coloring)
        place.coloring = *o.coloring;
    // A film settles the limit of each frame.
    if (!o.automaticLimit || o.zoomFrames > 0)
        return;
    const std::atomic<bool> never{false};
    place.limit = SettledAutomaticLimit(RegionOfPlace(place), job.width, job.height, o.threads, never);
    if (!o.quiet && ::isatty(STDERR_FILENO))
        std::fprintf(stderr, "automatic limit: %d\n", int(place.limit));
}

// A deep view the deep renderer cannot draw is refused before any file is made.
bool DeepPictureDrawable(const PictureJob& job, std::string& reason)
{
    const PlaneRegion samples = job.region.plane.AtSize(job.width * job.samples, job.height * job.samples);
    const std::unique_ptr<DeepRenderer> deep = DeepRendererFor(job.region.iteration, job.region.plane, job.region.centre, samples, 1);
    if (deep && deep->Fault() != DeepFault::None) {
        reason = std::string("a deep view it cannot draw: ") + DeepFaultText(deep->Fault());
        return false;
    }
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

// The place rows [first, end) of the picture show: the place itself for
// every row, else the band's own, so that a band's PNG draws that band.
Place PlaceOfRows(const Place& place, const PictureJob& job, RowRange rows)
{
    if (rows.first == 0 && rows.end == job.height)
        return place;
    const PlaneRegion whole = job.region.plane;
    const long double middle = (rows.first + rows.end) / 2.0L - job.height / 2.0L;
    const PlaneRegion band{whole.centreX, whole.centreY + middle * whole.extentY / job.height, whole.extentX,
                           whole.extentY * (rows.end - rows.first) / job.height, 0, 0, job.width,
                           rows.end - rows.first};
    return PlaceOfRegion(place, band);
}

int Render(const RenderOptions& o)
{
    Place place;
    std::string reason;
    if (!ReadPlace(o, place, reason))
        return Fail(kBadUse, o.place + ": " + reason);
    if (o.julia.isSet)
        place.julia = o.julia;
    PictureJob job;
    if (!PictureSizeOf(o, place, job.width, job.height, reason))
        return Fail(kBadUse, o.place + ": " + reason);
    TakeDepth(o, job, place);
    job.region = RegionAtSize(place, job.width, job.height, o.stretch);
    job.coloring = place.coloring;
    job.samples = o.samples;
    job.threads = o.threads;
    if (!ReadColors(o, place, job.colors, reason))
        return Fail(kBadUse, reason);
    if (!DeepPictureDrawable(job, reason))
        return Fail(kBadUse, reason);
    if (o.zoomFrames > 0)
        return RenderFilm(o, place, job);
    const RowRange rows = PartRows(job.height, o.part, o.parts);
    if (rows.end <= rows.first)
        return Fail(kBadUse, "--part: the picture has fewer rows than parts");

    PictureOutputs outputs(PictureTargets{o.output, o.raw, nullptr}, job, rows.end - rows.first,
                           FormatPlace(PlaceOfRows(place, job, rows)));
    if (!outputs.Open(reason))
        return Fail(kNotWritten, reason);
    Progress progress(!o.quiet && ::isatty(STDERR_FILENO), rows.end - rows.first);
    PictureRenderer renderer(job);
    DrawPicture(renderer, job, rows.first, rows.end, outputs, [&](int done) { progress.Show(done); });
    if (!outputs.Finish(reason))
        return Fail(kNotWritten, reason);
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
    const std::atomic<bool> never{false};
    const auto start = std::chrono::steady_clock::now();
    RenderPictureRows(job, 0, job.height, never, [](const uint8_t*, int) { return true; });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("bench case=whole1 size=3840x2160 aa=1 seconds=%.3f megapixels_per_s=%.1f\n", seconds,
                3840.0 * 2160.0 / seconds / 1e6);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    CatchTerminationSignals();
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

#include "render/RenderOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "engine/FormulaTable.h"
#include "engine/PictureRenderer.h"
#include "engine/RenderWorkers.h"
#include "render/FilmFrames.h"
#include "render/VideoPipe.h"
#include "render/ZoomSchedule.h"
#include "engine/deep/PreciseNumber.h"

namespace {

bool WholeNumber(const std::string& text, long low, long high, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || n < low || n > high)
        return false;
    value = int(n);
    return true;
}

bool Real(const std::string& text, long double& value)
{
    char* end = nullptr;
    errno = 0;
    const long double v = std::strtold(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

// A number of any length: its rounding, and the text itself where it holds more.
bool PreciseNumber(const std::string& text, long double& value, std::string& digits)
{
    const PreciseParse parsed = ParsePrecise(text);
    if (parsed.fault != PreciseFault::None)
        return false;
    value = parsed.value.Rounded();
    digits = PreciseReal(value) == parsed.value ? std::string() : text;
    return std::isfinite(value);
}

// "A<sep>B" into its two halves.
bool Pair(const std::string& text, char separator, std::string& a, std::string& b)
{
    const size_t at = text.find(separator);
    if (at == std::string::npos || text.find(separator, at + 1) != std::string::npos)
        return false;
    a = text.substr(0, at);
    b = text.substr(at + 1);
    return true;
}

// "A,B" or "A,B,C,D" of finite numbers into n, counted.
int Numbers(const std::string& text, long double* n, int most)
{
    int count = 0;
    for (std::size_t at = 0; count < most;) {
        const std::size_t comma = text.find(',', at);
        if (!Real(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at), n[count]))
            return 0;
        ++count;
        if (comma == std::string::npos)
            return count;
        at = comma + 1;
    }
    return 0;
}

// The options of films and raw data; false with no error for a name that is none of them.
bool ReadFilmOption(const std::string& name, const std::string& value, RenderOptions& o, std::string& error)
{
    const auto fail = [&](const std::string& why) {
        error = name + " " + value + ": " + why;
        return false;
    };
    if (name == "--raw")
        o.raw = value;
    else if (name == "--zoom-frames") {
        if (!WholeNumber(value, 2, kMaxFilmFrames, o.zoomFrames))
            return fail("a zoom film has 2 to " + std::to_string(kMaxFilmFrames) + " frames");
    } else if (name == "--zoom-start") {
        o.zoomStartNumbers = Numbers(value, o.zoomStart, 4);
        const long double* extent = o.zoomStart + (o.zoomStartNumbers == 4 ? 2 : 0);
        if ((o.zoomStartNumbers != 2 && o.zoomStartNumbers != 4) || !(extent[0] > 0) || !(extent[1] > 0))
            return fail("the start is W,H about the place's centre or RE,IM,W,H, extents greater than 0");
    } else if (name == "--frames")
        o.frames = value;
    else if (name == "--video") {
        if (VideoContainerOfName(value).empty())
            return fail("a video is an .mp4, .m4v, .mov or .mkv file");
        o.video = value;
    } else if (name == "--fps") {
        if (!CheckFrameRate(value, error))
            return false;
        o.fps = value;
    } else
        return false;
    return true;
}

// What a film or raw data asks of the rest of the command line.
bool CheckFilm(const RenderOptions& o, std::string& error)
{
    const auto fail = [&](const std::string& why) {
        error = why;
        return false;
    };
    if (!o.raw.empty() && !IsRawFileName(o.raw))
        return fail("--raw " + o.raw + ": raw iteration data is an OpenEXR file, named .exr");
    if ((!o.raw.empty() || (o.zoomFrames > 0 && IsRawFileName(o.output))) && o.samples > 1)
        return fail("raw iteration data has one count a pixel: it takes no --aa");
    if (o.zoomFrames == 0) {
        if (!o.frames.empty() || o.zoomStartNumbers > 0 || !o.video.empty())
            return fail("--frames, --zoom-start and --video belong to a zoom film: give --zoom-frames N");
        return true;
    }
    if (o.parts > 1)
        return fail("a zoom film is drawn whole: --part is for one picture");
    FrameRange range;
    if (!o.frames.empty() && !ParseFrameRange(o.frames, o.zoomFrames, range, error))
        return false;
    if (!o.video.empty() && (!o.output.empty() || !o.raw.empty()))
        return fail("--video writes the frames into the video alone; for frame files, draw them with -o and join "
                    "them with ffmpeg");
    if (!o.raw.empty() && IsRawFileName(o.output))
        return fail("-o " + o.output + " already names raw frames; --raw is for raw frames beside pictures");
    FrameNames names;
    for (const std::string& pattern : {o.output, o.raw})
        if (!pattern.empty() && !FrameNames::Make(pattern, names, error))
            return false;
    return true;
}

bool ReadOption(const std::string& name, const std::string& value, RenderOptions& o, std::string& error)
{
    std::string a, b;
    const auto fail = [&](const std::string& why) {
        error = name + " " + value + ": " + why;
        return false;
    };
    if (name == "-o" || name == "--output") {
        if (value == "-")
            return fail("standard output is not written; name a file (./- for one named \"-\")");
        o.output = value;
    }
    else if (name == "--size") {
        if (!Pair(value, 'x', a, b) || !WholeNumber(a, 1, kMaxPictureSide, o.width) ||
            !WholeNumber(b, 1, kMaxPictureSide, o.height))
            return fail("a size is WIDTHxHEIGHT, each 1 to " + std::to_string(kMaxPictureSide));
    } else if (name == "--aa") {
        if (!WholeNumber(value, 1, kMaxSamples, o.samples))
            return fail("anti-aliasing is 1, 2, 3 or 4 (N x N samples a pixel)");
    } else if (name == "--colour-map" || name == "--color-map")
        o.colorMap = value;
    else if (name == "--limit") {
        int limit = 0;
        o.automaticLimit = value == "auto";
        if (!o.automaticLimit && !(WholeNumber(value, kLimitStep, kMostIterationLimit, limit) && IsIterationLimit(limit)))
            return fail("the limit is auto, or a multiple of " + std::to_string(kLimitStep) + " from " +
                        std::to_string(kLimitStep) + " to " + std::to_string(kMostIterationLimit));
        if (!o.automaticLimit)
            o.limit = limit;
    } else if (name == "--colouring" || name == "--coloring") {
        o.coloring = ColoringOfName(value);
        if (!o.coloring)
            return fail("the colouring is count, log, smooth or histogram");
    }
    else if (name == "--threads") {
        if (!WholeNumber(value, 1, kMostRenderThreads, o.threads))
            return fail("threads are 1 to " + std::to_string(kMostRenderThreads));
    } else if (name == "--part") {
        if (!Pair(value, '/', a, b) || !WholeNumber(b, 1, kMaxPictureSide, o.parts) ||
            !WholeNumber(a, 1, o.parts, o.part))
            return fail("a part is K/N with 1 <= K <= N");
    } else if (name == "--type") {
        int type = 0;
        if (!WholeNumber(value, kFirstFormulaType, kLastFormulaType, type))
            return fail("the formula type is " + std::to_string(kFirstFormulaType) + " to " +
                        std::to_string(kLastFormulaType));
        o.type = type;
    } else if (name == "--centre" || name == "--center") {
        if (!Pair(value, ',', a, b) || !PreciseNumber(a, o.centreRe, o.centreReDigits) ||
            !PreciseNumber(b, o.centreIm, o.centreImDigits))
            return fail("a centre is RE,IM, two finite numbers (decimals of any length)");
        o.hasCentre = true;
    } else if (name == "--extent") {
        if (!Pair(value, ',', a, b) || !Real(a, o.extentRe) || !Real(b, o.extentIm) || !(o.extentRe > 0) ||
            !(o.extentIm > 0))
            return fail("an extent is WIDTH,HEIGHT in the plane, both greater than 0");
        o.hasExtent = true;
    } else if (name == "--julia") {
        long double re = 0, im = 0;
        if (!Pair(value, ',', a, b) || !Real(a, re) || !Real(b, im))
            return fail("a Julia point is RE,IM, two finite numbers");
        o.julia = JuliaPoint::At(re, im);
    } else if (!ReadFilmOption(name, value, o, error)) {
        if (error.empty())
            error = "unknown option " + name;
        return false;
    }
    return true;
}

bool CheckWhole(const RenderOptions& o, std::string& error)
{
    if (o.help || o.version || o.bench)
        return true;
    const bool view = o.type || o.hasCentre || o.hasExtent;
    if (o.place.empty() == !view) {
        error = view ? "give a place file or --type, --centre and --extent, not both"
                     : "nothing to draw: give a place file, or --type, --centre and --extent";
        return false;
    }
    if (view && !(o.type && o.hasCentre && o.hasExtent && o.width > 0)) {
        error = "without a place file, --type, --centre, --extent and --size are all needed";
        return false;
    }
    if (!CheckFilm(o, error))
        return false;
    if (o.output.empty() && o.raw.empty() && o.zoomFrames == 0) {
        error = "no output file: give -o OUT.png or -o OUT.jpg";
        return false;
    }
    return true;
}

}  // namespace

bool ParseRenderOptions(const std::vector<std::string>& arguments, RenderOptions& o, std::string& error)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        const size_t equals = name.find('=');
        const bool joined = name.rfind("--", 0) == 0 && equals != std::string::npos;
        if (joined) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "--help" || name == "-h")
            o.help = true;
        else if (name == "--version")
            o.version = true;
        else if (name == "--bench")
            o.bench = true;
        else if (name == "--quiet" || name == "-q")
            o.quiet = true;
        else if (name == "--stretch")
            o.stretch = true;
        else if (!name.empty() && name[0] == '-' && name != "-") {
            // Every other option takes a value, joined by '=' or the next word.
            if (!joined && i + 1 < arguments.size())
                value = arguments[++i];
            if (!ReadOption(name, value, o, error))
                return false;
        } else if (o.place.empty())
            o.place = name;
        else {
            error = "more than one place file: " + o.place + ", " + name;
            return false;
        }
    }
    return CheckWhole(o, error);
}

std::string RenderUsage()
{
    const std::string types = std::to_string(kFirstFormulaType) + "-" + std::to_string(kLastFormulaType);
    return "Usage: quorvex-render PLACE -o OUT.png|OUT.jpg [options]\n"
           "       quorvex-render --type T --centre RE,IM --extent W,H --size WxH -o OUT [options]\n"
           "       quorvex-render PLACE --zoom-frames N [-o PATTERN | --video OUT.mp4] [options]\n"
           "Draws a Quorvex picture without a display: the place saved by the program (a .qvplace\n"
           "file or a PNG the program saved), or the view given by formula type " + types + ", centre and\n"
           "extent in the plane. Numbers may be decimal or hexadecimal floating point.\n"
           "  -o, --output FILE    the picture, PNG or JPEG by its extension; written whole or not\n"
           "                       at all (\"-o -\" is refused: standard output is not written)\n"
           "  --size WxH           its size, 1 to 16384 each (default: a PNG's own size, else the\n"
           "                       place's picture size). Pixels keep their shape: a size of\n"
           "                       another shape shows more of the plane along one axis, around\n"
           "                       the same centre; --extent is the least that is shown\n"
           "  --stretch            the place's region or --extent exactly, stretched to the size\n"
           "  --aa N               N x N samples a pixel, averaged in linear light (1 to 4; default 1)\n"
           "  --colour-map FILE    a 1024-byte .col colour map (default: the place's own map,\n"
           "                       else the program's start-up map)\n"
           "  --limit N|auto       the iteration limit, a multiple of 8 from 8 to 1048576 (default: the\n"
           "                       place's own, else 256); auto settles it by the program's rule on\n"
           "                       the counts of the view at its own size\n"
           "  --colouring NAME     count, log, smooth or histogram (default: the place's own, else count)\n"
           "  --julia RE,IM        the Julia set of the point c = RE + IM i: each pixel's orbit starts at\n"
           "                       its point and adds c (default: the place's own, else the plane)\n"
           "  --threads N          worker threads (default: one a core)\n"
           "  --part K/N           only the K-th of N horizontal bands, for spreading a large\n"
           "                       picture over machines; the bands joined top to bottom make the whole\n"
           "  --raw FILE.exr       the escape counts as raw iteration data (OpenEXR: N, and NF with\n"
           "                       the smooth colouring), besides -o or alone; in a film, a pattern\n"
           "Zoom films, from the start down to the place by one zoom factor a frame:\n"
           "  --zoom-frames N      N frames (2 to 1000000), numbered 0 (the start) to N-1 (the place)\n"
           "  --zoom-start W,H     the first frame's extents about the place's centre, or RE,IM,W,H\n"
           "                       (default: the place's whole view)\n"
           "  -o PATTERN           the frames' names, one integer field such as %05d (default\n"
           "                       frame-%05d.png); .png, .jpg, or .exr for raw frames\n"
           "  --frames A-B|K       only frames A to B, or K, for spreading a film over machines;\n"
           "                       frames whose files are there already are kept\n"
           "  --video OUT.mp4      the frames through ffmpeg into a video (H.264, yuv420p; .mp4,\n"
           "                       .m4v, .mov or .mkv) instead of files\n"
           "  --fps RATE           the video's frames a second (default 30)\n"
           "  -q, --quiet          no progress on standard error\n"
           "  --bench              time a whole view at 3840x2160 and print megapixels per second\n"
           "  --version            print the version\n"
           "  -h, --help           print this text\n"
           "Exit status: 0 when the picture is written; 2 for bad arguments or an unreadable place\n"
           "or colour map (for a film also a folder that takes no frames); 1 when the picture cannot\n"
           "be written. On a failure, and when Ctrl+C, SIGTERM or SIGHUP ends it, no half-written\n"
           "file is left behind.\n";
}

bool IsRawFileName(const std::string& path)
{
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.')
        return false;
    std::string ending = path.substr(dot + 1);
    for (char& c : ending)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ending == "exr";
}

RowRange PartRows(int height, int part, int parts)
{
    const auto edge = [&](int k) { return int((long long)height * k / parts); };
    return RowRange{edge(part - 1), edge(part)};
}

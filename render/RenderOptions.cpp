#include "render/RenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "engine/FormulaTable.h"
#include "engine/PictureRenderer.h"
#include "engine/RenderWorkers.h"
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
    } else {
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
    if (o.output.empty()) {
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
           "  --threads N          worker threads (default: one a core)\n"
           "  --part K/N           only the K-th of N horizontal bands, for spreading a large\n"
           "                       picture over machines; the bands joined top to bottom make the whole\n"
           "  -q, --quiet          no progress on standard error\n"
           "  --bench              time a whole view at 3840x2160 and print megapixels per second\n"
           "  --version            print the version\n"
           "  -h, --help           print this text\n"
           "Exit status: 0 when the picture is written; 2 for bad arguments or an unreadable place\n"
           "or colour map; 1 when the picture cannot be written. On a failure, and when Ctrl+C,\n"
           "SIGTERM or SIGHUP ends it, no half-written file is left behind.\n";
}

RowRange PartRows(int height, int part, int parts)
{
    const auto edge = [&](int k) { return int((long long)height * k / parts); };
    return RowRange{edge(part - 1), edge(part)};
}

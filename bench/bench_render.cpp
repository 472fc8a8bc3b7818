// Render and recolour times of the program.
//   bench_render [size]   whole views of each formula at size x size
//   bench_render --compare   the program against a plain loop, case by case,
//                            every count compared; exits 1 if any differs
//   bench_render --verify    many small views of every formula, the program's
//                            counts against the plain loop; exits 1 if any differs
//   bench_render --julia-preview [SECONDS]   previews per second of the live
//                            Julia preview, the pointer moving over the set
//   bench_render --verify-deep, --deep, ...   the deep renderer (DeepBench.h)
//   bench_render --compare-deep   the deep renderer's loops against its
//                                 one-pixel loop (DeepCompare.h)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "DeepBench.h"
#include "DeepCompare.h"
#include "PictureHost.h"
#include "PlainRender.h"
#include "Stopwatch.h"
#include "JuliaBench.h"
#include "JuliaViews.h"
#include "VerifyViews.h"
#include "colour/model/ColorMap.h"
#include "engine/CountColors.h"
#include "engine/EngineState.h"
#include "engine/JuliaView.h"
#include "engine/Navigation.h"
#include "engine/RenderDriver.h"
#include "engine/RenderWorkers.h"
#ifdef QUORVEX_BENCH_QT
#include "HostShare.h"
#endif

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

// Every entry a different colour and none black, so that a pixel tells its
// count, and a captured pixel (black) tells itself from count 0.
void FillDistinctColorMap()
{
    for (int i = 0; i < 256; ++i)
        SetEntryColor(currentColorMap[i], ColorWord(i + 1) * 0x010203u);
}

// A map whose every entry's red is its number: the colour word of a count is
// then the entry it takes.
const ColorMap kEntryNumbers = [] {
    ColorMap map{};
    for (int i = 0; i < 256; ++i)
        map[size_t(i)].red = uint8_t(i);
    return map;
}();

struct Case {
    const char* name;
    int type;  // 1 to 6; with a zero extent the whole view of the type
    long double centreX, centreY, extentX, extentY;
    int limit = kDefaultIterationLimit;
    // The picture: 1600 x 1200 unless smaller, where the plain loop would take hours.
    int width = kWidth;
    int height = kHeight;
    // Set: the Julia set of this c, its whole view where the extent is zero.
    JuliaPoint julia{};
};

constexpr Case kCases[] = {
    {"whole1", 1, 0, 0, 0, 0},
    {"whole2", 2, 0, 0, 0, 0},
    {"whole3", 3, 0, 0, 0, 0},
    {"whole4", 4, 0, 0, 0, 0},
    {"whole5", 5, 0, 0, 0, 0},
    {"whole6", 6, 0, 0, 0, 0},
    {"interior1", 1, -0.2L, 0.0L, 0.8L, 0.6L},
    {"deep1", 1, -0.743643887L, 0.131825904L, 3.6e-9L, 2.7e-9L},
    {"bulb2", 1, -1.0L, 0.0L, 0.5L, 0.375L},
    {"cusp1", 1, 0.25L, 0.0L, 1e-6L, 7.5e-7L},
    // High limits: the seahorse valley at 1e-10, a view all inside at the
    // highest limit, the cusp where orbits settle slowest.
    {"seahorse65536", 1, -0.743643887037151L, 0.131825904205330L, 1e-10L, 7.5e-11L, 65536},
    {"interior1048576", 1, -0.1225L, 0.7448L, 0.08L, 0.06L, 1048576, 160, 120},
    {"cusp65536", 1, 0.25L, 0.0L, 1e-6L, 7.5e-7L, 65536, 400, 300},
    // Julia sets: connected, a dust, the parabolic c = 1/4, a c on the edge
    // of the bulb at -1; non-real c for z^4 and the polynomial.
    {"julia-connected", 1, 0, 0, 0, 0, kDefaultIterationLimit, kWidth, kHeight, {true, -0.8L, 0.156L}},
    {"julia-dust", 1, 0, 0, 0, 0, kDefaultIterationLimit, kWidth, kHeight, {true, 0.5L, 0.5L}},
    {"julia-parabolic", 1, 0, 0, 0, 0, kDefaultIterationLimit, kWidth, kHeight, {true, 0.25L, 0.0L}},
    {"julia-bulb-edge", 1, 0, 0, 0, 0, kDefaultIterationLimit, kWidth, kHeight,
     {true, -1.0L + 0.25L * 0.54030230586813971740L, 0.25L * 0.84147098480789650665L}},
    {"julia-z4", 3, 0, 0, 0, 0, kDefaultIterationLimit, kWidth, kHeight, {true, 0.4L, 0.55L}},
    {"julia-poly", 4, 0, 0, 0, 0, kDefaultIterationLimit, kWidth, kHeight, {true, 0.4L, 0.3L}},
};

// dpCurr as the case's view at its size and limit, WholeView the type's whole view.
void SetUpCase(const Case& c)
{
    ResetEngineState();
    FillDistinctColorMap();
    dpCurr.diImgW = c.width;
    dpCurr.diImgH = c.height;
    SetUpWholeView(c.type);
    ActiveDepth.limit = c.limit;
    if (c.julia.isSet) {
        dpCurr = JuliaWholeView(dpCurr, ActiveParams);
        ActiveJulia = c.julia;
    }
    if (c.extentX == 0)
        return;
    dpCurr.TakeRegion(PlaneRegion{c.centreX, c.centreY, c.extentX, c.extentY, c.extentX / c.width,
                                  c.extentY / c.height, c.width, c.height});
}

// Counts, ends of the orbits, buffers, histogram and pixels of the program's
// render against the plain picture.
bool SameAsPlain(const PlainPicture& plain, const PictureHost& host)
{
    if (plain.histogram != EscapeHistogram)
        return false;
    for (int x = 0; x < plain.width; ++x)
        for (int y = 0; y < plain.height; ++y) {
            const int n = plain.Count(x, y);
            const size_t i = size_t(BufferIndex(x, y));
            const bool escaped = n < plain.limit;
            if (IterationBuffer[i] != PlainColorWord(n, kEntryNumbers, plain.limit) || WholeCountBuffer[i] != n ||
                (escaped && !(EscapeEndBuffer[i] == plain.End(x, y))) ||
                host.Pixel(x, y) != PlainColorWord(n, currentColorMap, plain.limit))
                return false;
        }
    return true;
}

// The share of captured points, in per cent.
double CapturedShare(const PlainPicture& plain)
{
    return 100.0 * plain.histogram[256] / (double(plain.width) * plain.height);
}

void PrintLine(const char* name, int width, int height, double plainSeconds, double programSeconds, bool identical,
               double captured = -1)
{
    std::printf("case=%s size=%dx%d plain_s=%.4f program_s=%.4f ratio=%.2f identical=%s", name, width, height,
                plainSeconds, programSeconds, plainSeconds / programSeconds, identical ? "yes" : "no");
    if (captured >= 0)
        std::printf(" captured=%.2f%%", captured);
    std::printf("\n");
    std::fflush(stdout);
}

bool CompareCase(const Case& c)
{
    SetUpCase(c);
    PlainPicture plain;
    const double plainSeconds = SecondsOf([&] { plain = RenderPlainly(dpCurr, ActiveParams, c.limit, ActiveJulia); });
    PictureHost host(c.width, c.height);
    const double programSeconds = SecondsOf([&] { RenderView(host, dpCurr); });
    const bool identical = SameAsPlain(plain, host);
    PrintLine(c.name, c.width, c.height, plainSeconds, programSeconds, identical,
              c.limit != kDefaultIterationLimit ? CapturedShare(plain) : -1);
    return identical;
}

// The type-1 whole view recoloured with setting 2.
bool CompareRecolor()
{
    SetUpCase(kCases[0]);
    PictureHost rendered(kWidth, kHeight);
    RenderView(rendered, dpCurr);
    FillPresetColorMap(currentColorMap, kPresetSetting2);
    PictureHost plain(kWidth, kHeight);
    PictureHost program(kWidth, kHeight);
    const double plainSeconds = SecondsOf([&] { RecolorPlainly(plain, kWidth, kHeight); });
    const double programSeconds = SecondsOf([&] { RecolorPicture(program); });
    const bool identical = plain.SamePicture(program);
    PrintLine("recolour", kWidth, kHeight, plainSeconds, programSeconds, identical);
    return identical;
}

// --compare NAME... compares only the cases named.
bool Chosen(const Case& c, int argc, char** argv)
{
    if (argc <= 2)
        return true;
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], c.name) == 0)
            return true;
    return false;
}

int Compare(int argc, char** argv)
{
    std::printf("cores=%u workers=%d\n", std::thread::hardware_concurrency(), RenderThreadCount());
    bool allIdentical = true;
    for (const Case& c : kCases)
        if (Chosen(c, argc, argv))
            allIdentical = CompareCase(c) && allIdentical;
    if (argc > 2)
        return allIdentical ? 0 : 1;
    allIdentical = CompareRecolor() && allIdentical;
#ifdef QUORVEX_BENCH_QT
    PrintHostShare(argc, argv, [](int type) {
        SetUpCase(kCases[type - 1]);
        PictureHost host(kWidth, kHeight);
        return TimesOf([&] { RenderView(host, dpCurr); });
    });
#else
    (void)argc;
    (void)argv;
#endif
    return allIdentical ? 0 : 1;
}

// Every view of MakeVerifyViews at 96 x 72; names the views that differ.
int Verify()
{
    constexpr int kVerifyWidth = 96;
    constexpr int kVerifyHeight = 72;
    VerifyTally tally;
    std::vector<VerifyView> views = MakeVerifyViews(40, true);
    for (VerifyView& v : MakeJuliaVerifyViews(20))
        views.push_back(std::move(v));
    for (const VerifyView& v : views) {
        const long mismatches = CountMismatches(v, kVerifyWidth, kVerifyHeight, RenderThreadCount());
        if (mismatches != 0)
            std::printf("differs: %s at %.21Lg %+.21Lgi, extent %.6Lg: %ld points\n", v.name.c_str(), v.centreX,
                        v.centreY, v.extentX, mismatches);
        ++tally.views;
        tally.points += long(kVerifyWidth) * kVerifyHeight;
        tally.mismatches += mismatches;
    }
    std::printf("verify views=%ld points=%ld mismatches=%ld\n", tally.views, tally.points, tally.mismatches);
    return tally.mismatches == 0 ? 0 : 1;
}

void PrintWholeViews(int size)
{
    PictureHost host(size, size);
    for (int type = 1; type <= 6; ++type) {
        ResetEngineState();
        dpCurr.diImgW = dpCurr.diImgH = size;
        SetUpWholeView(type);
        const double seconds = SecondsOf([&] { RenderView(host, dpCurr); });
        const double recolor = SecondsOf([&] { RecolorPicture(host); });
        std::printf("type %d  %dx%d  %8.1f ms  %7.1f ns/pixel  recolour: %6.2f ms\n", type, size, size,
                    seconds * 1e3, seconds * 1e9 / (double(size) * size), recolor * 1e3);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--compare") == 0)
        return Compare(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--verify") == 0)
        return Verify();
    if (argc > 1 && std::strcmp(argv[1], "--julia-preview") == 0)
        return BenchJuliaPreview(argc, argv);
    const struct {
        const char* name;
        int (*run)(int, char**);
    } deepModes[] = {{"--verify-deep", VerifyDeep},         {"--deep", BenchDeep},         {"--compare-deep", CompareDeep},
                     {"--switch-over", SwitchOverEvidence}, {"--find-nucleus", FindNucleusCommand},
                     {"--deep-view", DeepViewCommand},      {"--find-misiurewicz", FindMisiurewiczCommand}};
    for (const auto& mode : deepModes)
        if (argc > 1 && std::strcmp(argv[1], mode.name) == 0)
            return mode.run(argc, argv);
    PrintWholeViews(argc > 1 ? std::atoi(argv[1]) : 580);
    return 0;
}

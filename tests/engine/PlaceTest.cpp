#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "colour/model/ColorMap.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "engine/RenderDriver.h"

namespace {

namespace fs = std::filesystem;

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

// Every value of a place, exactly, in one comparable text.
std::string Fingerprint(const Place& p)
{
    std::string text;
    for (long double v : {p.centreRe, p.centreIm, p.extentRe, p.extentIm, p.pixelRe, p.pixelIm, p.params.Gz.re,
                          p.params.Gz.im, p.params.It.re, p.params.It.im, p.params.Rm.re, p.params.Rm.im,
                          p.params.Mu.re, p.params.Mu.im, p.params.Og.re, p.params.Og.im})
        text.append(reinterpret_cast<const char*>(&v), 10);
    for (int32_t n : {p.type, p.width, p.height, p.depth, p.wholeWidth, p.wholeHeight, int32_t(p.hasColorMap)})
        text += std::to_string(n) + ",";
    text.append(reinterpret_cast<const char*>(p.colorMap.data()), sizeof p.colorMap);
    return text;
}

// A place with a value of every awkward kind: negative zero, the smallest
// normal pixel size, long mantissas, a centre far out, key flags in the map.
Place AwkwardPlace()
{
    Place p;
    p.type = 5;
    p.width = 1600;
    p.height = 1;
    p.centreRe = -0.0L;
    p.centreIm = 1.0L / 3.0L * 0x1p+1000L;
    p.extentRe = 1600 * std::numeric_limits<long double>::min();
    p.extentIm = std::numeric_limits<long double>::min();
    p.pixelRe = std::numeric_limits<long double>::min();
    p.pixelIm = std::numeric_limits<long double>::min();
    p.depth = 2147483647;
    p.params.Gz = ComplexValue{0, 1.01L, -2.0L / 7.0L};
    p.params.It = ComplexValue{0, 1.12L, 0x1p-16000L};
    p.params.Rm = ComplexValue{0, 1.18L, 3.0L};
    p.params.Mu = ComplexValue{0, -1e300L, 0.1L};
    p.params.Og = ComplexValue{0, 0.2L, -0.1L};
    p.wholeWidth = 7;
    p.wholeHeight = 1200;
    p.hasColorMap = true;
    for (size_t i = 0; i < p.colorMap.size(); ++i)
        p.colorMap[i] = ColorMapEntry{uint8_t(i % 2), uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    return p;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The text with the line of a field replaced (or dropped where line is empty).
std::string WithLine(const std::string& text, const std::string& key, const std::string& line)
{
    const size_t at = text.find("\n" + key + " ");
    EXPECT_NE(at, std::string::npos) << key;
    const size_t end = text.find('\n', at + 1);
    return text.substr(0, at + 1) + line + (line.empty() ? "" : "\n") + text.substr(end + 1);
}

}  // namespace

TEST(PlaceTest, EveryValueComesBackBitForBitAndAPersonsEditsAreRead)
{
    const Place awkward = AwkwardPlace();
    const std::string text = FormatPlace(awkward);
    Place read;
    std::string reason;
    ASSERT_TRUE(ParsePlace(text, read, reason)) << reason;
    EXPECT_EQ(Fingerprint(read), Fingerprint(awkward));
    EXPECT_EQ(text.rfind(kPlaceFormatLine, 0), 0u);

    // Decimal values, notes, blank lines, tabs, Windows line ends, a byte-order
    // mark and no colour map: what an editor and a person may leave.
    std::string edited = WithLine(text, "centre-re", "centre-re\t-0.75   # moved by hand");
    edited = WithLine(edited, "color-map", "");
    edited = Replaced(edited, "\nend\n", "\n\n# done\nend\n\n");
    std::string windows = "\xEF\xBB\xBF";
    for (char c : edited)
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_TRUE(ParsePlace(windows, read, reason)) << reason;
    EXPECT_TRUE(SameBits(read.centreRe, -0.75L));
    EXPECT_TRUE(SameBits(read.centreIm, awkward.centreIm));
    EXPECT_FALSE(read.hasColorMap);
}

// Every way a place can be bad leaves the place being filled as it was and
// says what is wrong.
TEST(PlaceTest, ABadPlaceIsRefusedWithItsReasonAndChangesNothing)
{
    Place good = AwkwardPlace();
    good.width = 580;
    good.height = 400;
    good.pixelRe = 0.25L;
    good.pixelIm = 0.5L;
    good.extentRe = 580 * 0.25L;
    good.extentIm = 400 * 0.5L;
    const std::string text = FormatPlace(good);
    const auto field = [&text](const std::string& key, const std::string& value) {
        return WithLine(text, key, key + " " + value);
    };
    const std::string end = "\nend\n";
    struct Case {
        std::string text;
        std::string reason;
    };
    const Case cases[] = {
        {"", "1 行目"},
        {"\xFF\xD8\xFF\xE0 JFIF", "1 行目"},
        {Replaced(text, "quorvex-place 1", "quorvex-place 2"), "版「2」"},
        {Replaced(text, "quorvex-place 1", "quorvex-place"), "版「」"},
        {WithLine(text, "depth", "zoom 3"), "知らない項目「zoom」"},
        {WithLine(text, "depth", std::string("de\0pth", 6) + " 3"), "知らない項目「de?pth」"},
        {WithLine(text, "depth", "depth 3\ndepth 3"), "「depth」が二度"},
        {Replaced(text, end, "\ncolor-map " + std::string(2048, 'a') + end), "「color-map」が二度"},
        {WithLine(text, "pixel-im", ""), "「pixel-im」がありません"},
        {WithLine(text, "type", ""), "「type」がありません"},
        {field("width", ""), "「width」の値がありません"},
        {field("width", "580 600"), "余計なもの「600」"},
        {field("width", "580x"), "「580x」は整数ではありません"},
        {field("width", "99999999999999"), "「width」は 1 から 1600 まででなければなりません（99999999999999）"},
        {field("depth", "-" + std::string(60, '9')), "「depth」は 1 から"},
        {field("width", "+-5"), "は整数ではありません"},
        // A NUL or another control character in a value hides what follows.
        {field("type", std::string("1\0garbage", 9)), "「type」の値「1?garbage」に制御文字があります"},
        {field("width", "\v580"), "制御文字"},
        {field("centre-re", std::string("0.5\0", 4)), "制御文字"},
        {field("centre-re", "minus-one"), "「minus-one」は数ではありません"},
        {field("centre-re", "0x1p-3q"), "は数ではありません"},
        {field("centre-im", "nan"), "有限の数ではありません"},
        {field("xi-re", "-inf"), "有限の数ではありません"},
        {field("mu-im", "1e99999"), "有限の数ではありません"},
        {field("extent-re", "0"), "「extent-re」は 0 より大きく"},
        {field("extent-im", "-200"), "「extent-im」は 0 より大きく"},
        {field("pixel-re", "0x1p-16440"), "「pixel-re」は 0 より大きく"},
        {field("pixel-im", "inf"), "有限の数ではありません"},
        {field("type", "0"), "「type」は 1 から 6"},
        {field("type", "7"), "「type」は 1 から 6"},
        {field("width", "0"), "「width」は 1 から 1600"},
        {field("width", "1601"), "「width」は 1 から 1600"},
        {field("height", "1201"), "「height」は 1 から 1200"},
        {field("whole-height", "-5"), "「whole-height」は 1 から 1200"},
        {field("depth", "0"), "「depth」は 1 から"},
        {field("extent-re", "146"), "「extent-re」が「pixel-re」×「width」と合いません"},
        {field("extent-im", "0x1p+7"), "「extent-im」が「pixel-im」×「height」と合いません"},
        {field("color-map", "00ff"), "2048 桁"},
        {field("color-map", std::string(2047, '0') + "g"), "2048 桁"},
        {text.substr(0, text.find("\nlambda-re") + 1), "end の行がありません"},
        {text.substr(0, text.find("\nlambda-re") + 16), "「0x」は数ではありません"},
        {text.substr(0, text.size() - 4), "end の行がありません"},
        {Replaced(text, end, "\nend now\n"), "end の行に余計なもの"},
        {text + "type 1\n", "end のあとに「type 1」"},
    };
    for (const Case& c : cases) {
        Place place = good;
        std::string reason;
        EXPECT_FALSE(ParsePlace(c.text, place, reason)) << c.reason;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << "wanted " << c.reason << ", got " << reason;
        EXPECT_EQ(Fingerprint(place), Fingerprint(good)) << c.reason;
    }

    // Files that are no place: a folder, a pipe, one too large, none at all;
    // the good text itself is read from a file written whole.
    const fs::path folder = fs::temp_directory_path() / ("qv-place-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string pipe = (folder / "pipe.qvplace").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string large = (folder / "large.qvplace").string();
    std::ofstream(large) << text << std::string(kPlaceFileLimit, '#');
    const std::string goodFile = (folder / "good.qvplace").string();
    std::string reason;
    ASSERT_TRUE(WritePlaceFile(goodFile, good, reason)) << reason;
    const std::pair<std::string, std::string> files[] = {
        {folder.string(), "フォルダです"},
        {pipe, "通常のファイルではありません"},
        {large, "大きすぎます"},
        {(folder / "none.qvplace").string(), "開けません"},
    };
    for (const auto& [path, wanted] : files) {
        Place place = good;
        EXPECT_FALSE(ReadPlaceFile(path, place, reason)) << wanted;
        EXPECT_NE(reason.find(wanted), std::string::npos) << "wanted " << wanted << ", got " << reason;
        EXPECT_EQ(Fingerprint(place), Fingerprint(good)) << wanted;
    }
    Place read;
    EXPECT_TRUE(ReadPlaceFile(goodFile, read, reason)) << reason;
    EXPECT_EQ(Fingerprint(read), Fingerprint(good));
    fs::remove_all(folder);
}

// A place taken after zooms and set up in a program that has just started
// gives the same view, coefficients, colour map and read-outs, the number of
// views in the history aside.
TEST(PlaceTest, APlaceSetUpAfreshGivesTheViewItWasTakenFrom)
{
    ResetEngineState();
    EditedParams.Og = ComplexValue{0, 0.25L, -0.125L};
    dpCurr.diImgW = 640;
    dpCurr.diImgH = 480;
    SetUpWholeView(3);
    FillPresetColorMap(currentColorMap, kPresetMonotone);
    LastRenderedArea = RenderedArea{640, 480, 640};
    SelectRectangle(dpCurr, 100, 50, 300, 250);
    ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
    dpCurr = dpNext;
    LastRenderedArea = RenderedArea{dpCurr.diImgW, dpCurr.diImgH, dpCurr.diImgW};
    // The window was since made larger by hand: the place is still the picture on screen's.
    const ViewRecord shown = dpCurr;
    dpCurr.diImgW = 900;
    const ViewReadouts readouts = MakeReadouts(shown, 0, 0);
    const FormulaParams active = ActiveParams;
    const ColorMap map = currentColorMap;
    const std::string text = FormatPlace(PlaceOfCurrentView());

    ResetEngineState();
    Place place;
    std::string reason;
    ASSERT_TRUE(ParsePlace(text, place, reason)) << reason;
    const PlaceChanges changes = SetUpPlace(place);
    EXPECT_TRUE(changes.wholeView);
    EXPECT_TRUE(changes.colorMap);
    EXPECT_EQ(KeptFieldsOf(dpNext), KeptFieldsOf(shown));
    EXPECT_EQ(dpNext.dwx, shown.dwx);
    EXPECT_EQ(dpNext.dwy, shown.dwy);
    EXPECT_EQ(PartsOf(ActiveParams.Og), PartsOf(active.Og));
    EXPECT_EQ(PartsOf(ActiveParams.Mu), PartsOf(active.Mu));
    EXPECT_EQ(std::memcmp(currentColorMap.data(), map.data(), sizeof map), 0);
    const ViewReadouts again = MakeReadouts(dpNext, 0, 0);
    EXPECT_EQ(std::tie(again.centerX, again.centerY, again.areaX, again.areaY, again.scale, again.drawNest,
                       again.scaleFull),
              std::tie(readouts.centerX, readouts.centerY, readouts.areaX, readouts.areaY, readouts.scale,
                       readouts.drawNest, readouts.scaleFull));

    // The same place again changes neither the whole view nor the map.
    const PlaceChanges repeated = SetUpPlace(place);
    EXPECT_FALSE(repeated.wholeView);
    EXPECT_FALSE(repeated.colorMap);
    ResetEngineState();
}

#include "engine/Place.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <optional>
#include <sys/stat.h>
#include <vector>

#include "colour/model/ColorMapFile.h"
#include "engine/DeepView.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/NumberFormat.h"
#include "engine/ViewRecord.h"
#include "engine/deep/PreciseNumber.h"
#include "files/PictureFiles.h"
#include "files/WholeFiles.h"

namespace {

// ---- fields -----------------------------------------------------------------

enum class Kind {
    Integer,
    Real,  // any finite value
    Size,  // a positive value of full precision: an extent or a pixel size
};

struct Field {
    const char* key;
    Kind kind;
    int32_t minimum;
    int32_t maximum;
    int32_t* (*integer)(Place&);
    long double* (*real)(Place&);
};

constexpr Field IntegerField(const char* key, int32_t minimum, int32_t maximum, int32_t* (*of)(Place&))
{
    return Field{key, Kind::Integer, minimum, maximum, of, nullptr};
}

constexpr Field RealField(const char* key, Kind kind, long double* (*of)(Place&))
{
    return Field{key, kind, 0, 0, nullptr, of};
}

constexpr int32_t kLargestInteger = std::numeric_limits<int32_t>::max();

// In the order they are written.
constexpr Field kFields[] = {
    IntegerField("type", kFirstFormulaType, kLastFormulaType, [](Place& p) { return &p.type; }),
    IntegerField("width", 1, kMaxPictureWidth, [](Place& p) { return &p.width; }),
    IntegerField("height", 1, kMaxPictureHeight, [](Place& p) { return &p.height; }),
    RealField("centre-re", Kind::Real, [](Place& p) { return &p.centreRe; }),
    RealField("centre-im", Kind::Real, [](Place& p) { return &p.centreIm; }),
    RealField("extent-re", Kind::Size, [](Place& p) { return &p.extentRe; }),
    RealField("extent-im", Kind::Size, [](Place& p) { return &p.extentIm; }),
    RealField("pixel-re", Kind::Size, [](Place& p) { return &p.pixelRe; }),
    RealField("pixel-im", Kind::Size, [](Place& p) { return &p.pixelIm; }),
    IntegerField("depth", 1, kLargestInteger, [](Place& p) { return &p.depth; }),
    RealField("xi-re", Kind::Real, [](Place& p) { return &p.params.Gz.re; }),
    RealField("xi-im", Kind::Real, [](Place& p) { return &p.params.Gz.im; }),
    RealField("eta-re", Kind::Real, [](Place& p) { return &p.params.It.re; }),
    RealField("eta-im", Kind::Real, [](Place& p) { return &p.params.It.im; }),
    RealField("lambda-re", Kind::Real, [](Place& p) { return &p.params.Rm.re; }),
    RealField("lambda-im", Kind::Real, [](Place& p) { return &p.params.Rm.im; }),
    RealField("mu-re", Kind::Real, [](Place& p) { return &p.params.Mu.re; }),
    RealField("mu-im", Kind::Real, [](Place& p) { return &p.params.Mu.im; }),
    RealField("omicron-re", Kind::Real, [](Place& p) { return &p.params.Og.re; }),
    RealField("omicron-im", Kind::Real, [](Place& p) { return &p.params.Og.im; }),
    IntegerField("whole-width", 1, kMaxPictureWidth, [](Place& p) { return &p.wholeWidth; }),
    IntegerField("whole-height", 1, kMaxPictureHeight, [](Place& p) { return &p.wholeHeight; }),
};
constexpr size_t kFieldCount = std::size(kFields);

constexpr char kColorMapKey[] = "color-map";
constexpr char kLimitKey[] = "limit";
constexpr char kColoringKey[] = "coloring";
constexpr char kJuliaReKey[] = "julia-re";
constexpr char kJuliaImKey[] = "julia-im";
constexpr char kCentreReDigitsKey[] = "centre-re-digits";
constexpr char kCentreImDigitsKey[] = "centre-im-digits";
constexpr char kEndKey[] = "end";
constexpr char kFormatKey[] = "quorvex-place";
// Version 2 adds the limit and the colouring.
constexpr int kFormatVersion = 1;
constexpr int kDepthFormatVersion = 2;
constexpr size_t kColorMapDigits = 2 * sizeof(ColorMap);
constexpr char kHexDigits[] = "0123456789abcdef";

// Numbers are written and read the same way whatever the user's locale.
locale_t CNumbers()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c;
}

class CNumbersInUse {
public:
    CNumbersInUse() : previous_(CNumbers() ? uselocale(CNumbers()) : locale_t(0)) {}
    ~CNumbersInUse()
    {
        if (previous_)
            uselocale(previous_);
    }
    CNumbersInUse(const CNumbersInUse&) = delete;
    CNumbersInUse& operator=(const CNumbersInUse&) = delete;

private:
    locale_t previous_;
};

// ---- writing ----------------------------------------------------------------

std::string HexOf(long double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%La", value);
    return buffer;
}

// Values and notes in columns, for the eye.
constexpr size_t kKeyWidth = 13;
constexpr size_t kValueWidth = 26;

std::string Line(const std::string& key, const std::string& value, const std::string& note = {})
{
    std::string line = key;
    line.append(key.size() < kKeyWidth ? kKeyWidth - key.size() : 1, ' ');
    line += value;
    if (!note.empty()) {
        line.append(value.size() < kValueWidth ? kValueWidth - value.size() : 1, ' ');
        line += "# " + note;
    }
    return line + "\n";
}

// A precise centre's part in decimal, with the digits that matter at the pixel.
std::string DecimalNote(const std::string& digits, long double pixel)
{
    const PreciseParse parsed = ParsePrecise(digits);
    return parsed.fault == PreciseFault::None ? FormatPrecise(parsed.value, pixel) : std::string();
}

// The map's bytes as in its file, two hexadecimal digits each.
std::string ColorMapDigits(const ColorMap& map)
{
    std::string digits;
    digits.reserve(kColorMapDigits);
    for (const uint8_t byte : BytesOfColorMap(map)) {
        digits += kHexDigits[byte >> 4];
        digits += kHexDigits[byte & 0xF];
    }
    return digits;
}

// ---- reading ----------------------------------------------------------------

std::string_view Trim(std::string_view s)
{
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The next word of s, taken off its front.
std::string_view TakeWord(std::string_view& s)
{
    s = Trim(s);
    const size_t end = std::min(s.find_first_of(" \t"), s.size());
    const std::string_view word = s.substr(0, end);
    s = Trim(s.substr(end));
    return word;
}

bool IsControlCharacter(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// A word of the text as a reason shows it: cut short where it is long, with
// control characters shown as '?'.
std::string Shown(std::string_view word)
{
    constexpr size_t kLongest = 40;
    std::string shown(word.substr(0, kLongest));
    for (char& c : shown)
        if (IsControlCharacter(c))
            c = '?';
    return word.size() > kLongest ? shown + "…" : shown;
}

std::string Quote(std::string_view word) { return "「" + Shown(word) + "」"; }

// Digits with an optional sign: an integer, whether or not it fits.
bool IsInteger(const std::string& word)
{
    const size_t digits = !word.empty() && (word[0] == '+' || word[0] == '-') ? 1 : 0;
    return word.size() > digits && word.find_first_not_of("0123456789", digits) == std::string::npos;
}

// False for an integer too large for the field's type.
bool ReadInteger(const std::string& word, int32_t& value)
{
    errno = 0;
    const long long read = std::strtoll(word.c_str(), nullptr, 10);
    if (errno == ERANGE || read < std::numeric_limits<int32_t>::min() || read > kLargestInteger)
        return false;
    value = int32_t(read);
    return true;
}

bool ReadReal(const std::string& word, long double& value)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    const locale_t c = CNumbers();
    value = c ? strtold_l(word.c_str(), &end, c) : std::strtold(word.c_str(), &end);
    return *end == '\0';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ReadColorMap(std::string_view digits, ColorMap& map)
{
    if (digits.size() != kColorMapDigits)
        return false;
    ColorMapBytes bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexValue(digits[2 * i]);
        const int low = HexValue(digits[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[i] = uint8_t(high * 16 + low);
    }
    map = ColorMapOfBytes(bytes);
    return true;
}

// Why the value of a field cannot stand; empty when it can.
std::string CheckValue(const Field& field, const std::string& word, Place& place)
{
    const std::string key = "「" + std::string(field.key) + "」";
    // A NUL would end the number early and hide what follows it.
    if (std::any_of(word.begin(), word.end(), IsControlCharacter))
        return key + "の値" + Quote(word) + "に制御文字があります";
    if (field.kind == Kind::Integer) {
        int32_t value = 0;
        if (!IsInteger(word))
            return key + "の値" + Quote(word) + "は整数ではありません";
        if (!ReadInteger(word, value) || value < field.minimum || value > field.maximum)
            return key + "は " + std::to_string(field.minimum) + " から " + std::to_string(field.maximum) +
                   " まででなければなりません（" + Shown(word) + "）";
        *field.integer(place) = value;
        return {};
    }
    long double value = 0.0L;
    if (!ReadReal(word, value))
        return key + "の値" + Quote(word) + "は数ではありません";
    if (!std::isfinite(value))
        return key + "の値" + Quote(word) + "は有限の数ではありません";
    if (field.kind == Kind::Size && !(value > 0 && std::isnormal(value)))
        return key + "は 0 より大きく、小さすぎない数でなければなりません（" + word + "）";
    *field.real(place) = value;
    return {};
}

// An extent and the pixel size times the picture size agree to far more
// digits than a picture shows; a hand-edited file that changed only one of
// them would draw another region than its pixel size says.
bool Agree(long double extent, long double pixel, int32_t size)
{
    return std::fabs(extent - size * pixel) <= extent * 1e-9L;
}

std::string LinePrefix(size_t number) { return std::to_string(number) + " 行目: "; }

// Digits that round to the field, or none.
bool DigitsRoundTo(const std::string& digits, long double field)
{
    return digits.empty() || ParsePrecise(digits).value.Rounded() == field;
}

class PlaceReader {
public:
    explicit PlaceReader(std::string_view text) : rest_(text)
    {
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (rest_.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            rest_.remove_prefix(kByteOrderMark.size());
    }

    bool Read(Place& out, std::string& reason)
    {
        Place place;
        reason = ReadFormatLine();
        if (reason.empty())
            reason = ReadFields(place);
        if (reason.empty())
            reason = CheckWhole(place);
        if (!reason.empty())
            return false;
        place.julia.isSet = juliaReSeen_;
        out = place;
        return true;
    }

private:
    bool NextLine(std::string_view& line)
    {
        if (rest_.empty())
            return false;
        const size_t end = std::min(rest_.find('\n'), rest_.size());
        line = rest_.substr(0, end);
        rest_.remove_prefix(std::min(end + 1, rest_.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++number_;
        return true;
    }

    std::string ReadFormatLine()
    {
        std::string_view line;
        NextLine(line);
        std::string_view words = line;
        const std::string_view key = TakeWord(words);
        const std::string_view version = TakeWord(words);
        if (key != kFormatKey)
            return std::string("場所の形式を示す 1 行目「") + kPlaceFormatLine + "」がありません";
        if (version == std::to_string(kDepthFormatVersion) && words.empty())
            version_ = kDepthFormatVersion;
        else if (version != std::to_string(kFormatVersion) || !words.empty())
            return "場所の形式の版" + Quote(version) + "は読めません（読めるのは版 " + std::to_string(kFormatVersion) +
                   " と " + std::to_string(kDepthFormatVersion) + "）";
        return {};
    }

    std::string ReadFields(Place& place)
    {
        bool colorMapSeen = false;
        std::string_view line;
        while (NextLine(line)) {
            std::string_view words = line.substr(0, line.find('#'));
            const std::string_view key = TakeWord(words);
            if (key.empty())
                continue;
            if (key == kEndKey)
                return words.empty() ? AfterEnd() : LinePrefix(number_) + "end の行に余計なもの" + Quote(words) + "があります";
            const std::string_view value = TakeWord(words);
            const std::string quotedKey = Quote(key);
            if (value.empty())
                return LinePrefix(number_) + "項目" + quotedKey + "の値がありません";
            if (!words.empty())
                return LinePrefix(number_) + "項目" + quotedKey + "の値のあとに余計なもの" + Quote(words) + "があります";
            std::string problem;
            if (key == kColorMapKey) {
                problem = colorMapSeen ? "項目" + quotedKey + "が二度あります" : ReadColorMapValue(value, place);
                colorMapSeen = true;
            } else if (version_ == kDepthFormatVersion && (key == kLimitKey || key == kColoringKey)) {
                problem = ReadDepthValue(key, value, place);
            } else if (version_ == kDepthFormatVersion && (key == kJuliaReKey || key == kJuliaImKey)) {
                problem = ReadJuliaValue(key, std::string(value), place);
            } else if (version_ == kDepthFormatVersion && (key == kCentreReDigitsKey || key == kCentreImDigitsKey)) {
                problem = ReadCentreDigits(key, value, place);
            } else {
                problem = ReadFieldValue(key, std::string(value), place);
            }
            if (!problem.empty())
                return LinePrefix(number_) + problem;
        }
        return "end の行がありません（途中で切れています）";
    }

    std::string ReadColorMapValue(std::string_view value, Place& place)
    {
        if (!ReadColorMap(value, place.colorMap))
            return std::string("「") + kColorMapKey + "」は " + std::to_string(kColorMapDigits) +
                   " 桁の 16 進数でなければなりません";
        place.hasColorMap = true;
        return {};
    }

    // The limit and the colouring of a place of version 2.
    std::string ReadDepthValue(std::string_view key, std::string_view value, Place& place)
    {
        const bool limit = key == kLimitKey;
        bool& seen = limit ? limitSeen_ : coloringSeen_;
        if (seen)
            return "項目" + Quote(key) + "が二度あります";
        seen = true;
        if (!limit) {
            const std::optional<Coloring> coloring = ColoringOfName(value);
            if (!coloring)
                return std::string("「") + kColoringKey + "」の値" + Quote(value) +
                       "は count、log、smooth、histogram のどれでもありません";
            place.coloring = *coloring;
            return {};
        }
        int32_t read = 0;
        if (!IsInteger(std::string(value)) || !ReadInteger(std::string(value), read) || !IsIterationLimit(read))
            return std::string("「") + kLimitKey + "」は " + std::to_string(kLimitStep) + " から " +
                   std::to_string(kMostIterationLimit) + " までの " + std::to_string(kLimitStep) +
                   " の倍数でなければなりません（" + Shown(value) + "）";
        place.limit = read;
        return {};
    }

    // A part of the Julia point of a place of version 2.
    std::string ReadJuliaValue(std::string_view key, const std::string& value, Place& place)
    {
        const bool re = key == kJuliaReKey;
        bool& seen = re ? juliaReSeen_ : juliaImSeen_;
        if (seen)
            return "項目" + Quote(key) + "が二度あります";
        seen = true;
        const Field field = RealField(re ? kJuliaReKey : kJuliaImKey, Kind::Real,
                                      re ? +[](Place& p) { return &p.julia.re; } : +[](Place& p) { return &p.julia.im; });
        return CheckValue(field, value, place);
    }

    // A precise centre's part: a number ParsePrecise reads, kept as written.
    std::string ReadCentreDigits(std::string_view key, std::string_view value, Place& place)
    {
        std::string& digits = key == kCentreReDigitsKey ? place.centreReDigits : place.centreImDigits;
        if (!digits.empty())
            return "項目" + Quote(key) + "が二度あります";
        const PreciseParse parsed = ParsePrecise(value);
        if (parsed.fault != PreciseFault::None)
            return "項目" + Quote(key) + "の値は数ではありません（" + PreciseFaultText(parsed.fault) + "）";
        digits = std::string(value);
        return {};
    }

    std::string ReadFieldValue(std::string_view key, const std::string& value, Place& place)
    {
        for (size_t i = 0; i < kFieldCount; ++i) {
            if (key != kFields[i].key)
                continue;
            if (seen_[i])
                return "項目" + Quote(key) + "が二度あります";
            seen_[i] = true;
            return CheckValue(kFields[i], value, place);
        }
        return "知らない項目" + Quote(key) + "があります";
    }

    // Nothing but notes and blank lines may follow "end"; every field must
    // have come before it.
    std::string AfterEnd()
    {
        const size_t endLine = number_;
        std::string_view line;
        while (NextLine(line))
            if (!Trim(line.substr(0, line.find('#'))).empty())
                return LinePrefix(number_) + std::to_string(endLine) + " 行目の end のあとに" + Quote(Trim(line)) +
                       "があります";
        return {};
    }

    std::string CheckWhole(const Place& place) const
    {
        for (size_t i = 0; i < kFieldCount; ++i)
            if (!seen_[i])
                return std::string("項目「") + kFields[i].key + "」がありません";
        if (version_ == kDepthFormatVersion && !(limitSeen_ && coloringSeen_))
            return "版「" + std::to_string(kDepthFormatVersion) + "」の場所に項目「" +
                   (limitSeen_ ? kColoringKey : kLimitKey) + "」がありません";
        if (juliaReSeen_ != juliaImSeen_)
            return std::string("項目「") + (juliaReSeen_ ? kJuliaImKey : kJuliaReKey) + "」がありません";
        if (!DigitsRoundTo(place.centreReDigits, place.centreRe))
            return std::string("「") + kCentreReDigitsKey + "」が「centre-re」と合いません";
        if (!DigitsRoundTo(place.centreImDigits, place.centreIm))
            return std::string("「") + kCentreImDigitsKey + "」が「centre-im」と合いません";
        if (DepthLimitOf(place.type, place.julia.isSet, place.centreRe, place.centreIm, place.pixelRe, place.pixelIm) ==
            DepthLimit::Smallest)
            return "画素が小さすぎます（深い拡大で描ける画素は 2^-16318 まで）";
        if (!Agree(place.extentRe, place.pixelRe, place.width))
            return "「extent-re」が「pixel-re」×「width」と合いません";
        if (!Agree(place.extentIm, place.pixelIm, place.height))
            return "「extent-im」が「pixel-im」×「height」と合いません";
        return {};
    }

    std::string_view rest_;
    size_t number_ = 0;
    std::vector<bool> seen_ = std::vector<bool>(kFieldCount, false);
    int version_ = kFormatVersion;
    bool limitSeen_ = false;
    bool coloringSeen_ = false;
    bool juliaReSeen_ = false;
    bool juliaImSeen_ = false;
};

}  // namespace

std::string FormatPlace(const Place& place)
{
    const CNumbersInUse cNumbers;
    Place fields = place;
    const bool digits = !place.centreReDigits.empty() || !place.centreImDigits.empty();
    const bool depth = digits || PictureDepth{place.limit, place.coloring} != PictureDepth{} || place.julia.isSet;
    std::string text = std::string(depth ? kPlaceFormatLine2 : kPlaceFormatLine) + "\n";
    text += "# Quorvex の場所。各項目の値は名前のあとの数です（16 進の浮動小数点数は 80 ビットの値そのもの。10 進でも書けます）。\n";
    text += "# 「#」から行末までは人のための覚え書きで、読むときは無視されます。\n";
    for (const Field& field : kFields) {
        if (field.kind == Kind::Integer) {
            text += Line(field.key, std::to_string(*field.integer(fields)));
        } else {
            const long double value = *field.real(fields);
            text += Line(field.key, HexOf(value), FormatFullPrecision(value));
        }
    }
    if (depth) {
        text += Line(kLimitKey, std::to_string(place.limit), "反復回数の上限");
        text += Line(kColoringKey, ColoringName(place.coloring), "色付け: count、log、smooth、histogram");
    }
    if (place.julia.isSet) {
        text += Line(kJuliaReKey, HexOf(place.julia.re), "ジュリア集合の c: " + FormatFullPrecision(place.julia.re));
        text += Line(kJuliaImKey, HexOf(place.julia.im), FormatFullPrecision(place.julia.im));
    }
    if (!place.centreReDigits.empty())
        text += Line(kCentreReDigitsKey, place.centreReDigits, DecimalNote(place.centreReDigits, place.pixelRe));
    if (!place.centreImDigits.empty())
        text += Line(kCentreImDigitsKey, place.centreImDigits, DecimalNote(place.centreImDigits, place.pixelIm));
    if (place.hasColorMap)
        text += Line(kColorMapKey, ColorMapDigits(place.colorMap));
    text += std::string(kEndKey) + "\n";
    return text;
}

bool ParsePlace(std::string_view text, Place& place, std::string& reason)
{
    if (text.size() > kPlaceFileLimit) {
        reason = "大きすぎます（場所は " + std::to_string(kPlaceFileLimit / 1024) + " KiB まで）";
        return false;
    }
    return PlaceReader(text).Read(place, reason);
}

namespace {

// Why a file could not be opened for reading, in the words of its kind.
std::string OpenFailure(const std::string& path, const std::string& systemReason)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return "フォルダです";
        if (!S_ISREG(info.st_mode))
            return "通常のファイルではありません（パイプや装置などです）";
    }
    return "開けません: " + systemReason;
}

// A PNG the program saved carries its place.
bool ReadPlaceOfPng(const std::string& path, Place& place, std::string& reason)
{
    std::string text;
    std::string failure;
    switch (ReadPngText(path, kPlacePngKey, text, failure)) {
    case PngTextResult::Found: return ParsePlace(text, place, reason);
    case PngTextResult::OpenFailed: reason = OpenFailure(path, failure); return false;
    case PngTextResult::NotPng: reason = "PNG 画像ではありません"; return false;
    case PngTextResult::NoText: reason = "この PNG 画像には場所が書かれていません"; return false;
    }
    return false;
}

}  // namespace

bool ReadPlaceFile(const std::string& path, Place& place, std::string& reason)
{
    if (PictureFormatOfName(path) == PictureFormat::Png)
        return ReadPlaceOfPng(path, place, reason);
    std::vector<uint8_t> bytes;
    std::string failure;
    // One byte more than a place may have tells a file that is too large.
    switch (ReadRegularFile(path, kPlaceFileLimit + 1, bytes, failure)) {
    case FileReadResult::OpenFailed:
        reason = OpenFailure(path, failure);
        return false;
    case FileReadResult::ReadFailed:
        reason = "読み込めません: " + failure;
        return false;
    case FileReadResult::Done:
        break;
    }
    return ParsePlace(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), place, reason);
}

bool WritePlaceFile(const std::string& path, const Place& place, std::string& reason)
{
    const std::string text = FormatPlace(place);
    return WriteWholeFile(path, text.data(), text.size(), reason) == FileWriteResult::Written;
}

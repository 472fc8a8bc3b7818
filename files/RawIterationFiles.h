#pragma once
// Raw iteration data as OpenEXR images, in the layout the deep-zoom programs
// share for theirs, so that their zoom assembler and colouring tools read
// our pictures:
//
// - channel "N", 32-bit unsigned: the escape count plus the bias below;
//   0xFFFFFFFF for a point that did not escape within the limit; 0 is kept
//   for "no data" (nothing we write).
// - channel "NF", 32-bit float, only where the colouring has a fractional
//   count: the fraction in [0, 1), so that the continuous count of an
//   escaped point is N + NF - IterationsBias; 0 for a captured point.
// - int attribute "Iterations": the iteration limit.
// - int attribute "IterationsBias": 1, because our counts start at 0 (a
//   first iterate outside the circle counts 0), which N must not be.
// - a string attribute under a key of the caller's, with the place text.
//
// Kalles Fraktaler 2+ (kf-2.15) writes these names and types (bias 1024,
// its parameters under "KallesFraktaler2+", "N0"/"N1" only for counts past
// 32 bits, which our limits never reach) and reads N = 0 with NF = 0 as
// uncalculated and N = 0xFFFFFFFF as unescaped; Fraktaler 3 writes the same
// and zoomasm reads what those two write. Scan lines are ZIP-compressed in
// blocks of 16, the library's default, which all of them read.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/WholeFiles.h"

inline constexpr uint32_t kRawNotEscaped = 0xFFFFFFFFu;
inline constexpr uint32_t kRawNoData = 0;
inline constexpr int kRawIterationsBias = 1;
// Limits up to this keep every biased count below kRawNotEscaped and fit
// the int attribute.
inline constexpr uint32_t kRawMaxLimit = 0x7FFFFFFEu;

// The N value of a count: escaped at `count` below `limit`, captured at or
// above it.
uint32_t RawCountValue(uint32_t count, uint32_t limit);
// The NF value of a fraction: clamped into [0, 1), 0 for NaN.
float RawFractionValue(float fraction);

struct RawIterationLayout {
    int width = 0;
    int height = 0;
    uint32_t limit = 0;  // 1 .. kRawMaxLimit
    bool fraction = false;  // write the NF channel
    std::string key;  // the place text's attribute; none when empty
    std::string text;
};

// Writes the picture row by row, a band at a time, into a new file beside
// the target that takes its place at Finish: memory stays a band's, and a
// file under the target's name is always whole.
class RawIterationFileWriter {
public:
    RawIterationFileWriter(const std::string& path, const RawIterationLayout& layout);
    ~RawIterationFileWriter();
    RawIterationFileWriter(const RawIterationFileWriter&) = delete;
    RawIterationFileWriter& operator=(const RawIterationFileWriter&) = delete;

    FileWriteResult Open(std::string& reason);
    // The next `rows` rows: counts (captured at or above the limit), and
    // with the NF channel the fractions, `width` values a row. False once
    // anything failed.
    bool WriteRows(const uint32_t* counts, const float* fractions, int rows);
    // WriteFailed unless every row was written and the file put in place.
    FileWriteResult Finish(std::string& reason);
    // The new file while it is written (see WholeFileWriter).
    const std::string& TemporaryPath() const { return file_.TemporaryPath(); }

    struct Image;

private:
    WholeFileWriter file_;
    RawIterationLayout layout_;
    std::unique_ptr<Image> image_;
    int rowsWritten_ = 0;
    std::string failure_;
};

// What a raw iteration file holds, read whole.
struct RawIterationData {
    int width = 0;
    int height = 0;
    int64_t limit = -1;  // -1: no "Iterations" attribute
    int64_t bias = 0;
    std::vector<uint32_t> n;  // row after row
    bool hasFraction = false;
    std::vector<float> nf;
    std::string text;  // under the key asked for
};

// Reads a regular file's N (and NF) channels and attributes; false with the
// reason when it is not such a file.
bool ReadRawIterationFile(const std::string& path, const std::string& key, RawIterationData& data,
                          std::string& reason);

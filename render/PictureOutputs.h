#pragma once
// The files one picture of quorvex-render goes to, all from one pass over
// its bands: the picture (PNG or JPEG), its raw iteration data (OpenEXR)
// and a frame of a video. Each file is written beside its name and renamed
// into place whole at the end, named meanwhile to the signals that may end
// the program, so that none is ever left half-written.

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/PictureRenderer.h"
#include "files/PictureFiles.h"
#include "files/RawIterationFiles.h"
#include "render/VideoPipe.h"

struct PictureTargets {
    std::string picture;  // PNG or JPEG by its name; empty for none
    std::string raw;  // OpenEXR; empty for none
    VideoPipe* video = nullptr;  // the frame goes to it too
};

class PictureOutputs {
public:
    // `rows` rows of the job's width; `place` goes with the picture and the
    // raw data (under the PNG's key).
    PictureOutputs(const PictureTargets& targets, const PictureJob& job, int rows, const std::string& place);
    // Files not finished are removed.
    ~PictureOutputs();
    PictureOutputs(const PictureOutputs&) = delete;
    PictureOutputs& operator=(const PictureOutputs&) = delete;

    // False with "name: reason" for the file that cannot be made.
    bool Open(std::string& reason);
    // The rows the renderer computed and painted last, in two steps: Stage
    // copies what the files need of the renderer's samples, so that the
    // renderer may go on with the next rows while Write writes these.
    void Stage(const PictureRenderer& renderer, int rows);
    bool Write(const uint8_t* rgb, int rows);
    // Puts every file in place; false with "name: reason" for the first
    // that fails (those after it are then removed).
    bool Finish(std::string& reason);

private:
    PictureTargets targets_;
    int width_;
    std::optional<PictureFileWriter> picture_;
    std::optional<RawIterationFileWriter> raw_;
    std::vector<uint32_t> counts_;  // a band's, row after row
    std::vector<float> fractions_;
    bool failed_ = false;
};

// Rows [first, end) of the job's picture into the outputs, band after band,
// `done(rows)` after each band; false when a band could not be taken. A band
// is written while the next is computed.
bool DrawPicture(PictureRenderer& renderer, const PictureJob& job, int first, int end, PictureOutputs& outputs,
                 const std::function<void(int rows)>& done);

#pragma once
// A picture off screen drawn band after band, each band handed on as soon as
// it is done, so that memory stays a few bands whatever the picture's size:
// what the export and quorvex-render write to their files.

#include <atomic>
#include <cstdint>
#include <functional>

#include "engine/PictureRenderer.h"

// Takes `rows` rows of 8-bit red, green, blue, 3 bytes a pixel; false stops
// the picture.
using TakeRows = std::function<bool(const uint8_t* rgb, int rows)>;

// Rows [first, end) of the job's picture, in bands of BandRowsFor rows. False
// when cancel was set or a band was not taken.
bool RenderPictureRows(const PictureJob& job, int first, int end, const std::atomic<bool>& cancel,
                       const TakeRows& take);

#pragma once
// A zoom film drawn by quorvex-render: frame after frame of the schedule
// from the start down to the place, each the very picture quorvex-render
// draws of that frame's view alone, into numbered files (pictures, raw
// iteration data or both) or a video through ffmpeg. Frames whose files are
// there already are kept; a frame is renamed into place whole, so none is
// ever left half-written. A film whose frames halve exactly (see
// SharedSamples) is drawn deepest first, each frame taking its inner
// quarter's samples from the frame drawn before it.

#include "engine/PictureRenderer.h"
#include "engine/Place.h"
#include "render/RenderOptions.h"

// Draws the film the options ask for of the place, at the job's size,
// samples, colours and threads, the job's region being the place's at that
// size. The exit status: 0, kBadUse (nothing written) or kNotWritten.
int RenderFilm(const RenderOptions& options, const Place& place, const PictureJob& job);

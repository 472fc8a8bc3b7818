#pragma once
// The share the Qt window host adds to a whole view: the same render through
// the real windows, offscreen, against the engine alone.

#include <functional>

#include "Stopwatch.h"

// engineRender(type) renders the type's whole view at 1600 x 1200 on a
// memory host and returns its times.
void PrintHostShare(int argc, char** argv, const std::function<RenderTimes(int type)>& engineRender);

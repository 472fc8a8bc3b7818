#pragma once
// Pictures off screen of deep views: the deep renderer for a region's samples,
// its counts laid out as the picture renderer keeps them.

#include <atomic>
#include <memory>

#include "engine/Iteration.h"
#include "engine/PlaneRegion.h"
#include "engine/deep/PreciseCentre.h"
#include "engine/deep/DeepRenderer.h"

// The deep renderer for the samples of a region (the plane at the samples'
// size), where the region at its own size (own; samples where it has none)
// is a deep view (IsDeepRegion); else none.
std::unique_ptr<DeepRenderer> DeepRendererFor(const Iteration& what, const PlaneRegion& own,
                                              const PreciseCentre& centre, const PlaneRegion& samples, int threads);

// Sample rows [first, first + rows) by the deep renderer, column after column
// (sample (x, y) at x * rows + y - first): the counts and, where fractions is
// not null, the smooth colouring's fraction of each escaped sample. False
// once cancel is set.
bool DeepSampleColumns(DeepRenderer& renderer, int first, int rows, EscapeCount* counts, float* fractions,
                       const std::atomic<bool>& cancel);

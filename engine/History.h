#pragma once
// The two history stacks' operations on entries of the view on screen.

#include <memory>

#include "engine/ViewRecord.h"

// The view on screen as a history entry: dpCurr with ActiveParams, ActiveDepth and ActiveJulia.
HistoryEntry CurrentEntry();

void ClearHistoryStack(ViewStack& stack);
// Pushes a heap copy of the entry, the view on screen unless another is given.
void PushView(ViewStack& stack, const HistoryEntry& entry = CurrentEntry());
// Takes the top entry off the stack; the caller owns it. Null when empty.
std::unique_ptr<HistoryEntry> PopView(ViewStack& stack);

#pragma once
// The two history stacks' operations on copies of dpCurr.

#include <memory>

#include "engine/ViewRecord.h"

void ClearHistoryStack(ViewStack& stack);
// Pushes a heap copy of dpCurr.
void PushView(ViewStack& stack);
// Takes the top record off the stack; the caller owns it. Null when empty.
std::unique_ptr<ViewRecord> PopView(ViewStack& stack);

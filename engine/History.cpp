#include "engine/History.h"

#include "engine/EngineState.h"

HistoryEntry CurrentEntry() { return HistoryEntry{dpCurr, ActiveParams, ActiveDepth, ActiveJulia, CurrentCentre}; }

void ClearHistoryStack(ViewStack& stack)
{
    while (!stack.empty())
        stack.pop_back();
}

void PushView(ViewStack& stack, const HistoryEntry& entry) { stack.push_back(std::make_unique<HistoryEntry>(entry)); }

std::unique_ptr<HistoryEntry> PopView(ViewStack& stack)
{
    if (stack.empty())
        return nullptr;
    std::unique_ptr<HistoryEntry> top = std::move(stack.back());
    stack.pop_back();
    return top;
}

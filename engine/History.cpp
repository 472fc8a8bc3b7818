#include "engine/History.h"

#include "engine/EngineState.h"

void ClearHistoryStack(ViewStack& stack)
{
    while (!stack.empty())
        stack.pop_back();
}

void PushView(ViewStack& stack)
{
    stack.push_back(std::make_unique<ViewRecord>(dpCurr));
}

std::unique_ptr<ViewRecord> PopView(ViewStack& stack)
{
    if (stack.empty())
        return nullptr;
    std::unique_ptr<ViewRecord> top = std::move(stack.back());
    stack.pop_back();
    return top;
}

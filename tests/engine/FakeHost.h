#pragma once
// A fake of the windows that records everything the engine asks of them.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "engine/QVHost.h"
#include "engine/ViewRecord.h"

class FakeHost : public QVHost {
public:
    enum class ProgressEvent { Reset, Step };

    // Caption and frame height the fake window reports, as FrameHeight would.
    int32_t frameHeight = 30;

    // Called inside every ProcessPendingMessages with the call number (1 for
    // the first call), after the call has been recorded.
    std::function<void(int callNumber)> onProcessMessages;

    // Called inside every ProcessMessagesWhileWaiting, after it was recorded.
    std::function<void()> onWaitingMessages;

    std::vector<std::pair<int, int>> backgroundFills;
    int forgetSelectionCalls = 0;
    int paintColumnCalls = 0;
    // Columns painted (PaintColumn calls) before each ProcessPendingMessages call.
    std::vector<int> columnsPaintedAtMessages;
    // The same for the calls made while a render waits for its workers.
    std::vector<int> columnsPaintedAtWaits;

    std::vector<ViewReadouts> readouts;
    int progressMaximum = -1;
    int progressSteps = 0;
    std::vector<ProgressEvent> progressEvents;

    // Last enabled state per command; a command is absent until first set.
    std::map<QVCommand, bool> commandEnabled;
    // Every SetCommandEnabled call in order.
    std::vector<std::pair<QVCommand, bool>> commandCalls;

    // Columns painted since the last ColumnsComplete, and the requests other
    // than painting and progress that came while some were.
    int openColumns = 0;
    int requestsWithColumnsOpen = 0;

    int refreshDiagnosticsCalls = 0;
    int columnsPaintedAtRefresh = -1;
    int fitWindowCalls = 0;
    // The view as FitWindowToView last saw it.
    std::optional<ViewRecord> lastFittedView;

    void FillPictureBackground(int width, int height) override
    {
        Request();
        backgroundFills.emplace_back(width, height);
    }

    void ForgetSelectionMark() override
    {
        Request();
        ++forgetSelectionCalls;
    }

    void PaintColumn(int x, const uint32_t* colorWords, int height) override
    {
        ++paintColumnCalls;
        ++openColumns;
        for (int y = 0; y < height; ++y) {
            Cell(picture_, x, y) = colorWords[y];
            ++Cell(paints_, x, y);
        }
    }

    void ColumnsComplete() override { openColumns = 0; }

    void ProcessPendingMessages() override
    {
        Request();
        columnsPaintedAtMessages.push_back(paintColumnCalls);
        if (onProcessMessages)
            onProcessMessages(int(columnsPaintedAtMessages.size()));
    }

    void ProcessMessagesWhileWaiting() override
    {
        Request();
        columnsPaintedAtWaits.push_back(paintColumnCalls);
        if (onWaitingMessages)
            onWaitingMessages();
    }

    void ShowReadouts(const ViewReadouts& shown) override
    {
        Request();
        readouts.push_back(shown);
    }

    void ResetProgress(int maximum) override
    {
        Request();
        progressMaximum = maximum;
        progressEvents.push_back(ProgressEvent::Reset);
    }

    void StepProgress() override
    {
        ++progressSteps;
        progressEvents.push_back(ProgressEvent::Step);
    }

    void SetCommandEnabled(QVCommand command, bool enabled) override
    {
        Request();
        commandEnabled[command] = enabled;
        commandCalls.emplace_back(command, enabled);
    }

    void RefreshDiagnostics() override
    {
        Request();
        ++refreshDiagnosticsCalls;
        columnsPaintedAtRefresh = paintColumnCalls;
    }

    void FitWindowToView(ViewRecord& view) override
    {
        Request();
        ++fitWindowCalls;
        FitWindowSize(view, frameHeight);
        lastFittedView = view;
    }

    // The last colour painted at (x, y); nullopt when never painted.
    std::optional<uint32_t> Pixel(int x, int y) const
    {
        if (PaintCount(x, y) == 0)
            return std::nullopt;
        return picture_[x][y];
    }

    int PaintCount(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= int(paints_.size()) || y >= int(paints_[x].size()))
            return 0;
        return paints_[x][y];
    }

    std::optional<bool> Enabled(QVCommand command) const
    {
        const auto it = commandEnabled.find(command);
        if (it == commandEnabled.end())
            return std::nullopt;
        return it->second;
    }
    bool IsEnabled(QVCommand command) const { return Enabled(command).value_or(false); }

    int ProgressResets() const
    {
        return int(std::count(progressEvents.begin(), progressEvents.end(), ProgressEvent::Reset));
    }

    const ViewReadouts& LastReadouts() const { return readouts.back(); }

    // Forgets everything recorded so far but the current command states.
    void ClearRecording()
    {
        const std::map<QVCommand, bool> states = commandEnabled;
        const std::function<void(int)> callback = onProcessMessages;
        const std::function<void()> waitingCallback = onWaitingMessages;
        const int32_t frame = frameHeight;
        *this = FakeHost{};
        commandEnabled = states;
        onProcessMessages = callback;
        onWaitingMessages = waitingCallback;
        frameHeight = frame;
    }

private:
    void Request()
    {
        if (openColumns > 0)
            ++requestsWithColumnsOpen;
    }

    std::vector<std::vector<uint32_t>> picture_;
    std::vector<std::vector<int>> paints_;

    template <typename T>
    static T& Cell(std::vector<std::vector<T>>& grid, int x, int y)
    {
        if (x >= int(grid.size()))
            grid.resize(size_t(x) + 1);
        if (y >= int(grid[x].size()))
            grid[x].resize(size_t(y) + 1, T{});
        return grid[x][y];
    }
};

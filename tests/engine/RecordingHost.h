#pragma once
// A fake of the windows that records everything the engine asks of them.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "QVHost.h"
#include "ViewRecord.h"

class RecordingHost : public QVHost {
public:
    // Caption and frame height the fake window reports, as FrameHeight would.
    int32_t frameHeight = 30;

    // Last enabled state per command; empty until the engine first sets it.
    std::array<std::optional<bool>, kQVCommandCount> enabled{};
    // Every SetCommandEnabled call in order.
    std::vector<std::pair<QVCommand, bool>> commandLog;
    std::vector<ViewReadouts> readouts;
    std::vector<int> progressResets;
    int progressSteps = 0;
    int backgroundFills = 0;
    int lastFillWidth = 0;
    int lastFillHeight = 0;
    int selectionMarksForgotten = 0;
    int pendingMessageCalls = 0;
    int diagnosticsRefreshes = 0;
    int fitCalls = 0;
    std::optional<ViewRecord> lastFittedView;
    // Columns in the order they were painted, and their colour words.
    std::vector<int> paintedColumnOrder;
    std::map<int, std::vector<uint32_t>> paintedColumns;
    // Called from every ProcessPendingMessages, e.g. to press cancel.
    std::function<void()> onPendingMessages;

    bool IsEnabled(QVCommand command) const { return enabled[Index(command)].value_or(false); }
    bool WasSet(QVCommand command) const { return enabled[Index(command)].has_value(); }
    const ViewReadouts& LastReadouts() const { return readouts.back(); }

    uint32_t PixelAt(int x, int y) const
    {
        const auto column = paintedColumns.find(x);
        if (column == paintedColumns.end() || y < 0 || y >= int(column->second.size()))
            return kUnpainted;
        return column->second[size_t(y)];
    }
    static constexpr uint32_t kUnpainted = 0xFFFFFFFFu;

    void FillPictureBackground(int width, int height) override
    {
        ++backgroundFills;
        lastFillWidth = width;
        lastFillHeight = height;
    }

    void ForgetSelectionMark() override { ++selectionMarksForgotten; }

    void PaintColumn(int x, const uint32_t* colourWords, int height) override
    {
        paintedColumnOrder.push_back(x);
        paintedColumns[x].assign(colourWords, colourWords + height);
    }

    void ProcessPendingMessages() override
    {
        ++pendingMessageCalls;
        if (onPendingMessages)
            onPendingMessages();
    }

    void ShowReadouts(const ViewReadouts& r) override { readouts.push_back(r); }
    void ResetProgress(int maximum) override { progressResets.push_back(maximum); }
    void StepProgress() override { ++progressSteps; }

    void SetCommandEnabled(QVCommand command, bool on) override
    {
        enabled[Index(command)] = on;
        commandLog.emplace_back(command, on);
    }
    void RefreshDiagnostics() override { ++diagnosticsRefreshes; }

    void FitWindowToView(ViewRecord& view) override
    {
        ++fitCalls;
        view.diWinW = view.diImgW + 6;
        view.diWinH = view.diImgH + frameHeight + 2;
        lastFittedView = view;
    }

    // Forgets the painted picture, the counters and the command log; keeps
    // the current command states.
    void ClearRecording()
    {
        commandLog.clear();
        readouts.clear();
        progressResets.clear();
        progressSteps = 0;
        backgroundFills = 0;
        lastFillWidth = 0;
        lastFillHeight = 0;
        selectionMarksForgotten = 0;
        pendingMessageCalls = 0;
        diagnosticsRefreshes = 0;
        fitCalls = 0;
        lastFittedView.reset();
        paintedColumnOrder.clear();
        paintedColumns.clear();
    }

private:
    static size_t Index(QVCommand command) { return size_t(command); }
};

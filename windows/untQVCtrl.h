#pragma once
// The control window, the program's main window: indicator thumbnail, the
// tool bar that reaches every command, the read-outs and the progress bar.

#include <QSize>
#include <QWidget>
#include <memory>
#include <optional>

#include "commands/WindowPorts.h"
#include "engine/Navigation.h"

class QLabel;
class QMenu;
class QAction;
class QActionGroup;
class QKeySequence;
class QProgressBar;
class QRect;
class QToolBar;
class QToolButton;
class TQVImage;
class DepthMenus;
class JuliaMenus;

class TfrmQVCtrl : public QWidget, public ControlWindowPort {
    Q_OBJECT
public:
    explicit TfrmQVCtrl(QWidget* parent = nullptr);
    ~TfrmQVCtrl() override;

    // The screen size the start-up check uses, and the screen the windows are
    // kept to; tests put their own in place.
    static void SetScreenSizeForTests(std::optional<QSize> size);
    // Height of a window's caption and frame, measured once at creation.
    int FrameHeight() const { return frameHeight; }

    QWidget* Window() override { return this; }
    void ShowReadouts(const ViewReadouts& readouts) override;
    void ResetProgress(int maximum) override;
    void StepProgress() override;
    // The cross marks go with the old picture.
    void ShowIndicator(const QImage& square, const IndicatorScale& scale) override;
    IndicatorScale IndicatorScaleShown() const override { return indicatorScale; }
    void MoveCrossMarks(const CrossMarks& marks) override;
    CrossMarks CrossMarksShown() const { return crossMarks; }
    // Nothing clears the mark.
    void MarkUserColorMap() override;
    void ShowPictureDepth() override;

    // Shows the otherwise hidden "デバッグ" button (the command line's "--diagnostics").
    void ShowDiagnosticsButton();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildToolBar();
    void BuildMenus();
    void BuildColorMenu(QMenu* tools);
    QLabel* AddLabel(const char* name, const QString& text, int x, int y);
    // A read-out in the tight gothic face, labelled by its caption under its heading.
    QLabel* AddReadout(const char* name, const QRect& geometry, QLabel* caption = nullptr,
                       const QString& heading = {});
    void AddProgramShortcut(QAction* item, const QKeySequence& keys);
    QToolButton* AddToolButton(const char* name, const QString& caption);
    QMenu* AddDropDown(const char* name, QToolButton* button);
    QAction* AddColorPreset(QMenu* menu, QActionGroup* presets, const char* name, const QString& caption,
                             int presetCode);
    void MeasureFrameHeight();
    void InvertCrossMarks();

    TQVImage* imgIndicater = nullptr;
    QToolBar* tbQVCtrl = nullptr;
    QToolButton* tbtnDrawAll = nullptr;
    QToolButton* tbtnFile = nullptr;
    QToolButton* tbtnHelp = nullptr;
    QToolButton* tbtnDebg = nullptr;
    QProgressBar* pbQVCtrl = nullptr;
    QLabel* stCenterX = nullptr;
    QLabel* stCenterY = nullptr;
    QLabel* stAreaX = nullptr;
    QLabel* stAreaY = nullptr;
    QLabel* stScale = nullptr;
    QLabel* stDrawNest = nullptr;
    QLabel* stDrawNestTotal = nullptr;
    QAction* pmiColorUser = nullptr;
    std::unique_ptr<DepthMenus> depthMenus;
    std::unique_ptr<JuliaMenus> juliaMenus;

    int frameHeight = 0;
    IndicatorScale indicatorScale;
    CrossMarks crossMarks;
    bool userColorMapApplied = false;
    bool closed = false;
};

extern TfrmQVCtrl* frmQVCtrl;

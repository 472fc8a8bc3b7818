#pragma once
// The control window, the program's main window: indicator thumbnail, the
// tool bar that reaches every command, the read-outs and the progress bar.

#include <QSize>
#include <QWidget>
#include <optional>

#include "Navigation.h"
#include "QVHost.h"

class QAction;
class QActionGroup;
class QFrame;
class QImage;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class QToolButton;
class TQVImage;

class TfrmQVCtrl : public QWidget {
    Q_OBJECT
public:
    explicit TfrmQVCtrl(QWidget* parent = nullptr);
    ~TfrmQVCtrl() override;

    // The screen size the start-up check uses; tests put their own in place.
    static void SetScreenSizeForTests(std::optional<QSize> size);
    QSize ScreenSize() const { return screenSize; }
    // Height of a window's caption and frame, measured once at creation.
    int FrameHeight() const { return frameHeight; }

    void ShowReadouts(const ViewReadouts& readouts);
    // Progress bar: minimum 0, the given maximum, position 0.
    void ResetProgress(int maximum);
    void StepProgress();
    // The tool button or tools-menu item that carries the command.
    void SetCommandEnabled(QVCommand command, bool enabled);

    // Replaces the indicator with a whole view's picture square and its
    // scale; the cross marks go with the old picture.
    void ShowIndicator(const QImage& square, const IndicatorScale& scale);
    IndicatorScale IndicatorScaleShown() const { return indicatorScale; }
    // Erases the marks drawn last and draws these; 0 means no line.
    void MoveCrossMarks(const CrossMarks& marks);
    CrossMarks CrossMarksShown() const { return crossMarks; }

    // Marks "ユーザー設定": the user editor applied a map. Nothing clears it.
    void MarkUserColorMap();

    // Shows the otherwise hidden "デバッグ" button (the command line's "--diagnostics").
    void ShowDiagnosticsButton();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildToolBar();
    void BuildMenus();
    void BuildColourMenu();
    QLabel* AddLabel(const char* name, const QString& text, int x, int y);
    QLabel* AddReadout(const char* name, int x, int y, int w, int h);
    QToolButton* AddToolButton(const char* name, const QString& caption);
    QMenu* AddDropDown(const char* name, QToolButton* button);
    QAction* AddColourPreset(const char* name, const QString& caption, int presetCode);
    void SetStartupCommandStates();
    void MeasureFrameHeight();
    void InvertCrossMarks();

    TQVImage* imgIndicater = nullptr;
    QToolBar* tbQVCtrl = nullptr;
    QToolButton* tbtnDrawAll = nullptr;
    QToolButton* tbtnDrawSelect = nullptr;
    QToolButton* tbtnReDraw = nullptr;
    QToolButton* tbtnCancel = nullptr;
    QToolButton* tbtnPrev = nullptr;
    QToolButton* tbtnNext = nullptr;
    QToolButton* tbtnFile = nullptr;
    QToolButton* tbtnHelp = nullptr;
    QToolButton* tbtnExit = nullptr;
    QToolButton* tbtnDebg = nullptr;
    QProgressBar* pbQVCtrl = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* StaticText4 = nullptr;
    QLabel* StaticText5 = nullptr;
    QLabel* StaticText6 = nullptr;
    QLabel* StaticText7 = nullptr;
    QLabel* StaticText8 = nullptr;
    QLabel* stCenterX = nullptr;
    QLabel* stCenterY = nullptr;
    QLabel* stAreaX = nullptr;
    QLabel* stAreaY = nullptr;
    QLabel* stScale = nullptr;
    QLabel* stDrawNest = nullptr;
    QLabel* stDrawNestTotal = nullptr;
    QFrame* shpSapa = nullptr;

    QMenu* pmChangeFunction = nullptr;
    QAction* pmiChangeZ2 = nullptr;
    QAction* pmiChangeZ3 = nullptr;
    QAction* pmiChangeZ4 = nullptr;
    QAction* pmiChageZ4Polynom = nullptr;
    QAction* pmiChangeZRatio = nullptr;
    QAction* pmiChangeExpZ2 = nullptr;
    QMenu* pmQVCtrl = nullptr;
    QAction* pmiSave = nullptr;
    QMenu* pmiColorChange = nullptr;
    QActionGroup* colourPresetGroup = nullptr;
    QAction* pmiColorDefault = nullptr;
    QAction* pmiColorTempo = nullptr;
    QAction* pmiColorShift = nullptr;
    QAction* pmiColorShift2 = nullptr;
    QAction* pmiColorNext = nullptr;
    QAction* pmiColorMonoTone = nullptr;
    QAction* pmiColorMonoShort = nullptr;
    QAction* pmiColorUser = nullptr;
    QAction* actHanten = nullptr;
    QAction* pmiColorHanten = nullptr;
    QMenu* N1 = nullptr;
    QAction* pmiGetColor = nullptr;
    QAction* pmiPutColor = nullptr;
    QAction* pmiSetColorUser = nullptr;
    QAction* pmiSetCoeff = nullptr;
    QMenu* pmHelpAbout = nullptr;
    QAction* pmiHelp = nullptr;
    QAction* pmiVersion = nullptr;
    QMenu* pmDebg = nullptr;
    QAction* pmiInfoGrid = nullptr;
    QAction* pmiDebugColor = nullptr;

    QSize screenSize;
    int frameHeight = 0;
    IndicatorScale indicatorScale;
    CrossMarks crossMarks;
    bool userColorMapApplied = false;
    bool closed = false;
};

extern TfrmQVCtrl* frmQVCtrl;

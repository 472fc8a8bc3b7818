#pragma once
// The control window, the program's main window: indicator thumbnail, the
// tool bar that reaches every command, the read-outs and the progress bar.

#include "QVImage.h"
#include <QSize>
#include <QWidget>
#include <optional>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class QToolButton;

class TfrmQVCtrl : public QWidget {
    Q_OBJECT
public:
    explicit TfrmQVCtrl(QWidget* parent = nullptr);
    ~TfrmQVCtrl() override;

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
    QAction* pmiColorHanten = nullptr;
    QAction* actHanten = nullptr;
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

    // The screen size the start-up check uses; tests put their own in place.
    static void SetScreenSizeForTests(std::optional<QSize> size);
    QSize ScreenSize() const { return screenSize; }

    void tbtnReDrawClick();
    void tbtnCancelClick();
    void tbtnPrevClick();
    void tbtnNextClick();
    void tbtnDrawSelectClick();
    void tbtnExitClick();
    void actHantenExecute();
    // Marks "ユーザー設定": the user editor applied a map. Nothing clears it.
    void MarkUserColorMap();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildToolBar();
    void BuildMenus();
    void BuildColourMenu();
    QLabel* AddLabel(const QString& text, int x, int y);
    QLabel* AddReadout(int x, int y, int w, int h);
    QToolButton* AddToolButton(const QString& caption);
    void AttachDropDown(QToolButton* button, QMenu* menu);
    void ChooseColourPreset(QAction* item, int presetCode);
    void ReadStartupPictureSize();
    void MeasureFrameHeight();

    QSize screenSize;
    bool userColorMapApplied = false;
    bool closed = false;
};

extern TfrmQVCtrl* frmQVCtrl;

// Asks "本当に終了しますか"; on OK stops a running render, closes the drawing
// window and the control window, which ends the program.
void ConfirmAndExit(QWidget* asker);
// The whole view of a formula type 1..6: history reset, defaults, render,
// indicator.
void ShowWholeView(int type);
// Thumbnail of the whole view, scale values, marks cleared.
void RefreshIndicator();
// Erases the old cross marks and draws them at the centre of dpCurr.
void UpdateIndicatorMarks();

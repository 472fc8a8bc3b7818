#pragma once
// The drawing window: shows the picture, takes the rubber-band selection and
// carries the drawing and history commands in its popup menu.

#include <QImage>
#include <QPoint>
#include <functional>
#include <QSize>
#include <QWidget>

#include "QVImage.h"
#include "ViewRecord.h"

class QAction;
class QMenu;

// Interaction state of the drawing window.
extern bool IsDragging;
extern int SelStartX, SelStartY;
extern int SelEndX, SelEndY;
extern int SelLastX, SelLastY;
extern int SelDeltaX, SelDeltaY;
extern int InspectX, InspectY;
extern int PopupLeft, PopupTop;

class TfrmQVView : public QWidget {
    Q_OBJECT
public:
    // The outer size counts the frame: the client area holds the picture at
    // (1, 1), so a fitted window shows it whole with nothing beside it.
    static constexpr int kFrameWidth = 5;
    static QSize ClientSizeForOuter(QSize outer);
    static QSize ClientSizeForPicture(int width, int height);
    static constexpr int kMinOuterWidth = 150;
    static constexpr int kMaxOuterWidth = 1600;
    static constexpr int kMinOuterHeight = 200;
    static constexpr int kMaxOuterHeight = 1200;

    explicit TfrmQVView(QWidget* parent = nullptr);
    ~TfrmQVView() override;

    // The picture surface: the window shows its top-left part.
    static constexpr int kSurfaceWidth = 2400;
    static constexpr int kSurfaceHeight = 1800;
    TQVImage* imgQVView = nullptr;
    QMenu* pmQVView = nullptr;
    QAction* pmiDrawSelect = nullptr;
    QAction* N1 = nullptr;
    QAction* pmiReDraw = nullptr;
    QAction* pmiCancel = nullptr;
    QAction* pmiPrev = nullptr;
    QAction* pmiNext = nullptr;
    QMenu* pmiDrawAll = nullptr;
    QAction* pmiDrawZ2 = nullptr;
    QAction* pmiDrawZ3 = nullptr;
    QAction* pmiDrawZ4 = nullptr;
    QAction* pmiDrawZ4Poly = nullptr;
    QAction* pmiDrawZRatio = nullptr;
    QAction* pmiDrawExpZ2 = nullptr;
    QAction* pmiActiveMain = nullptr;
    QAction* pmiExit = nullptr;

    void InitViewMenu();
    void FitWindowToView(ViewRecord& view);
    void DrawSelectedRegion();
    // Outer size as the program counts it: client plus frame.
    QSize OuterSize() const;

    // Mouse handlers of the picture, in picture pixels.
    void imgQVViewMouseDown(Qt::MouseButton button, int x, int y);
    void imgQVViewMouseMove(int x, int y);
    void imgQVViewMouseUp(Qt::MouseButton button, int x, int y);

    void pmiReDrawClick();
    void pmiCancelClick();
    void pmiPrevClick();
    void pmiNextClick();
    void pmiActiveMainClick();
    void pmiExitClick();

    // Tests replace the popup's modal run with their own.
    void SetPopupRunner(std::function<void(QMenu*, QPoint)> runner);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildPopupMenu();
    void ApplySizeLimits();
    void SetSelectCommands(bool selectEnabled);
    void OpenPopup(int x, int y);

    QSize fittedClientSize;
    std::function<void(QMenu*, QPoint)> popupRunner;
};

extern TfrmQVView* frmQVView;

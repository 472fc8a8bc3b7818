#pragma once
// The drawing window: shows the picture, takes the rubber-band selection and
// carries the drawing and history commands in its popup menu.

#include <QImage>
#include <QPoint>
#include <functional>
#include <QSize>
#include <QWidget>

#include "ViewRecord.h"

class QAction;
class QMenu;

// The picture surface: 2400 x 1800 pixels, of which the window shows the
// top-left part. Mouse presses go to the drawing window's handlers.
class TQVPicture : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSurfaceWidth = 2400;
    static constexpr int kSurfaceHeight = 1800;

    explicit TQVPicture(QWidget* parent);
    QImage& Surface() { return surface; }
    const QImage& Surface() const { return surface; }
    QColor FillColour() const { return fillColour; }
    void SetFillColour(const QColor& colour) { fillColour = colour; }
    void FillRect(int width, int height);
    // Inverts every pixel of the rectangle spanned by two corners, outline
    // and interior once each (right and bottom edges exclusive), clipped to
    // the surface. Inverting the same rectangle twice restores the picture.
    void InvertRect(int x1, int y1, int x2, int y2);

signals:
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage surface;
    QColor fillColour;
};

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
    // Horizontal frame allowance of the outer size: outer = client + 4.
    static constexpr int kFrameWidth = 4;
    static constexpr int kMinOuterWidth = 150;
    static constexpr int kMaxOuterWidth = 1600;
    static constexpr int kMinOuterHeight = 200;
    static constexpr int kMaxOuterHeight = 1200;

    explicit TfrmQVView(QWidget* parent = nullptr);
    ~TfrmQVView() override;

    TQVPicture* imgQVView = nullptr;
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

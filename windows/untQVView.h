#pragma once
// The drawing window: shows the picture, takes the rubber-band selection and
// carries the drawing and history commands in its popup menu.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QWidget>
#include <functional>
#include <vector>

#include "QVHost.h"
#include "ViewRecord.h"

class QAction;
class QMenu;
class TQVImage;

class TfrmQVView : public QWidget {
    Q_OBJECT
public:
    // The outer size counts the frame: the client area holds the picture at
    // (1, 1), so a fitted window shows it whole with nothing beside it.
    static constexpr int kFrameWidth = 5;
    static QSize ClientSizeForPicture(int width, int height);
    static constexpr int kMinOuterWidth = 150;
    static constexpr int kMinOuterHeight = 200;
    // The picture surface: the window shows its top-left part.
    static constexpr int kSurfaceWidth = 2400;
    static constexpr int kSurfaceHeight = 1800;

    // frameHeight: a window's caption and frame, as the control window measured it.
    explicit TfrmQVView(int frameHeight, QWidget* parent = nullptr);
    ~TfrmQVView() override;

    int FrameHeight() const { return frameHeight; }
    // Outer size as the program counts it: client plus frame.
    QSize OuterSize() const;
    QSize ClientSizeForOuter(QSize outer) const;

    void InitViewMenu();
    void FitWindowToView(ViewRecord& view);
    // While set, a change of the window's size is the user's and goes into dpCurr.
    bool IsTrackingResize() const { return TrackResize; }
    void SetTrackResize(bool on) { TrackResize = on; }

    // The picture surface and what renders paint on it.
    const QImage& Picture() const;
    // The width of the picture control, which may differ from its picture's.
    int PictureControlWidth() const;
    QColor BackgroundColour() const;
    void FillPictureBackground(int width, int height);
    // Columns of a render are gathered up to 16 at a time and written into
    // the picture row by row: the picture is laid out row by row, and a
    // column at a time would touch a new memory page with nearly every pixel.
    void PaintColumn(int x, const uint32_t* colourWords, int height);
    // Writes what is gathered, so that the picture is whole.
    void WritePaintedColumns();
    // The popup item that carries the command.
    void SetCommandEnabled(QVCommand command, bool enabled);

    // The finished selection rectangle is painted over and no longer counts as shown.
    void ForgetSelectionMark();
    // The rubber band is dropped altogether before a zoom.
    void ForgetRubberBand();
    bool Dragging() const { return IsDragging; }
    QPoint SelectionDelta() const { return QPoint(SelDeltaX, SelDeltaY); }
    // The picture pixel under the last right press and the screen point where
    // the popup then opened.
    QPoint InspectedPixel() const { return QPoint(InspectX, InspectY); }
    QPoint PopupPosition() const { return QPoint(PopupLeft, PopupTop); }

    // Mouse handlers of the picture, in picture pixels.
    void imgQVViewMouseDown(Qt::MouseButton button, int x, int y);
    void imgQVViewMouseMove(int x, int y);
    void imgQVViewMouseUp(Qt::MouseButton button, int x, int y);

    // Tests replace the popup's modal run with their own.
    void SetPopupRunner(std::function<void(QMenu*, QPoint)> runner);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildPopupMenu();
    void ApplySizeLimits();
    void SetSelectCommands(bool selectEnabled);
    void OpenPopup(int x, int y);

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

    int frameHeight = 0;
    bool TrackResize = false;
    std::vector<QRgb> gathered;  // pixels row after row, 16 to a row
    int gatheredFirst = 0;
    int gatheredCount = 0;
    int gatheredRows = 0;
    QSize fittedClientSize;
    std::function<void(QMenu*, QPoint)> popupRunner;

    // Rubber band: where the left button went down and came up, the corner
    // as last drawn, and the size of the last finished drag (both nonzero:
    // the finished rectangle is still shown).
    bool IsDragging = false;
    int SelStartX = 0, SelStartY = 0;
    int SelEndX = 0, SelEndY = 0;
    int SelLastX = 0, SelLastY = 0;
    int SelDeltaX = 0, SelDeltaY = 0;
    int InspectX = 0, InspectY = 0;
    int PopupLeft = 0, PopupTop = 0;
};

extern TfrmQVView* frmQVView;

#pragma once
// The drawing window: shows the picture, takes the rubber-band selection and
// carries the drawing and history commands in its popup menu.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>
#include <vector>

#include "commands/WindowPorts.h"
#include "engine/ViewRecord.h"

class QAction;
class QMenu;
class TQVImage;

class TfrmQVView : public QWidget, public DrawingWindowPort {
    Q_OBJECT
public:
    // The outer size counts the frame: the client area holds the picture at
    // (1, 1), so a fitted window shows it whole with nothing beside it
    // (the margins of ViewRecord.h).
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

    QWidget* Window() override { return this; }
    // Sizes the window to the view's picture and writes diWinW and diWinH.
    void FitWindowToView(ViewRecord& view) override;
    // While set, a change of the window's size is the user's and goes into dpCurr.
    bool IsTrackingResize() const { return TrackResize; }
    void SetTrackResize(bool on) override { TrackResize = on; }

    // The picture surface and what renders paint on it.
    const QImage& Picture() const override;
    int PictureControlWidth() const override;
    void FillPictureBackground(int width, int height) override;
    // Columns of a render are gathered up to 16 at a time and written into
    // the picture row by row when the block is complete: the picture is laid
    // out row by row, and a column at a time would touch a new memory page
    // with nearly every pixel.
    void PaintColumn(int x, const uint32_t* colorWords, int height) override;
    void ColumnsComplete() override;

    // The finished selection rectangle, or the band being dragged, is painted
    // over: it no longer counts as shown, and the drag ends.
    void ForgetSelectionMark() override;
    void ForgetRubberBand() override;
    bool Dragging() const { return IsDragging; }
    QPoint SelectionDelta() const { return QPoint(SelDeltaX, SelDeltaY); }
    QPoint InspectedPixel() const override { return QPoint(InspectX, InspectY); }
    QPoint PopupPosition() const override { return QPoint(PopupLeft, PopupTop); }

    // Mouse handlers of the picture, in picture pixels.
    void imgQVViewMouseDown(Qt::MouseButton button, int x, int y);
    void imgQVViewMouseMove(int x, int y);
    void imgQVViewMouseUp(Qt::MouseButton button, int x, int y);
    // A double click inside the rectangle shown before it zooms into that rectangle.
    void imgQVViewDoubleClick(Qt::MouseButton button, int x, int y);

    // Tests replace the popup's modal run with their own.
    void SetPopupRunner(std::function<void(QMenu*, QPoint)> runner);

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Once framed, a fitted window is kept to the screen with its real frame.
    void showEvent(QShowEvent* event) override;
    // The keys of the picture: + and - zoom, the arrows move, Backspace and
    // Alt+Left go back, Alt+Right forward, Enter draws the selection, Esc
    // cancels a render or drops the selection, Home shows the whole view,
    // the paste key opens the place on the clipboard, the copy key copies
    // the place shown.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildPopupMenu();
    void ApplySizeLimits();
    // A window fitted to a picture larger than the screen is kept to the
    // screen and shows the picture's top-left part: the program's size, not
    // the user's, so the view keeps its own picture size.
    QSize FittedSizeOnScreen() const;
    bool IsFittedSize(QSize client) const;
    void KeepFittedSizeOnScreen();
    void OpenPopup(int x, int y);
    // Esc without a render: the rectangle being dragged or shown is erased
    // and selects nothing.
    void DropSelection();
    // The picture pixel under the pointer; the centre pixel when it is elsewhere.
    QPoint PixelUnderPointer() const;

    TQVImage* imgQVView = nullptr;
    QMenu* pmQVView = nullptr;

    int frameHeight = 0;
    bool TrackResize = false;
    std::vector<QRgb> gathered;  // pixels row after row, 16 to a row
    int gatheredFirst = 0;
    int gatheredCount = 0;
    int gatheredRows = 0;
    QSize fittedClientSize;  // the size asked for, kept to the screen
    QSize wantedClientSize;  // the size the picture asks for; empty after a user's resize
    std::function<void(QMenu*, QPoint)> popupRunner;

    // Rubber band: where the left button went down and came up, the corner
    // as last drawn, and the size of the last finished drag (both nonzero:
    // the finished rectangle is still shown).
    bool IsDragging = false;
    int SelStartX = 0, SelStartY = 0;
    int SelEndX = 0, SelEndY = 0;
    int SelLastX = 0, SelLastY = 0;
    int SelDeltaX = 0, SelDeltaY = 0;
    // The rectangle shown when the last left press came, and when the one
    // before it came: a double click's first press erases what it zooms into.
    QRect shownAtLastPress;
    QRect shownAtPressBefore;
    int InspectX = 0, InspectY = 0;
    int PopupLeft = 0, PopupTop = 0;
};

extern TfrmQVView* frmQVView;

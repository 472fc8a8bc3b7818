#include "windows/untQVView.h"

#include <QAction>
#include <QCursor>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <utility>

#include "commands/CommandSet.h"
#include "commands/QVCommands.h"
#include "commands/WindowsHostAdapter.h"
#include "engine/EngineState.h"
#include "platform/QVImage.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

TfrmQVView* frmQVView = nullptr;

TfrmQVView::TfrmQVView(int frameHeight, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      frameHeight(frameHeight)
{
    frmQVView = this;
    setObjectName(QStringLiteral("frmQVView"));
    setWindowTitle(QStringLiteral("描画ウィンドウ"));
    imgQVView = Named(new TQVImage(QSize(kSurfaceWidth, kSurfaceHeight), QApplication::palette().color(QPalette::Button),
                                   this),
                      "imgQVView");
    imgQVView->setAccessibleName(QStringLiteral("描画ウィンドウ"));
    imgQVView->move(kPictureInset, kPictureInset);
    connect(imgQVView, &TQVImage::MouseDown, this, &TfrmQVView::imgQVViewMouseDown);
    connect(imgQVView, &TQVImage::MouseMove, this, &TfrmQVView::imgQVViewMouseMove);
    imgQVView->setMouseTracking(true);  // the Julia preview follows the pointer
    connect(imgQVView, &TQVImage::MouseUp, this, &TfrmQVView::imgQVViewMouseUp);
    connect(imgQVView, &TQVImage::DoubleClicked, this, &TfrmQVView::imgQVViewDoubleClick);
    connect(imgQVView, &TQVImage::Wheel, this, [](int x, int y, int angleDelta) { TurnWheel(QPoint(x, y), angleDelta); });
    BuildPopupMenu();
    ApplySizeLimits();

    FitWindowToView(dpCurr);
    // Qt widgets paint double-buffered already.

    KeepOnScreen(this);
    CentreOnScreen(this);
}

TfrmQVView::~TfrmQVView()
{
    if (frmQVView == this)
        frmQVView = nullptr;
}

void TfrmQVView::BuildPopupMenu()
{
    pmQVView = Named(new QMenu(this), "pmQVView");
    const auto addItem = [this](const char* name, const QString& caption) {
        return Named(pmQVView->addAction(caption), name);
    };
    const auto addCommand = [this](const char* name, const QString& caption, auto command) {
        return Named(pmQVView->addAction(caption, this, command), name);
    };
    CarryCommand(QVCommand::DrawSelect, addItem("pmiDrawSelect", QStringLiteral("選択領域描画")));
    addCommand("N1", QStringLiteral("パレットコード表示"), [] { ShowPixelInformation(); });
    CarryCommand(QVCommand::ReDraw, addItem("pmiReDraw", QStringLiteral("再描画")));
    CarryCommand(QVCommand::Cancel, addItem("pmiCancel", QStringLiteral("描画キャンセル")));
    CarryCommand(QVCommand::Back, addItem("pmiPrev", QStringLiteral("戻る")));
    CarryCommand(QVCommand::Forward, addItem("pmiNext", QStringLiteral("進む")));
    QMenu* pmiDrawAll = Named(pmQVView->addMenu(QStringLiteral("全景描画")), "pmiDrawAll");
    FollowCommand(QVCommand::DrawAll, pmiDrawAll->menuAction());
    AddWholeViewEntries(pmiDrawAll, FormulaMenu::Drawing);
    addCommand("pmiActiveMain", QStringLiteral("メインウィンドウ表示"), [] { ShowControlWindow(); });
    addCommand("pmiExit", QStringLiteral("終了"), [this] { ConfirmAndExit(this); });
    QAction* pmiCopyPlace = addCommand("pmiCopyPlace", QStringLiteral("場所をコピー"), [] { CopyPlace(); });
    FollowCommand(QVCommand::SavePlace, pmiCopyPlace);
    pmiCopyPlace->setShortcut(QKeySequence::Copy);
    pmiCopyPlace->setShortcutContext(Qt::WindowShortcut);
    addAction(pmiCopyPlace);
    QAction* pmiJulia = addCommand("pmiJuliaOfPoint", QStringLiteral("この点のジュリア集合"),
                                   [this] { ShowJuliaOfPixel(QPoint(InspectX, InspectY)); });
    // A point of the formula's own plane, while nothing is drawn.
    connect(pmQVView, &QMenu::aboutToShow, pmiJulia,
            [pmiJulia] { pmiJulia->setEnabled(IsCommandEnabled(QVCommand::SavePlace) && !InJuliaView()); });
}

void TfrmQVView::ApplySizeLimits()
{
    setMinimumSize(ClientSizeForOuter(QSize(kMinOuterWidth, kMinOuterHeight)).expandedTo(QSize(1, 1)));
    setMaximumSize(ClientSizeForOuter(QSize(kMaxPictureWidth, kMaxPictureHeight)));
}

QSize TfrmQVView::OuterSize() const
{
    return QSize(width() + kFrameExtraWidth, height() + frameHeight + kFrameExtraHeight);
}

QSize TfrmQVView::ClientSizeForOuter(QSize outer) const
{
    return QSize(outer.width() - kFrameExtraWidth, outer.height() - frameHeight - kFrameExtraHeight);
}

QSize TfrmQVView::ClientSizeForPicture(int width, int height)
{
    return QSize(width + kPictureInset, height + kPictureInset);
}

void TfrmQVView::FitWindowToView(ViewRecord& view)
{
    TrackResize = false;
    FitWindowSize(view, frameHeight);
    const int outerW = std::clamp(view.diWinW, kMinOuterWidth, kMaxPictureWidth);
    const int outerH = std::clamp(view.diWinH, kMinOuterHeight, kMaxPictureHeight);
    wantedClientSize = ClientSizeForOuter(QSize(outerW, outerH));
    fittedClientSize = FittedSizeOnScreen();
    resize(fittedClientSize);
    imgQVView->move(kPictureInset, kPictureInset);
    PlaceOnScreen(this, pos());
    TrackResize = true;
}

QSize TfrmQVView::FittedSizeOnScreen() const
{
    return ClientSizeOnScreen(this, wantedClientSize).expandedTo(minimumSize());
}

bool TfrmQVView::IsFittedSize(QSize client) const
{
    // The frame may have changed since the fit: kept to the screen with the
    // frame it has now is the program's size too.
    return client == fittedClientSize || (!wantedClientSize.isEmpty() && client == FittedSizeOnScreen());
}

void TfrmQVView::KeepFittedSizeOnScreen()
{
    if (wantedClientSize.isEmpty())
        return;
    fittedClientSize = FittedSizeOnScreen();
    if (size() != fittedClientSize)
        resize(fittedClientSize);
    PlaceOnScreen(this, pos());
}

void TfrmQVView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    QTimer::singleShot(0, this, [this] { KeepFittedSizeOnScreen(); });
}

void TfrmQVView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The window manager may confirm a fitted size later; only a size the
    // program did not ask for is the user's.
    if (TrackResize && !IsFittedSize(size())) {
        fittedClientSize = wantedClientSize = QSize();
        TakeDrawingWindowSize(OuterSize(), frameHeight);
        imgQVView->move(kPictureInset, kPictureInset);
    }
    imgQVView->SetFillColor(QApplication::palette().color(QPalette::Button));
    if (DebugMode)
        WindowsHost().RefreshDiagnostics();
}

const QImage& TfrmQVView::Picture() const { return imgQVView->Picture(); }

int TfrmQVView::PictureControlWidth() const { return imgQVView->width(); }

void TfrmQVView::FillPictureBackground(int width, int height)
{
    imgQVView->FillRect(width, height);
    // A window held at its minimum size shows more than the picture: nothing
    // of an older picture may stay beside the new one.
    imgQVView->FillOutside(width, height, palette().color(QPalette::Window));
}

namespace {

constexpr int kGatheredColumns = 16;

}  // namespace

void TfrmQVView::PaintColumn(int x, const uint32_t* colorWords, int height)
{
    const QImage& surface = imgQVView->Picture();
    if (x < 0 || x >= surface.width())
        return;
    const int rows = std::min(height, surface.height());
    if (gatheredCount == kGatheredColumns || rows != gatheredRows || x != gatheredFirst + gatheredCount)
        ColumnsComplete();
    if (gatheredCount == 0) {
        gatheredFirst = x;
        gatheredRows = rows;
        gathered.resize(size_t(kGatheredColumns) * size_t(rows));
    }
    QRgb* pixel = &gathered[size_t(gatheredCount)];
    for (int y = 0; y < rows; ++y, pixel += kGatheredColumns)
        *pixel = RgbOfColorWord(colorWords[y]);
    ++gatheredCount;
}

void TfrmQVView::ColumnsComplete()
{
    const int count = std::exchange(gatheredCount, 0);
    if (count == 0)
        return;
    QImage& surface = imgQVView->Picture();
    uchar* line = surface.bits() + qsizetype(gatheredFirst) * qsizetype(sizeof(QRgb));
    for (int y = 0; y < gatheredRows; ++y, line += surface.bytesPerLine())
        std::memcpy(line, &gathered[size_t(y) * kGatheredColumns], sizeof(QRgb) * size_t(count));
    imgQVView->update(QRect(gatheredFirst, 0, count, gatheredRows));
}

void TfrmQVView::ForgetSelectionMark()
{
    // A band being dragged is painted over too: going on would invert the
    // new picture where the old band was.
    IsDragging = false;
    SelDeltaX = 0;
    SelDeltaY = 0;
    shownAtLastPress = shownAtPressBefore = QRect();
}

void TfrmQVView::ForgetRubberBand()
{
    IsDragging = false;
    SelStartX = SelStartY = SelEndX = SelEndY = SelLastX = SelLastY = 0;
    ForgetSelectionMark();
}

void TfrmQVView::imgQVViewMouseDown(Qt::MouseButton button, int x, int y)
{
    if (button == Qt::RightButton) {
        InspectX = x;
        InspectY = y;
        OpenPopup(x, y);
        return;
    }
    if (button != Qt::LeftButton || IsRendering || dpCurr.diType == 0)
        return;
    IsDragging = true;
    shownAtPressBefore = std::exchange(shownAtLastPress, QRect());
    if (SelDeltaX != 0 && SelDeltaY != 0) {
        shownAtLastPress = QRect(QPoint(SelStartX, SelStartY), QPoint(SelEndX, SelEndY)).normalized();
        imgQVView->InvertRect(SelStartX, SelStartY, SelEndX, SelEndY);
    }
    SelStartX = SelEndX = SelLastX = x;
    SelStartY = SelEndY = SelLastY = y;
    SelDeltaX = SelDeltaY = 0;
}

void TfrmQVView::imgQVViewMouseMove(int x, int y)
{
    PointerOverPicture(QPoint(x, y));
    if (!IsDragging)
        return;
    imgQVView->InvertRect(SelStartX, SelStartY, SelLastX, SelLastY);
    imgQVView->InvertRect(SelStartX, SelStartY, x, y);
    SelLastX = x;
    SelLastY = y;
}

void TfrmQVView::imgQVViewMouseUp(Qt::MouseButton button, int x, int y)
{
    if (button != Qt::LeftButton || !IsDragging)
        return;
    // The band as last drawn becomes the finished rectangle.
    if (SelLastX != x || SelLastY != y) {
        imgQVView->InvertRect(SelStartX, SelStartY, SelLastX, SelLastY);
        imgQVView->InvertRect(SelStartX, SelStartY, x, y);
        SelLastX = x;
        SelLastY = y;
    }
    SelEndX = x;
    SelEndY = y;
    SelDeltaX = x - SelStartX;
    SelDeltaY = y - SelStartY;
    SelectRegion(QPoint(SelStartX, SelStartY), QPoint(SelEndX, SelEndY));
    IsDragging = false;
}

void TfrmQVView::imgQVViewDoubleClick(Qt::MouseButton button, int x, int y)
{
    if (button != Qt::LeftButton || IsRendering || !shownAtPressBefore.contains(x, y))
        return;
    const QRect selected = std::exchange(shownAtPressBefore, QRect());
    SelectRegion(selected.topLeft(), selected.bottomRight());
    StartCommand(QVCommand::DrawSelect);
}

void TfrmQVView::DropSelection()
{
    if (IsDragging)
        imgQVView->InvertRect(SelStartX, SelStartY, SelLastX, SelLastY);
    else if (SelDeltaX != 0 && SelDeltaY != 0)
        imgQVView->InvertRect(SelStartX, SelStartY, SelEndX, SelEndY);
    else
        return;
    IsDragging = false;
    SelDeltaX = SelDeltaY = 0;
    SelectRegion(QPoint(SelStartX, SelStartY), QPoint(SelStartX, SelStartY));
}

void TfrmQVView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        PastePlace();
        return;
    }
    // While the copy item is disabled (during a render) its key still copies.
    if (event->matches(QKeySequence::Copy)) {
        CopyPlace();
        return;
    }
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    const bool plain = held == Qt::NoModifier;
    const bool alt = held == Qt::AltModifier;
    // "+" takes Shift on many keyboards.
    const bool typed = (held & ~Qt::ShiftModifier) == Qt::NoModifier;
    const int key = event->key();
    if (typed && (key == Qt::Key_Plus || key == Qt::Key_Minus))
        ZoomAboutCentre(key == Qt::Key_Plus ? 1 : -1);
    else if (alt && (key == Qt::Key_Left || key == Qt::Key_Right))
        StartCommand(key == Qt::Key_Left ? QVCommand::Back : QVCommand::Forward);
    else if (plain && (key == Qt::Key_Left || key == Qt::Key_Right))
        MoveView(key == Qt::Key_Left ? -1 : 1, 0);
    else if (plain && (key == Qt::Key_Up || key == Qt::Key_Down))
        MoveView(0, key == Qt::Key_Up ? -1 : 1);
    else if (plain && key == Qt::Key_Backspace)
        StartCommand(QVCommand::Back);
    else if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter))
        StartCommand(QVCommand::DrawSelect);
    else if (plain && key == Qt::Key_Escape && IsCommandEnabled(QVCommand::Cancel))
        StartCommand(QVCommand::Cancel);
    else if (plain && key == Qt::Key_Escape)
        DropSelection();
    else if (plain && key == Qt::Key_Home)
        ShowWholeViewOfCurrentFormula();
    else if (plain && key == Qt::Key_J)
        ShowJuliaOfPixel(PixelUnderPointer());
    else
        QWidget::keyPressEvent(event);
}

QPoint TfrmQVView::PixelUnderPointer() const
{
    const QPoint at = imgQVView->mapFromGlobal(QCursor::pos());
    const PictureSize shown = ShownPictureSize(dpCurr);
    if (at.x() >= 0 && at.y() >= 0 && at.x() < shown.width && at.y() < shown.height)
        return at;
    return QPoint(shown.width / 2, shown.height / 2);
}

void TfrmQVView::SetPopupRunner(std::function<void(QMenu*, QPoint)> runner) { popupRunner = std::move(runner); }

void TfrmQVView::OpenPopup(int x, int y)
{
    const QPoint global = imgQVView->mapToGlobal(QPoint(x, y));
    PopupLeft = global.x();
    PopupTop = global.y();
    if (popupRunner)
        popupRunner(pmQVView, global);
    else
        pmQVView->exec(global);
}

#include "untQVView.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <algorithm>
#include <cstring>
#include <utility>

#include "EngineState.h"
#include "QVCommands.h"
#include "QVImage.h"
#include "QtSupport.h"

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
    imgQVView->move(1, 1);
    connect(imgQVView, &TQVImage::MouseDown, this, &TfrmQVView::imgQVViewMouseDown);
    connect(imgQVView, &TQVImage::MouseMove, this, &TfrmQVView::imgQVViewMouseMove);
    connect(imgQVView, &TQVImage::MouseUp, this, &TfrmQVView::imgQVViewMouseUp);
    BuildPopupMenu();
    ApplySizeLimits();

    InitViewMenu();
    FitWindowToView(dpCurr);
    // Qt widgets paint double-buffered already.

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
    const auto addItem = [this](const char* name, const QString& caption, auto command) {
        return Named(pmQVView->addAction(caption, this, command), name);
    };
    pmiDrawSelect = addItem("pmiDrawSelect", QStringLiteral("選択領域描画"), [] { DrawSelectedRegion(); });
    N1 = addItem("N1", QStringLiteral("パレットコード表示"), [] { ShowPixelInformation(); });
    pmiReDraw = addItem("pmiReDraw", QStringLiteral("再描画"), [] { RedrawView(); });
    pmiCancel = addItem("pmiCancel", QStringLiteral("描画キャンセル"), [] { CancelRender(); });
    pmiPrev = addItem("pmiPrev", QStringLiteral("戻る"), [] { StepBack(); });
    pmiNext = addItem("pmiNext", QStringLiteral("進む"), [] { StepForward(); });
    pmiDrawAll = Named(pmQVView->addMenu(QStringLiteral("全景描画")), "pmiDrawAll");
    const auto entries = AddWholeViewEntries(pmiDrawAll, FormulaMenu::Drawing);
    pmiDrawZ2 = entries[0];
    pmiDrawZ3 = entries[1];
    pmiDrawZ4 = entries[2];
    pmiDrawZ4Poly = entries[3];
    pmiDrawZRatio = entries[4];
    pmiDrawExpZ2 = entries[5];
    pmiActiveMain = addItem("pmiActiveMain", QStringLiteral("メインウィンドウ表示"), [] { ShowControlWindow(); });
    pmiExit = addItem("pmiExit", QStringLiteral("終了"), [this] { ConfirmAndExit(this); });
}

void TfrmQVView::ApplySizeLimits()
{
    setMinimumSize(ClientSizeForOuter(QSize(kMinOuterWidth, kMinOuterHeight)).expandedTo(QSize(1, 1)));
    setMaximumSize(ClientSizeForOuter(QSize(kMaxPictureWidth, kMaxPictureHeight)));
}

void TfrmQVView::InitViewMenu()
{
    pmiDrawSelect->setEnabled(false);
    pmiReDraw->setEnabled(false);
    pmiCancel->setEnabled(false);
    pmiPrev->setEnabled(false);
    pmiNext->setEnabled(false);
    pmiDrawAll->menuAction()->setEnabled(true);
    pmiExit->setEnabled(true);
}

void TfrmQVView::SetCommandEnabled(QVCommand command, bool enabled)
{
    QAction* item = nullptr;
    switch (command) {
    case QVCommand::DrawAll: item = pmiDrawAll->menuAction(); break;
    case QVCommand::DrawSelect: item = pmiDrawSelect; break;
    case QVCommand::ReDraw: item = pmiReDraw; break;
    case QVCommand::Cancel: item = pmiCancel; break;
    case QVCommand::Back: item = pmiPrev; break;
    case QVCommand::Forward: item = pmiNext; break;
    case QVCommand::ColourMaps:
    case QVCommand::Save: break;  // the control window's tools menu carries these
    }
    if (item)
        item->setEnabled(enabled);
}

QSize TfrmQVView::OuterSize() const { return QSize(width() + kFrameWidth, height() + frameHeight + 1); }

QSize TfrmQVView::ClientSizeForOuter(QSize outer) const
{
    return QSize(outer.width() - kFrameWidth, outer.height() - frameHeight - 1);
}

QSize TfrmQVView::ClientSizeForPicture(int width, int height) { return QSize(width + 1, height + 1); }

void TfrmQVView::FitWindowToView(ViewRecord& view)
{
    TrackResize = false;
    view.diWinW = view.diImgW + 6;
    view.diWinH = view.diImgH + frameHeight + 2;
    const int outerW = std::clamp(view.diWinW, kMinOuterWidth, kMaxPictureWidth);
    const int outerH = std::clamp(view.diWinH, kMinOuterHeight, kMaxPictureHeight);
    fittedClientSize = ClientSizeForOuter(QSize(outerW, outerH));
    resize(fittedClientSize);
    imgQVView->move(1, 1);
    TrackResize = true;
}

void TfrmQVView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The window manager may confirm a fitted size later; only a size the
    // program did not ask for is the user's.
    const bool userResize = size() != fittedClientSize;
    if (TrackResize && userResize) {
        fittedClientSize = QSize();
        const QSize outer = OuterSize();
        dpCurr.diWinW = outer.width();
        dpCurr.diWinH = outer.height();
        dpCurr.diImgW = dpCurr.diWinW - 6;
        dpCurr.diImgH = dpCurr.diWinH - frameHeight - 2;
        imgQVView->move(1, 1);
    }
    imgQVView->SetFillColour(QApplication::palette().color(QPalette::Button));
    if (DebugMode)
        RefreshDiagnostics();
}

const QImage& TfrmQVView::Picture() const { return imgQVView->Picture(); }

int TfrmQVView::PictureControlWidth() const { return imgQVView->width(); }

QColor TfrmQVView::BackgroundColour() const { return imgQVView->FillColour(); }

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

void TfrmQVView::PaintColumn(int x, const uint32_t* colourWords, int height)
{
    const QImage& surface = imgQVView->Picture();
    if (x < 0 || x >= surface.width())
        return;
    const int rows = std::min(height, surface.height());
    if (gatheredCount == kGatheredColumns || rows != gatheredRows || x != gatheredFirst + gatheredCount)
        WritePaintedColumns();
    if (gatheredCount == 0) {
        gatheredFirst = x;
        gatheredRows = rows;
        gathered.resize(size_t(kGatheredColumns) * size_t(rows));
    }
    QRgb* pixel = &gathered[size_t(gatheredCount)];
    for (int y = 0; y < rows; ++y, pixel += kGatheredColumns)
        *pixel = RgbOfColourWord(colourWords[y]);
    ++gatheredCount;
}

void TfrmQVView::WritePaintedColumns()
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
    SelDeltaX = 0;
    SelDeltaY = 0;
}

void TfrmQVView::ForgetRubberBand()
{
    SelStartX = SelStartY = SelEndX = SelEndY = SelLastX = SelLastY = 0;
    SelDeltaX = SelDeltaY = 0;
}

void TfrmQVView::SetSelectCommands(bool selectEnabled)
{
    SetCommandsEnabled(QVCommand::DrawSelect, selectEnabled);
    SetCommandsEnabled(QVCommand::ReDraw, !selectEnabled);
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
    if (SelDeltaX != 0 && SelDeltaY != 0)
        imgQVView->InvertRect(SelStartX, SelStartY, SelEndX, SelEndY);
    SelStartX = SelEndX = SelLastX = x;
    SelStartY = SelEndY = SelLastY = y;
    SelDeltaX = SelDeltaY = 0;
}

void TfrmQVView::imgQVViewMouseMove(int x, int y)
{
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
    if (SelDeltaX != 0 && SelDeltaY != 0) {
        dpCurr.csx = std::min(SelStartX, SelEndX);
        dpCurr.cex = std::max(SelStartX, SelEndX);
        dpCurr.csy = std::min(SelStartY, SelEndY);
        dpCurr.cey = std::max(SelStartY, SelEndY);
        dpCurr.cdx = dpCurr.cex - dpCurr.csx;
        dpCurr.cdy = dpCurr.cey - dpCurr.csy;
        dpCurr.ccx = (dpCurr.csx + dpCurr.cex) / 2;
        dpCurr.ccy = (dpCurr.csy + dpCurr.cey) / 2;
        SetSelectCommands(true);
    } else {
        SetSelectCommands(false);
    }
    IsDragging = false;
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

#include "untQVView.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <algorithm>

#include "EngineState.h"
#include "Navigation.h"
#include "QVDialogs.h"
#include "QtHost.h"
#include "RenderDriver.h"
#include "untQVCtrl.h"

bool IsDragging = false;
int SelStartX = 0, SelStartY = 0;
int SelEndX = 0, SelEndY = 0;
int SelLastX = 0, SelLastY = 0;
int SelDeltaX = 0, SelDeltaY = 0;
int InspectX = 0, InspectY = 0;
int PopupLeft = 0, PopupTop = 0;

TfrmQVView* frmQVView = nullptr;

TfrmQVView::TfrmQVView(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint)
{
    frmQVView = this;
    setWindowTitle(QStringLiteral("描画ウィンドウ"));
    imgQVView = new TQVImage(QSize(kSurfaceWidth, kSurfaceHeight), QApplication::palette().color(QPalette::Button),
                             this);
    imgQVView->move(1, 1);
    connect(imgQVView, &TQVImage::MouseDown, this, &TfrmQVView::imgQVViewMouseDown);
    connect(imgQVView, &TQVImage::MouseMove, this, &TfrmQVView::imgQVViewMouseMove);
    connect(imgQVView, &TQVImage::MouseUp, this, &TfrmQVView::imgQVViewMouseUp);
    BuildPopupMenu();
    ApplySizeLimits();

    InitViewMenu();
    FitWindowToView(dpCurr);
    // Qt widgets paint double-buffered already.

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
}

TfrmQVView::~TfrmQVView()
{
    if (frmQVView == this)
        frmQVView = nullptr;
}

void TfrmQVView::BuildPopupMenu()
{
    pmQVView = new QMenu(this);
    pmiDrawSelect = pmQVView->addAction(QStringLiteral("選択領域描画"), this, &TfrmQVView::DrawSelectedRegion);
    N1 = pmQVView->addAction(QStringLiteral("パレットコード表示"));
    pmiReDraw = pmQVView->addAction(QStringLiteral("再描画"), this, &TfrmQVView::pmiReDrawClick);
    pmiCancel = pmQVView->addAction(QStringLiteral("描画キャンセル"), this, &TfrmQVView::pmiCancelClick);
    pmiPrev = pmQVView->addAction(QStringLiteral("戻る"), this, &TfrmQVView::pmiPrevClick);
    pmiNext = pmQVView->addAction(QStringLiteral("進む"), this, &TfrmQVView::pmiNextClick);
    pmiDrawAll = pmQVView->addMenu(QStringLiteral("全景描画"));
    const auto addWholeView = [this](const QString& caption, int type) {
        return pmiDrawAll->addAction(caption, this, [type] { ShowWholeView(type); });
    };
    pmiDrawZ2 = addWholeView(QStringLiteral("Ｚの２乗（マンデルブロ集合）(&2)"), 1);
    pmiDrawZ3 = addWholeView(QStringLiteral("Ｚの３乗(&3)"), 2);
    pmiDrawZ4 = addWholeView(QStringLiteral("Ｚの４乗(&4)"), 3);
    pmiDrawZ4Poly = addWholeView(QStringLiteral("Ｚの４次多項式"), 4);
    pmiDrawZRatio = addWholeView(QStringLiteral("Ｚの有理型関数"), 5);
    pmiDrawExpZ2 = addWholeView(QStringLiteral("謎の関数"), 6);
    pmiActiveMain = pmQVView->addAction(QStringLiteral("メインウィンドウ表示"), this, &TfrmQVView::pmiActiveMainClick);
    pmiExit = pmQVView->addAction(QStringLiteral("終了"), this, &TfrmQVView::pmiExitClick);
}

void TfrmQVView::ApplySizeLimits()
{
    setMinimumSize(ClientSizeForOuter(QSize(kMinOuterWidth, kMinOuterHeight)).expandedTo(QSize(1, 1)));
    setMaximumSize(ClientSizeForOuter(QSize(kMaxOuterWidth, kMaxOuterHeight)));
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

QSize TfrmQVView::OuterSize() const { return QSize(width() + kFrameWidth, height() + FrameHeight + 1); }

QSize TfrmQVView::ClientSizeForOuter(QSize outer)
{
    return QSize(outer.width() - kFrameWidth, outer.height() - FrameHeight - 1);
}

QSize TfrmQVView::ClientSizeForPicture(int width, int height) { return QSize(width + 1, height + 1); }

void TfrmQVView::FitWindowToView(ViewRecord& view)
{
    TrackResize = false;
    view.diWinW = view.diImgW + 6;
    view.diWinH = view.diImgH + FrameHeight + 2;
    const int outerW = std::clamp(view.diWinW, kMinOuterWidth, kMaxOuterWidth);
    const int outerH = std::clamp(view.diWinH, kMinOuterHeight, kMaxOuterHeight);
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
        dpCurr.diImgH = dpCurr.diWinH - FrameHeight - 2;
        imgQVView->move(1, 1);
    }
    imgQVView->SetFillColour(QApplication::palette().color(QPalette::Button));
    if (DebugMode)
        WindowsHost().RefreshDiagnostics();
}

void TfrmQVView::SetSelectCommands(bool selectEnabled)
{
    QVHost& host = WindowsHost();
    host.SetCommandEnabled(QVCommand::pmiDrawSelect, selectEnabled);
    host.SetCommandEnabled(QVCommand::tbtnDrawSelect, selectEnabled);
    host.SetCommandEnabled(QVCommand::pmiReDraw, !selectEnabled);
    host.SetCommandEnabled(QVCommand::tbtnReDraw, !selectEnabled);
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

void TfrmQVView::DrawSelectedRegion()
{
    SelStartX = SelStartY = SelEndX = SelEndY = SelLastX = SelLastY = 0;
    SelDeltaX = SelDeltaY = 0;
    if (IsRendering)
        return;
    const ZoomResult result = ComputeNextView();
    if (result == ZoomResult::NoSelection)
        return;
    if (result == ZoomResult::TooLarge) {
        Dialogs().ShowError(this, QStringLiteral("周囲計算致命的エラー"));
        return;
    }
    QVHost& host = WindowsHost();
    if (DebugMode)
        host.RefreshDiagnostics();
    ZoomHistoryStep(host);
    UpdateIndicatorMarks();
    EditedParams = ActiveParams;
    host.FitWindowToView(dpCurr);
    RenderView(host, dpCurr);
}

void TfrmQVView::pmiReDrawClick()
{
    if (!IsRendering)
        Redraw(WindowsHost());
}

void TfrmQVView::pmiCancelClick() { CancelRequested = true; }

void TfrmQVView::pmiPrevClick()
{
    if (!IsRendering)
        GoBack(WindowsHost());
}

void TfrmQVView::pmiNextClick()
{
    if (!IsRendering)
        GoForward(WindowsHost());
}

void TfrmQVView::pmiActiveMainClick() { BringToFront(frmQVCtrl); }

void TfrmQVView::pmiExitClick() { ConfirmAndExit(this); }

#include "untQVCtrl.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "ColorMap.h"
#include "EngineState.h"
#include "Navigation.h"
#include "QVDialogs.h"
#include "QtHost.h"
#include "RenderDriver.h"
#include "StartupSettings.h"
#include "untQVView.h"

TfrmQVCtrl* frmQVCtrl = nullptr;

namespace {

std::optional<QSize> screenSizeOverride;

QFont MinchoFont()
{
    QFont font(QStringLiteral("IPAPMincho"));
    font.setPixelSize(17);
    return font;
}

}  // namespace

void TfrmQVCtrl::SetScreenSizeForTests(std::optional<QSize> size) { screenSizeOverride = size; }

TfrmQVCtrl::TfrmQVCtrl(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    frmQVCtrl = this;
    setWindowTitle(QStringLiteral("マンデルブロ探索"));
    setFixedSize(304, 407);
    BuildControls();
    BuildMenus();

    DebugMode = false;
    move(8, 8);
    screenSize = screenSizeOverride ? *screenSizeOverride
                                    : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size()
                                                                        : QSize(1024, 768));
    MeasureFrameHeight();
    dpCurr = ViewTemplate;
    dpCurr.dinum = 1;
    ReadStartupPictureSize();

    tbtnDrawAll->setEnabled(true);
    tbtnDrawSelect->setEnabled(false);
    tbtnReDraw->setEnabled(false);
    tbtnCancel->setEnabled(false);
    tbtnPrev->setEnabled(false);
    tbtnNext->setEnabled(false);
    pmiColorDefault->setChecked(true);
    FillPresetColorMap(currentColorMap, kPresetSetting1);
    ClearHistoryStack(BackStack);
    ClearHistoryStack(ForwardStack);
    imgIndicater->Picture().fill(Qt::white);
    EditedParams = StartupEditedParams();
    KeyStep = StartupKeyStep();
}

TfrmQVCtrl::~TfrmQVCtrl()
{
    if (frmQVCtrl == this)
        frmQVCtrl = nullptr;
}

void TfrmQVCtrl::MeasureFrameHeight()
{
    int measured = frameGeometry().height() - geometry().height();
    // Before the window manager has framed the window there is nothing to
    // measure; the style's title bar stands in.
    if (measured <= 0)
        measured = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    FrameHeight = measured;
}

void TfrmQVCtrl::ReadStartupPictureSize()
{
    int storedWidth = 0;
    int storedHeight = 0;
    ReadStoredPictureSize(storedWidth, storedHeight);
    const int side = StartupPictureSide(storedWidth, storedHeight, screenSize, FrameHeight);
    dpCurr.diImgW = side;
    dpCurr.diImgH = side;
}

QLabel* TfrmQVCtrl::AddLabel(const QString& text, int x, int y)
{
    auto* label = new QLabel(text, this);
    label->setFont(MinchoFont());
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* TfrmQVCtrl::AddReadout(int x, int y, int w, int h)
{
    auto* readout = new QLabel(this);
    readout->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // "-5.00E-001" must fit the 84-pixel read-out in the gothic face.
    QFont tight = readout->font();
    tight.setLetterSpacing(QFont::AbsoluteSpacing, -0.6);
    readout->setFont(tight);
    readout->setGeometry(x, y, w, h);
    return readout;
}

void TfrmQVCtrl::BuildControls()
{
    imgIndicater = new TQVImage(QSize(kIndicatorSize, kIndicatorSize), Qt::white, this);
    imgIndicater->move(8, 8);
    connect(imgIndicater, &TQVImage::DoubleClicked, this, [] { BringToFront(frmQVView); });

    pbQVCtrl = new QProgressBar(this);
    pbQVCtrl->setGeometry(152, 16, 145, 17);
    pbQVCtrl->setTextVisible(false);
    pbQVCtrl->setRange(0, 100);
    pbQVCtrl->setValue(0);

    StaticText1 = AddLabel(QStringLiteral("中心座標"), 152, 48);
    StaticText2 = AddLabel(QStringLiteral("実部"), 160, 80);
    stCenterX = AddReadout(213, 81, 84, 19);
    StaticText3 = AddLabel(QStringLiteral("虚部"), 160, 112);
    stCenterY = AddReadout(213, 112, 84, 19);
    StaticText4 = AddLabel(QStringLiteral("描画領域の大きさ"), 152, 152);
    StaticText5 = AddLabel(QStringLiteral("実部"), 160, 176);
    stAreaX = AddReadout(213, 176, 84, 19);
    StaticText6 = AddLabel(QStringLiteral("虚部"), 160, 208);
    stAreaY = AddReadout(213, 208, 84, 19);
    StaticText7 = AddLabel(QStringLiteral("拡大率"), 152, 240);
    stScale = AddReadout(157, 272, 140, 19);
    StaticText8 = AddLabel(QStringLiteral("描画ネストカウント"), 152, 312);
    stDrawNest = AddReadout(213, 344, 84, 19);
    shpSapa = new QFrame(this);
    shpSapa->setGeometry(187, 364, 113, 2);
    shpSapa->setFrameShape(QFrame::HLine);
    shpSapa->setFrameShadow(QFrame::Sunken);
    stDrawNestTotal = AddReadout(213, 368, 84, 19);

    BuildToolBar();
}

QToolButton* TfrmQVCtrl::AddToolButton(const QString& caption)
{
    auto* button = new QToolButton(tbQVCtrl);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFixedSize(116, 25);
    button->setFont(MinchoFont());
    tbQVCtrl->addWidget(button);
    return button;
}

void TfrmQVCtrl::BuildToolBar()
{
    tbQVCtrl = new QToolBar(this);
    tbQVCtrl->setOrientation(Qt::Vertical);
    tbQVCtrl->setGeometry(8, 144, 128, 289);
    tbQVCtrl->setFont(MinchoFont());
    tbQVCtrl->setContentsMargins(0, 0, 0, 0);

    tbtnDrawAll = AddToolButton(QStringLiteral("全景描画"));
    tbtnDrawSelect = AddToolButton(QStringLiteral("選択領域描画"));
    tbtnReDraw = AddToolButton(QStringLiteral("再描画"));
    tbtnCancel = AddToolButton(QStringLiteral("描画キャンセル"));
    tbtnPrev = AddToolButton(QStringLiteral("戻る"));
    tbtnNext = AddToolButton(QStringLiteral("進む"));
    tbtnFile = AddToolButton(QStringLiteral("ツール"));
    tbtnHelp = AddToolButton(QStringLiteral("ヘルプ"));
    tbtnExit = AddToolButton(QStringLiteral("終了"));
    tbtnDebg = AddToolButton(QStringLiteral("デバッグ"));
    // The diagnostics button stays hidden for good.
    tbQVCtrl->actions().constLast()->setVisible(false);

    connect(tbtnDrawSelect, &QToolButton::clicked, this, &TfrmQVCtrl::tbtnDrawSelectClick);
    connect(tbtnReDraw, &QToolButton::clicked, this, &TfrmQVCtrl::tbtnReDrawClick);
    connect(tbtnCancel, &QToolButton::clicked, this, &TfrmQVCtrl::tbtnCancelClick);
    connect(tbtnPrev, &QToolButton::clicked, this, &TfrmQVCtrl::tbtnPrevClick);
    connect(tbtnNext, &QToolButton::clicked, this, &TfrmQVCtrl::tbtnNextClick);
    connect(tbtnExit, &QToolButton::clicked, this, &TfrmQVCtrl::tbtnExitClick);
}

void TfrmQVCtrl::AttachDropDown(QToolButton* button, QMenu* menu)
{
    // A button that owns a menu has no command of its own: pressing it opens
    // the menu under the button.
    connect(button, &QToolButton::pressed, menu, [button, menu] {
        menu->exec(button->mapToGlobal(QPoint(0, button->height())));
        button->setDown(false);
    });
}

void TfrmQVCtrl::BuildMenus()
{
    pmChangeFunction = new QMenu(this);
    const auto addWholeView = [this](const QString& caption, int type) {
        return pmChangeFunction->addAction(caption, this, [type] { ShowWholeView(type); });
    };
    pmiChangeZ2 = addWholeView(QStringLiteral("Ｚの２乗（マンデルブロ集合）"), 1);
    pmiChangeZ3 = addWholeView(QStringLiteral("Ｚの３乗"), 2);
    pmiChangeZ4 = addWholeView(QStringLiteral("Ｚの４乗"), 3);
    pmiChageZ4Polynom = addWholeView(QStringLiteral("Ｚの４次多項式"), 4);
    pmiChangeZRatio = addWholeView(QStringLiteral("Ｚの有理関数"), 5);
    pmiChangeExpZ2 = addWholeView(QStringLiteral("謎の関数"), 6);
    AttachDropDown(tbtnDrawAll, pmChangeFunction);

    pmQVCtrl = new QMenu(this);
    pmiSave = pmQVCtrl->addAction(QStringLiteral("画像を名前をつけて保存"));
    BuildColourMenu();
    N1 = pmQVCtrl->addMenu(QStringLiteral("カラーマップ ファイル"));
    pmiGetColor = N1->addAction(QStringLiteral("ユーザ設定読み込み"));
    pmiPutColor = N1->addAction(QStringLiteral("ユーザ設定保存"));
    pmiSetColorUser = pmQVCtrl->addAction(QStringLiteral("カラーマップ確認と加工/設定"));
    pmiSetCoeff = pmQVCtrl->addAction(QStringLiteral("４次多項式/有理型の係数設定"));
    AttachDropDown(tbtnFile, pmQVCtrl);

    pmHelpAbout = new QMenu(this);
    pmiHelp = pmHelpAbout->addAction(QStringLiteral("ヘルプ"));
    pmiVersion = pmHelpAbout->addAction(QStringLiteral("バージョン情報"));
    AttachDropDown(tbtnHelp, pmHelpAbout);

    pmDebg = new QMenu(this);
    pmiInfoGrid = pmDebg->addAction(QStringLiteral("情報グリッド表示"), this, [] {
        TrackResize = false;
        if (frmQVView)
            frmQVView->show();
        DebugMode = true;
        TrackResize = true;
    });
    pmiDebugColor = pmDebg->addAction(QStringLiteral("カラーパレット設定"));
    AttachDropDown(tbtnDebg, pmDebg);
}

void TfrmQVCtrl::BuildColourMenu()
{
    pmiColorChange = pmQVCtrl->addMenu(QStringLiteral("カラーマップ変更"));
    colourPresetGroup = new QActionGroup(this);
    colourPresetGroup->setExclusive(true);
    const auto addPreset = [this](const QString& caption, int presetCode) {
        QAction* item = pmiColorChange->addAction(caption);
        item->setCheckable(true);
        colourPresetGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, item, presetCode] { ChooseColourPreset(item, presetCode); });
        return item;
    };
    // The band map has no preset code of its own.
    constexpr int kBandMap = -1;
    pmiColorDefault = addPreset(QStringLiteral("設定１（デフォルト）"), kPresetSetting1);
    pmiColorTempo = addPreset(QStringLiteral("設定２"), kPresetSetting2);
    pmiColorShift = addPreset(QStringLiteral("設定３"), kPresetSetting3);
    pmiColorShift2 = addPreset(QStringLiteral("設定４"), kPresetSetting4);
    pmiColorNext = addPreset(QStringLiteral("設定５"), kBandMap);
    pmiColorMonoTone = addPreset(QStringLiteral("モノトーン"), kPresetMonotone);
    pmiColorMonoShort = addPreset(QStringLiteral("モノトーン（短周期）"), kPresetShortMonotone);

    pmiColorUser = pmiColorChange->addAction(QStringLiteral("ユーザー設定"));
    pmiColorUser->setCheckable(true);
    // A check mark only: choosing it changes nothing.
    connect(pmiColorUser, &QAction::triggered, this, [this] { pmiColorUser->setChecked(userColorMapApplied); });

    actHanten = new QAction(QStringLiteral("色の反転"), this);
    connect(actHanten, &QAction::triggered, this, &TfrmQVCtrl::actHantenExecute);
    pmiColorHanten = actHanten;
    pmiColorChange->addAction(pmiColorHanten);
}

void TfrmQVCtrl::ChooseColourPreset(QAction* item, int presetCode)
{
    item->setChecked(true);
    if (presetCode < 0)
        FillBandColorMap(currentColorMap);
    else
        FillPresetColorMap(currentColorMap, presetCode);
    RecolorPicture(WindowsHost());
}

void TfrmQVCtrl::actHantenExecute()
{
    InvertColorMap(currentColorMap);
    RecolorPicture(WindowsHost());
}

void TfrmQVCtrl::MarkUserColorMap()
{
    userColorMapApplied = true;
    pmiColorUser->setChecked(true);
}

// The tool bar carries the drawing window's commands.
void TfrmQVCtrl::tbtnReDrawClick()
{
    if (frmQVView)
        frmQVView->pmiReDrawClick();
}

void TfrmQVCtrl::tbtnCancelClick() { CancelRequested = true; }

void TfrmQVCtrl::tbtnPrevClick()
{
    if (frmQVView)
        frmQVView->pmiPrevClick();
}

void TfrmQVCtrl::tbtnNextClick()
{
    if (frmQVView)
        frmQVView->pmiNextClick();
}

void TfrmQVCtrl::tbtnDrawSelectClick()
{
    if (frmQVView)
        frmQVView->DrawSelectedRegion();
}

void TfrmQVCtrl::tbtnExitClick() { ConfirmAndExit(this); }

void TfrmQVCtrl::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (closed)
        return;
    closed = true;
    // A render running underneath stops at its next column; the windows stay
    // alive until it has returned, and the event loop then ends.
    CancelRequested = true;
    ClearHistoryStack(BackStack);
    ClearHistoryStack(ForwardStack);
    // A settings file that cannot be written is passed over: the program ends either way.
    WriteStoredPictureSize(dpCurr.diImgW, dpCurr.diImgH);
    if (frmQVView)
        frmQVView->hide();
    QCoreApplication::quit();
}

void ConfirmAndExit(QWidget* asker)
{
    if (!Dialogs().Confirm(asker, QStringLiteral("本当に終了しますか")))
        return;
    // A running render stops at its next column.
    CancelRequested = true;
    if (frmQVView)
        frmQVView->close();
    if (frmQVCtrl)
        frmQVCtrl->close();
}

void ShowWholeView(int type)
{
    if (IsRendering || type < kFirstFormulaType || type > kLastFormulaType || !frmQVView)
        return;
    QVHost& host = WindowsHost();
    ResetHistory(host);
    TrackResize = false;
    BringToFront(frmQVView);
    SetUpWholeView(type);
    RenderView(host, dpCurr);
    TrackResize = true;
    RefreshIndicator();
}

void RefreshIndicator()
{
    const IndicatorSquare square = UpdateIndicatorScale();
    if (!frmQVCtrl || !frmQVView)
        return;
    const QRect source(square.left, square.top, square.right - square.left, square.bottom - square.top);
    if (source.isEmpty())
        return;
    frmQVCtrl->imgIndicater->ShowScaled(frmQVView->imgQVView->Picture().copy(source));
}

namespace {

// Inverts the vertical line at CrossX and the horizontal line at CrossY;
// 0 means no line.
void InvertCrossMarks(TQVImage* indicator)
{
    if (!indicator)
        return;
    if (CrossX > 0)
        indicator->InvertRect(CrossX, 0, CrossX + 1, kIndicatorSize);
    if (CrossY > 0)
        indicator->InvertRect(0, CrossY, kIndicatorSize, CrossY + 1);
}

}  // namespace

void UpdateIndicatorMarks()
{
    TQVImage* indicator = frmQVCtrl ? frmQVCtrl->imgIndicater : nullptr;
    InvertCrossMarks(indicator);
    // A mark on the very first column or row counts as no line and is not
    // drawn, so that every line drawn is also erased later.
    ComputeCrossMarks(CrossX, CrossY);
    InvertCrossMarks(indicator);
}

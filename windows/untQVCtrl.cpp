#include "windows/untQVCtrl.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "colour/model/ColorMap.h"
#include "commands/CommandSet.h"
#include "commands/QVCommands.h"
#include "platform/QVImage.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"
#include "windows/DepthMenus.h"
#include "windows/JuliaMenus.h"

TfrmQVCtrl* frmQVCtrl = nullptr;

namespace {

std::optional<QSize> screenSizeOverride;

QFont MinchoFont()
{
    QFont font(QStringLiteral("IPAPMincho"));
    font.setPixelSize(17);
    return font;
}

void SetText(QLabel* label, const std::string& text, const std::string& fullValue)
{
    label->setText(QString::fromStdString(text));
    label->setToolTip(QString::fromStdString(fullValue));
}

}  // namespace

void TfrmQVCtrl::SetScreenSizeForTests(std::optional<QSize> size)
{
    screenSizeOverride = size;
    // The windows are kept to the same screen.
    SetAvailableScreenAreaForTests(size ? std::optional<QRect>(QRect(QPoint(0, 0), *size)) : std::nullopt);
}

TfrmQVCtrl::TfrmQVCtrl(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    frmQVCtrl = this;
    setObjectName(QStringLiteral("frmQVCtrl"));
    setWindowTitle(QStringLiteral("マンデルブロ探索"));
    setFixedSize(304, 407);
    BuildControls();
    BuildMenus();

    KeepOnScreen(this);
    PlaceOnScreen(this, QPoint(8, 8));
    const QSize screenSize = screenSizeOverride ? *screenSizeOverride
                                                : (QGuiApplication::primaryScreen()
                                                       ? QGuiApplication::primaryScreen()->size()
                                                       : QSize(1024, 768));
    MeasureFrameHeight();
    SetStartupValues(screenSize, frameHeight);
    imgIndicater->Picture().fill(Qt::white);
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
    frameHeight = measured;
}

QLabel* TfrmQVCtrl::AddLabel(const char* name, const QString& text, int x, int y)
{
    auto* label = Named(new QLabel(text, this), name);
    label->setFont(MinchoFont());
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* TfrmQVCtrl::AddReadout(const char* name, const QRect& geometry, QLabel* caption, const QString& heading)
{
    QLabel* readout = SunkenReadout(this, name, geometry);
    if (caption)
        LabelReadout(caption, readout, heading);
    // "-5.00E-001" must fit the 84-pixel read-out in the gothic face.
    QFont tight = readout->font();
    tight.setLetterSpacing(QFont::AbsoluteSpacing, -0.6);
    readout->setFont(tight);
    return readout;
}

void TfrmQVCtrl::BuildControls()
{
    imgIndicater = Named(new TQVImage(QSize(kIndicatorSize, kIndicatorSize), Qt::white, this), "imgIndicater");
    imgIndicater->setAccessibleName(QStringLiteral("全景"));
    imgIndicater->move(8, 8);
    connect(imgIndicater, &TQVImage::DoubleClicked, this, [] { ShowDrawingWindow(); });

    pbQVCtrl = Named(new QProgressBar(this), "pbQVCtrl");
    pbQVCtrl->setGeometry(152, 16, 145, 17);
    pbQVCtrl->setTextVisible(false);
    pbQVCtrl->setRange(0, 100);
    pbQVCtrl->setValue(0);

    const QString centre = AddLabel("StaticText1", QStringLiteral("中心座標"), 152, 48)->text();
    stCenterX = AddReadout("stCenterX", QRect(213, 81, 84, 19), AddLabel("StaticText2", QStringLiteral("実部"), 160, 80),
                           centre);
    stCenterY = AddReadout("stCenterY", QRect(213, 112, 84, 19), AddLabel("StaticText3", QStringLiteral("虚部"), 160, 112),
                           centre);
    const QString area = AddLabel("StaticText4", QStringLiteral("描画領域の大きさ"), 152, 152)->text();
    stAreaX = AddReadout("stAreaX", QRect(213, 176, 84, 19), AddLabel("StaticText5", QStringLiteral("実部"), 160, 176), area);
    stAreaY = AddReadout("stAreaY", QRect(213, 208, 84, 19), AddLabel("StaticText6", QStringLiteral("虚部"), 160, 208), area);
    stScale = AddReadout("stScale", QRect(157, 272, 140, 19), AddLabel("StaticText7", QStringLiteral("拡大率"), 152, 240));
    QLabel* nest = AddLabel("StaticText8", QStringLiteral("描画ネストカウント"), 152, 312);
    stDrawNest = AddReadout("stDrawNest", QRect(213, 344, 84, 19), nest);
    auto* shpSapa = Named(new QFrame(this), "shpSapa");
    shpSapa->setGeometry(187, 364, 113, 2);
    shpSapa->setFrameShape(QFrame::HLine);
    shpSapa->setFrameShadow(QFrame::Sunken);
    // Below the line under the same caption, which labels the depth.
    stDrawNestTotal = AddReadout("stDrawNestTotal", QRect(213, 368, 84, 19));
    stDrawNestTotal->setAccessibleDescription(nest->text() + QStringLiteral(" 履歴にある画面の数"));

    BuildToolBar();
}

QToolButton* TfrmQVCtrl::AddToolButton(const char* name, const QString& caption)
{
    auto* button = Named(new QToolButton(tbQVCtrl), name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFixedSize(116, 25);
    button->setFont(MinchoFont());
    tbQVCtrl->addWidget(button);
    return button;
}

void TfrmQVCtrl::BuildToolBar()
{
    tbQVCtrl = Named(new QToolBar(this), "tbQVCtrl");
    tbQVCtrl->setOrientation(Qt::Vertical);
    tbQVCtrl->setGeometry(8, 144, 128, 289);
    tbQVCtrl->setFont(MinchoFont());
    tbQVCtrl->setContentsMargins(0, 0, 0, 0);

    tbtnDrawAll = AddToolButton("tbtnDrawAll", QStringLiteral("全景描画"));
    FollowCommand(QVCommand::DrawAll, tbtnDrawAll);
    CarryCommand(QVCommand::DrawSelect, AddToolButton("tbtnDrawSelect", QStringLiteral("選択領域描画")));
    CarryCommand(QVCommand::ReDraw, AddToolButton("tbtnReDraw", QStringLiteral("再描画")));
    CarryCommand(QVCommand::Cancel, AddToolButton("tbtnCancel", QStringLiteral("描画キャンセル")));
    CarryCommand(QVCommand::Back, AddToolButton("tbtnPrev", QStringLiteral("戻る")));
    CarryCommand(QVCommand::Forward, AddToolButton("tbtnNext", QStringLiteral("進む")));
    tbtnFile = AddToolButton("tbtnFile", QStringLiteral("ツール"));
    tbtnHelp = AddToolButton("tbtnHelp", QStringLiteral("ヘルプ"));
    QToolButton* tbtnExit = AddToolButton("tbtnExit", QStringLiteral("終了"));
    tbtnDebg = AddToolButton("tbtnDebg", QStringLiteral("デバッグ"));
    // The diagnostics button stays hidden for good.
    tbQVCtrl->actions().constLast()->setVisible(false);

    connect(tbtnExit, &QToolButton::clicked, this, [this] { ConfirmAndExit(this); });
}

QMenu* TfrmQVCtrl::AddDropDown(const char* name, QToolButton* button)
{
    auto* menu = Named(new QMenu(this), name);
    // A button that owns a menu has no command of its own: pressing it opens
    // the menu under the button.
    connect(button, &QToolButton::pressed, menu, [button, menu] {
        menu->exec(button->mapToGlobal(QPoint(0, button->height())));
        button->setDown(false);
    });
    return menu;
}

void TfrmQVCtrl::BuildMenus()
{
    QMenu* pmChangeFunction = AddDropDown("pmChangeFunction", tbtnDrawAll);
    AddWholeViewEntries(pmChangeFunction, FormulaMenu::Control);

    QMenu* pmQVCtrl = AddDropDown("pmQVCtrl", tbtnFile);
    CarryCommand(QVCommand::Save, Named(pmQVCtrl->addAction(QStringLiteral("画像を名前をつけて保存")), "pmiSave"));
    BuildColorMenu(pmQVCtrl);
    QMenu* N1 = Named(pmQVCtrl->addMenu(QStringLiteral("カラーマップ ファイル")), "N1");
    // A load changes currentColorMap, which a render or recolouring paints from.
    FollowCommand(QVCommand::ColorMaps,
                  Named(N1->addAction(QStringLiteral("ユーザ設定読み込み"), this, [] { LoadUserColorMapFile(); }), "pmiGetColor"));
    Named(N1->addAction(QStringLiteral("ユーザ設定保存"), this, [] { SaveUserColorMapFile(); }), "pmiPutColor");
    Named(pmQVCtrl->addAction(QStringLiteral("カラーマップ確認と加工/設定"), this, [] { OpenColorMapEditor(); }),
          "pmiSetColorUser");
    Named(pmQVCtrl->addAction(QStringLiteral("４次多項式/有理型の係数設定"), this, [] { ShowCoefficientDialog(); }),
          "pmiSetCoeff");
    QAction* pmiSavePlace = Named(pmQVCtrl->addAction(QStringLiteral("場所を保存…")), "pmiSavePlace");
    CarryCommand(QVCommand::SavePlace, pmiSavePlace);
    AddProgramShortcut(pmiSavePlace, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QAction* pmiOpenPlace = Named(pmQVCtrl->addAction(QStringLiteral("場所を開く…"), this, [] { OpenPlaceFile(); }),
                                  "pmiOpenPlace");
    // Opening a place starts anew from anywhere, as a whole view does.
    FollowCommand(QVCommand::DrawAll, pmiOpenPlace);
    AddProgramShortcut(pmiOpenPlace, QKeySequence(Qt::CTRL | Qt::Key_O));
    // The export draws the place of the picture on screen: none before the first.
    FollowCommand(QVCommand::SavePlace,
                  Named(pmQVCtrl->addAction(QStringLiteral("大きさを指定して保存…"), this, [] { ExportPictureAtSize(); }),
                        "pmiSaveSized"));
    depthMenus = std::make_unique<DepthMenus>(pmQVCtrl);
    juliaMenus = std::make_unique<JuliaMenus>(pmQVCtrl, this);

    QMenu* pmHelpAbout = AddDropDown("pmHelpAbout", tbtnHelp);
    Named(pmHelpAbout->addAction(QStringLiteral("ヘルプ"), this, [] { OpenHelpFile(); }), "pmiHelp");
    Named(pmHelpAbout->addAction(QStringLiteral("バージョン情報"), this, [] { ShowVersionWindow(); }), "pmiVersion");

    QMenu* pmDebg = AddDropDown("pmDebg", tbtnDebg);
    Named(pmDebg->addAction(QStringLiteral("情報グリッド表示"), this, [] { ShowInfoGrid(); }), "pmiInfoGrid");
    Named(pmDebg->addAction(QStringLiteral("カラーパレット設定"), this, [] { ShowColorMapView(); }), "pmiDebugColor");
}

void TfrmQVCtrl::AddProgramShortcut(QAction* item, const QKeySequence& keys)
{
    item->setShortcut(keys);
    // The control window lives as long as the program: its shortcuts work
    // from every window of it.
    item->setShortcutContext(Qt::ApplicationShortcut);
    addAction(item);
}

QAction* TfrmQVCtrl::AddColorPreset(QMenu* menu, QActionGroup* presets, const char* name, const QString& caption,
                                     int presetCode)
{
    QAction* item = Named(menu->addAction(caption), name);
    item->setCheckable(true);
    presets->addAction(item);
    connect(item, &QAction::triggered, this, [item, presetCode] {
        item->setChecked(true);
        ChooseColorMap(presetCode);
    });
    return item;
}

void TfrmQVCtrl::BuildColorMenu(QMenu* tools)
{
    QMenu* pmiColorChange = Named(tools->addMenu(QStringLiteral("カラーマップ変更")), "pmiColorChange");
    FollowCommand(QVCommand::ColorMaps, pmiColorChange->menuAction());
    auto* presets = Named(new QActionGroup(pmiColorChange), "colorPresetGroup");
    presets->setExclusive(true);
    AddColorPreset(pmiColorChange, presets, "pmiColorDefault", QStringLiteral("設定１（デフォルト）"), kPresetSetting1)->setChecked(true);
    AddColorPreset(pmiColorChange, presets, "pmiColorTempo", QStringLiteral("設定２"), kPresetSetting2);
    AddColorPreset(pmiColorChange, presets, "pmiColorShift", QStringLiteral("設定３"), kPresetSetting3);
    AddColorPreset(pmiColorChange, presets, "pmiColorShift2", QStringLiteral("設定４"), kPresetSetting4);
    AddColorPreset(pmiColorChange, presets, "pmiColorNext", QStringLiteral("設定５"), kBandColorMap);
    AddColorPreset(pmiColorChange, presets, "pmiColorMonoTone", QStringLiteral("モノトーン"), kPresetMonotone);
    AddColorPreset(pmiColorChange, presets, "pmiColorMonoShort", QStringLiteral("モノトーン（短周期）"), kPresetShortMonotone);

    pmiColorUser = Named(pmiColorChange->addAction(QStringLiteral("ユーザー設定")), "pmiColorUser");
    pmiColorUser->setCheckable(true);
    // A check mark only: choosing it changes nothing.
    connect(pmiColorUser, &QAction::triggered, this, [this] { pmiColorUser->setChecked(userColorMapApplied); });

    auto* actHanten = Named(new QAction(QStringLiteral("色の反転"), this), "actHanten");
    connect(actHanten, &QAction::triggered, this, [] { InvertCurrentColorMap(); });
    Named(pmiColorChange->addAction(actHanten->text(), actHanten, &QAction::trigger), "pmiColorHanten");
}

void TfrmQVCtrl::MarkUserColorMap()
{
    userColorMapApplied = true;
    pmiColorUser->setChecked(true);
}

void TfrmQVCtrl::ShowPictureDepth()
{
    if (depthMenus)
        depthMenus->Show();
}

void TfrmQVCtrl::ShowDiagnosticsButton()
{
    for (QAction* action : tbQVCtrl->actions())
        if (tbQVCtrl->widgetForAction(action) == tbtnDebg)
            action->setVisible(true);
}

void TfrmQVCtrl::ShowReadouts(const ViewReadouts& readouts)
{
    SetText(stCenterX, readouts.centerX, readouts.centerXFull);
    SetText(stCenterY, readouts.centerY, readouts.centerYFull);
    SetText(stAreaX, readouts.areaX, readouts.areaXFull);
    SetText(stAreaY, readouts.areaY, readouts.areaYFull);
    SetText(stScale, readouts.scale, readouts.scaleFull);
    SetText(stDrawNest, readouts.drawNest, readouts.drawNest);
    SetText(stDrawNestTotal, readouts.drawNestTotal, readouts.drawNestTotal);
    const QString caption = QStringLiteral("マンデルブロ探索");
    // A Julia view's c in its place: the narrow window shows no more.
    setWindowTitle(readouts.julia.empty() ? caption : QStringLiteral("ジュリア集合 ") + QString::fromStdString(readouts.julia));
}

void TfrmQVCtrl::ResetProgress(int maximum)
{
    pbQVCtrl->setRange(0, maximum);
    pbQVCtrl->setValue(0);
}

void TfrmQVCtrl::StepProgress() { pbQVCtrl->setValue(pbQVCtrl->value() + 1); }

void TfrmQVCtrl::ShowIndicator(const QImage& square, const IndicatorScale& scale)
{
    indicatorScale = scale;
    crossMarks = CrossMarks{};
    if (!square.isNull())
        imgIndicater->ShowScaled(square);
}

// Inverts the vertical line at crossMarks.x and the horizontal line at
// crossMarks.y; 0 means no line.
void TfrmQVCtrl::InvertCrossMarks()
{
    if (crossMarks.x > 0)
        imgIndicater->InvertRect(crossMarks.x, 0, crossMarks.x + 1, kIndicatorSize);
    if (crossMarks.y > 0)
        imgIndicater->InvertRect(0, crossMarks.y, kIndicatorSize, crossMarks.y + 1);
}

void TfrmQVCtrl::MoveCrossMarks(const CrossMarks& marks)
{
    InvertCrossMarks();
    // A mark on the very first column or row counts as no line and is not
    // drawn, so that every line drawn is also erased later.
    crossMarks = marks;
    InvertCrossMarks();
}

void TfrmQVCtrl::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (closed)
        return;
    closed = true;
    EndProgram();
}

#include "untQVCtrl.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
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
#include "QVCommands.h"
#include "QVImage.h"
#include "QtSupport.h"

TfrmQVCtrl* frmQVCtrl = nullptr;

namespace {

std::optional<QSize> screenSizeOverride;

QFont MinchoFont()
{
    QFont font(QStringLiteral("IPAPMincho"));
    font.setPixelSize(17);
    return font;
}

void SetText(QLabel* label, const std::string& text) { label->setText(QString::fromStdString(text)); }

}  // namespace

void TfrmQVCtrl::SetScreenSizeForTests(std::optional<QSize> size) { screenSizeOverride = size; }

TfrmQVCtrl::TfrmQVCtrl(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    frmQVCtrl = this;
    setObjectName(QStringLiteral("frmQVCtrl"));
    setWindowTitle(QStringLiteral("マンデルブロ探索"));
    setFixedSize(304, 407);
    BuildControls();
    BuildMenus();

    move(8, 8);
    screenSize = screenSizeOverride ? *screenSizeOverride
                                    : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size()
                                                                        : QSize(1024, 768));
    MeasureFrameHeight();
    SetStartupValues(screenSize, frameHeight);
    SetStartupCommandStates();
    pmiColorDefault->setChecked(true);
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

void TfrmQVCtrl::SetStartupCommandStates()
{
    tbtnDrawAll->setEnabled(true);
    tbtnDrawSelect->setEnabled(false);
    tbtnReDraw->setEnabled(false);
    tbtnCancel->setEnabled(false);
    tbtnPrev->setEnabled(false);
    tbtnNext->setEnabled(false);
}

QLabel* TfrmQVCtrl::AddLabel(const char* name, const QString& text, int x, int y)
{
    auto* label = Named(new QLabel(text, this), name);
    label->setFont(MinchoFont());
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* TfrmQVCtrl::AddReadout(const char* name, int x, int y, int w, int h)
{
    QLabel* readout = SunkenReadout(this, name, QRect(x, y, w, h));
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

    StaticText1 = AddLabel("StaticText1", QStringLiteral("中心座標"), 152, 48);
    StaticText2 = AddLabel("StaticText2", QStringLiteral("実部"), 160, 80);
    stCenterX = AddReadout("stCenterX", 213, 81, 84, 19);
    StaticText3 = AddLabel("StaticText3", QStringLiteral("虚部"), 160, 112);
    stCenterY = AddReadout("stCenterY", 213, 112, 84, 19);
    StaticText4 = AddLabel("StaticText4", QStringLiteral("描画領域の大きさ"), 152, 152);
    StaticText5 = AddLabel("StaticText5", QStringLiteral("実部"), 160, 176);
    stAreaX = AddReadout("stAreaX", 213, 176, 84, 19);
    StaticText6 = AddLabel("StaticText6", QStringLiteral("虚部"), 160, 208);
    stAreaY = AddReadout("stAreaY", 213, 208, 84, 19);
    StaticText7 = AddLabel("StaticText7", QStringLiteral("拡大率"), 152, 240);
    stScale = AddReadout("stScale", 157, 272, 140, 19);
    StaticText8 = AddLabel("StaticText8", QStringLiteral("描画ネストカウント"), 152, 312);
    stDrawNest = AddReadout("stDrawNest", 213, 344, 84, 19);
    shpSapa = Named(new QFrame(this), "shpSapa");
    shpSapa->setGeometry(187, 364, 113, 2);
    shpSapa->setFrameShape(QFrame::HLine);
    shpSapa->setFrameShadow(QFrame::Sunken);
    stDrawNestTotal = AddReadout("stDrawNestTotal", 213, 368, 84, 19);

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
    tbtnDrawSelect = AddToolButton("tbtnDrawSelect", QStringLiteral("選択領域描画"));
    tbtnReDraw = AddToolButton("tbtnReDraw", QStringLiteral("再描画"));
    tbtnCancel = AddToolButton("tbtnCancel", QStringLiteral("描画キャンセル"));
    tbtnPrev = AddToolButton("tbtnPrev", QStringLiteral("戻る"));
    tbtnNext = AddToolButton("tbtnNext", QStringLiteral("進む"));
    tbtnFile = AddToolButton("tbtnFile", QStringLiteral("ツール"));
    tbtnHelp = AddToolButton("tbtnHelp", QStringLiteral("ヘルプ"));
    tbtnExit = AddToolButton("tbtnExit", QStringLiteral("終了"));
    tbtnDebg = AddToolButton("tbtnDebg", QStringLiteral("デバッグ"));
    // The diagnostics button stays hidden for good.
    tbQVCtrl->actions().constLast()->setVisible(false);

    connect(tbtnDrawSelect, &QToolButton::clicked, this, [] { DrawSelectedRegion(); });
    connect(tbtnReDraw, &QToolButton::clicked, this, [] { RedrawView(); });
    connect(tbtnCancel, &QToolButton::clicked, this, [] { CancelRender(); });
    connect(tbtnPrev, &QToolButton::clicked, this, [] { StepBack(); });
    connect(tbtnNext, &QToolButton::clicked, this, [] { StepForward(); });
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
    pmChangeFunction = AddDropDown("pmChangeFunction", tbtnDrawAll);
    const auto entries = AddWholeViewEntries(pmChangeFunction, FormulaMenu::Control);
    pmiChangeZ2 = entries[0];
    pmiChangeZ3 = entries[1];
    pmiChangeZ4 = entries[2];
    pmiChageZ4Polynom = entries[3];
    pmiChangeZRatio = entries[4];
    pmiChangeExpZ2 = entries[5];

    pmQVCtrl = AddDropDown("pmQVCtrl", tbtnFile);
    pmiSave = Named(pmQVCtrl->addAction(QStringLiteral("画像を名前をつけて保存"), this, [] { SavePicture(); }), "pmiSave");
    BuildColourMenu();
    N1 = Named(pmQVCtrl->addMenu(QStringLiteral("カラーマップ ファイル")), "N1");
    pmiGetColor = Named(N1->addAction(QStringLiteral("ユーザ設定読み込み"), this, [] { LoadUserColorMapFile(); }), "pmiGetColor");
    pmiPutColor = Named(N1->addAction(QStringLiteral("ユーザ設定保存"), this, [] { SaveUserColorMapFile(); }), "pmiPutColor");
    pmiSetColorUser = Named(pmQVCtrl->addAction(QStringLiteral("カラーマップ確認と加工/設定"), this, [] { OpenColorMapEditor(); }),
                            "pmiSetColorUser");
    pmiSetCoeff = Named(pmQVCtrl->addAction(QStringLiteral("４次多項式/有理型の係数設定"), this, [] { ShowCoefficientDialog(); }),
                        "pmiSetCoeff");

    pmHelpAbout = AddDropDown("pmHelpAbout", tbtnHelp);
    pmiHelp = Named(pmHelpAbout->addAction(QStringLiteral("ヘルプ"), this, [] { OpenHelpFile(); }), "pmiHelp");
    pmiVersion = Named(pmHelpAbout->addAction(QStringLiteral("バージョン情報"), this, [] { ShowVersionWindow(); }), "pmiVersion");

    pmDebg = AddDropDown("pmDebg", tbtnDebg);
    pmiInfoGrid = Named(pmDebg->addAction(QStringLiteral("情報グリッド表示"), this, [] { ShowInfoGrid(); }), "pmiInfoGrid");
    pmiDebugColor = Named(pmDebg->addAction(QStringLiteral("カラーパレット設定"), this, [] { ShowColorMapView(); }), "pmiDebugColor");
}

QAction* TfrmQVCtrl::AddColourPreset(const char* name, const QString& caption, int presetCode)
{
    QAction* item = Named(pmiColorChange->addAction(caption), name);
    item->setCheckable(true);
    colourPresetGroup->addAction(item);
    connect(item, &QAction::triggered, this, [item, presetCode] {
        item->setChecked(true);
        ChooseColorMap(presetCode);
    });
    return item;
}

void TfrmQVCtrl::BuildColourMenu()
{
    pmiColorChange = Named(pmQVCtrl->addMenu(QStringLiteral("カラーマップ変更")), "pmiColorChange");
    colourPresetGroup = Named(new QActionGroup(this), "colourPresetGroup");
    colourPresetGroup->setExclusive(true);
    pmiColorDefault = AddColourPreset("pmiColorDefault", QStringLiteral("設定１（デフォルト）"), kPresetSetting1);
    pmiColorTempo = AddColourPreset("pmiColorTempo", QStringLiteral("設定２"), kPresetSetting2);
    pmiColorShift = AddColourPreset("pmiColorShift", QStringLiteral("設定３"), kPresetSetting3);
    pmiColorShift2 = AddColourPreset("pmiColorShift2", QStringLiteral("設定４"), kPresetSetting4);
    pmiColorNext = AddColourPreset("pmiColorNext", QStringLiteral("設定５"), kBandColorMap);
    pmiColorMonoTone = AddColourPreset("pmiColorMonoTone", QStringLiteral("モノトーン"), kPresetMonotone);
    pmiColorMonoShort = AddColourPreset("pmiColorMonoShort", QStringLiteral("モノトーン（短周期）"), kPresetShortMonotone);

    pmiColorUser = Named(pmiColorChange->addAction(QStringLiteral("ユーザー設定")), "pmiColorUser");
    pmiColorUser->setCheckable(true);
    // A check mark only: choosing it changes nothing.
    connect(pmiColorUser, &QAction::triggered, this, [this] { pmiColorUser->setChecked(userColorMapApplied); });

    actHanten = Named(new QAction(QStringLiteral("色の反転"), this), "actHanten");
    connect(actHanten, &QAction::triggered, this, [] { InvertCurrentColorMap(); });
    pmiColorHanten = Named(pmiColorChange->addAction(actHanten->text(), actHanten, &QAction::trigger), "pmiColorHanten");
}

void TfrmQVCtrl::MarkUserColorMap()
{
    userColorMapApplied = true;
    pmiColorUser->setChecked(true);
}

void TfrmQVCtrl::ShowDiagnosticsButton()
{
    for (QAction* action : tbQVCtrl->actions())
        if (tbQVCtrl->widgetForAction(action) == tbtnDebg)
            action->setVisible(true);
}

void TfrmQVCtrl::ShowReadouts(const ViewReadouts& readouts)
{
    SetText(stCenterX, readouts.centerX);
    SetText(stCenterY, readouts.centerY);
    SetText(stAreaX, readouts.areaX);
    SetText(stAreaY, readouts.areaY);
    SetText(stScale, readouts.scale);
    SetText(stDrawNest, readouts.drawNest);
    SetText(stDrawNestTotal, readouts.drawNestTotal);
}

void TfrmQVCtrl::ResetProgress(int maximum)
{
    pbQVCtrl->setRange(0, maximum);
    pbQVCtrl->setValue(0);
}

void TfrmQVCtrl::StepProgress() { pbQVCtrl->setValue(pbQVCtrl->value() + 1); }

void TfrmQVCtrl::SetCommandEnabled(QVCommand command, bool enabled)
{
    switch (command) {
    case QVCommand::DrawAll: tbtnDrawAll->setEnabled(enabled); break;
    case QVCommand::DrawSelect: tbtnDrawSelect->setEnabled(enabled); break;
    case QVCommand::ReDraw: tbtnReDraw->setEnabled(enabled); break;
    case QVCommand::Cancel: tbtnCancel->setEnabled(enabled); break;
    case QVCommand::Back: tbtnPrev->setEnabled(enabled); break;
    case QVCommand::Forward: tbtnNext->setEnabled(enabled); break;
    case QVCommand::ColourMaps:
        pmiColorChange->menuAction()->setEnabled(enabled);
        // A load changes currentColorMap, which a render or recolouring paints from.
        pmiGetColor->setEnabled(enabled);
        break;
    case QVCommand::Save: pmiSave->setEnabled(enabled); break;
    }
}

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

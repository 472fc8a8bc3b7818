// The control window: layout, captions, menus, colour maps, cancel and exit.

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "WindowsFixture.h"
#include "colour/model/ColorMap.h"

namespace {

QStringList Captions(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << action->text();
    return captions;
}

ColorMap PresetMap(int code)
{
    ColorMap map;
    FillPresetColorMap(map, code);
    return map;
}

}  // namespace

class ControlWindowTest : public WindowsFixture {
protected:
    // Pixels of the picture that do not show the colour their escape count
    // has in currentColorMap (count 0 shows black).
    int PixelsNotMatchingTheColorMap() const
    {
        const QImage picture = Picture();
        int wrong = 0;
        for (int x = 0; x < picture.width(); ++x)
            for (int y = 0; y < picture.height(); ++y) {
                const uint8_t n = IterationBuffer[BufferIndex(x, y)];
                const ColorMapEntry& e = currentColorMap[n];
                const QRgb expected = n > 0 ? qRgb(e.red, e.green, e.blue) : qRgb(0, 0, 0);
                wrong += (picture.pixel(x, y) & 0xFFFFFFu) != (expected & 0xFFFFFFu);
            }
        return wrong;
    }

    void StartWithZoom()
    {
        CreateWindows();
        control->show();
        ShowWholeView(1);
        Drag(200, 100, 300, 150);
        DrawSelectedRegion();
        ASSERT_EQ(BackStack.size(), 1u);
    }

    QString StoredValue(const QString& key) const
    {
        const QSettings settings(SettingsPath(), QSettings::IniFormat);
        return settings.value(key).toString();
    }

    void ExpectEndedWithSettingsWritten()
    {
        EXPECT_TRUE(CancelRequested);
        EXPECT_TRUE(BackStack.empty());
        EXPECT_TRUE(ForwardStack.empty());
        EXPECT_TRUE(QFile::exists(SettingsPath()));
        EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageW")), QString::number(dpCurr.diImgW));
        EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageH")), QString::number(dpCurr.diImgH));
        EXPECT_FALSE(drawing->isVisible());
        EXPECT_FALSE(control->isVisible());
        EXPECT_EQ(frmQVCtrl, control);
        EXPECT_EQ(frmQVView, drawing);
        EXPECT_FALSE(IsRendering);
    }
};

TEST_F(ControlWindowTest, WindowSizeCaptionAndControlPositions)
{
    CreateWindows();
    control->show();

    EXPECT_EQ(control->windowTitle(), QStringLiteral("マンデルブロ探索"));
    EXPECT_EQ(control->size(), QSize(304, 407));
    EXPECT_EQ(control->minimumSize(), control->maximumSize());
    EXPECT_TRUE(control->windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(control->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(control->font().pixelSize(), 15);

    EXPECT_EQ(Find<TQVImage>(control, "imgIndicater")->geometry(), QRect(8, 8, 128, 128));
    EXPECT_EQ(Find<QToolBar>(control, "tbQVCtrl")->geometry(), QRect(8, 144, 128, 289));
    EXPECT_EQ(Find<QProgressBar>(control, "pbQVCtrl")->geometry(), QRect(152, 16, 145, 17));
    EXPECT_EQ(Find<QFrame>(control, "shpSapa")->geometry(), QRect(187, 364, 113, 2));

    const std::tuple<QLabel*, QPoint, const char*> labels[] = {
        {Find<QLabel>(control, "StaticText1"), {152, 48}, "中心座標"},       {Find<QLabel>(control, "StaticText2"), {160, 80}, "実部"},
        {Find<QLabel>(control, "StaticText3"), {160, 112}, "虚部"},          {Find<QLabel>(control, "StaticText4"), {152, 152}, "描画領域の大きさ"},
        {Find<QLabel>(control, "StaticText5"), {160, 176}, "実部"},          {Find<QLabel>(control, "StaticText6"), {160, 208}, "虚部"},
        {Find<QLabel>(control, "StaticText7"), {152, 240}, "拡大率"},        {Find<QLabel>(control, "StaticText8"), {152, 312}, "描画ネストカウント"},
    };
    for (const auto& [label, position, caption] : labels) {
        EXPECT_EQ(label->pos(), position) << caption;
        EXPECT_EQ(label->text(), QString::fromUtf8(caption));
        EXPECT_EQ(label->font().pixelSize(), 17) << caption;
    }

    const std::pair<QLabel*, QRect> readouts[] = {
        {Find<QLabel>(control, "stCenterX"), {213, 81, 84, 19}},  {Find<QLabel>(control, "stCenterY"), {213, 112, 84, 19}},
        {Find<QLabel>(control, "stAreaX"), {213, 176, 84, 19}},   {Find<QLabel>(control, "stAreaY"), {213, 208, 84, 19}},
        {Find<QLabel>(control, "stScale"), {157, 272, 140, 19}},  {Find<QLabel>(control, "stDrawNest"), {213, 344, 84, 19}},
        {Find<QLabel>(control, "stDrawNestTotal"), {213, 368, 84, 19}},
    };
    for (const auto& [readout, geometry] : readouts) {
        EXPECT_EQ(readout->geometry(), geometry);
        EXPECT_TRUE(readout->alignment().testFlag(Qt::AlignRight));
        EXPECT_EQ(readout->frameShadow(), QFrame::Sunken);
        EXPECT_TRUE(readout->text().isEmpty());
    }
}

TEST_F(ControlWindowTest, ToolBarButtonsInOrderWithTheDebugButtonNeverShown)
{
    CreateWindows();
    control->show();

    QStringList captions;
    QList<QToolButton*> buttons;
    for (QAction* action : Find<QToolBar>(control, "tbQVCtrl")->actions()) {
        auto* button = qobject_cast<QToolButton*>(Find<QToolBar>(control, "tbQVCtrl")->widgetForAction(action));
        ASSERT_NE(button, nullptr);
        captions << button->text();
        buttons << button;
    }
    EXPECT_EQ(captions, (QStringList{"全景描画", "選択領域描画", "再描画", "描画キャンセル", "戻る", "進む", "ツール",
                                     "ヘルプ", "終了", "デバッグ"}));
    ASSERT_EQ(buttons.size(), 10);
    EXPECT_EQ(buttons.first(), Find<QToolButton>(control, "tbtnDrawAll"));
    EXPECT_EQ(buttons.last(), Find<QToolButton>(control, "tbtnDebg"));
    for (QToolButton* button : buttons) {
        EXPECT_EQ(button->size(), QSize(116, 25)) << button->text().toStdString();
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextOnly);
    }
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(buttons[i]->isVisible()) << captions[i].toStdString();
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnDebg")->isVisible());

    ShowWholeView(1);
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnDebg")->isVisible());
}

TEST_F(ControlWindowTest, MenuCaptions)
{
    CreateWindows();

    EXPECT_EQ(Captions(Find<QMenu>(control, "pmChangeFunction")),
              (QStringList{"Ｚの２乗（マンデルブロ集合）", "Ｚの３乗", "Ｚの４乗", "Ｚの４次多項式", "Ｚの有理関数", "謎の関数"}));
    // Items the program added come after the tool menu's own.
    EXPECT_EQ(Captions(Find<QMenu>(control, "pmQVCtrl")), (QStringList{"画像を名前をつけて保存", "カラーマップ変更", "カラーマップ ファイル",
                                                        "カラーマップ確認と加工/設定", "４次多項式/有理型の係数設定",
                                                        "場所を保存…", "場所を開く…", "大きさを指定して保存…",
                                                        "反復回数の上限", "色付け", "元の平面に戻る",
                                                        "ジュリア集合のプレビュー"}));
    EXPECT_EQ(Captions(Find<QMenu>(control, "pmiColorChange")),
              (QStringList{"設定１（デフォルト）", "設定２", "設定３", "設定４", "設定５", "モノトーン", "モノトーン（短周期）",
                           "ユーザー設定", "色の反転"}));
    EXPECT_EQ(Captions(Find<QMenu>(control, "N1")), (QStringList{"ユーザ設定読み込み", "ユーザ設定保存"}));
    EXPECT_EQ(Captions(Find<QMenu>(control, "pmHelpAbout")), (QStringList{"ヘルプ", "バージョン情報"}));
    EXPECT_EQ(Captions(Find<QMenu>(control, "pmDebg")), (QStringList{"情報グリッド表示", "カラーパレット設定"}));

    EXPECT_EQ(drawing->windowTitle(), QStringLiteral("描画ウィンドウ"));
    EXPECT_EQ(Captions(Find<QMenu>(drawing, "pmQVView")), (QStringList{"選択領域描画", "パレットコード表示", "再描画", "描画キャンセル", "戻る",
                                                        "進む", "全景描画", "メインウィンドウ表示", "終了", "場所をコピー",
                                                        "この点のジュリア集合"}));
    EXPECT_EQ(Find<QMenu>(drawing, "pmiDrawAll")->menuAction(), Find<QMenu>(drawing, "pmQVView")->actions().at(6));
    EXPECT_EQ(Captions(Find<QMenu>(drawing, "pmiDrawAll")),
              (QStringList{"Ｚの２乗（マンデルブロ集合）(&2)", "Ｚの３乗(&3)", "Ｚの４乗(&4)", "Ｚの４次多項式", "Ｚの有理型関数",
                           "謎の関数"}));
}

TEST_F(ControlWindowTest, EveryFormulaEntryOfBothMenusStartsItsWholeView)
{
    CreateWindows();
    // A small picture keeps the six renders short.
    dpCurr.diImgW = 64;
    dpCurr.diImgH = 64;
    const QList<QAction*> controlEntries = Find<QMenu>(control, "pmChangeFunction")->actions();
    const QList<QAction*> drawingEntries = Find<QMenu>(drawing, "pmiDrawAll")->actions();
    ASSERT_EQ(controlEntries.size(), 6);
    ASSERT_EQ(drawingEntries.size(), 6);
    for (int type = 1; type <= 6; ++type) {
        dpCurr.diType = 0;
        controlEntries[type - 1]->trigger();
        EXPECT_EQ(dpCurr.diType, type) << "control window entry " << type;
        dpCurr.diType = 0;
        drawingEntries[type - 1]->trigger();
        EXPECT_EQ(dpCurr.diType, type) << "drawing window entry " << type;
    }
}

TEST_F(ControlWindowTest, StartUpCommandStates)
{
    CreateWindows();
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnDrawAll")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnDrawSelect")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnReDraw")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnCancel")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnPrev")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnNext")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnFile")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnHelp")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnExit")->isEnabled());
    EXPECT_TRUE(Find<QAction>(control, "pmiSave")->isEnabled());
    EXPECT_TRUE(Find<QMenu>(control, "pmiColorChange")->menuAction()->isEnabled());
    EXPECT_TRUE(Find<QAction>(control, "pmiColorDefault")->isChecked());
    EXPECT_FALSE(Find<QAction>(control, "pmiColorUser")->isChecked());
}

TEST_F(ControlWindowTest, APresetBeforeAnyPictureOnlyFillsTheMap)
{
    CreateWindows();
    const QImage surface = Find<TQVImage>(drawing, "imgQVView")->Picture().copy(0, 0, 600, 600);

    Find<QAction>(control, "pmiColorMonoTone")->trigger();

    EXPECT_TRUE(SameColorMap(currentColorMap, PresetMap(kPresetMonotone)));
    EXPECT_EQ(Find<TQVImage>(drawing, "imgQVView")->Picture().copy(0, 0, 600, 600), surface);
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnReDraw")->isEnabled());
}

TEST_F(ControlWindowTest, ChoosingAPresetChecksItFillsTheMapAndRecolorsThePicture)
{
    CreateWindows();
    ShowWholeView(1);
    ASSERT_EQ(PixelsNotMatchingTheColorMap(), 0);

    Find<QAction>(control, "pmiColorShift")->trigger();

    EXPECT_TRUE(Find<QAction>(control, "pmiColorShift")->isChecked());
    EXPECT_FALSE(Find<QAction>(control, "pmiColorDefault")->isChecked());
    EXPECT_EQ(currentColorMap[1].red, 100);
    EXPECT_EQ(currentColorMap[1].green, 200);
    EXPECT_EQ(currentColorMap[1].blue, 0);
    EXPECT_TRUE(SameColorMap(currentColorMap, PresetMap(kPresetSetting3)));
    EXPECT_EQ(PixelsNotMatchingTheColorMap(), 0);
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnReDraw")->isEnabled());
    EXPECT_FALSE(IsRendering);
}

TEST_F(ControlWindowTest, ARecoloredSelectionIsNotInvertedAgainByTheNextPress)
{
    CreateWindows();
    ShowWholeView(1);
    Drag(200, 100, 300, 150);

    Find<QAction>(control, "pmiColorTempo")->trigger();
    const QImage recolored = Picture();
    ASSERT_EQ(PixelsNotMatchingTheColorMap(), 0);
    drawing->imgQVViewMouseDown(Qt::LeftButton, 400, 400);

    EXPECT_EQ(Picture(), recolored);
}

TEST_F(ControlWindowTest, EachPresetItemFillsItsOwnMap)
{
    CreateWindows();
    const std::pair<QAction*, int> presets[] = {
        {Find<QAction>(control, "pmiColorTempo"), kPresetSetting2},     {Find<QAction>(control, "pmiColorShift"), kPresetSetting3},
        {Find<QAction>(control, "pmiColorShift2"), kPresetSetting4},    {Find<QAction>(control, "pmiColorMonoTone"), kPresetMonotone},
        {Find<QAction>(control, "pmiColorMonoShort"), kPresetShortMonotone}, {Find<QAction>(control, "pmiColorDefault"), kPresetSetting1},
    };
    for (const auto& [item, code] : presets) {
        item->trigger();
        EXPECT_TRUE(SameColorMap(currentColorMap, PresetMap(code))) << item->text().toStdString();
        EXPECT_TRUE(item->isChecked());
    }
    Find<QAction>(control, "pmiColorNext")->trigger();
    ColorMap band;
    FillBandColorMap(band);
    EXPECT_TRUE(SameColorMap(currentColorMap, band));
    int checked = 0;
    for (const QAction* item : Find<QActionGroup>(control, "colorPresetGroup")->actions())
        checked += item->isChecked();
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(Find<QAction>(control, "pmiColorNext")->isChecked());
}

TEST_F(ControlWindowTest, TheUserItemIsOnlyCheckedByTheEditorAndStaysChecked)
{
    CreateWindows();
    const ColorMap before = currentColorMap;

    Find<QAction>(control, "pmiColorUser")->trigger();
    EXPECT_FALSE(Find<QAction>(control, "pmiColorUser")->isChecked());
    EXPECT_TRUE(Find<QAction>(control, "pmiColorDefault")->isChecked());
    EXPECT_TRUE(SameColorMap(currentColorMap, before));

    control->MarkUserColorMap();
    EXPECT_TRUE(Find<QAction>(control, "pmiColorUser")->isChecked());
    EXPECT_TRUE(Find<QAction>(control, "pmiColorDefault")->isChecked());

    Find<QAction>(control, "pmiColorTempo")->trigger();
    EXPECT_TRUE(Find<QAction>(control, "pmiColorUser")->isChecked());
    EXPECT_TRUE(Find<QAction>(control, "pmiColorTempo")->isChecked());
    Find<QAction>(control, "pmiColorUser")->trigger();
    EXPECT_TRUE(Find<QAction>(control, "pmiColorUser")->isChecked());
}

TEST_F(ControlWindowTest, InversionInvertsTheMapAndRecolorsThePicture)
{
    CreateWindows();
    ShowWholeView(1);
    const ColorMap before = currentColorMap;

    Find<QAction>(control, "pmiColorHanten")->trigger();

    for (int j = 0; j < 256; ++j) {
        EXPECT_EQ(currentColorMap[j].red, 255 - before[j].red) << j;
        EXPECT_EQ(currentColorMap[j].green, 255 - before[j].green) << j;
        EXPECT_EQ(currentColorMap[j].blue, 255 - before[j].blue) << j;
    }
    EXPECT_EQ(PixelsNotMatchingTheColorMap(), 0);
    EXPECT_TRUE(Find<QAction>(control, "pmiColorDefault")->isChecked());
}

TEST_F(ControlWindowTest, CancelStopsTheRenderAtTheNextColumnCheck)
{
    CreateWindows();
    ShowWholeView(1);
    const QRgb background = Find<TQVImage>(drawing, "imgQVView")->FillColor().rgb() & 0xFFFFFFu;
    // Clicked while the first block is computed: seen at column 16.
    QTimer::singleShot(0, control, [this] {
        QTimer::singleShot(0, control, [this] { Find<QToolButton>(control, "tbtnCancel")->click(); });
    });

    Find<QToolButton>(control, "tbtnReDraw")->click();

    EXPECT_EQ(LastRenderedArea.columns, 16);
    EXPECT_EQ(Find<QProgressBar>(control, "pbQVCtrl")->value(), 16);
    EXPECT_TRUE(dpCurr.dbOK);
    const QImage picture = Picture();
    EXPECT_EQ(picture.pixel(300, 10) & 0xFFFFFFu, background);
    EXPECT_NE(picture.pixel(15, 10) & 0xFFFFFFu, background);
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnCancel")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnReDraw")->isEnabled());
}

TEST_F(ControlWindowTest, ExitAnsweredCancelChangesNothing)
{
    StartWithZoom();

    Find<QToolButton>(control, "tbtnExit")->click();

    EXPECT_EQ(dialogs.confirmTexts, QStringList{QStringLiteral("本当に終了しますか")});
    EXPECT_FALSE(CancelRequested);
    EXPECT_EQ(BackStack.size(), 1u);
    EXPECT_FALSE(QFile::exists(SettingsPath()));
    EXPECT_TRUE(control->isVisible());
    EXPECT_TRUE(drawing->isVisible());
}

TEST_F(ControlWindowTest, ExitAnsweredOkWritesTheSettingsAndReleasesTheHistory)
{
    StartWithZoom();
    dialogs.confirmAnswers = {true};

    Find<QToolButton>(control, "tbtnExit")->click();

    EXPECT_EQ(dialogs.confirmTexts.size(), 1);
    EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageW")), QStringLiteral("773"));
    EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageH")), QStringLiteral("387"));
    ExpectEndedWithSettingsWritten();
}

TEST_F(ControlWindowTest, TheDrawingWindowsExitAsksTheSameAndEndsTheSameWay)
{
    StartWithZoom();

    Find<QAction>(drawing, "pmiExit")->trigger();
    EXPECT_EQ(dialogs.confirmTexts, QStringList{QStringLiteral("本当に終了しますか")});
    EXPECT_EQ(BackStack.size(), 1u);
    EXPECT_TRUE(drawing->isVisible());
    EXPECT_FALSE(QFile::exists(SettingsPath()));

    dialogs.confirmAnswers = {true};
    Find<QAction>(drawing, "pmiExit")->trigger();
    ExpectEndedWithSettingsWritten();
}

TEST_F(ControlWindowTest, TheCloseBoxAsksNothingAndWritesTheSettings)
{
    StartWithZoom();

    control->close();

    EXPECT_TRUE(dialogs.confirmTexts.isEmpty());
    ExpectEndedWithSettingsWritten();
}

// The exit arrives while the render handles messages, before a block or while
// it waits for its workers: the block under way is painted, the workers are
// joined before the command returns, and the command still finishes.
TEST_F(ControlWindowTest, ExitDuringAWholeViewCancelsItAndTheCommandStillFinishes)
{
    CreateWindows();
    control->show();
    dialogs.confirmAnswers = {true};
    QTimer::singleShot(40, control, [this] { Find<QToolButton>(control, "tbtnExit")->click(); });

    ShowWholeView(6);

    EXPECT_LT(LastRenderedArea.columns, 580);
    EXPECT_EQ(LastRenderedArea.columns % 16, 0);
    EXPECT_EQ(Find<QProgressBar>(control, "pbQVCtrl")->value(), LastRenderedArea.columns);
    ExpectEndedWithSettingsWritten();
    EXPECT_TRUE(drawing->IsTrackingResize());
    EXPECT_EQ(control->IndicatorScaleShown().step, 3.6L / 128);
}

TEST_F(ControlWindowTest, ExitDuringAZoomNeverTouchesTheReleasedHistory)
{
    CreateWindows();
    control->show();
    ShowWholeView(1);
    Drag(200, 100, 300, 150);
    dialogs.confirmAnswers = {true};
    size_t backCountDuringRender = 0;
    QTimer::singleShot(0, control, [&] {
        backCountDuringRender = BackStack.size();
        Find<QToolButton>(control, "tbtnExit")->click();
    });

    Find<QToolButton>(control, "tbtnDrawSelect")->click();

    EXPECT_EQ(backCountDuringRender, 1u);
    EXPECT_LT(LastRenderedArea.columns, 773);
    ExpectEndedWithSettingsWritten();
    // The history commands find nothing left to step to.
    StepBack();
    StepForward();
    EXPECT_EQ(dpCurr.dinum, 2);
    EXPECT_TRUE(BackStack.empty());
}

TEST_F(ControlWindowTest, TheCloseBoxDuringARenderEndsLikeTheExitCommand)
{
    CreateWindows();
    control->show();
    QTimer::singleShot(0, control, [this] { control->close(); });

    ShowWholeView(6);

    EXPECT_TRUE(dialogs.confirmTexts.isEmpty());
    EXPECT_LT(LastRenderedArea.columns, 580);
    ExpectEndedWithSettingsWritten();
}

TEST_F(ControlWindowTest, ExitAnsweredCancelDuringARenderLetsItFinish)
{
    CreateWindows();
    ShowWholeView(1);
    QTimer::singleShot(0, control, [this] { Find<QToolButton>(control, "tbtnExit")->click(); });

    Find<QToolButton>(control, "tbtnReDraw")->click();

    EXPECT_EQ(dialogs.confirmTexts.size(), 1);
    EXPECT_EQ(LastRenderedArea.columns, 580);
    EXPECT_FALSE(QFile::exists(SettingsPath()));
    EXPECT_TRUE(drawing->isVisible());
}

// The wheel, the keys and places, driven through the drawing window's events
// and the items that carry the place commands.

#include <QAccessible>
#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <cfloat>

#include "WindowsFixture.h"
#include "commands/CommandSet.h"
#include "engine/Navigation.h"
#include "engine/NumberFormat.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"

class PlacesAndKeysTest : public WindowsFixture {
protected:
    TQVImage* Image() const { return Find<TQVImage>(drawing, "imgQVView"); }

    void Wheel(int x, int y, int angleDelta)
    {
        const QPointF at(x, y);
        QWheelEvent event(at, Image()->mapToGlobal(at), QPoint(), QPoint(0, angleDelta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Image(), &event);
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(drawing, &event);
    }

    void Mouse(QEvent::Type type, int x, int y)
    {
        const QPointF at(x, y);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, Image()->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(Image(), &event);
    }

    // The steps of the wheel and the keys are taken on the event loop's next
    // turn, or soon after a render they stopped has returned.
    static void TakeSteps()
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 40)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    // The view the last render drew, the history and the colour map: what a
    // refused place must leave.
    static std::string State()
    {
        std::string state = FormatPlace(PlaceOfCurrentView());
        state += std::to_string(BackStack.size()) + "/" + std::to_string(ForwardStack.size());
        return state;
    }
};

// The wheel's view is the one the zoom rule gives, as a place written from
// that rule shows it; back returns to the picture before, and a fast turn of
// small deltas is one zoom by their product.
TEST_F(PlacesAndKeysTest, AWheelStepKeepsThePointerPointAsItsPlaceShowsAndBackReturnsThePicture)
{
    StartWholeView(580, 580);
    const QImage whole = Picture();
    Wheel(100, 100, 120);
    TakeSteps();
    ASSERT_EQ(BackStack.size(), 1u);
    const QImage zoomed = Picture();
    const QStringList readouts = Readouts();
    EXPECT_EQ(readouts.mid(4), (QStringList{"2", "2", "2"}));

    const long double p = 3.6L / 580;
    Place place = PlaceOfCurrentView();
    place.centreRe = ((100 - 290) * p + -0.5L) - (100 - 290) * (p / 2);
    place.centreIm = (100 - 290) * p - (100 - 290) * (p / 2);
    place.pixelRe = place.pixelIm = p / 2;
    place.extentRe = place.extentIm = 580 * (p / 2);
    std::string reason;
    dialogs.openFileName = folder.filePath(QStringLiteral("wheel.qvplace"));
    ASSERT_TRUE(WritePlaceFile(dialogs.openFileName.toStdString(), place, reason)) << reason;
    StepBack();
    EXPECT_EQ(Picture(), whole);
    Find<QAction>(control, "pmiOpenPlace")->trigger();
    EXPECT_EQ(Picture(), zoomed);
    EXPECT_EQ(Readouts(), readouts);

    StepBack();
    for (int delta : {40, 40, 40, 360})
        Wheel(100, 100, delta);
    TakeSteps();
    EXPECT_EQ(dpCurr.dwPitchX, p / 16);
    EXPECT_EQ(dpCurr.dinum, 2);
    EXPECT_EQ(BackStack.size(), 1u);
    StepBack();
    EXPECT_EQ(Picture(), whole);
}

TEST_F(PlacesAndKeysTest, KeysZoomMoveAndWalkTheHistoryWhereTheirCommandsAreEnabled)
{
    StartWholeView(580, 580);
    const ViewRecord whole = dpCurr;
    const auto counts = [] { return std::make_tuple(dpCurr.dinum, BackStack.size(), ForwardStack.size()); };

    Key(Qt::Key_Backspace);  // "戻る" is disabled
    Key(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(counts(), std::make_tuple(1, size_t(0), size_t(0)));
    Key(Qt::Key_Plus, Qt::ShiftModifier);
    TakeSteps();
    EXPECT_EQ(std::make_tuple(dpCurr.dwa, dpCurr.dwb, dpCurr.dwPitchX), std::make_tuple(whole.dwa, whole.dwb, whole.dwPitchX / 2));
    Key(Qt::Key_Down);
    TakeSteps();
    EXPECT_EQ(dpCurr.dwb, whole.dwb + 145 * (whole.dwPitchY / 2));
    EXPECT_EQ(counts(), std::make_tuple(3, size_t(2), size_t(0)));
    Key(Qt::Key_Left, Qt::AltModifier);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(counts(), std::make_tuple(1, size_t(0), size_t(2)));
    Key(Qt::Key_Right, Qt::AltModifier);
    Key(Qt::Key_Minus);
    TakeSteps();
    EXPECT_EQ(dpCurr.dwPitchX, whole.dwPitchX);
    EXPECT_EQ(counts(), std::make_tuple(3, size_t(2), size_t(0)));

    // Esc drops the selection, so Enter finds nothing to draw; a double click
    // inside a selection draws it.
    Drag(200, 100, 300, 150);
    Key(Qt::Key_Escape);
    EXPECT_EQ(drawing->SelectionDelta(), QPoint(0, 0));
    Key(Qt::Key_Return);
    EXPECT_EQ(dpCurr.dinum, 3);
    Drag(200, 100, 300, 150);
    Mouse(QEvent::MouseButtonPress, 250, 120);
    Mouse(QEvent::MouseButtonRelease, 250, 120);
    Mouse(QEvent::MouseButtonDblClick, 250, 120);
    Mouse(QEvent::MouseButtonRelease, 250, 120);
    EXPECT_EQ(std::make_tuple(dpCurr.dinum, dpCurr.diImgW, dpCurr.diImgH), std::make_tuple(4, 773, 387));
    Drag(20, 20, 120, 70);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dpCurr.dinum, 5);

    Key(Qt::Key_Home);
    EXPECT_EQ(counts(), std::make_tuple(1, size_t(0), size_t(0)));
    EXPECT_EQ(dpCurr.dwa, whole.dwa);
}

// A key or a wheel step during a render: Esc stops it; a wheel step stops it
// and zooms from the view it was drawing.
TEST_F(PlacesAndKeysTest, DuringARenderEscStopsItAndTheWheelZoomsFromTheViewBeingDrawn)
{
    StartWholeView(580, 580);
    QTimer::singleShot(0, drawing, [this] { Key(Qt::Key_Escape); });
    Find<QToolButton>(control, "tbtnReDraw")->click();
    EXPECT_LT(LastRenderedArea.columns, 580);

    Find<QToolButton>(control, "tbtnReDraw")->click();
    const ViewRecord drawn = dpCurr;
    QTimer::singleShot(0, drawing, [this] { Wheel(100, 100, -120); });
    Find<QToolButton>(control, "tbtnReDraw")->click();
    EXPECT_LT(LastRenderedArea.columns, 580);
    TakeSteps();
    ViewRecord expected;
    ASSERT_TRUE(ViewAfterSteps(drawn, PictureSize{580, 580}, {ViewStep{-1, true, 100, 100}}, expected));
    EXPECT_EQ(std::make_tuple(dpCurr.dwa, dpCurr.dwb, dpCurr.dwPitchX), std::make_tuple(expected.dwa, expected.dwb, expected.dwPitchX));
    EXPECT_EQ(LastRenderedArea.columns, 580);
}

// Saved after five zooms and opened where nothing was drawn yet: the same
// picture, colour map and read-outs; no empty view goes into the history.
TEST_F(PlacesAndKeysTest, APlaceSavedAfterFiveZoomsOpensAfreshWithTheSamePictureAndReadouts)
{
    StartWholeView(580, 580);
    ChooseColorMap(kPresetSetting3);
    Zoom(200, 100, 330, 200);
    Wheel(300, 200, 120);
    TakeSteps();
    Zoom(100, 100, 400, 300);
    Key(Qt::Key_Plus);
    TakeSteps();
    Wheel(50, 80, 240);
    TakeSteps();
    ASSERT_EQ(dpCurr.dinum, 6);
    const QImage picture = Picture();
    const QStringList readouts = Readouts();
    dialogs.saveFileName = folder.filePath(QStringLiteral("five.qvplace"));
    Find<QAction>(control, "pmiSavePlace")->trigger();
    Find<QAction>(drawing, "pmiCopyPlace")->trigger();

    DestroyWindows();
    ResetEngineState();
    CreateWindows();
    dialogs.openFileName = dialogs.saveFileName;
    Find<QAction>(control, "pmiOpenPlace")->trigger();
    EXPECT_EQ(Picture(), picture);
    EXPECT_EQ(Readouts().mid(0, 6), readouts.mid(0, 6));
    EXPECT_EQ(Readouts().at(6), "1");
    EXPECT_TRUE(BackStack.empty());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnPrev")->isEnabled());
    EXPECT_EQ(dialogs.clipboard.toStdString(), FormatPlace(PlaceOfCurrentView()));

    const QLabel* stCenterY = Find<QLabel>(control, "stCenterY");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(const_cast<QLabel*>(stCenterY))->text(QAccessible::Name), stCenterY->text());
    EXPECT_EQ(stCenterY->toolTip().toStdString(), FormatFullPrecision(dpCurr.dwb));
    EXPECT_EQ(Find<QAction>(control, "pmiSavePlace")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    EXPECT_EQ(Find<QAction>(control, "pmiOpenPlace")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(Find<QAction>(drawing, "pmiCopyPlace")->shortcut(), QKeySequence(QKeySequence::Copy));
}

TEST_F(PlacesAndKeysTest, ABadPlaceFromAFileOrTheClipboardIsRefusedByNameAndChangesNothing)
{
    StartWholeView(580, 580);
    Zoom(200, 100, 300, 150);
    StepBack();
    const std::string before = State();
    const QImage picture = Picture();
    const QString bad = folder.filePath(QStringLiteral("bad.qvplace"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(FormatPlace(PlaceOfCurrentView())).replace("type         1", "type 9"));
    file.close();

    const std::pair<QString, QString> files[] = {{bad, QStringLiteral("「type」は 1 から 6")},
                                                 {folder.path(), QStringLiteral("フォルダです")}};
    for (const auto& [path, reason] : files) {
        dialogs.openFileName = path;
        Find<QAction>(control, "pmiOpenPlace")->trigger();
        ASSERT_FALSE(dialogs.errorTexts.isEmpty());
        EXPECT_TRUE(dialogs.errorTexts.last().startsWith(QStringLiteral("場所ファイルを開けません:") + path)) << dialogs.errorTexts.last().toStdString();
        EXPECT_TRUE(dialogs.errorTexts.last().contains(reason)) << dialogs.errorTexts.last().toStdString();
    }
    for (const QString& text : {QStringLiteral("garbage"), QString()}) {
        dialogs.clipboard = text;
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(dialogs.errorTexts.last().startsWith(QStringLiteral("クリップボードの場所を開けません\n")));
    }
    EXPECT_EQ(dialogs.errorTexts.size(), 4);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(Picture(), picture);
}

// Steps that lead nowhere leave a render alone: keys that cancel out (Home
// waits for the render), or a notch beyond the widest view the numbers hold;
// keys that come to nothing only after the render stopped have it drawn again.
TEST_F(PlacesAndKeysTest, StepsThatLeadNowhereLetTheRenderFinish)
{
    StartWholeView(580, 580);
    RedrawView();
    const QImage redrawn = Picture();
    const auto redrawWhile = [this](const std::function<void()>& during) {
        QTimer::singleShot(0, drawing, during);
        RedrawView();
        return LastRenderedArea.columns;
    };
    EXPECT_EQ(redrawWhile([this] {
                  Key(Qt::Key_Home);
                  Key(Qt::Key_Left);
                  Key(Qt::Key_Right);
              }),
              580);
    TakeSteps();
    ASSERT_LT(redrawWhile([this] { Key(Qt::Key_Left); }), 580);
    Key(Qt::Key_Right);
    TakeSteps();
    EXPECT_EQ(Picture(), redrawn);
    EXPECT_EQ(std::make_tuple(dpCurr.dinum, BackStack.size()), std::make_tuple(1, size_t(0)));

    dpCurr.dwPitchX = dpCurr.dwPitchY = LDBL_MAX / 1000;
    EXPECT_EQ(redrawWhile([this] { Wheel(100, 100, -120); }), 580);
}

// A key that draws during a drag ends it and forgets the band: what the drag
// does next, after the render or during it, burns in and selects nothing.
TEST_F(PlacesAndKeysTest, AKeyThatDrawsDuringADragEndsTheDrag)
{
    StartWholeView(580, 580);
    Zoom(200, 100, 300, 150);
    Press(100, 100);
    drawing->imgQVViewMouseMove(200, 200);
    Key(Qt::Key_Backspace);
    const QImage back = Picture();
    drawing->imgQVViewMouseMove(300, 250);
    drawing->imgQVViewMouseUp(Qt::LeftButton, 300, 250);
    EXPECT_EQ(Picture(), back);
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnDrawSelect")->isEnabled());

    const SelectionFields kept = SelectionOf(dpCurr);  // the whole view leaves them
    Press(100, 100);
    drawing->imgQVViewMouseMove(200, 200);
    QTimer::singleShot(0, drawing, [this] { drawing->imgQVViewMouseUp(Qt::LeftButton, 250, 220); });
    Key(Qt::Key_Home);
    EXPECT_EQ(SelectionOf(dpCurr), kept);
    EXPECT_FALSE(drawing->Dragging());
}

// During a render Ctrl+V stops it and opens the place as a view step once it
// has returned; Ctrl+C copies the place of the view being drawn.
TEST_F(PlacesAndKeysTest, PasteAndCopyDuringARenderAnswerAsTheWheelDoes)
{
    StartWholeView(580, 580);
    const std::string whole = FormatPlace(PlaceOfCurrentView());
    Zoom(200, 100, 300, 150);
    const QImage zoomed = Picture();
    dialogs.clipboard = QString::fromStdString(FormatPlace(PlaceOfCurrentView()));
    StepBack();
    QTimer::singleShot(0, drawing, [this] { Key(Qt::Key_V, Qt::ControlModifier); });
    RedrawView();
    EXPECT_LT(LastRenderedArea.columns, 580);
    TakeSteps();
    EXPECT_EQ(Picture(), zoomed);
    EXPECT_EQ(std::make_pair(BackStack.size(), ForwardStack.size()), std::make_pair(size_t(1), size_t(0)));

    QTimer::singleShot(0, drawing, [this] { Key(Qt::Key_C, Qt::ControlModifier); });
    StepBack();
    EXPECT_EQ(dialogs.clipboard.toStdString(), whole);
}

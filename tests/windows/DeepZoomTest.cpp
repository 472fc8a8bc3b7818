// The wheel past what 80-bit numbers tell apart: the deep view's precise
// centre through the clipboard and back, and the formulas that stop there.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QWheelEvent>

#include "WindowsFixture.h"
#include "engine/DeepView.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "engine/deep/PreciseNumber.h"

class DeepZoomTest : public WindowsFixture {
protected:
    void Wheel(int x, int y, int angleDelta)
    {
        TQVImage* image = Find<TQVImage>(drawing, "imgQVView");
        const QPointF at(x, y);
        QWheelEvent event(at, image->mapToGlobal(at), QPoint(), QPoint(0, angleDelta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(image, &event);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 40)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
};

TEST_F(DeepZoomTest, APastedDeepPlaceTheWheelAndBackKeepThePreciseCentreAndSharpPictures)
{
    StartWholeView(64, 48);
    const QImage whole = Picture();
    // 10^-30 beside c = i, pixels of 2^-100: a view only the precise centre holds.
    Place place = PlaceOfCurrentView();
    place.centreReDigits = "1.234567890123456789012345678901234567e-30";
    place.centreRe = ParsePrecise(place.centreReDigits).value.Rounded();
    place.centreIm = 1;
    place.pixelRe = place.pixelIm = 0x1p-100L;
    place.extentRe = 64 * place.pixelRe;
    place.extentIm = 48 * place.pixelIm;
    const auto paste = [&](const std::string& text) {
        dialogs.clipboard = QString::fromStdString(text);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QApplication::sendEvent(drawing, &key);
        QApplication::processEvents();
    };
    paste(FormatPlace(place));
    ASSERT_EQ(BackStack.size(), 1u);
    ASSERT_FALSE(CurrentCentre.Empty());
    const QImage deep = Picture();
    // Sharp: no two neighbouring rows alike, as blocks of 80-bit points would be.
    int sameRows = 0;
    for (int y = 0; y + 1 < 48; ++y)
        sameRows += deep.copy(0, y, 64, 1) == deep.copy(0, y + 1, 64, 1);
    EXPECT_LT(sameRows, 4);

    Wheel(40, 30, 10 * 120);
    ASSERT_EQ(BackStack.size(), 2u);
    EXPECT_LT(dpCurr.dwx, 1e-31L);
    EXPECT_FALSE(CurrentCentre == CentreOfPlace(place));
    // The centre's tool tip carries the digits that matter at this depth.
    // (1 + 10^-33 and finer: some 36 digits of the imaginary part).
    EXPECT_GT(Find<QLabel>(control, "stCenterY")->toolTip().size(), 36);
    Find<QAction>(drawing, "pmiCopyPlace")->trigger();
    const std::string copied = dialogs.clipboard.toStdString();
    EXPECT_NE(copied.find("centre-re-digits"), std::string::npos);
    const PreciseCentre centre = CurrentCentre;
    const QImage deeper = Picture();

    StepBack();
    EXPECT_EQ(Picture(), deep);
    StepBack();
    EXPECT_EQ(Picture(), whole);
    EXPECT_TRUE(CurrentCentre.Empty());
    paste(copied);
    EXPECT_EQ(CurrentCentre, centre);
    EXPECT_EQ(Picture(), deeper);
}

TEST_F(DeepZoomTest, RationalAndExponentialMapsSayOnceWhereTheyStopAndStay)
{
    for (int type : {5, 6}) {
        StartWholeView(64, 48);
        ShowWholeView(type);
        // Just above where the direct kernels stop, then twice beyond it.
        Wheel(30, 20, 46 * 120);
        const size_t back = BackStack.size();
        const int notices = dialogs.noticeTexts.size();
        Wheel(30, 20, 70 * 120);
        Wheel(30, 20, 70 * 120);
        EXPECT_EQ(BackStack.size(), back) << type;
        EXPECT_EQ(back, 1u) << type;
        ASSERT_EQ(dialogs.noticeTexts.size(), notices + 1) << type;
        EXPECT_EQ(dialogs.noticeTexts.back().toStdString(), DepthLimitMessage(DepthLimit::EightyBits));
        DestroyWindows();
    }
}

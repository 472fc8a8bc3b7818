// The pixel information window and the colour-map view.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "WindowsFixture.h"
#include "colour/windows/untColorUser.h"
#include "colour/windows/untDisplay1.h"
#include "colour/windows/untSetPalette.h"

class PaletteWindowsTest : public WindowsFixture {
protected:
    QWidget* Info() const { return windows.pixelInformation.get(); }
    QString Text(const char* name) const { return Find<QLabel>(Info(), name)->text(); }
    QPushButton* ChangeButton() const { return Find<QPushButton>(Info(), "btnPal1Chan"); }

    // Red, green, blue and count as the window shows them.
    QStringList ColorReadouts() const { return {Text("stPal"), Text("stRR"), Text("stGG"), Text("stBB")}; }

    QRgb SwatchColor() const
    {
        const QImage swatch = Find<QLabel>(Info(), "Shape1")->pixmap().toImage();
        return swatch.pixel(swatch.width() / 2, swatch.height() / 2) & 0xFFFFFFu;
    }

    // A right press on the picture and "パレットコード表示" from its popup.
    void InspectPixel(int x, int y)
    {
        drawing->SetPopupRunner([](QMenu* menu, QPoint) { Find<QAction>(menu, "N1")->trigger(); });
        drawing->imgQVViewMouseDown(Qt::RightButton, x, y);
        QApplication::processEvents();
    }

    // A pixel of the picture whose escape count is n > 0.
    QPoint PixelOfCount(int& n) const
    {
        for (int x = 0; x < dpCurr.diImgW; ++x)
            for (int y = 0; y < dpCurr.diImgH; ++y)
                if (IterationBuffer[BufferIndex(x, y)] > 2) {
                    n = IterationBuffer[BufferIndex(x, y)];
                    return QPoint(x, y);
                }
        ADD_FAILURE() << "no escaping pixel";
        return QPoint();
    }

    // Pixels whose colour differs from `before` and those of count n that
    // do not show `colour`.
    void ExpectOnlyCountRecolored(const QImage& before, int n, QRgb color) const
    {
        const QImage after = Picture();
        int wrong = 0;
        for (int x = 0; x < after.width(); ++x)
            for (int y = 0; y < after.height(); ++y) {
                const QRgb expected = IterationBuffer[BufferIndex(x, y)] == n ? color : before.pixel(x, y);
                wrong += (after.pixel(x, y) & 0xFFFFFFu) != (expected & 0xFFFFFFu);
            }
        EXPECT_EQ(wrong, 0);
    }
};

TEST_F(PaletteWindowsTest, CountZeroShowsEntryZeroABlackSwatchAndNoChange)
{
    CreateWindows();
    drawing->show();
    InspectPixel(10, 20);

    ASSERT_TRUE(Info()->isVisible());
    EXPECT_EQ(Info()->pos(), drawing->PopupPosition());
    EXPECT_EQ(Text("stPixX"), "10");
    EXPECT_EQ(Text("stPixY"), "20");
    EXPECT_EQ(ColorReadouts(), QStringList({"0", "192", "128", "64"}));
    EXPECT_EQ(SwatchColor(), 0u);
    EXPECT_FALSE(ChangeButton()->isEnabled());

    // A captured pixel of the whole view, on its centre column.
    ShowWholeView(1);
    InspectPixel(290, 290);
    EXPECT_EQ(Text("stRe"), "-5.00E-001");
    EXPECT_EQ(Text("stIm"), "0.00E+000");
    EXPECT_EQ(Text("stPal"), "0");
    EXPECT_EQ(SwatchColor(), 0u);
    EXPECT_FALSE(ChangeButton()->isEnabled());

    // Another window taken up: the information window closes.
    ASSERT_TRUE(Info()->isActiveWindow());
    ShowControlWindow();
    QApplication::processEvents();
    EXPECT_FALSE(Info()->isVisible());
}

TEST_F(PaletteWindowsTest, ChangeRecolorsExactlyThePixelsOfItsCountAndACancelStillRecolors)
{
    StartWholeView(200, 200);
    int n = 0;
    const QPoint pixel = PixelOfCount(n);
    InspectPixel(pixel.x(), pixel.y());
    ASSERT_TRUE(ChangeButton()->isEnabled());
    const ColorMap workBefore = workColorMap;
    const uint8_t keyFlag = currentColorMap[n].keyFlag;

    dialogs.pickedColors = {0x123456u};
    QImage before = Picture();
    ChangeButton()->click();

    EXPECT_EQ(ColorReadouts(), QStringList({QString::number(n), "86", "52", "18"}));
    EXPECT_EQ(SwatchColor(), qRgb(0x56, 0x34, 0x12) & 0xFFFFFFu);
    EXPECT_EQ(currentColorMap[n].keyFlag, keyFlag);
    EXPECT_TRUE(SameColorMap(workColorMap, workBefore));
    ExpectOnlyCountRecolored(before, n, qRgb(0x56, 0x34, 0x12));
    EXPECT_TRUE(Info()->isVisible());
    EXPECT_TRUE(ChangeButton()->isEnabled());

    // Another entry changed behind the picture's back: a cancelled dialog
    // leaves entry n and still repaints.
    const int other = n == 1 ? 2 : 1;
    currentColorMap[other] = ColorMapEntry{0, 1, 2, 3};
    before = Picture();
    ChangeButton()->click();
    EXPECT_EQ(ColorReadouts(), QStringList({QString::number(n), "86", "52", "18"}));
    ExpectOnlyCountRecolored(before, other, qRgb(1, 2, 3));
}

TEST_F(PaletteWindowsTest, DuringARenderTheWindowReadsButCannotChange)
{
    StartWholeView(200, 200);
    int n = 0;
    const QPoint pixel = PixelOfCount(n);
    dialogs.pickedColors = {0x123456u};
    const ColorMap mapBefore = currentColorMap;
    bool shown = false, enabled = true;
    QStringList readouts;
    ASSERT_LT(pixel.x(), 16);
    // At the render's second turn of the message loop its first 16 columns are painted.
    QTimer::singleShot(0, drawing, [&] {
        QTimer::singleShot(0, drawing, [&] {
            InspectPixel(pixel.x(), pixel.y());
            shown = Info()->isVisible();
            enabled = ChangeButton()->isEnabled();
            readouts = ColorReadouts();
            ChangeButton()->click();
            // Turning to another window does not close it while the render runs.
            ShowControlWindow();
            QApplication::processEvents();
            shown = shown && Info()->isVisible();
        });
    });

    RedrawView();

    EXPECT_TRUE(shown);
    EXPECT_EQ(readouts.value(0), QString::number(n));
    EXPECT_FALSE(enabled);
    EXPECT_EQ(dialogs.pickedColors.size(), 1u);
    EXPECT_TRUE(SameColorMap(currentColorMap, mapBefore));
    // The render over, "変更" is back for a counted pixel.
    InspectPixel(pixel.x(), pixel.y());
    EXPECT_TRUE(ChangeButton()->isEnabled());
}

TEST_F(PaletteWindowsTest, TheColorMapViewDrawsTheMapWhenShownAndNotAfterwards)
{
    CreateWindows();
    Find<QAction>(control, "pmiColorMonoTone")->trigger();
    Find<QAction>(control, "pmiDebugColor")->trigger();

    QWidget* view = windows.colorMapView.get();
    ASSERT_TRUE(view->isVisible());
    const QImage strip = Find<TQVImage>(view, "imgViewPalette")->Picture();
    const QImage red = Find<TQVImage>(view, "imgSetRed")->Picture();
    const QImage blue = Find<TQVImage>(view, "imgSetBlue")->Picture();
    EXPECT_EQ(strip.pixel(2 * 100 + 1, 48) & 0xFFFFFFu, qRgb(100, 100, 100) & 0xFFFFFFu);
    EXPECT_EQ(red.pixel(0, 127) & 0xFFFFFFu, qRgb(255, 0, 0) & 0xFFFFFFu);
    EXPECT_EQ(red.pixel(0, 126) & 0xFFFFFFu, qRgb(255, 255, 255) & 0xFFFFFFu);
    EXPECT_EQ(blue.pixel(511, 0) & 0xFFFFFFu, qRgb(0, 0, 255) & 0xFFFFFFu);

    Find<QAction>(control, "pmiColorHanten")->trigger();
    EXPECT_EQ(Find<TQVImage>(view, "imgViewPalette")->Picture(), strip);
}

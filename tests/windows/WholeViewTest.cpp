// The whole-view command and the indicator thumbnail with its cross marks.

#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <tuple>

#include "WindowsFixture.h"

namespace {

constexpr QRgb kRgbMask = 0x00FFFFFFu;

int ChannelSum(QRgb c) { return qRed(c) + qGreen(c) + qBlue(c); }

// Mean difference per channel between the indicator and the box-filtered
// square `source` of the picture, each indicator pixel against the block of
// picture pixels it covers.
double MeanDifferenceToSquare(const QImage& indicator, const QImage& picture, const QRect& source)
{
    const int n = indicator.width();
    double total = 0;
    for (int iy = 0; iy < n; ++iy) {
        for (int ix = 0; ix < n; ++ix) {
            const int x0 = source.left() + ix * source.width() / n;
            const int x1 = source.left() + (ix + 1) * source.width() / n;
            const int y0 = source.top() + iy * source.height() / n;
            const int y1 = source.top() + (iy + 1) * source.height() / n;
            double r = 0, g = 0, b = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const QRgb c = picture.pixel(x, y);
                    r += qRed(c);
                    g += qGreen(c);
                    b += qBlue(c);
                }
            const double count = double(x1 - x0) * (y1 - y0);
            const QRgb c = indicator.pixel(ix, iy);
            total += std::abs(r / count - qRed(c)) + std::abs(g / count - qGreen(c)) + std::abs(b / count - qBlue(c));
        }
    }
    return total / (3.0 * n * n);
}

// Pixels of `after` that differ from `before`, as (x, y) points.
QList<QPoint> ChangedPixels(const QImage& before, const QImage& after)
{
    QList<QPoint> changed;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if ((before.pixel(x, y) & kRgbMask) != (after.pixel(x, y) & kRgbMask))
                changed << QPoint(x, y);
    return changed;
}

// True when `after` is `before` with column `column` and row `row` inverted
// (a negative value: no such line); the crossing pixel is inverted twice.
bool OnlyCrossInverted(const QImage& before, const QImage& after, int column, int row)
{
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            const bool inverted = (x == column) != (y == row);
            const QRgb original = before.pixel(x, y) & kRgbMask;
            const QRgb expected = inverted ? (original ^ kRgbMask) : original;
            if ((after.pixel(x, y) & kRgbMask) != expected)
                return false;
        }
    return true;
}

}  // namespace

class WholeViewTest : public WindowsFixture {
protected:
    QImage Indicator() const { return Find<TQVImage>(control, "imgIndicater")->Picture().copy(); }

    long double ExpectedCross(long double offset) const
    {
        const IndicatorScale scale = control->IndicatorScaleShown();
        return std::floor((offset + scale.extent / 2) / scale.step + 0.5L);
    }

    // Windows, then the whole view of the type with the centre coefficient
    // edited to 0.2 + 0.1i.
    void ShowWholeViewAfterEditingTheCentre(int type)
    {
        CreateWindows();
        EditedParams.Og.re = 0.2L;
        EditedParams.Og.im = 0.1L;
        ShowWholeView(type);
    }

    static std::tuple<int, long double, long double, long double> TypeCentreAndWidth()
    {
        return {dpCurr.diType, dpCurr.dwa, dpCurr.dwb, dpCurr.dwx};
    }

    void DoubleClickIndicator()
    {
        const QPointF at(64, 64);
        QMouseEvent event(QEvent::MouseButtonDblClick, at, Find<TQVImage>(control, "imgIndicater")->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Find<TQVImage>(control, "imgIndicater"), &event);
    }
};

TEST_F(WholeViewTest, TheMandelbrotWholeViewOnASquarePicture)
{
    StartWholeView();

    EXPECT_EQ(TypeCentreAndWidth(), std::tuple(1, -0.5L, 0.0L, 3.6L));
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_EQ(dpCurr.diImgW, 580);
    EXPECT_EQ(dpCurr.diImgH, 580);
    EXPECT_EQ(dpCurr.dwy, 3.6L);
    EXPECT_EQ(dpCurr.dwPitchX, 3.6L / 580);
    EXPECT_EQ(dpCurr.dwPitchY, 3.6L / 580);
    EXPECT_EQ(WholeView.dwa, -0.5L);
    EXPECT_EQ(WholeView.dwPitchX, dpCurr.dwPitchX);
    EXPECT_EQ(WholeView.diType, 1);
    EXPECT_TRUE(drawing->isVisible());
    EXPECT_TRUE(drawing->IsTrackingResize());
    EXPECT_EQ(LastRenderedArea.columns, 580);

    EXPECT_EQ(Readouts(), (QStringList{"-5.00E-001", "0.00E+000", "3.60E+000", "3.60E+000", "1", "1", "1"}));
    EXPECT_EQ(Find<QProgressBar>(control, "pbQVCtrl")->maximum(), 580);
    EXPECT_EQ(Find<QProgressBar>(control, "pbQVCtrl")->value(), 580);
}

TEST_F(WholeViewTest, TheIndicatorShowsTheWholePictureScaledDown)
{
    StartWholeView();

    EXPECT_EQ(control->IndicatorScaleShown().extent, 3.6L);
    EXPECT_EQ(control->IndicatorScaleShown().step, 3.6L / 128);
    EXPECT_EQ(control->CrossMarksShown().x, 0);
    EXPECT_EQ(control->CrossMarksShown().y, 0);
    const QImage indicator = Indicator();
    int white = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            white += (indicator.pixel(x, y) & kRgbMask) == kRgbMask;
    EXPECT_LT(white, 128 * 128 / 2);
    EXPECT_LT(MeanDifferenceToSquare(indicator, Picture(), QRect(0, 0, 580, 580)), 12.0);
}

TEST_F(WholeViewTest, OtherTypesTakeTheirCentreFromTheCoefficients)
{
    ShowWholeViewAfterEditingTheCentre(3);
    EXPECT_EQ(TypeCentreAndWidth(), std::tuple(3, 0.2L, 0.1L, 3.6L));
    EXPECT_EQ(ActiveParams.Og.re, 0.2L);
    EXPECT_EQ(ActiveParams.Gz.re, 1.01L);
    EXPECT_EQ(Find<QLabel>(control, "stCenterX")->text(), QStringLiteral("2.00E-001"));
    EXPECT_EQ(Find<QLabel>(control, "stCenterY")->text(), QStringLiteral("1.00E-001"));

    // Later edits wait for the next whole view.
    EditedParams.Gz.re = 2.0L;
    EXPECT_EQ(ActiveParams.Gz.re, 1.01L);

    ShowWholeView(1);
    EXPECT_EQ(dpCurr.dwa, -0.5L);
    EXPECT_EQ(dpCurr.dwb, 0.0L);
    EXPECT_EQ(ActiveParams.Gz.re, 2.0L);
}

TEST_F(WholeViewTest, TheMysteryFunctionIgnoresTheCoefficientCentre)
{
    ShowWholeViewAfterEditingTheCentre(6);
    EXPECT_EQ(TypeCentreAndWidth(), std::tuple(6, -1.5L, 0.0L, 3.6L));
    EXPECT_EQ(Find<QLabel>(control, "stCenterX")->text(), QStringLiteral("-1.50E+000"));
}

TEST_F(WholeViewTest, AWholeViewForgetsTheHistory)
{
    StartWholeView();
    Zoom(200, 100, 300, 150);
    Zoom(100, 100, 300, 200);
    Find<QToolButton>(control, "tbtnPrev")->click();
    ASSERT_EQ(BackStack.size(), 1u);
    ASSERT_EQ(ForwardStack.size(), 1u);

    ShowWholeView(1);

    EXPECT_TRUE(BackStack.empty());
    EXPECT_TRUE(ForwardStack.empty());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnPrev")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnNext")->isEnabled());
    EXPECT_FALSE(Find<QAction>(drawing, "pmiPrev")->isEnabled());
    EXPECT_FALSE(Find<QAction>(drawing, "pmiNext")->isEnabled());
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_EQ(NestReadouts(), (QStringList{"1", "1"}));
    EXPECT_EQ(Find<QLabel>(control, "stScale")->text(), QStringLiteral("1"));
    // The picture keeps the size the last zoom gave it.
    EXPECT_EQ(dpCurr.diImgW, 773);
    EXPECT_EQ(dpCurr.diImgH, 387);
}

TEST_F(WholeViewTest, AWidePictureShowsItsCentredSquareOnTheIndicator)
{
    StartWholeView();
    ResizePictureByHand(700, 500);

    ShowWholeView(1);

    EXPECT_EQ(dpCurr.diImgW, 700);
    EXPECT_EQ(dpCurr.diImgH, 500);
    EXPECT_EQ(dpCurr.dwy, (500.0L / 700) * 3.6L);
    EXPECT_EQ(dpCurr.dwPitchY, dpCurr.dwy / 500);
    EXPECT_EQ(control->IndicatorScaleShown().extent, dpCurr.dwy);
    EXPECT_EQ(control->IndicatorScaleShown().step, dpCurr.dwy / 128);

    const QImage indicator = Indicator();
    const QImage picture = Picture();
    const double centred = MeanDifferenceToSquare(indicator, picture, QRect(100, 0, 500, 500));
    EXPECT_LT(centred, 12.0);
    EXPECT_LT(centred * 3, MeanDifferenceToSquare(indicator, picture, QRect(0, 0, 500, 500)));
    // c = -0.2 lies deep in the main body: picture column 408, indicator column 79.
    EXPECT_EQ(picture.pixel(408, 250) & kRgbMask, 0u);
    EXPECT_LT(ChannelSum(indicator.pixel(79, 64)), 30);
}

TEST_F(WholeViewTest, AZoomMarksItsCentreOnTheIndicatorAndTheNextZoomMovesTheMarks)
{
    StartWholeView();
    const QImage plain = Indicator();

    Zoom(200, 100, 300, 150);

    EXPECT_EQ(control->CrossMarksShown().x, 55);
    EXPECT_EQ(control->CrossMarksShown().y, 28);
    EXPECT_EQ(control->CrossMarksShown().x, ExpectedCross(dpCurr.dwa - WholeView.dwa));
    EXPECT_EQ(control->CrossMarksShown().y, ExpectedCross(dpCurr.dwb - WholeView.dwb));
    EXPECT_TRUE(OnlyCrossInverted(plain, Indicator(), 55, 28));

    Zoom(10, 10, 110, 60);

    const int secondX = control->CrossMarksShown().x;
    const int secondY = control->CrossMarksShown().y;
    EXPECT_EQ(secondX, ExpectedCross(dpCurr.dwa - WholeView.dwa));
    EXPECT_EQ(secondY, ExpectedCross(dpCurr.dwb - WholeView.dwb));
    ASSERT_NE(secondX, 55);
    ASSERT_NE(secondY, 28);
    EXPECT_TRUE(OnlyCrossInverted(plain, Indicator(), secondX, secondY));

    // Back leaves the marks where they are.
    const QImage marked = Indicator();
    Find<QToolButton>(control, "tbtnPrev")->click();
    EXPECT_EQ(control->CrossMarksShown().x, secondX);
    EXPECT_TRUE(ChangedPixels(marked, Indicator()).isEmpty());

    // The next whole view brings a fresh thumbnail without marks.
    ShowWholeView(1);
    EXPECT_EQ(control->CrossMarksShown().x, 0);
    EXPECT_EQ(control->CrossMarksShown().y, 0);
}

TEST_F(WholeViewTest, ACentreOutsideTheIndicatorSquareGetsNoMark)
{
    StartWholeView();
    ResizePictureByHand(700, 500);
    ShowWholeView(1);
    const QImage plain = Indicator();

    // The selection's centre, column 20, lies left of the square (100, 0)-(600, 500).
    Zoom(0, 200, 40, 300);

    EXPECT_EQ(control->CrossMarksShown().x, 0);
    EXPECT_EQ(control->CrossMarksShown().y, 64);
    EXPECT_TRUE(OnlyCrossInverted(plain, Indicator(), -1, 64));
}

TEST_F(WholeViewTest, ACancelledWholeViewStillRefreshesTheIndicator)
{
    CreateWindows();
    const QColor background = Find<TQVImage>(drawing, "imgQVView")->FillColor();
    QTimer::singleShot(0, control, [this] {
        QTimer::singleShot(0, control, [this] { Find<QToolButton>(control, "tbtnCancel")->click(); });
    });

    ShowWholeView(1);

    EXPECT_EQ(LastRenderedArea.columns, 16);
    EXPECT_TRUE(drawing->IsTrackingResize());
    EXPECT_EQ(control->IndicatorScaleShown().step, 3.6L / 128);
    // The columns never computed show the background there too.
    const QRgb right = Indicator().pixel(100, 64);
    EXPECT_NEAR(qRed(right), background.red(), 2);
    EXPECT_NEAR(qGreen(right), background.green(), 2);
    EXPECT_NEAR(qBlue(right), background.blue(), 2);
    EXPECT_NE(Indicator().pixel(1, 64) & kRgbMask, kRgbMask);
}

TEST_F(WholeViewTest, DoubleClickingTheIndicatorShowsTheHiddenDrawingWindow)
{
    StartWholeView();
    drawing->close();
    ASSERT_FALSE(drawing->isVisible());
    const QImage picture = Picture();

    DoubleClickIndicator();

    EXPECT_TRUE(drawing->isVisible());
    EXPECT_EQ(Picture(), picture);
    EXPECT_EQ(dpCurr.dinum, 1);
}

TEST_F(WholeViewTest, DoubleClickingBeforeAnyPictureOnlyShowsTheWindow)
{
    CreateWindows();
    ASSERT_FALSE(drawing->isVisible());

    DoubleClickIndicator();

    EXPECT_TRUE(drawing->isVisible());
    EXPECT_EQ(dpCurr.diType, 0);
    EXPECT_EQ(LastRenderedArea.columns, 0);
    EXPECT_TRUE(Find<QLabel>(control, "stCenterX")->text().isEmpty());
}

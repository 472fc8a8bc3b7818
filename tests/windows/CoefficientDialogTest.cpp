// The coefficient dialog: its bars and read-outs, the keys, and how its edits
// reach the whole view and are dropped by a zoom.

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include "WindowsFixture.h"
#include "dialogs/untCoeff.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"

class CoefficientDialogTest : public WindowsFixture {
protected:
    TfrmSetCoeff* Dialog() const { return windows.coefficients.get(); }
    QSlider* Bar(const char* part) const { return Find<QSlider>(Dialog(), QByteArray("tb").append(part).constData()); }
    QString Readout(const char* part) const { return Find<QLabel>(Dialog(), QByteArray("st").append(part).constData())->text(); }

    // Every bar's position and read-out, in the dialog's order.
    QStringList Shown() const
    {
        QStringList shown;
        for (const char* part : {"GzRe", "GzIm", "ItRe", "ItIm", "RmRe", "RmIm", "MuRe", "MuIm", "OgRe", "OgIm"})
            shown << QString::number(Bar(part)->value()) + " " + Readout(part);
        return shown;
    }

    // A key typed while the bar has the focus.
    void Type(const char* part, Qt::Key key, const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(Bar(part), &press);
    }

    void WholeViewOnSmallPicture(int type)
    {
        dpCurr.diImgW = dpCurr.diImgH = 120;
        ShowWholeView(type);
    }
};

TEST_F(CoefficientDialogTest, StartsWithTheStartupValuesAndOpensFromTheToolsMenu)
{
    CreateWindows();
    const QString zero = QStringLiteral("0 0.0000E+000");
    EXPECT_EQ(Shown(), (QStringList{"20200 1.0100E+000", zero, "22400 1.1200E+000", zero, "23600 1.1800E+000", zero,
                                    zero, zero, zero, zero}));
    EXPECT_EQ(EditedParams.Gz.re, 1.01L);
    EXPECT_FALSE(Dialog()->isVisible());
    Find<QAction>(control, "pmiSetCoeff")->trigger();
    EXPECT_TRUE(Dialog()->isVisible());

    // The formula choice swaps the panels and nothing else.
    const auto items = Find<QWidget>(Dialog(), "rgSelFormula")->findChildren<QRadioButton*>();
    ASSERT_EQ(items.size(), 2);
    items[1]->click();
    EXPECT_FALSE(Find<QWidget>(Dialog(), "pnFormula")->isVisible());
    EXPECT_TRUE(Find<QWidget>(Dialog(), "pnFormula2")->isVisible());
    items[0]->click();
    EXPECT_TRUE(Find<QWidget>(Dialog(), "pnFormula")->isVisible());
    EXPECT_EQ(dpCurr.diType, 0);
    Find<QPushButton>(Dialog(), "btnOk")->click();
    EXPECT_FALSE(Dialog()->isVisible());
}

TEST_F(CoefficientDialogTest, BarsWritePositionOver20000AndKeysStepAndWrap)
{
    CreateWindows();
    Bar("GzIm")->setValue(32000);
    EXPECT_EQ(EditedParams.Gz.im, 1.6L);
    EXPECT_EQ(Readout("GzIm"), "1.6000E+000");
    Bar("GzIm")->setValue(-40000);
    EXPECT_EQ(EditedParams.Gz.im, -1.6L);
    EXPECT_EQ(EditedParams.Gz.re, 1.01L);

    Bar("ItRe")->setValue(24000);
    Type("ItRe", Qt::Key_P, "P");
    EXPECT_EQ(EditedParams.It.re, 31854.0L / 20000);
    EXPECT_EQ(Readout("ItRe"), "1.5927E+000");
    Type("ItRe", Qt::Key_P, "p");
    EXPECT_EQ(Bar("ItRe")->value(), -31416);
    EXPECT_EQ(Readout("ItRe"), "-1.5708E+000");
    Type("ItRe", Qt::Key_M, "m");
    EXPECT_EQ(Bar("ItRe")->value(), 31416);
    Type("ItRe", Qt::Key_0, "0");
    EXPECT_EQ(Bar("ItRe")->value(), 0);
    EXPECT_EQ(Readout("ItRe"), "0.0000E+000");

    // Other keys are the bar's own: a line of 1, a page of 2000, letters nothing.
    Type("ItRe", Qt::Key_Right);
    EXPECT_EQ(Readout("ItRe"), "5.0000E-005");
    Type("ItRe", Qt::Key_PageUp);
    Type("ItRe", Qt::Key_X, "x");
    EXPECT_EQ(EditedParams.It.re, 2001.0L / 20000);
}

TEST_F(CoefficientDialogTest, ShowParamsLeavesWholePositions)
{
    CreateWindows();
    EditedParams.Gz.re = 0.123456789L;
    EditedParams.Og.im = 2.5L;
    EditedParams.Mu.re = -0.000026L;
    Dialog()->ShowParams();
    EXPECT_EQ(EditedParams.Gz.re, 2469.0L / 20000);
    EXPECT_EQ(Readout("GzRe"), "1.2345E-001");
    EXPECT_EQ(EditedParams.Og.im, 1.6L);
    EXPECT_EQ(EditedParams.Mu.re, -1.0L / 20000);
    EXPECT_EQ(EditedParams.It.re, 1.12L);
}

TEST_F(CoefficientDialogTest, EditsTakeEffectAtTheNextWholeViewAndAZoomDropsThem)
{
    CreateWindows();
    Bar("GzRe")->setValue(10000);
    Bar("OgRe")->setValue(4000);
    Bar("OgIm")->setValue(-2000);
    WholeViewOnSmallPicture(4);
    EXPECT_EQ(ActiveParams.Gz.re, 0.5L);
    EXPECT_EQ(dpCurr.dwa, 0.2L);
    EXPECT_EQ(dpCurr.dwb, -0.1L);

    // Redraw and the history leave pending edits alone; a zoom drops them.
    Bar("GzRe")->setValue(-5000);
    RedrawView();
    EXPECT_EQ(EditedParams.Gz.re, -0.25L);
    Zoom(10, 10, 60, 50);
    EXPECT_EQ(EditedParams.Gz.re, 0.5L);
    EXPECT_EQ(Bar("GzRe")->value(), 10000);
    EXPECT_EQ(Readout("GzRe"), "5.0000E-001");
    Bar("GzRe")->setValue(3000);
    StepBack();
    EXPECT_EQ(EditedParams.Gz.re, 0.15L);

    // Types 1 and 6 keep their own centres.
    WholeViewOnSmallPicture(1);
    EXPECT_EQ(dpCurr.dwa, -0.5L);
    EXPECT_EQ(dpCurr.dwb, 0.0L);
    WholeViewOnSmallPicture(6);
    EXPECT_EQ(dpCurr.dwa, -1.5L);
}

TEST_F(CoefficientDialogTest, TheDialogWorksDuringARenderWithoutChangingIt)
{
    CreateWindows();
    bool sawRender = false;
    QTimer::singleShot(0, Dialog(), [&] {
        sawRender = IsRendering;
        Type("GzRe", Qt::Key_0, "0");
    });
    WholeViewOnSmallPicture(4);
    EXPECT_TRUE(sawRender);
    EXPECT_EQ(EditedParams.Gz.re, 0.0L);
    EXPECT_EQ(ActiveParams.Gz.re, 1.01L);
}

// A place brings its own coefficients into the middle of the history: back
// and forward draw each view with those it was drawn with, and the dialog
// follows the view shown.
TEST_F(CoefficientDialogTest, BackAndForwardAcrossAPlaceDrawEachViewWithItsOwnCoefficients)
{
    CreateWindows();
    WholeViewOnSmallPicture(4);
    const QImage whole = Picture();
    Place place = PlaceOfCurrentView();
    place.params.Gz.re = 0.5L;
    dialogs.clipboard = QString::fromStdString(FormatPlace(place));
    PastePlace();
    const QImage atPlace = Picture();
    ASSERT_NE(atPlace, whole);
    StepBack();
    EXPECT_EQ(Picture(), whole);
    EXPECT_EQ(Readout("GzRe"), "1.0100E+000");
    StepForward();
    EXPECT_EQ(Picture(), atPlace);
    EXPECT_EQ(Readout("GzRe"), "5.0000E-001");
}

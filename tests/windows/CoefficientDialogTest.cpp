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
#include "untCoeff.h"

namespace {

const char* const kBars[] = {"tbGzRe", "tbGzIm", "tbItRe", "tbItIm", "tbRmRe",
                             "tbRmIm", "tbMuRe", "tbMuIm", "tbOgRe", "tbOgIm"};
const char* const kReadouts[] = {"stGzRe", "stGzIm", "stItRe", "stItIm", "stRmRe",
                                 "stRmIm", "stMuRe", "stMuIm", "stOgRe", "stOgIm"};

}  // namespace

class CoefficientDialogTest : public WindowsFixture {
protected:
    TfrmSetCoeff* Dialog() const { return windows.coefficients.get(); }
    QSlider* Bar(const char* name) const { return Find<QSlider>(Dialog(), name); }
    QString Readout(const char* name) const { return Find<QLabel>(Dialog(), name)->text(); }

    QList<int> Positions() const
    {
        QList<int> positions;
        for (const char* name : kBars)
            positions << Bar(name)->value();
        return positions;
    }

    QStringList Readouts() const
    {
        QStringList texts;
        for (const char* name : kReadouts)
            texts << Readout(name);
        return texts;
    }

    // A key typed while the bar has the focus.
    void Type(const char* bar, Qt::Key key, const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(Bar(bar), &press);
    }

    void WholeViewOnSmallPicture(int type)
    {
        dpCurr.diImgW = 120;
        dpCurr.diImgH = 120;
        ShowWholeView(type);
    }
};

TEST_F(CoefficientDialogTest, StartsWithTheStartupValuesAndOpensFromTheToolsMenu)
{
    CreateWindows();
    EXPECT_EQ(Positions(), (QList<int>{20200, 0, 22400, 0, 23600, 0, 0, 0, 0, 0}));
    const QString zero = QStringLiteral("0.0000E+000");
    EXPECT_EQ(Readouts(), (QStringList{"1.0100E+000", zero, "1.1200E+000", zero, "1.1800E+000", zero, zero, zero, zero, zero}));
    EXPECT_EQ(EditedParams.Gz.re, 1.01L);
    EXPECT_EQ(EditedParams.Rm.re, 1.18L);
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
    EXPECT_FALSE(Find<QWidget>(Dialog(), "pnFormula2")->isVisible());
    EXPECT_EQ(dpCurr.diType, 0);

    Find<QPushButton>(Dialog(), "btnOk")->click();
    EXPECT_FALSE(Dialog()->isVisible());
}

TEST_F(CoefficientDialogTest, BarsWritePositionOver20000AndKeysStepAndWrap)
{
    CreateWindows();
    Bar("tbGzIm")->setValue(32000);
    EXPECT_EQ(EditedParams.Gz.im, 1.6L);
    EXPECT_EQ(Readout("stGzIm"), "1.6000E+000");
    Bar("tbGzIm")->setValue(-40000);
    EXPECT_EQ(EditedParams.Gz.im, -1.6L);
    EXPECT_EQ(Readout("stGzIm"), "-1.6000E+000");
    EXPECT_EQ(EditedParams.Gz.re, 1.01L);
    EXPECT_EQ(EditedParams.Gz.status, 0);

    Bar("tbItRe")->setValue(24000);
    Type("tbItRe", Qt::Key_P, "P");
    EXPECT_EQ(Bar("tbItRe")->value(), 31854);
    EXPECT_EQ(EditedParams.It.re, 31854.0L / 20000);
    EXPECT_EQ(Readout("stItRe"), "1.5927E+000");
    Type("tbItRe", Qt::Key_P, "p");
    EXPECT_EQ(Bar("tbItRe")->value(), -31416);
    EXPECT_EQ(Readout("stItRe"), "-1.5708E+000");
    Type("tbItRe", Qt::Key_M, "m");
    EXPECT_EQ(Bar("tbItRe")->value(), 31416);
    EXPECT_EQ(EditedParams.It.re, 31416.0L / 20000);
    Type("tbItRe", Qt::Key_M, "M");
    EXPECT_EQ(Bar("tbItRe")->value(), 23562);

    Type("tbItRe", Qt::Key_0, "0");
    EXPECT_EQ(Bar("tbItRe")->value(), 0);
    EXPECT_EQ(EditedParams.It.re, 0.0L);
    EXPECT_EQ(Readout("stItRe"), "0.0000E+000");
    Type("tbItRe", Qt::Key_0, "0");
    EXPECT_EQ(Readout("stItRe"), "0.0000E+000");

    // Other keys are the bar's own: a line of 1, a page of 2000, letters nothing.
    Type("tbItRe", Qt::Key_Right);
    EXPECT_EQ(EditedParams.It.re, 1.0L / 20000);
    EXPECT_EQ(Readout("stItRe"), "5.0000E-005");
    Type("tbItRe", Qt::Key_PageUp);
    EXPECT_EQ(Bar("tbItRe")->value(), 2001);
    Type("tbItRe", Qt::Key_X, "x");
    EXPECT_EQ(Bar("tbItRe")->value(), 2001);
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
    EXPECT_EQ(Readout("stGzRe"), "1.2345E-001");
    EXPECT_EQ(EditedParams.Og.im, 1.6L);
    EXPECT_EQ(Readout("stOgIm"), "1.6000E+000");
    EXPECT_EQ(Bar("tbMuRe")->value(), -1);
    EXPECT_EQ(EditedParams.Mu.re, -1.0L / 20000);
    EXPECT_EQ(EditedParams.It.re, 1.12L);
}

TEST_F(CoefficientDialogTest, EditsTakeEffectAtTheNextWholeViewAndAZoomDropsThem)
{
    CreateWindows();
    Bar("tbGzRe")->setValue(10000);
    Bar("tbOgRe")->setValue(4000);
    Bar("tbOgIm")->setValue(-2000);
    WholeViewOnSmallPicture(4);
    EXPECT_EQ(ActiveParams.Gz.re, 0.5L);
    EXPECT_EQ(dpCurr.dwa, 0.2L);
    EXPECT_EQ(dpCurr.dwb, -0.1L);

    // Redraw and the history leave pending edits alone.
    Bar("tbGzRe")->setValue(-5000);
    RedrawView();
    EXPECT_EQ(EditedParams.Gz.re, -0.25L);
    EXPECT_EQ(ActiveParams.Gz.re, 0.5L);

    Zoom(10, 10, 60, 50);
    EXPECT_EQ(dpCurr.dinum, 2);
    EXPECT_EQ(EditedParams.Gz.re, 0.5L);
    EXPECT_EQ(Bar("tbGzRe")->value(), 10000);
    EXPECT_EQ(Readout("stGzRe"), "5.0000E-001");
    Bar("tbGzRe")->setValue(3000);
    StepBack();
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_EQ(EditedParams.Gz.re, 0.15L);

    // Types 1 and 6 keep their own centres.
    WholeViewOnSmallPicture(1);
    EXPECT_EQ(dpCurr.dwa, -0.5L);
    EXPECT_EQ(dpCurr.dwb, 0.0L);
    WholeViewOnSmallPicture(6);
    EXPECT_EQ(dpCurr.dwa, -1.5L);
    EXPECT_EQ(ActiveParams.Og.re, 0.2L);
}

TEST_F(CoefficientDialogTest, TheDialogWorksDuringARenderWithoutChangingIt)
{
    CreateWindows();
    bool sawRender = false;
    QTimer::singleShot(0, Dialog(), [&] {
        sawRender = IsRendering;
        Type("tbGzRe", Qt::Key_0, "0");
    });
    WholeViewOnSmallPicture(4);
    EXPECT_TRUE(sawRender);
    EXPECT_EQ(EditedParams.Gz.re, 0.0L);
    EXPECT_EQ(ActiveParams.Gz.re, 1.01L);
}

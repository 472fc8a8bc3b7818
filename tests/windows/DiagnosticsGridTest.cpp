// The diagnostics grid of dpCurr and dpNext, the histogram column, and the
// command line that makes the "デバッグ" button visible.

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <numeric>

#include "CommandLine.h"
#include "NumberFormat.h"
#include "WindowsFixture.h"
#include "untDebg.h"

class DiagnosticsGridTest : public WindowsFixture {
protected:
    TfrmDebg* Grid() const { return windows.diagnostics.get(); }

    // A cell as the grid numbers it: row 0 is the heading row.
    static QString Cell(const QTableWidget* grid, int row, int column)
    {
        if (row == 0)
            return grid->horizontalHeaderItem(column)->text();
        return grid->item(row - 1, column)->text();
    }

    // Rows 1..19 of one column of the record grid.
    QStringList RecordColumn(int column) const
    {
        QStringList texts;
        for (int row = 1; row <= 19; ++row)
            texts << Cell(Find<QTableWidget>(Grid(), "sgDebg"), row, column);
        return texts;
    }

    QStringList CountColumn() const
    {
        const auto* grid = Find<QTableWidget>(Grid(), "sgMk");
        QStringList texts;
        for (int row = 1; row <= grid->rowCount(); ++row)
            texts << Cell(grid, row, 1);
        return texts;
    }

    void OpenInfoGrid() { Find<QAction>(control, "pmiInfoGrid")->trigger(); }
};

TEST_F(DiagnosticsGridTest, OpenedBeforeAnyWholeViewItShowsTheStartupRecordsAfterAResize)
{
    CreateWindows();
    EXPECT_FALSE(Grid()->isVisible());
    OpenInfoGrid();
    EXPECT_TRUE(Grid()->isVisible());
    EXPECT_TRUE(drawing->isVisible());
    EXPECT_TRUE(DebugMode);
    EXPECT_EQ(dpCurr.diImgW, 580);
    // The menu item itself writes only headings.
    const auto* sgDebg = Find<QTableWidget>(Grid(), "sgDebg");
    EXPECT_EQ(Cell(sgDebg, 0, 2), "dpNext");
    EXPECT_EQ(Cell(sgDebg, 19, 0), "Img(W,H)");
    EXPECT_EQ(RecordColumn(1), QStringList(19, QString()));

    ResizePictureByHand(400, 300);
    const QString winW = QString::number(dpCurr.diWinW);
    const QString winH = QString::number(dpCurr.diWinH);
    EXPECT_EQ(RecordColumn(1), (QStringList{"---", "1", winW, winH, "400", "300", "0", "0", "0", "0", "0", "0", "0",
                                            "0", "0", "0", "0", "0", "2400"}));
    QStringList next(17, QStringLiteral("0"));
    next.prepend(QStringLiteral("---"));
    next.append(QString::number(drawing->Picture().width()));
    EXPECT_EQ(RecordColumn(2), next);

    // Closing only hides the window; the refresh goes on.
    Grid()->close();
    ShowWholeView(1);
    EXPECT_EQ(RecordColumn(1)[6], "-0.5");
}

TEST_F(DiagnosticsGridTest, AWholeViewAndAZoomAsTheGridShowsThem)
{
    StartWholeView(580, 580);
    EXPECT_EQ(RecordColumn(1), QStringList(19, QString())) << "refreshed without the diagnostics mode";
    OpenInfoGrid();
    ShowWholeView(1);
    QStringList current = RecordColumn(1);
    EXPECT_EQ(current.mid(1, 9), (QStringList{"1", QString::number(dpCurr.diWinW), QString::number(dpCurr.diWinH),
                                              "580", "580", "-0.5", "0", "3.6", "3.6"}));

    Zoom(200, 100, 300, 150);
    const QStringList next = RecordColumn(2);
    EXPECT_EQ(next.mid(1, 5), (QStringList{"2", "0", "0", "773", "387"}));
    EXPECT_EQ(next[6], QString::fromStdString(FormatGeneral15(dpCurr.dwa)));
    EXPECT_EQ(next.mid(10, 8), QStringList(8, QStringLiteral("0")));
    current = RecordColumn(1);
    EXPECT_EQ(current[1], "2");
    EXPECT_EQ(current[2], QString::number(dpCurr.diWinW));
    EXPECT_NE(current[2], "0");
}

TEST_F(DiagnosticsGridTest, CountColumnIsASnapshotOfEveryCounterBesideItsNumber)
{
    CreateWindows();
    const auto* sgMk = Find<QTableWidget>(Grid(), "sgMk");
    ASSERT_EQ(sgMk->rowCount(), 257);
    EXPECT_EQ(Cell(sgMk, 1, 0), "0");
    EXPECT_EQ(Cell(sgMk, 256, 0), "255");
    EXPECT_EQ(Cell(sgMk, 257, 0), "256");
    EXPECT_EQ(CountColumn(), QStringList(257, QString()));
    Find<QPushButton>(Grid(), "btnSetMk")->click();
    EXPECT_EQ(CountColumn(), QStringList(257, QStringLiteral("0")));

    StartWholeView(200, 150);
    Find<QPushButton>(Grid(), "btnSetMk")->click();
    const QStringList counts = CountColumn();
    qulonglong sum = 0;
    for (int i = 0; i < 257; ++i) {
        EXPECT_EQ(counts[i], QString::number(EscapeHistogram[size_t(i)])) << "row " << i + 1;
        sum += counts[i].toULongLong();
    }
    EXPECT_EQ(sum, 200u * 150u);
    EXPECT_EQ(counts[0], "0");
    EXPECT_NE(counts[256], "0");

    ShowWholeView(6);
    EXPECT_EQ(CountColumn(), counts);
}

TEST_F(DiagnosticsGridTest, CommandLineShowsTheDiagnosticsButtonOnlyWhenAsked)
{
    const CommandLineOptions plain = ParseCommandLine({"-platform", "offscreen", "--diagnostic", "--DIAGNOSTICS", "x"});
    EXPECT_FALSE(plain.diagnostics);
    EXPECT_FALSE(plain.help);
    const CommandLineOptions asked = ParseCommandLine({"picture.jpg", "--diagnostics"});
    EXPECT_TRUE(asked.diagnostics);
    EXPECT_FALSE(asked.help);
    EXPECT_TRUE(ParseCommandLine({"--help", "--diagnostics"}).help);

    CreateWindows();
    control->show();
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnDebg")->isVisible());
    control->ShowDiagnosticsButton();
    QApplication::processEvents();
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnDebg")->isVisible());
}

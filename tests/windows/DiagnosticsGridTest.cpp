// The diagnostics grid of dpCurr and dpNext, the histogram column, and the
// command line that makes the "デバッグ" button visible.

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include "WindowsFixture.h"
#include "dialogs/untDebg.h"
#include "engine/NumberFormat.h"
#include "windows/CommandLine.h"

class DiagnosticsGridTest : public WindowsFixture {
protected:
    TfrmDebg* Grid() const { return windows.diagnostics.get(); }

    // Rows 1..n of a grid column; row 0 is the heading row.
    QStringList Column(const char* grid, int column) const
    {
        const auto* table = Find<QTableWidget>(Grid(), grid);
        QStringList texts;
        for (int row = 0; row < table->rowCount(); ++row)
            texts << table->item(row, column)->text();
        return texts;
    }

    QString Number(int value) const { return QString::number(value); }
};

TEST_F(DiagnosticsGridTest, OpenedBeforeAnyWholeViewItShowsTheStartupRecordsAfterAResize)
{
    CreateWindows();
    Find<QAction>(control, "pmiInfoGrid")->trigger();
    EXPECT_TRUE(Grid()->isVisible());
    EXPECT_TRUE(drawing->isVisible());
    EXPECT_TRUE(DebugMode);
    EXPECT_EQ(Column("sgDebg", 1), QStringList(19, QString())) << "the menu item writes only headings";

    ResizePictureByHand(400, 300);
    EXPECT_EQ(Column("sgDebg", 1), (QStringList{"---", "1", Number(dpCurr.diWinW), Number(dpCurr.diWinH), "400", "300",
                                                "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "2400"}));
    QStringList next(17, QStringLiteral("0"));
    next.prepend(QStringLiteral("---"));
    next.append(Number(drawing->Picture().width()));
    EXPECT_EQ(Column("sgDebg", 2), next);

    // Closed, it is only hidden and still refreshed.
    Grid()->close();
    ShowWholeView(1);
    EXPECT_EQ(Column("sgDebg", 1)[6], "-0.5");
}

TEST_F(DiagnosticsGridTest, AWholeViewAndAZoomAsTheGridShowsThem)
{
    StartWholeView(580, 580);
    EXPECT_EQ(Column("sgDebg", 1), QStringList(19, QString())) << "refreshed outside the diagnostics mode";
    Find<QAction>(control, "pmiInfoGrid")->trigger();
    ShowWholeView(1);
    EXPECT_EQ(Column("sgDebg", 1).mid(1, 9), (QStringList{"1", Number(dpCurr.diWinW), Number(dpCurr.diWinH), "580",
                                                          "580", "-0.5", "0", "3.6", "3.6"}));

    Zoom(200, 100, 300, 150);
    const QStringList next = Column("sgDebg", 2);
    EXPECT_EQ(next.mid(1, 5), (QStringList{"2", "0", "0", "773", "387"}));
    EXPECT_EQ(next[6], QString::fromStdString(FormatGeneral15(dpCurr.dwa)));
    EXPECT_EQ(Column("sgDebg", 1).mid(1, 2), (QStringList{"2", Number(dpCurr.diWinW)}));
}

TEST_F(DiagnosticsGridTest, CountColumnIsASnapshotOfEveryCounterBesideItsNumber)
{
    CreateWindows();
    const QStringList labels = Column("sgMk", 0);
    ASSERT_EQ(labels.size(), 257);
    EXPECT_EQ(labels.first(), "0");
    EXPECT_EQ(labels.last(), "256");
    Find<QPushButton>(Grid(), "btnSetMk")->click();
    EXPECT_EQ(Column("sgMk", 1), QStringList(257, QStringLiteral("0")));

    StartWholeView(200, 150);
    Find<QPushButton>(Grid(), "btnSetMk")->click();
    const QStringList counts = Column("sgMk", 1);
    qulonglong sum = 0;
    for (int i = 0; i < 257; ++i) {
        EXPECT_EQ(counts[i], Number(int(EscapeHistogram[size_t(i)]))) << "row " << i + 1;
        sum += counts[i].toULongLong();
    }
    EXPECT_EQ(sum, 200u * 150u);
    EXPECT_NE(counts.last(), "0");

    ShowWholeView(6);
    EXPECT_EQ(Column("sgMk", 1), counts);
}

TEST(CommandLine, TakesItsOwnAndQtsOptionsAndRefusesEverythingElse)
{
    const CommandLineOptions diagnostics = ParseCommandLine({"-platform", "offscreen", "--diagnostics"});
    EXPECT_TRUE(diagnostics.error.isEmpty()) << diagnostics.error.toStdString();
    EXPECT_TRUE(diagnostics.diagnostics);
    EXPECT_FALSE(diagnostics.help || diagnostics.version);
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
    EXPECT_TRUE(ParseCommandLine({"-h"}).help);
    EXPECT_TRUE(ParseCommandLine({"--version", "-style", "fusion"}).version);
    EXPECT_TRUE(ParseCommandLine({}).error.isEmpty());

    // Near misses and strays are refused, and the message names them.
    for (const char* wrong : {"--diagnostic", "--DIAGNOSTICS", "-x", "picture.jpg"}) {
        const CommandLineOptions refused = ParseCommandLine({"--diagnostics", wrong});
        EXPECT_TRUE(refused.error.contains(QString::fromLatin1(wrong).remove(QLatin1Char('-')))) << wrong;
        EXPECT_FALSE(refused.diagnostics) << wrong;
    }
    EXPECT_FALSE(ParseCommandLine({"-platform"}).error.isEmpty());
}

TEST_F(DiagnosticsGridTest, TheDiagnosticsButtonShowsWhenAsked)
{
    CreateWindows();
    control->show();
    control->ShowDiagnosticsButton();
    QApplication::processEvents();
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnDebg")->isVisible());
}

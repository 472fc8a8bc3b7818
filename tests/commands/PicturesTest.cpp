// Pictures beyond the screen: the PNG of the picture on screen with its
// place, the export at a chosen size, and quorvex-render, all the same
// pixels for the same place, size and colour map.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>

#include "../windows/WindowsFixture.h"
#include "commands/QVCommands.h"
#include "engine/Navigation.h"
#include "engine/Place.h"

namespace {

class PicturesTest : public WindowsFixture {
protected:
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    static QImage Read(const QString& path) { return QImage(path).convertToFormat(QImage::Format_RGB32); }

    // Runs quorvex-render; its exit status.
    static int Render(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral(QUORVEX_RENDER), arguments);
        process.waitForFinished(120000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // An export runs off the user-interface thread; its end comes through the event loop.
    void ExportAndWait(QSize size, int samples)
    {
        ASSERT_TRUE(StartPictureExport(size, samples));
        QElapsedTimer waited;
        waited.start();
        while (IsExportingPicture() && waited.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    // A zoomed view of type 1 in a map of its own, on a small picture.
    void ShowZoomedView()
    {
        StartWholeView(120, 90);
        Zoom(30, 20, 70, 50);
        ChooseColorMap(kPresetSetting3);
    }
};

TEST_F(PicturesTest, ThePngTheExportAndTheCommandLineGiveTheOnScreenPicturePixelForPixel)
{
    ShowZoomedView();
    const QImage screen = Picture().convertToFormat(QImage::Format_RGB32);

    dialogs.saveFileName = Path("screen.png");
    SavePicture();
    EXPECT_EQ(Read(dialogs.saveFileName), screen);

    dialogs.saveFileName = Path("export.png");
    ExportAndWait(screen.size(), 1);
    EXPECT_EQ(Read(dialogs.saveFileName), screen);

    dialogs.saveFileName = Path("view.qvplace");
    SavePlaceFile();
    const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
    ASSERT_EQ(Render({Path("view.qvplace"), QStringLiteral("--size"), size, QStringLiteral("-o"), Path("cli.png")}), 0);
    EXPECT_EQ(Read(Path("cli.png")), screen);
    // The PNG's own place draws it again, and the program opens it.
    ASSERT_EQ(Render({Path("screen.png"), QStringLiteral("-o"), Path("again.png")}), 0);
    EXPECT_EQ(Read(Path("again.png")), screen);
    const ViewRecord shown = dpCurr;
    StepBack();
    dialogs.openFileName = Path("screen.png");
    OpenPlaceFile();
    EXPECT_EQ(dpCurr.dwa, shown.dwa);
    EXPECT_EQ(dpCurr.dwx, shown.dwx);
    EXPECT_EQ(Picture().convertToFormat(QImage::Format_RGB32), screen);
    EXPECT_TRUE(dialogs.errorTexts.isEmpty()) << dialogs.errorTexts.join(QLatin1Char('\n')).toStdString();
}

TEST_F(PicturesTest, BandsJoinedAreTheWholeAndBadArgumentsWriteNothing)
{
    ShowZoomedView();
    dialogs.saveFileName = Path("view.qvplace");
    SavePlaceFile();
    const QStringList common{Path("view.qvplace"), QStringLiteral("--aa"), QStringLiteral("2"), QStringLiteral("-o")};
    ASSERT_EQ(Render(common + QStringList{Path("whole.png")}), 0);
    QImage joined(Read(Path("whole.png")).size(), QImage::Format_RGB32);
    int top = 0;
    for (int k = 1; k <= 3; ++k) {
        const QString band = Path("band.png");
        ASSERT_EQ(Render(common + QStringList{band, QStringLiteral("--part"), QStringLiteral("%1/3").arg(k)}), 0);
        const QImage part = Read(band);
        for (int y = 0; y < part.height(); ++y)
            std::memcpy(joined.scanLine(top + y), part.constScanLine(y), size_t(part.bytesPerLine()));
        top += part.height();
    }
    EXPECT_EQ(top, joined.height());
    EXPECT_EQ(joined, Read(Path("whole.png")));

    const QString out = Path("bad.png");
    for (const QStringList& bad : {QStringList{Path("view.qvplace"), QStringLiteral("-o"), out, QStringLiteral("--aa"), QStringLiteral("5")},
                                   QStringList{Path("view.qvplace"), QStringLiteral("-o"), out, QStringLiteral("--size"), QStringLiteral("0x10")},
                                   QStringList{Path("view.qvplace"), QStringLiteral("-o"), out, QStringLiteral("--part"), QStringLiteral("4/3")},
                                   QStringList{Path("missing.qvplace"), QStringLiteral("-o"), out},
                                   QStringList{QStringLiteral("/dev/zero"), QStringLiteral("-o"), out},
                                   QStringList{Path("view.qvplace"), QStringLiteral("-o"), out, QStringLiteral("--colour-map"), Path("none.col")},
                                   QStringList{QStringLiteral("--type"), QStringLiteral("7"), QStringLiteral("-o"), out},
                                   QStringList{Path("view.qvplace")}}) {
        EXPECT_EQ(Render(bad), 2) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(PicturesTest, ACancelledOrUnwritableExportLeavesNothingBehind)
{
    ShowZoomedView();
    dialogs.saveFileName = Path("large.png");
    ASSERT_TRUE(StartPictureExport(QSize(4000, 3000), 4));
    CancelPictureExport();
    dialogs.saveFileName = QStringLiteral("/nonexistent/folder/x.png");
    ExportAndWait(QSize(40, 30), 1);
    ASSERT_EQ(dialogs.errorTexts.size(), 1);
    EXPECT_TRUE(dialogs.errorTexts[0].startsWith(QStringLiteral("画像ファイルを保存できません:")));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

}  // namespace

// The start-up picture size from the settings file and the screen, and the
// settings file written when the control window closes.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <sys/stat.h>

#include "WindowsFixture.h"
#include "colour/model/ColorMap.h"
#include "engine/History.h"

namespace {

const QSize kSmallScreen(1024, 768);
const QSize kLargeScreen(4000, 3000);

// A plain file standing where a folder is looked for: nothing can be created
// below it, whoever runs the test.
QString MakeBlocker(const QTemporaryDir& dir)
{
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    if (file.open(QIODevice::WriteOnly))
        file.write("not a folder");
    return blocker;
}
// Frame height of the drawing window: the tallest picture it shows is 1168.
constexpr int kFrame = 30;

}  // namespace

TEST(StartupPictureSide, StoredSidesWithinTheScreenAreAveragedTowardZero)
{
    EXPECT_EQ(StartupPictureSide(700, 500, kSmallScreen, kFrame), 600);
    EXPECT_EQ(StartupPictureSide(581, 600, kLargeScreen, kFrame), 590);
    EXPECT_EQ(StartupPictureSide(300, 301, kLargeScreen, kFrame), 300);
}

TEST(StartupPictureSide, MissingOrNonPositiveSidesBecome580)
{
    EXPECT_EQ(StartupPictureSide(0, 0, kLargeScreen, kFrame), 580);
    EXPECT_EQ(StartupPictureSide(-1, 700, kLargeScreen, kFrame), 640);
    EXPECT_EQ(StartupPictureSide(700, -700, kLargeScreen, kFrame), 640);
}

TEST(StartupPictureSide, ASideReachingItsScreenDimensionBecomes600)
{
    EXPECT_EQ(StartupPictureSide(1100, 500, kSmallScreen, kFrame), 550);
    EXPECT_EQ(StartupPictureSide(1024, 767, kSmallScreen, kFrame), (600 + 767) / 2);
    EXPECT_EQ(StartupPictureSide(1023, 768, kSmallScreen, kFrame), (1023 + 600) / 2);
    // Each side is tested against its own dimension: 900 fits the width only.
    EXPECT_EQ(StartupPictureSide(900, 900, kSmallScreen, kFrame), (900 + 600) / 2);
}

TEST(StartupPictureSide, TheFallbacksAreTestedOnlyWhereTheRuleSays)
{
    // 600 itself is not tested again, even on a screen narrower than that.
    EXPECT_EQ(StartupPictureSide(700, 700, QSize(500, 400), kFrame), 600);
    // The default 580 is tested against the screen like a stored value.
    EXPECT_EQ(StartupPictureSide(0, 0, QSize(580, 2000), kFrame), 590);
}

TEST(StartupPictureSide, SidesBeyondTheWindowLimitsAreClampedAfterTheScreenTest)
{
    EXPECT_EQ(StartupPictureSide(3000, 3000, kLargeScreen, kFrame), (1600 + 600) / 2);
    EXPECT_EQ(StartupPictureSide(500, 1300, kLargeScreen, kFrame), (500 + 1200) / 2);
    // The screen test comes first: clamped first, these would fit the screen.
    EXPECT_EQ(StartupPictureSide(1700, 600, QSize(1650, 3000), kFrame), 600);
    EXPECT_EQ(StartupPictureSide(500, 1300, QSize(4000, 1250), kFrame), 550);
}

TEST(StartupPictureSide, TheSquareIsNoTallerThanTheDrawingWindowCanShow)
{
    // The largest window, 1200 rows outside with a 26-row frame, shows 1172 rows.
    EXPECT_EQ(StartupPictureSide(1594, 1173, kLargeScreen, 26), 1172);
    EXPECT_EQ(StartupPictureSide(1449, 1449, kLargeScreen, 26), 1172);
    EXPECT_EQ(StartupPictureSide(100000, 100000, QSize(200000, 200000), 26), 1172);
    EXPECT_EQ(StartupPictureSide(1449, 1449, kLargeScreen, 40), 1158);
    // Up to that height the rule is unchanged.
    EXPECT_EQ(StartupPictureSide(1172, 1173, kLargeScreen, 26), 1172);
    EXPECT_EQ(StartupPictureSide(1171, 1172, kLargeScreen, 26), 1171);
}

class StartupTest : public WindowsFixture {
protected:
    // The program started again after it has ended, with the same settings file.
    void Restart()
    {
        DestroyWindows();
        CreateWindows();
    }

    QVariant StoredValue(const QString& key) const
    {
        const QSettings settings(SettingsPath(), QSettings::IniFormat);
        return settings.value(key);
    }
};

TEST_F(StartupTest, WithoutSettingsThePictureIs580AndClosingWritesTheFile)
{
    CreateWindows();
    EXPECT_EQ(dpCurr.diImgW, 580);
    EXPECT_EQ(dpCurr.diImgH, 580);
    EXPECT_EQ(drawing->OuterSize(), QSize(586, 580 + drawing->FrameHeight() + 2));
    EXPECT_FALSE(QFile::exists(SettingsPath()));

    control->close();

    ASSERT_TRUE(QFile::exists(SettingsPath()));
    const QSettings settings(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(settings.childGroups(), QStringList{QStringLiteral("SizeParam")});
    EXPECT_EQ(settings.value(QStringLiteral("SizeParam/ImageW")).toString(), QStringLiteral("580"));
    EXPECT_EQ(settings.value(QStringLiteral("SizeParam/ImageH")).toString(), QStringLiteral("580"));
}

TEST_F(StartupTest, CreationPutsTheProgramWideStateToItsStartValues)
{
    // Leftovers that the control window's creation must replace.
    EditedParams.Gz.re = 5.0L;
    EditedParams.Og.im = 2.0L;
    KeyStep = 1.0L;
    DebugMode = true;
    currentColorMap.fill(ColorMapEntry{0, 1, 2, 3});
    dpCurr.diType = 3;
    dpCurr.dinum = 7;
    dpCurr.dwa = 1.0L;
    PushView(BackStack);
    PushView(ForwardStack);

    CreateWindows();

    EXPECT_EQ(dpCurr.diType, 0);
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_EQ(dpCurr.dwa, 0.0L);
    EXPECT_TRUE(BackStack.empty());
    EXPECT_TRUE(ForwardStack.empty());
    EXPECT_FALSE(DebugMode);
    EXPECT_EQ(KeyStep, StartupKeyStep());
    EXPECT_EQ(EditedParams.Gz.re, 1.01L);
    EXPECT_EQ(EditedParams.It.re, 1.12L);
    EXPECT_EQ(EditedParams.Rm.re, 1.18L);
    EXPECT_EQ(EditedParams.Og.re, 0.0L);
    EXPECT_EQ(EditedParams.Og.im, 0.0L);
    ColorMap setting1;
    FillPresetColorMap(setting1, kPresetSetting1);
    EXPECT_TRUE(SameColorMap(currentColorMap, setting1));
    EXPECT_TRUE(Find<QAction>(control, "pmiColorDefault")->isChecked());
    EXPECT_EQ(control->pos(), QPoint(8, 8));
    EXPECT_GT(drawing->FrameHeight(), 0);
    const QImage& indicator = Find<TQVImage>(control, "imgIndicater")->Picture();
    EXPECT_EQ(indicator.size(), QSize(128, 128));
    int nonWhite = 0;
    for (int y = 0; y < indicator.height(); ++y)
        for (int x = 0; x < indicator.width(); ++x)
            nonWhite += (indicator.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu;
    EXPECT_EQ(nonWhite, 0);
}

struct StoredSizeCase {
    const char* settingsText;
    QSize screen;
    int expectedSide;
};

void PrintTo(const StoredSizeCase& c, std::ostream* out)
{
    *out << '"' << c.settingsText << "\" on " << c.screen.width() << 'x' << c.screen.height();
}

class StoredSizeTest : public StartupTest, public ::testing::WithParamInterface<StoredSizeCase> {};

TEST_P(StoredSizeTest, StartsWithTheSquarePictureTheRulesGive)
{
    const StoredSizeCase& c = GetParam();
    StoreSettings(QString::fromUtf8(c.settingsText));
    TfrmQVCtrl::SetScreenSizeForTests(c.screen);

    CreateWindows();

    EXPECT_EQ(dpCurr.diImgW, c.expectedSide);
    EXPECT_EQ(dpCurr.diImgH, c.expectedSide);
    // The drawing window has sized itself from it.
    EXPECT_EQ(dpCurr.diWinW, c.expectedSide + 6);
    EXPECT_EQ(dpCurr.diWinH, c.expectedSide + drawing->FrameHeight() + 2);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFiles, StoredSizeTest,
    ::testing::Values(StoredSizeCase{"[SizeParam]\nImageW=700\nImageH=500\n", kSmallScreen, 600},
                      StoredSizeCase{"[SizeParam]\nImageW=1100\nImageH=500\n", kSmallScreen, 550},
                      StoredSizeCase{"[SizeParam]\nImageW=581\nImageH=600\n", kLargeScreen, 590},
                      StoredSizeCase{"[SizeParam]\nImageW=0\nImageH=0\n", kLargeScreen, 580},
                      StoredSizeCase{"[SizeParam]\nImageW=abc\nImageH=600\n", kLargeScreen, 590},
                      StoredSizeCase{"[SizeParam]\nImageW=abc\nImageH=abc\n", kLargeScreen, 580},
                      StoredSizeCase{"[SizeParam]\nImageW=612.5\nImageH=700\n", kLargeScreen, 640},
                      StoredSizeCase{"[SizeParam]\nImageW=-100\nImageH=700\n", kLargeScreen, 640},
                      StoredSizeCase{"[SizeParam]\nImageW=3000\nImageH=3000\n", kLargeScreen, 1100},
                      StoredSizeCase{"[SizeParam]\nImageW=700\n", kLargeScreen, 640},
                      StoredSizeCase{"[Other]\nImageW=700\nImageH=700\n", kLargeScreen, 580}));

TEST_F(StartupTest, TheLargestStoredWindowStartsWithAPictureShownWhole)
{
    StoreSettings(QStringLiteral("[SizeParam]\nImageW=1594\nImageH=1173\n"));
    TfrmQVCtrl::SetScreenSizeForTests(kLargeScreen);

    StartWholeView();

    const int side = kMaxPictureHeight - drawing->FrameHeight() - 2;
    EXPECT_EQ(dpCurr.diImgW, side);
    EXPECT_EQ(dpCurr.diImgH, side);
    EXPECT_EQ(drawing->size(), TfrmQVView::ClientSizeForPicture(side, side));
    EXPECT_EQ(LastRenderedArea.rows, side);
}

TEST_F(StartupTest, ClosingKeepsOtherSectionsAndKeys)
{
    StoreSettings(QStringLiteral("[Window]\nLeft=12\nCaption=abc\n"
                                 "[SizeParam]\nImageW=700\nImageH=500\nZoom=3\n"));
    CreateWindows();

    control->close();

    EXPECT_EQ(StoredValue(QStringLiteral("Window/Left")).toString(), QStringLiteral("12"));
    EXPECT_EQ(StoredValue(QStringLiteral("Window/Caption")).toString(), QStringLiteral("abc"));
    EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/Zoom")).toString(), QStringLiteral("3"));
    EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageW")).toString(), QStringLiteral("600"));
    EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageH")).toString(), QStringLiteral("600"));
}

TEST_F(StartupTest, ClosingStoresTheCurrentPictureSizeEvenWhenNotSquare)
{
    CreateWindows();
    dpCurr.diImgW = 640;
    dpCurr.diImgH = 480;

    control->close();

    EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageW")).toInt(), 640);
    EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageH")).toInt(), 480);
}

TEST_F(StartupTest, AHandResizedPictureIsStoredAndTheNextStartMakesItSquare)
{
    CreateWindows();
    drawing->show();
    drawing->SetTrackResize(true);
    ResizePictureByHand(700, 500);
    ASSERT_EQ(dpCurr.diImgW, 700);
    ASSERT_EQ(dpCurr.diImgH, 500);

    control->close();
    EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageW")).toInt(), 700);
    EXPECT_EQ(StoredValue(QStringLiteral("SizeParam/ImageH")).toInt(), 500);

    Restart();
    EXPECT_EQ(dpCurr.diImgW, 600);
    EXPECT_EQ(dpCurr.diImgH, 600);
}

TEST_F(StartupTest, AnUnwritableSettingsFileStillLetsTheProgramEnd)
{
    const QString unwritable = MakeBlocker(folder) + QStringLiteral("/Qorvix.ini");
    SetSettingsFilePathForTests(unwritable);
    CreateWindows();
    EXPECT_EQ(dpCurr.diImgW, 580);
    drawing->show();
    PushView(BackStack);
    PushView(ForwardStack);
    EXPECT_FALSE(WriteStoredPictureSize(580, 580));

    control->close();

    EXPECT_TRUE(CancelRequested);
    EXPECT_TRUE(BackStack.empty());
    EXPECT_TRUE(ForwardStack.empty());
    EXPECT_FALSE(drawing->isVisible());
    EXPECT_FALSE(QFile::exists(unwritable));
    // A second close and the events still queued touch nothing released.
    control->close();
    QApplication::processEvents();
    EXPECT_TRUE(BackStack.empty());
    EXPECT_EQ(frmQVCtrl, control);
}

TEST(SettingsFileLocation, BesideABuildTreesProgramElseInTheProgramsConfigurationFolder)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString kept = config + QStringLiteral("/quorvex/Qorvix.ini");

    // Installed: a writable bin folder, as root has, is not a place for settings.
    EXPECT_EQ(SettingsFilePathFor(dir.filePath(QStringLiteral("Qorvix")), config), kept);
    QFile cache(dir.filePath(QStringLiteral("CMakeCache.txt")));
    ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
    cache.close();
    EXPECT_EQ(SettingsFilePathFor(dir.filePath(QStringLiteral("Qorvix")), config),
              dir.filePath(QStringLiteral("Qorvix.ini")));
    EXPECT_EQ(SettingsFilePathFor(MakeBlocker(dir) + QStringLiteral("/Qorvix"), config), kept);
    EXPECT_EQ(SettingsFilePathFor(dir.filePath(QStringLiteral("missing/Qorvix.bin")), config), kept);
}

TEST_F(StartupTest, AProgramInAnUnwritableFolderKeepsItsSizeInTheConfigurationFolder)
{
    const QString config = folder.filePath(QStringLiteral("home/.config"));
    const QString path = SettingsFilePathFor(MakeBlocker(folder) + QStringLiteral("/Qorvix"), config);
    ASSERT_EQ(QFileInfo(path).path(), config + QStringLiteral("/quorvex"));
    SetSettingsFilePathForTests(path);
    CreateWindows();
    dpCurr.diImgW = 640;
    dpCurr.diImgH = 480;

    control->close();
    Restart();

    EXPECT_EQ(dpCurr.diImgW, 560);
    EXPECT_EQ(dpCurr.diImgH, 560);
}

TEST_F(StartupTest, APipeOrAFolderAsSettingsFileCountsAsMissingAndIsLeftAlone)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(SettingsPath()).constData(), 0644), 0);
    CreateWindows();
    EXPECT_EQ(dpCurr.diImgW, 580);
    EXPECT_FALSE(WriteStoredPictureSize(580, 580));
    control->close();
    const QFileInfo pipe(SettingsPath());
    EXPECT_TRUE(pipe.exists() && !pipe.isFile() && !pipe.isDir() && !pipe.isSymLink());

    DestroyWindows();
    ASSERT_TRUE(QFile::remove(SettingsPath()) && QDir().mkdir(SettingsPath()));
    CreateWindows();
    EXPECT_EQ(dpCurr.diImgW, 580);
    control->close();
    EXPECT_TRUE(QFileInfo(SettingsPath()).isDir());
}

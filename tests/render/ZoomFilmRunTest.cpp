// Zoom films, raw data and bands from quorvex-render as whole processes.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Formulas.h"
#include "engine/JuliaTable.h"
#include "engine/PlaceView.h"
#include "files/RawIterationFiles.h"
#include "render/RenderRegion.h"
#include "render/VideoPipe.h"
#include "render/ZoomSchedule.h"

namespace {

// A place 1e-8 across near the seahorse valley.
constexpr char kDeep[] = "--type 1 --centre -0.743643887037151,0.131825904205330 --extent 1e-8,0.75e-8 --size 48x36 "
                         "--limit 4096 ";

std::string Hex(long double a, long double b)
{
    char text[128];
    std::snprintf(text, sizeof text, "%La,%La", a, b);
    return text;
}

class ZoomFilmRunTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder.filePath(QString::fromStdString(name)).toStdString(); }

    // quorvex-render with the words of `line`, "@name" a file in the test's folder.
    pid_t Start(const std::string& line) const
    {
        std::vector<std::string> words{QUORVEX_RENDER};
        std::istringstream in(line);
        for (std::string word; in >> word;)
            words.push_back(word[0] == '@' ? Path(word.substr(1)) : word);
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 2, Path("stderr.txt").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        pid_t child = -1;
        EXPECT_EQ(::posix_spawn(&child, argv[0], &files, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&files);
        return child;
    }
    static int Wait(pid_t child)
    {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }
    int Run(const std::string& line) const { return Wait(Start(line)); }
    std::string Messages() const
    {
        QFile file(QString::fromStdString(Path("stderr.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    QImage Read(const std::string& name) const
    {
        return QImage(QString::fromStdString(Path(name))).convertToFormat(QImage::Format_RGB32);
    }
    QStringList Files(const QString& under = {}) const
    {
        return QDir(folder.filePath(under)).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // Each frame is the picture of its view drawn alone from the command
    // line, the views those of the program's schedule from the place's PNG.
    void ExpectFramesDrawnAlone(int frames, const char* pattern, const std::string& depth,
                                const FilmView* start = nullptr) const
    {
        Place place;
        std::string reason;
        ASSERT_TRUE(ReadPlaceFile(Path("place.png"), place, reason)) << reason;
        const PlaneRegion r = RegionOfPlace(place).plane;
        const FilmView target{r.centreX, r.centreY, r.extentX, r.extentY};
        const ViewRecord whole = WholeViewOfPlace(place);
        const FilmView wholeView{whole.dwa, whole.dwb, whole.dwx, whole.dwy};
        ZoomSchedule schedule;
        ASSERT_TRUE(ZoomSchedule::Make(start ? *start : StartInProportion(wholeView, target), target, frames, schedule,
                                       reason));
        for (int k = 0; k < frames; ++k) {
            const FilmView v = schedule.Frame(k);
            ASSERT_EQ(Run("--type 1 --size 48x36 -o @alone.png " + depth + " --centre " + Hex(v.centreRe, v.centreIm) +
                          " --extent " + Hex(v.extentRe, v.extentIm)),
                      0) << Messages();
            char name[64];
            std::snprintf(name, sizeof name, pattern, k);
            EXPECT_TRUE(Read(name) == Read("alone.png")) << name;
        }
    }

    QTemporaryDir folder;
};

TEST_F(ZoomFilmRunTest, AFilmSpreadOverTwoProcessesIsEveryViewDrawnAloneAndJoinsIntoAVideo)
{
    ASSERT_EQ(Run(std::string(kDeep) + "-o @place.png"), 0) << Messages();
    const pid_t first = Start("@place.png --zoom-frames 48 --frames 0-23 -o @f-%05d.png");
    const pid_t second = Start("@place.png --zoom-frames 48 --frames 24-47 -o @f-%05d.png");
    ASSERT_EQ(Wait(first), 0) << Messages();
    ASSERT_EQ(Wait(second), 0) << Messages();
    EXPECT_EQ(Files().filter("f-").size(), 48);
    ExpectFramesDrawnAlone(48, "f-%05d.png", "--limit 4096");
    EXPECT_TRUE(Read("f-00047.png") == Read("place.png"));

    // The window tests hide the PATH; ffmpeg is where the system keeps it.
    const std::string hidden = std::getenv("PATH");
    ::setenv("PATH", "/usr/local/bin:/usr/bin:/bin", 1);
    const auto restore = qScopeGuard([&] { ::setenv("PATH", hidden.c_str(), 1); });
    const std::string ffmpeg = FindProgram("ffmpeg"), ffprobe = FindProgram("ffprobe");
    if (ffmpeg.empty() || ffprobe.empty())
        GTEST_SKIP() << "ffmpeg is not installed";
    const std::string join = ffmpeg + " -v error -framerate 30 -i '" + Path("f-%05d.png") +
                             "' -c:v libx264 -pix_fmt yuv420p '" + Path("joined.mp4") + "'";
    ASSERT_EQ(std::system(join.c_str()), 0);
    ASSERT_EQ(Run("@place.png --zoom-frames 48 --video @direct.mp4 --fps 25"), 0) << Messages();
    for (const char* video : {"joined.mp4", "direct.mp4"}) {
        FILE* out = ::popen((ffprobe + " -v error -count_frames -select_streams v:0 -show_entries "
                                       "stream=nb_read_frames -of csv=p=0 '" + Path(video) + "'").c_str(), "r");
        char line[64] = {};
        ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
        ::pclose(out);
        EXPECT_STREQ(line, "48\n") << video;
    }
}

// Halving each frame exactly, the film takes each frame's inner quarter from
// the deeper frame; the pictures stay those of each view drawn alone.
TEST_F(ZoomFilmRunTest, AFilmThatHalvesEachFrameIsStillEveryViewDrawnAlone)
{
    const std::string depth = "--limit 1024 --colouring smooth";
    ASSERT_EQ(Run("--type 1 --centre -0.743643887037151,0.131825904205330 --extent 0x1p-20,0x1.8p-21 --size 48x36 "
                  "-o @place.png " + depth), 0);
    ASSERT_EQ(Run("@place.png --zoom-frames 10 --zoom-start 0x1p-11,0x1.8p-12 -o @h-%d.png"), 0) << Messages();
    const FilmView start{-0.743643887037151L, 0.131825904205330L, 0x1p-11L, 0x1.8p-12L};
    ExpectFramesDrawnAlone(10, "h-%d.png", depth, &start);
}

// Halving from views the direct kernels draw into deep ones: a deep frame
// keeps no samples for the frame drawn after it.
TEST_F(ZoomFilmRunTest, AHalvingFilmIntoDeepViewsIsStillEveryViewDrawnAlone)
{
    ASSERT_EQ(Run("--type 1 --centre 0,1 --extent 0x1p-56,0x1.8p-57 --size 48x36 --limit 1024 -o @place.png"), 0);
    ASSERT_EQ(Run("@place.png --zoom-frames 17 --zoom-start 0x1p-40,0x1.8p-41 -o @d-%d.png"), 0) << Messages();
    const FilmView start{0, 1, 0x1p-40L, 0x1.8p-41L};
    ExpectFramesDrawnAlone(17, "d-%d.png", "--limit 1024", &start);
}

// A Julia place's film starts from the Julia set's whole view, not the plane's.
TEST_F(ZoomFilmRunTest, AJuliaFilmStartsFromTheWholeViewOfItsJuliaSet)
{
    const std::string julia = "--julia -0.8,0.156";
    ASSERT_EQ(Run("--type 1 --centre 0.1,0.2 --extent 0.01,0.0075 --size 48x36 -o @place.png " + julia), 0);
    ASSERT_EQ(Run("@place.png --zoom-frames 3 -o @j-%d.png"), 0) << Messages();
    Place place;
    std::string reason;
    ASSERT_TRUE(ReadPlaceFile(Path("place.png"), place, reason)) << reason;
    const PlaneRegion r = RegionOfPlace(place).plane;
    const PlaneRegion w = JuliaWholeRegion(1, place.params, PictureSize{place.wholeWidth, place.wholeHeight});
    const FilmView start = StartInProportion(FilmView{w.centreX, w.centreY, w.extentX, w.extentY},
                                             FilmView{r.centreX, r.centreY, r.extentX, r.extentY});
    ExpectFramesDrawnAlone(3, "j-%d.png", julia, &start);
}

TEST_F(ZoomFilmRunTest, AnInterruptedFilmLeavesOnlyWholeFramesAndResumesToTheWholeFilm)
{
    ASSERT_EQ(Run(std::string(kDeep) + "--size 160x120 -o @place.png"), 0) << Messages();
    ASSERT_TRUE(QDir(folder.path()).mkpath("cut") && QDir(folder.path()).mkpath("whole"));
    const std::string film = "@place.png --zoom-frames 24 --threads 1 -o ";
    const pid_t child = Start(film + "@cut/f-%02d.png");
    // Until four frames are whole (the new file of a fifth is hidden).
    for (int waited = 0; QDir(folder.filePath("cut")).entryList(QDir::Files).size() < 4 && waited < 1000; ++waited)
        QThread::msleep(10);
    ::kill(child, SIGTERM);
    EXPECT_EQ(Wait(child), 128 + SIGTERM);
    const QStringList left = Files("cut");
    EXPECT_GE(left.size(), 4);
    EXPECT_LT(left.size(), 24);
    for (const QString& name : left)
        EXPECT_EQ(Read("cut/" + name.toStdString()).size(), QSize(160, 120)) << name.toStdString();
    ASSERT_EQ(Run(film + "@cut/f-%02d.png"), 0) << Messages();
    ASSERT_EQ(Run(film + "@whole/f-%02d.png"), 0) << Messages();
    ASSERT_EQ(Files("cut"), Files("whole"));
    EXPECT_EQ(Files("cut").size(), 24);
    for (const QString& name : Files("whole"))
        EXPECT_TRUE(Read("cut/" + name.toStdString()) == Read("whole/" + name.toStdString())) << name.toStdString();
}

// N holds each pixel's escape count plus the bias, 0xFFFFFFFF where it did
// not escape; NF the smooth colouring's fraction. EXR frames hold the same.
TEST_F(ZoomFilmRunTest, RawDataHoldsTheEscapeCountsOfThePicture)
{
    const long double cre = -0.745L, cim = 0.11L, wre = 0.03L, wim = 0.0225L;
    ASSERT_EQ(Run("--type 1 --size 40x30 --limit 1024 --colouring smooth --raw @raw.exr -o @view.png --centre " +
                  Hex(cre, cim) + " --extent " + Hex(wre, wim)), 0) << Messages();
    ASSERT_EQ(Run("@view.png --zoom-frames 3 -o @r-%d.exr"), 0) << Messages();
    EXPECT_EQ(Files(), (QStringList{"r-0.exr", "r-1.exr", "r-2.exr", "raw.exr", "stderr.txt", "view.png"}));
    RawIterationData data, frame;
    std::string reason;
    ASSERT_TRUE(ReadRawIterationFile(Path("raw.exr"), "quorvex-place", data, reason)) << reason;
    ASSERT_TRUE(ReadRawIterationFile(Path("r-2.exr"), "quorvex-place", frame, reason)) << reason;
    ASSERT_EQ(data.width * data.height, 1200);
    EXPECT_EQ(data.limit, 1024);
    EXPECT_EQ(data.bias, 1);
    ASSERT_TRUE(data.hasFraction);
    EXPECT_EQ(frame.n, data.n);
    const PlaneRegion region{cre, cim, wre, wim, 0, 0, 40, 30};
    int captured = 0;
    for (size_t at = 0; at < 1200; ++at) {
        const int x = int(at % 40), y = int(at / 40);
        EscapeEnd end;
        const EscapeCount count =
            IteratePoint(Iteration{1, StartupEditedParams(), 1024}, region.RenderRe(x), region.RenderIm(y), &end);
        captured += count >= 1024;
        ASSERT_EQ(data.n[at], count >= 1024 ? 0xFFFFFFFFu : uint32_t(count) + 1) << x << "," << y;
        ASSERT_EQ(data.nf[at], count < 1024 ? RawFractionValue(SmoothFraction(end)) : 0.0f) << x << "," << y;
    }
    EXPECT_GT(captured, 0);
}

TEST_F(ZoomFilmRunTest, ABandsPngDrawsThatBandAgain)
{
    const std::string view = "--type 1 --centre -0.745,0.11 --extent 0.03,0.0225 --size 60x45 ";
    ASSERT_EQ(Run(view + "--part 2/3 -o @band.png"), 0);
    ASSERT_EQ(Run(view + "-o @whole.png"), 0);
    ASSERT_EQ(Run("@band.png -o @again.png"), 0) << Messages();
    EXPECT_EQ(Read("again.png").size(), QSize(60, 15));
    EXPECT_TRUE(Read("again.png") == Read("band.png"));
    EXPECT_TRUE(Read("band.png") == Read("whole.png").copy(0, 15, 60, 15));
}

TEST_F(ZoomFilmRunTest, BadFilmsAreRefusedWithStatusTwoAndNoFile)
{
    QFile(QString::fromStdString(Path("file"))).open(QIODevice::WriteOnly);
    for (const char* refused :
         {"--zoom-frames 1", "--zoom-frames 8 --frames 5-3", "--zoom-frames 8 --frames 8", "--zoom-frames 8 -o @f.png",
          "--zoom-frames 8 -o @f%d-%d.png", "--zoom-frames 8 -o @missing/f%d.png", "--zoom-frames 8 -o @file/f%d.png",
          "--zoom-frames 8 --video @f.avi", "--zoom-frames 8 --video @f.mp4 -o @f%d.png",
          "--zoom-frames 8 --part 1/2 -o @f%d.png", "--frames 1-2 -o @f.png", "--raw @raw.png",
          "--raw @raw.exr --aa 2"})
        EXPECT_EQ(Run(kDeep + std::string(refused)), 2) << refused;
    EXPECT_EQ(Files(), (QStringList{"file", "stderr.txt"}));
    // Without ffmpeg on the PATH (hidden in the window tests), no video, and the reason.
    EXPECT_EQ(Run(kDeep + std::string("--zoom-frames 4 --video @film.mp4")), 1);
    EXPECT_NE(Messages().find("ffmpeg was not found"), std::string::npos) << Messages();
    EXPECT_EQ(Files(), (QStringList{"file", "stderr.txt"}));
}

}  // namespace

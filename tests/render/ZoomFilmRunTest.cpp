// Zoom films, raw data and bands from quorvex-render as whole processes:
// every frame the picture of its view drawn alone, films spread over
// processes, interrupted and resumed, joined into a video; raw counts read
// back with the OpenEXR library; a band's PNG drawing that band again.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/Formulas.h"
#include "engine/PlaceView.h"
#include "files/RawIterationFiles.h"
#include "render/RenderRegion.h"
#include "render/VideoPipe.h"
#include "render/ZoomSchedule.h"

namespace {

// The deep place: 1e-8 across, near the seahorse valley.
const std::vector<std::string> kDeep{"--type", "1", "--centre", "-0.743643887037151,0.131825904205330", "--extent",
                                     "1e-8,0.75e-8", "--size", "48x36", "--limit", "4096"};

std::string Hex(long double a, long double b)
{
    char text[128];
    std::snprintf(text, sizeof text, "%La,%La", a, b);
    return text;
}

class ZoomFilmRunTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder.filePath(QString::fromStdString(name)).toStdString(); }

    pid_t Start(std::vector<std::string> words) const
    {
        words.insert(words.begin(), QUORVEX_RENDER);
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
    int Run(const std::vector<std::string>& words) const { return Wait(Start(words)); }
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

    // The film's schedule of views, as the program makes it from the place.
    ZoomSchedule ScheduleOf(const std::string& placePng, int frames, const FilmView* start = nullptr) const
    {
        Place place;
        std::string reason;
        EXPECT_TRUE(ReadPlaceFile(placePng, place, reason)) << reason;
        const PlaneRegion r = RegionAtSize(place, place.width, place.height, false).plane;
        const FilmView target{r.centreX, r.centreY, r.extentX, r.extentY};
        const ViewRecord whole = WholeViewOfPlace(place);
        ZoomSchedule schedule;
        EXPECT_TRUE(ZoomSchedule::Make(start ? *start : StartInProportion({whole.dwa, whole.dwb, whole.dwx, whole.dwy}, target),
                                       target, frames, schedule, reason));
        return schedule;
    }

    // Each frame is the picture of its view drawn alone from the command line.
    void ExpectFramesDrawnAlone(const ZoomSchedule& schedule, const char* pattern, std::vector<std::string> extra) const
    {
        for (int k = 0; k < schedule.Frames(); ++k) {
            SCOPED_TRACE(k);
            const FilmView v = schedule.Frame(k);
            std::vector<std::string> alone{"--type", "1", "--centre", Hex(v.centreRe, v.centreIm), "--extent",
                                           Hex(v.extentRe, v.extentIm), "--size", "48x36", "-o", Path("alone.png")};
            alone.insert(alone.end(), extra.begin(), extra.end());
            ASSERT_EQ(Run(alone), 0) << Messages();
            char name[64];
            std::snprintf(name, sizeof name, pattern, k);
            EXPECT_TRUE(Read(name) == Read("alone.png"));
        }
    }

    QTemporaryDir folder;
};

TEST_F(ZoomFilmRunTest, AFilmSpreadOverTwoProcessesIsEveryViewDrawnAloneAndJoinsIntoAVideo)
{
    std::vector<std::string> place = kDeep;
    place.insert(place.end(), {"-o", Path("place.png")});
    ASSERT_EQ(Run(place), 0) << Messages();
    const pid_t first = Start({Path("place.png"), "--zoom-frames", "48", "--frames", "0-23", "-o", Path("f-%05d.png")});
    const pid_t second = Start({Path("place.png"), "--zoom-frames", "48", "--frames", "24-47", "-o", Path("f-%05d.png")});
    ASSERT_EQ(Wait(first), 0) << Messages();
    ASSERT_EQ(Wait(second), 0) << Messages();
    ExpectFramesDrawnAlone(ScheduleOf(Path("place.png"), 48), "f-%05d.png", {"--limit", "4096"});
    EXPECT_TRUE(Read("f-00047.png") == Read("place.png"));

    // The window tests hide the PATH; ffmpeg is where the system keeps it.
    const std::string hidden = std::getenv("PATH");
    ::setenv("PATH", "/usr/local/bin:/usr/bin:/bin", 1);
    const std::string ffmpeg = FindProgram("ffmpeg"), ffprobe = FindProgram("ffprobe");
    const auto restore = qScopeGuard([&] { ::setenv("PATH", hidden.c_str(), 1); });
    if (ffmpeg.empty() || ffprobe.empty())
        GTEST_SKIP() << "ffmpeg is not installed";
    const std::string join = ffmpeg + " -v error -framerate 30 -i '" + Path("f-%05d.png") +
                             "' -c:v libx264 -pix_fmt yuv420p '" + Path("joined.mp4") + "'";
    ASSERT_EQ(std::system(join.c_str()), 0);
    ASSERT_EQ(Run({Path("place.png"), "--zoom-frames", "48", "--video", Path("direct.mp4"), "--fps", "25"}), 0)
        << Messages();
    for (const char* video : {"joined.mp4", "direct.mp4"}) {
        const std::string probe = ffprobe + " -v error -count_frames -select_streams v:0 -show_entries "
                                            "stream=nb_read_frames -of csv=p=0 '" + Path(video) + "'";
        FILE* out = ::popen(probe.c_str(), "r");
        char line[64] = {};
        ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
        ::pclose(out);
        EXPECT_EQ(std::string(line), "48\n") << video;
    }
}

// Halving each frame exactly, the film takes each frame's inner quarter from
// the deeper frame; the pictures stay those of each view drawn alone.
TEST_F(ZoomFilmRunTest, AFilmThatHalvesEachFrameIsStillEveryViewDrawnAlone)
{
    ASSERT_EQ(Run({"--type", "1", "--centre", "-0.743643887037151,0.131825904205330", "--extent", "0x1p-20,0x1.8p-21",
                   "--size", "48x36", "--limit", "1024", "--colouring", "smooth", "-o", Path("place.png")}),
              0);
    ASSERT_EQ(Run({Path("place.png"), "--zoom-frames", "10", "--zoom-start", "0x1p-11,0x1.8p-12", "-o",
                   Path("h-%d.png")}),
              0)
        << Messages();
    const FilmView start{-0.743643887037151L, 0.131825904205330L, 0x1p-11L, 0x1.8p-12L};
    ExpectFramesDrawnAlone(ScheduleOf(Path("place.png"), 10, &start), "h-%d.png",
                           {"--limit", "1024", "--colouring", "smooth"});
}

TEST_F(ZoomFilmRunTest, AnInterruptedFilmLeavesOnlyWholeFramesAndResumesToTheWholeFilm)
{
    std::vector<std::string> place = kDeep;
    place.insert(place.end(), {"--size", "160x120", "-o", Path("place.png")});
    ASSERT_EQ(Run(place), 0) << Messages();
    ASSERT_TRUE(QDir(folder.path()).mkpath("cut") && QDir(folder.path()).mkpath("whole"));
    const std::vector<std::string> film{Path("place.png"), "--zoom-frames", "24", "--threads", "1"};
    const auto into = [&](const char* pattern) {
        std::vector<std::string> words = film;
        words.insert(words.end(), {"-o", Path(pattern)});
        return words;
    };
    const pid_t child = Start(into("cut/f-%02d.png"));
    // Until four frames are whole (the new file of a fifth is hidden).
    for (int waited = 0; QDir(folder.filePath("cut")).entryList(QDir::Files).size() < 4 && waited < 1000; ++waited)
        QThread::msleep(10);
    ::kill(child, SIGTERM);
    EXPECT_EQ(Wait(child), 128 + SIGTERM);
    const QStringList left = Files("cut");
    EXPECT_GE(left.size(), 4);
    EXPECT_LT(left.size(), 24);
    for (const QString& name : left) {
        EXPECT_FALSE(name.startsWith('.')) << name.toStdString();
        EXPECT_EQ(Read("cut/" + name.toStdString()).size(), QSize(160, 120)) << name.toStdString();
    }
    ASSERT_EQ(Run(into("cut/f-%02d.png")), 0) << Messages();
    ASSERT_EQ(Run(into("whole/f-%02d.png")), 0) << Messages();
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
    const std::vector<std::string> view{"--type", "1", "--centre", Hex(cre, cim), "--extent", Hex(wre, wim), "--size",
                                        "40x30", "--limit", "1024", "--colouring", "smooth"};
    std::vector<std::string> single = view;
    single.insert(single.end(), {"--raw", Path("raw.exr"), "-o", Path("view.png")});
    ASSERT_EQ(Run(single), 0) << Messages();
    ASSERT_EQ(Run({Path("view.png"), "--zoom-frames", "3", "-o", Path("r-%d.exr")}), 0) << Messages();
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
    const Iteration iteration{1, StartupEditedParams(), 1024};
    int captured = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            EscapeEnd end;
            const EscapeCount count = IteratePoint(iteration, region.RenderRe(x), region.RenderIm(y), &end);
            const size_t at = size_t(y) * 40 + size_t(x);
            captured += count >= 1024;
            ASSERT_EQ(data.n[at], count >= 1024 ? 0xFFFFFFFFu : uint32_t(count) + 1) << x << "," << y;
            ASSERT_EQ(data.nf[at], count < 1024 ? RawFractionValue(SmoothFraction(end)) : 0.0f) << x << "," << y;
        }
    EXPECT_GT(captured, 0);
}

TEST_F(ZoomFilmRunTest, ABandsPngDrawsThatBandAgain)
{
    const std::vector<std::string> view{"--type", "1", "--centre", "-0.745,0.11", "--extent", "0.03,0.0225", "--size",
                                        "60x45"};
    std::vector<std::string> band = view;
    band.insert(band.end(), {"--part", "2/3", "-o", Path("band.png")});
    ASSERT_EQ(Run(band), 0);
    std::vector<std::string> whole = view;
    whole.insert(whole.end(), {"-o", Path("whole.png")});
    ASSERT_EQ(Run(whole), 0);
    ASSERT_EQ(Run({Path("band.png"), "-o", Path("again.png")}), 0) << Messages();
    EXPECT_EQ(Read("again.png").size(), QSize(60, 15));
    EXPECT_TRUE(Read("again.png") == Read("band.png"));
    EXPECT_TRUE(Read("band.png") == Read("whole.png").copy(0, 15, 60, 15));
}

TEST_F(ZoomFilmRunTest, BadFilmsAreRefusedWithStatusTwoAndNoFile)
{
    QFile(QString::fromStdString(Path("file"))).open(QIODevice::WriteOnly);
    const std::vector<std::vector<std::string>> refused{
        {"--zoom-frames", "1"},
        {"--zoom-frames", "8", "--frames", "5-3"},
        {"--zoom-frames", "8", "--frames", "8"},
        {"--zoom-frames", "8", "-o", Path("f.png")},
        {"--zoom-frames", "8", "-o", Path("f%d-%d.png")},
        {"--zoom-frames", "8", "-o", Path("missing/f%d.png")},
        {"--zoom-frames", "8", "-o", Path("file/f%d.png")},
        {"--zoom-frames", "8", "--video", Path("f.avi")},
        {"--zoom-frames", "8", "--video", Path("f.mp4"), "-o", Path("f%d.png")},
        {"--zoom-frames", "8", "--part", "1/2", "-o", Path("f%d.png")},
        {"--frames", "1-2", "-o", Path("f.png")},
        {"--raw", Path("raw.png")},
        {"--raw", Path("raw.exr"), "--aa", "2"},
    };
    for (const std::vector<std::string>& words : refused) {
        std::vector<std::string> all = kDeep;
        all.insert(all.end(), words.begin(), words.end());
        EXPECT_EQ(Run(all), 2) << words[1];
    }
    EXPECT_EQ(Files(), (QStringList{"file", "stderr.txt"}));
    // Without ffmpeg on the PATH, a video is not made, and says why.
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", folder.path().toUtf8().constData(), 1);
    std::vector<std::string> video = kDeep;
    video.insert(video.end(), {"--zoom-frames", "4", "--video", Path("film.mp4")});
    EXPECT_EQ(Run(video), 1);
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_NE(Messages().find("ffmpeg was not found"), std::string::npos) << Messages();
    EXPECT_EQ(Files(), (QStringList{"file", "stderr.txt"}));
}

}  // namespace

// quorvex-render as a whole process: the shape of its pixels, its exit
// statuses and its end by a signal.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <string>
#include <vector>

#include "colour/model/ColorMap.h"
#include "engine/CountColors.h"
#include "engine/EngineState.h"
#include "engine/Formulas.h"
#include "engine/JuliaTable.h"
#include "platform/QtColorWords.h"
#include "render/PictureOutputs.h"

namespace {

class QuorvexRenderTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder.filePath(QString::fromStdString(name)).toStdString(); }

    // Starts quorvex-render with the signals at their defaults, its messages into "stderr.txt".
    pid_t Start(const std::vector<std::string>& arguments) const
    {
        std::vector<std::string> words{QUORVEX_RENDER};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 2, Path("stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t all, none;
        sigfillset(&all);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attributes, &all);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        pid_t child = -1;
        EXPECT_EQ(::posix_spawn(&child, argv[0], &files, &attributes, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&files);
        posix_spawnattr_destroy(&attributes);
        return child;
    }

    // The exit status; 128 + the signal for a process a signal ended. One
    // still running after two minutes is killed.
    static int Wait(pid_t child)
    {
        int status = 0;
        for (int waited = 0; ::waitpid(child, &status, WNOHANG) == 0; ++waited) {
            if (waited == 2400)
                ::kill(child, SIGKILL);
            QThread::msleep(50);
        }
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }

    int Run(const std::vector<std::string>& arguments) const { return Wait(Start(arguments)); }

    std::string Messages() const
    {
        QFile file(QString::fromStdString(Path("stderr.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    QImage Read(const std::string& name) const
    {
        return QImage(QString::fromStdString(Path(name))).convertToFormat(QImage::Format_RGB32);
    }

    QStringList Files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); }

    QTemporaryDir folder;
};

// A 100 x 75 view of 4 x 3 in the plane, in a PNG that carries its place.
constexpr const char* kCentre = "-0.5,0";

TEST_F(QuorvexRenderTest, PixelsStaySquareAtASizeOfAnotherShapeAndAPngIsDrawnAtItsOwnSize)
{
    ASSERT_EQ(Run({"--type", "1", "--centre", kCentre, "--extent", "4,3", "--size", "100x75", "-o", Path("place.png")}), 0);
    // Wider: the real extent grows to 12; taller: the imaginary one to 12.
    const struct {
        const char* size;
        const char* extent;
    } shapes[] = {{"100x300", "4,12"}, {"400x100", "12,3"}};
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.size);
        ASSERT_EQ(Run({Path("place.png"), "--size", shape.size, "-o", Path("grown.png")}), 0) << Messages();
        ASSERT_EQ(Run({"--type", "1", "--centre", kCentre, "--extent", shape.extent, "--size", shape.size, "-o",
                       Path("wanted.png")}),
                  0);
        EXPECT_TRUE(Read("grown.png") == Read("wanted.png"));
        // Drawn again from its own place, the PNG comes back at its own size, pixel for pixel.
        ASSERT_EQ(Run({Path("grown.png"), "-o", Path("again.png")}), 0) << Messages();
        EXPECT_TRUE(Read("again.png") == Read("grown.png"));
    }
    // The extents of the command line grow the same way; --stretch keeps them as given.
    ASSERT_EQ(Run({"--type", "1", "--centre", kCentre, "--extent", "4,1", "--size", "400x300", "-o", Path("view.png")}), 0);
    ASSERT_EQ(Run({"--type", "1", "--centre", kCentre, "--extent", "4,3", "--size", "400x300", "-o", Path("wanted.png")}), 0);
    EXPECT_TRUE(Read("view.png") == Read("wanted.png"));
    ASSERT_EQ(Run({Path("place.png"), "--size", "400x100", "--stretch", "-o", Path("stretched.png")}), 0);
    ASSERT_EQ(Run({"--type", "1", "--centre", kCentre, "--extent", "4,3", "--size", "400x100", "--stretch", "-o",
                   Path("wanted.png")}),
              0);
    EXPECT_TRUE(Read("stretched.png") == Read("wanted.png"));
    EXPECT_FALSE(Read("stretched.png") == Read("grown.png"));
    // A shape off by less than a pixel, as a size rounded to keep the aspect, keeps the region.
    ASSERT_EQ(Run({Path("place.png"), "--size", "402x301", "-o", Path("rounded.png")}), 0);
    ASSERT_EQ(Run({Path("place.png"), "--size", "402x301", "--stretch", "-o", Path("wanted.png")}), 0);
    EXPECT_TRUE(Read("rounded.png") == Read("wanted.png"));
}

// A picture that cannot be written is status 1, with the system's reason;
// a refused command line is 2. Neither leaves a file behind.
TEST_F(QuorvexRenderTest, ExitStatusesSayWhetherTheArgumentsOrTheOutputFailed)
{
    const std::vector<std::string> view{"--type", "1", "--centre", kCentre, "--extent", "4,3", "--size", "40x30"};
    const auto run = [&](const std::string& output) {
        std::vector<std::string> arguments = view;
        arguments.insert(arguments.end(), {"-o", output});
        return Run(arguments);
    };
    EXPECT_EQ(run("-"), 2);
    EXPECT_NE(Messages().find("standard output"), std::string::npos) << Messages();
    const std::pair<std::string, std::string> unwritable[] = {
        {Path("missing/x.png"), "ENOENT"},
        {folder.path().toStdString(), "EISDIR"},
        {"/dev/full", "通常のファイルではありません"},
    };
    for (const auto& [output, reason] : unwritable) {
        EXPECT_EQ(run(output), 1) << output;
        EXPECT_NE(Messages().find(reason), std::string::npos) << Messages();
    }
    EXPECT_EQ(Files(), QStringList{QStringLiteral("stderr.txt")});
    // The longest names leave room for nothing more, the new file's aside.
    EXPECT_EQ(run(Path(std::string(251, 'n') + ".png")), 0) << Messages();
}

// A picture's limit and colouring go into its place and are the place's
// own when it is drawn again; a bad limit or colouring is refused by name.
TEST_F(QuorvexRenderTest, ThePlacesLimitAndColouringAreItsOwnAndBadOnesAreRefusedByName)
{
    const std::vector<std::string> view{"--type", "1", "--centre", "-0.7436,0.1318", "--extent", "2e-3,1.5e-3",
                                        "--size", "40x30"};
    const auto run = [&](std::vector<std::string> arguments, const std::string& output) {
        arguments.insert(arguments.begin(), view.begin(), view.end());
        arguments.insert(arguments.end(), {"-o", Path(output)});
        return Run(arguments);
    };
    ASSERT_EQ(run({"--limit", "4096", "--colouring", "smooth"}, "deep.png"), 0) << Messages();
    ASSERT_EQ(run({}, "plain.png"), 0) << Messages();
    ASSERT_EQ(Run({Path("deep.png"), "-o", Path("again.png")}), 0) << Messages();
    EXPECT_EQ(Read("again.png"), Read("deep.png"));
    EXPECT_NE(Read("plain.png"), Read("deep.png"));
    for (const auto& [option, value] : {std::pair{"--limit", "300"}, {"--limit", "2097152"}, {"--limit", "autox"},
                                        {"--colouring", "rainbow"}}) {
        EXPECT_EQ(run({option, value}, "bad.png"), 2) << value;
        EXPECT_NE(Messages().find(std::string(option) + " " + value + ":"), std::string::npos) << Messages();
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("bad.png"))));
}

// Ctrl+C, a job runner's cancel and a hang-up end it by that signal, the half-written file removed.
TEST_F(QuorvexRenderTest, TerminationSignalsRemoveTheNewFileAndEndWithTheSignal)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        const pid_t child = Start({"--type", "6", "--centre", kCentre, "--extent", "4,3", "--size", "16384x16384", "--aa",
                                   "4", "-q", "-o", Path("large.png")});
        // Until the new file is there beside the target, and a while more.
        for (int waited = 0; Files().size() < 2 && waited < 200; ++waited)
            QThread::msleep(50);
        EXPECT_EQ(Files().size(), 2) << Files().join(QLatin1Char(' ')).toStdString();
        QThread::msleep(300);
        ::kill(child, signal);
        EXPECT_EQ(Wait(child), 128 + signal);
        EXPECT_EQ(Files(), QStringList{QStringLiteral("stderr.txt")});
    }
}

}  // namespace

namespace {

// z^2 + c from z0 = (x, y), written out: the count of the plain 80-bit loop.
int PlainSquareJulia(long double x, long double y, long double cx, long double cy)
{
    for (int j = 0; j < 256; ++j) {
        const long double nx = x * x - y * y + cx;
        const long double ny = x * 2 * y + cy;
        x = nx;
        y = ny;
        if (x * x + y * y >= 10.0L)
            return j;
    }
    return 256;
}

// --julia draws the plain loop's picture of the Julia set pixel for pixel,
// every formula at a c of its own, in the start-up colours; a point that
// is not two finite numbers is refused with status 2 and no file.
TEST_F(QuorvexRenderTest, JuliaSetsArePixelForPixelThePlainLoopsAndBadPointsAreRefused)
{
    ResetEngineState();
    const struct {
        int type;
        long double re, im;
        const char* point;
    } sets[] = {{1, -0.8L, 0.156L, "-0.8,0.156"}, {2, 0.3L, 0.5L, "0.3,0.5"},  {3, 0.4L, 0.55L, "0.4,0.55"},
                {4, 0.4L, 0.3L, "0.4,0.3"},       {5, 0.2L, 0.6L, "0.2,0.6"},  {6, -1.5L, 0.5L, "-1.5,0.5"}};
    constexpr int kSide = 58;
    const FormulaParams params = StartupEditedParams();
    for (const auto& set : sets) {
        SCOPED_TRACE(set.type);
        ASSERT_EQ(Run({"--type", std::to_string(set.type), "--julia", set.point, "--centre", "0,0", "--extent", "3.6,3.6",
                       "--size", "58x58", "-o", Path("julia.png")}),
                  0)
            << Messages();
        const QImage picture = Read("julia.png");
        for (int x = 0; x < kSide; ++x)
            for (int y = 0; y < kSide; ++y) {
                const long double zx = (x - kSide / 2.0L) * 3.6L / kSide;
                const long double zy = (y - kSide / 2.0L) * 3.6L / kSide;
                const int n = set.type == 1 ? PlainSquareJulia(zx, zy, set.re, set.im)
                                            : FindJulia(set.type)->iteratePoint(zx, zy, set.re, set.im, params, 256, nullptr);
                ASSERT_EQ(picture.pixel(x, y), RgbOfColorWord(ColorWordOfCount(n, currentColorMap))) << x << ", " << y;
            }
    }
    for (const char* bad : {"nan,0", "0,inf", "1e5000,0", "0.3", "0.3,x", "0.3,0.5,1"}) {
        EXPECT_EQ(Run({"--type", "1", "--julia", bad, "--centre", "0,0", "--extent", "3.6,3.6", "--size", "8x8", "-o",
                       Path("bad.png")}),
                  2)
            << bad;
        EXPECT_NE(Messages().find("Julia point"), std::string::npos) << Messages();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("bad.png"))));
    }
}

// A picture off the real axis goes to its file band by band, each band
// written while the next is computed: the file holds the picture of one
// pass, in colour-map entries (rows unfiltered) and with samples in the
// smooth colouring (rows filtered).
TEST_F(QuorvexRenderTest, APictureWrittenWhileItsNextBandIsComputedIsThePictureOfOnePass)
{
    for (const auto& [samples, coloring] : {std::pair{1, Coloring::Count}, {2, Coloring::Smooth}}) {
        SCOPED_TRACE(samples);
        PictureJob job;
        job.region = PictureRegion{Iteration{1, FormulaParams{}, 1024},
                                   PlaneRegion{-0.745L, 0.11L, 0.03L, 0.02L, 0.03L / 150, 0.02L / 100, 150, 100}};
        job.width = 150;
        job.height = 100;
        job.samples = samples;
        job.coloring = coloring;
        FillPresetColorMap(job.colors, kPresetSetting2);
        const std::atomic<bool> never{false};
        std::vector<uint8_t> whole(size_t(job.width) * 3 * size_t(job.height));
        ASSERT_TRUE(PictureRenderer(job).RenderRows(0, job.height, whole.data(), never));

        PictureOutputs outputs(PictureTargets{Path("bands.png"), {}, nullptr}, job, job.height, "");
        std::string reason;
        ASSERT_TRUE(outputs.Open(reason)) << reason;
        PictureRenderer renderer(job);
        std::vector<int> done;
        ASSERT_TRUE(DrawPicture(renderer, job, 0, job.height, outputs, [&](int rows) { done.push_back(rows); }));
        ASSERT_TRUE(outputs.Finish(reason)) << reason;
        EXPECT_GT(done.size(), 4u);
        EXPECT_EQ(done.back(), job.height);
        const QImage picture = Read("bands.png");
        ASSERT_EQ(picture.size(), QSize(job.width, job.height));
        int differing = 0;
        for (int y = 0; y < job.height; ++y)
            for (int x = 0; x < job.width; ++x) {
                const uint8_t* p = &whole[(size_t(y) * size_t(job.width) + size_t(x)) * 3];
                differing += picture.pixel(x, y) != qRgb(p[0], p[1], p[2]);
            }
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/FilmFrames.h"
#include "render/SequenceProgress.h"
#include "render/ZoomSchedule.h"

namespace {

namespace fs = std::filesystem;

void ExpectSameView(const FilmView& a, const FilmView& b)
{
    EXPECT_EQ(a.centreRe, b.centreRe);
    EXPECT_EQ(a.centreIm, b.centreIm);
    EXPECT_EQ(a.extentRe, b.extentRe);
    EXPECT_EQ(a.extentIm, b.extentIm);
}

TEST(ZoomScheduleTest, FromTheStartExactlyToThePlaceExactlyByOneFactorAndEachFrameInsideTheOneBefore)
{
    const FilmView whole{-0.5L, 0.0L, 3.6L, 3.6L};
    const FilmView place{-0.743643887037151L, 0.131825904205330L, 1.0e-8L, 0.75e-8L};
    const FilmView start = StartInProportion(whole, place);
    EXPECT_NEAR(double(start.extentRe), 4.8, 1e-15);
    EXPECT_EQ(start.extentIm, 3.6L);
    EXPECT_EQ(start.centreRe, whole.centreRe);
    ZoomSchedule schedule;
    std::string error;
    ASSERT_TRUE(ZoomSchedule::Make(start, place, 48, schedule, error)) << error;
    ExpectSameView(schedule.Frame(0), start);
    ExpectSameView(schedule.Frame(47), place);
    EXPECT_EQ(schedule.OffsetRe(47), 0.0L);

    const long double factor = std::pow(place.extentRe / start.extentRe, 1.0L / 47);
    // The point that keeps its pixel in every frame.
    const long double shrink = place.extentRe / (start.extentRe - place.extentRe);
    const long double fixedRe = place.centreRe + (place.centreRe - start.centreRe) * shrink;
    const long double fixedIm = place.centreIm + (place.centreIm - start.centreIm) * shrink;
    for (int k = 0; k < 47; ++k) {
        SCOPED_TRACE(k);
        const FilmView a = schedule.Frame(k);
        const FilmView b = schedule.Frame(k + 1);
        EXPECT_NEAR(double(b.extentRe / a.extentRe / factor), 1.0, 1e-14);
        EXPECT_NEAR(double(b.extentIm / a.extentIm / factor), 1.0, 1e-14);
        EXPECT_NEAR(double((fixedRe - a.centreRe) / a.extentRe), double((fixedRe - b.centreRe) / b.extentRe), 1e-12);
        EXPECT_NEAR(double((fixedIm - a.centreIm) / a.extentIm), double((fixedIm - b.centreIm) / b.extentIm), 1e-12);
        // The next frame lies within this one: the film never turns back.
        EXPECT_LE(a.centreRe - a.extentRe / 2, b.centreRe - b.extentRe / 2);
        EXPECT_GE(a.centreRe + a.extentRe / 2, b.centreRe + b.extentRe / 2);
        EXPECT_LE(a.centreIm - a.extentIm / 2, b.centreIm - b.extentIm / 2);
        EXPECT_GE(a.centreIm + a.extentIm / 2, b.centreIm + b.extentIm / 2);
    }
}

// A start of the place's extents times 2^(N-1), in proportion already, is
// kept as it is, and each frame's extents are exactly half the frame's before.
TEST(ZoomScheduleTest, AFilmThatHalvesEachFrameHalvesItToTheLastBit)
{
    const FilmView place{-0.743643887037151L, 0.131825904205330L, 0x1.3p-30L, 0x1.c8p-31L};
    const FilmView start = StartInProportion({place.centreRe, place.centreIm, 0x1.3p-19L, 0x1.c8p-20L}, place);
    EXPECT_EQ(start.extentRe, 0x1.3p-19L);
    ZoomSchedule schedule;
    std::string error;
    ASSERT_TRUE(ZoomSchedule::Make(start, place, 12, schedule, error)) << error;
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(schedule.Frame(k).extentRe, 2 * schedule.Frame(k + 1).extentRe) << k;
        EXPECT_EQ(schedule.Frame(k).extentIm, 2 * schedule.Frame(k + 1).extentIm) << k;
        EXPECT_EQ(schedule.Frame(k).centreRe, place.centreRe) << k;
    }
}

TEST(ZoomScheduleTest, FilmsOfTooFewOrTooManyFramesOrOfViewsThatAreNoneAreRefused)
{
    const FilmView start{-0.5L, 0.0L, 4.0L, 3.0L};
    const FilmView place{-0.75L, 0.1L, 0.004L, 0.003L};
    ZoomSchedule schedule;
    std::string error;
    for (const int frames : {-1, 0, 1, kMaxFilmFrames + 1}) {
        EXPECT_FALSE(ZoomSchedule::Make(start, place, frames, schedule, error)) << frames;
    }
    FilmView bad = place;
    for (const long double extent : {0.0L, -1.0L, (long double)NAN, (long double)INFINITY}) {
        bad.extentIm = extent;
        EXPECT_FALSE(ZoomSchedule::Make(start, bad, 10, schedule, error)) << double(extent);
    }
    // The same extent elsewhere would be a jump, not a zoom; at the same centre it is a still film.
    FilmView beside = place;
    beside.centreRe = 0.3L;
    EXPECT_FALSE(ZoomSchedule::Make(beside, place, 10, schedule, error));
    EXPECT_FALSE(error.empty());
    ASSERT_TRUE(ZoomSchedule::Make(place, place, 3, schedule, error));
    ExpectSameView(schedule.Frame(1), place);
}

TEST(FilmFramesTest, NamesTakeExactlyOneIntegerField)
{
    FrameNames names;
    std::string error;
    ASSERT_TRUE(FrameNames::Make(kDefaultFramePattern, names, error));
    EXPECT_EQ(names.Name(0), "frame-00000.png");
    EXPECT_EQ(names.Name(47), "frame-00047.png");
    EXPECT_EQ(names.Name(123456), "frame-123456.png");
    ASSERT_TRUE(FrameNames::Make("out/100%%-%-4i|%%.exr", names, error));
    EXPECT_EQ(names.Name(7), "out/100%-7   |%.exr");
    ASSERT_TRUE(FrameNames::Make("f%.3u", names, error));
    EXPECT_EQ(names.Name(5), "f005");
    for (const char* refused : {"frame.png", "%d-%d.png", "%s.png", "%05ld.png", "%x.png", "%*d.png", "%n.png",
                                "%123d.png", "%5.123d", "frame-%05d.png%", "%+d.png", "%"}) {
        SCOPED_TRACE(refused);
        error.clear();
        EXPECT_FALSE(FrameNames::Make(refused, names, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(FilmFramesTest, RangesAreWithinTheFilm)
{
    FrameRange range;
    std::string error;
    ASSERT_TRUE(ParseFrameRange("0-47", 48, range, error));
    EXPECT_EQ(range.first, 0);
    EXPECT_EQ(range.last, 47);
    ASSERT_TRUE(ParseFrameRange("47", 48, range, error));
    EXPECT_EQ(range.first, 47);
    EXPECT_EQ(range.last, 47);
    for (const char* refused : {"48", "0-48", "5-3", "-3", "3-", "", "a", "1-2-3", " 3", "+3", "1e1", "99999999999"}) {
        SCOPED_TRACE(refused);
        error.clear();
        EXPECT_FALSE(ParseFrameRange(refused, 48, range, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(FilmFramesTest, AResumedRunDrawsEveryFrameNotWhollyUnderItsName)
{
    char pattern[] = "/tmp/qv-film-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path folder = pattern;
    FrameNames names;
    std::string error;
    ASSERT_TRUE(FrameNames::Make((folder / "frame-%03d.png").string(), names, error));
    std::ofstream(names.Name(0)) << "whole";
    std::ofstream(names.Name(2)) << "whole";
    // A folder under a frame's name, and the new file of a frame that a
    // killed run left beside its name.
    fs::create_directory(names.Name(3));
    std::ofstream((folder / ".frame-004.png.a1B2c3").string()) << "part";

    EXPECT_EQ(FramesToDraw(FrameRange{0, 5}, names), (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(FramesToDraw(FrameRange{2, 2}, names), std::vector<int>{});
    fs::remove_all(folder);
}

TEST(SequenceProgressTest, TheTimeLeftCountsTheShareOfTheFrameBeingDrawn)
{
    EXPECT_EQ(SequenceProgress::Line(11, 1.0, 48, 30.0), "frame 12/48  25%  1:30 left");
    EXPECT_EQ(SequenceProgress::Line(1, 0.5, 4, 2400.0), "frame 2/4  37%  1:06:40 left");
    EXPECT_EQ(SequenceProgress::Line(4, 0.0, 4, 61.0), "frame 4/4  100%  done in 1:01");
}

}  // namespace

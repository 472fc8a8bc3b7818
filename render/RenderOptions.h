#pragma once
// The command line of quorvex-render, read without a display: what to draw
// (a place file, or a formula type with a centre and an extent), at what
// size, with what colour map, and into which file.

#include <optional>
#include <string>
#include <vector>

#include "engine/JuliaPoint.h"
#include "engine/PictureDepth.h"

inline constexpr int kBadUse = 2;
inline constexpr int kNotWritten = 1;

struct RenderOptions {
    bool help = false;
    bool version = false;
    bool bench = false;
    bool quiet = false;
    std::string place;  // a place file or a Quorvex PNG; empty with --type
    std::string output;
    int width = 0;  // 0: the input PNG's size, else the place's picture size
    int height = 0;
    bool stretch = false;  // the region as given, whatever the picture's shape
    int samples = 1;  // --aa N: N x N samples a pixel
    std::string colorMap;  // a .col file
    int threads = 0;  // 0: one a core
    int part = 1;  // --part K/N: the K-th of N horizontal bands
    int parts = 1;
    std::optional<int> type;
    long double centreRe = 0.0L;
    long double centreIm = 0.0L;
    long double extentRe = 0.0L;
    long double extentIm = 0.0L;
    bool hasCentre = false;
    // The centre's parts as given where they have more digits than centreRe
    // and centreIm hold (a deep view's precise centre); empty otherwise.
    std::string centreReDigits;
    std::string centreImDigits;
    bool hasExtent = false;
    // --limit N|auto and --colouring NAME; the place's own without them.
    std::optional<int> limit;
    bool automaticLimit = false;
    std::optional<Coloring> coloring;
    // --raw FILE.exr (a film: a pattern): the counts as raw iteration data.
    std::string raw;
    // Zoom films: --zoom-frames N from --zoom-start (default: the place's
    // whole view) down to the place; --frames A-B or K of them; --video OUT
    // at --fps RATE. -o is then a pattern of frame names.
    int zoomFrames = 0;  // 0: one picture
    int zoomStartNumbers = 0;  // 0, or 2 (W,H about the place's centre) or 4 (RE,IM,W,H)
    long double zoomStart[4] = {};
    std::string frames;  // empty: every frame
    std::string video;
    std::string fps = "30";
    // --julia RE,IM: the Julia set of that c, instead of the place's own view.
    JuliaPoint julia{};
};

// Reads the arguments (without the program's name). False with a message
// for the user when they do not make a picture. The exit status for a
// refused command line is kBadUse, for a picture that cannot be written
// kNotWritten.
bool ParseRenderOptions(const std::vector<std::string>& arguments, RenderOptions& options, std::string& error);

std::string RenderUsage();

// A name ending in ".exr" (any case): raw iteration data.
bool IsRawFileName(const std::string& path);

// Rows [first, end) of the K-th of N bands of a picture `height` rows tall.
struct RowRange {
    int first = 0;
    int end = 0;
};
RowRange PartRows(int height, int part, int parts);

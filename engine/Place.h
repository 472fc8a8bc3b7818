#pragma once
// A place: everything the picture on screen is drawn from, as UTF-8 text a
// person can read and edit, so that opening it draws the very same picture
// again. The text starts with the format line "quorvex-place 1"; then one
// field a line, "key value", where every extended value is written exactly
// in hexadecimal (strtold reads it back bit for bit) and a decimal rendering
// follows after '#', which starts a note for people; "end" closes it. A
// place whose limit or colouring is not the program's first writes the
// format line "quorvex-place 2" and both as the fields "limit" and
// "coloring"; a place of version 1 has the limit 256 and the count colouring.
// A Julia view's place is of version 2 and adds its c as "julia-re" and
// "julia-im". Version 2 also carries a deep view's precise centre, where it
// has one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "colour/model/ColorMap.h"
#include "engine/FormulaParams.h"
#include "engine/JuliaPoint.h"
#include "engine/PictureDepth.h"

struct Place {
    int32_t type = 0;  // formula type 1..6
    int32_t width = 0;  // picture size in pixels
    int32_t height = 0;
    long double centreRe = 0.0L;
    long double centreIm = 0.0L;
    long double extentRe = 0.0L;
    long double extentIm = 0.0L;
    long double pixelRe = 0.0L;  // size of one pixel
    long double pixelIm = 0.0L;
    int32_t depth = 1;  // nesting depth
    FormulaParams params;  // the coefficients in use, the whole view's centre ο among them
    // The picture size of the whole view the magnification is measured
    // against: with the type and ο it gives that whole view.
    int32_t wholeWidth = 0;
    int32_t wholeHeight = 0;
    bool hasColorMap = false;  // the colour map is optional
    ColorMap colorMap{};
    int32_t limit = kDefaultIterationLimit;  // IsIterationLimit
    Coloring coloring = kDefaultColoring;
    // A Julia view's c, the optional fields "julia-re" and "julia-im" of version 2.
    JuliaPoint julia{};
    // A deep view's precise centre, exact (the hexadecimal form of
    // FormatPreciseExact) or in decimals of any length; empty where centre-re
    // and centre-im are the centre. Each rounds to its 80-bit field. Version 2
    // writes them as the optional fields "centre-re-digits" and "centre-im-digits".
    std::string centreReDigits;
    std::string centreImDigits;
};

inline constexpr char kPlaceFormatLine[] = "quorvex-place 1";
inline constexpr char kPlaceFormatLine2[] = "quorvex-place 2";
// A PNG the program writes carries its place as text under this key.
inline constexpr char kPlacePngKey[] = "quorvex-place";
// No place comes near this; anything larger is not one.
inline constexpr std::size_t kPlaceFileLimit = 64 * 1024;

std::string FormatPlace(const Place& place);
// Fills place from the text, or leaves it as it was and says why not. A text
// longer than kPlaceFileLimit is no place.
bool ParsePlace(std::string_view text, Place& place, std::string& reason);
// The same for a file (a path in the system's file-name bytes), which must be
// a regular file.
bool ReadPlaceFile(const std::string& path, Place& place, std::string& reason);
// Writes the place as the whole new content of the file, or leaves the old
// file as it was.
bool WritePlaceFile(const std::string& path, const Place& place, std::string& reason);

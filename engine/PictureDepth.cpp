#include "engine/PictureDepth.h"

const char* ColoringName(Coloring coloring)
{
    switch (coloring) {
    case Coloring::Count:
        return "count";
    case Coloring::Log:
        return "log";
    case Coloring::Smooth:
        return "smooth";
    case Coloring::Histogram:
        return "histogram";
    }
    return "count";
}

std::optional<Coloring> ColoringOfName(std::string_view name)
{
    for (Coloring c : kColorings)
        if (name == ColoringName(c))
            return c;
    return std::nullopt;
}

// Prints how long whole views of each formula take to render at 580 x 580.
#include <chrono>
#include <cstdlib>
#include <cstdio>

#include "EngineState.h"
#include "Navigation.h"
#include "NullHost.h"
#include "RenderDriver.h"

int main(int argc, char** argv)
{
    const int size = argc > 1 ? std::atoi(argv[1]) : 580;
    NullHost host;
    for (int type = 1; type <= 6; ++type) {
        ResetEngineState();
        dpCurr.diImgW = dpCurr.diImgH = size;
        SetUpWholeView(type);
        const auto start = std::chrono::steady_clock::now();
        RenderView(host, dpCurr);
        const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
        const double pixels = double(size) * size;
        std::printf("type %d  %dx%d  %8.1f ms  %7.1f ns/pixel  recolour:", type, size, size, ms.count(),
                    ms.count() * 1e6 / pixels);
        const auto recolourStart = std::chrono::steady_clock::now();
        RecolorPicture(host);
        const std::chrono::duration<double, std::milli> rms = std::chrono::steady_clock::now() - recolourStart;
        std::printf(" %6.2f ms\n", rms.count());
    }
    return 0;
}

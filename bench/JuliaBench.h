#pragma once
// bench_render --julia-preview [SECONDS]: how many previews of the live Julia
// preview (160 x 160, limit 256, the Mandelbrot set's c) the preview's two
// workers finish a second, back to back and with a pointer moving at 200
// steps a second, along a circle over the set and along the cardioid's edge.

int BenchJuliaPreview(int argc, char** argv);

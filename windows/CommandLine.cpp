#include "windows/CommandLine.h"

CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineOptions options;
    for (const std::string& argument : arguments) {
        if (argument == "--diagnostics")
            options.diagnostics = true;
        else if (argument == "--help")
            options.help = true;
    }
    return options;
}

std::string UsageText(const std::string& programName)
{
    return "Usage: " + programName + " [--diagnostics] [--help]\n"
           "Quorvex, an explorer of the Mandelbrot set and related escape-time fractals.\n"
           "  --diagnostics  show the tool button \"デバッグ\" with the diagnostics grid and the colour-map view\n"
           "  --help         print this text and exit\n";
}

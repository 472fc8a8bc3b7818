#pragma once
// The program's command line: "--diagnostics" shows the diagnostics button,
// "--help" prints the usage; every other argument is passed over.

#include <string>
#include <vector>

struct CommandLineOptions {
    bool diagnostics = false;
    bool help = false;
};

// arguments without the program name.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments);
std::string UsageText(const std::string& programName);

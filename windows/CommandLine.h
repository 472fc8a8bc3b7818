#pragma once
// The program's command line, read before any window or application object
// exists: "--help", "--version" and "--diagnostics" (the diagnostics button),
// beside Qt's own options ("-platform offscreen", "-style", ...), which go on
// to the application object. Anything else is refused.

#include <QString>
#include <string>
#include <vector>

struct CommandLineOptions {
    bool diagnostics = false;
    bool help = false;
    bool version = false;
    // Why the command line is refused; empty when it is not.
    QString error;
};

// arguments without the program name.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments);
std::string UsageText(const std::string& programName);
std::string VersionText();

// Quorvex: creates the windows in their order, each completely before the
// next, and runs the event loop until the control window closes.

#include <cstdio>

#include "commands/QVCommands.h"
#include "files/WholeFiles.h"
#include "platform/ProgramSignals.h"
#include "platform/QVApplication.h"
#include "windows/CommandLine.h"
#include "windows/ProgramWindows.h"

int main(int argc, char** argv)
{
    const CommandLineOptions options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::fputs(UsageText(argc > 0 ? argv[0] : "Qorvix").c_str(), stdout);
        return 0;
    }
    IgnoreFileSizeSignal();
    CatchTerminationSignals();
    QVApplication app(argc, argv);
    ProgramWindows windows = CreateProgramWindows();
    HandleTerminationSignals(&app, [] { CloseProgram(); });
    windows.Show(options.diagnostics);
    return app.exec();
}

// Quorvex: reads the command line before anything needs a display, creates
// the windows in their order, each completely before the next, and runs the
// event loop until the control window closes.

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "commands/QVCommands.h"
#include "files/WholeFiles.h"
#include "platform/ProgramSignals.h"
#include "platform/QVApplication.h"
#include "platform/StartupSettings.h"
#include "windows/CommandLine.h"
#include "windows/ProgramWindows.h"

namespace {

// The usage, with where this program keeps its settings and finds its help.
void PrintUsage(int argc, char** argv)
{
    const QCoreApplication core(argc, argv);
    const QString help = FindHelpFile(HelpFolders());
    std::fputs(UsageText("Qorvix").c_str(), stdout);
    std::printf("Settings file: %s\nHelp file: %s\n", qPrintable(QDir::toNativeSeparators(SettingsFilePath())),
                help.isEmpty() ? "(none found)" : qPrintable(QDir::toNativeSeparators(help)));
}

}  // namespace

int main(int argc, char** argv)
{
    const CommandLineOptions options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "Qorvix: %s\nTry 'Qorvix --help'.\n", qPrintable(options.error));
        return 2;
    }
    if (options.help) {
        PrintUsage(argc, argv);
        return 0;
    }
    if (options.version) {
        std::fputs(VersionText().c_str(), stdout);
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

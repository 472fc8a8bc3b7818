// Quorvex: creates the windows in their order, each completely before the
// next, and runs the event loop until the control window closes.

#include "QVApplication.h"
#include "QVCommands.h"
#include "untQVCtrl.h"

int main(int argc, char** argv)
{
    QVApplication app(argc, argv);
    const ProgramWindows windows = CreateProgramWindows();
    windows.control->show();
    return app.exec();
}

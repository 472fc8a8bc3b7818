#include "HostShare.h"

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "Stopwatch.h"
#include "commands/QVCommands.h"
#include "commands/WindowsHostAdapter.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/RenderDriver.h"
#include "platform/QVApplication.h"
#include "platform/StartupSettings.h"
#include "windows/ProgramWindows.h"
#include "windows/untQVCtrl.h"
#include "windows/untQVView.h"

namespace {

// Qt's notes on the offscreen platform (no raise(), no runtime folder) are no news here.
void DropNotes(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

RenderTimes RenderThroughWindows(TfrmQVView& drawing, int type)
{
    ResetEngineState();
    dpCurr.diImgW = 1600;
    dpCurr.diImgH = 1200;
    SetUpWholeView(type);
    WindowsHost().FitWindowToView(dpCurr);
    drawing.show();
    QApplication::processEvents();
    return TimesOf([] { RenderView(WindowsHost(), dpCurr); });
}

RenderTimes Best(const RenderTimes& a, const RenderTimes& b)
{
    return {std::min(a.seconds, b.seconds), std::min(a.uiCpuSeconds, b.uiCpuSeconds)};
}

}  // namespace

void PrintHostShare(int argc, char** argv, const std::function<RenderTimes(int type)>& engineRender)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(DropNotes);
    QVApplication app(argc, argv);
    QTemporaryDir folder;
    SetSettingsFilePathForTests(folder.filePath(QStringLiteral("bench_render.ini")));
    ProgramWindows program = CreateProgramWindows();
    program.control->show();
    // The fastest whole view, where the host weighs most; the best of three
    // alternating runs of each, against other work on the machine. The host's
    // share is the processor time it adds to the user-interface thread, over
    // the whole view's time through the windows.
    constexpr int kType = 1;
    RenderTimes engine{1e9, 1e9};
    RenderTimes windows{1e9, 1e9};
    double recolor = 1e9;
    for (int run = 0; run < 3; ++run) {
        engine = Best(engine, engineRender(kType));
        windows = Best(windows, RenderThroughWindows(*program.drawing, kType));
        recolor = std::min(recolor, SecondsOf([] { RecolorPicture(WindowsHost()); }));
    }
    const double hostCpu = windows.uiCpuSeconds - engine.uiCpuSeconds;
    std::printf("host case=whole%d size=1600x1200 engine_s=%.4f qt_host_s=%.4f host_cpu_s=%.4f host_share=%.1f%% "
                "qt_recolour_s=%.4f\n",
                kType, engine.seconds, windows.seconds, hostCpu, 100.0 * hostCpu / windows.seconds, recolor);
    program = ProgramWindows();
    SetSettingsFilePathForTests(QString());
}

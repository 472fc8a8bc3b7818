#include "commands/DepthCommands.h"

#include <QLocale>

#include "commands/CommandSupport.h"
#include "commands/WindowPorts.h"
#include "commands/WindowsHostAdapter.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/RenderDriver.h"

namespace {

// The menus show the limit and colouring in force.
void ShowDepth() { WindowsHost().ShowPictureDepth(); }

// The view on screen drawn again at the limit in force, where a picture of
// it exists at another.
void RedrawAtLimit()
{
    if (dpCurr.diType != 0 && dpCurr.dbOK && LastCountSummary.limit != ActiveDepth.limit) {
        ForgetRubberBand();
        Redraw(WindowsHost());
    }
    ShowDepth();
}

}  // namespace

void ChooseIterationLimit(int limit)
{
    if (IsRendering || !IsIterationLimit(limit))
        return;
    AutomaticLimit = false;
    ActiveDepth.limit = limit;
    RedrawAtLimit();
}

void ChooseAutomaticLimit()
{
    if (IsRendering)
        return;
    AutomaticLimit = true;
    if (dpCurr.dbOK)
        ActiveDepth.limit = NextAutomaticLimit(LastCountSummary);
    RedrawAtLimit();
}

void ChooseColoring(Coloring coloring)
{
    if (IsRendering)
        return;
    ActiveDepth.coloring = coloring;
    RecolorPicture(WindowsHost());
    ShowDepth();
}

QString LimitCaption(int limit) { return QLocale(QLocale::English).toString(limit); }

QString AutomaticLimitCaption()
{
    if (!AutomaticLimit || !dpCurr.dbOK)
        return QStringLiteral("自動");
    return QStringLiteral("自動（この画像 %1、次 %2）")
        .arg(LimitCaption(LastCountSummary.limit), LimitCaption(NextAutomaticLimit(LastCountSummary)));
}

QString ColoringCaption(Coloring coloring)
{
    switch (coloring) {
    case Coloring::Count:
        return QStringLiteral("反復回数（標準）");
    case Coloring::Log:
        return QStringLiteral("対数");
    case Coloring::Smooth:
        return QStringLiteral("なめらか");
    case Coloring::Histogram:
        return QStringLiteral("ヒストグラム");
    }
    return {};
}

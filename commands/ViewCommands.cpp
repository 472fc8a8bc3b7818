#include "commands/ViewCommands.h"

#include <QImage>
#include <QMenu>

#include "commands/CommandSet.h"
#include "commands/CommandSupport.h"
#include "commands/PictureCommands.h"
#include "commands/PlaceCommands.h"
#include "commands/ViewSteps.h"
#include "commands/WindowPorts.h"
#include "commands/WindowsHostAdapter.h"
#include "engine/EngineState.h"
#include "engine/FormulaTable.h"
#include "engine/Navigation.h"
#include "engine/RenderDriver.h"
#include "platform/QVDialogs.h"
#include "platform/QtSupport.h"
#include "platform/StartupSettings.h"

std::unique_ptr<QVCommandSet> CreateCommandSet()
{
    ForgetWaitingSteps();
    auto set = std::make_unique<QVCommandSet>();
    set->SetTrigger(QVCommand::DrawSelect, DrawSelectedRegion);
    set->SetTrigger(QVCommand::ReDraw, RedrawView);
    set->SetTrigger(QVCommand::Cancel, CancelRender);
    set->SetTrigger(QVCommand::Back, StepBack);
    set->SetTrigger(QVCommand::Forward, StepForward);
    set->SetTrigger(QVCommand::Save, SavePicture);
    set->SetTrigger(QVCommand::SavePlace, SavePlaceFile);
    return set;
}

void SetStartupValues(QSize screen, int frameHeight)
{
    ResetEngineState();
    dpCurr.dinum = 1;
    int storedWidth = 0;
    int storedHeight = 0;
    ReadStoredPictureSize(storedWidth, storedHeight);
    const int side = StartupPictureSide(storedWidth, storedHeight, screen, frameHeight);
    dpCurr.diImgW = side;
    dpCurr.diImgH = side;
}

void ShowWholeView(int type)
{
    if (IsRendering || type < kFirstFormulaType || type > kLastFormulaType || !Ports().drawing)
        return;
    ForgetRubberBand();
    QVHost& host = WindowsHost();
    ResetHistory(host);
    SetTrackResize(false);
    BringToFront(Ports().drawing->Window());
    SetUpWholeView(type);
    RenderView(host, dpCurr);
    SetTrackResize(true);
    RefreshIndicator();
}

void SelectRegion(QPoint corner1, QPoint corner2)
{
    const bool selected = corner1.x() != corner2.x() && corner1.y() != corner2.y();
    if (selected)
        SetSelection(dpCurr, corner1.x(), corner1.y(), corner2.x(), corner2.y());
    EnableCommand(QVCommand::DrawSelect, selected);
    EnableCommand(QVCommand::ReDraw, !selected);
}

void DrawSelectedRegion()
{
    ForgetRubberBand();
    if (IsRendering)
        return;
    const ZoomResult result = ComputeNextView();
    if (result == ZoomResult::NoSelection)
        return;
    if (result == ZoomResult::TooDeep) {
        SayDepthLimit(DepthLimitOf(dpNext, ActiveJulia));
        return;
    }
    if (result == ZoomResult::TooLarge) {
        Dialogs().ShowError(WindowOf(Ports().drawing), QStringLiteral("周囲計算致命的エラー"));
        return;
    }
    TakeNextView();
}

void TurnWheel(QPoint pixel, int angleDelta)
{
    if (!ViewStepsPossible())
        return;
    const int steps = TakeWheelSteps(angleDelta);
    if (steps != 0)
        AddWaitingStep(ViewStep{steps, true, pixel.x(), pixel.y()});
}

void ZoomAboutCentre(int steps)
{
    if (ViewStepsPossible())
        AddWaitingStep(ViewStep{steps});
}

void MoveView(int right, int down)
{
    if (ViewStepsPossible())
        AddWaitingStep(ViewStep{0, false, 0, 0, right, down});
}

void ShowWholeViewOfCurrentFormula()
{
    if (IsCommandEnabled(QVCommand::DrawAll) && dpCurr.diType != 0)
        ShowWholeView(dpCurr.diType);
}

void RedrawView()
{
    if (IsRendering)
        return;
    ForgetRubberBand();
    Redraw(WindowsHost());
}

// The user's stop is not taken back by steps that come to nothing.
void CancelRender()
{
    CancelRequested = true;
    KeepUserStop();
}

void StepBack()
{
    if (IsRendering)
        return;
    if (!BackStack.empty())
        ForgetRubberBand();
    GoBack(WindowsHost());
}

void StepForward()
{
    if (IsRendering)
        return;
    if (!ForwardStack.empty())
        ForgetRubberBand();
    GoForward(WindowsHost());
}

void TakeDrawingWindowSize(QSize outer, int frameHeight)
{
    TakeWindowSize(dpCurr, outer.width(), outer.height(), frameHeight);
}

void AddWholeViewEntries(QMenu* menu, FormulaMenu which)
{
    const bool control = which == FormulaMenu::Control;
    for (const FormulaRecord& formula : FormulaTable()) {
        const int type = formula.type;
        QAction* item = menu->addAction(QString::fromUtf8(control ? formula.controlCaption : formula.drawingCaption),
                                        menu, [type] { ShowWholeView(type); });
        Named(item, control ? formula.controlName : formula.drawingName);
    }
}

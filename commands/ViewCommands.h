#pragma once
// The commands that move through views: the start-up values, the whole
// view, the selection and its zoom, the wheel and the keys, redraw, cancel,
// back and forward, and the indicator.

#include <QPoint>
#include <QSize>
#include <memory>

class QMenu;
class QVCommandSet;

// The command set with every command's trigger: the start of the program.
std::unique_ptr<QVCommandSet> CreateCommandSet();

// The engine's start-up values, with the square picture the settings file,
// the screen size and the tallest drawing window give. Runs while the
// control window is created.
void SetStartupValues(QSize screen, int frameHeight);

// The whole view of a formula type 1..6: history reset, defaults, render,
// indicator.
void ShowWholeView(int type);
// The rectangle between two corners of the drawing window's picture becomes
// the selection: "選択領域描画" on and "再描画" off. A rectangle without
// width or height selects nothing and does the opposite.
void SelectRegion(QPoint corner1, QPoint corner2);
// Zooms into the rectangle selected in the drawing window.
void DrawSelectedRegion();
// The steps of the wheel and the keys wait for the next turn of the event
// loop, or stop a render under way and wait for it to return; the steps that
// came meanwhile are then taken as one view step from the view on screen, into
// the history like a zoom into a selection. Nothing before the first picture.
// A turn of the wheel over pixel (x, y) of the picture: each whole step of
// 120 zooms in (forward) or out by 2 about that pixel, which keeps its point.
void TurnWheel(QPoint pixel, int angleDelta);
// "+" and "-": zooms in (steps > 0) or out by 2 a step about the centre.
void ZoomAboutCentre(int steps);
// The arrow keys: the view moved right and down by quarters of the picture.
void MoveView(int right, int down);
// Home: the whole view of the formula shown, where "全景描画" is enabled.
void ShowWholeViewOfCurrentFormula();

void RedrawView();
// A running render stops at its next column check.
void CancelRender();
void StepBack();
void StepForward();
// The drawing window took a size of the user's: the next picture's size.
void TakeDrawingWindowSize(QSize outer, int frameHeight);

// Adds a whole-view entry for each formula of the table, in its order, to a
// formula menu, each with the caption and the name of that menu's item.
enum class FormulaMenu { Control, Drawing };
void AddWholeViewEntries(QMenu* menu, FormulaMenu which);

#pragma once
// The steps of the wheel and the keys, and a place pasted during a render:
// they wait for the event loop's next turn, or stop a render under way when
// they will draw another view and wait for it to return; what came meanwhile
// is then taken as one view step from the view on screen.

#include "engine/Navigation.h"

struct Place;

// Whether a step can be taken at all: a picture is set up and the drawing window exists.
bool ViewStepsPossible();
// Whole wheel steps from the wheel's angle delta (see WheelSteps).
int TakeWheelSteps(int angleDelta);
void AddWaitingStep(const ViewStep& step);
// A place read whole becomes the current view as after a zoom.
void OpenPlace(const Place& place);
// A place pasted during a render opens once the render has returned.
void OpenPlaceAfterRender(const Place& place);
// A place opened drops the steps meant for the view it leaves.
void DropWaitingSteps();
// The user's own stop is not taken back by steps that come to nothing.
void KeepUserStop();
void ForgetWaitingSteps();

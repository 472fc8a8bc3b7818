#pragma once
// What a place is to the program: the place of the picture on screen, and
// what opening one sets up in the engine.

#include "engine/PictureRenderer.h"
#include "engine/Place.h"
#include "engine/ViewRecord.h"

// The place of the picture on screen: its own size and extents, whatever
// size the window has taken since; the coefficients in use, the limit and
// the colouring, WholeView and currentColorMap.
Place PlaceOfCurrentView();
// A place's precise centre; empty where its fields are the centre.
PreciseCentre CentreOfPlace(const Place& place);
// The region of the plane a place shows, for a picture of any size.
PictureRegion RegionOfPlace(const Place& place);
// The view a place shows, ready to be fitted and rendered.
ViewRecord ViewOfPlace(const Place& place);
// The whole view a place's magnification is measured against.
ViewRecord WholeViewOfPlace(const Place& place);

struct PlaceChanges {
    bool wholeView = false;
    bool colorMap = false;
};
// The place becomes the next view (dpNext), with its coefficients, limit and
// colouring in use, its whole view as WholeView and its colour map, if it
// has one, as currentColorMap. Says which of the last two changed.
PlaceChanges SetUpPlace(const Place& place);

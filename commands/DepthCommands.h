#pragma once
// The commands on the limit and the colouring of the view on screen: the
// choices of their two menus, and the render or the recolouring that
// follows each, and what those menus say.

#include <QString>

#include "engine/PictureDepth.h"

// A limit of kLimitLevels for the view on screen and the views made from it;
// the automatic limit off. A picture drawn at another limit is drawn again.
void ChooseIterationLimit(int limit);
// The automatic limit on: the view on screen is drawn again where the rule,
// from its last render, chooses another limit, and every view made from it
// takes the rule's choice.
void ChooseAutomaticLimit();
// The colouring of the view on screen and the views made from it; the
// picture is recoloured.
void ChooseColoring(Coloring coloring);

// The limit menu's captions: "1,024" and the like, and the automatic
// item's, which tells the limit of the picture on screen and the one the
// rule chose for the next view.
QString LimitCaption(int limit);
QString AutomaticLimitCaption();
// The colouring menu's caption of each colouring.
QString ColoringCaption(Coloring coloring);

#pragma once
// The program's commands, by what they are about. The tool bar, the menus and
// the popup of every window start them here; they reach the windows only
// through the ports ProgramWindows hands over (commands/WindowPorts.h).

#include "commands/ColorMapCommands.h"
#include "commands/DepthCommands.h"
#include "commands/JuliaCommands.h"
#include "commands/PictureCommands.h"
#include "commands/PlaceCommands.h"
#include "commands/ViewCommands.h"
#include "commands/WindowCommands.h"

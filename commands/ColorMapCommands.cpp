#include "commands/ColorMapCommands.h"

#include "commands/WindowPorts.h"
#include "commands/WindowsHostAdapter.h"
#include "engine/RenderDriver.h"

void ChooseColorMap(int presetCode)
{
    if (presetCode == kBandColorMap)
        FillBandColorMap(currentColorMap);
    else
        FillPresetColorMap(currentColorMap, presetCode);
    RecolorCurrentPicture();
}

void InvertCurrentColorMap()
{
    InvertColorMap(currentColorMap);
    RecolorCurrentPicture();
}

void ApplyColorMap(const ColorMap& map)
{
    SetCurrentColorMap(map);
    RecolorCurrentPicture();
}

void ApplyUserColorMap(const ColorMap& map)
{
    SetCurrentColorMap(map);
    if (ControlWindowPort* control = Ports().control)
        control->MarkUserColorMap();
    RecolorCurrentPicture();
}

void OpenColorMapEditor()
{
    if (ColorEditorPort* editor = Ports().colorEditor)
        editor->Open();
}

void LoadUserColorMapFile()
{
    if (ColorEditorPort* editor = Ports().colorEditor)
        editor->GetUserFile();
}

void SaveUserColorMapFile()
{
    if (ColorEditorPort* editor = Ports().colorEditor)
        editor->SaveUserFile();
}

void RecolorCurrentPicture() { RecolorPicture(WindowsHost()); }

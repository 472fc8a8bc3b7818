#pragma once
// The commands on colour maps: the built-in maps, the inversion, the editor's
// maps and files, and the recolouring that follows each.

#include "colour/model/ColorMap.h"

// Fills currentColorMap from a built-in map code, or the band map for
// kBandColorMap, and recolours the picture.
inline constexpr int kBandColorMap = -1;
void ChooseColorMap(int presetCode);
// Inverts currentColorMap and recolours the picture.
void InvertCurrentColorMap();
// A map from the editor or a colour-map file becomes currentColorMap and the
// picture is recoloured.
void ApplyColorMap(const ColorMap& map);
// "更新": the editor's map applied, and "ユーザー設定" checked for good.
void ApplyUserColorMap(const ColorMap& map);
// "カラーマップ確認と加工/設定": the user editor on a fresh copy of
// currentColorMap.
void OpenColorMapEditor();
// "ユーザ設定読み込み" and "ユーザ設定保存": the editor's colour-map file commands.
void LoadUserColorMapFile();
void SaveUserColorMapFile();
// Repaints the picture from the iteration buffer with currentColorMap.
void RecolorCurrentPicture();

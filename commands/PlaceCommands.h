#pragma once
// The commands on places: files and the clipboard.

// "場所を保存…" and "場所を開く…": the place of the picture on screen to a
// .qvplace file, and a place file opened as a view step. "場所をコピー" and
// the paste key do the same through the clipboard's text. A bad place is
// refused with an error box naming it and its fault, and changes nothing.
void SavePlaceFile();
void OpenPlaceFile();
void CopyPlace();
void PastePlace();

#pragma once
// The commands that save pictures: the picture on screen, and the export at
// a chosen size off the user-interface thread.

#include <QSize>

// "画像を名前をつけて保存": the picture of the current size as a JPEG file; a
// failure goes to the general error report.
void SavePicture();
// "大きさを指定して保存…": the export window, offering the size of the
// picture on screen.
void ExportPictureAtSize();
// Asks for the file, then writes the current view's region at the size with
// n x n samples a pixel, off screen while the program goes on. False when
// there is nothing to write or the user cancelled the file dialog.
bool StartPictureExport(QSize size, int samples);
// Stops a running export, and the export window hears how it ended: nothing
// is written, unless the file was in place before the stop came.
void CancelPictureExport();
bool IsExportingPicture();
// The size of the picture on screen, which an export offers; empty before the
// first picture and while one is drawn.
QSize ExportablePictureSize();

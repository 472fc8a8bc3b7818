#pragma once
// Windows kept on the screen's available area: each goes where the program
// places it, moved just enough to lie on the area; one larger than the area
// shows its top-left part, and a fixed-size one then gets scroll bars, so
// that its title bar and every button can be reached.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;

// The top-left corner of a frame moved just enough to lie within the area;
// along an axis where it is larger than the area, the area's start.
QPoint PlacedWithin(const QRect& frame, const QRect& area);

// The primary screen's available area, unless a test has set its own.
QRect AvailableScreenArea();
void SetAvailableScreenAreaForTests(std::optional<QRect> area);

// A window's caption and border: as the window manager framed it, or before
// that as the style draws a title bar and frame.
QMargins WindowFrameMargins(const QWidget* window);

// The largest client size, up to the one given, whose frame lies within the
// area: what a resizable window larger than the screen is kept to.
QSize ClientSizeOnScreen(const QWidget* window, QSize client);

// Moves a window so that its frame starts at frameTopLeft, or as near to it
// as keeps the frame on the area.
void PlaceOnScreen(QWidget* window, QPoint frameTopLeft);
// Places a window's client area in the middle of the screen, on the area.
void CentreOnScreen(QWidget* window);
// Keeps a window on the area from now on: a fixed-size window whose frame
// would not fit shows its content in a scroll area as large as the area
// allows, and whenever the window is shown, once the window manager has
// framed it, it is moved onto the area again with its real frame.
void KeepOnScreen(QWidget* window);

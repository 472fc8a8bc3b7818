#pragma once
// What the commands and the engine's host need of each window. Each window
// implements its port; ProgramWindows hands the ports over as it creates the
// windows and takes them back before it destroys them, so the command layer
// never includes a window.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>

#include "engine/Navigation.h"
#include "engine/QVHost.h"
#include "engine/ViewRecord.h"

class QWidget;

class ControlWindowPort {
public:
    virtual QWidget* Window() = 0;
    virtual void ShowReadouts(const ViewReadouts& readouts) = 0;
    // Progress bar: minimum 0, the given maximum, position 0.
    virtual void ResetProgress(int maximum) = 0;
    virtual void StepProgress() = 0;
    // Replaces the indicator with a whole view's picture square and its scale.
    virtual void ShowIndicator(const QImage& square, const IndicatorScale& scale) = 0;
    virtual IndicatorScale IndicatorScaleShown() const = 0;
    // Erases the marks drawn last and draws these; 0 means no line.
    virtual void MoveCrossMarks(const CrossMarks& marks) = 0;
    // "ユーザー設定" gets its check mark for good.
    virtual void MarkUserColorMap() = 0;
    // The limit and colouring menus check what is in force, and the
    // automatic item tells its limits.
    virtual void ShowPictureDepth() = 0;

protected:
    ~ControlWindowPort() = default;
};

class DrawingWindowPort {
public:
    virtual QWidget* Window() = 0;
    // While set, a change of the window's size is the user's.
    virtual void SetTrackResize(bool on) = 0;
    // The rubber band, a drag under way too, is dropped altogether before a
    // zoom or a view step.
    virtual void ForgetRubberBand() = 0;
    // The picture surface, of which the current picture is the top-left part.
    virtual const QImage& Picture() const = 0;
    // The width of the picture control, which may differ from its picture's.
    virtual int PictureControlWidth() const = 0;
    // The picture pixel under the last right press and the screen point
    // where the popup then opened.
    virtual QPoint InspectedPixel() const = 0;
    virtual QPoint PopupPosition() const = 0;

    // What the engine's host asks of the drawing window.
    virtual void FitWindowToView(ViewRecord& view) = 0;
    virtual void FillPictureBackground(int width, int height) = 0;
    virtual void ForgetSelectionMark() = 0;
    virtual void PaintColumn(int x, const uint32_t* colorWords, int height) = 0;
    virtual void ColumnsComplete() = 0;

protected:
    ~DrawingWindowPort() = default;
};

class DiagnosticsWindowPort {
public:
    virtual QWidget* Window() = 0;
    // dpCurr and dpNext into the grid, with the two widths of the drawing
    // window's picture control and picture.
    virtual void FillGrid(int pictureControlWidth, int pictureWidth) = 0;

protected:
    ~DiagnosticsWindowPort() = default;
};

class ColorMapViewPort {
public:
    virtual QWidget* Window() = 0;
    // Draws currentColorMap as it is now.
    virtual void DrawColorMap() = 0;

protected:
    ~ColorMapViewPort() = default;
};

class CoefficientDialogPort {
public:
    virtual QWidget* Window() = 0;
    // Read-outs and bars from the edited parameters.
    virtual void ShowParams() = 0;

protected:
    ~CoefficientDialogPort() = default;
};

class ColorEditorPort {
public:
    // Shown on page 1 with a fresh copy of currentColorMap.
    virtual void Open() = 0;
    // The colour-map file commands; nothing while disabled by a render.
    virtual void GetUserFile() = 0;
    virtual void SaveUserFile() = 0;

protected:
    ~ColorEditorPort() = default;
};

class PixelInformationPort {
public:
    virtual QWidget* Window() = 0;
    // The pixel to show and the screen point the window goes to.
    virtual void Inspect(QPoint pixel, QPoint popupPosition) = 0;

protected:
    ~PixelInformationPort() = default;
};

// How an export ended: its file in place, stopped with nothing left behind,
// or failed (an error box says why).
enum class ExportEnd { Written, Cancelled, Failed };

class ExportPicturePort {
public:
    virtual QWidget* Window() = 0;
    // Offers the picture's size, its aspect ratio kept, and one sample a pixel.
    virtual void Open(QSize pictureSize) = 0;
    // secondsLeft is -1 while it cannot be told yet.
    virtual void ShowProgress(int rowsDone, int rows, int secondsLeft) = 0;
    // path: the file the export was writing.
    virtual void ExportEnded(ExportEnd end, const QString& path) = 0;

protected:
    ~ExportPicturePort() = default;
};

// The ports of the windows that exist now; null for one that does not.
struct WindowPorts {
    ControlWindowPort* control = nullptr;
    DrawingWindowPort* drawing = nullptr;
    DiagnosticsWindowPort* diagnostics = nullptr;
    ColorMapViewPort* colorMapView = nullptr;
    CoefficientDialogPort* coefficients = nullptr;
    ColorEditorPort* colorEditor = nullptr;
    QWidget* versionWindow = nullptr;
    PixelInformationPort* pixelInformation = nullptr;
    ExportPicturePort* exportPicture = nullptr;
};

WindowPorts& Ports();

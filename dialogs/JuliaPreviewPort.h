#pragma once
// What the tool menu asks of the live preview window (dialogs/untJuliaPreview).

#include <functional>
#include <memory>

#include "engine/PlaneRegion.h"

class QWidget;

class JuliaPreviewPort {
public:
    virtual ~JuliaPreviewPort() = default;
    virtual QWidget* Window() = 0;
    // The preview of the Julia set of c; the newest point wins.
    virtual void ShowPoint(PlanePoint c) = 0;
};

// The preview window, hidden; closed is called when the user closes it.
std::unique_ptr<JuliaPreviewPort> CreateJuliaPreview(std::function<void()> closed, QWidget* parent);

#pragma once
// The live preview: a small window that shows the Julia set of the point
// under the pointer while it moves over a picture of the formula's own plane,
// drawn on two worker threads; the user-interface thread only asks and paints.

#include <QWidget>
#include <functional>
#include <memory>

#include "dialogs/JuliaPreviewPort.h"
#include "engine/JuliaPreview.h"

class QLabel;

class TfrmJuliaPreview : public QWidget, public JuliaPreviewPort {
public:
    // closed: the user closed the window.
    TfrmJuliaPreview(std::function<void()> closed, QWidget* parent = nullptr);
    ~TfrmJuliaPreview() override;

    // The preview of the Julia set of c; the newest point wins.
    QWidget* Window() override { return this; }
    void ShowPoint(PlanePoint c) override;
    // Pictures painted so far, for the tests.
    uint64_t PaintedTicket() const { return paintedTicket; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Paint(const JuliaPreviewPicture& picture);

    std::function<void()> whenClosed;
    QLabel* imgJuliaPreview = nullptr;
    QLabel* stJuliaPoint = nullptr;
    uint64_t paintedTicket = 0;
    uint64_t askedTicket = 0;
    std::unique_ptr<JuliaPreviewer> previewer;  // last: its workers stop first
};

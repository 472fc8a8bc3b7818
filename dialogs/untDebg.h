#pragma once
// The diagnostics window: dpCurr beside dpNext field by field, and on demand
// the escape-count histogram. It changes nothing in the program.

#include <QPoint>
#include <QWidget>

#include "commands/WindowPorts.h"

class QPushButton;
class QTableWidget;

class TfrmDebg : public QWidget, public DiagnosticsWindowPort {
    Q_OBJECT
public:
    // topLeft: where the window's frame goes, directly under the control
    // window; frameHeight: a window's caption and frame as measured at start-up.
    TfrmDebg(QPoint topLeft, int frameHeight, QWidget* parent = nullptr);
    ~TfrmDebg() override;

    QWidget* Window() override { return this; }
    // Writes dpCurr into column 1 and dpNext into column 2; the last row
    // gets the width of the drawing window's picture control in column 1
    // and of the picture it holds in column 2.
    void FillGrid(int pictureControlWidth, int pictureWidth) override;

private:
    void BuildGrids();
    void btnSetMkClick();

    QTableWidget* sgDebg = nullptr;
    QTableWidget* sgMk = nullptr;
};

extern TfrmDebg* frmDebg;

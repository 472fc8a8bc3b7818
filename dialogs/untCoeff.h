#pragma once
// The coefficient dialog: ten track bars with read-outs for the parts of the
// edited formula parameters, which the next whole view makes active.

#include <QString>
#include <QWidget>
#include <array>

#include "commands/WindowPorts.h"
#include "engine/Coefficients.h"

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

class TfrmSetCoeff : public QWidget, public CoefficientDialogPort {
    Q_OBJECT
public:
    explicit TfrmSetCoeff(QWidget* parent = nullptr);
    ~TfrmSetCoeff() override;

    // Read-outs from the edited parameters, then every bar to its part's
    // position; a bar that moves writes its position back into the part.
    void ShowParams() override;
    QWidget* Window() override { return this; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One part's caption, read-out and bar.
    struct CoefficientRow {
        CoefficientPart part = CoefficientPart::GzRe;
        QLabel* readout = nullptr;
        QSlider* bar = nullptr;
    };

    void BuildFormulaPanels();
    void BuildSetC();
    void BuildSelection();
    CoefficientRow AddRow(CoefficientPart part, const char* readoutName, const char* barName, const QString& caption,
                          int top);
    void ShowPart(const CoefficientRow& row);
    void tbChange(const CoefficientRow& row);
    // The "0", "P" and "M" keys; false leaves the key to the bar.
    bool tbKeyPress(const CoefficientRow& row, const QString& key);
    void rgSelFormulaClick(int index);
    void btnOkClick();

    QFrame* pnFormula = nullptr;
    QFrame* pnFormula2 = nullptr;
    QFrame* pnSetC = nullptr;

    std::array<CoefficientRow, 10> rows;
};

extern TfrmSetCoeff* frmSetCoeff;

#pragma once
// "大きさを指定して保存": the picture of the current view at a chosen size,
// with anti-aliasing, written as PNG or JPEG; the window then shows the
// progress of the export, with the share done, the time left and a button
// that stops it.

#include <QSize>
#include <QWidget>

#include "commands/WindowPorts.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

class TfrmExportPicture : public QWidget, public ExportPicturePort {
    Q_OBJECT
public:
    explicit TfrmExportPicture(QWidget* parent = nullptr);

    QWidget* Window() override { return this; }
    void Open(QSize pictureSize) override;
    void ShowProgress(int rowsDone, int rows, int secondsLeft) override;
    void ExportEnded() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void KeepAspect(bool widthChanged);
    void btnSaveClick();
    void SetBusy(bool busy);

    QSpinBox* spnWidth = nullptr;
    QSpinBox* spnHeight = nullptr;
    QCheckBox* chkAspect = nullptr;
    QComboBox* cmbSamples = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnCancel = nullptr;
    QProgressBar* pbExport = nullptr;
    QLabel* stExport = nullptr;
    QSize aspect{1, 1};
    bool busy = false;
    bool adjusting = false;
};

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
    // The window stays open, ready for another export, and says how it ended.
    void ExportEnded(ExportEnd end, const QString& path) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    // A side the user set: with the aspect kept, the other follows.
    void SideChanged(bool width);
    void KeepAspect();
    // The view on screen changed, or the picture came or went: sides the user
    // left as offered take the new picture's, a side the user set stays.
    void FollowView();
    void SetSides(QSize sides);
    void btnSaveClick();
    void btnCancelClick();
    void SetBusy(bool busy);

    QSpinBox* spnWidth = nullptr;
    QSpinBox* spnHeight = nullptr;
    QCheckBox* chkAspect = nullptr;
    QComboBox* cmbSamples = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnCancel = nullptr;
    QProgressBar* pbExport = nullptr;
    QLabel* stExport = nullptr;
    QSize aspect{1, 1};  // the picture the sides were offered for
    bool busy = false;
    bool adjusting = false;
    bool sideChosen = false;  // the user set a side since the window opened
    bool widthChosen = true;  // which one, last
};

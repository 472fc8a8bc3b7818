#pragma once
// The user colour-map editor: divides the working map into sections, lets the
// user pick the key colours and fills the rest as a gradient or a repetition;
// "更新" makes the result the current map. It also carries the commands that
// load and save the working map as a colour-map file.

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

#include "colour/model/ColorMap.h"
#include "colour/model/ColorMapEditor.h"
#include "colour/model/ColorMapFile.h"
#include "commands/WindowPorts.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QWindow;
class TQVImage;

class TfrmColorUser : public QWidget, public ColorEditorPort {
    Q_OBJECT
public:
    explicit TfrmColorUser(QWidget* parent = nullptr);
    ~TfrmColorUser() override;

    // "カラーマップ確認と加工/設定": shown on page 1 with a fresh copy of
    // currentColorMap, unapplied edits dropped.
    void Open() override;
    // The file commands; loading, like "更新", follows the colour-map
    // commands and does nothing while a render disables them.
    void GetUserFile() override;
    void SaveUserFile() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMapView();
    void BuildReadouts();
    QGroupBox* AddPage(const char* name, const QString& title);
    QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h);
    QPlainTextEdit* AddHelpText(QGroupBox* page, const char* name, const QStringList& lines);
    void BuildPage1();
    void BuildPage2();
    void BuildPage3();
    void BuildActions();

    void ShowPage(int page);
    void ShowSections();
    AllocationMethod Method() const;
    void PaintWorkMap();
    void MarkSections();
    void DrawMarkers(QPainter& painter);
    void ShowEntry(int entry);
    void PickKeyColor(int entry);

    // The editor's own boxes and colour dialog; the editor takes the focus
    // back when they close.
    void InOwnDialog(const std::function<void()>& show);
    void ShowOwnError(const QString& text);
    // Coming back after another window of the program was active, or after
    // the user pressed a key or a mouse button in one, shows page 1; the
    // focus the window manager passes around while the editor's own dialogs
    // are up or as they close does not count.
    void FocusWindowChanged(QWindow* focus);
    bool IsOwnWindow(const QWidget* window) const;
    QWidget* FileDialogParent();
    void ShowFileError(QWidget* parent, ColorMapFileResult result, const QString& path);

    void FormActivate();
    void tbBunkatuChange(int position);
    void rgHousikiClick();
    void btnNext1Click();
    void btnNext2Click();
    void btnNext3Click();
    void btnPrev2Click();
    void btnPrev3Click();
    void imgColorUserMouseDown(Qt::MouseButton button, int x, int y);
    void imgColorUserMouseUp(Qt::MouseButton button, int x, int y);
    void imgColorUserDblClick();
    void actCancelExecute();
    void actGetUserExecute();
    void actSaveUserExecute();

    TQVImage* imgColorUser = nullptr;
    QLabel* stPal = nullptr;
    QLabel* stRR = nullptr;
    QLabel* stGG = nullptr;
    QLabel* stBB = nullptr;

    QGroupBox* gbSetting1 = nullptr;
    QLabel* stBunkatuNo = nullptr;
    QLabel* stBunkatuSz = nullptr;
    QSlider* tbBunkatu = nullptr;
    QButtonGroup* rgHousikiItems = nullptr;
    QPushButton* btnNext1 = nullptr;

    QGroupBox* gbSetting2 = nullptr;

    QGroupBox* gbSetting3 = nullptr;

    QPushButton* btnCancel = nullptr;
    QAction* actCancel = nullptr;
    QAction* actGetUser = nullptr;
    QAction* actSaveUser = nullptr;

    Sections sections;
    bool pickingEnabled = false;
    int lastMouseX = 0;
    int lastMouseY = 0;
    // The colour dialog starts with the colour it gave last.
    ColorWord lastPickedColor = kBlackWord;
    // The user worked in another window of the program since this one was
    // last active.
    bool leftForOtherWindow = true;
    bool ownDialogOpen = false;
    QElapsedTimer ownDialogClosed;
    static constexpr qint64 kFocusSettling = 500;  // milliseconds
};

extern TfrmColorUser* frmColorUser;
// The editor's working map: what it shows and generates before "更新".
extern ColorMap workColorMap;

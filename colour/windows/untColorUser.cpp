#include "colour/windows/untColorUser.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QWindow>

#include "commands/CommandSet.h"
#include "commands/QVCommands.h"
#include "files/WholeFiles.h"
#include "platform/QVDialogs.h"
#include "platform/QVImage.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

TfrmColorUser* frmColorUser = nullptr;
ColorMap workColorMap{};

namespace {

const QString kColorFileFilter = QStringLiteral("カラー設定ファイル (*.col)");
const QString kProposedColorFile = QStringLiteral("Mandel.col");
constexpr int kInitialSectionPosition = 4;

// A passive ruler of 17 ticks, one on every cell boundary of the map it
// stands beside; it takes no input.
class TQVRuler : public QSlider {
public:
    TQVRuler(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent)
    {
        setRange(0, kMapGridCells);
        setTickInterval(1);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const bool across = orientation() == Qt::Horizontal;
        const int length = (across ? width() : height()) - 1;
        const QColor groove = palette().color(QPalette::Mid);
        const QColor tick = palette().color(QPalette::WindowText);
        if (across)
            painter.fillRect(0, 6, length + 1, 4, groove);
        else
            painter.fillRect(6, 0, 4, length + 1, groove);
        painter.setPen(tick);
        for (int i = minimum(); i <= maximum(); ++i) {
            const int at = i * length / maximum();
            if (across)
                painter.drawLine(at, 14, at, 22);
            else
                painter.drawLine(14, at, 22, at);
        }
    }
};

QRect Cell(int entry)
{
    return QRect((entry % kMapGridCells) * kMapCellPixels, (entry / kMapGridCells) * kMapCellPixels, kMapCellPixels,
                 kMapCellPixels);
}

// The rectangle (left, top)-(right, bottom), right and bottom excluded, as a
// one-pixel pen outlines it.
QRect Outline(int left, int top, int right, int bottom) { return QRect(QPoint(left, top), QPoint(right - 2, bottom - 2)); }

void DrawDisc(QPainter& painter, const QRect& bounds, const QColor& fill)
{
    painter.setBrush(fill);
    painter.drawEllipse(bounds);
}

// Writes the map as the whole new content of the file, or leaves the old
// file as it was.
ColorMapFileResult WriteColorMapFile(const QString& path, const ColorMap& map)
{
    if (QFileInfo::exists(path)) {
        QFile existing(path);
        if (!existing.open(QIODevice::ReadWrite))
            return ColorMapFileResult::OpenFailed;
    }
    const ColorMapBytes bytes = BytesOfColorMap(map);
    std::string reason;
    switch (WriteWholeFile(QFile::encodeName(path).toStdString(), bytes.data(), bytes.size(), reason)) {
    case FileWriteResult::Written: return ColorMapFileResult::Done;
    case FileWriteResult::CreateFailed: return ColorMapFileResult::CreateFailed;
    case FileWriteResult::WriteFailed: return ColorMapFileResult::WriteFailed;
    }
    return ColorMapFileResult::WriteFailed;
}

QString Lines(const QStringList& lines) { return lines.join(QLatin1Char('\n')); }

}  // namespace

TfrmColorUser::TfrmColorUser(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    frmColorUser = this;
    workColorMap = ColorMap{};
    setObjectName(QStringLiteral("frmColorUser"));
    setWindowTitle(QStringLiteral("カラーマップユーザ設定"));
    setFixedSize(698, 541);
    BuildMapView();
    BuildReadouts();
    BuildPage1();
    BuildPage2();
    BuildPage3();
    BuildActions();
    btnCancel = AddButton(this, "btnCancel", QStringLiteral("キャンセル"), 584, 488, 81, 33);
    connect(btnCancel, &QPushButton::clicked, actCancel, &QAction::trigger);

    tbBunkatu->setValue(kInitialSectionPosition);
    ShowSections();
    ShowPage(1);
    PaintWorkMap();
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &TfrmColorUser::FocusWindowChanged);
    qApp->installEventFilter(this);

    KeepOnScreen(this);
    CentreOnScreen(this);
}

TfrmColorUser::~TfrmColorUser()
{
    if (frmColorUser == this)
        frmColorUser = nullptr;
}

void TfrmColorUser::BuildMapView()
{
    QLabel* lblColorUser = Named(new QLabel(QStringLiteral("カラーマップ割り当て状況"), this), "lblColorUser");
    lblColorUser->move(40, 28);
    lblColorUser->adjustSize();
    QSlider* TrackBar1 = Named(new TQVRuler(Qt::Horizontal, this), "TrackBar1");
    TrackBar1->setGeometry(40, 56, 385, 25);
    TrackBar1->setAccessibleName(QStringLiteral("横の目盛り"));
    QSlider* TrackBar2 = Named(new TQVRuler(Qt::Vertical, this), "TrackBar2");
    TrackBar2->setGeometry(8, 88, 25, 385);
    TrackBar2->setAccessibleName(QStringLiteral("縦の目盛り"));

    imgColorUser = Named(new TQVImage(QSize(kMapImageSide, kMapImageSide), Qt::black, this), "imgColorUser");
    imgColorUser->move(40, 88);
    imgColorUser->setAccessibleName(lblColorUser->text());
    imgColorUser->setAccessibleDescription(QStringLiteral("16 × 16 のカラーマップ。押した升目の番号と色が下に表示されます"));
    connect(imgColorUser, &TQVImage::MouseDown, this, &TfrmColorUser::imgColorUserMouseDown);
    connect(imgColorUser, &TQVImage::MouseUp, this, &TfrmColorUser::imgColorUserMouseUp);
    connect(imgColorUser, &TQVImage::DoubleClicked, this, &TfrmColorUser::imgColorUserDblClick);
}

void TfrmColorUser::BuildReadouts()
{
    const auto addCaption = [this](const char* name, const QString& text, int x) {
        auto* label = Named(new QLabel(text, this), name);
        label->setGeometry(x, 488, 24, 24);
        return label;
    };
    QLabel* lblPal = addCaption("lblPal", QStringLiteral("＃"), 40);
    stPal = SunkenReadout(this, "stPal", QRect(64, 488, 49, 24));
    QLabel* lblRR = addCaption("lblRR", QStringLiteral("赤"), 128);
    stRR = SunkenReadout(this, "stRR", QRect(152, 488, 49, 24));
    QLabel* lblGG = addCaption("lblGG", QStringLiteral("緑"), 216);
    stGG = SunkenReadout(this, "stGG", QRect(240, 488, 49, 24));
    QLabel* lblBB = addCaption("lblBB", QStringLiteral("青"), 304);
    stBB = SunkenReadout(this, "stBB", QRect(328, 488, 49, 24));
    LabelReadout(lblPal, stPal);
    LabelReadout(lblRR, stRR);
    LabelReadout(lblGG, stGG);
    LabelReadout(lblBB, stBB);
}

QGroupBox* TfrmColorUser::AddPage(const char* name, const QString& title)
{
    auto* page = Named(new QGroupBox(title, this), name);
    page->setGeometry(448, 64, 217, 409);
    return page;
}

QPushButton* TfrmColorUser::AddButton(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h)
{
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setGeometry(x, y, w, h);
    return button;
}

QPlainTextEdit* TfrmColorUser::AddHelpText(QGroupBox* page, const char* name, const QStringList& lines)
{
    auto* text = Named(new QPlainTextEdit(Lines(lines), page), name);
    text->setReadOnly(true);
    text->setGeometry(16, 32, 185, 225);
    text->setAccessibleName(page->title());
    return text;
}

void TfrmColorUser::BuildPage1()
{
    gbSetting1 = AddPage("gbSetting1", QStringLiteral("カラーの設定と方式の選択"));
    QLabel* lblBunkatuNo = Named(new QLabel(QStringLiteral("分割個数"), gbSetting1), "lblBunkatuNo");
    lblBunkatuNo->setGeometry(16, 36, 90, 24);
    stBunkatuNo = SunkenReadout(gbSetting1, "stBunkatuNo", QRect(112, 36, 81, 24));
    LabelReadout(lblBunkatuNo, stBunkatuNo);
    QLabel* lblBunkatuSz = Named(new QLabel(QStringLiteral("区画サイズ"), gbSetting1), "lblBunkatuSz");
    lblBunkatuSz->setGeometry(16, 72, 90, 24);
    stBunkatuSz = SunkenReadout(gbSetting1, "stBunkatuSz", QRect(112, 72, 81, 24));
    LabelReadout(lblBunkatuSz, stBunkatuSz);

    tbBunkatu = Named(new QSlider(Qt::Horizontal, gbSetting1), "tbBunkatu");
    tbBunkatu->setGeometry(8, 112, 201, 33);
    tbBunkatu->setRange(0, kMaxSectionPosition);
    tbBunkatu->setSingleStep(1);
    tbBunkatu->setPageStep(1);
    tbBunkatu->setTickInterval(1);
    tbBunkatu->setTickPosition(QSlider::TicksBelow);
    tbBunkatu->setAccessibleName(lblBunkatuNo->text());
    connect(tbBunkatu, &QSlider::valueChanged, this, &TfrmColorUser::tbBunkatuChange);

    QGroupBox* rgHousiki = Named(new QGroupBox(QStringLiteral("カラー割り当て方式"), gbSetting1), "rgHousiki");
    rgHousiki->setGeometry(16, 160, 185, 89);
    QRadioButton* rbGradient = Named(new QRadioButton(QStringLiteral("グラデーション方式"), rgHousiki), "rbGradient");
    rbGradient->setGeometry(16, 28, 161, 24);
    QRadioButton* rbRepetition = Named(new QRadioButton(QStringLiteral("反復方式"), rgHousiki), "rbRepetition");
    rbRepetition->setGeometry(16, 56, 161, 24);
    rgHousikiItems = Named(new QButtonGroup(this), "rgHousikiItems");
    rgHousikiItems->addButton(rbGradient, int(AllocationMethod::Gradient));
    rgHousikiItems->addButton(rbRepetition, int(AllocationMethod::Repetition));
    connect(rgHousikiItems, &QButtonGroup::idClicked, this, &TfrmColorUser::rgHousikiClick);

    btnNext1 = AddButton(gbSetting1, "btnNext1", QStringLiteral("次へ"), 112, 272, 81, 41);
    btnNext1->setEnabled(false);
    connect(btnNext1, &QPushButton::clicked, this, &TfrmColorUser::btnNext1Click);
}

void TfrmColorUser::BuildPage2()
{
    gbSetting2 = AddPage("gbSetting2", QStringLiteral("カラー詳細設定"));
    AddHelpText(gbSetting2, "memHelp2",
                           {QStringLiteral("左のカラーマップの"), QStringLiteral("白丸部分を"), QStringLiteral("ダブルクリックして"),
                            QStringLiteral("カラーダイアログを"), QStringLiteral("表示し"), QStringLiteral("色を決定して下さい"),
                            QStringLiteral("黒丸部分は、"), QStringLiteral("方式に従って"), QStringLiteral("自動的に色が決定され"),
                            QStringLiteral("ます")});
    QPushButton* btnPrev2 = AddButton(gbSetting2, "btnPrev2", QStringLiteral("戻る"), 16, 272, 81, 41);
    QPushButton* btnNext2 = AddButton(gbSetting2, "btnNext2", QStringLiteral("次へ"), 112, 272, 81, 41);
    connect(btnPrev2, &QPushButton::clicked, this, &TfrmColorUser::btnPrev2Click);
    connect(btnNext2, &QPushButton::clicked, this, &TfrmColorUser::btnNext2Click);
}

void TfrmColorUser::BuildPage3()
{
    gbSetting3 = AddPage("gbSetting3", QStringLiteral("カラー設定結果確認"));
    AddHelpText(gbSetting3, "memHelp3",
                           {QStringLiteral("２５６色カラーは"), QStringLiteral("左のカラーマップのように"),
                            QStringLiteral("設定されました"), QStringLiteral("これでよければ"),
                            QStringLiteral("[終了]ボタンを押して"), QStringLiteral("ください")});
    QPushButton* btnPrev3 = AddButton(gbSetting3, "btnPrev3", QStringLiteral("戻る"), 16, 272, 81, 41);
    QPushButton* btnNext3 = AddButton(gbSetting3, "btnNext3", QStringLiteral("更新"), 112, 272, 81, 41);
    connect(btnPrev3, &QPushButton::clicked, this, &TfrmColorUser::btnPrev3Click);
    connect(btnNext3, &QPushButton::clicked, this, &TfrmColorUser::btnNext3Click);
    // A render or recolouring paints from currentColorMap: it must not change underneath.
    FollowCommand(QVCommand::ColorMaps, btnNext3);
}

void TfrmColorUser::BuildActions()
{
    actCancel = Named(new QAction(QStringLiteral("キャンセル"), this), "actCancel");
    connect(actCancel, &QAction::triggered, this, &TfrmColorUser::actCancelExecute);
    actGetUser = Named(new QAction(QStringLiteral("ユーザ設定読み込み"), this), "actGetUser");
    connect(actGetUser, &QAction::triggered, this, &TfrmColorUser::actGetUserExecute);
    FollowCommand(QVCommand::ColorMaps, actGetUser);
    actSaveUser = Named(new QAction(QStringLiteral("ユーザ設定保存"), this), "actSaveUser");
    connect(actSaveUser, &QAction::triggered, this, &TfrmColorUser::actSaveUserExecute);
}

void TfrmColorUser::Open()
{
    BringToFront(this);
    workColorMap = currentColorMap;
    FormActivate();
    btnCancel->setText(QStringLiteral("キャンセル"));
}

void TfrmColorUser::GetUserFile() { actGetUser->trigger(); }

void TfrmColorUser::SaveUserFile() { actSaveUser->trigger(); }

void TfrmColorUser::closeEvent(QCloseEvent* event)
{
    // The close box closes like "キャンセル".
    pickingEnabled = false;
    event->accept();
}

void TfrmColorUser::ShowPage(int page)
{
    gbSetting1->setVisible(page == 1);
    gbSetting2->setVisible(page == 2);
    gbSetting3->setVisible(page == 3);
}

void TfrmColorUser::ShowSections()
{
    sections = SectionsAt(tbBunkatu->value());
    stBunkatuNo->setText(QString::number(sections.count));
    stBunkatuSz->setText(QString::number(sections.size));
}

AllocationMethod TfrmColorUser::Method() const
{
    const int id = rgHousikiItems->checkedId();
    return id < 0 ? AllocationMethod::None : AllocationMethod(id);
}

void TfrmColorUser::PaintWorkMap()
{
    QPainter painter(&imgColorUser->Picture());
    for (int entry = 0; entry < int(workColorMap.size()); ++entry)
        painter.fillRect(Cell(entry), ColorOfColorWord(ColorWordOf(workColorMap[entry])));
    imgColorUser->update();
}

void TfrmColorUser::MarkSections()
{
    QPainter painter(&imgColorUser->Picture());
    painter.setBrush(Qt::NoBrush);
    for (const CellRect& s : SectionCells(sections)) {
        const int left = s.column * kMapCellPixels;
        const int top = s.row * kMapCellPixels;
        const int right = (s.column + s.columns) * kMapCellPixels;
        const int bottom = (s.row + s.rows) * kMapCellPixels;
        painter.setPen(Qt::black);
        painter.drawRect(Outline(left, top, right, bottom));
        painter.setPen(Qt::white);
        painter.drawRect(Outline(left - 1, top - 1, right - 1, bottom - 1));
    }
    if (!SetKeyFlags(workColorMap, Method(), sections))
        ShowOwnError(QStringLiteral("プログラムエラー"));
    DrawMarkers(painter);
    imgColorUser->update();
}

// A key entry shows a white circle in a black ring, every other entry a
// black circle in a white ring.
void TfrmColorUser::DrawMarkers(QPainter& painter)
{
    painter.setPen(Qt::black);
    for (int entry = 0; entry < int(workColorMap.size()); ++entry) {
        const QRect cell = Cell(entry);
        const int x = cell.left();
        const int y = cell.top();
        const bool key = workColorMap[entry].keyFlag == 1;
        DrawDisc(painter, Outline(x + 2, y + 2, x + 23, y + 23), key ? Qt::black : Qt::white);
        DrawDisc(painter, Outline(x + 4, y + 4, x + 22, y + 22), key ? Qt::white : Qt::black);
    }
}

void TfrmColorUser::ShowEntry(int entry)
{
    const ColorMapEntry& e = workColorMap[entry];
    stPal->setText(QString::number(entry));
    stRR->setText(QString::number(e.red));
    stGG->setText(QString::number(e.green));
    stBB->setText(QString::number(e.blue));
}

void TfrmColorUser::FormActivate()
{
    ShowPage(1);
    PaintWorkMap();
}

void TfrmColorUser::tbBunkatuChange(int) { ShowSections(); }

void TfrmColorUser::rgHousikiClick() { btnNext1->setEnabled(true); }

void TfrmColorUser::btnNext1Click()
{
    pickingEnabled = true;
    MarkSections();
    ShowPage(2);
}

void TfrmColorUser::btnNext2Click()
{
    if (Method() == AllocationMethod::Gradient) {
        const GradientOutcome outcome = GenerateGradient(workColorMap, sections);
        for (int i = 0; i < outcome.sectionsWithoutKeys; ++i)
            InOwnDialog([this] { Dialogs().Notify(this, QStringLiteral("チェックマークエラー")); });
        if (outcome.outOfRange) {
            // Like every error that escapes a command: reported, and the
            // command ends here, so the editor stays on this page.
            ShowOwnError(QStringLiteral("範囲チェックエラー"));
            return;
        }
        if (outcome.ran)
            PaintWorkMap();
    } else {
        GenerateRepetition(workColorMap, sections);
        PaintWorkMap();
    }
    ShowPage(3);
}

void TfrmColorUser::btnPrev2Click()
{
    workColorMap = currentColorMap;
    PaintWorkMap();
    pickingEnabled = false;
    btnCancel->setText(QStringLiteral("キャンセル"));
    ShowPage(1);
}

void TfrmColorUser::btnPrev3Click()
{
    PaintWorkMap();
    MarkSections();
    btnCancel->setText(QStringLiteral("キャンセル"));
    ShowPage(2);
}

void TfrmColorUser::btnNext3Click()
{
    pickingEnabled = false;
    ApplyUserColorMap(workColorMap);
    btnCancel->setText(QStringLiteral("ＯＫ"));
}

void TfrmColorUser::imgColorUserMouseDown(Qt::MouseButton, int x, int y)
{
    const int entry = EntryAtPoint(x, y);
    if (entry >= 0)
        ShowEntry(entry);
}

void TfrmColorUser::imgColorUserMouseUp(Qt::MouseButton, int x, int y)
{
    lastMouseX = x;
    lastMouseY = y;
}

void TfrmColorUser::imgColorUserDblClick()
{
    if (!pickingEnabled)
        return;
    const int entry = EntryAtPoint(lastMouseX, lastMouseY);
    if (entry < 0 || workColorMap[entry].keyFlag != 1)
        return;
    PickKeyColor(entry);
}

void TfrmColorUser::PickKeyColor(int entry)
{
    ColorWord color = lastPickedColor;
    bool picked = false;
    InOwnDialog([this, &color, &picked] { picked = Dialogs().PickColor(this, color); });
    if (!picked)
        return;
    lastPickedColor = color;
    SetEntryColor(workColorMap[entry], color);
    const QRect cell = Cell(entry);
    QPainter(&imgColorUser->Picture()).fillRect(QRect(cell.topLeft(), QSize(22, 22)), ColorOfColorWord(color));
    imgColorUser->update(cell);
    ShowEntry(entry);
}

void TfrmColorUser::actCancelExecute()
{
    pickingEnabled = false;
    close();
}

void TfrmColorUser::InOwnDialog(const std::function<void()>& show)
{
    ownDialogOpen = true;
    show();
    ownDialogOpen = false;
    ownDialogClosed.start();
    if (isVisible())
        activateWindow();
}

void TfrmColorUser::ShowOwnError(const QString& text)
{
    InOwnDialog([this, &text] { Dialogs().ShowError(this, text); });
}

bool TfrmColorUser::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool input = type == QEvent::MouseButtonPress || type == QEvent::KeyPress;
    if (input && watched->isWidgetType() && !IsOwnWindow(static_cast<QWidget*>(watched)->window()))
        leftForOtherWindow = true;
    return false;
}

void TfrmColorUser::FocusWindowChanged(QWindow* focus)
{
    if (!focus)
        return;
    if (focus == windowHandle()) {
        if (leftForOtherWindow)
            FormActivate();
        leftForOtherWindow = false;
        return;
    }
    // Another window of the program became active: by the user, unless the
    // editor's own dialog is up or has only just closed, when the window
    // manager may pass the focus around before it comes back.
    const bool passedAround = ownDialogOpen || (ownDialogClosed.isValid() && ownDialogClosed.elapsed() < kFocusSettling);
    bool own = false;
    for (const QWidget* window : QApplication::topLevelWidgets())
        own = own || (window->windowHandle() == focus && IsOwnWindow(window));
    if (!passedAround && !own)
        leftForOtherWindow = true;
}

// This window, or a box or dialog it opened.
bool TfrmColorUser::IsOwnWindow(const QWidget* window) const
{
    for (const QWidget* w = window; w; w = w->parentWidget())
        if (w == this)
            return true;
    return false;
}

// The file commands are started from the control window's menu: their
// dialogs and boxes stand over the window the user is in.
QWidget* TfrmColorUser::FileDialogParent()
{
    QWidget* active = QApplication::activeWindow();
    return active ? active : this;
}

void TfrmColorUser::ShowFileError(QWidget* parent, ColorMapFileResult result, const QString& path)
{
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    Dialogs().ShowError(parent, QString::fromStdString(ColorMapFileMessage(result, fullPath.toStdString())));
}

void TfrmColorUser::actGetUserExecute()
{
    QWidget* parent = FileDialogParent();
    const QString path = Dialogs().GetOpenFileName(parent, kColorFileFilter);
    if (path.isEmpty())
        return;
    ColorMap loaded = workColorMap;
    const ColorMapFileResult result = ReadColorMapFile(QFile::encodeName(path).toStdString(), loaded);
    if (result != ColorMapFileResult::Done) {
        ShowFileError(parent, result, path);
        return;
    }
    workColorMap = loaded;
    PaintWorkMap();
    ApplyColorMap(workColorMap);
}

void TfrmColorUser::actSaveUserExecute()
{
    QWidget* parent = FileDialogParent();
    const QString path = Dialogs().GetSaveFileName(parent, kProposedColorFile, kColorFileFilter);
    if (path.isEmpty())
        return;
    const ColorMapFileResult result = WriteColorMapFile(path, workColorMap);
    if (result != ColorMapFileResult::Done)
        ShowFileError(parent, result, path);
}

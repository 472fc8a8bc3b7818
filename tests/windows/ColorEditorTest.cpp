// The user colour-map editor and the colour-map file commands, driven as a
// user drives them: pages, double-clicks, the colour dialog, the menu items.

#include <sys/resource.h>
#include <sys/stat.h>

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <csignal>

#include "WindowsFixture.h"
#include "colour/model/ColorMapFile.h"
#include "colour/windows/untColorUser.h"
#include "commands/WindowsHostAdapter.h"
#include "engine/RenderDriver.h"

namespace {

ColorWord Word(int red, int green, int blue) { return ColorWord(red + green * 256 + blue * 65536); }

ColorMap Preset(int code)
{
    ColorMap map{};
    FillPresetColorMap(map, code);
    return map;
}

QByteArray FileBytes(const ColorMap& map, int length)
{
    const ColorMapBytes bytes = BytesOfColorMap(map);
    QByteArray file(length, char(0x5A));
    std::copy_n(bytes.begin(), std::min<size_t>(length, bytes.size()), file.begin());
    return file;
}

}  // namespace

class ColorEditorTest : public WindowsFixture {
protected:
    TfrmColorUser* editor = nullptr;

    void SetUp() override
    {
        WindowsFixture::SetUp();
        CreateWindows();
        editor = windows.colorEditor.get();
    }

    QString FilePath(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void ShowSmallPicture()
    {
        dpCurr.diImgW = 64;
        dpCurr.diImgH = 64;
        ShowWholeView(1);
    }

    void Press(const char* button) { Find<QPushButton>(editor, button)->click(); }

    // Page 2 with the given method and track-bar position.
    void StartPicking(const char* method, int position = 4)
    {
        OpenColorMapEditor();
        QApplication::processEvents();  // the window becomes active before the user goes on
        Find<QSlider>(editor, "tbBunkatu")->setValue(position);
        Find<QRadioButton>(editor, method)->click();
        Press("btnNext1");
        ASSERT_EQ(Page(), 2);
    }

    static void FocusOn(QWidget* window)
    {
        window->activateWindow();
        QApplication::processEvents();
    }

    int Page() const
    {
        for (int page = 1; page <= 3; ++page)
            if (Find<QGroupBox>(editor, ("gbSetting" + std::to_string(page)).c_str())->isVisibleTo(editor))
                return page;
        return 0;
    }

    void SendMouse(QEvent::Type type, int entry)
    {
        auto* image = Find<TQVImage>(editor, "imgColorUser");
        const QPointF at(24 * (entry % 16) + 12, 24 * (entry / 16) + 12);
        QMouseEvent event(type, at, image->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(image, &event);
    }

    void DoubleClickEntry(int entry)
    {
        SendMouse(QEvent::MouseButtonPress, entry);
        SendMouse(QEvent::MouseButtonRelease, entry);
        SendMouse(QEvent::MouseButtonDblClick, entry);
        SendMouse(QEvent::MouseButtonRelease, entry);
    }

    // Double-clicks an entry with a colour ready in the dialog; true if the
    // dialog took it.
    bool PickAt(int entry, ColorWord color)
    {
        dialogs.pickedColors = {color};
        DoubleClickEntry(entry);
        const bool taken = dialogs.pickedColors.empty();
        dialogs.pickedColors.clear();
        return taken;
    }

    QRgb CellCentre(int entry) const
    {
        return Find<TQVImage>(editor, "imgColorUser")->Picture().pixel(24 * (entry % 16) + 12, 24 * (entry / 16) + 12) & 0xFFFFFFu;
    }

    static QRgb RgbOf(const ColorMapEntry& e) { return qRgb(e.red, e.green, e.blue) & 0xFFFFFFu; }

    QStringList Readouts() const
    {
        return {Find<QLabel>(editor, "stPal")->text(), Find<QLabel>(editor, "stRR")->text(), Find<QLabel>(editor, "stGG")->text(),
                Find<QLabel>(editor, "stBB")->text()};
    }

    // Pixels of the picture not in the colour their escape count has in map.
    int PixelsNotShowing(const ColorMap& map) const
    {
        const QImage picture = Picture();
        int wrong = 0;
        for (int x = 0; x < picture.width(); ++x)
            for (int y = 0; y < picture.height(); ++y) {
                const uint8_t n = IterationBuffer[BufferIndex(x, y)];
                wrong += (picture.pixel(x, y) & 0xFFFFFFu) != (n > 0 ? RgbOf(map[n]) : 0u);
            }
        return wrong;
    }

    bool UserMapChecked() const { return Find<QAction>(control, "pmiColorUser")->isChecked(); }
};

TEST_F(ColorEditorTest, OpeningShowsPage1OnAFreshCopyAndAMethodMustBeChosenFirst)
{
    currentColorMap = Preset(kPresetSetting2);
    OpenColorMapEditor();
    EXPECT_TRUE(SameColorMap(workColorMap, currentColorMap));
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(CellCentre(37), RgbOf(currentColorMap[37]));
    EXPECT_FALSE(Find<QPushButton>(editor, "btnNext1")->isEnabled());
    EXPECT_EQ(Find<QLabel>(editor, "stBunkatuNo")->text(), "16");
    Find<QRadioButton>(editor, "rbGradient")->click();
    Press("btnNext1");
    ASSERT_EQ(Page(), 2);

    ASSERT_TRUE(PickAt(16, Word(1, 2, 3)));
    EXPECT_EQ(Readouts(), QStringList({"16", "1", "2", "3"}));
    // Choosing the editor again drops what was not applied.
    OpenColorMapEditor();
    EXPECT_EQ(Page(), 1);
    EXPECT_TRUE(SameColorMap(workColorMap, currentColorMap));
    EXPECT_EQ(CellCentre(16), RgbOf(currentColorMap[16]));
}

TEST_F(ColorEditorTest, AGradientAppliedWithUpdateBecomesCurrentAndRecolorsThePicture)
{
    ShowSmallPicture();
    StartPicking("rbGradient");
    for (int key = 0; key < 256; key += 16)
        ASSERT_TRUE(PickAt(key, Word(key, 255 - key, 100))) << key;
    EXPECT_EQ(CellCentre(16), qRgb(16, 239, 100) & 0xFFFFFFu);
    Press("btnNext2");
    ASSERT_EQ(Page(), 3);
    EXPECT_EQ(workColorMap[24].red, 24);
    EXPECT_EQ(workColorMap[255].green, 15 + 15 * 15);  // the last section climbs towards entry 0
    EXPECT_EQ(CellCentre(24), RgbOf(workColorMap[24]));
    EXPECT_FALSE(UserMapChecked());

    Press("btnNext3");
    EXPECT_TRUE(SameColorMap(currentColorMap, workColorMap));
    EXPECT_TRUE(UserMapChecked());
    EXPECT_EQ(PixelsNotShowing(currentColorMap), 0);
    EXPECT_EQ(Find<QPushButton>(editor, "btnCancel")->text(), "ＯＫ");
    EXPECT_EQ(Page(), 3);
}

TEST_F(ColorEditorTest, DoubleClicksPickOnlyKeyEntriesWhilePickingIsEnabled)
{
    OpenColorMapEditor();
    SendMouse(QEvent::MouseButtonPress, 33);
    EXPECT_EQ(Readouts().front(), "33");
    EXPECT_FALSE(PickAt(0, Word(9, 9, 9))) << "before the first 次へ";

    Find<QRadioButton>(editor, "rbRepetition")->click();
    Find<QSlider>(editor, "tbBunkatu")->setValue(5);  // sections of 8: keys 0..7
    Press("btnNext1");
    EXPECT_FALSE(PickAt(8, Word(9, 9, 9))) << "a black circle";
    EXPECT_TRUE(PickAt(7, Word(9, 9, 9)));
    Press("btnPrev2");
    EXPECT_FALSE(PickAt(7, Word(9, 9, 9))) << "after 戻る from page 2";

    Press("btnNext1");
    Press("btnNext2");
    Press("btnNext3");
    Press("btnPrev3");
    ASSERT_EQ(Page(), 2);
    EXPECT_FALSE(PickAt(7, Word(9, 9, 9))) << "after 更新";
}

TEST_F(ColorEditorTest, BackFromPage2OrCancelLeavesTheCurrentMapAndThePictureAlone)
{
    ShowSmallPicture();
    const ColorMap before = currentColorMap;
    StartPicking("rbGradient");
    ASSERT_TRUE(PickAt(0, Word(255, 0, 0)));
    Press("btnPrev2");
    EXPECT_EQ(Page(), 1);
    EXPECT_TRUE(SameColorMap(workColorMap, before));
    EXPECT_EQ(CellCentre(0), RgbOf(before[0]));

    Press("btnNext1");
    ASSERT_TRUE(PickAt(0, Word(255, 0, 0)));
    Press("btnNext2");
    Press("btnCancel");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(SameColorMap(currentColorMap, before));
    EXPECT_EQ(PixelsNotShowing(before), 0);
    EXPECT_FALSE(UserMapChecked());
}

TEST_F(ColorEditorTest, AStepLeavingTheRangeIsReportedAndTheEditorStaysOnPage2)
{
    currentColorMap = ColorMap{};
    StartPicking("rbGradient", 3);  // sections of 32
    ASSERT_TRUE(PickAt(0, Word(8, 0, 0)));
    ASSERT_TRUE(PickAt(32, Word(255, 0, 0)));
    Press("btnNext2");
    EXPECT_EQ(dialogs.errorTexts, QStringList{"範囲チェックエラー"});
    EXPECT_EQ(Page(), 2);
    EXPECT_EQ(workColorMap[30].red, 248);
    EXPECT_EQ(CellCentre(30), 0u) << "not repainted: the black circle still shows";
}

TEST_F(ColorEditorTest, ALoadedFileWithOtherKeysWarnsForEachSectionAndGeneratesAllTheSame)
{
    StartPicking("rbGradient");
    dialogs.openFileName = FilePath("nokeys.col");
    WriteFile(dialogs.openFileName, FileBytes(Preset(kPresetMonotone), 1024));
    Find<QAction>(control, "pmiGetColor")->trigger();
    Press("btnNext2");
    EXPECT_EQ(dialogs.noticeTexts.size(), 16);
    EXPECT_EQ(dialogs.noticeTexts.front(), "チェックマークエラー");
    EXPECT_EQ(Page(), 3);
}

TEST_F(ColorEditorTest, ComingBackFromAnotherWindowOfTheProgramShowsPage1ButItsOwnDialogsDoNot)
{
    control->show();
    StartPicking("rbGradient");
    ASSERT_EQ(QGuiApplication::focusWindow(), editor->windowHandle());

    // The window manager may hand the focus elsewhere while the colour dialog
    // is up, or as it closes.
    const auto focusWanders = [this] {
        FocusOn(control);
        FocusOn(editor);
    };
    dialogs.whilePicking = focusWanders;
    ASSERT_TRUE(PickAt(0, Word(1, 2, 3)));
    focusWanders();
    EXPECT_EQ(QGuiApplication::focusWindow(), editor->windowHandle());
    EXPECT_EQ(Page(), 2);

    FocusOn(control);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(Find<QWidget>(control, "tbtnDrawAll"), &key);
    FocusOn(editor);
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(workColorMap[0].red, 1) << "the map stays as it was";

    // A switch by the taskbar: no key, no click, only another active window.
    Press("btnNext1");
    ASSERT_EQ(Page(), 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    FocusOn(control);
    FocusOn(editor);
    EXPECT_EQ(Page(), 1);
}

TEST_F(ColorEditorTest, UpdateAndLoadingWaitWhileThePictureIsBeingPainted)
{
    EnterRenderingState(WindowsHost());
    EXPECT_FALSE(Find<QPushButton>(editor, "btnNext3")->isEnabled());
    EXPECT_FALSE(Find<QAction>(control, "pmiGetColor")->isEnabled());
    dialogs.openFileName = FilePath("never.col");
    LoadUserColorMapFile();
    EXPECT_TRUE(dialogs.errorTexts.isEmpty()) << "no dialog, no attempt";
    LeaveRenderingState(WindowsHost());
    EXPECT_TRUE(Find<QPushButton>(editor, "btnNext3")->isEnabled());
    EXPECT_TRUE(Find<QAction>(control, "pmiGetColor")->isEnabled());
}

TEST_F(ColorEditorTest, ASavedMapLoadsBackByteForByteAndRecolorsWithoutACheckMark)
{
    dialogs.saveFileName = FilePath("zero.col");
    Find<QAction>(control, "pmiPutColor")->trigger();
    EXPECT_EQ(ReadFile(dialogs.saveFileName), QByteArray(1024, 0)) << "the working map before the editor was used";

    ShowSmallPicture();
    OpenColorMapEditor();
    workColorMap[5].keyFlag = 7;
    dialogs.saveFileName = FilePath("Mandel.col");
    SaveUserColorMapFile();
    const ColorMap saved = workColorMap;
    Press("btnCancel");

    ChooseColorMap(kPresetMonotone);
    workColorMap = ColorMap{};
    dialogs.openFileName = dialogs.saveFileName;
    Find<QAction>(control, "pmiGetColor")->trigger();
    EXPECT_TRUE(dialogs.errorTexts.isEmpty());
    EXPECT_TRUE(SameColorMap(workColorMap, saved));
    EXPECT_TRUE(SameColorMap(currentColorMap, saved));
    EXPECT_EQ(PixelsNotShowing(saved), 0);
    EXPECT_EQ(CellCentre(200), RgbOf(saved[200])) << "the closed editor's map is repainted";
    EXPECT_FALSE(UserMapChecked());
}

TEST_F(ColorEditorTest, AFileThatCannotBeReadWholeChangesNothing)
{
    ShowSmallPicture();
    const ColorMap before = currentColorMap;
    workColorMap = Preset(kPresetSetting4);
    dialogs.openFileName = FilePath("short.col");
    WriteFile(dialogs.openFileName, FileBytes(Preset(kPresetMonotone), 1023));
    LoadUserColorMapFile();
    dialogs.openFileName = FilePath("absent.col");
    LoadUserColorMapFile();
    // A pipe nobody writes to would block the program in its open.
    const QString pipe = FilePath("pipe.col");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& other : {pipe, QStringLiteral("/dev/zero"), FilePath("")}) {
        dialogs.openFileName = other;
        LoadUserColorMapFile();
    }
    EXPECT_EQ(dialogs.errorTexts, QStringList({"FileRead Error:" + FilePath("short.col") + ",1024", "FileOpen Error:" + FilePath("absent.col"),
                                               "FileOpen Error:" + pipe, "FileOpen Error:/dev/zero",
                                               "FileOpen Error:" + QFileInfo(FilePath("")).absoluteFilePath()}));
    EXPECT_TRUE(SameColorMap(workColorMap, Preset(kPresetSetting4)));
    EXPECT_TRUE(SameColorMap(currentColorMap, before));
    EXPECT_EQ(PixelsNotShowing(before), 0);
}

TEST_F(ColorEditorTest, SavingReplacesTheWholeFileOrLeavesWhatStandsThere)
{
    workColorMap = Preset(kPresetSetting3);
    dialogs.saveFileName = FilePath("long.col");
    WriteFile(dialogs.saveFileName, QByteArray(2048, 'x'));
    SaveUserColorMapFile();
    EXPECT_EQ(ReadFile(dialogs.saveFileName), FileBytes(workColorMap, 1024));

    dialogs.saveFileName = FilePath("folder.col");
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.col")));
    SaveUserColorMapFile();
    EXPECT_TRUE(QFileInfo(dialogs.saveFileName).isDir());
    dialogs.saveFileName = FilePath("missing/new.col");
    SaveUserColorMapFile();
    EXPECT_FALSE(QFile::exists(dialogs.saveFileName));
    EXPECT_EQ(dialogs.errorTexts,
              QStringList({"FileOpen Error:" + FilePath("folder.col"), "FileCreate Error:" + FilePath("missing/new.col")}));
}

TEST_F(ColorEditorTest, AWriteThatFailsLeavesTheOldFileIntact)
{
    dialogs.saveFileName = FilePath("old.col");
    const QByteArray old = FileBytes(Preset(kPresetSetting2), 1024);
    WriteFile(dialogs.saveFileName, old);
    workColorMap = Preset(kPresetSetting3);

    // No file of this process may grow beyond 100 bytes meanwhile.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    SaveUserColorMapFile();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(dialogs.errorTexts, QStringList{"FileWrite Error:" + dialogs.saveFileName + ",1024"});
    EXPECT_EQ(ReadFile(dialogs.saveFileName), old);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"old.col"}) << "no temporary file left behind";
}

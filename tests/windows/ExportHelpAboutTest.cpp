// The JPEG export, the help command and the version window.
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include <jpeglib.h>

#include "WindowsFixture.h"
#include "windows/untHelpAbout.h"

namespace {

struct ReadBack {
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = true;
    bool jfif = false;
    QImage pixels;
};

ReadBack ReadJpeg(const QString& path)
{
    ReadBack result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return result;
    }
    const QByteArray bytes = file.readAll();
    jpeg_decompress_struct codec;
    jpeg_error_mgr errors;
    codec.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&codec);
    jpeg_mem_src(&codec, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&codec, TRUE);
    result.width = int(codec.image_width);
    result.height = int(codec.image_height);
    result.components = codec.num_components;
    result.progressive = codec.progressive_mode;
    result.jfif = codec.saw_JFIF_marker;
    codec.out_color_space = JCS_RGB;
    jpeg_start_decompress(&codec);
    result.pixels = QImage(result.width, result.height, QImage::Format_RGB888);
    while (codec.output_scanline < codec.output_height) {
        JSAMPROW row = result.pixels.scanLine(int(codec.output_scanline));
        jpeg_read_scanlines(&codec, &row, 1);
    }
    jpeg_finish_decompress(&codec);
    jpeg_destroy_decompress(&codec);
    return result;
}

// Mean difference per channel between two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// The process's current folder for one test.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& path) : previous(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentFolder() { QDir::setCurrent(previous); }

private:
    QString previous;
};

}  // namespace

class ExportHelpAboutTest : public WindowsFixture {
protected:
    QString InFolder(const QString& name) const { return folder.filePath(name); }

    void Export(const QString& path)
    {
        dialogs.saveFileName = path;
        Find<QAction>(control, "pmiSave")->trigger();
    }

    // The error report names the full path and, below it, the system's reason.
    static void ExpectReportedWithReason(const QString& report, const QString& path)
    {
        EXPECT_TRUE(report.section(QLatin1Char('\n'), 0, 0).endsWith(QLatin1Char(':') + path)) << report.toStdString();
        EXPECT_FALSE(report.section(QLatin1Char('\n'), 1).trimmed().isEmpty()) << report.toStdString();
    }

    void ExpectExported(const QString& path, const QImage& picture)
    {
        const ReadBack jpeg = ReadJpeg(path);
        EXPECT_EQ(jpeg.width, picture.width());
        EXPECT_EQ(jpeg.height, picture.height());
        EXPECT_EQ(jpeg.components, 3);
        EXPECT_FALSE(jpeg.progressive);
        EXPECT_TRUE(jpeg.jfif);
        if (jpeg.pixels.size() == picture.size()) {
            EXPECT_LT(MeanDifference(jpeg.pixels, picture), 3.0);
        }
        EXPECT_TRUE(dialogs.errorTexts.isEmpty()) << dialogs.errorTexts.join(' ').toStdString();
    }
};

TEST_F(ExportHelpAboutTest, ThePictureOfTheCurrentSizeIsABaselineJfifFile)
{
    // Before any render: the blank picture.
    CreateWindows();
    Export(InFolder(QStringLiteral("blank.jpg")));
    ExpectExported(InFolder(QStringLiteral("blank.jpg")), Picture());

    ShowWholeView(1);
    Export(InFolder(QStringLiteral("Quorvex.jpg")));
    ExpectExported(InFolder(QStringLiteral("Quorvex.jpg")), Picture());

    // Enlarged by hand and not drawn again: the new size.
    ResizePictureByHand(640, 600);
    Export(InFolder(QStringLiteral("larger.jpg")));
    ExpectExported(InFolder(QStringLiteral("larger.jpg")), Picture());
    EXPECT_EQ(Picture().size(), QSize(640, 600));
}

TEST_F(ExportHelpAboutTest, TheSaveDialogProposesQuorvexInTheCurrentFolderAndAddsJpg)
{
    CreateWindows();
    QString proposed;
    QString shownFolder;
    const auto saveAs = [&](const QString& name) {
        QTimer::singleShot(0, control, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            proposed = edit->text();
            shownFolder = dialog->directory().absolutePath();
            edit->setText(name);
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
        SetDialogs(nullptr);
        Find<QAction>(control, "pmiSave")->trigger();
        SetDialogs(&dialogs);
    };
    {
        const CurrentFolder here(folder.path());
        saveAs(QStringLiteral("picture"));
    }
    EXPECT_EQ(proposed, QStringLiteral("Quorvex.jpg"));
    EXPECT_EQ(QDir(shownFolder), QDir(folder.path()));
    EXPECT_EQ(ReadJpeg(InFolder(QStringLiteral("picture.jpg"))).width, 580);

    // Started elsewhere now, the dialog comes back to the folder last chosen.
    const QTemporaryDir elsewhere;
    const CurrentFolder there(elsewhere.path());
    saveAs(QStringLiteral("second"));
    EXPECT_EQ(QDir(shownFolder), QDir(folder.path()));
    EXPECT_TRUE(QFileInfo::exists(InFolder(QStringLiteral("second.jpg"))));
}

TEST(DialogStartFolder, TheLastFolderChosenElseTheFirstWritableCandidate)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto at = [&dir](const char* path) { return dir.filePath(QString::fromLatin1(path)); };
    ASSERT_TRUE(QDir().mkpath(at("documents")) && QDir().mkpath(at("home")) && QDir().mkpath(at("last")));
    QFile plain(at("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    // A current folder that cannot be written, no pictures folder.
    const QStringList candidates{at("plain/work"), at("pictures"), at("documents"), at("home")};

    EXPECT_EQ(DialogStartFolder(QString(), candidates), at("documents"));
    EXPECT_EQ(DialogStartFolder(at("last"), candidates), at("last"));
    EXPECT_EQ(DialogStartFolder(at("removed"), candidates), at("documents"));
    EXPECT_EQ(DialogStartFolder(QString(), {at("plain/work"), at("gone")}), at("gone"));

    const QStringList forJpeg = DialogFolderCandidates(QStringLiteral("Ｊｐｅｇ画像ファイル (*.jpg)"));
    const QStringList forMaps = DialogFolderCandidates(QStringLiteral("カラー設定ファイル (*.col)"));
    EXPECT_EQ(forJpeg.constFirst(), QDir::currentPath());
    EXPECT_EQ(forJpeg.size(), forMaps.size() + 1);
    EXPECT_TRUE(forJpeg.contains(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)));
    EXPECT_EQ(forMaps.constLast(), QDir::homePath());
}

TEST_F(ExportHelpAboutTest, AFailedExportLeavesNoFileAndAnOlderFileAsItWas)
{
    StartWholeView(200, 200);
    const QString unreachable = InFolder(QStringLiteral("missing/Quorvex.jpg"));
    Export(unreachable);
    ASSERT_EQ(dialogs.errorTexts.size(), 1);
    ExpectReportedWithReason(dialogs.errorTexts[0], unreachable);
    EXPECT_FALSE(QFileInfo::exists(unreachable));

    // The disk refuses the file half-way: the file written before stays whole.
    const QString older = InFolder(QStringLiteral("older.jpg"));
    {
        QFile file(older);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("older picture");
    }
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit previous = limit;
    limit.rlim_cur = 1000;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    Export(older);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_EQ(dialogs.errorTexts.size(), 2);
    ExpectReportedWithReason(dialogs.errorTexts[1], older);
    QFile file(older);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("older picture"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"older.jpg"}));
}

TEST(HelpFile, TheCurrentFolderComesFirstThenTheInstallationThenTheSharedDataFolders)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto at = [&dir](const char* path) { return dir.filePath(QString::fromLatin1(path)); };
    const QStringList folders = HelpFoldersFor(at("work"), at("usr/bin"), {at("home/share"), at("usr/share")});
    EXPECT_EQ(folders, QStringList({at("work"), at("usr/share/quorvex"), at("home/share/quorvex")}));

    EXPECT_EQ(FindHelpFile(folders), QString());
    const auto place = [&at](const char* path) {
        QDir().mkpath(QFileInfo(at(path)).path());
        QFile file(at(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    };
    place("home/share/quorvex/Qorvix.html");
    EXPECT_EQ(FindHelpFile(folders), at("home/share/quorvex/Qorvix.html"));
    place("usr/share/quorvex/Qorvix.html");
    EXPECT_EQ(FindHelpFile(folders), at("usr/share/quorvex/Qorvix.html"));
    // A folder of that name is no help file.
    ASSERT_TRUE(QDir().mkpath(at("work/Qorvix.html")));
    EXPECT_EQ(FindHelpFile(folders), at("usr/share/quorvex/Qorvix.html"));
    ASSERT_TRUE(QDir(at("work")).rmdir(QStringLiteral("Qorvix.html")));
    place("work/Qorvix.html");
    EXPECT_EQ(FindHelpFile(folders), at("work/Qorvix.html"));
}

TEST_F(ExportHelpAboutTest, HelpOpensByTheDesktopElseInTheProgramElseSaysWhy)
{
    CreateWindows();
    const CurrentFolder here(folder.path());
    // A help file beside the executable does not count.
    const QString besideExecutable = QCoreApplication::applicationDirPath() + QStringLiteral("/Qorvix.html");
    const bool placed = !QFileInfo::exists(besideExecutable);
    if (placed) {
        QFile file(besideExecutable);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    Find<QAction>(control, "pmiHelp")->trigger();
    if (placed)
        QFile::remove(besideExecutable);
    EXPECT_EQ(dialogs.errorTexts, QStringList({"ヘルプファイルがありません:Qorvix.html"}));
    EXPECT_EQ(dialogs.errorButtons, QStringList({"キャンセル"}));
    EXPECT_TRUE(dialogs.shellTargets.isEmpty());

    QFile help(InFolder(QStringLiteral("Qorvix.html")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    const QString helpPath = QFileInfo(help).absoluteFilePath();
    Find<QAction>(control, "pmiHelp")->trigger();
    EXPECT_EQ(dialogs.shellTargets, QStringList({helpPath}));
    EXPECT_TRUE(dialogs.shownDocuments.isEmpty());

    dialogs.shellFailsLater = true;
    Find<QAction>(control, "pmiHelp")->trigger();
    EXPECT_EQ(dialogs.shownDocuments, QStringList({helpPath}));
    dialogs.shellOpens = false;
    Find<QAction>(control, "pmiHelp")->trigger();
    EXPECT_EQ(dialogs.shownDocuments, QStringList({helpPath, helpPath}));
    EXPECT_EQ(dialogs.errorTexts.size(), 1);

    dialogs.documentsReadable = false;
    Find<QAction>(control, "pmiHelp")->trigger();
    EXPECT_EQ(dialogs.errorTexts.last(), QStringLiteral("ヘルプファイルを開けません:") + helpPath);
}

TEST_F(ExportHelpAboutTest, WhenTheDesktopsOpenerFailsTheProgramShowsTheHelpItself)
{
    CreateWindows();
    const CurrentFolder here(folder.path());
    QFile help(InFolder(QStringLiteral("Qorvix.html")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html><head><meta charset=\"utf-8\"><title>Quorvex ヘルプ</title></head>"
               "<body><h1>起動と終了</h1></body></html>");
    help.close();
    // xdg-open on a desktop without a browser: it starts, then fails.
    const QByteArray path = qgetenv("PATH");
    QFile opener(InFolder(QStringLiteral("xdg-open")));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nexit 3\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(folder.path()));

    SetDialogs(nullptr);
    Find<QAction>(control, "pmiHelp")->trigger();
    QTextBrowser* viewer = nullptr;
    for (const QDeadlineTimer deadline(10000); !viewer && !deadline.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String("DocumentViewer"))
                viewer = qobject_cast<QTextBrowser*>(window);
    }
    SetDialogs(&dialogs);
    qputenv("PATH", path);

    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Quorvex ヘルプ"));
    EXPECT_TRUE(viewer->toPlainText().contains(QStringLiteral("起動と終了")));
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(ExportHelpAboutTest, EveryWindowCarriesTheProgramIconAtEverySize)
{
    CreateWindows();
    const QIcon icon = QApplication::windowIcon();
    for (const int side : {16, 32, 48, 64, 128, 256})
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << side;
    // Transparent corners around an opaque picture.
    const QImage largest = icon.pixmap(QSize(256, 256)).toImage();
    EXPECT_EQ(qAlpha(largest.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(largest.pixel(128, 128)), 255);
    int windowsSeen = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_EQ(window->windowIcon().cacheKey(), icon.cacheKey()) << window->objectName().toStdString();
        ++windowsSeen;
    }
    EXPECT_GE(windowsSeen, 8);
}

TEST_F(ExportHelpAboutTest, TheMailLinkLightsUpUnderThePointerAndIsRestoredExactly)
{
    CreateWindows();
    Find<QAction>(control, "pmiVersion")->trigger();
    QWidget* about = windows.helpAbout.get();
    ASSERT_TRUE(about->isVisible());
    auto* mail = Find<QLabel>(about, "lblMail");
    const QPalette before = mail->palette();
    const Qt::CursorShape cursorBefore = mail->cursor().shape();
    const bool filledBefore = mail->autoFillBackground();

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(mail, &enter);
    EXPECT_EQ(mail->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(mail->palette().color(QPalette::Window), before.color(QPalette::Highlight));
    EXPECT_EQ(mail->palette().color(QPalette::WindowText), before.color(QPalette::HighlightedText));
    EXPECT_TRUE(mail->autoFillBackground());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(mail, &leave);
    EXPECT_EQ(mail->cursor().shape(), cursorBefore);
    EXPECT_EQ(mail->palette().color(QPalette::Window), before.color(QPalette::Window));
    EXPECT_EQ(mail->palette().color(QPalette::WindowText), before.color(QPalette::WindowText));
    EXPECT_EQ(mail->autoFillBackground(), filledBefore);

    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), mail->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mail, &doubleClick);
    EXPECT_EQ(dialogs.shellTargets, QStringList({mail->text()}));
    EXPECT_TRUE(mail->text().startsWith(QStringLiteral("mailto:")));

    Find<QPushButton>(about, "btnOk")->click();
    EXPECT_FALSE(about->isVisible());
}

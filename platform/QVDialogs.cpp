#include "platform/QVDialogs.h"

#include <QClipboard>
#include <QColor>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <map>

#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

namespace {

// "カラー設定ファイル (*.col)" gives "col"; a filter without one gives nothing.
QString FirstExtensionOf(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

// A box opens centred over the window it speaks for, on the screen.
int Run(QMessageBox& box, QWidget* parent)
{
    box.adjustSize();
    const QRect over = parent ? parent->window()->frameGeometry() : AvailableScreenArea();
    const QSize frame = box.size().grownBy(WindowFrameMargins(&box));
    PlaceOnScreen(&box, over.center() - QPoint(frame.width() / 2, frame.height() / 2));
    return box.exec();
}

// Runs the desktop's opener without tying what it starts to this program;
// the process is left running when the program ends, never killed.
void StartWatched(const QString& opener, const QUrl& url, std::function<void()> whenItFails)
{
    auto* process = new QProcess;
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const auto finish = [process, whenItFails](bool failed) {
        if (failed)
            whenItFails();
        process->deleteLater();
    };
    QObject::connect(process, &QProcess::finished, process,
                     [finish](int code, QProcess::ExitStatus status) { finish(code != 0 || status != QProcess::NormalExit); });
    QObject::connect(process, &QProcess::errorOccurred, process, [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(true);
    });
    process->start(opener, {url.toString(QUrl::FullyEncoded)});
}

// The help viewer: one plain window, gone when closed or when the program ends.
QPointer<QTextBrowser> documentViewer;

QTextBrowser* DocumentViewer()
{
    if (!documentViewer) {
        documentViewer = new QTextBrowser;
        documentViewer->setObjectName(QStringLiteral("DocumentViewer"));
        documentViewer->setAttribute(Qt::WA_DeleteOnClose);
        documentViewer->setOpenExternalLinks(true);
        documentViewer->resize(760, 680);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, documentViewer, [] { delete documentViewer; });
    }
    return documentViewer;
}

class StandardDialogs final : public QVDialogs {
public:
    bool Confirm(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text, QMessageBox::NoButton, parent);
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setDefaultButton(ok);
        Run(box, parent);
        return box.clickedButton() == ok;
    }

    void ShowError(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"), text, QMessageBox::Ok, parent);
        Run(box, parent);
    }

    void ShowErrorWithButton(QWidget* parent, const QString& text, const QString& button) override
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"), text, QMessageBox::NoButton, parent);
        box.setDefaultButton(box.addButton(button, QMessageBox::RejectRole));
        Run(box, parent);
    }

    void Notify(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text, QMessageBox::Ok, parent);
        Run(box, parent);
    }

    QString GetSaveFileName(QWidget* parent, const QString& proposedName, const QString& filter) override
    {
        QFileDialog dialog(parent, QString(), StartFolder(filter), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(proposedName);
        return ChooseFile(dialog, filter);
    }

    QString GetOpenFileName(QWidget* parent, const QString& filter) override
    {
        QFileDialog dialog(parent, QString(), StartFolder(filter), filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return ChooseFile(dialog, filter);
    }

    bool PickColor(QWidget* parent, uint32_t& colorWord) override
    {
        const QColor picked = QColorDialog::getColor(ColorOfColorWord(colorWord), parent);
        if (!picked.isValid())
            return false;
        colorWord = ColorWordOfColor(picked);
        return true;
    }

    bool OpenWithShell(const QString& target, std::function<void()> whenItFails) override
    {
        const QUrl url = target.contains(QLatin1Char(':')) && !QDir::isAbsolutePath(target)
                             ? QUrl(target)
                             : QUrl::fromLocalFile(QDir::current().absoluteFilePath(target));
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (!whenItFails || opener.isEmpty())
            return QDesktopServices::openUrl(url);
        StartWatched(opener, url, std::move(whenItFails));
        return true;
    }

    QString ClipboardText() override { return QGuiApplication::clipboard()->text(); }

    void SetClipboardText(const QString& text) override { QGuiApplication::clipboard()->setText(text); }

    bool ShowDocument(const QString& path) override
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        QTextBrowser* viewer = DocumentViewer();
        viewer->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
        viewer->setWindowTitle(viewer->documentTitle().isEmpty() ? QFileInfo(path).fileName()
                                                                 : viewer->documentTitle());
        BringToFront(viewer);
        return true;
    }

private:
    // The folder of the last file chosen for each filter in this run.
    std::map<QString, QString> lastFolders;

    QString StartFolder(const QString& filter) const
    {
        const auto last = lastFolders.find(filter);
        return DialogStartFolder(last == lastFolders.end() ? QString() : last->second,
                                 DialogFolderCandidates(filter));
    }

    // A name typed without an extension takes the chosen filter's; the
    // filter reads as its description alone.
    QString ChooseFile(QFileDialog& dialog, const QString& filter)
    {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setDefaultSuffix(FirstExtensionOf(filter));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& chosen) { dialog.setDefaultSuffix(FirstExtensionOf(chosen)); });
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        const QString chosen = dialog.selectedFiles().constFirst();
        lastFolders[filter] = QFileInfo(chosen).absolutePath();
        return chosen;
    }
};

StandardDialogs standardDialogs;
QVDialogs* activeDialogs = &standardDialogs;

}  // namespace

QString DialogStartFolder(const QString& remembered, const QStringList& candidates)
{
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    for (const QString& folder : candidates) {
        const QFileInfo info(folder);
        if (info.isDir() && info.isWritable())
            return folder;
    }
    return candidates.isEmpty() ? QString() : candidates.constLast();
}

QStringList DialogFolderCandidates(const QString& filter)
{
    QStringList folders{QDir::currentPath()};
    const QString extension = FirstExtensionOf(filter);
    if (extension == QLatin1String("jpg") || extension == QLatin1String("png"))
        folders << QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    folders << QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
            << QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    return folders;
}

QVDialogs& Dialogs() { return *activeDialogs; }

void SetDialogs(QVDialogs* dialogs) { activeDialogs = dialogs ? dialogs : &standardDialogs; }

#include "platform/QVDialogs.h"

#include <QColor>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

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
        QFileDialog dialog(parent, QString(), QDir::currentPath(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The filter reads as its description alone.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setDefaultSuffix(FirstExtensionOf(filter));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& chosen) { dialog.setDefaultSuffix(FirstExtensionOf(chosen)); });
        dialog.selectFile(proposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }

    QString GetOpenFileName(QWidget* parent, const QString& filter) override
    {
        QFileDialog dialog(parent, QString(), QDir::currentPath(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        // A name typed without an extension means the filter's.
        dialog.setDefaultSuffix(FirstExtensionOf(filter));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }

    bool PickColor(QWidget* parent, uint32_t& colorWord) override
    {
        const QColor picked = QColorDialog::getColor(ColorOfColorWord(colorWord), parent);
        if (!picked.isValid())
            return false;
        colorWord = ColorWordOfColor(picked);
        return true;
    }

    bool OpenWithShell(const QString& target) override
    {
        const QUrl url = target.contains(QLatin1Char(':')) && !QDir::isAbsolutePath(target)
                             ? QUrl(target)
                             : QUrl::fromLocalFile(QDir::current().absoluteFilePath(target));
        return QDesktopServices::openUrl(url);
    }
};

StandardDialogs standardDialogs;
QVDialogs* activeDialogs = &standardDialogs;

}  // namespace

QVDialogs& Dialogs() { return *activeDialogs; }

void SetDialogs(QVDialogs* dialogs) { activeDialogs = dialogs ? dialogs : &standardDialogs; }

#include "QVDialogs.h"

#include <QColor>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

namespace {

// "jpg" of "Ｊｐｅｇ画像ファイル (*.jpg)".
QString FirstExtensionOf(const QString& filter)
{
    const qsizetype star = filter.indexOf(QStringLiteral("*."));
    if (star < 0)
        return QString();
    QString extension = filter.mid(star + 2);
    const qsizetype end = extension.indexOf(QRegularExpression(QStringLiteral("[ ;)]")));
    return end < 0 ? extension : extension.left(end);
}

class QtDialogs final : public QVDialogs {
public:
    bool Confirm(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text, QMessageBox::NoButton, parent);
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setDefaultButton(ok);
        box.exec();
        return box.clickedButton() == ok;
    }

    void ShowError(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"), text, QMessageBox::Ok, parent);
        box.exec();
    }

    void ShowErrorWithButton(QWidget* parent, const QString& text, const QString& button) override
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"), text, QMessageBox::NoButton, parent);
        box.setDefaultButton(box.addButton(button, QMessageBox::RejectRole));
        box.exec();
    }

    QString GetSaveFileName(QWidget* parent, const QString& proposedName, const QString& filter) override
    {
        QFileDialog dialog(parent, QString(), QDir::currentPath(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The filter reads as its description alone.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setDefaultSuffix(FirstExtensionOf(filter));
        dialog.selectFile(proposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }

    QString GetOpenFileName(QWidget* parent, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, QString(), QDir::currentPath(), filter);
    }

    bool PickColour(QWidget* parent, uint32_t& colourWord) override
    {
        const QColor initial(int(colourWord & 0xFF), int((colourWord >> 8) & 0xFF), int((colourWord >> 16) & 0xFF));
        const QColor picked = QColorDialog::getColor(initial, parent);
        if (!picked.isValid())
            return false;
        colourWord = uint32_t(picked.red()) + uint32_t(picked.green()) * 256u + uint32_t(picked.blue()) * 65536u;
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

QtDialogs qtDialogs;
QVDialogs* activeDialogs = &qtDialogs;

}  // namespace

QVDialogs& Dialogs() { return *activeDialogs; }

void SetDialogs(QVDialogs* dialogs) { activeDialogs = dialogs ? dialogs : &qtDialogs; }

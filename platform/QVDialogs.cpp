#include "platform/QVDialogs.h"

#include <QClipboard>
#include <QColor>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include "platform/QtSupport.h"

namespace {

// "カラー設定ファイル (*.col)" gives "col"; a filter without one gives nothing.
QString FirstExtensionOf(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

class StandardDialogs final : public QVDialogs {
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

    void Notify(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text, QMessageBox::Ok, parent);
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

    QString ClipboardText() override { return QGuiApplication::clipboard()->text(); }

    void SetClipboardText(const QString& text) override { QGuiApplication::clipboard()->setText(text); }
};

StandardDialogs standardDialogs;
QVDialogs* activeDialogs = &standardDialogs;

}  // namespace

QVDialogs& Dialogs() { return *activeDialogs; }

void SetDialogs(QVDialogs* dialogs) { activeDialogs = dialogs ? dialogs : &standardDialogs; }

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

// "カラー設定ファイル (*.col)" gives "col"; a filter without one gives nothing.
QString FirstExtensionOf(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
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

    void Notify(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text, QMessageBox::Ok, parent);
        box.exec();
    }

    QString GetSaveFileName(QWidget* parent, const QString& proposedName, const QString& filter) override
    {
        QFileDialog dialog(parent, QString(), QDir::currentPath(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(FirstExtensionOf(filter));
        dialog.selectFile(QDir::current().filePath(proposedName));
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

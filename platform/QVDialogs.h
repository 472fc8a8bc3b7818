#pragma once
// Modal boxes, file dialogs, the colour dialog, the clipboard and the desktop
// shell, behind one small interface so tests can answer them without a person.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QWidget;

class QVDialogs {
public:
    virtual ~QVDialogs() = default;
    // Confirmation box titled "確認" with OK and キャンセル; true for OK.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    // Error box titled "エラー" with an error icon and OK.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // Error box titled "エラー" with an error icon and one button of the given caption.
    virtual void ShowErrorWithButton(QWidget* parent, const QString& text, const QString& button) = 0;
    // Confirmation box titled "確認" with the confirmation icon and OK alone.
    virtual void Notify(QWidget* parent, const QString& text) = 0;
    // Save and open dialogs; an empty result means the user cancelled. Both
    // add the filter's extension to a name typed without one; the save dialog
    // asks before replacing a file. Each starts where DialogStartFolder says,
    // remembering the last folder chosen for its filter.
    virtual QString GetSaveFileName(QWidget* parent, const QString& proposedName, const QString& filter) = 0;
    virtual QString GetOpenFileName(QWidget* parent, const QString& filter) = 0;
    // Standard colour dialog; colorWord is red + green * 256 + blue * 65536.
    virtual bool PickColor(QWidget* parent, uint32_t& colorWord) = 0;
    // The desktop shell's open on a file name or a link; false when the
    // desktop has nothing to open it with. Given whenItFails, the desktop's
    // opener (xdg-open) is watched, and whenItFails runs if it ends with a
    // failure, as it does on a desktop without a browser.
    virtual bool OpenWithShell(const QString& target, std::function<void()> whenItFails) = 0;
    // Shows an HTML file in the program's own plain viewer; false when the
    // file cannot be read.
    virtual bool ShowDocument(const QString& path) = 0;
    // The clipboard's text, and a text put there.
    virtual QString ClipboardText() = 0;
    virtual void SetClipboardText(const QString& text) = 0;
};

// The folder a file dialog starts in: the one remembered from the last file
// chosen with the same filter while it still exists, else the first of the
// candidates that can be written, else the last candidate.
QString DialogStartFolder(const QString& remembered, const QStringList& candidates);
// The candidates for a filter: the current folder, the user's pictures
// folder for JPEG and PNG files, the documents folder and the home folder.
QStringList DialogFolderCandidates(const QString& filter);

// The dialogs in use: the Qt ones unless a test has put its own in place.
QVDialogs& Dialogs();
// Replaces the dialogs; null restores the Qt ones.
void SetDialogs(QVDialogs* dialogs);

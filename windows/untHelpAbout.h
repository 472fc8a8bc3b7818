#pragma once
// The version-and-help window "バージョン＆ヘルプ": title banner, version,
// credit, release date and the project's mail link.

#include <QPalette>
#include <QWidget>

class QLabel;
class QPushButton;

// The project's contact, shown and opened as it stands.
inline constexpr char kMailLink[] = "mailto:quorvex@example.org";

class TfrmHelpAbout : public QWidget {
    Q_OBJECT
public:
    explicit TfrmHelpAbout(QWidget* parent = nullptr);
    ~TfrmHelpAbout() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    QLabel* AddLabel(const char* name, const QString& text, int x, int y);
    void btnOkClick();
    void lblMailMouseEnter();
    void lblMailMouseLeave();
    void lblMailDblClick();

    QLabel* lblMail = nullptr;
    // The link's own colours, put back when the pointer leaves it.
    QPalette mailColors;
};

extern TfrmHelpAbout* frmHelpAbout;

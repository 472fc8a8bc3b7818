#pragma once
// The tool menu's items on Julia views: back to the formula's own plane, and
// the live preview window, which the item shows and hides.

#include <memory>

class QMenu;
class QAction;
class QWidget;
class JuliaPreviewPort;

class JuliaMenus {
public:
    // Appends "元の平面に戻る" and "ジュリア集合のプレビュー" to the menu.
    JuliaMenus(QMenu* tools, QWidget* owner);
    ~JuliaMenus();
    // The preview on or off, as by its item.
    void ShowPreview(bool on);

private:
    QWidget* owner_;
    QAction* plane_ = nullptr;
    QAction* preview_ = nullptr;
    std::unique_ptr<JuliaPreviewPort> window_;
};

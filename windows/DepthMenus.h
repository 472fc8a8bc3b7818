#pragma once
// The tool menu's two submenus on the limit and the colouring of the view on
// screen: their items, and the check marks that follow what is in force.

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;

class DepthMenus {
public:
    // Appends "反復回数の上限" and "色付け" to the menu.
    explicit DepthMenus(QMenu* tools);
    // Checks the limit (or "自動", whose caption tells its limits) and the
    // colouring in force.
    void Show();

private:
    QActionGroup* limits_ = nullptr;
    QAction* automatic_ = nullptr;
    QActionGroup* colorings_ = nullptr;
};

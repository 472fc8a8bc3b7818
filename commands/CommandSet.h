#pragma once
// One action for each command whose enabled state follows the render and
// the selection. Every tool button, menu item and popup item that carries a
// command follows its action and starts the command through it, so that
// enabling a command is one call in one place.

#include <QObject>
#include <array>
#include <functional>

#include "engine/QVHost.h"

class QAction;
class QAbstractButton;

class QVCommandSet final : public QObject {
    Q_OBJECT
public:
    // The start-up states: drawing a whole view, the colour maps and saving
    // on, the rest off. The set is the current one until it is destroyed.
    QVCommandSet();
    ~QVCommandSet() override;

    QAction* Action(QVCommand command) const { return actions_[size_t(command)]; }
    void SetEnabled(QVCommand command, bool enabled);
    bool IsEnabled(QVCommand command) const;
    // What the command does when it is started while enabled.
    void SetTrigger(QVCommand command, std::function<void()> trigger);

private:
    std::array<QAction*, kQVCommandCount> actions_{};
};

// The command set of the running program; null before it exists.
QVCommandSet* CurrentCommandSet();

// Enables or disables a command wherever it is carried; nothing without a set.
void EnableCommand(QVCommand command, bool enabled);
// Whether a command is enabled now; false without a set.
bool IsCommandEnabled(QVCommand command);
// Starts a command where it is enabled, as its items do; nothing otherwise.
void StartCommand(QVCommand command);

// A control that carries a command: enabled as the command is, now and from
// now on. A button or item made to carry it also starts it.
void FollowCommand(QVCommand command, QAction* item);
void FollowCommand(QVCommand command, QAbstractButton* button);
void CarryCommand(QVCommand command, QAction* item);
void CarryCommand(QVCommand command, QAbstractButton* button);
// Calls `follow` with the command's enabled state now and whenever it changes,
// for a control whose state depends on more than the command.
void WatchCommand(QVCommand command, QObject* context, const std::function<void(bool)>& follow);

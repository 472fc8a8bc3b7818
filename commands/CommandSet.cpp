#include "commands/CommandSet.h"

#include <QAbstractButton>
#include <QAction>

namespace {

QVCommandSet* currentSet = nullptr;

bool StartsEnabled(QVCommand command)
{
    return command == QVCommand::DrawAll || command == QVCommand::ColorMaps || command == QVCommand::Save;
}

}  // namespace

QVCommandSet::QVCommandSet()
{
    for (int i = 0; i < kQVCommandCount; ++i) {
        actions_[size_t(i)] = new QAction(this);
        actions_[size_t(i)]->setEnabled(StartsEnabled(QVCommand(i)));
    }
    currentSet = this;
}

QVCommandSet::~QVCommandSet()
{
    if (currentSet == this)
        currentSet = nullptr;
}

void QVCommandSet::SetEnabled(QVCommand command, bool enabled) { Action(command)->setEnabled(enabled); }

bool QVCommandSet::IsEnabled(QVCommand command) const { return Action(command)->isEnabled(); }

void QVCommandSet::SetTrigger(QVCommand command, std::function<void()> trigger)
{
    QObject::connect(Action(command), &QAction::triggered, this, [trigger = std::move(trigger)] { trigger(); });
}

QVCommandSet* CurrentCommandSet() { return currentSet; }

void EnableCommand(QVCommand command, bool enabled)
{
    if (currentSet)
        currentSet->SetEnabled(command, enabled);
}

void WatchCommand(QVCommand command, QObject* context, const std::function<void(bool)>& follow)
{
    if (!currentSet)
        return;
    QAction* action = currentSet->Action(command);
    follow(action->isEnabled());
    QObject::connect(action, &QAction::enabledChanged, context, follow);
}

void FollowCommand(QVCommand command, QAction* item)
{
    WatchCommand(command, item, [item](bool enabled) { item->setEnabled(enabled); });
}

void FollowCommand(QVCommand command, QAbstractButton* button)
{
    WatchCommand(command, button, [button](bool enabled) { button->setEnabled(enabled); });
}

bool IsCommandEnabled(QVCommand command) { return currentSet && currentSet->IsEnabled(command); }

void StartCommand(QVCommand command)
{
    // A disabled action ignores its trigger.
    if (currentSet)
        currentSet->Action(command)->trigger();
}

void CarryCommand(QVCommand command, QAction* item)
{
    FollowCommand(command, item);
    QObject::connect(item, &QAction::triggered, item, [command] { StartCommand(command); });
}

void CarryCommand(QVCommand command, QAbstractButton* button)
{
    FollowCommand(command, button);
    QObject::connect(button, &QAbstractButton::clicked, button, [command] { StartCommand(command); });
}

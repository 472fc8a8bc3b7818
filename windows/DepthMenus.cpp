#include "windows/DepthMenus.h"

#include <QActionGroup>
#include <QMenu>

#include "commands/CommandSet.h"
#include "commands/DepthCommands.h"
#include "engine/EngineState.h"
#include "platform/QtSupport.h"

namespace {

QAction* CheckItem(QMenu* menu, QActionGroup* group, const QString& caption, const QString& name)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setCheckable(true);
    group->addAction(item);
    return item;
}

}  // namespace

DepthMenus::DepthMenus(QMenu* tools)
{
    QMenu* limits = Named(tools->addMenu(QStringLiteral("反復回数の上限")), "pmiIterationLimit");
    // A new limit draws the picture again, as a whole view does.
    FollowCommand(QVCommand::DrawAll, limits->menuAction());
    limits_ = Named(new QActionGroup(limits), "limitGroup");
    limits_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int limit : kLimitLevels) {
        const QString caption = LimitCaption(limit) + (limit == kDefaultIterationLimit ? QStringLiteral("（標準）") : QString());
        QAction* item = CheckItem(limits, limits_, caption, QStringLiteral("pmiLimit%1").arg(limit));
        QObject::connect(item, &QAction::triggered, limits, [this, limit] {
            ChooseIterationLimit(limit);
            Show();
        });
    }
    automatic_ = CheckItem(limits, limits_, AutomaticLimitCaption(), QStringLiteral("pmiLimitAuto"));
    QObject::connect(automatic_, &QAction::triggered, limits, [this] {
        ChooseAutomaticLimit();
        Show();
    });

    QMenu* colorings = Named(tools->addMenu(QStringLiteral("色付け")), "pmiColoring");
    // A colouring repaints the picture, as a colour map does.
    FollowCommand(QVCommand::ColorMaps, colorings->menuAction());
    colorings_ = Named(new QActionGroup(colorings), "coloringGroup");
    for (Coloring coloring : kColorings) {
        QString name = QString::fromLatin1(ColoringName(coloring));
        name[0] = name[0].toUpper();
        QAction* item = CheckItem(colorings, colorings_, ColoringCaption(coloring), QStringLiteral("pmiColoring") + name);
        QObject::connect(item, &QAction::triggered, colorings, [this, coloring] {
            ChooseColoring(coloring);
            Show();
        });
    }
    Show();
}

void DepthMenus::Show()
{
    automatic_->setText(AutomaticLimitCaption());
    const QList<QAction*> limitItems = limits_->actions();
    for (int i = 0; i < limitItems.size(); ++i) {
        const bool automatic = limitItems[i] == automatic_;
        limitItems[i]->setChecked(automatic ? AutomaticLimit
                                            : !AutomaticLimit && kLimitLevels[i] == ActiveDepth.limit);
    }
    const QList<QAction*> coloringItems = colorings_->actions();
    for (int i = 0; i < coloringItems.size(); ++i)
        coloringItems[i]->setChecked(kColorings[i] == ActiveDepth.coloring);
}

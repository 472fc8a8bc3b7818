#include "windows/JuliaMenus.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "commands/JuliaCommands.h"
#include "dialogs/JuliaPreviewPort.h"
#include "engine/EngineState.h"
#include "platform/QtSupport.h"

JuliaMenus::JuliaMenus(QMenu* tools, QWidget* owner) : owner_(owner)
{
    plane_ = Named(tools->addAction(QStringLiteral("元の平面に戻る"), tools, [] { ShowFormulaPlane(); }),
                   "pmiJuliaPlane");
    preview_ = Named(tools->addAction(QStringLiteral("ジュリア集合のプレビュー")), "pmiJuliaPreview");
    preview_->setCheckable(true);
    QObject::connect(preview_, &QAction::toggled, tools, [this](bool on) { ShowPreview(on); });
    // The way back is there in a Julia view while nothing is drawn.
    QObject::connect(tools, &QMenu::aboutToShow, tools, [this] { plane_->setEnabled(InJuliaView() && !IsRendering); });
    plane_->setEnabled(false);
}

JuliaMenus::~JuliaMenus() { SetJuliaPreviewSink({}); }

void JuliaMenus::ShowPreview(bool on)
{
    if (preview_->isChecked() != on)
        return preview_->setChecked(on);
    if (!on) {
        SetJuliaPreviewSink({});
        if (window_)
            window_->Window()->hide();
        return;
    }
    if (!window_) {
        window_ = CreateJuliaPreview([this] { preview_->setChecked(false); }, owner_);
        window_->Window()->move(owner_->frameGeometry().bottomLeft() + QPoint(0, 8));
    }
    JuliaPreviewPort* window = window_.get();
    SetJuliaPreviewSink([window](PlanePoint c) { window->ShowPoint(c); });
    window->Window()->show();
}

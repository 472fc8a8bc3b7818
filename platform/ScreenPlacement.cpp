#include "platform/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

namespace {

std::optional<QRect>& AreaOverride()
{
    static std::optional<QRect> area;
    return area;
}

int PlacedAlong(int start, int length, int areaStart, int areaLength)
{
    if (length >= areaLength)
        return areaStart;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}

QSize FrameSize(const QWidget* window)
{
    return window->size().grownBy(WindowFrameMargins(window));
}

}  // namespace

QPoint PlacedWithin(const QRect& frame, const QRect& area)
{
    return QPoint(PlacedAlong(frame.x(), frame.width(), area.x(), area.width()),
                  PlacedAlong(frame.y(), frame.height(), area.y(), area.height()));
}

QRect AvailableScreenArea()
{
    if (AreaOverride())
        return *AreaOverride();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void SetAvailableScreenAreaForTests(std::optional<QRect> area) { AreaOverride() = area; }

QMargins WindowFrameMargins(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    if (frame != client)
        return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                        frame.bottom() - client.bottom());
    const QStyle* style = window->style();
    const int border = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return QMargins(border, style->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border);
}

QSize ClientSizeOnScreen(const QWidget* window, QSize client)
{
    return client.boundedTo(AvailableScreenArea().size().shrunkBy(WindowFrameMargins(window)));
}

void PlaceOnScreen(QWidget* window, QPoint frameTopLeft)
{
    window->move(PlacedWithin(QRect(frameTopLeft, FrameSize(window)), AvailableScreenArea()));
}

void CentreOnScreen(QWidget* window)
{
    const QPoint clientTopLeft = AvailableScreenArea().center() - QPoint(window->width() / 2, window->height() / 2);
    PlaceOnScreen(window, clientTopLeft);
}

namespace {

bool IsFixedSize(const QWidget* window) { return window->minimumSize() == window->maximumSize(); }

void FitToScreen(QWidget* window)
{
    const QSize area = AvailableScreenArea().size().shrunkBy(WindowFrameMargins(window));
    QSize full = window->size();
    auto* scroll = window->findChild<QScrollArea*>(QStringLiteral("screenFit"), Qt::FindDirectChildrenOnly);
    if (scroll)
        full = scroll->widget()->size();
    if (full.width() <= area.width() && full.height() <= area.height())
        return;
    if (!scroll) {
        auto* content = new QWidget;
        for (QObject* child : window->children()) {
            auto* control = qobject_cast<QWidget*>(child);
            if (!control || control->isWindow())
                continue;
            const bool shown = !control->isHidden();
            control->setParent(content);
            control->setVisible(shown);
        }
        content->setFixedSize(full);
        scroll = new QScrollArea;
        scroll->setObjectName(QStringLiteral("screenFit"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(content);
        auto* fill = new QVBoxLayout(window);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(scroll);
    }
    window->setFixedSize(full.boundedTo(area));
}

void Keep(QWidget* window)
{
    if (IsFixedSize(window))
        FitToScreen(window);
    PlaceOnScreen(window, window->pos());
}

// Places a window again once it is shown and framed.
class ScreenKeeper final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, window, [window] { Keep(window); });
        }
        return false;
    }
};

}  // namespace

void KeepOnScreen(QWidget* window)
{
    static const char* const kKept = "quorvexKeptOnScreen";
    if (!window->property(kKept).toBool()) {
        window->setProperty(kKept, true);
        window->installEventFilter(new ScreenKeeper(window));
    }
    Keep(window);
}

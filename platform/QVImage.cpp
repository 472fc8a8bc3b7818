#include "platform/QVImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

TQVImage::TQVImage(QSize size, const QColor& background, QWidget* parent)
    : QWidget(parent), picture(size, QImage::Format_RGB32), fillColor(background)
{
    picture.fill(background);
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TQVImage::FillRect(int width, int height)
{
    const QRect area = QRect(0, 0, width, height).intersected(picture.rect());
    if (area.isEmpty())
        return;
    QPainter painter(&picture);
    painter.fillRect(area, fillColor);
    update(area);
}

void TQVImage::FillOutside(int width, int height, const QColor& color)
{
    const QRect right = QRect(QPoint(std::max(width, 0), 0), picture.rect().bottomRight());
    const QRect below = QRect(QPoint(0, std::max(height, 0)), picture.rect().bottomRight());
    QPainter painter(&picture);
    for (const QRect& area : {right.intersected(picture.rect()), below.intersected(picture.rect())}) {
        if (area.isEmpty())
            continue;
        painter.fillRect(area, color);
        update(area);
    }
}

void TQVImage::InvertRect(int x1, int y1, int x2, int y2)
{
    const int left = std::max(std::min(x1, x2), 0);
    const int right = std::min(std::max(x1, x2), picture.width());
    const int top = std::max(std::min(y1, y2), 0);
    const int bottom = std::min(std::max(y1, y2), picture.height());
    for (int y = top; y < bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = left; x < right; ++x)
            line[x] ^= 0x00FFFFFFu;
    }
    if (right > left && bottom > top)
        update(QRect(left, top, right - left, bottom - top));
}

void TQVImage::ShowScaled(const QImage& image)
{
    picture = image.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_RGB32);
    update();
}

void TQVImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), picture, event->rect());
}

void TQVImage::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit MouseDown(event->button(), p.x(), p.y());
}

void TQVImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit MouseMove(p.x(), p.y());
}

void TQVImage::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit MouseUp(event->button(), p.x(), p.y());
}

void TQVImage::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is still a press.
    mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    emit DoubleClicked(event->button(), p.x(), p.y());
}

void TQVImage::wheelEvent(QWheelEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit Wheel(p.x(), p.y(), event->angleDelta().y());
    event->accept();
}

#pragma once
// An image control with its own drawing surface: the drawing window's picture
// and the control window's indicator thumbnail.

#include <QColor>
#include <QImage>
#include <QWidget>

class TQVImage : public QWidget {
    Q_OBJECT
public:
    TQVImage(QSize size, const QColor& background, QWidget* parent);

    QImage& Picture() { return picture; }
    const QImage& Picture() const { return picture; }
    QColor FillColor() const { return fillColor; }
    void SetFillColor(const QColor& color) { fillColor = color; }
    // Fills from (0, 0) to (width, height) with the fill colour.
    void FillRect(int width, int height);
    // Fills everything right of and below that rectangle with the colour.
    void FillOutside(int width, int height, const QColor& color);
    // Inverts every pixel of the rectangle spanned by two corners, outline
    // and interior once each (right and bottom edges exclusive), clipped to
    // the surface. Inverting the same rectangle twice restores the picture.
    void InvertRect(int x1, int y1, int x2, int y2);
    // Replaces the whole picture with an image scaled to it.
    void ShowScaled(const QImage& image);

signals:
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(Qt::MouseButton button, int x, int y);
    void DoubleClicked(Qt::MouseButton button, int x, int y);
    // The wheel's vertical angle delta over (x, y), 120 to a step.
    void Wheel(int x, int y, int angleDelta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QImage picture;
    QColor fillColor;
};

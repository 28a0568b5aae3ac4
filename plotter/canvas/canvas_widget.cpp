#include "plotter/canvas/canvas_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace ondrix::canvas {

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.SetBackColor(palette().color(QPalette::Base));
    canvas_.SetForeColor(palette().color(QPalette::Text));
    canvas_.SetFont(font());
    canvas_.Resize(width(), height());
}

void CanvasWidget::Cls() {
    canvas_.Cls();
    update();
}

void CanvasWidget::Line(float x1, float y1, float x2, float y2, Rgb color) {
    canvas_.Line(x1, y1, x2, y2, color);
    update();
}

void CanvasWidget::PSet(float x, float y, Rgb color) {
    canvas_.PSet(x, y, color);
    update();
}

void CanvasWidget::PSet(float x, float y) {
    canvas_.PSet(x, y);
    update();
}

void CanvasWidget::Print(std::string_view text) {
    canvas_.Print(text);
    update();
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), canvas_.Image(), event->rect());
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
    canvas_.Resize(event->size().width(), event->size().height());
    QWidget::resizeEvent(event);
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (const auto user = canvas_.Scale().ToUser(pos.x(), pos.y())) {
        emit mouseMoved(static_cast<float>(user->x), static_cast<float>(user->y));
    }
    QWidget::mouseMoveEvent(event);
}

}  // namespace ondrix::canvas

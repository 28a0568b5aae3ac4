#include "plotter/canvas/canvas_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace ondrix::canvas {

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.SetBackColor(palette().color(QPalette::Base));
    canvas_.SetForeColor(palette().color(QPalette::Text));
    canvas_.SetFont(font());
    canvas_.Resize(width(), height());
}

ImageCanvas& CanvasWidget::Synced() {
    // A hidden widget gets its resize event only when shown, but drawing may
    // come first (the window draws before it is shown).
    if (canvas_.Image().width() != std::max(1, width()) ||
        canvas_.Image().height() != std::max(1, height()) ||
        canvas_.Scale().PixelWidth() != width() || canvas_.Scale().PixelHeight() != height()) {
        canvas_.Resize(width(), height());
    }
    return canvas_;
}

void CanvasWidget::Cls() {
    Synced().Cls();
    ScheduleRepaint();
}

void CanvasWidget::Line(double x1, double y1, double x2, double y2, Rgb color) {
    Synced().Line(x1, y1, x2, y2, color);
    ScheduleRepaint();
}

void CanvasWidget::PSet(double x, double y, Rgb color) {
    Synced().PSet(x, y, color);
    ScheduleRepaint();
}

void CanvasWidget::PSet(double x, double y) {
    Synced().PSet(x, y);
    ScheduleRepaint();
}

void CanvasWidget::Print(std::string_view text) {
    Synced().Print(text);
    ScheduleRepaint();
}

void CanvasWidget::ScheduleRepaint() {
    // One pending repaint covers any number of drawing calls; asking again
    // for every segment of a redraw would only repeat the bookkeeping.
    if (repaintPending_) return;
    repaintPending_ = true;
    update();
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    repaintPending_ = false;
    QPainter painter(this);
    painter.drawImage(event->rect(), canvas_.Image(), event->rect());
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
    canvas_.Resize(event->size().width(), event->size().height());
    QWidget::resizeEvent(event);
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (const auto user = Synced().Scale().ToUser(pos.x(), pos.y())) {
        emit mouseMoved(static_cast<float>(user->x), static_cast<float>(user->y));
    }
    QWidget::mouseMoveEvent(event);
}

}  // namespace ondrix::canvas

#include "plotter/qt/canvas_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace ondrix::qt {

namespace {

// The red, green and blue bytes of a QRgb.
constexpr QRgb kRgbMask = 0xFFFFFF;

}  // namespace

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.SetBackColor(palette().color(QPalette::Base).rgb() & kRgbMask);
    canvas_.SetForeColor(palette().color(QPalette::Text).rgb() & kRgbMask);
    text_.SetFont(font());
    canvas_.SetTextPainter(&text_);
    ReadRatio();
    canvas_.Resize(width(), height(), ratio_);
}

PixelCanvas& CanvasWidget::Synced() {
    const ScaleMap& have = canvas_.Scale();
    if (have.PixelWidth() == width() && have.PixelHeight() == height() && have.Ratio() == ratio_)
        return canvas_;  // the usual case, at every drawing call
    // A hidden widget gets its resize event only when shown, but drawing may
    // come first (the window draws before it is shown). The ratio can change
    // with no resize at all: the window moved to another screen. Resize keeps
    // the picture when its size and ratio come out the same.
    ScaleMap wanted;
    wanted.SetPixelSize(width(), height(), ratio_);
    const bool newRatio = wanted.Ratio() != have.Ratio();
    canvas_.Resize(width(), height(), ratio_);
    if (newRatio) {
        update();
        emit resolutionChanged();
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

bool CanvasWidget::Recall(const PictureKey& key) {
    // Bringing the picture back changes pixels.
    const bool recalled = Synced().Recall(key);
    if (recalled) ScheduleRepaint();
    return recalled;
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

void CanvasWidget::paintEvent(QPaintEvent*) {
    repaintPending_ = false;
    QPainter painter(this);
    // The image carries its device pixel ratio: at the widget's own ratio it
    // is copied pixel for pixel; the painter keeps to the exposed region.
    painter.drawImage(QPointF(0, 0), PictureImage(Synced()));
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
    ReadRatio();
    Synced();
    QWidget::resizeEvent(event);
}

bool CanvasWidget::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ScreenChangeInternal || type == QEvent::Show ||
        type == QEvent::ParentChange) {
        ReadRatio();
        Synced();
    }
    return QWidget::event(event);
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (const auto user = Synced().Scale().ToUser(pos.x(), pos.y())) {
        emit mouseMoved(user->x, user->y);
    }
    QWidget::mouseMoveEvent(event);
}

}  // namespace ondrix::qt

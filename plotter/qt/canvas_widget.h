#pragma once

#include <QWidget>

#include "plotter/canvas/pixel_canvas.h"
#include "plotter/qt/qt_text_painter.h"

namespace ondrix::qt {

using canvas::PixelCanvas;
using canvas::Rgb;
using canvas::ScaleMap;

// The plot area of the main window. It draws into a kept pixel canvas, its
// text with Qt's fonts, and paints only by copying that picture; mouse moves
// are reported in user coordinates. The picture has one pixel per device pixel
// of the screen the window is on, and follows that screen's device pixel ratio
// when it changes.
class CanvasWidget : public QWidget, public canvas::Surface {
    Q_OBJECT

  public:
    explicit CanvasWidget(QWidget* parent = nullptr);

    PixelCanvas& Canvas() { return Synced(); }

    void Cls() override;
    void SetScaleLeft(double left) override { Synced().SetScaleLeft(left); }
    void SetScaleTop(double top) override { Synced().SetScaleTop(top); }
    void SetScaleWidth(double width) override { Synced().SetScaleWidth(width); }
    void SetScaleHeight(double height) override { Synced().SetScaleHeight(height); }
    void Line(double x1, double y1, double x2, double y2, Rgb color) override;
    void PSet(double x, double y, Rgb color) override;
    void PSet(double x, double y) override;
    void Print(std::string_view text) override;
    // Text is measured after a scale setter has brought the canvas to size.
    double TextWidth(std::string_view text) const override { return canvas_.TextWidth(text); }
    double TextHeight(std::string_view text) const override { return canvas_.TextHeight(text); }
    int Width() const override { return width(); }
    int Height() const override { return height(); }
    void BeginPrints() override { Synced().BeginPrints(); }
    void EndPrints() override { canvas_.EndPrints(); }
    bool Recall(const PictureKey& key) override;
    void Mark(const PictureKey& key) override { Synced().Mark(key); }

  signals:
    // The pointer's position in user coordinates, in double precision.
    void mouseMoved(double x, double y);
    // The device pixel ratio changed (another screen, or a new scale): the
    // kept picture was scaled to it and is best drawn again.
    void resolutionChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // The canvas, its image brought to the widget's current size and device
    // pixel ratio first.
    PixelCanvas& Synced();
    void ScheduleRepaint();
    // Reads the device pixel ratio, which only a resize or another screen
    // changes; drawing calls use the value read last.
    void ReadRatio() { ratio_ = devicePixelRatioF(); }

    QtTextPainter text_;
    PixelCanvas canvas_;
    double ratio_ = 1;
    bool repaintPending_ = false;
};

}  // namespace ondrix::qt

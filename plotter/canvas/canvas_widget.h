#pragma once

#include <QWidget>

#include "plotter/canvas/image_canvas.h"

namespace ondrix::canvas {

// The plot area of the main window. It draws into a kept image and paints
// only by copying that image; mouse moves are reported in user coordinates.
class CanvasWidget : public QWidget, public Surface {
    Q_OBJECT

  public:
    explicit CanvasWidget(QWidget* parent = nullptr);

    ImageCanvas& Canvas() { return Synced(); }

    void Cls() override;
    void SetScaleLeft(float left) override { Synced().SetScaleLeft(left); }
    void SetScaleTop(float top) override { Synced().SetScaleTop(top); }
    void SetScaleWidth(float width) override { Synced().SetScaleWidth(width); }
    void SetScaleHeight(float height) override { Synced().SetScaleHeight(height); }
    void Line(float x1, float y1, float x2, float y2, Rgb color) override;
    void PSet(float x, float y, Rgb color) override;
    void PSet(float x, float y) override;
    void Print(std::string_view text) override;
    int Width() const override { return width(); }

  signals:
    // The pointer's position in user coordinates.
    void mouseMoved(float x, float y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    // The canvas, its image brought to the widget's current size first.
    ImageCanvas& Synced();
    void ScheduleRepaint();

    ImageCanvas canvas_;
    bool repaintPending_ = false;
};

}  // namespace ondrix::canvas

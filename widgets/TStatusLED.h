#pragma once
// A small indicator: a bevelled hexagonal bar like one segment of a seven-segment display,
// lit in its own colour or dark grey. It takes no focus and no input and paints only its
// figure, so the parent's background shows around it.
#include "DisplayColors.h"

#include <QWidget>

namespace bansho {

class TStatusLED : public QWidget {
public:
    static constexpr ColorValue kDefaultColor = 0x0000FF00; // green (0x00BBGGRR)

    explicit TStatusLED(QWidget* parent = nullptr); // 24 x 13, dark, green

    bool Status() const { return status_; }
    // A different value is stored and painted at once; the same value does nothing.
    void SetStatus(bool on);
    ColorValue Color() const { return color_; }
    void SetColor(ColorValue color); // same rule as SetStatus
    void TurnOn() { SetStatus(true); }
    void TurnOff() { SetStatus(false); }

    QSize sizeHint() const override { return {24, 13}; }

    // Paints the figure for a w x h control onto a painter whose origin is the control's
    // top-left corner (the paint handler uses it; tests render into images with it).
    static void PaintFigure(class QPainter& painter, int w, int h, bool status, ColorValue color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool status_ = false;
    ColorValue color_ = kDefaultColor;
};

} // namespace bansho

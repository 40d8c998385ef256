#include "TStatusLED.h"

#include "ColorValue.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace bansho {

namespace {

// Pixel-exact drawing in the manner of the classic GDI: lines leave out their last point,
// a polygon is filled from its left edges up to (not including) its right edges and then
// outlined with the pen. Only pixels inside the control are touched.
class PixelPen {
public:
    PixelPen(QPainter& painter, int w, int h) : painter_(painter), w_(w), h_(h) {}

    void SetColor(const QColor& c) { color_ = c; }

    void Line(QPoint a, QPoint b) {
        int x = a.x(), y = a.y();
        const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
        const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
        int err = dx + dy;
        while (x != b.x() || y != b.y()) {
            Plot(x, y);
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
    }

    void Polyline(std::initializer_list<QPoint> points) {
        const QPoint* p = points.begin();
        for (std::size_t i = 1; i < points.size(); ++i)
            Line(p[i - 1], p[i]);
    }

    void FillPolygon(const std::vector<QPoint>& points, const QColor& fill) {
        int top = points.front().y(), bottom = top;
        for (const QPoint& p : points) {
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
        std::vector<double> xs;
        for (int y = top; y <= bottom; ++y) {
            xs.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                const QPoint a = points[i], b = points[(i + 1) % points.size()];
                if (a.y() == b.y()) continue;
                const QPoint lo = a.y() < b.y() ? a : b, hi = a.y() < b.y() ? b : a;
                if (y < lo.y() || y >= hi.y()) continue;
                xs.push_back(lo.x() + double(y - lo.y()) * (hi.x() - lo.x()) / (hi.y() - lo.y()));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
                const int from = int(std::ceil(xs[i])), to = int(std::ceil(xs[i + 1])) - 1;
                Span(from, to, y, fill);
            }
        }
        for (std::size_t i = 0; i < points.size(); ++i)
            Line(points[i], points[(i + 1) % points.size()]);
    }

private:
    void Plot(int x, int y) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        painter_.fillRect(QRect(x, y, 1, 1), color_);
    }
    void Span(int from, int to, int y, const QColor& c) {
        if (y < 0 || y >= h_) return;
        from = std::max(from, 0);
        to = std::min(to, w_ - 1);
        if (from <= to) painter_.fillRect(QRect(from, y, to - from + 1, 1), c);
    }

    QPainter& painter_;
    int w_, h_;
    QColor color_;
};

} // namespace

TStatusLED::TStatusLED(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(24, 13);
}

void TStatusLED::SetStatus(bool on) {
    if (on == status_) return;
    status_ = on;
    repaint();
}

void TStatusLED::SetColor(ColorValue color) {
    if (color == color_) return;
    color_ = color;
    repaint();
}

void TStatusLED::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintFigure(painter, width(), height(), status_, color_);
}

void TStatusLED::PaintFigure(QPainter& painter, int W, int H, bool status, ColorValue color) {
    const QColor black(0, 0, 0), white(255, 255, 255), grey(0x80, 0x80, 0x80),
        silver(0xC0, 0xC0, 0xC0);
    const QColor fill = status ? ToQColor(color) : grey;
    PixelPen pen(painter, W, H);
    pen.SetColor(black);
    if (H <= W) {
        const int h = H / 2, e = W - h;
        pen.FillPolygon(
            {{0, h + 2}, {h - 1, 3}, {e + 1, 3}, {W - 1, h + 1}, {e, H - 1}, {h - 2, H - 1}}, fill);
        pen.SetColor(white);
        pen.Polyline({{0, h}, {h - 1, 1}, {e + 1, 1}, {W - 1, h - 1}, {e, H - 3}, {h - 3, H - 3}});
        pen.SetColor(grey);
        pen.Polyline({{0, h + 1}, {h - 1, 2}, {e, 2}, {W - 2, h}});
        pen.Polyline({{W - 1, h}, {e, H - 2}, {h - 2, H - 2}, {0, h + 1}});
        pen.SetColor(silver);
        pen.Line({h - 2, H - 3}, {0, h});
    } else {
        const int w = W / 2, f = H - w;
        pen.FillPolygon(
            {{w + 2, 0}, {W - 1, w - 2}, {W - 1, f}, {w + 1, H - 1}, {3, f + 1}, {3, w - 1}}, fill);
        pen.SetColor(white);
        pen.Polyline({{w, 0}, {1, w - 1}, {1, f + 1}, {w - 1, H - 1}, {W - 3, f}, {W - 3, w - 3}});
        pen.SetColor(grey);
        pen.Polyline({{w + 1, 0}, {2, w - 1}, {2, f}, {w, H - 2}});
        pen.Polyline({{w, H - 1}, {W - 2, f}, {W - 2, w - 2}, {w + 1, 0}});
        pen.SetColor(silver);
        pen.Line({W - 3, w - 2}, {w, 0});
    }
}

} // namespace bansho

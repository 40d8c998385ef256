#include "ColorValue.h"

#include <QGuiApplication>
#include <QPalette>
#include <cmath>
#include <cstdint>

namespace bansho {

namespace {

// The system colour numbers that matter on a desktop, mapped onto palette roles.
QColor SystemColor(int index, const QPalette& p) {
    switch (index) {
    case 1: // desktop
    case 12:
        return p.color(QPalette::Window); // application workspace
    case 2:
        return p.color(QPalette::Active, QPalette::Highlight); // active caption
    case 3:
        return p.color(QPalette::Inactive, QPalette::Highlight);
    case 4:
        return p.color(QPalette::Window); // menu
    case 5:
        return p.color(QPalette::Base); // window background
    case 6:
        return p.color(QPalette::Shadow); // window frame
    case 7:                               // menu text
    case 8:
        return p.color(QPalette::WindowText); // window text
    case 9:
        return p.color(QPalette::HighlightedText);
    case 13:
        return p.color(QPalette::Highlight);
    case 14:
        return p.color(QPalette::HighlightedText);
    case 15:
        return p.color(QPalette::Button); // button face
    case 16:
        return p.color(QPalette::Mid); // button shadow
    case 17:
        return p.color(QPalette::Disabled, QPalette::WindowText);
    case 18:
        return p.color(QPalette::ButtonText);
    case 20:
        return p.color(QPalette::Light); // button highlight
    case 21:
        return p.color(QPalette::Dark);
    case 22:
        return p.color(QPalette::Midlight);
    case 23:
        return p.color(QPalette::ToolTipText);
    case 24:
        return p.color(QPalette::ToolTipBase);
    default:
        return p.color(QPalette::Window);
    }
}

} // namespace

QColor ToQColor(ColorValue value, const QPalette& palette) {
    const auto v = static_cast<std::uint32_t>(value);
    if ((v >> 24) == 0xFF) return SystemColor(static_cast<int>(v & 0xFF), palette);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

QColor ToQColor(ColorValue value) {
    return ToQColor(value, QGuiApplication::palette());
}

ColorValue FromQColor(const QColor& c) {
    return static_cast<ColorValue>(static_cast<std::uint32_t>(c.red()) |
                                   (static_cast<std::uint32_t>(c.green()) << 8) |
                                   (static_cast<std::uint32_t>(c.blue()) << 16));
}

namespace {
double RelativeLuminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
           0.0722 * channel(c.blueF());
}
} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableText(ColorValue text, ColorValue background, const QPalette& palette) {
    const QColor t = ToQColor(text, palette);
    if (text != clBlack || (static_cast<std::uint32_t>(background) >> 24) != 0xFF) return t;
    return ContrastRatio(t, ToQColor(background, palette)) >= 3.0
               ? t
               : palette.color(QPalette::ButtonText);
}

} // namespace bansho


#include "LinkLabel.h"

#include <QMouseEvent>

namespace bansho {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    SetActive(true);
}

void LinkLabel::SetActive(bool active) {
    active_ = active;
    pressed_ = false;
    QFont f = font();
    f.setUnderline(active);
    setFont(f);
    if (active) {
        // Blue whatever the palette says, as links have always looked.
        QPalette p = palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 255));
        setPalette(p);
        setCursor(Qt::PointingHandCursor);
    } else {
        setPalette(QPalette());
        unsetCursor();
    }
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = active_ && event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    // Like a button: the click counts only if the pointer is still over the link.
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

} // namespace bansho

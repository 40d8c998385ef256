#include "NumberDisplay.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QStyle>

namespace bansho {

namespace {

// To assistive technology the number is a label, named with what it shows (the window sets
// the name and the description of the lit marks).
QAccessibleInterface* NumberDisplayAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("bansho::NumberDisplay") || !object || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StaticText);
}

} // namespace

NumberDisplay::NumberDisplay(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(NumberDisplayAccessible);
        return true;
    }();
    (void)factoryInstalled;
}

void NumberDisplay::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    update();
}

void NumberDisplay::setAlignment(Qt::Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    update();
}

void NumberDisplay::paintEvent(QPaintEvent*) {
    if (text_.isEmpty()) return;
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(),
                          int(QStyle::visualAlignment(layoutDirection(), alignment_)), palette(),
                          isEnabled(), text_, QPalette::WindowText);
}

} // namespace bansho

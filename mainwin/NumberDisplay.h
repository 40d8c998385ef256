#pragma once
// The big number: one line of plain text drawn in the display font, aligned in its box. It
// holds the main window's keyboard focus so that a screen reader reads it. A QLabel that can
// take the focus lays its text out through a whole text document (and loads the toolkit's
// default font for it); this draws the line directly, as a label does for plain text.
#include <QString>
#include <QWidget>

namespace bansho {

class NumberDisplay : public QWidget {
    Q_OBJECT

public:
    explicit NumberDisplay(QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    void clear() { setText(QString()); }
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    Qt::Alignment alignment_ = Qt::AlignRight | Qt::AlignVCenter;
};

} // namespace bansho

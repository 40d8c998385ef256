#pragma once
// A label that behaves as a web link: blue underlined text, a pointing hand, and
// a click signal when the left button is pressed and released over it. An inactive
// link is plain text in the normal colours and sends no clicks.
#include <QLabel>

namespace bansho {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    void SetActive(bool active);
    bool IsActive() const { return active_; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
    bool active_ = true;
};

} // namespace bansho

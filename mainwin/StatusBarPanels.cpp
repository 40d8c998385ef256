#include "StatusBarPanels.h"

#include "LayoutRule.h"

#include <QFont>
#include <QLabel>

namespace bansho {

StatusBarPanels::StatusBarPanels(QWidget* parent) : QWidget(parent) {
    setObjectName("SBar");
    for (int i = 0; i < kPanelCount; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("SBarPanel%1").arg(i));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(i < 4 ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
        l->setTextFormat(Qt::PlainText);
        panels_[i] = l;
    }
    selector_ = new QLabel(this);
    selector_->setObjectName(QStringLiteral("SBarSelector"));
    selector_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    selector_->setAlignment(Qt::AlignCenter);
    selector_->setTextFormat(Qt::PlainText);
    selector_->hide();
    items_ = new QLabel(this);
    items_->setObjectName(QStringLiteral("SBarItems"));
    items_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    items_->setAlignment(Qt::AlignCenter);
    items_->setTextFormat(Qt::PlainText);
    items_->hide();
    LayoutPanels();
}

void StatusBarPanels::SetItemsText(const QString& text) {
    if (items_->text() == text) return;
    items_->setText(text);
    items_->setVisible(!text.isEmpty());
    LayoutPanels();
}

void StatusBarPanels::SetPanelText(int index, const QString& text) {
    if (index >= 0 && index < kPanelCount && panels_[index]->text() != text)
        panels_[index]->setText(text);
}

void StatusBarPanels::SetSelectorText(const QString& text) {
    if (selector_->text() == text) return;
    selector_->setText(text);
    selector_->setVisible(!text.isEmpty());
    LayoutPanels();
}

QString StatusBarPanels::PanelText(int index) const {
    return index >= 0 && index < kPanelCount ? panels_[index]->text() : QString();
}

void StatusBarPanels::SetBarHeight(int height) {
    QFont f = font();
    f.setPixelSize(std::max(1, StatusBarFontHeight(height)));
    setFont(f);
    LayoutPanels(); // the selector's panel is as wide as its text
}

void StatusBarPanels::resizeEvent(QResizeEvent*) {
    LayoutPanels();
}

void StatusBarPanels::LayoutPanels() {
    int x = 0;
    const int h = height();
    int right = width();
    if (!selector_->text().isEmpty()) {
        const int sw = selector_->fontMetrics().horizontalAdvance(selector_->text()) + 16;
        right = std::max(0, width() - sw);
        selector_->setGeometry(right, 0, width() - right, h);
    }
    if (!items_->text().isEmpty()) {
        const int iw = items_->fontMetrics().horizontalAdvance(items_->text()) + 16;
        const int left = std::max(0, right - iw);
        items_->setGeometry(left, 0, right - left, h);
        right = left;
    }
    for (int i = 0; i < kPanelCount; ++i) {
        // The last panel runs on to the right edge (or the selector's panel), as a status
        // bar's last part does.
        const int w = i == kPanelCount - 1 ? std::max(kPanelWidths[i], right - x) : kPanelWidths[i];
        panels_[i]->setGeometry(x, 0, w, h);
        x += w;
    }
}

} // namespace bansho

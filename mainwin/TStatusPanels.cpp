#include "TStatusPanels.h"

#include "LayoutRule.h"

#include <QFont>
#include <QLabel>

namespace bansho {

TStatusPanels::TStatusPanels(QWidget* parent) : QWidget(parent) {
    setObjectName("SBar");
    for (int i = 0; i < kPanelCount; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("SBarPanel%1").arg(i));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(i < 4 ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
        l->setTextFormat(Qt::PlainText);
        panels_[i] = l;
    }
    LayoutPanels();
}

void TStatusPanels::SetPanelText(int index, const QString& text) {
    if (index >= 0 && index < kPanelCount && panels_[index]->text() != text)
        panels_[index]->setText(text);
}

QString TStatusPanels::PanelText(int index) const {
    return index >= 0 && index < kPanelCount ? panels_[index]->text() : QString();
}

void TStatusPanels::SetBarHeight(int height) {
    QFont f = font();
    f.setPixelSize(std::max(1, StatusBarFontHeight(height)));
    setFont(f);
}

void TStatusPanels::resizeEvent(QResizeEvent*) {
    LayoutPanels();
}

void TStatusPanels::LayoutPanels() {
    int x = 0;
    const int h = height();
    for (int i = 0; i < kPanelCount; ++i) {
        // The last panel runs on to the right edge, as a status bar's last part does.
        const int w =
            i == kPanelCount - 1 ? std::max(kPanelWidths[i], width() - x) : kPanelWidths[i];
        panels_[i]->setGeometry(x, 0, w, h);
        x += w;
    }
}

} // namespace bansho

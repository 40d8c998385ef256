#include "RadioButtonGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace bansho {

RadioButtonGroup::RadioButtonGroup(const QString& caption, const QStringList& items, int columns,
                                   QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, caption.isEmpty() ? 4 : 2, 8, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    columns = std::max(1, columns);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        group_->addButton(b, i);
        buttons_ << b;
        // Items run down each column, as in a Windows radio group.
        grid->addWidget(b, i % rows, i / rows);
    }
    connect(group_, &QButtonGroup::idClicked, this, &RadioButtonGroup::Clicked);
}

int RadioButtonGroup::ItemIndex() const {
    return group_->checkedId();
}

void RadioButtonGroup::SetItemIndex(int i) {
    const QSignalBlocker block(group_);
    if (i >= 0 && i < buttons_.size()) {
        buttons_[i]->setChecked(true);
        return;
    }
    group_->setExclusive(false);
    for (QRadioButton* b : buttons_)
        b->setChecked(false);
    group_->setExclusive(true);
}

} // namespace bansho

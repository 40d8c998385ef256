#pragma once
// A captioned group of radio buttons laid out in columns, read and set by item index.
#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace bansho {

class RadioButtonGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioButtonGroup(const QString& caption, const QStringList& items, int columns,
                     QWidget* parent = nullptr);

    // The checked item, -1 when none.
    int ItemIndex() const;
    // Checks item i (any other value leaves every item unchecked). Emits nothing.
    void SetItemIndex(int i);
    int Count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* Button(int i) const { return buttons_.value(i); }

signals:
    // The user picked item i (also by clicking the item already checked).
    void Clicked(int i);

private:
    QButtonGroup* group_ = nullptr;
    QList<QRadioButton*> buttons_;
};

} // namespace bansho

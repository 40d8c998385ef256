// The calculation page's conversion rates: a name for the home unit, a name and a rate for
// C2 and C3. A value the calculator could not use is refused with a message naming its field.
#include "Beep.h"
#include "Conversion.h"
#include "MessageBoxes.h"
#include "TCForm.h"
#include "TextFunctions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace bansho {

namespace {

// The text less the blanks and control characters at either end.
std::string Trimmed(const QString& text) {
    return text.trimmed().toStdString();
}

QLineEdit* RateEdit(QWidget* parent, const char* name, const QString& accessible, int width) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAccessibleName(accessible);
    e->setFixedWidth(width);
    return e;
}

} // namespace

QGroupBox* TCForm::BuildRateGroup(QWidget* page) {
    RateGroup = new QGroupBox(QStringLiteral(" 換算レート "), page);
    auto* grid = new QGridLayout(RateGroup);
    grid->setContentsMargins(8, 0, 8, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    RateName1 = RateEdit(RateGroup, "RateName1", QStringLiteral("基準の名前"), 56);
    RateName2 = RateEdit(RateGroup, "RateName2", QStringLiteral("換算２の名前"), 56);
    Rate2 = RateEdit(RateGroup, "Rate2", QStringLiteral("換算２のレート"), 88);
    RateName3 = RateEdit(RateGroup, "RateName3", QStringLiteral("換算３の名前"), 56);
    Rate3 = RateEdit(RateGroup, "Rate3", QStringLiteral("換算３のレート"), 88);
    auto* home = new QLabel(QStringLiteral("基準 (1)"), RateGroup);
    home->setBuddy(RateName1);
    auto* c2 = new QLabel(QStringLiteral("換算２"), RateGroup);
    c2->setBuddy(RateName2);
    auto* c3 = new QLabel(QStringLiteral("換算３"), RateGroup);
    c3->setBuddy(RateName3);
    grid->addWidget(home, 0, 0);
    grid->addWidget(RateName1, 0, 1);
    grid->addWidget(c2, 0, 2);
    grid->addWidget(RateName2, 0, 3);
    grid->addWidget(Rate2, 0, 4);
    grid->addWidget(c3, 1, 2);
    grid->addWidget(RateName3, 1, 3);
    grid->addWidget(Rate3, 1, 4);
    grid->setColumnStretch(5, 1);
    for (QLineEdit* e : {RateName1, RateName2, Rate2, RateName3, Rate3})
        e->setToolTip(e->accessibleName());
    Rate2->setToolTip(QStringLiteral("基準の１がいくつになるか (例 0.0067)"));
    Rate3->setToolTip(Rate2->toolTip());
    return RateGroup;
}

void TCForm::ShowRates() {
    RateName1->setText(QString::fromStdString(option_.RateName1));
    RateName2->setText(QString::fromStdString(option_.RateName2));
    Rate2->setText(QString::fromStdString(option_.Rate2));
    RateName3->setText(QString::fromStdString(option_.RateName3));
    Rate3->setText(QString::fromStdString(option_.Rate3));
}

bool TCForm::TakeRates() {
    struct Field {
        QLineEdit* edit;
        std::string* value;
        bool rate;
    } fields[] = {{RateName1, &option_.RateName1, false}, {RateName2, &option_.RateName2, false},
                  {Rate2, &option_.Rate2, true},          {RateName3, &option_.RateName3, false},
                  {Rate3, &option_.Rate3, true}};
    // Every field is checked before any is taken, so a refusal changes nothing.
    for (const Field& f : fields) {
        const std::string text = Trimmed(f.edit->text());
        if (text.empty()) continue;
        const bool ok = f.rate ? IsValidRate(text) : IsValidRateName(text);
        if (ok) continue;
        const QString why =
            f.rate ? QStringLiteral("0 より大きい数 (15 桁まで、例 0.0067) を入れてください。")
                   : QStringLiteral("全角 6 文字 (半角 12 文字) までで、「,」と「\"」は使えません。");
        platform::Beep();
        platform::ShowError(this, QStringLiteral("「%1」の値 \"%2\" は使えません。\n%3")
                                      .arg(f.edit->accessibleName(), f.edit->text(), why));
        f.edit->setText(QString::fromStdString(*f.value)); // the field as it was
        Custom->setCurrentIndex(PageCalc);
        f.edit->setFocus();
        return false;
    }
    for (const Field& f : fields)
        *f.value = Trimmed(f.edit->text());
    return true;
}

} // namespace bansho

#include "TFuncKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <vector>

#include "KeyRepeat.h"
#include "VirtualKeys.h"

namespace bansho {

FunctionKeyButton::FunctionKeyButton(QWidget* parent) : QPushButton(parent) {
    // The keys are for the mouse and the F-keys; the keyboard focus stays where it is.
    setFocusPolicy(Qt::NoFocus);
}

void FunctionKeyButton::SetCaption(const QString& caption) {
    setText(caption);
    UpdateAccessibleName();
    if (const QWidget* bar = parentWidget()) FitCaption(bar->font());
}

namespace {
constexpr int kCaptionMargin = 1;
}

int FunctionKeyButton::CaptionRoom() const {
    return width() - 2 * kCaptionMargin;
}

void FunctionKeyButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    p.drawControl(QStyle::CE_PushButton, opt);
    const int shift = isDown() ? style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, this)
                               : 0;
    const QRect r = rect().adjusted(kCaptionMargin, 0, -kCaptionMargin, 0).translated(shift, 0);
    p.drawItemText(r, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), text(),
                   QPalette::ButtonText);
}

void FunctionKeyButton::FitCaption(const QFont& base) {
    QFont f = base;
    const QString caption = text();
    int points = f.pointSize();
    if (points > 0) {
        const int room = CaptionRoom();
        while (points > kMinCaptionPoints &&
               QFontMetrics(f).horizontalAdvance(caption) > room)
            f.setPointSize(--points);
    }
    if (f != font()) setFont(f);
}

void FunctionKeyButton::SetFunctionKey(int number) {
    functionKey_ = number;
    UpdateAccessibleName();
}

void FunctionKeyButton::UpdateAccessibleName() {
    if (functionKey_ <= 0) return;
    const QString fkey = QStringLiteral("F%1").arg(functionKey_);
    const QString caption = text().trimmed();
    setAccessibleName(caption.isEmpty() || caption == fkey ? fkey
                                                           : fkey + QLatin1Char(' ') + caption);
}

void FunctionKeyButton::SetHint(const QString& hint) {
    hint_ = hint;
    setAccessibleDescription(hint);
    UpdateToolTip();
}

void FunctionKeyButton::SetShowHint(bool show) {
    showHint_ = show;
    UpdateToolTip();
}

void FunctionKeyButton::UpdateToolTip() {
    setToolTip(showHint_ ? hint_ : QString());
}

// One filter for the whole program while any bar exists. It sees every key-down first:
// a repeat of a held F1..F12 is dropped before anything else sees it, and a fresh one clicks
// the matching key of every bar whose hook is on, then goes on to the focused window.
class FKeyHookFilter : public QObject {
public:
    static FKeyHookFilter* Instance() {
        static QPointer<FKeyHookFilter> instance;
        if (!instance && qApp) {
            instance = new FKeyHookFilter(qApp);
            qApp->installEventFilter(instance);
        }
        return instance;
    }

    void Add(TFuncKey* bar) { bars_.push_back(bar); }
    void Remove(TFuncKey* bar) {
        bars_.erase(std::remove(bars_.begin(), bars_.end(), bar), bars_.end());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || bars_.empty())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() < Qt::Key_F1 || key->key() > Qt::Key_F12) return false;
        if (IsPropagation(key, static_cast<QWidget*>(watched))) return false;
        if (platform::IsKeyRepeat(*key)) return true; // F1..F12 never repeat while held
        const int index = key->key() - Qt::Key_F1;
        // A click may open a modal dialog or destroy a bar: work on guarded copies.
        std::vector<QPointer<TFuncKey>> bars(bars_.begin(), bars_.end());
        for (const QPointer<TFuncKey>& bar : bars) {
            if (bar && bar->KeyHook()) bar->GetKey(index)->click();
        }
        return false;
    }

private:
    explicit FKeyHookFilter(QObject* parent) : QObject(parent) {}

    // An ignored key event travels up the parent chain and passes the filter once per
    // widget; only its first delivery counts. A record stays valid across the nested event
    // loop of a modal dialog opened by the click.
    struct Delivery {
        const QEvent* event = nullptr;
        quint64 timestamp = 0;
        int key = 0;
        QPointer<QWidget> receiver;
    };

    bool IsPropagation(const QKeyEvent* key, QWidget* receiver) {
        for (Delivery& d : recent_) {
            if (d.event != key) continue;
            if (d.timestamp == key->timestamp() && d.key == key->key() && d.receiver &&
                d.receiver->parentWidget() == receiver) {
                d.receiver = receiver;
                return true;
            }
            d = {key, key->timestamp(), key->key(), receiver};
            return false;
        }
        if (recent_.size() >= 16) recent_.erase(recent_.begin());
        recent_.push_back({key, key->timestamp(), key->key(), receiver});
        return false;
    }

    std::vector<TFuncKey*> bars_;
    std::vector<Delivery> recent_;
};

TFuncKey::TFuncKey(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    for (int i = 0; i < kKeys; ++i) {
        auto* key = new FunctionKeyButton(this);
        key->SetFunctionKey(i + 1);
        keys_[i] = key;
        connect(key, &QPushButton::clicked, this, [this, key] { KeyClick(key); });
        capList_ << QStringLiteral("F%1").arg(i + 1);
        tagList_ << QString::number(vk::F1 + i);
        hintList_ << QString();
    }
    if (FKeyHookFilter* filter = FKeyHookFilter::Instance()) filter->Add(this);
    resize(width(), 24);
    ApplyCaptions();
    ApplyTags();
    ApplyHints();
    LayoutKeys();
}

TFuncKey::~TFuncKey() {
    if (FKeyHookFilter* filter = FKeyHookFilter::Instance()) filter->Remove(this);
}

void TFuncKey::SetMergin(int mergin) {
    if (mergin < 0 || mergin > 15) return;
    mergin_ = mergin;
    LayoutKeys();
}

void TFuncKey::SetKeyCount(int count) {
    if (count != 8 && count != 10 && count != 12) return;
    keyCount_ = count;
    LayoutKeys();
}

void TFuncKey::SetKeyHook(bool on) {
    keyHook_ = on;
}

void TFuncKey::SetCapList(const QStringList& list) {
    capList_ = list;
    ApplyCaptions();
}

void TFuncKey::SetTagList(const QStringList& list) {
    tagList_ = list;
    ApplyTags();
}

void TFuncKey::SetHintList(const QStringList& list) {
    hintList_ = list;
    ApplyHints();
}

FunctionKeyButton* TFuncKey::GetKey(int index) const {
    if (index < 0 || index >= kKeys) return nullptr;
    // A hidden bar gets its resize event only when shown; its keys are wanted sooner.
    if (testAttribute(Qt::WA_PendingResizeEvent)) LayoutKeys();
    return keys_[index];
}

void TFuncKey::ApplyCaptions() {
    const int n = std::min<int>(capList_.size(), kKeys);
    for (int i = 0; i < n; ++i)
        keys_[i]->SetCaption(capList_[i]);
    FitCaptions();
}

// A narrow bar shows each caption whole in a smaller size rather than cut.
void TFuncKey::FitCaptions() const {
    for (FunctionKeyButton* key : keys_)
        key->FitCaption(font());
}

void TFuncKey::ApplyTags() {
    const int n = std::min<int>(tagList_.size(), kKeys);
    for (int i = 0; i < n; ++i) {
        bool ok = false;
        const int tag = tagList_[i].trimmed().toInt(&ok, 10);
        if (ok) keys_[i]->SetTag(tag);
    }
}

void TFuncKey::ApplyHints() {
    const int n = std::min<int>(hintList_.size(), kKeys);
    for (int i = 0; i < n; ++i)
        keys_[i]->SetHint(hintList_[i]);
}

TFuncKey::Layout TFuncKey::ComputeLayout(int W, int N, int M) {
    Layout layout;
    const int room = N == 12 ? W - 2 * M : W - M;
    const int w = room / N;
    const int rest = room - N * w;
    const int firstGroup = N == 10 ? 5 : 4;
    for (int i = 0; i < kKeys; ++i) {
        int x = i * w;
        if (N == 12) {
            if (i >= 8)
                x += 2 * M + rest;
            else if (i >= 4)
                x += M + rest / 2;
        } else if (i >= firstGroup) {
            x += M + rest;
        }
        layout.left[i] = x;
    }
    layout.width = w;
    return layout;
}

void TFuncKey::LayoutKeys() const {
    const Layout layout = ComputeLayout(width(), keyCount_, mergin_);
    for (int i = 0; i < kKeys; ++i)
        keys_[i]->setGeometry(layout.left[i], 0, std::max(layout.width, 0), height());
    FitCaptions();
}

void TFuncKey::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) FitCaptions();
}

void TFuncKey::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    LayoutKeys();
}

void TFuncKey::KeyClick(FunctionKeyButton* key) {
    const int tag = key->Tag();
    if (OnClick) OnClick(key, tag);
    emit KeyClicked(key, tag);
}

} // namespace bansho

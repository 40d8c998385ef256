#pragma once
// The function-key bar: a row of twelve push keys standing for F1..F12, laid out in groups
// like a keyboard's function keys, 8, 10 or 12 of them shown. A click reports the key and
// its tag; while KeyHook is on, F1..F12 pressed in any window of the program (modal dialogs
// included) click the matching key. While any bar exists, an auto-repeated F1..F12 press is
// dropped for the whole program before anything else sees it, so holding a key fires once.
#include <QFrame>
#include <QPushButton>
#include <QStringList>

#include <array>
#include <functional>

namespace bansho {

// One key of the bar: a push button with an integer tag and a hint shown only on request.
class FunctionKeyButton : public QPushButton {
public:
    explicit FunctionKeyButton(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    // The caption, and the name a screen reader reads: the function key and the caption
    // ("F3 税込み"), just the function key when the caption is blank.
    void SetCaption(const QString& caption);
    // Which function key this is, 1 to 12.
    void SetFunctionKey(int number);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show); // the hint becomes the tool tip only while on
    // The width the caption may take inside the key, as the style draws it.
    int CaptionRoom() const;
    // The caption in the bar's font, or a smaller size of it (down to kMinCaptionPoints) so
    // that it fits whole inside the key.
    void FitCaption(const QFont& base);
    static constexpr int kMinCaptionPoints = 5;

protected:
    // The key's bevel as the style draws it, the caption over it with a thin margin only, so
    // that a narrow key keeps its caption whole.
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateToolTip();
    void UpdateAccessibleName();
    int tag_ = 0;
    int functionKey_ = 0;
    QString hint_;
    bool showHint_ = false;
};

class TFuncKey : public QFrame {
    Q_OBJECT
public:
    static constexpr int kKeys = 12;
    // Sender: the clicked key; Key: its tag.
    using TFKeyClickEvent = std::function<void(FunctionKeyButton* sender, int key)>;

    explicit TFuncKey(QWidget* parent = nullptr); // height 24, Mergin 2, 12 keys, hook on
    ~TFuncKey() override;

    // Called on every click of a key (also through the F-key hook).
    TFKeyClickEvent OnClick;

    int Mergin() const { return mergin_; }
    void SetMergin(int mergin); // 0..15, other values ignored
    int KeyCount() const { return keyCount_; }
    void SetKeyCount(int count); // 8, 10 or 12, other values ignored
    bool KeyHook() const { return keyHook_; }
    void SetKeyHook(bool on);
    bool FlatClick() const { return flatClick_; }
    void SetFlatClick(bool on) { flatClick_ = on; }

    // Item i applies to key i; items after the twelfth are ignored, keys past the end of a
    // shorter list keep their values. A tag item that is not a decimal integer leaves the
    // key's tag as it was.
    const QStringList& CapList() const { return capList_; }
    void SetCapList(const QStringList& list);
    const QStringList& TagList() const { return tagList_; }
    void SetTagList(const QStringList& list);
    const QStringList& HintList() const { return hintList_; }
    void SetHintList(const QStringList& list);

    // Key 0..11 (nullptr outside), laid out for the bar's current size even before the bar
    // has been shown.
    FunctionKeyButton* GetKey(int index) const;

    // Left edges of the twelve keys and their width for a bar of the given width.
    struct Layout {
        std::array<int, kKeys> left{};
        int width = 0;
    };
    static Layout ComputeLayout(int barWidth, int keyCount, int mergin);

signals:
    // Emitted after OnClick for every click.
    void KeyClicked(bansho::FunctionKeyButton* sender, int key);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class FKeyHookFilter;
    void ApplyCaptions();
    void ApplyTags();
    void ApplyHints();
    void LayoutKeys() const;
    void FitCaptions() const;
    void KeyClick(FunctionKeyButton* key);

    std::array<FunctionKeyButton*, kKeys> keys_{};
    int mergin_ = 2;
    int keyCount_ = 12;
    bool keyHook_ = true;
    bool flatClick_ = true;
    QStringList capList_, tagList_, hintList_;
};

} // namespace bansho

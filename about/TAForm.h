#pragma once
// The version-information box: the program's picture, name, version, copyright
// and two web links, with an OK button that also answers Enter and Escape.
#include <QByteArray>
#include <QDialog>
#include <QUrl>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class TLinkLabel;

class TAForm : public QDialog {
    Q_OBJECT
public:
    // Opens a web page; the box ignores whether it worked. Replaceable for tests.
    using UrlOpener = std::function<void(const QUrl&)>;

    // Addresses behind the two links.
    static const QUrl SupportUrl;
    static const QUrl SocialUrl;

    // The box with the program's own picture.
    explicit TAForm(QWidget* owner = nullptr);
    // The box with the given JPEG bytes as its picture; if they do not decode,
    // the box shows no picture and works as before.
    TAForm(QWidget* owner, const QByteArray& pictureJpeg);

    void SetUrlOpener(UrlOpener opener) { opener_ = std::move(opener); }

    QFrame* Panel = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* VerDisp = nullptr;
    QLabel* Copyright = nullptr;
    TLinkLabel* Label1 = nullptr;
    TLinkLabel* Label2 = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Build();
    void CentreOnScreen();
    void FormCreate();
    void Label1Click();
    void Label2Click();

    UrlOpener opener_;
};

// Creates the box with owner as its parent, runs it modally and destroys it.
void ShowAbout(QWidget* owner);

#pragma once
// The version-information box: the program's picture, name, version, copyright
// and two links (the user guide and the home page), with an OK button that also
// answers Enter and Escape.
#include <QByteArray>
#include <QDialog>
#include <QUrl>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace bansho {

class LinkLabel;

class TAForm : public QDialog {
    Q_OBJECT
public:
    // Opens an address with the desktop's opener; false when the desktop could not.
    // Replaceable for tests.
    using UrlOpener = std::function<bool(const QUrl&)>;

    // Where the two links lead.
    struct Links {
        QUrl Guide;    // the user guide, a local file
        QUrl HomePage; // empty when the build names no home page: the label is plain text
    };
    // The links of this build: the guide beside the program when it runs from the build
    // tree, else the installed one; the home page the build was configured with.
    static Links BuildLinks();
    // The guide that belongs to a program at exePath: <dir>/docs/bansho-guide.html in a
    // build tree, <dir>/../share/doc/bansho/bansho-guide.html when installed. When neither
    // exists, the installed place (opening it then reports that it is missing).
    static QString GuideFileFor(const QString& exePath);

    // The box with the program's own picture and this build's links.
    explicit TAForm(QWidget* owner = nullptr);
    // The box with the given JPEG bytes as its picture; if they do not decode,
    // the box shows no picture and works as before.
    TAForm(QWidget* owner, const QByteArray& pictureJpeg);
    TAForm(QWidget* owner, const QByteArray& pictureJpeg, const Links& links);

    const Links& LinkTargets() const { return links_; }

    void SetUrlOpener(UrlOpener opener) { opener_ = std::move(opener); }

    QFrame* Panel = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* VerDisp = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Licence = nullptr;
    LinkLabel* Label1 = nullptr;
    LinkLabel* Label2 = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Build();
    void CentreOnScreen();
    void FormCreate();
    void Label1Click();
    void Label2Click();
    void OpenLink(const QUrl& url);

    Links links_;
    UrlOpener opener_;
};

// Creates the box with owner as its parent, runs it modally and destroys it.
void ShowAbout(QWidget* owner);

} // namespace bansho

#pragma once
// A note of a few lines that names a file: "... "path" ...". A line may end anywhere in the
// path (it has no blanks to end a line at); when the note still needs more lines than it
// may take at its width, the middle of the path is left out ("/home/…/bansho.journal"), the
// rest of the note always whole. The accessible text and the tooltip keep the whole note.
#include <QLabel>

namespace bansho {

class PathNote : public QLabel {
public:
    explicit PathNote(int maxLines, QWidget* parent = nullptr);
    // The note; the path is what stands between its first and its last double quote.
    void SetNote(const QString& note);
    const QString& Note() const { return note_; }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void Fit();

    int maxLines_;
    QString note_;
};

// The text with a zero-width space after each character of Latin letters, digits and signs,
// where a line may then end.
QString BreakableAnywhere(const QString& text);

} // namespace bansho

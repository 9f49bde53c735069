#pragma once
// A few words for a listening screen reader, such as what a key did or what
// a dialog says: each is a notification that the screen reader reads out as
// it appears. Nothing is made, shown or computed while none listens.

#include <QString>
#include <initializer_list>

class QLabel;
class QWidget;

namespace vornel {

// Whether assistive technology listens to this program.
bool ScreenReaderListens();

// Says `text`; nothing when none listens or the text is empty.
void Say(const QString& text);

// What a screen reader reads with `dialog` as it opens, after its title:
// the texts of `labels`, in this order. On its own it passes over a
// dialog's loose labels of fewer than three words, and a line of Japanese
// is one word to it.
void ReadWithDialog(QWidget* dialog, std::initializer_list<const QLabel*> labels);

}  // namespace vornel

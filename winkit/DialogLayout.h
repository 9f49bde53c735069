#pragma once
// The dialogs' layouts are designed in twips at 15 per pixel; these place
// their controls in pixels.

#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace vornel {

constexpr int Px(int twips) { return (twips + 7) / 15; }
constexpr QRect PxRect(int left, int top, int width, int height) {
  return {Px(left), Px(top), Px(width), Px(height)};
}

// A plain-text label whose text starts at its top, as the layouts assume. A
// label sized to its text takes its text's size; the others keep at least
// their designed size and grow where a larger font would cut the text.
QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QRect designed,
                 bool sizedToText);

// A command button that is neither the default nor the cancel button: Enter
// presses it while it has the focus, never from another control.
QPushButton* AddButton(QWidget* parent, const char* name, const QString& text, QRect geometry);

}  // namespace vornel

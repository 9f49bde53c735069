#include "winkit/SpokenNote.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace vornel {

namespace {

// The note: a window of its own that is never put on the screen, so that a
// screen reader reads it without the window that is active around it. It
// stays on the accessibility bus long enough for a slow screen reader to
// ask for its words.
class SpokenNote : public QWidget {
  Q_OBJECT
 public:
  SpokenNote() {
    setAttribute(Qt::WA_DontShowOnScreen);
    QTimer::singleShot(kLifeMs, this, &QObject::deleteLater);
    // Nor longer than the program's event loop: a window of no parent's.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { delete this; });
  }

 private:
  static constexpr int kLifeMs = 30000;
};

QAccessibleInterface* NoteFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("vornel::SpokenNote") && object->isWidgetType())
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
  return nullptr;
}

}  // namespace

bool ScreenReaderListens() { return QAccessible::isActive(); }

void Say(const QString& text) {
  if (!ScreenReaderListens() || text.isEmpty()) return;
  static const bool installed = (QAccessible::installFactory(NoteFactory), true);
  (void)installed;
  // A fresh note for every text: a screen reader that reads one late must
  // not find the next one's words in it.
  auto* note = new SpokenNote;
  note->setAccessibleName(text);
  // Appearing is what a screen reader reads out.
  note->show();
  note->hide();
}

void ReadWithDialog(QWidget* dialog, std::initializer_list<const QLabel*> labels) {
  if (!ScreenReaderListens()) return;
  QStringList texts;
  for (const QLabel* label : labels) texts << label->text().simplified();
  dialog->setAccessibleDescription(texts.join(u' '));
}

}  // namespace vornel

#include "SpokenNote.moc"

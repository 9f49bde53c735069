#pragma once
// The version dialog: product name and version, a word of thanks, the
// application icon and the maker's lines. Build a fresh one per showing and
// exec() it; "O K" and the close box both just close it.

#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QPushButton;
namespace vornel {
class PictureBox;
}

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  // `baseCaption` is the main window's caption without the clock; `icon32`
  // the 32 x 32 application icon shown in the picture box.
  frmAbout(const QString& baseCaption, const QImage& icon32, QWidget* parent = nullptr);

  // "「Vornel Ver<major>.<minor>.<patch>」" followed by CR LF.
  static QString VersionText();

 private:
  void Form_Load(const QString& baseCaption, const QImage& icon32);
  void cmdOK_Click();

  QLabel* lblVersion = nullptr;
  vornel::PictureBox* Picture1 = nullptr;
  QPushButton* cmdOK = nullptr;
};

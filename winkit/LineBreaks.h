#pragma once
// Message texts are composed with Windows line breaks (CR, LF or CR LF each
// end a line there); Qt's labels break only on LF, so convert for display.

#include <QString>

namespace vornel {

inline QString ToDisplayLineBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace vornel

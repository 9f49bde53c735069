#pragma once
// Code page 932 (Windows Shift-JIS), the ranking file's encoding, as the
// file routines use it; not part of the ranking's public interface.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace vornel::ranking_detail {

// False when the program was built without the code page's tables.
bool CodecAvailable();

// Code page 932 bytes of `text`; characters it cannot hold become '?',
// as the Windows conversion with its default character does. The yen sign
// and the overline are written as the bytes 0x5C and 0x7E.
QByteArray EncodeText(QStringView text);
QString DecodeText(QByteArrayView bytes);
// True when every byte is below 0x80: such bytes decode and encode back
// unchanged.
bool IsAscii(QByteArrayView bytes);
// True when EncodeText writes `text` with no '?' stand-ins.
bool Encodable(QStringView text);

}  // namespace vornel::ranking_detail

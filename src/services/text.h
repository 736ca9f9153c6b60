#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <initializer_list>

// Text and number rules. The program's texts are Unicode strings shown as typed;
// lengths and the number rule work on their GBK (code page 936) bytes.
namespace fc::services {

// GBK bytes of a text. A character that GBK cannot hold becomes the two bytes
// A1 A0: it counts as two bytes and, being no digit, ends a number.
QByteArray toGbk(QStringView text);

// Length of a text in GBK bytes; an absent (null) text has length 0.
int byteLength(QStringView text);

// Number rule on raw GBK bytes: full-width forms are folded to plain ones, then
// the result is read as a decimal integer with 32-bit wrap-around.
std::int32_t gbkToInt(QByteArrayView bytes);

// The same rule on a text.
std::int32_t textToInt(QStringView text);

// Signed decimal form: "-5", "0", "-2147483648".
QString intToText(std::int32_t value);

// The pieces one after the other; never null, even when every piece is empty.
QString join(std::initializer_list<QStringView> pieces);

// Byte-for-byte equality: no case folding, trimming or normalisation.
bool sameText(QStringView a, QStringView b);

}  // namespace fc::services

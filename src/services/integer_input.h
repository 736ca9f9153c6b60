#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// The rule of the integer edit boxes: what may be typed, and the standard form a
// box's text takes when the focus leaves it.
namespace fc::services {

// A typed character is kept when it is a control character (below 32), a
// digit or "-". Pasted text is not filtered.
bool isAcceptedIntegerChar(QChar c);

// Leading white space, one optional sign, then digits up to the first non-digit,
// clamped to the signed 32-bit range and written in decimal; 0 gives the empty
// text. Any number of digits is safe: the value saturates instead of overflowing.
QString normaliseIntegerText(QStringView text);

}  // namespace fc::services

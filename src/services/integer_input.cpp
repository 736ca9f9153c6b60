#include "services/integer_input.h"

#include <cstdint>
#include <limits>

namespace fc::services {

bool isAcceptedIntegerChar(QChar c) {
    const char16_t u = c.unicode();
    return u < 32 || u == u'-' || (u >= u'0' && u <= u'9');
}

QString normaliseIntegerText(QStringView text) {
    qsizetype i = 0;
    auto isSpace = [](char16_t u) { return u == u' ' || (u >= u'\t' && u <= u'\r'); };
    while (i < text.size() && isSpace(text[i].unicode())) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate the magnitude and stop growing it once it is past the 32-bit range:
    // the clamp below gives the same result and nothing can overflow.
    constexpr std::int64_t kCap = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (magnitude < kCap) magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        value = std::numeric_limits<std::int32_t>::min();
    if (value == 0) return QString();
    return QString::number(value);
}

}  // namespace fc::services

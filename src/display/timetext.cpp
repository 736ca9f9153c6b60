#include "display/timetext.h"

#include "services/text.h"

namespace fc::display {

QString TimeField(std::int32_t value) {
    QString text = services::intToText(value);
    if (services::byteLength(text) == 1) text.prepend(u'0');
    return text;
}

QString TimeText(std::int32_t minutes, std::int32_t seconds) {
    return services::join({TimeField(minutes), u":", TimeField(seconds)});
}

}  // namespace fc::display

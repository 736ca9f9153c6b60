#pragma once

#include <QString>

#include <cstdint>

namespace fc::display {

// A field of the time text: the decimal form, with a "0" in front when that form
// is a single character long (so 7 gives 07, but -5 stays -5).
QString TimeField(std::int32_t value);

// Minutes field, ":", seconds field: 05:00, 120:30, 03:-1, -2:05.
QString TimeText(std::int32_t minutes, std::int32_t seconds);

}  // namespace fc::display

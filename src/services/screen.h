#pragma once

namespace fc::services {

// Size of the whole primary screen in pixels (not the work area), asked afresh
// at every call. 0 when there is no screen at all.
int screenWidth();
int screenHeight();

}  // namespace fc::services

// Local time through the runtime's thread-safe conversion.
#include "platform/Platform.h"

#include <ctime>

namespace tsen::platform {

bool localTime(std::time_t t, std::tm& local) {
  return localtime_s(&local, &t) == 0;
}

} // namespace tsen::platform

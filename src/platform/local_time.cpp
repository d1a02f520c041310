#include "platform/local_time.h"

#include <ctime>

namespace webrill::platform {

double NowLocalOleDate() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    const double localSeconds = static_cast<double>(now.tv_sec + local.tm_gmtoff) + now.tv_nsec / 1e9;
    constexpr double kUnixEpochOleDays = 25569.0;  // 1970-01-01 as an OLE date
    return kUnixEpochOleDays + localSeconds / 86400.0;
}

}  // namespace webrill::platform

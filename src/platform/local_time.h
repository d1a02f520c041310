#pragma once

namespace webrill::platform {

// The current local date and time as an OLE date: days since 1899-12-30, the time as the fraction.
double NowLocalOleDate();

}  // namespace webrill::platform

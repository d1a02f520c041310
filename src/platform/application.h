#pragma once

namespace webrill::platform {

// The process-wide "application is terminating" state that bounded waits give up on. The library
// sets it when it is being unloaded.
bool ApplicationTerminating();
void SetApplicationTerminating(bool terminating);

}  // namespace webrill::platform

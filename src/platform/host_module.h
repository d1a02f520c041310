#pragma once

#include <string_view>

namespace webrill::platform {

// A loaded module of this process (the main program or a shared library), as dlopen knows it.
using ModuleHandle = void*;

// The main program: the host's executable, whose dynamic symbols the plug-in calls back.
ModuleHandle MainProgramModule();
// The loaded module whose file name (without folder) is name; null when none is loaded. The
// main program is found by the file name of its executable.
ModuleHandle FindLoadedModule(std::string_view name);
// An exported function of the module, null when it has none of that name.
void* ModuleSymbol(ModuleHandle module, const char* name);
// Drops the reference the two lookups above took.
void ReleaseModule(ModuleHandle module);

}  // namespace webrill::platform

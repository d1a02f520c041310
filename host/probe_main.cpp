// webrill-probe: loads webrill.so (from the command line, else next to this program) through the
// host interface alone and prints the library's version and the answers of its query exports.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "abi/params_list.h"
#include "webrill/abi.h"

namespace {

std::string DefaultPluginPath(const char* argv0) {
    std::error_code error;
    auto self = std::filesystem::canonical("/proc/self/exe", error);
    if (error) self = std::filesystem::absolute(argv0);
    return (self.parent_path() / "webrill.so").string();
}

template <class Fn>
Fn Resolve(void* library, const char* name) {
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) {
        std::fprintf(stderr, "webrill-probe: the plug-in does not export %s\n", name);
        std::exit(2);
    }
    return reinterpret_cast<Fn>(symbol);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : DefaultPluginPath(argv[0]);
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "webrill-probe: cannot load %s: %s\n", path.c_str(), dlerror());
        return 2;
    }
    auto intfVersion = Resolve<TGetPluginIntfVersion>(library, "GetPluginIntfVersion");
    auto minVersion = Resolve<TGetAppMinVersion>(library, "GetAppMinVersion");
    auto description = Resolve<TGetModuleDescription>(library, "GetModuleDescription");
    auto moduleType = Resolve<TGetModuleType>(library, "GetModuleType");
    auto multiThread = Resolve<TMultiThreadSupport>(library, "MultiThreadSupport");
    auto customCommands = Resolve<TGetCustomCommands>(library, "GetCustomCommands");
    auto execute = Resolve<TExecutePluginCommand>(library, "ExecutePluginCommand");

    webrill::abi::OwnedParamsList params;
    TPluginCallRec rec{};
    rec.RecSize = sizeof rec;
    rec.InstanceId = 1;
    rec.Params = params.Raw();

    const uint32_t version = intfVersion();
    std::printf("plug-in:            %s\n", path.c_str());
    std::printf("library version:    %s\n", WEBRILL_VERSION);
    std::printf("interface version:  %u.%u\n", version & 0xFFFFu, version >> 16);
    std::printf("minimum host:       %.1f\n", static_cast<double>(minVersion(&rec)));
    const char* text = description(&rec);
    std::printf("description:        %s\n", text != nullptr ? text : "");
    const uint32_t type = moduleType(&rec);
    std::printf("module types:       0x%02X, options 0x%X\n", type & 0xFFu, (type >> 16) & 0x3u);
    std::printf("multi-threaded:     %s\n", multiThread(&rec) ? "yes" : "no");
    char buffer[4096];
    rec.Data = buffer;
    rec.DataSize = sizeof buffer;
    const int32_t commandBytes = customCommands(&rec);
    std::printf("custom commands:    %d bytes\n", commandBytes);

    rec.ReleaseFlag = WR_RELEASE_FLAG;
    rec.Data = nullptr;
    rec.DataSize = 0;
    execute(&rec);
    dlclose(library);
    return 0;
}

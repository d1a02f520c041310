#include "platform/host_module.h"

#include <dlfcn.h>
#include <link.h>

#include <filesystem>
#include <string>

namespace webrill::platform {

namespace {

std::string_view FileNameOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

struct Search {
    std::string_view name;
    std::string path;
};

int MatchModule(dl_phdr_info* info, size_t, void* data) {
    auto* search = static_cast<Search*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') return 0;
    if (FileNameOf(info->dlpi_name) != search->name) return 0;
    search->path = info->dlpi_name;
    return 1;
}

}  // namespace

ModuleHandle MainProgramModule() {
    return dlopen(nullptr, RTLD_NOW);
}

ModuleHandle FindLoadedModule(std::string_view name) {
    if (name.empty()) return nullptr;
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && FileNameOf(program.string()) == name) return MainProgramModule();
    Search search{name, {}};
    if (dl_iterate_phdr(MatchModule, &search) == 0) return nullptr;
    return dlopen(search.path.c_str(), RTLD_NOW | RTLD_NOLOAD);
}

void* ModuleSymbol(ModuleHandle module, const char* name) {
    if (module == nullptr) return nullptr;
    return dlsym(module, name);
}

void ReleaseModule(ModuleHandle module) {
    if (module != nullptr) dlclose(module);
}

}  // namespace webrill::platform

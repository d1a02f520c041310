#include "support/temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace webrill::testing {

TempFolder::TempFolder() {
    char pattern[] = "/tmp/webrill-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    setenv("WEBRILL_REGISTRY_LOCAL_MACHINE", (path_ / "lm" / "hive.sqlite").c_str(), 1);
    setenv("WEBRILL_REGISTRY_CURRENT_USER", (path_ / "cu" / "hive.sqlite").c_str(), 1);
}

TempFolder::~TempFolder() {
    unsetenv("WEBRILL_REGISTRY_LOCAL_MACHINE");
    unsetenv("WEBRILL_REGISTRY_CURRENT_USER");
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace webrill::testing

#include "files/SettingsLocation.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace tabulon {

std::string SettingsRunDir(const std::string& exeDir, const std::string& userConfigDir) {
    std::error_code ec;
    if (std::filesystem::is_directory(exeDir + "/data", ec) ||
        ::access(exeDir.c_str(), W_OK) == 0) {
        return exeDir;
    }
    std::filesystem::create_directories(userConfigDir + "/data", ec);
    return userConfigDir;
}

}  // namespace tabulon

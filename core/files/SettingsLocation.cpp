#include "files/SettingsLocation.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tabulon {

namespace {

bool KeepsSettingsBeside(const std::string& exeDir) {
    std::error_code ec;
    return std::filesystem::is_directory(exeDir + "/data", ec) ||
           ::access(exeDir.c_str(), W_OK) == 0;
}

// $XDG_STATE_HOME counts only as an absolute path.
std::string UserStateDir() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return state;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/state";
}

}  // namespace

std::string SettingsRunDir(const std::string& exeDir, const std::string& userConfigDir) {
    if (KeepsSettingsBeside(exeDir)) return exeDir;
    std::error_code ec;
    std::filesystem::create_directories(userConfigDir + "/data", ec);
    return userConfigDir;
}

std::string RecoveryDir(const std::string& exeDir) {
    return KeepsSettingsBeside(exeDir) ? exeDir + "/data/recovery"
                                       : UserStateDir() + "/tabulon/recovery";
}

}  // namespace tabulon

#pragma once
// Where the settings folder "data" lives. A build or a portable copy keeps it
// beside the executable; an installed copy, whose folder the user cannot
// write, keeps it in the user's configuration folder instead. The recovery
// data of unsaved edits follows the same choice.

#include <string>

namespace tabulon {

// The folder that holds (or would hold) "data": `exeDir` when "data" is there
// or `exeDir` can be written, otherwise `userConfigDir`, whose "data" folder
// is then created (silently failing, like every settings write).
std::string SettingsRunDir(const std::string& exeDir, const std::string& userConfigDir);

// The folder of the recovery data: data/recovery beside the executable where
// the settings are kept there, otherwise tabulon/recovery in the user's state
// folder ($XDG_STATE_HOME, or ~/.local/state). Not created here.
std::string RecoveryDir(const std::string& exeDir);

}  // namespace tabulon

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torvin {

class TLocalEncoding;

// The four settings as the window holds them.
struct TSettings {
    std::string address = "192.168.";
    std::string port = "51001";
    std::string player;
    std::int32_t sortKey = 2;
};

// "config.txt" in the directory of the running executable.
std::string SettingsPath(const std::string& exeDir);

// The lines of the settings file, or nothing when no regular file of that name exists.
// Raises "ファイル %s は開けません" when the file is there but cannot be read.
std::optional<std::vector<std::string>> ReadSettingsLines(const std::string& path);

// Applies lines 1-4 of a settings file (line 4 by IntOrDefault with default 2); lines
// after the fourth are ignored, missing lines leave their setting as it was.
void ApplySettingsLines(const std::vector<std::string>& lines, TSettings& settings);

// Four lines, each followed by CR LF.
std::string SettingsBytes(const TSettings& settings);

// Writes the settings file whole, keeping an earlier file intact when that fails.
void WriteSettingsFile(const std::string& path, const TSettings& settings);

}  // namespace torvin

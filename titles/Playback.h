#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torvin {

struct TTitleRow;

// What one playing action asks of the operating system's shell.
struct TLaunchRequest {
    const void* owner = nullptr;  // the main window
    std::string verb = "open";
    std::string file;        // the player path in double quotes
    std::string parameters;  // stream URL, quoted playlist path, or live URL
    std::string directory;   // empty: the shell's default
    bool showNormal = true;
};

// Starts the player for a launch request and returns at once.
class IPlayerLauncher {
public:
    virtual ~IPlayerLauncher() = default;
    virtual void Launch(const TLaunchRequest& request) = 0;
};

// The player test: an existing file that is not a directory.
bool PlayerExists(const std::string& playerPath);

std::string Quoted(std::string_view text);

TLaunchRequest MakeLaunchRequest(const void* owner, const std::string& playerPath, std::string parameters);

// "http://" ADDRESS ":51002/video?O=V" ID "&P=2&C=1&B=6&I=" ID, texts as typed.
std::string LiveUrl(std::string_view addressText, std::string_view idText);

// The stream URL (sub-item 5) of a row; a row without one raises the list-index error.
const std::string& StreamUrl(const TTitleRow& row);

// Writes the playlist: every URL followed by CR LF. Raises "ファイル %s を作成できません"
// when the file cannot be created and "ストリームへの書き込みエラー" when writing fails.
void WritePlaylist(const std::string& path, const std::vector<std::string>& urls);

extern const char* const kPlaylistName;  // "saisei.m3u"

}  // namespace torvin

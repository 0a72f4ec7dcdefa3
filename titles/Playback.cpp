#include "titles/Playback.h"

#include <sys/stat.h>

#include <stdexcept>

#include "cds/TitleRow.h"
#include "text/Lines.h"
#include "titles/FileErrors.h"

namespace torvin {

const char* const kPlaylistName = "saisei.m3u";

bool PlayerExists(const std::string& playerPath) {
    struct stat info {};
    if (playerPath.empty() || ::stat(playerPath.c_str(), &info) != 0) return false;
    return !S_ISDIR(info.st_mode);
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    out += text;
    out += '"';
    return out;
}

TLaunchRequest MakeLaunchRequest(const void* owner, const std::string& playerPath, std::string parameters) {
    TLaunchRequest request;
    request.owner = owner;
    request.file = Quoted(playerPath);
    request.parameters = std::move(parameters);
    return request;
}

std::string LiveUrl(std::string_view addressText, std::string_view idText) {
    std::string url = "http://";
    url += addressText;
    url += ":51002/video?O=V";
    url += idText;
    url += "&P=2&C=1&B=6&I=";
    url += idText;
    return url;
}

const std::string& StreamUrl(const TTitleRow& row) {
    if (row.subItems.size() < 6) throw std::out_of_range(ListIndexError(5));
    return row.subItems[5];
}

void WritePlaylist(const std::string& path, const std::vector<std::string>& urls) {
    WriteWholeFile(path, WriteLines(urls));
}

}  // namespace torvin

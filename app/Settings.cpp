#include "app/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "text/Lines.h"
#include "text/Numbers.h"
#include "titles/FileErrors.h"

namespace torvin {

std::string SettingsPath(const std::string& exeDir) {
    if (!exeDir.empty() && exeDir.back() == '/') return exeDir + "config.txt";
    return exeDir + "/config.txt";
}

std::optional<std::vector<std::string>> ReadSettingsLines(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error(CannotOpenError(path));
    std::string bytes;
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            throw std::runtime_error(CannotOpenError(path));
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return SplitLines(bytes);
}

void ApplySettingsLines(const std::vector<std::string>& lines, TSettings& settings) {
    if (lines.size() > 0) settings.address = lines[0];
    if (lines.size() > 1) settings.port = lines[1];
    if (lines.size() > 2) settings.player = lines[2];
    if (lines.size() > 3) settings.sortKey = IntOrDefault(lines[3], 2);
}

std::string SettingsBytes(const TSettings& settings) {
    return WriteLines({settings.address, settings.port, settings.player, DecimalText(settings.sortKey)});
}

void WriteSettingsFile(const std::string& path, const TSettings& settings) {
    WriteWholeFile(path, SettingsBytes(settings));
}

}  // namespace torvin

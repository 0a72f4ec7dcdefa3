#include "titles/FileErrors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <stdexcept>

#include "text/Numbers.h"

namespace torvin {

std::string CannotOpenError(std::string_view path) {
    return "ファイル " + std::string(path) + " は開けません";
}

std::string CannotCreateError(std::string_view path) {
    return "ファイル " + std::string(path) + " を作成できません";
}

std::string WriteError() { return "ストリームへの書き込みエラー"; }

std::string ListIndexError(std::int64_t index) {
    return "リストのインデックスが範囲を超えています (" + DecimalText(index) + ")";
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}


}  // namespace

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    std::string target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved)) target = resolved;
    }

    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) throw std::runtime_error(CannotCreateError(path));
    if (exists && !S_ISREG(info.st_mode)) {
        // A device or a pipe cannot be replaced; write to it as it is.
        int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) throw std::runtime_error(CannotCreateError(path));
        const bool written = WriteAll(fd, bytes);
        const bool closed = ::close(fd) == 0;
        if (!written || !closed) throw std::runtime_error(WriteError());
        return;
    }
    // A file the user made read-only stays as it is, for root too.
    if (exists && ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
        throw std::runtime_error(CannotCreateError(path));
    }

    std::string temporary = target + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw std::runtime_error(CannotCreateError(path));
    if (exists) {
        ::fchmod(fd, info.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    const bool written = WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        throw std::runtime_error(WriteError());
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw std::runtime_error(CannotCreateError(path));
    }
}

}  // namespace torvin

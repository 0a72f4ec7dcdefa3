#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace torvin::test {

// The recorder simulator as a real child process on 127.0.0.1, stopped when this
// object goes. It always runs with a short idle exit, so nothing outlives a test.
class TSim final {
public:
    explicit TSim(std::vector<std::string> options, int port = 0);
    ~TSim();
    TSim(const TSim&) = delete;
    TSim& operator=(const TSim&) = delete;

    int Port() const { return port; }
    std::string PortText() const { return std::to_string(port); }

private:
    pid_t pid = -1;
    int port = 0;
};

struct TRunResult {
    int status = -1;  // exit status, or -1 when killed
    std::string out;
    std::string err;
};

// Runs a program to its end, capturing both outputs.
TRunResult Run(const std::vector<std::string>& argv);

// A fresh directory under the system's temporary directory, removed with the object.
class TTempDir final {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::string& Path() const { return path; }

private:
    std::string path;
};

std::string ReadFile(const std::string& path);
std::vector<std::string> ListDir(const std::string& path);

}  // namespace torvin::test

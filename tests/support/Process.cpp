#include "tests/support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace torvin::test {

namespace {

std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

pid_t Spawn(std::vector<std::string> args, int outFd, int errFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0) posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    if (errFd >= 0) posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    auto argv = Argv(args);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
    return pid;
}

}  // namespace

TSim::TSim(std::vector<std::string> options, int wantedPort) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::vector<std::string> args = {TORVIN_SIM_PATH, "--port", std::to_string(wantedPort), "--idle-exit", "60"};
    args.insert(args.end(), options.begin(), options.end());
    pid = Spawn(args, out[1], -1);
    close(out[1]);
    // The first line of its output is the port it listens on.
    std::string line;
    char c;
    pollfd p{out[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0 && read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    port = std::atoi(line.c_str());
    if (port <= 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        throw std::runtime_error("simulator did not start");
    }
}

TSim::~TSim() {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

TRunResult Run(const std::vector<std::string>& argv) {
    TTempDir dir;
    const std::string outPath = dir.Path() + "/out";
    const std::string errPath = dir.Path() + "/err";
    int outFd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    pid_t pid = Spawn(argv, outFd, errFd);
    close(outFd);
    close(errFd);
    int status = 0;
    waitpid(pid, &status, 0);
    TRunResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "torvin-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    path = pattern;
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> ListDir(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace torvin::test

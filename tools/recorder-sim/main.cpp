// torvin-recorder-sim: a recorder on 127.0.0.1 that answers Browse requests from a
// catalogue, with switches for the ways real recorders and networks misbehave.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tools/recorder-sim/Answer.h"
#include "tools/recorder-sim/Catalogue.h"

namespace {

using torvin::sim::TRecording;

const char* const kUsage =
    "usage: torvin-recorder-sim [options]\n"
    "  --port N            listen on 127.0.0.1:N (default 51001; 0 picks a free port and prints it)\n"
    "  --titles N          generate a catalogue of N recordings (default 40)\n"
    "  --seed N            seed of the generated catalogue (default 1)\n"
    "  --catalogue FILE    read the catalogue from FILE (TAB-separated)\n"
    "  --page-size N       recordings per answer (0 = all from the start index on)\n"
    "  --line-end crlf|lf|cr\n"
    "  --chunk N           deliver the answer in writes of N bytes (1 = byte by byte)\n"
    "  --mode M            normal | close-silent | close-mid | hold-open | hold-silent |\n"
    "                      returned-zero | shrinking-total | negative-total | no-result |\n"
    "                      garbage | oversize | nul | invalid-utf8 | four-byte | long-line |\n"
    "                      missing-res | close-at-once\n"
    "  --oversize-bytes N  size of the oversize answer (default 300 MiB)\n"
    "  --stream-host TEXT  host part of the stream URLs (default 127.0.0.1:51002)\n"
    "  --record-dir DIR    write the raw bytes of every request to DIR/request-NNNN.bin\n"
    "  --idle-exit S       exit after S seconds without a connection (default 600)\n";

struct TOptions {
    int port = 51001;
    int titles = 40;
    unsigned seed = 1;
    std::string cataloguePath;
    long long pageSize = 0;
    std::string lineEnd = "\r\n";
    std::size_t chunk = 0;
    std::string mode = "normal";
    std::size_t oversizeBytes = 300u << 20;
    std::string recordDir;
    std::string streamHost = "127.0.0.1:51002";
    int idleExitSeconds = 600;
};

volatile sig_atomic_t stopRequested = 0;
void OnSignal(int) { stopRequested = 1; }

[[noreturn]] void Usage(const std::string& problem) {
    std::cerr << "torvin-recorder-sim: " << problem << "\n" << kUsage;
    std::exit(2);
}

long long Number(const std::string& text, const char* option) {
    try {
        std::size_t used = 0;
        long long v = std::stoll(text, &used);
        if (used != text.size() || v < 0) throw std::invalid_argument(text);
        return v;
    } catch (const std::exception&) {
        Usage(std::string("bad number for ") + option + ": " + text);
    }
}

TOptions ParseOptions(int argc, char** argv) {
    TOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (i + 1 >= argc) Usage("missing value for " + arg);
        const std::string value = argv[++i];
        if (arg == "--port") o.port = static_cast<int>(Number(value, "--port"));
        else if (arg == "--titles") o.titles = static_cast<int>(Number(value, "--titles"));
        else if (arg == "--seed") o.seed = static_cast<unsigned>(Number(value, "--seed"));
        else if (arg == "--catalogue") o.cataloguePath = value;
        else if (arg == "--page-size") o.pageSize = Number(value, "--page-size");
        else if (arg == "--chunk") o.chunk = static_cast<std::size_t>(Number(value, "--chunk"));
        else if (arg == "--mode") o.mode = value;
        else if (arg == "--oversize-bytes") o.oversizeBytes = static_cast<std::size_t>(Number(value, "--oversize-bytes"));
        else if (arg == "--record-dir") o.recordDir = value;
        else if (arg == "--stream-host") o.streamHost = value;
        else if (arg == "--idle-exit") o.idleExitSeconds = static_cast<int>(Number(value, "--idle-exit"));
        else if (arg == "--line-end") {
            if (value == "crlf") o.lineEnd = "\r\n";
            else if (value == "lf") o.lineEnd = "\n";
            else if (value == "cr") o.lineEnd = "\r";
            else Usage("bad --line-end " + value);
        } else {
            Usage("unknown option " + arg);
        }
    }
    if (o.port > 65535) Usage("port out of range");
    static const char* const modes[] = {"normal", "close-silent", "close-mid", "hold-open", "hold-silent",
                                        "returned-zero", "shrinking-total", "negative-total", "no-result",
                                        "garbage", "oversize", "nul", "invalid-utf8", "four-byte", "long-line",
                                        "missing-res", "close-at-once"};
    bool known = false;
    for (const char* m : modes) known = known || o.mode == m;
    if (!known) Usage("unknown --mode " + o.mode);
    return o;
}

bool SendAll(int fd, const char* data, std::size_t size, std::size_t chunk) {
    if (chunk == 0) chunk = size;
    while (size > 0) {
        std::size_t piece = std::min(chunk, size);
        ssize_t n = ::send(fd, data, piece, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Reads one request: the head up to its empty line, then Content-Length body bytes.
std::optional<std::string> ReadRequest(int fd) {
    std::string request;
    char buffer[4096];
    std::size_t bodyStart = std::string::npos;
    std::size_t expected = 0;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return std::nullopt;
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return request.empty() ? std::nullopt : std::optional<std::string>(request);
        request.append(buffer, static_cast<std::size_t>(n));
        if (bodyStart == std::string::npos) {
            std::size_t end = request.find("\r\n\r\n");
            if (end == std::string::npos) continue;
            bodyStart = end + 4;
            std::size_t at = request.find("Content-Length:");
            if (at != std::string::npos && at < end) expected = std::strtoul(request.c_str() + at + 15, nullptr, 10);
        }
        if (request.size() >= bodyStart + expected) return request;
    }
}

long long StartingIndex(const std::string& request) {
    const std::string open = "<StartingIndex xsi:type=\"xsd:int\">";
    std::size_t at = request.find(open);
    if (at == std::string::npos) return 0;
    return std::strtoll(request.c_str() + at + open.size(), nullptr, 10);
}

void Record(const TOptions& o, int number, const std::string& request) {
    if (o.recordDir.empty()) return;
    char name[32];
    std::snprintf(name, sizeof name, "/request-%04d.bin", number);
    std::ofstream out(o.recordDir + name, std::ios::binary);
    out.write(request.data(), static_cast<std::streamsize>(request.size()));
}

// Waits until the client closes its side (or we are told to stop).
void HoldUntilPeerCloses(int fd, int idleSeconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(idleSeconds);
    char buffer[256];
    while (!stopRequested && std::chrono::steady_clock::now() < until) {
        pollfd p{fd, POLLIN, 0};
        int r = ::poll(&p, 1, 200);
        if (r > 0 && ::recv(fd, buffer, sizeof buffer, 0) <= 0) return;
    }
}

std::vector<TRecording> Catalogue(const TOptions& o) {
    std::vector<TRecording> catalogue =
        o.cataloguePath.empty() ? torvin::sim::GenerateCatalogue(o.titles, o.seed)
                                : torvin::sim::ReadCatalogue(o.cataloguePath);
    if (catalogue.empty()) return catalogue;
    // The odd title goes to the second recording (when there is one): in the middle of
    // a page, where a fault can also touch the row before it.
    TRecording& odd = catalogue[catalogue.size() > 1 ? 1 : 0];
    if (o.mode == "nul") odd.title = std::string("before\0after", 12);
    else if (o.mode == "invalid-utf8") odd.title = "bad \xC3 byte";
    else if (o.mode == "four-byte") odd.title = "emoji \xF0\x9F\x98\x80 title";
    else if (o.mode == "long-line") odd.title = std::string(10u << 20, 'L');
    return catalogue;
}

std::string Answer(const TOptions& o, const std::vector<TRecording>& catalogue, long long start, int page) {
    if (o.mode == "garbage") {
        std::mt19937 rng(o.seed + static_cast<unsigned>(page));
        std::string junk(64 * 1024, '\0');
        for (auto& c : junk) c = static_cast<char>(rng());
        return junk;
    }
    if (o.mode == "oversize") {
        std::string big = "HTTP/1.0 200 OK\r\n\r\n";
        big.append(o.oversizeBytes, 'x');
        return big;
    }
    torvin::sim::TAnswerOptions a;
    a.lineEnd = o.lineEnd;
    a.streamHost = o.streamHost;
    a.dropFirstRes = o.mode == "missing-res";
    const long long count = o.pageSize > 0 ? o.pageSize : static_cast<long long>(catalogue.size());
    if (o.mode == "returned-zero") a.numberReturned = 0;
    if (o.mode == "negative-total") a.totalMatches = -5;
    // Later pages report a total one page smaller than the first did.
    if (o.mode == "shrinking-total" && start > 0) {
        a.totalMatches = static_cast<std::int32_t>(static_cast<long long>(catalogue.size()) - count);
    }
    std::string answer = torvin::sim::ComposeBrowseAnswer(catalogue, start, count, a);
    if (o.mode == "no-result") {
        std::size_t at = answer.find("</Result>");
        if (at != std::string::npos) answer.erase(at);
    }
    return answer;
}

int Serve(const TOptions& o) {
    const std::vector<TRecording> catalogue = Catalogue(o);

    int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never any other address
    at.sin_port = htons(static_cast<std::uint16_t>(o.port));
    if (::bind(listener, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || ::listen(listener, 16) != 0) {
        std::cerr << "torvin-recorder-sim: cannot listen on 127.0.0.1:" << o.port << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    socklen_t length = sizeof at;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&at), &length);
    std::cout << ntohs(at.sin_port) << std::endl;

    int requests = 0;
    auto lastActivity = std::chrono::steady_clock::now();
    while (!stopRequested) {
        pollfd p{listener, POLLIN, 0};
        int ready = ::poll(&p, 1, 200);
        if (ready <= 0) {
            if (std::chrono::steady_clock::now() - lastActivity > std::chrono::seconds(o.idleExitSeconds)) break;
            continue;
        }
        int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        if (o.mode == "close-at-once") {
            // Reset the connection before reading anything: the client's writes fail.
            linger reset{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            ::close(fd);
            ++requests;
            lastActivity = std::chrono::steady_clock::now();
            continue;
        }
        std::optional<std::string> request = ReadRequest(fd);
        if (request) {
            Record(o, ++requests, *request);
            if (o.mode == "hold-silent") {
                HoldUntilPeerCloses(fd, o.idleExitSeconds);
            } else if (o.mode != "close-silent") {
                std::string answer = Answer(o, catalogue, StartingIndex(*request), requests - 1);
                if (o.mode == "close-mid") answer.resize(answer.size() / 2);
                SendAll(fd, answer.data(), answer.size(), o.chunk);
                if (o.mode == "hold-open") HoldUntilPeerCloses(fd, o.idleExitSeconds);
            }
        }
        ::close(fd);
        lastActivity = std::chrono::steady_clock::now();
    }
    ::close(listener);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    TOptions options = ParseOptions(argc, argv);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    try {
        return Serve(options);
    } catch (const std::exception& e) {
        std::cerr << "torvin-recorder-sim: " << e.what() << "\n";
        return 1;
    }
}

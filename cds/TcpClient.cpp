#include "cds/TcpClient.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

namespace torvin {

const char* Describe(TConnectResult result) {
    switch (result) {
        case TConnectResult::Connected: return "connected";
        case TConnectResult::NoHost: return "no address given";
        case TConnectResult::InvalidAddress: return "invalid numeric address";
        case TConnectResult::NotResolved: return "host name not found";
        case TConnectResult::Refused: return "connection refused";
        case TConnectResult::Unreachable: return "recorder unreachable";
        case TConnectResult::TimedOut: return "connect timed out";
    }
    return "?";
}

const char* Describe(TReadResult result) {
    switch (result) {
        case TReadResult::Closed: return "closed";
        case TReadResult::Failed: return "read failed";
        case TReadResult::TimedOut: return "no data within the read time limit";
        case TReadResult::Oversize: return "answer larger than the limit";
    }
    return "?";
}

bool TSystemResolver::Resolve(const std::string& name, std::uint32_t& address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

TConnectResult ReadHostText(const std::string& host, IHostResolver& resolver, std::uint32_t& address) {
    if (host.empty() || host.find('\0') != std::string::npos) return TConnectResult::NoHost;
    if (host[0] >= '0' && host[0] <= '9') {
        in_addr parsed{};
        if (inet_aton(host.c_str(), &parsed) == 0) return TConnectResult::InvalidAddress;
        address = parsed.s_addr;
        return TConnectResult::Connected;
    }
    return resolver.Resolve(host, address) ? TConnectResult::Connected : TConnectResult::NotResolved;
}

TTcpClient::TTcpClient(IHostResolver& r) : resolver(r) {}

TTcpClient::~TTcpClient() { Close(); }

TConnectResult TTcpClient::Open(const std::string& host, std::uint16_t port, const TFetchLimits& limits) {
    Close();
    // A write that finds no room for as long as a read may wait gives up too.
    writeTimeoutMs = limits.readIdleTimeoutMs;
    std::uint32_t address = 0;
    TConnectResult read = ReadHostText(host, resolver, address);
    if (read != TConnectResult::Connected) return read;

    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return TConnectResult::Unreachable;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = address;
    int rc = ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
    int error = rc == 0 ? 0 : errno;
    if (rc != 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int ready;
        do {
            ready = ::poll(&p, 1, limits.connectTimeoutMs);
        } while (ready < 0 && errno == EINTR);
        if (ready == 0) {
            Close();
            return TConnectResult::TimedOut;
        }
        socklen_t length = sizeof error;
        if (ready < 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    }
    if (error != 0) {
        Close();
        return error == ECONNREFUSED ? TConnectResult::Refused : TConnectResult::Unreachable;
    }
    return TConnectResult::Connected;
}

bool TTcpClient::Send(std::string_view data) {
    if (fd < 0) return false;
    // The socket is non-blocking: wait for room and go on until the buffer is written.
    // MSG_NOSIGNAL: a recorder that has closed the connection must not end the program.
    while (!data.empty()) {
        ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n > 0) {
            data.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, writeTimeoutMs) <= 0) return false;
            continue;
        }
        return false;
    }
    return true;
}

TReadResult TTcpClient::Read(const TReceive& receive, const TFetchLimits& limits) {
    if (fd < 0) return TReadResult::Failed;
    std::vector<char> buffer(64 * 1024);
    std::size_t total = 0;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        int ready = ::poll(&p, 1, limits.readIdleTimeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return TReadResult::TimedOut;
        if (ready < 0) return TReadResult::Failed;
        ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n == 0) return TReadResult::Closed;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            return TReadResult::Failed;
        }
        total += static_cast<std::size_t>(n);
        if (total > limits.maxAnswerBytes) return TReadResult::Oversize;
        receive(buffer.data(), static_cast<std::size_t>(n));
    }
}

void TTcpClient::Close() {
    if (fd < 0) return;
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
    fd = -1;
}

}  // namespace torvin

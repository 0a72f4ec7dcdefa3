#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace torvin {

// Time and size limits of one page's connection.
struct TFetchLimits {
    static constexpr int kConnectTimeoutMs = 10'000;
    static constexpr int kReadIdleTimeoutMs = 30'000;
    static constexpr std::size_t kMaxAnswerBytes = 256u << 20;

    int connectTimeoutMs = kConnectTimeoutMs;
    // Reading gives up when no byte has arrived for this long.
    int readIdleTimeoutMs = kReadIdleTimeoutMs;
    std::size_t maxAnswerBytes = kMaxAnswerBytes;
};

enum class TConnectResult { Connected, NoHost, InvalidAddress, NotResolved, Refused, Unreachable, TimedOut };
enum class TReadResult { Closed, Failed, TimedOut, Oversize };

const char* Describe(TConnectResult result);
const char* Describe(TReadResult result);

// Turns a host name into its first IPv4 address (network byte order).
class IHostResolver {
public:
    virtual ~IHostResolver() = default;
    virtual bool Resolve(const std::string& name, std::uint32_t& address) = 0;
};

// The system's resolver (getaddrinfo, IPv4 only).
class TSystemResolver final : public IHostResolver {
public:
    bool Resolve(const std::string& name, std::uint32_t& address) override;
};

// How a host text becomes an address: empty gives no host; a text that starts with a
// decimal digit is read by the rules of inet_addr (fewer parts, octal, hex) and never
// looked up; anything else is a name for the resolver.
TConnectResult ReadHostText(const std::string& host, IHostResolver& resolver, std::uint32_t& address);

// One connection at a time to the recorder: open, send, read until the peer closes,
// close.
class ITcpClient {
public:
    using TReceive = std::function<void(const char* data, std::size_t length)>;
    virtual ~ITcpClient() = default;
    virtual TConnectResult Open(const std::string& host, std::uint16_t port, const TFetchLimits& limits) = 0;
    // One write of the whole buffer; false when it could not be written.
    virtual bool Send(std::string_view data) = 0;
    // Hands every received chunk to `receive` until the peer closes, a read fails, no
    // byte arrives within the idle limit, or more than the answer limit has arrived.
    virtual TReadResult Read(const TReceive& receive, const TFetchLimits& limits) = 0;
    virtual void Close() = 0;
};

// Blocking IPv4 stream client on POSIX sockets.
class TTcpClient final : public ITcpClient {
public:
    explicit TTcpClient(IHostResolver& resolver);
    ~TTcpClient() override;
    TTcpClient(const TTcpClient&) = delete;
    TTcpClient& operator=(const TTcpClient&) = delete;

    TConnectResult Open(const std::string& host, std::uint16_t port, const TFetchLimits& limits) override;
    bool Send(std::string_view data) override;
    TReadResult Read(const TReceive& receive, const TFetchLimits& limits) override;
    void Close() override;

private:
    IHostResolver& resolver;
    int fd = -1;
    int writeTimeoutMs = TFetchLimits::kReadIdleTimeoutMs;
};

}  // namespace torvin

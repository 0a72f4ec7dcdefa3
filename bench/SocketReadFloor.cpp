// The floor for a fetch: the same requests on the same connections, reading every byte
// of each answer and keeping none of it.
//   torvin-read-floor ADDRESS PORT PAGES PAGE_SIZE
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cds/BrowseRequest.h"
#include "cds/TcpClient.h"
#include "text/LocalEncoding.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: torvin-read-floor ADDRESS PORT PAGES PAGE_SIZE\n");
        return 2;
    }
    const std::string address = argv[1];
    const std::string port = argv[2];
    const int pages = std::atoi(argv[3]);
    const int pageSize = std::atoi(argv[4]);
    torvin::TSystemResolver resolver;
    torvin::TTcpClient client(resolver);
    torvin::TFetchLimits limits;
    unsigned long long bytes = 0;
    for (int page = 0; page < pages; ++page) {
        if (client.Open(address, static_cast<std::uint16_t>(std::atoi(port.c_str())), limits) !=
            torvin::TConnectResult::Connected) {
            std::fprintf(stderr, "torvin-read-floor: cannot connect\n");
            return 1;
        }
        auto request = torvin::BuildBrowseRequest(address, port, torvin::kBrowseBodyTemplate, page * pageSize,
                                                  torvin::TLocalEncoding::Utf8());
        client.Send(request.head);
        client.Send(request.body);
        client.Read([&bytes](const char*, std::size_t n) { bytes += n; }, limits);
        client.Close();
    }
    std::printf("%llu\n", bytes);
    return 0;
}

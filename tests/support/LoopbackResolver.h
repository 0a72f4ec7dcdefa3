#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>

#include <string>

#include "cds/TcpClient.h"

namespace torvin::test {

// Knows only "localhost"; any other name fails without asking the network.
class TLoopbackResolver final : public IHostResolver {
public:
    bool Resolve(const std::string& name, std::uint32_t& address) override {
        ++lookups;
        if (name != "localhost") return false;
        address = htonl(INADDR_LOOPBACK);
        return true;
    }
    int lookups = 0;
};

}  // namespace torvin::test

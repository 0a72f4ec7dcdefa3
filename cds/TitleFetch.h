#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cds/TcpClient.h"

namespace torvin {

class TLocalEncoding;
class TTitleList;

enum class TFetchOutcome {
    Complete,
    ConnectionFailed,  // unresolvable, invalid address, refused, unreachable, connect time limit
    NoAnswer,          // closed without data, or nothing within the read time limit
    NoResultLine,      // an answer without "</Result>"
    StoppedByGuard,    // a page that made no progress, an oversize answer
};

const char* Describe(TFetchOutcome outcome);

struct TFetchReport {
    TFetchOutcome outcome = TFetchOutcome::Complete;
    std::string detail;  // what failed, in English, for logs and the lister
    int pages = 0;
};

// The window's side of a fetch. The fetch calls these in the order of its steps; the
// lister implements only what it needs.
class IFetchObserver {
public:
    virtual ~IFetchObserver() = default;
    virtual void DisableMainWindow() {}
    virtual void ClearTableIfTicked() {}
    virtual void ShowProgress() {}
    virtual void SetProgressMax(std::int32_t /*max*/) {}
    virtual void SetProgressPosition(std::int32_t /*position*/) {}
    // New rows may have been appended to the table.
    virtual void RowsAppended() {}
    // The end-of-fetch sort of the whole table.
    virtual void SortTable() = 0;
    virtual void CloseProgress() {}
    virtual void ProcessEvents() {}
    virtual void EnableMainWindow() {}
    virtual void Announce(const TFetchReport& /*report*/) {}
};

struct TFetchInputs {
    std::string addressText;
    std::string portText;
    std::string_view bodyTemplate;
};

// The page-by-page title fetch: one connection per page, each answer read until the
// recorder closes it, split into lines and parsed into rows.
class TTitleFetch final {
public:
    TTitleFetch(TTitleList& rows, std::int32_t& liveId, const TLocalEncoding& encoding, ITcpClient& client);

    TFetchReport GetTitleList(bool announce, const TFetchInputs& inputs, IFetchObserver& observer);

    // Appends received bytes to the page's buffer.
    void TcpClient1Receive(const char* data, std::size_t length);

    // The raw bytes of the current page; after a fetch, the last page's.
    std::string_view Response() const { return {msResponse.data(), msResponse.size()}; }

    TFetchLimits limits;

private:
    TTitleList& rows;
    std::int32_t& liveId;
    const TLocalEncoding& encoding;
    ITcpClient& client;
    // A vector, not a string: its reserve takes exactly what is asked for.
    std::vector<char> msResponse;
};

}  // namespace torvin

#include "cds/TitleFetch.h"

#include <algorithm>

#include "cds/BrowseRequest.h"
#include "cds/PageLines.h"
#include "cds/ResponseParser.h"
#include "text/Numbers.h"

namespace torvin {

const char* Describe(TFetchOutcome outcome) {
    switch (outcome) {
        case TFetchOutcome::Complete: return "complete";
        case TFetchOutcome::ConnectionFailed: return "connection failed";
        case TFetchOutcome::NoAnswer: return "no answer";
        case TFetchOutcome::NoResultLine: return "answer without a result line";
        case TFetchOutcome::StoppedByGuard: return "stopped";
    }
    return "?";
}

namespace {

// Undoes the window-side steps begun when an error leaves the fetch early: the
// connection is closed, the progress window removed and the main window enabled.
class TFetchGuard final {
public:
    TFetchGuard(IFetchObserver& o, ITcpClient& c) : observer(o), client(c) {}
    ~TFetchGuard() {
        if (done) return;
        client.Close();
        if (progressShown) observer.CloseProgress();
        observer.EnableMainWindow();
    }
    TFetchGuard(const TFetchGuard&) = delete;
    TFetchGuard& operator=(const TFetchGuard&) = delete;

    bool progressShown = false;
    bool done = false;

private:
    IFetchObserver& observer;
    ITcpClient& client;
};

}  // namespace

TTitleFetch::TTitleFetch(TTitleList& r, std::int32_t& l, const TLocalEncoding& e, ITcpClient& c)
    : rows(r), liveId(l), encoding(e), client(c) {}

void TTitleFetch::TcpClient1Receive(const char* data, std::size_t length) {
    // Grow by half rather than double: a whole answer is held at once, and doubling
    // would leave up to twice its size allocated.
    const std::size_t needed = msResponse.size() + length;
    if (needed > msResponse.capacity()) msResponse.reserve(std::max(needed, msResponse.capacity() * 3 / 2));
    msResponse.insert(msResponse.end(), data, data + length);
}

TFetchReport TTitleFetch::GetTitleList(bool announce, const TFetchInputs& inputs, IFetchObserver& observer) {
    TFetchGuard guard(observer, client);
    observer.DisableMainWindow();
    observer.ClearTableIfTicked();
    const auto port = static_cast<std::uint16_t>(IntOrDefault(inputs.portText, 51001));

    std::int32_t startIndex = 0;
    bool firstPage = true;
    TPageLines lines;  // one list for every page of this fetch, gone with it
    observer.ShowProgress();
    guard.progressShown = true;

    TFetchReport report;
    const std::string where = "recorder " + inputs.addressText + " port " + inputs.portText;
    for (;;) {
        ++report.pages;
        const TConnectResult opened = client.Open(inputs.addressText, port, limits);
        msResponse.clear();
        lines.Clear();
        const TBrowseRequest request =
            BuildBrowseRequest(inputs.addressText, inputs.portText, inputs.bodyTemplate, startIndex, encoding);
        const bool connected = opened == TConnectResult::Connected;
        if (connected) {
            // A failed write is not fatal: whatever the recorder answers is still read.
            client.Send(request.head);
            client.Send(request.body);
        }
        observer.ProcessEvents();
        TReadResult read = TReadResult::Failed;
        if (connected) {
            read = client.Read([this](const char* d, std::size_t n) { TcpClient1Receive(d, n); }, limits);
        }
        observer.ProcessEvents();
        if (read == TReadResult::Oversize) {
            // The page yields nothing; do not keep a quarter gigabyte around for it.
            std::vector<char>().swap(msResponse);
        }
        lines.Split(Response());

        const std::int32_t before = startIndex;
        TParseTarget target{rows, liveId, encoding};
        const std::int32_t totalMatches = ParseResponse(lines, startIndex, target);
        observer.RowsAppended();
        if (firstPage) {
            // The progress bar's minimum is 0: a negative total cannot be its maximum.
            observer.SetProgressMax(totalMatches < 0 ? 0 : totalMatches);
            firstPage = false;
        }
        observer.SetProgressPosition(startIndex);
        client.Close();

        if (!connected) {
            report.outcome = TFetchOutcome::ConnectionFailed;
            report.detail = where + ": " + Describe(opened);
        } else if (read == TReadResult::Oversize) {
            report.outcome = TFetchOutcome::StoppedByGuard;
            report.detail = where + ": " + Describe(read);
        } else if (msResponse.empty()) {
            report.outcome = TFetchOutcome::NoAnswer;
            report.detail = where + ": " + (read == TReadResult::Closed ? "closed without answering" : Describe(read));
        } else if (target.resultLines == 0) {
            report.outcome = TFetchOutcome::NoResultLine;
            report.detail = where + ": answer without a result line";
        } else if (startIndex < totalMatches && startIndex <= before) {
            // The same request would come back with the same answer, without end.
            report.outcome = TFetchOutcome::StoppedByGuard;
            report.detail = where + ": page at index " + DecimalText(before) + " made no progress";
        } else if (startIndex < totalMatches) {
            continue;
        }
        break;
    }

    observer.SortTable();
    observer.CloseProgress();
    guard.progressShown = false;
    observer.ProcessEvents();
    observer.EnableMainWindow();
    guard.done = true;
    if (announce) observer.Announce(report);
    return report;
}

}  // namespace torvin

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <chrono>
#include <stdexcept>

#include "cds/BrowseRequest.h"
#include "cds/TcpClient.h"
#include "cds/TitleFetch.h"
#include "cds/TitleList.h"
#include "tests/support/LoopbackResolver.h"
#include "tests/support/Process.h"
#include "text/LocalEncoding.h"
#include "titles/CompareItems.h"
#include "tools/recorder-sim/Catalogue.h"

namespace torvin {
namespace {

using test::TSim;

using test::TLoopbackResolver;

class TRecordingObserver final : public IFetchObserver {
public:
    explicit TRecordingObserver(TTitleList& r) : rows(r) {}
    void DisableMainWindow() override { calls += "disable "; }
    void ClearTableIfTicked() override { calls += "clear "; }
    void ShowProgress() override { calls += "show "; }
    void SetProgressMax(std::int32_t m) override { max = m; calls += "max "; }
    void SetProgressPosition(std::int32_t p) override {
        positions.push_back(p);
        if (throwAtPosition) throw std::runtime_error("boom");
    }
    void SortTable() override {
        calls += "sort ";
        SortTitles(rows, key);
    }
    void CloseProgress() override { calls += "close "; }
    void ProcessEvents() override { calls += "events "; }
    void EnableMainWindow() override { calls += "enable "; }
    void Announce(const TFetchReport&) override { calls += "announce "; }

    TTitleList& rows;
    std::string calls;
    std::int32_t max = -99;
    std::vector<std::int32_t> positions;
    std::int32_t key = -1;
    bool throwAtPosition = false;
};

struct TFetched {
    TTitleList rows;
    std::int32_t liveId = -1;
    TFetchReport report;
    std::string calls;
    std::int32_t max = -99;
    std::vector<std::int32_t> positions;
    double seconds = 0;
    std::string lastResponse;
};

// One fetch through the real TCP client; the rows come out sorted by title ascending so
// that fetches can be compared.
void Fetch(TFetched& f, const std::string& address, const std::string& port, TFetchLimits limits = {},
           IHostResolver* resolver = nullptr) {
    TLoopbackResolver loopback;
    TTcpClient client(resolver ? *resolver : loopback);
    TTitleFetch fetch(f.rows, f.liveId, TLocalEncoding::Utf8(), client);
    fetch.limits = limits;
    TRecordingObserver observer(f.rows);
    const auto start = std::chrono::steady_clock::now();
    f.report = fetch.GetTitleList(true, {address, port, kBrowseBodyTemplate}, observer);
    f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    f.calls = observer.calls;
    f.max = observer.max;
    f.positions = observer.positions;
    f.lastResponse = std::string(fetch.Response());
}

std::vector<std::string> Captions(const TTitleList& rows) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < rows.Count(); ++i) out.push_back(rows[i].caption);
    return out;
}

TEST(TitleFetch, SendsExactlyTheComposedRequestForEveryPage) {
    test::TTempDir dir;
    TSim sim({"--titles", "150", "--page-size", "100", "--record-dir", dir.Path()});
    TFetched f;
    Fetch(f, "127.0.0.1", sim.PortText());
    EXPECT_EQ(f.report.outcome, TFetchOutcome::Complete) << f.report.detail;
    EXPECT_EQ(f.rows.Count(), 150u);
    EXPECT_EQ(f.report.pages, 2);
    EXPECT_EQ(f.max, 150);
    EXPECT_EQ(f.positions, (std::vector<std::int32_t>{100, 150}));
    ASSERT_EQ(test::ListDir(dir.Path()), (std::vector<std::string>{"request-0001.bin", "request-0002.bin"}));
    const std::int32_t starts[] = {0, 100};
    for (int page = 0; page < 2; ++page) {
        auto expected = BuildBrowseRequest("127.0.0.1", sim.PortText(), kBrowseBodyTemplate, starts[page],
                                           TLocalEncoding::Utf8());
        EXPECT_EQ(test::ReadFile(dir.Path() + "/request-000" + std::to_string(page + 1) + ".bin"),
                  expected.head + expected.body);
    }
    // Window-side steps in their order: two event points per page, one after closing.
    EXPECT_EQ(f.calls,
              "disable clear show events events max events events sort close events enable announce ");
}

TEST(TitleFetch, OnePageHoldsTheWholeCatalogue) {
    TSim sim({"--titles", "40"});
    TFetched f;
    Fetch(f, "127.0.0.1", sim.PortText());
    EXPECT_EQ(f.report.outcome, TFetchOutcome::Complete);
    EXPECT_EQ(f.report.pages, 1);
    ASSERT_EQ(f.rows.Count(), 40u);
    // The generated catalogue comes back exactly, titles with & < and quotes included.
    auto catalogue = sim::GenerateCatalogue(40);
    std::vector<std::string> titles;
    for (const auto& r : catalogue) titles.push_back(r.title);
    SortTitles(f.rows, -1);
    std::vector<std::string> got = Captions(f.rows);
    std::sort(titles.begin(), titles.end(), [](const std::string& a, const std::string& b) {
        return CompareTitleText(a, b) < 0;
    });
    EXPECT_EQ(got, titles);
    EXPECT_FALSE(f.lastResponse.empty());
}

TEST(TitleFetch, DeliveryAndLineEndsDoNotChangeTheRows) {
    std::vector<std::vector<std::string>> variants = {
        {}, {"--chunk", "1"}, {"--chunk", "7"}, {"--line-end", "lf"}, {"--line-end", "cr"},
        {"--line-end", "lf", "--chunk", "1"},
    };
    TFetched reference;
    {
        TSim sim({"--titles", "12"});
        Fetch(reference, "127.0.0.1", sim.PortText());
    }
    ASSERT_EQ(reference.rows.Count(), 12u);
    for (const auto& v : variants) {
        std::vector<std::string> options = {"--titles", "12"};
        options.insert(options.end(), v.begin(), v.end());
        TSim sim(options);
        TFetched f;
        Fetch(f, "127.0.0.1", sim.PortText());
        EXPECT_EQ(f.report.outcome, TFetchOutcome::Complete) << testing::PrintToString(v);
        ASSERT_EQ(f.rows.Count(), 12u);
        for (std::size_t i = 0; i < 12; ++i) {
            EXPECT_EQ(f.rows[i].caption, reference.rows[i].caption);
            EXPECT_EQ(f.rows[i].subItems, reference.rows[i].subItems);
        }
        EXPECT_EQ(f.liveId, reference.liveId);
    }
}

TEST(TitleFetch, LaterPageWithAnotherTotal) {
    // 150 recordings in pages of 50; the second page reports 100 in all.
    TSim sim({"--titles", "150", "--page-size", "50", "--mode", "shrinking-total"});
    TFetched f;
    Fetch(f, "127.0.0.1", sim.PortText());
    EXPECT_EQ(f.report.outcome, TFetchOutcome::Complete);
    EXPECT_EQ(f.rows.Count(), 100u);
    EXPECT_EQ(f.max, 150);  // the maximum keeps the first page's total
    EXPECT_EQ(f.positions, (std::vector<std::int32_t>{50, 100}));
}

TEST(TitleFetch, NulByteStopsItsLine) {
    TSim sim({"--titles", "3", "--mode", "nul"});
    TFetched f;
    Fetch(f, "127.0.0.1", sim.PortText());
    // The split ends the whole answer at the NUL, inside the second title: the first
    // row is whole, the second has only its empty caption.
    EXPECT_EQ(f.report.outcome, TFetchOutcome::NoResultLine);
    ASSERT_EQ(f.rows.Count(), 2u);
    const bool cutFirst = f.rows[0].caption.empty();  // the fetch sorted by title
    const TTitleRow& whole = f.rows[cutFirst ? 1 : 0];
    const TTitleRow& cut = f.rows[cutFirst ? 0 : 1];
    EXPECT_EQ(whole.subItems.size(), 6u);
    EXPECT_EQ(cut.caption, "");
    EXPECT_TRUE(cut.subItems.empty());
}

TEST(TitleFetch, PortTextsAndHostTexts) {
    TSim sim({"--titles", "2"});
    // The number's low 16 bits are the port.
    TFetched wrapped;
    Fetch(wrapped, "127.0.0.1", std::to_string(sim.Port() + 65536));
    EXPECT_EQ(wrapped.report.outcome, TFetchOutcome::Complete);
    EXPECT_EQ(wrapped.rows.Count(), 2u);

    TLoopbackResolver resolver;
    TFetched named;
    Fetch(named, "localhost", sim.PortText(), {}, &resolver);
    EXPECT_EQ(named.report.outcome, TFetchOutcome::Complete);
    EXPECT_EQ(resolver.lookups, 1);

    // The system's resolver answers "localhost" from the hosts file.
    TSystemResolver system;
    TFetched viaSystem;
    Fetch(viaSystem, "localhost", sim.PortText(), {}, &system);
    EXPECT_EQ(viaSystem.report.outcome, TFetchOutcome::Complete) << viaSystem.report.detail;

    for (const char* address : {"127.1", "0x7f.0.0.1", "0177.0.0.1"}) {
        TFetched numeric;
        TLoopbackResolver counting;
        Fetch(numeric, address, sim.PortText(), {}, &counting);
        EXPECT_EQ(numeric.report.outcome, TFetchOutcome::Complete) << address;
        EXPECT_EQ(counting.lookups, 0) << address;
    }
}

TEST(TitleFetch, PortTextsThatAreNoNumberGoTo51001) {
    test::TTempDir dir;
    TSim sim({"--titles", "1", "--record-dir", dir.Path()}, 51001);
    int n = 0;
    for (const char* port : {"abc", "80 ", ""}) {
        TFetched f;
        Fetch(f, "127.0.0.1", port);
        EXPECT_EQ(f.report.outcome, TFetchOutcome::Complete) << '"' << port << '"';
        // The Host line keeps the text as typed.
        const std::string request = test::ReadFile(dir.Path() + "/request-000" + std::to_string(++n) + ".bin");
        EXPECT_NE(request.find("\r\nHost: 127.0.0.1:" + std::string(port) + "\r\n"), std::string::npos);
    }
}

TEST(ReadHostText, FollowsInetAddrWithoutLookingUpNumbers) {
    struct Case {
        const char* text;
        TConnectResult result;
        const char* address;
    } cases[] = {
        {"127.0.0.1", TConnectResult::Connected, "127.0.0.1"},
        {"127.1", TConnectResult::Connected, "127.0.0.1"},
        {"0x7f.0.0.1", TConnectResult::Connected, "127.0.0.1"},
        {"0177.0.0.1", TConnectResult::Connected, "127.0.0.1"},
        {"2130706433", TConnectResult::Connected, "127.0.0.1"},
        {"192.168.0.10", TConnectResult::Connected, "192.168.0.10"},
        {"192.168.", TConnectResult::InvalidAddress, nullptr},
        {"1.2.3.256", TConnectResult::InvalidAddress, nullptr},
        {"08.1.1.1", TConnectResult::InvalidAddress, nullptr},
        {"1recorder", TConnectResult::InvalidAddress, nullptr},
        {"", TConnectResult::NoHost, nullptr},
        {"recorder.invalid", TConnectResult::NotResolved, nullptr},
        {"localhost", TConnectResult::Connected, "127.0.0.1"},
    };
    for (const auto& c : cases) {
        TLoopbackResolver resolver;
        std::uint32_t address = 0;
        EXPECT_EQ(ReadHostText(c.text, resolver, address), c.result) << c.text;
        const bool isName = c.text[0] != '\0' && !(c.text[0] >= '0' && c.text[0] <= '9');
        EXPECT_EQ(resolver.lookups, isName ? 1 : 0) << c.text;
        if (c.address) {
            in_addr a{address};
            EXPECT_STREQ(inet_ntoa(a), c.address) << c.text;
        }
    }
}

TEST(TitleFetch, FailuresEndPromptlyWithTheirOutcome) {
    TFetchLimits shortLimits;
    shortLimits.connectTimeoutMs = 2000;
    shortLimits.readIdleTimeoutMs = 1000;
    shortLimits.maxAnswerBytes = 1u << 20;
    struct Case {
        std::vector<std::string> sim;
        TFetchOutcome outcome;
        std::size_t rows;
    } cases[] = {
        {{"--mode", "close-silent"}, TFetchOutcome::NoAnswer, 0},
        {{"--mode", "hold-silent"}, TFetchOutcome::NoAnswer, 0},
        {{"--mode", "hold-open"}, TFetchOutcome::Complete, 5},  // the answer is there, only not closed
        {{"--mode", "returned-zero"}, TFetchOutcome::StoppedByGuard, 5},
        {{"--mode", "oversize", "--oversize-bytes", "3000000"}, TFetchOutcome::StoppedByGuard, 0},
        {{"--mode", "no-result"}, TFetchOutcome::NoResultLine, 5},
        {{"--mode", "close-mid", "--page-size", "0"}, TFetchOutcome::NoResultLine, 0},
        {{"--mode", "negative-total"}, TFetchOutcome::Complete, 5},
        {{"--mode", "garbage"}, TFetchOutcome::NoResultLine, 0},
        // Writing to a connection the recorder has reset must not end the program.
        {{"--mode", "close-at-once"}, TFetchOutcome::NoAnswer, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> options = {"--titles", "5"};
        options.insert(options.end(), c.sim.begin(), c.sim.end());
        TSim sim(options);
        TFetched f;
        Fetch(f, "127.0.0.1", sim.PortText(), shortLimits);
        const std::string name = testing::PrintToString(c.sim);
        EXPECT_EQ(f.report.outcome, c.outcome) << name << ": " << f.report.detail;
        if (c.sim[1] != "close-mid") {
            EXPECT_EQ(f.rows.Count(), c.rows) << name;
        }
        EXPECT_LT(f.seconds, 5.0) << name;
        EXPECT_NE(f.calls.find("close events enable"), std::string::npos) << name;
        if (c.sim[1] == "negative-total") {
            EXPECT_EQ(f.max, 0);
        }
    }

    // Nobody listens: refused, on the first page, with progress maximum 0.
    int freePort;
    {
        TSim gone({"--titles", "1"});
        freePort = gone.Port();
    }
    TFetched refused;
    Fetch(refused, "127.0.0.1", std::to_string(freePort), shortLimits);
    EXPECT_EQ(refused.report.outcome, TFetchOutcome::ConnectionFailed);
    EXPECT_NE(refused.report.detail.find("refused"), std::string::npos);
    EXPECT_EQ(refused.max, 0);

    for (const char* address : {"192.168.", "", "recorder.invalid"}) {
        TLoopbackResolver resolver;
        TFetched none;
        Fetch(none, address, "51001", shortLimits, &resolver);
        EXPECT_EQ(none.report.outcome, TFetchOutcome::ConnectionFailed) << address;
        EXPECT_EQ(none.report.pages, 1);
        EXPECT_TRUE(none.rows.Empty());
    }
}

TEST(TitleFetch, AnErrorUndoesTheWindowSteps) {
    TSim sim({"--titles", "3"});
    TTitleList rows;
    std::int32_t liveId = -1;
    TLoopbackResolver resolver;
    TTcpClient client(resolver);
    TTitleFetch fetch(rows, liveId, TLocalEncoding::Utf8(), client);
    TRecordingObserver observer(rows);
    observer.throwAtPosition = true;
    EXPECT_THROW(fetch.GetTitleList(true, {"127.0.0.1", sim.PortText(), kBrowseBodyTemplate}, observer),
                 std::runtime_error);
    EXPECT_EQ(observer.calls, "disable clear show events events max close enable ");
}

}  // namespace
}  // namespace torvin

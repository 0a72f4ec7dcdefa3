#include <gtest/gtest.h>

#include "tests/support/Process.h"
#include "tools/recorder-sim/Catalogue.h"

namespace torvin {
namespace {

constexpr auto Exec = &test::Run;
using test::TSim;

TEST(Lister, PrintsRowsAsTabSeparatedLines) {
    test::TTempDir dir;
    const std::string catalogue = dir.Path() + "/catalogue.tsv";
    {
        std::FILE* f = std::fopen(catalogue.c_str(), "wb");
        std::fputs("# title\tdate\tsize\tduration\tchannel\tno\n"
                   "Evening News & Weather\t2004-06-30T19:00:00\t1650000000\t1:00:00.000\tChannel 8\t1234\n"
                   "天気予報\t2004-07-01T06:00:00\t900\t0:15:00.000\tNHK総合\t1240\n"
                   "<Live> \"Rock\"\t2003-01-01T00:00:00\t1000\t2:00:00.000\tBS1\t17\n",
                   f);
        std::fclose(f);
    }
    TSim sim({"--catalogue", catalogue});
    const std::string url = "http://127.0.0.1:51002/video?O=V";
    auto r = Exec({TORVIN_LIST_PATH, "127.0.0.1", sim.PortText()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // Default key 2: newest start time first.
    EXPECT_EQ(r.out,
              "天気予報\t2004-07-01 06:00:00\t900\t0:15:00\tNHK総合\t1240\t" + url + "1240&P=2&C=1\n"
              "Evening News & Weather\t2004-06-30 19:00:00\t1650000000\t1:00:00\tChannel 8\t1234\t" + url +
                  "1234&P=2&C=1\n"
              "<Live> \"Rock\"\t2003-01-01 00:00:00\t1000\t2:00:00\tBS1\t17\t" + url + "17&P=2&C=1\n");

    auto sizes = Exec({TORVIN_LIST_PATH, "--sort-key", "-3", "--m3u", "127.0.0.1", sim.PortText()});
    EXPECT_EQ(sizes.status, 0);
    EXPECT_EQ(sizes.out, url + "1240&P=2&C=1\r\n" + url + "17&P=2&C=1\r\n" + url + "1234&P=2&C=1\r\n");

    // A key that is not a number falls back to 2.
    auto fallback = Exec({TORVIN_LIST_PATH, "--sort-key", "abc", "--m3u", "127.0.0.1", sim.PortText()});
    EXPECT_EQ(fallback.out.substr(0, url.size() + 4), url + "1240");
}

TEST(Lister, ExitStatusTellsWhatHappened) {
    int freePort;
    {
        TSim gone({"--titles", "1"});
        freePort = gone.Port();
    }
    auto refused = Exec({TORVIN_LIST_PATH, "127.0.0.1", std::to_string(freePort)});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("127.0.0.1"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find(std::to_string(freePort)), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("refused"), std::string::npos) << refused.err;
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1);

    // Rows that arrived are printed even when the fetch did not complete.
    TSim noResult({"--titles", "4", "--mode", "no-result"});
    auto partial = Exec({TORVIN_LIST_PATH, "127.0.0.1", noResult.PortText()});
    EXPECT_EQ(partial.status, 1);
    EXPECT_EQ(std::count(partial.out.begin(), partial.out.end(), '\n'), 4);
    EXPECT_NE(partial.err.find("result line"), std::string::npos) << partial.err;

    EXPECT_EQ(Exec({TORVIN_LIST_PATH}).status, 2);
    EXPECT_EQ(Exec({TORVIN_LIST_PATH, "a", "b", "c"}).status, 2);
    EXPECT_EQ(Exec({TORVIN_LIST_PATH, "--sort-key"}).status, 2);
    EXPECT_EQ(Exec({TORVIN_LIST_PATH, "--bogus", "127.0.0.1"}).status, 2);
}

}  // namespace
}  // namespace torvin

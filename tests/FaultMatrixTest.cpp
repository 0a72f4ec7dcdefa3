#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <chrono>

#include "cds/TitleList.h"
#include "tests/support/AppFixture.h"

namespace torvin {
namespace {

using test::TAppFixture;
using test::TSim;
using TIcon = IMessageBoxes::TIcon;

const std::string kDone = "タイトルリストを取得しました。";
const std::string kNoConnection = "タイトルリストを取得できませんでした。\nレコーダーに接続できませんでした。(127.0.0.1)";
const std::string kNoAnswer = "タイトルリストを取得できませんでした。\nレコーダーから応答がありませんでした。";
const std::string kUnreadable = "タイトルリストを取得できませんでした。\nレコーダーの応答を読み取れませんでした。";

class FaultMatrix : public TAppFixture {
protected:
    // Room for a slow (sanitizer) simulator to compose a 10 MB answer.
    FaultMatrix() { limits.readIdleTimeoutMs = 3000; }
};

// The desktop program's Connect against every way a recorder or the network can fail.
TEST_F(FaultMatrix, EveryBehaviourEndsCleanly) {
    struct Case {
        std::vector<std::string> sim;  // empty: nobody listens
        std::string message;
        std::size_t minRows, maxRows;
        std::size_t maxAnswerBytes = 64u << 20;
    } cases[] = {
        {{}, kNoConnection, 0, 0},
        {{"--mode", "close-silent"}, kNoAnswer, 0, 0},
        {{"--mode", "close-mid"}, kUnreadable, 0, 4},
        {{"--mode", "hold-silent"}, kNoAnswer, 0, 0},
        {{"--mode", "hold-open"}, kDone, 5, 5},  // the whole answer came, only the close did not
        {{"--chunk", "1"}, kDone, 5, 5},
        {{"--mode", "long-line"}, kDone, 5, 5},
        {{"--mode", "nul"}, kUnreadable, 2, 2},  // the answer ends at the NUL, in the second title
        {{"--mode", "invalid-utf8"}, kDone, 4, 4},  // that item's line converts to nothing
        {{"--mode", "four-byte"}, kDone, 5, 5},
        {{"--mode", "returned-zero"}, kUnreadable, 5, 5},
        {{"--mode", "shrinking-total", "--titles", "15", "--page-size", "5"}, kDone, 10, 10},
        {{"--mode", "negative-total"}, kDone, 5, 5},
        {{"--mode", "oversize", "--oversize-bytes", "3000000"}, kUnreadable, 0, 0, 1u << 20},
        {{"--mode", "garbage"}, kUnreadable, 0, 0},
        {{"--mode", "no-result"}, kUnreadable, 5, 5},
    };
    int freePort;
    {
        TSim gone({"--titles", "1"});
        freePort = gone.Port();
    }
    for (const auto& c : cases) {
        const std::string name = c.sim.empty() ? "refused" : testing::PrintToString(c.sim);
        std::vector<std::string> options = {"--titles", "5"};
        options.insert(options.end(), c.sim.begin(), c.sim.end());
        std::unique_ptr<TSim> sim = c.sim.empty() ? nullptr : std::make_unique<TSim>(options);
        limits.maxAnswerBytes = c.maxAnswerBytes;
        messages.shown.clear();
        TfrmMain& w = Create();
        w.edAdress->setText("127.0.0.1");
        w.edPort->setText(QString::fromStdString(sim ? sim->PortText() : std::to_string(freePort)));

        const auto start = std::chrono::steady_clock::now();
        w.btConnect->click();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        EXPECT_LT(seconds, 8.0) << name;
        EXPECT_TRUE(w.isEnabled()) << name;
        EXPECT_EQ(w.ProgressWindow(), nullptr) << name;
        ASSERT_EQ(messages.shown.size(), 1u) << name;
        EXPECT_EQ(messages.shown[0].text, c.message) << name;
        EXPECT_EQ(messages.shown[0].icon, c.message == kDone ? TIcon::Information : TIcon::Warning) << name;
        EXPECT_GE(w.Rows().Count(), c.minRows) << name;
        EXPECT_LE(w.Rows().Count(), c.maxRows) << name;
        if (c.sim.size() > 1 && c.sim[1] == "long-line") {
            std::size_t longest = 0;
            for (std::size_t i = 0; i < w.Rows().Count(); ++i) longest = std::max(longest, w.Rows()[i].caption.size());
            EXPECT_EQ(longest, 10u << 20) << name;
        }
        if (c.sim.size() > 1 && c.sim[1] == "invalid-utf8") {
            // The unreadable item is gone; the others are whole, none took its lines.
            for (std::size_t i = 0; i < w.Rows().Count(); ++i) EXPECT_EQ(w.Rows()[i].subItems.size(), 6u) << i;
        }
        if (c.sim.size() > 1 && c.sim[1] == "four-byte") {
            bool found = false;
            for (std::size_t i = 0; i < w.Rows().Count(); ++i) {
                found = found || w.Rows()[i].caption == "emoji \xF0\x9F\x98\x80 title";
            }
            EXPECT_TRUE(found) << name;
        }
        Destroy();
    }
}

}  // namespace
}  // namespace torvin

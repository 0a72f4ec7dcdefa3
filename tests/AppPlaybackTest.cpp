#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/QtPlatform.h"
#include "app/TitleModel.h"
#include "cds/TitleList.h"
#include "tests/support/AppFixture.h"
#include "titles/CompareItems.h"
#include "titles/SortKey.h"

namespace torvin {
namespace {

using test::TAppFixture;
using test::TSim;
using test::Utf8;
using TIcon = IMessageBoxes::TIcon;

class Playback : public TAppFixture {
protected:
    // A window that has fetched the simulator's catalogue at start-up.
    TfrmMain& Fetched(TSim& sim, const std::string& sortKeyLine = "-1") {
        WriteConfig("127.0.0.1\r\n" + sim.PortText() + "\r\n" + player + "\r\n" + sortKeyLine + "\r\n");
        return Create();
    }

    const TTitleRow* Row(TfrmMain& w, int r) { return &w.Rows()[static_cast<std::size_t>(r)]; }
    std::string Url(TfrmMain& w, int r) { return Row(w, r)->SubItem(5); }

    void Select(TfrmMain& w, int r, bool on = true) {
        w.lvInfo->selectionModel()->select(
            w.Model().index(r, 0),
            (on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
    }

    std::vector<const TTitleRow*> Order(TfrmMain& w) { return w.lsSelectedOrder().Rows(); }

    std::string Captions(TfrmMain& w) {
        std::string out;
        for (std::size_t i = 0; i < w.Rows().Count(); ++i) out += w.Rows()[i].caption + "|";
        return out;
    }

    std::string player;
};

TEST_F(Playback, ColumnClicksAlternatePerColumn) {
    TSim sim({"--titles", "25"});
    TfrmMain& w = Fetched(sim, "-3");
    EXPECT_EQ(sortKey, -3);
    auto sizes = [&] {
        std::vector<long long> v;
        for (std::size_t i = 0; i < w.Rows().Count(); ++i) v.push_back(std::stoll(w.Rows()[i].SubItem(1)));
        return v;
    };
    QHeaderView* header = w.lvInfo->header();
    emit header->sectionClicked(2);  // サイズ: descending, key 3
    EXPECT_EQ(sortKey, 3);
    const auto descending = sizes();
    EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));
    EXPECT_EQ(w.ColumnTag(2), -3);
    emit header->sectionClicked(2);  // ascending, key -3
    EXPECT_EQ(sortKey, -3);
    const auto ascendingSizes = sizes();
    EXPECT_TRUE(std::is_sorted(ascendingSizes.begin(), ascendingSizes.end()));
    EXPECT_EQ(w.ColumnTag(2), 3);

    auto titlesDescending = [&] {
        for (std::size_t i = 1; i < w.Rows().Count(); ++i) {
            if (CompareTitleText(w.Rows()[i - 1].caption, w.Rows()[i].caption) < 0) return false;
        }
        return true;
    };
    emit header->sectionClicked(0);  // タイトル: descending
    EXPECT_EQ(sortKey, 1);
    EXPECT_TRUE(titlesDescending());
    emit header->sectionClicked(6);  // URL: its own tag is still 1, so descending by title again
    EXPECT_EQ(sortKey, 1);
    EXPECT_TRUE(titlesDescending());
    EXPECT_EQ(w.ColumnTag(6), -1);
    emit header->sectionClicked(0);  // タイトル again: ascending
    EXPECT_EQ(sortKey, -1);
    EXPECT_FALSE(titlesDescending());
    const std::string ascending = Captions(w);

    // The key of the last click sorts the next fetch and is saved at exit.
    w.btConnect->click();
    EXPECT_EQ(Captions(w), ascending);
    Destroy();
    EXPECT_EQ(test::ReadFile(ConfigPath()), "127.0.0.1\r\n" + sim.PortText() + "\r\n\r\n-1\r\n");
}

TEST_F(Playback, SelectionOrderFollowsTheEvents) {
    TSim sim({"--titles", "8"});
    TfrmMain& w = Fetched(sim);
    const TTitleRow* a = Row(w, 1);
    const TTitleRow* b = Row(w, 5);
    const TTitleRow* c = Row(w, 3);
    Select(w, 1);
    Select(w, 5);
    Select(w, 3);
    EXPECT_EQ(Order(w), (std::vector<const TTitleRow*>{a, b, c}));
    Select(w, 5, false);
    EXPECT_EQ(Order(w), (std::vector<const TTitleRow*>{a, c}));
    emit w.lvInfo->header()->sectionClicked(2);  // a sort in between changes nothing
    EXPECT_EQ(Order(w), (std::vector<const TTitleRow*>{a, c}));
    Select(w, static_cast<int>(w.Rows().IndexOf(b)));
    EXPECT_EQ(Order(w), (std::vector<const TTitleRow*>{a, c, b}));
    emit w.lvInfo->header()->sectionClicked(0);
    EXPECT_EQ(Order(w), (std::vector<const TTitleRow*>{a, c, b}));
    // The view still shows the same rows selected after the sorts.
    EXPECT_EQ(w.lvInfo->selectionModel()->selectedRows().size(), 3);
    EXPECT_TRUE(w.lvInfo->selectionModel()->isRowSelected(static_cast<int>(w.Rows().IndexOf(b)), {}));

    w.lvInfoSelectItem(a, true);  // reported selected again: moves to the end
    EXPECT_EQ(Order(w), (std::vector<const TTitleRow*>{c, b, a}));
    const TTitleRow* d = Row(w, static_cast<int>(w.Rows().IndexOf(a)) == 0 ? 1 : 0);
    w.lvInfoSelectItem(d, false);  // unselecting a row not in the list
    EXPECT_EQ(Order(w), (std::vector<const TTitleRow*>{c, b, a}));

    w.lvInfo->clearSelection();
    EXPECT_EQ(w.lsSelectedOrder().Count(), 0u);
    w.lvInfo->selectAll();  // Ctrl+A
    ASSERT_EQ(w.lsSelectedOrder().Count(), 8u);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(Order(w)[static_cast<std::size_t>(r)], Row(w, r));
}

// A player that writes each argument it gets on a line of its own, then "--".
class RealPlayer : public Playback {
protected:
    RealPlayer() {
        const std::string home = dir.Path() + "/player dir";
        std::filesystem::create_directories(home);
        exeDir = dir.Path() + "/exe dir";
        std::filesystem::create_directories(exeDir);
        args = home + "/args.txt";
        player = home + "/my player";
        std::ofstream script(player);
        script << "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\" >> '" << args
               << "'; done\nprintf -- '--\\n' >> '" << args << "'\n";
        script.close();
        ::chmod(player.c_str(), 0755);
        launcher = &processLauncher;
    }

    // The arguments of the next start, waiting for the detached player to write them.
    std::vector<std::string> NextStart() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            std::vector<std::string> starts;
            std::string current;
            std::ifstream in(args);
            for (std::string line; std::getline(in, line);) {
                if (line == "--") {
                    starts.push_back(current);
                    current.clear();
                } else {
                    current += line;
                }
            }
            if (starts.size() > consumed) return Split(starts[consumed++]);
            if (std::chrono::steady_clock::now() > deadline) return {"(no start)"};
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    static std::vector<std::string> Split(const std::string& bracketed) {
        std::vector<std::string> out;
        std::size_t at = 0;
        while (at < bracketed.size()) {
            const std::size_t end = bracketed.find("][", at);
            const std::size_t stop = end == std::string::npos ? bracketed.size() - 1 : end;
            out.push_back(bracketed.substr(at + 1, stop - at - 1));
            at = stop + 1;
        }
        return out;
    }

    std::string Playlist() const { return exeDir + "/saisei.m3u"; }

    TProcessLauncher processLauncher;
    std::string args;
    std::size_t consumed = 0;
};

TEST_F(RealPlayer, EachActionStartsThePlayer) {
    TSim sim({"--titles", "6"});
    TfrmMain& w = Fetched(sim);

    // Double click: the first selected row in table order, as the only argument.
    Select(w, 4);
    Select(w, 2);
    emit w.lvInfo->doubleClicked(w.Model().index(4, 1));
    EXPECT_EQ(NextStart(), std::vector<std::string>{Url(w, 2)});

    // Play selected, chosen C, A, B: their URLs in that order, and the playlist's path.
    w.lvInfo->clearSelection();
    Select(w, 5);
    Select(w, 0);
    Select(w, 3);
    w.btExe->click();
    EXPECT_EQ(NextStart(), std::vector<std::string>{Playlist()});
    EXPECT_EQ(test::ReadFile(Playlist()), Url(w, 5) + "\r\n" + Url(w, 0) + "\r\n" + Url(w, 3) + "\r\n");

    // A second use rewrites the file; with nothing selected it has zero bytes.
    w.lvInfo->clearSelection();
    Select(w, 1);
    w.btExe->click();
    EXPECT_EQ(NextStart(), std::vector<std::string>{Playlist()});
    EXPECT_EQ(test::ReadFile(Playlist()), Url(w, 1) + "\r\n");
    w.lvInfo->clearSelection();
    w.btExe->click();
    EXPECT_EQ(NextStart(), std::vector<std::string>{Playlist()});
    EXPECT_EQ(test::ReadFile(Playlist()), "");

    // Live: the typed identifier in both places; the port box plays no part.
    w.edID->setText("7");
    w.edPort->setText("1234");
    w.btLive1->click();
    EXPECT_EQ(NextStart(), std::vector<std::string>{"http://127.0.0.1:51002/video?O=V7&P=2&C=1&B=6&I=7"});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RealPlayer, UrlsReachThePlayerAsOneArgumentAndRunNothing) {
    TSim sim({"--titles", "2", "--stream-host", "h/a b \"q\" $(touch pwned);x"});
    TfrmMain& w = Fetched(sim);
    const std::string url = Url(w, 0);
    ASSERT_NE(url.find("$(touch pwned)"), std::string::npos) << url;
    Select(w, 0);
    emit w.lvInfo->doubleClicked(w.Model().index(0, 0));
    EXPECT_EQ(NextStart(), std::vector<std::string>{url});
    w.edAdress->setText("x; touch pwned");
    w.edID->setText("$(touch pwned)");
    w.btLive1->click();
    EXPECT_EQ(NextStart(),
              std::vector<std::string>{"http://x; touch pwned:51002/video?O=V$(touch pwned)&P=2&C=1&B=6&I=$(touch pwned)"});
    EXPECT_FALSE(std::filesystem::exists("pwned"));
    EXPECT_FALSE(std::filesystem::exists(exeDir + "/pwned"));
}

TEST_F(Playback, LaunchRequestAsData) {
    player = dir.Path() + "/vlc";
    std::ofstream(player) << "";
    TSim sim({"--titles", "3"});
    TfrmMain& w = Fetched(sim);
    Select(w, 1);
    emit w.lvInfo->doubleClicked(w.Model().index(1, 0));
    w.btExe->click();
    ASSERT_EQ(fakeLauncher.launched.size(), 2u);
    for (const auto& r : fakeLauncher.launched) {
        EXPECT_EQ(r.owner, &w);
        EXPECT_EQ(r.verb, "open");
        EXPECT_EQ(r.file, "\"" + player + "\"");
        EXPECT_EQ(r.directory, "");
        EXPECT_TRUE(r.showNormal);
    }
    EXPECT_EQ(fakeLauncher.launched[0].parameters, Url(w, 1));
    EXPECT_EQ(fakeLauncher.launched[1].parameters, "\"" + exeDir + "/saisei.m3u\"");
    EXPECT_EQ(Unquoted("\"a b\""), "a b");
    EXPECT_EQ(Unquoted("\"a\"b\""), "\"a\"b\"");
    EXPECT_EQ(Unquoted("plain"), "plain");
}

TEST_F(Playback, PlayerTest) {
    TSim sim({"--titles", "3"});
    TfrmMain& w = Fetched(sim);
    Select(w, 0);
    std::filesystem::create_directory(dir.Path() + "/folder");
    for (const std::string& path : {std::string(), dir.Path() + "/missing", dir.Path() + "/folder"}) {
        messages.shown.clear();
        w.edExe->setText(QString::fromStdString(path));
        emit w.lvInfo->doubleClicked(w.Model().index(0, 0));
        EXPECT_TRUE(messages.shown.empty()) << path;  // the double click stays silent
        w.btExe->click();
        w.btLive1->click();
        ASSERT_EQ(messages.shown.size(), 2u) << path;
        for (const auto& m : messages.shown) {
            EXPECT_EQ(m.text, "起動するプログラムが設定されていません");
            EXPECT_EQ(m.caption, "実行");
            EXPECT_EQ(m.icon, TIcon::Error);
        }
    }
    EXPECT_TRUE(fakeLauncher.launched.empty());
    EXPECT_FALSE(std::filesystem::exists(exeDir + "/saisei.m3u"));
}

TEST_F(Playback, RowWithoutStreamUrlGivesTheListIndexError) {
    player = dir.Path() + "/vlc";
    std::ofstream(player) << "";
    TSim sim({"--titles", "3", "--mode", "missing-res"});
    TfrmMain& w = Fetched(sim);
    int bare = -1;
    for (int r = 0; r < 3; ++r) {
        if (Row(w, r)->subItems.size() < 6) bare = r;
    }
    ASSERT_GE(bare, 0);
    Select(w, bare);
    emit w.lvInfo->doubleClicked(w.Model().index(bare, 0));
    w.btExe->click();
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const auto& m : messages.shown) {
        EXPECT_EQ(m.text, "リストのインデックスが範囲を超えています (5)");
        EXPECT_EQ(m.caption, "Torvin Connect");
    }
    EXPECT_TRUE(fakeLauncher.launched.empty());
    EXPECT_FALSE(std::filesystem::exists(exeDir + "/saisei.m3u"));
}

TEST_F(Playback, ChoosingThePlayer) {
    TfrmMain& w = Create();
    w.edExe->setText("typed");
    dialog.answers = {std::nullopt, IFileDialog::TResult{"/opt/vlc/vlc", 0}, std::nullopt,
                      IFileDialog::TResult{"/usr/bin/mpv", 1}};
    w.btOpen->click();  // cancelled
    EXPECT_EQ(Utf8(w.edExe->text()), "typed");
    w.btOpen->click();
    EXPECT_EQ(Utf8(w.edExe->text()), "/opt/vlc/vlc");
    w.btOpen->click();  // cancelled: changes nothing, also not what the next opening shows
    EXPECT_EQ(Utf8(w.edExe->text()), "/opt/vlc/vlc");
    w.btOpen->click();
    EXPECT_EQ(Utf8(w.edExe->text()), "/usr/bin/mpv");
    ASSERT_EQ(dialog.requests.size(), 4u);
    EXPECT_EQ(dialog.requests[0].title, "起動したいプログラム");
    EXPECT_EQ(dialog.requests[0].filters, (std::vector<std::string>{"VLCプログラム(vlc)", "その他のプログラム(*)"}));
    EXPECT_EQ(dialog.requests[0].fileName, "");  // not primed with the box's text
    EXPECT_EQ(dialog.requests[0].filterIndex, 0);
    EXPECT_EQ(dialog.requests[1].fileName, "");
    EXPECT_EQ(dialog.requests[2].fileName, "/opt/vlc/vlc");
    EXPECT_EQ(dialog.requests[3].fileName, "/opt/vlc/vlc");
    EXPECT_EQ(dialog.requests[3].filterIndex, 0);
}

TEST_F(Playback, EditedCaptionIsTheTitle) {
    TSim sim({"--titles", "4"});
    TfrmMain& w = Fetched(sim);
    const TTitleRow* row = Row(w, 2);
    EXPECT_TRUE(w.Model().flags(w.Model().index(2, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(w.Model().flags(w.Model().index(2, 1)) & Qt::ItemIsEditable);
    ASSERT_TRUE(w.Model().setData(w.Model().index(2, 0), QString::fromUtf8("000 最初"), Qt::EditRole));
    EXPECT_EQ(row->caption, "000 最初");
    emit w.lvInfo->header()->sectionClicked(0);  // descending
    emit w.lvInfo->header()->sectionClicked(0);  // ascending: the edited title comes first
    EXPECT_EQ(Row(w, 0), row);
}

}  // namespace
}  // namespace torvin

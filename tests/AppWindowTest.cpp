#include <gtest/gtest.h>

#include <QCheckBox>
#include <filesystem>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "app/TitleModel.h"
#include "cds/TitleList.h"
#include "tests/support/AppFixture.h"
#include "titles/SortKey.h"
#include "wait/TfrmWait.h"

namespace torvin {
namespace {

using test::TAppFixture;
using test::TSim;
using test::Utf8;
using TIcon = IMessageBoxes::TIcon;

class AppWindow : public TAppFixture {};

TEST_F(AppWindow, ControlsAsCreated) {
    TfrmMain& w = Create();
    EXPECT_EQ(Utf8(w.windowTitle()), "Torvin Connect");
    EXPECT_EQ(w.size(), QSize(768, 481));
    struct Control {
        QWidget* widget;
        QWidget* parent;
        QRect geometry;
        std::string text;
    } controls[] = {
        {w.pnlTop, &w, {0, 0, 768, 81}, ""},
        {w.Label1, w.pnlTop, {16, 8, 50, 12}, "IPアドレス"},
        {w.edAdress, w.pnlTop, {16, 24, 121, 20}, "192.168."},
        {w.Label2, w.pnlTop, {184, 8, 21, 12}, "Port"},
        {w.edPort, w.pnlTop, {184, 24, 121, 20}, "51001"},
        {w.cbClear, w.pnlTop, {16, 48, 209, 17}, "接続時にタイトルリストをクリアする。"},
        {w.btConnect, w.pnlTop, {232, 48, 75, 25}, "接続"},
        {w.Label3, w.pnlTop, {320, 8, 109, 12}, "起動したいプログラム"},
        {w.edExe, w.pnlTop, {320, 24, 249, 20}, ""},
        {w.btOpen, w.pnlTop, {576, 22, 25, 25}, "..."},
        {w.btExe, w.pnlTop, {526, 52, 75, 25}, "実行"},
        {w.pnlRight, w.pnlTop, {608, 1, 159, 79}, ""},
        {w.Label4, w.pnlRight, {8, 8, 11, 12}, "ID"},
        {w.edID, w.pnlRight, {8, 24, 65, 20}, "-1"},  // "edID" until FormCreate fills it
        {w.btLive1, w.pnlRight, {8, 51, 69, 25}, "Live再生1"},
        {w.btClose, w.pnlRight, {89, 51, 65, 25}, "閉じる"},
        {w.pnlMain, &w, {0, 81, 768, 400}, ""},
        {w.lvInfo, w.pnlMain, {1, 1, 766, 398}, ""},
    };
    for (const auto& c : controls) {
        EXPECT_EQ(c.widget->parentWidget(), c.parent) << c.text;
        EXPECT_EQ(c.widget->geometry(), c.geometry) << c.text;
        std::string text;
        if (auto* l = qobject_cast<QLabel*>(c.widget)) text = Utf8(l->text());
        if (auto* e = qobject_cast<QLineEdit*>(c.widget)) text = Utf8(e->text());
        if (auto* b = qobject_cast<QAbstractButton*>(c.widget)) text = Utf8(b->text());
        EXPECT_EQ(text, c.text);
    }
    EXPECT_TRUE(w.cbClear->isChecked());

    // Tab order.
    std::vector<QWidget*> expected = {w.edAdress, w.edPort, w.cbClear, w.btConnect, w.edExe, w.btOpen,
                                      w.btExe,    w.edID,   w.btLive1, w.btClose,   w.lvInfo};
    QWidget* at = w.edAdress;
    for (std::size_t i = 1; i < expected.size(); ++i) {
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || !at->isEnabled() || at->focusProxy()) at = at->nextInFocusChain();
        EXPECT_EQ(at, expected[i]) << i;
    }

    // Columns: caption, tag, width, alignment.
    struct Column {
        const char* caption;
        std::int32_t tag;
        int width;
        bool right;
    } columns[] = {{"タイトル", 1, 250, false}, {"開始時間", 2, 120, false}, {"サイズ", 3, 100, true},
                   {"録画時間", 4, 100, true},  {"チャンネル", 5, 100, false}, {"ID", 6, 50, true},
                   {"URL", 1, 1, false}};
    QHeaderView* header = w.lvInfo->header();
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(Utf8(w.Model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()), columns[c].caption);
        EXPECT_EQ(w.ColumnTag(c), columns[c].tag);
        EXPECT_EQ(header->sectionSize(c), columns[c].width) << c;
        const auto align = w.Model().headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(bool(align & Qt::AlignRight), columns[c].right) << c;
    }
    // The URL column cannot be widened.
    EXPECT_EQ(header->sectionResizeMode(6), QHeaderView::Fixed);
    EXPECT_EQ(w.lvInfo->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(w.lvInfo->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(AppWindow, StartUpFetchWhenTheSettingsFileExists) {
    TSim sim({"--titles", "30"});
    WriteConfig("127.0.0.1\r\n" + sim.PortText() + "\r\n\r\n-3\r\n");
    TfrmMain& w = Create();
    EXPECT_FALSE(w.isVisible());  // filled before it is first shown
    EXPECT_EQ(w.Rows().Count(), 30u);
    EXPECT_EQ(w.Model().rowCount(), 30);
    EXPECT_EQ(sortKey, -3);
    for (std::size_t i = 1; i < w.Rows().Count(); ++i) {  // sorted by size, ascending
        EXPECT_LE(std::stoll(w.Rows()[i - 1].SubItem(1)), std::stoll(w.Rows()[i].SubItem(1)));
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Utf8(w.edID->text()), std::to_string(w.LiveId()));
    EXPECT_NE(w.LiveId(), -1);
    EXPECT_EQ(w.ProgressWindow(), nullptr);
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(AppWindow, NoSettingsFileNoFetch) {
    TfrmMain& w = Create();
    EXPECT_EQ(w.LastFetch().pages, 0);
    EXPECT_EQ(Utf8(w.edID->text()), "-1");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AppWindow, EmptySettingsFileFetchesWithTheCreationTexts) {
    WriteConfig("");
    TfrmMain& w = Create();
    EXPECT_EQ(w.LastFetch().pages, 1);
    EXPECT_EQ(w.LastFetch().outcome, TFetchOutcome::ConnectionFailed);  // "192.168." is no address
    EXPECT_EQ(Utf8(w.edID->text()), "-1");
    EXPECT_TRUE(messages.shown.empty());  // the start-up fetch reports nothing
    EXPECT_EQ(resolver.lookups, 0);
}

TEST_F(AppWindow, ClosingSavesFourLines) {
    WriteConfig("a\r\nb\r\nc\r\n6\r\nfive\r\nsix\r\n");
    TfrmMain& w = Create();
    w.edAdress->setText(QString::fromUtf8("レコーダー"));
    w.show();
    w.btClose->click();
    EXPECT_FALSE(w.isVisible());
    Destroy();
    EXPECT_EQ(test::ReadFile(ConfigPath()), "レコーダー\r\nb\r\nc\r\n6\r\n");
}

TEST_F(AppWindow, SaveFailureAtExitIsShown) {
    Create();
    std::filesystem::create_directory(ConfigPath());
    Destroy();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "ファイル " + ConfigPath() + " を作成できません.");
    EXPECT_EQ(messages.shown[0].caption, "Torvin Connect");
    EXPECT_EQ(messages.shown[0].icon, TIcon::Error);
}

TEST_F(AppWindow, ConnectAnnouncesTheOutcome) {
    TfrmMain& w = Create();
    int freePort;
    {
        TSim gone({"--titles", "1"});
        freePort = gone.Port();
    }
    TSim good({"--titles", "5"});
    TSim silent({"--titles", "5", "--mode", "hold-silent"});
    TSim noResult({"--titles", "5", "--mode", "no-result"});
    struct Case {
        std::string address, port;
        TIcon icon;
        std::string text;
    } cases[] = {
        {"127.0.0.1", good.PortText(), TIcon::Information, "タイトルリストを取得しました。"},
        {"127.0.0.1", std::to_string(freePort), TIcon::Warning,
         "タイトルリストを取得できませんでした。\nレコーダーに接続できませんでした。(127.0.0.1)"},
        {"recorder.invalid", "51001", TIcon::Warning,
         "タイトルリストを取得できませんでした。\nレコーダーに接続できませんでした。(recorder.invalid)"},
        {"127.0.0.1", silent.PortText(), TIcon::Warning,
         "タイトルリストを取得できませんでした。\nレコーダーから応答がありませんでした。"},
        {"127.0.0.1", noResult.PortText(), TIcon::Warning,
         "タイトルリストを取得できませんでした。\nレコーダーの応答を読み取れませんでした。"},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        w.edAdress->setText(QString::fromStdString(c.address));
        w.edPort->setText(QString::fromStdString(c.port));
        std::vector<bool> enabledAtSteps;
        w.onFetchStep = [&](const char*) { enabledAtSteps.push_back(w.isEnabled()); };
        w.btConnect->click();
        ASSERT_EQ(messages.shown.size(), 1u) << c.text;
        EXPECT_EQ(messages.shown[0].text, c.text);
        EXPECT_EQ(messages.shown[0].caption, "接続");
        EXPECT_EQ(messages.shown[0].icon, c.icon);
        EXPECT_TRUE(w.isEnabled());
        EXPECT_EQ(w.ProgressWindow(), nullptr);
        for (std::size_t i = 1; i < enabledAtSteps.size(); ++i) EXPECT_FALSE(enabledAtSteps[i]) << c.text << i;
    }
    EXPECT_EQ(w.Rows().Count(), 5u);  // the table was cleared on every Connect
}

TEST_F(AppWindow, ProgressWindowStates) {
    TfrmMain& w = Create();
    struct Seen {
        std::int32_t max, position;
        double filled;
        bool visible;
    };
    std::vector<std::pair<std::string, Seen>> seen;
    w.onFetchStep = [&](const char* step) {
        if (const TfrmWait* p = w.ProgressWindow()) {
            seen.push_back({step, {p->Max(), p->Position(), p->Filled(), p->isVisible()}});
        }
    };
    TSim paged({"--titles", "150", "--page-size", "50", "--mode", "shrinking-total"});
    w.edAdress->setText("127.0.0.1");
    w.edPort->setText(QString::fromStdString(paged.PortText()));
    w.btConnect->click();
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen[0].first, "show");
    EXPECT_EQ(seen[0].second.max, 100);  // 0 of 100 before the first page
    EXPECT_EQ(seen[0].second.position, 0);
    EXPECT_TRUE(seen[0].second.visible);
    EXPECT_EQ(seen[1].second.max, 150);
    EXPECT_EQ(seen[1].second.position, 50);
    EXPECT_EQ(seen[2].second.max, 150);  // the first page's maximum stays
    EXPECT_EQ(seen[2].second.position, 100);
    EXPECT_EQ(seen.back().first, "sort");

    seen.clear();
    TSim whole({"--titles", "20"});
    w.edPort->setText(QString::fromStdString(whole.PortText()));
    w.btConnect->click();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().first, "sort");
    EXPECT_EQ(seen.back().second.filled, 1.0);  // full just before it goes

    seen.clear();
    w.edAdress->setText("192.168.");
    w.btConnect->click();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().second.max, 0);
    EXPECT_EQ(seen.back().second.position, 0);
    EXPECT_EQ(seen.back().second.filled, 0.0);
}

TEST_F(AppWindow, HandlerErrorsGoToTheErrorDisplay) {
    TfrmMain& w = Create();
    w.Guarded([] { throw std::runtime_error("broken"); });
    w.Guarded([] { throw std::runtime_error("リストのインデックスが範囲を超えています (5)"); });
    w.Guarded([] { throw 42; });
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].text, "broken.");
    EXPECT_EQ(messages.shown[1].text, "リストのインデックスが範囲を超えています (5)");
    EXPECT_EQ(messages.shown[2].text, "");
    for (const auto& m : messages.shown) {
        EXPECT_EQ(m.caption, "Torvin Connect");
        EXPECT_EQ(m.icon, TIcon::Error);
    }
}

TEST_F(AppWindow, ClearedFetchEmptiesTheSelectionOrder) {
    TSim sim({"--titles", "6"});
    WriteConfig("127.0.0.1\r\n" + sim.PortText() + "\r\n");
    TfrmMain& w = Create();
    w.lvInfo->selectAll();
    EXPECT_EQ(w.lsSelectedOrder().Count(), 6u);
    w.btConnect->click();
    EXPECT_EQ(w.lsSelectedOrder().Count(), 0u);
    EXPECT_EQ(w.Rows().Count(), 6u);

    // Without clearing, rows are appended and the selection stays.
    w.lvInfo->selectAll();
    w.cbClear->setChecked(false);
    w.btConnect->click();
    EXPECT_EQ(w.Rows().Count(), 12u);
    EXPECT_EQ(w.lsSelectedOrder().Count(), 6u);
}

// The window's whole life in one go: under the sanitizer build this run must also be
// free of leaks.
TEST_F(AppWindow, WholeLife) {
    TSim sim({"--titles", "40", "--page-size", "15"});
    WriteConfig("127.0.0.1\r\n" + sim.PortText() + "\r\n/bin/true\r\n2\r\n");
    TfrmMain& w = Create();
    w.show();
    ASSERT_EQ(w.Rows().Count(), 40u);
    emit w.lvInfo->header()->sectionClicked(2);
    w.lvInfo->selectAll();
    w.lvInfo->selectionModel()->select(w.Model().index(3, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    emit w.lvInfo->doubleClicked(w.Model().index(0, 0));
    w.btExe->click();
    w.btLive1->click();
    EXPECT_EQ(fakeLauncher.launched.size(), 3u);
    w.cbClear->setChecked(false);
    w.btConnect->click();
    EXPECT_EQ(w.Rows().Count(), 80u);
    w.btClose->click();
    Destroy();
    EXPECT_EQ(test::ReadFile(ConfigPath()), "127.0.0.1\r\n" + sim.PortText() + "\r\n/bin/true\r\n3\r\n");
}

}  // namespace
}  // namespace torvin

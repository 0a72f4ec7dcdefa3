// The window's table at 100,000 rows: filling it from a fetch, selecting all of it
// through the view, and sorting it by each key.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTreeView>
#include <iostream>
#include <memory>

#include "app/Platform.h"
#include "app/TfrmMain.h"
#include "app/TitleModel.h"
#include "cds/TcpClient.h"
#include "tests/support/Process.h"
#include "text/LocalEncoding.h"
#include "titles/Playback.h"

namespace {

using namespace torvin;

class TSilentMessages final : public IMessageBoxes {
public:
    void Show(const std::string&, const std::string&, TIcon) override {}
};
class TNoDialog final : public IFileDialog {
public:
    std::optional<TResult> Open(const TRequest&) override { return std::nullopt; }
};
class TNoLauncher final : public IPlayerLauncher {
public:
    void Launch(const TLaunchRequest&) override {}
};

struct TBenchWindow {
    TBenchWindow() : sim({"--titles", "100000"}) {
        platform = std::make_unique<TPlatform>(
            TPlatform{messages, dialog, launcher, resolver, TLocalEncoding::Utf8(), dir.Path(), limits});
        window = std::make_unique<TfrmMain>(*platform);
        window->edAdress->setText("127.0.0.1");
        window->edPort->setText(QString::fromStdString(sim.PortText()));
        window->resize(768, 481);
        window->show();
    }
    test::TTempDir dir;
    test::TSim sim;
    TSilentMessages messages;
    TNoDialog dialog;
    TNoLauncher launcher;
    TSystemResolver resolver;
    TFetchLimits limits;
    std::unique_ptr<TPlatform> platform;
    std::unique_ptr<TfrmMain> window;
};

std::unique_ptr<TBenchWindow> bench;

TBenchWindow& Window() { return *bench; }

void BM_ConnectFills100000Rows(benchmark::State& state) {
    TfrmMain& w = *Window().window;
    for (auto _ : state) {
        w.GetTitleList(false);
        QCoreApplication::processEvents();
    }
    state.counters["count"] = static_cast<double>(w.Rows().Count());
}

void BM_SelectAll(benchmark::State& state) {
    TfrmMain& w = *Window().window;
    std::size_t selected = 0;
    for (auto _ : state) {
        w.lvInfo->selectAll();
        QCoreApplication::processEvents();
        state.PauseTiming();
        selected = w.lsSelectedOrder().Count();
        w.lvInfo->clearSelection();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["count"] = static_cast<double>(selected);
}

void BM_SortByKey(benchmark::State& state) {
    TfrmMain& w = *Window().window;
    const auto key = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        w.Model().Sort(key > 0 ? -key : key == -1 ? 2 : 1);  // start from another order
        state.ResumeTiming();
        w.Model().Sort(key);
        QCoreApplication::processEvents();
    }
    state.counters["count"] = static_cast<double>(w.Rows().Count());
}

BENCHMARK(BM_ConnectFills100000Rows)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByKey)->DenseRange(1, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByKey)->DenseRange(-6, -1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench = std::make_unique<TBenchWindow>();
    Window().window->GetTitleList(false);
    benchmark::RunSpecifiedBenchmarks();
    bench.reset();
    return 0;
}

// Parsing one page of 100,000 items against the floor of only finding its line ends.
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <iostream>

#include "cds/PageLines.h"
#include "cds/ResponseParser.h"
#include "cds/TitleList.h"
#include "text/Lines.h"
#include "text/LocalEncoding.h"
#include "tools/recorder-sim/Answer.h"
#include "tools/recorder-sim/Catalogue.h"

namespace {

const std::string& Page() {
    static const std::string page = [] {
        auto catalogue = torvin::sim::GenerateCatalogue(100000);
        return torvin::sim::ComposeBrowseAnswer(catalogue, 0, 100000, {});
    }();
    return page;
}

// For reference only: finding the line ends without keeping anything.
void BM_MemchrScanOnly(benchmark::State& state) {
    const std::string& page = Page();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* p = page.data();
        const char* end = p + page.size();
        while (const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
            p = static_cast<const char*>(lf) + 1;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * page.size());
}

// The floor: cutting the page into its list of lines (memchr for the line ends).
void BM_MemchrLineEnds(benchmark::State& state) {
    const std::string& page = Page();
    for (auto _ : state) {
        torvin::TPageLines lines;
        lines.Split(page);
        benchmark::DoNotOptimize(lines.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * page.size());
}

void BM_SplitAndParse(benchmark::State& state) {
    const std::string& page = Page();
    const auto& encoding = state.range(0) ? torvin::TLocalEncoding::Cp932() : torvin::TLocalEncoding::Utf8();
    std::size_t rows = 0;
    for (auto _ : state) {
        torvin::TTitleList list;
        std::int32_t liveId = -1;
        std::int32_t startIndex = 0;
        torvin::TPageLines lines;
        lines.Split(page);
        torvin::TParseTarget target{list, liveId, encoding};
        benchmark::DoNotOptimize(torvin::ParseResponse(lines, startIndex, target));
        rows = list.Count();
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * page.size());
}

BENCHMARK(BM_MemchrScanOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemchrLineEnds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitAndParse)->Arg(0)->ArgName("cp932")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitAndParse)->Arg(1)->ArgName("cp932")->Unit(benchmark::kMillisecond);

class TRatioReporter final : public benchmark::ConsoleReporter {
public:
    TRatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::cout << "page: " << Page().size() << " bytes, 100000 items\n";
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // One line per figure, for scripts/bench: RESULT name value.
    const double floor = reporter.times["BM_MemchrLineEnds"];
    const double megabytes = static_cast<double>(Page().size()) / 1e6;
    std::cout << "RESULT page_mb " << megabytes << "\n";
    std::cout << "RESULT scan_ms " << reporter.times["BM_MemchrScanOnly"] << "\n";
    std::cout << "RESULT floor_ms " << floor << "\n";
    for (const char* name : {"BM_SplitAndParse/cp932:0", "BM_SplitAndParse/cp932:1"}) {
        const double t = reporter.times[name];
        const char* tag = std::string(name).back() == '0' ? "utf8" : "cp932";
        std::cout << "RESULT parse_" << tag << "_ms " << t << "\n";
        std::cout << "RESULT parse_" << tag << "_ratio " << (floor > 0 ? t / floor : 0) << "\n";
    }
    return 0;
}

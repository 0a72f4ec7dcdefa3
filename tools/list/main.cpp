// torvin-list: fetches a recorder's titles exactly as the desktop program does and
// prints them, one row a line.
//   torvin-list [--sort-key K] [--m3u] ADDRESS [PORT]
#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>

#include "cds/BrowseRequest.h"
#include "cds/TcpClient.h"
#include "cds/TitleFetch.h"
#include "cds/TitleList.h"
#include "text/LocalEncoding.h"
#include "text/Numbers.h"
#include "titles/CompareItems.h"
#include "titles/SortKey.h"

namespace {

const char* const kUsage = "usage: torvin-list [--sort-key K] [--m3u] ADDRESS [PORT]\n";

class TListObserver final : public torvin::IFetchObserver {
public:
    explicit TListObserver(torvin::TTitleList& r) : rows(r) {}
    void SortTable() override { torvin::SortTitles(rows, torvin::sortKey); }

private:
    torvin::TTitleList& rows;
};

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::string sortKeyText;
    bool haveSortKey = false;
    bool m3u = false;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--m3u") {
            m3u = true;
        } else if (arg == "--sort-key") {
            if (i + 1 >= argc) {
                std::cerr << kUsage;
                return 2;
            }
            sortKeyText = argv[++i];
            haveSortKey = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-' && arg.rfind("--", 0) == 0) {
            std::cerr << "torvin-list: unknown option " << arg << "\n" << kUsage;
            return 2;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty() || positional.size() > 2) {
        std::cerr << kUsage;
        return 2;
    }
    torvin::sortKey = haveSortKey ? torvin::IntOrDefault(sortKeyText, 2) : 2;

    const torvin::TLocalEncoding& encoding = torvin::TLocalEncoding::FromLocale();
    torvin::TTitleList rows;
    std::int32_t liveId = -1;
    torvin::TSystemResolver resolver;
    torvin::TTcpClient client(resolver);
    torvin::TTitleFetch fetch(rows, liveId, encoding, client);
    TListObserver observer(rows);
    const torvin::TFetchInputs inputs{positional[0], positional.size() > 1 ? positional[1] : "51001",
                                      torvin::kBrowseBodyTemplate};
    const torvin::TFetchReport report = fetch.GetTitleList(false, inputs, observer);

    std::string out;
    for (std::size_t i = 0; i < rows.Count(); ++i) {
        const torvin::TTitleRow& row = rows[i];
        if (m3u) {
            out += row.SubItem(5);
            out += "\r\n";
            continue;
        }
        out += row.caption;
        for (std::size_t k = 0; k < 6; ++k) {
            out += '\t';
            out += row.SubItem(k);
        }
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);

    if (report.outcome != torvin::TFetchOutcome::Complete) {
        std::cerr << "torvin-list: fetch from " << report.detail << " (" << torvin::Describe(report.outcome)
                  << ")\n";
        return 1;
    }
    return 0;
}

#include "tools/recorder-sim/Catalogue.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace torvin::sim {

namespace {

const char* const kJapanese[] = {
    "ニュース", "天気予報", "ドラマ", "映画", "アニメ", "音楽の時間", "料理番組", "旅の記録",
    "大河ドラマ", "ドキュメンタリー", "将棋", "サッカー中継", "野球", "朝の連続テレビ小説",
    "科学の不思議", "日本の城", "鉄道の旅", "世界遺産", "時代劇", "お笑い", "歌謡祭", "特集",
};
const char* const kAscii[] = {
    "News & Weather", "Tom & Jerry", "<Live> Concert", "\"Classic\" Movie", "Rock'n'Roll",
    "A<B Quiz", "Q&A Night", "Sports", "Talk Show", "Jazz", "F1 Grand Prix", "BBC World",
};
const char* const kChannels[] = {
    "NHK総合", "NHK Eテレ", "日本テレビ", "テレビ朝日", "TBS", "テレビ東京", "フジテレビ",
    "BS1", "BSプレミアム", "Channel 8", "放送大学", "TOKYO MX",
};

template <typename T, std::size_t N>
const char* Pick(std::mt19937& rng, T (&list)[N]) {
    return list[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

}  // namespace

std::vector<TRecording> GenerateCatalogue(int count, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<TRecording> out;
    out.reserve(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) {
        TRecording r;
        const int form = std::uniform_int_distribution<int>(0, 3)(rng);
        if (form == 0) r.title = Pick(rng, kAscii);
        else if (form == 1) r.title = std::string(Pick(rng, kJapanese)) + " " + Pick(rng, kAscii);
        else r.title = std::string(Pick(rng, kJapanese)) + "「" + Pick(rng, kJapanese) + "」";
        r.title += " #" + std::to_string(i + 1);

        char buffer[32];
        const int month = std::uniform_int_distribution<int>(1, 12)(rng);
        const int day = std::uniform_int_distribution<int>(1, 28)(rng);
        const int hour = std::uniform_int_distribution<int>(0, 23)(rng);
        const int minute = std::uniform_int_distribution<int>(0, 3)(rng) * 15;
        const int year = 2003 + std::uniform_int_distribution<int>(0, 4)(rng);
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:00", year, month, day, hour, minute);
        r.dateTime = buffer;

        const int minutes = std::uniform_int_distribution<int>(5, 180)(rng);
        std::snprintf(buffer, sizeof buffer, "%d:%02d:00.000", minutes / 60, minutes % 60);
        r.duration = buffer;
        r.size = std::to_string(static_cast<long long>(minutes) * 60 * 458333 / 8 * 8 +
                                std::uniform_int_distribution<int>(0, 999)(rng));
        r.channel = Pick(rng, kChannels);
        r.recordNo = 1000 + i * 7 + std::uniform_int_distribution<int>(0, 6)(rng);
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<TRecording> ReadCatalogue(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read catalogue " + path);
    std::vector<TRecording> out;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, '\t')) fields.push_back(field);
        if (fields.size() != 6) {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": expected 6 fields");
        }
        TRecording r{fields[0], fields[1], fields[2], fields[3], fields[4], 0};
        try {
            r.recordNo = std::stoi(fields[5]);
        } catch (const std::exception&) {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": bad recording number");
        }
        out.push_back(std::move(r));
    }
    return out;
}

}  // namespace torvin::sim

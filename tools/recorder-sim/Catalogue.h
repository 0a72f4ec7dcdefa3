#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torvin::sim {

// One recording as the simulated recorder keeps it (UTF-8 texts, unescaped).
struct TRecording {
    std::string title;
    std::string dateTime;  // 2004-06-30T19:00:00
    std::string size;      // bytes, decimal
    std::string duration;  // 1:00:00.000
    std::string channel;
    std::int32_t recordNo = 0;
};

// A realistic catalogue: Japanese and ASCII titles (with "&", "<" and quotes among
// them), dates, sizes, durations, channels and distinct recording numbers. The same
// count and seed always give the same catalogue.
std::vector<TRecording> GenerateCatalogue(int count, std::uint32_t seed = 1);

// Reads a catalogue file: one recording per line, six TAB-separated fields (title,
// date-time, size, duration, channel, recording number). Empty lines and lines starting
// with "#" are skipped. Throws std::runtime_error on a file it cannot read or a bad line.
std::vector<TRecording> ReadCatalogue(const std::string& path);

}  // namespace torvin::sim

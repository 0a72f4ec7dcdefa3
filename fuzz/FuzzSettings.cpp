// The settings reader on arbitrary file bytes, and what the next save writes.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/Settings.h"
#include "text/Lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/torvin-fuzz-settings-" + std::to_string(getpid()) + ".txt";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const auto lines = torvin::ReadSettingsLines(path);
    if (!lines) std::abort();
    torvin::TSettings settings;
    torvin::ApplySettingsLines(*lines, settings);
    // The next save is four lines, and reading it back gives the same settings.
    const std::string saved = torvin::SettingsBytes(settings);
    const auto again = torvin::SplitLines(saved);
    if (again.size() != 4) std::abort();
    torvin::TSettings back;
    torvin::ApplySettingsLines(again, back);
    if (back.address != settings.address || back.port != settings.port || back.player != settings.player ||
        back.sortKey != settings.sortKey) {
        std::abort();
    }
    return 0;
}

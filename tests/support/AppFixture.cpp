#include "tests/support/AppFixture.h"

#include <QString>
#include <fstream>

namespace torvin::test {

void TAppFixture::WriteConfig(const std::string& bytes) const {
    std::ofstream out(ConfigPath(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TfrmMain& TAppFixture::Create() {
    platform = std::make_unique<TPlatform>(TPlatform{messages, dialog, *launcher, resolver, encoding, exeDir, limits});
    window = std::make_unique<TfrmMain>(*platform);
    return *window;
}

std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace torvin::test

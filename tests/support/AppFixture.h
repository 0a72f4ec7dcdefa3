#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Platform.h"
#include "app/TfrmMain.h"
#include "cds/TcpClient.h"
#include "tests/support/LoopbackResolver.h"
#include "tests/support/Process.h"
#include "text/LocalEncoding.h"
#include "titles/Playback.h"

namespace torvin::test {

struct TShownMessage {
    std::string text;
    std::string caption;
    IMessageBoxes::TIcon icon;
};

// Records message boxes instead of showing them, so no test waits on a modal box.
class TFakeMessages final : public IMessageBoxes {
public:
    void Show(const std::string& text, const std::string& caption, TIcon icon) override {
        shown.push_back({text, caption, icon});
    }
    std::vector<TShownMessage> shown;
};

// Answers the file dialog from a queue; an empty queue means the user cancelled.
class TFakeDialog final : public IFileDialog {
public:
    std::optional<TResult> Open(const TRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<TRequest> requests;
    std::vector<std::optional<TResult>> answers;
};

class TFakeLauncher final : public IPlayerLauncher {
public:
    void Launch(const TLaunchRequest& request) override { launched.push_back(request); }
    std::vector<TLaunchRequest> launched;
};

// A main window on the offscreen platform with its executable directory in a fresh
// temporary directory.
class TAppFixture : public testing::Test {
protected:
    TAppFixture() : exeDir(dir.Path()) {
        limits.connectTimeoutMs = 2000;
        limits.readIdleTimeoutMs = 1000;
    }

    std::string ConfigPath() const { return exeDir + "/config.txt"; }
    void WriteConfig(const std::string& bytes) const;

    TfrmMain& Create();
    void Destroy() { window.reset(); }

    TTempDir dir;
    std::string exeDir;
    TFakeMessages messages;
    TFakeDialog dialog;
    TFakeLauncher fakeLauncher;
    IPlayerLauncher* launcher = &fakeLauncher;
    TLoopbackResolver resolver;
    TFetchLimits limits;
    const TLocalEncoding& encoding = TLocalEncoding::Utf8();
    std::unique_ptr<TPlatform> platform;
    std::unique_ptr<TfrmMain> window;
};

std::string Utf8(const class QString& text);

}  // namespace torvin::test

#pragma once

#include "app/Platform.h"
#include "titles/Playback.h"

class QWidget;

namespace torvin {

class TQtMessageBoxes final : public IMessageBoxes {
public:
    explicit TQtMessageBoxes(const TLocalEncoding& encoding) : encoding(encoding) {}
    void Show(const std::string& text, const std::string& caption, TIcon icon) override;
    QWidget* owner = nullptr;

private:
    const TLocalEncoding& encoding;
};

class TQtFileDialog final : public IFileDialog {
public:
    explicit TQtFileDialog(const TLocalEncoding& encoding) : encoding(encoding) {}
    std::optional<TResult> Open(const TRequest& request) override;
    QWidget* owner = nullptr;

private:
    const TLocalEncoding& encoding;
};

// Starts the player as a program of its own, without a shell: the player path without
// its quotes, and the parameter text as exactly one argument (a quoted playlist path
// without its quotes), so that nothing in a URL is ever split or run.
class TProcessLauncher final : public IPlayerLauncher {
public:
    void Launch(const TLaunchRequest& request) override;
};

// A text that stands between one pair of double quotes, without them.
std::string Unquoted(const std::string& text);

// The directory of the running executable, as bytes.
std::string ExecutableDirectory();

}  // namespace torvin

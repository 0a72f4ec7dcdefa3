#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace torvin {

class IHostResolver;
class IPlayerLauncher;
class TLocalEncoding;
struct TFetchLimits;

// Modal message boxes. Texts are in the local encoding.
class IMessageBoxes {
public:
    enum class TIcon { Information, Warning, Error };
    virtual ~IMessageBoxes() = default;
    virtual void Show(const std::string& text, const std::string& caption, TIcon icon) = 0;
};

// The open-file dialog for choosing the player program.
class IFileDialog {
public:
    struct TRequest {
        std::string title;
        std::vector<std::string> filters;  // display names with their patterns, "name(pattern)"
        std::string fileName;              // where the dialog starts
        int filterIndex = 0;
    };
    struct TResult {
        std::string fileName;
        int filterIndex = 0;
    };
    virtual ~IFileDialog() = default;
    // The confirmed choice, or nothing when the user cancels.
    virtual std::optional<TResult> Open(const TRequest& request) = 0;
};

// Everything outside the window that the window works with.
struct TPlatform {
    IMessageBoxes& messages;
    IFileDialog& fileDialog;
    IPlayerLauncher& launcher;
    IHostResolver& resolver;
    const TLocalEncoding& encoding;
    std::string exeDir;  // the directory of the running executable
    const TFetchLimits& limits;
};

}  // namespace torvin

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/ErrorText.h"
#include "app/Settings.h"
#include "tests/support/Process.h"
#include "text/LocalEncoding.h"

namespace torvin {
namespace {

using test::ReadFile;
using test::TTempDir;

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(Settings, WritesFourCrLfLines) {
    EXPECT_EQ(SettingsBytes({"192.168.0.10", "51001", "C:\\Tools\\vlc.exe", -3}),
              "192.168.0.10\r\n51001\r\nC:\\Tools\\vlc.exe\r\n-3\r\n");
    EXPECT_EQ(SettingsBytes({"192.168.0.10", "51001", "C:\\Tools\\vlc.exe", -3}).size(), 43u);
    EXPECT_EQ(SettingsBytes({"", "", "", 2}), "\r\n\r\n\r\n2\r\n");

    TTempDir dir;
    const std::string path = SettingsPath(dir.Path());
    EXPECT_EQ(path, dir.Path() + "/config.txt");
    WriteSettingsFile(path, {"192.168.0.10", "51001", "C:\\Tools\\vlc.exe", -3});
    EXPECT_EQ(ReadFile(path), "192.168.0.10\r\n51001\r\nC:\\Tools\\vlc.exe\r\n-3\r\n");
    TSettings back;
    ApplySettingsLines(*ReadSettingsLines(path), back);
    EXPECT_EQ(back.address, "192.168.0.10");
    EXPECT_EQ(back.port, "51001");
    EXPECT_EQ(back.player, "C:\\Tools\\vlc.exe");
    EXPECT_EQ(back.sortKey, -3);
}

TEST(Settings, ReadsEveryLayout) {
    struct Case {
        std::string bytes;
        TSettings expected;
    } cases[] = {
        {"", {"192.168.", "51001", "", 2}},
        {"a\nb\nc\n-4\n", {"a", "b", "c", -4}},
        {"a\rb\rc\r$A\r", {"a", "b", "c", 10}},
        {"a\n\rb\n\rc", {"a", "", "b", 2}},            // LF CR: an empty line after each
        {std::string("a\r\nb\0x\r\nc\r\n5\r\n", 14), {"a", "b", "", 2}},  // NUL ends the text
        {"only", {"only", "51001", "", 2}},
        {"a\r\nb\r\nc\r\n3\r\nfive\r\nsix\r\n", {"a", "b", "c", 3}},
        {"\r\n\r\n\r\n\r\n", {"", "", "", 2}},
        {"a\r\nb\r\nc\r\nabc\r\n", {"a", "b", "c", 2}},
        {"a\r\nb\r\nc\r\n3 \r\n", {"a", "b", "c", 2}},
        {"a\r\nb\r\nc\r\n12345678901\r\n", {"a", "b", "c", 2}},
        {"a\r\nb\r\nc\r\n 3\r\n", {"a", "b", "c", 3}},
        {" lead\r\n", {" lead", "51001", "", 2}},         // nothing is trimmed
        {"\xEF\xBB\xBFx\r\n", {"\xEF\xBB\xBFx", "51001", "", 2}},  // a BOM stays in the address
        {"a\r\nb\r\nc\r\n7", {"a", "b", "c", 7}},          // last line without a line end
    };
    TTempDir dir;
    const std::string path = SettingsPath(dir.Path());
    for (const auto& c : cases) {
        Write(path, c.bytes);
        TSettings s;
        auto lines = ReadSettingsLines(path);
        ASSERT_TRUE(lines.has_value());
        ApplySettingsLines(*lines, s);
        EXPECT_EQ(s.address, c.expected.address) << testing::PrintToString(c.bytes);
        EXPECT_EQ(s.port, c.expected.port) << testing::PrintToString(c.bytes);
        EXPECT_EQ(s.player, c.expected.player) << testing::PrintToString(c.bytes);
        EXPECT_EQ(s.sortKey, c.expected.sortKey) << testing::PrintToString(c.bytes);
    }
}

TEST(Settings, NoFileOrADirectoryReadsAsNoSettings) {
    TTempDir dir;
    EXPECT_FALSE(ReadSettingsLines(SettingsPath(dir.Path())).has_value());
    std::filesystem::create_directory(SettingsPath(dir.Path()));
    EXPECT_FALSE(ReadSettingsLines(SettingsPath(dir.Path())).has_value());
}

TEST(Settings, SavingNeverHalfWrites) {
    TTempDir dir;
    const std::string path = SettingsPath(dir.Path());
    const std::string cannotCreate = "ファイル " + path + " を作成できません";

    // A read-only file stays as it is.
    Write(path, "old\r\n");
    ::chmod(path.c_str(), 0444);
    try {
        WriteSettingsFile(path, {"new", "1", "", 2});
        ADD_FAILURE() << "saved over a read-only file";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(e.what(), cannotCreate);
    }
    EXPECT_EQ(ReadFile(path), "old\r\n");
    ::chmod(path.c_str(), 0644);
    std::filesystem::remove(path);

    // A directory of that name.
    std::filesystem::create_directory(path);
    EXPECT_THROW(WriteSettingsFile(path, {"new", "1", "", 2}), std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    std::filesystem::remove(path);

    // A link to a device whose writes fail.
    std::filesystem::create_symlink("/dev/full", path);
    try {
        WriteSettingsFile(path, {"new", "1", "", 2});
        ADD_FAILURE() << "writing to /dev/full succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "ストリームへの書き込みエラー");
    }
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    std::filesystem::remove(path);

    // A link to a regular file is written through; the link stays.
    const std::string elsewhere = dir.Path() + "/real.txt";
    Write(elsewhere, "x");
    std::filesystem::create_symlink(elsewhere, path);
    WriteSettingsFile(path, {"a", "b", "c", 4});
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadFile(elsewhere), "a\r\nb\r\nc\r\n4\r\n");
    std::filesystem::remove(path);

    // A write that fails on a regular file (here: a file size limit of 0 bytes) leaves
    // the earlier content whole and no stray file beside it.
    Write(path, "earlier\r\n");
    pid_t child = fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit none{0, 0};
        ::setrlimit(RLIMIT_FSIZE, &none);
        try {
            WriteSettingsFile(path, {"new", "1", "", 2});
        } catch (const std::runtime_error& e) {
            _exit(std::string(e.what()) == "ストリームへの書き込みエラー" ? 0 : 2);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFile(path), "earlier\r\n");
    EXPECT_EQ(test::ListDir(dir.Path()), (std::vector<std::string>{"config.txt", "real.txt"}));
}

TEST(ErrorDisplayText, AppendsAPeriodAfterGreaterCharacters) {
    struct Case {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Error", "Error."},
        {"ファイル x を作成できません", "ファイル x を作成できません."},
        {"done.", "done."},
        {"(5)", "(5)"},
        {"a,", "a,"},
        {"a/", "a/."},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorDisplayText(c.message, TLocalEncoding::Utf8()), c.shown) << c.message;
    }
    EXPECT_EQ(ErrorDisplayText("\x82\xA0", TLocalEncoding::Cp932()), "\x82\xA0.");
    EXPECT_EQ(ErrorDisplayText("a)", TLocalEncoding::Cp932()), "a)");
}

}  // namespace
}  // namespace torvin

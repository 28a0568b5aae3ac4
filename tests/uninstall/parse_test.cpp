#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_path.h"
#include "install_log.h"
#ifndef _WIN32
#include "xdg_user_dirs.h"
#endif

namespace ondrix::uninstall {
namespace {

using namespace std::string_literals;
using Entries = std::vector<std::string>;

TEST(SplitLog, SplitsAtEveryLineEndAndKeepsEntriesAsTheyStand) {
    const struct {
        std::string bytes;
        Entries entries;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"\n\n\n", {"", "", ""}},
        {"a\r", {"a"}},
        {"a\0b\r\nc"s, {"a"}},
        {"\0a"s, {}},
        {"a\r\0\nb"s, {"a"}},
        {"\xEF\xBB\xBF"
         "a\r\nb",
         {"\xEF\xBB\xBF"
          "a",
          "b"}},
        {" a \t\r\n a", {" a \t", " a"}},
        {"a\r\na\r\n\r\na", {"a", "a", "", "a"}},
        {"\xFF\x80\r\n", {"\xFF\x80"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitLog(c.bytes), c.entries) << testing::PrintToString(c.bytes);
    }
}

TEST(SplitEntry, TakesTheEntryApartAndRefusesPathsLeavingTheFolder) {
    const auto none = std::optional<EntryParts>();
    using Folders = std::vector<std::string>;
    const struct {
        PathStyle style;
        std::string entry;
        std::optional<EntryParts> parts;
    } cases[] = {
        {PathStyle::Posix, "a.txt", EntryParts{{}, "a.txt"}},
        {PathStyle::Posix, "sub\\b.txt", EntryParts{Folders{"sub"}, "b.txt"}},
        {PathStyle::Posix, "a\\b c\\d.txt", EntryParts{Folders{"a", "b c"}, "d.txt"}},
        {PathStyle::Posix, "a.txt ", EntryParts{{}, "a.txt "}},
        {PathStyle::Posix, " sub \\ x", EntryParts{Folders{" sub "}, " x"}},
        {PathStyle::Posix, ".\\a", EntryParts{{}, "a"}},
        {PathStyle::Posix, "sub\\\\.\\a", EntryParts{Folders{"sub"}, "a"}},
        {PathStyle::Posix, "...", EntryParts{{}, "..."}},
        {PathStyle::Posix, "..a", EntryParts{{}, "..a"}},
        {PathStyle::Posix, "C:\\x", EntryParts{Folders{"C:"}, "x"}},
        {PathStyle::Posix, "", none},
        {PathStyle::Posix, "sub\\", none},
        {PathStyle::Posix, "sub\\.", none},
        {PathStyle::Posix, ".", none},
        {PathStyle::Posix, "..\\outside.txt", none},
        {PathStyle::Posix, "sub\\..\\..\\x", none},
        {PathStyle::Posix, "sub/..", none},
        {PathStyle::Posix, "/etc/passwd", none},
        {PathStyle::Posix, "\\etc\\passwd", none},
        {PathStyle::Windows, "sub\\b.txt", EntryParts{Folders{"sub"}, "b.txt"}},
        {PathStyle::Windows, "a/b\\c", EntryParts{Folders{"a", "b"}, "c"}},
        {PathStyle::Windows, "a.txt ", EntryParts{{}, "a.txt "}},
        {PathStyle::Windows, "...x", EntryParts{{}, "...x"}},
        {PathStyle::Windows, "sub\\", none},
        {PathStyle::Windows, "C:\\x", none},
        {PathStyle::Windows, "C:x", none},
        {PathStyle::Windows, "\\\\server\\share\\x", none},
        {PathStyle::Windows, "\\x", none},
        {PathStyle::Windows, "..\\x", none},
        {PathStyle::Windows, "sub/../../x", none},
        {PathStyle::Windows, "sub\\...\\x", none},
        {PathStyle::Windows, ". .\\x", none},
        {PathStyle::Windows, ".. \\x", none},
        // Longer than any path, or holding a NUL: no file has such a name.
        {PathStyle::Posix, std::string(4096, 'a'), EntryParts{{}, std::string(4096, 'a')}},
        {PathStyle::Posix, std::string(4097, 'a'), none},
        {PathStyle::Windows, std::string(32767, 'a'), EntryParts{{}, std::string(32767, 'a')}},
        {PathStyle::Windows, std::string(32768, 'a'), none},
        {PathStyle::Posix, "a\0b"s, none},
        {PathStyle::Windows, "sub\\a\0b"s, none},
    };
    for (const auto& c : cases) {
        const auto parts = SplitEntry(c.entry, c.style);
        ASSERT_EQ(parts.has_value(), c.parts.has_value())
            << c.entry << (c.style == PathStyle::Posix ? " (posix)" : " (windows)");
        if (!parts) continue;
        EXPECT_EQ(parts->folders, c.parts->folders) << c.entry;
        EXPECT_EQ(parts->name, c.parts->name) << c.entry;
    }
}

TEST(IsLocation, AcceptsOnlyFullPathsWithoutControlCharacters) {
    const struct {
        PathStyle style;
        const char* path;
        bool full;  // names a folder
    } cases[] = {
        {PathStyle::Posix, "/home/me/Desktop", true},
        {PathStyle::Posix, "/", true},
        {PathStyle::Posix, "", false},
        {PathStyle::Posix, "Desktop", false},
        {PathStyle::Posix, "./Desktop", false},
        {PathStyle::Windows, "C:\\Users\\me\\Desktop", true},
        {PathStyle::Windows, "d:/x", true},
        {PathStyle::Windows, "\\\\server\\share", true},
        {PathStyle::Windows, "", false},
        {PathStyle::Windows, "Desktop", false},
        {PathStyle::Windows, "\\Desktop", false},
        {PathStyle::Windows, "C:Desktop", false},
        {PathStyle::Windows, "C:", false},
        {PathStyle::Posix, "/home/me/Desk\ttop", false},
        {PathStyle::Posix, "/home/me/x\n", false},
        {PathStyle::Posix, "/home/me/\x7F", false},
        {PathStyle::Posix, "/home/m\xC3\xA9/Bureau", true},
        {PathStyle::Windows, "C:\\Users\\\x01", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsLocation(c.path, c.style), c.full) << c.path;
    }
}

#ifndef _WIN32
TEST(UserDirFromConfig, ReadsTheDesktopLine) {
    const auto none = std::optional<std::string>();
    const struct {
        std::string text;
        std::string home;
        std::optional<std::string> dir;
    } cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "/h", "/h/Desktop"},
        {"# comment\nXDG_DOWNLOAD_DIR=\"$HOME/D\"\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "/h",
         "/h/Schreibtisch"},
        {"  XDG_DESKTOP_DIR = \"/srv/desk\"  # mine\r\n", "/h", "/srv/desk"},
        {"XDG_DESKTOP_DIR=\"$HOME/My \\\"Desk\\\\\"\n", "/h", "/h/My \"Desk\\"},
        {"XDG_DESKTOP_DIR=\"$HOME\"", "/h", "/h"},
        {"XDG_DESKTOP_DIR=\"$HOME/a\"\nXDG_DESKTOP_DIR=\"$HOME/b\"\n", "/h", "/h/b"},
        {"XDG_DESKTOP_DIR=\"$HOME/a\"\nXDG_DESKTOP_DIR=\"relative\"\n", "/h", "/h/a"},
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "", none},
        {"XDG_DESKTOP_DIR=\"$HOMEX/Desktop\"\n", "/h", none},
        {"XDG_DESKTOP_DIR=\"/unterminated\n", "/h", none},
        {"XDG_DESKTOP_DIR=/unquoted\n", "/h", none},
        {"#XDG_DESKTOP_DIR=\"/commented\"\n", "/h", none},
        {"XDG_DESKTOP_DIRS=\"/other\"\n", "/h", none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UserDirFromConfig(c.text, "XDG_DESKTOP_DIR", c.home), c.dir) << c.text;
    }
}
#endif

}  // namespace
}  // namespace ondrix::uninstall

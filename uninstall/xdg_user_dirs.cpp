#include "xdg_user_dirs.h"

namespace ondrix::uninstall {
namespace {

void SkipBlanks(std::string_view& s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
}

bool Consume(std::string_view& s, std::string_view prefix) {
    if (!s.starts_with(prefix)) return false;
    s.remove_prefix(prefix.size());
    return true;
}

// The folder one line sets for `key`, if it is in the expected form.
std::optional<std::string> ParseLine(std::string_view line, std::string_view key,
                                     std::string_view home) {
    SkipBlanks(line);
    if (!Consume(line, key)) return std::nullopt;
    SkipBlanks(line);
    if (!Consume(line, "=")) return std::nullopt;
    SkipBlanks(line);
    if (!Consume(line, "\"")) return std::nullopt;

    std::string value;
    bool closed = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            closed = true;
            break;
        }
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        value += line[i];
    }
    if (!closed) return std::nullopt;

    std::string_view rest(value);
    if (Consume(rest, "$HOME")) {
        if (home.empty() || !(rest.empty() || rest.front() == '/')) return std::nullopt;
        return std::string(home) + std::string(rest);
    }
    if (!rest.starts_with('/')) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> UserDirFromConfig(std::string_view text, std::string_view key,
                                             std::string_view home) {
    std::optional<std::string> found;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (auto dir = ParseLine(line, key, home)) found = std::move(dir);
    }
    return found;
}

}  // namespace ondrix::uninstall

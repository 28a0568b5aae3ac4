#include "script/symbols.h"

#include "script/ascii.h"
#include "script/builtins.h"

namespace ondrix::script {

std::uint32_t SymbolTable::Intern(std::string_view name) {
    std::string key = AsciiLowerCopy(name);
    auto it = index_.find(key);
    if (it != index_.end()) return it->second;
    auto index = static_cast<std::uint32_t>(symbols_.size());
    Symbol& s = symbols_.emplace_back();
    s.name = std::string(name);
    s.builtin = FindBuiltin(key);
    index_.emplace(std::move(key), index);
    return index;
}

void SymbolTable::Clear() {
    symbols_.clear();
    index_.clear();
}

}  // namespace ondrix::script

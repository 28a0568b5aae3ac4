#pragma once

// The script-global names: variables, user procedures and built-ins, found by
// name ignoring case. Entries never move, so code can hold their indices and
// ByRef arguments can point at their values.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "script/value.h"

namespace ondrix::script {

struct Builtin;
struct Procedure;

struct Symbol {
    std::string name;  // as first written
    Value value;
    bool defined = false;  // assigned or Dim'd at the global level
    std::shared_ptr<const Procedure> procedure;
    const Builtin* builtin = nullptr;
};

class SymbolTable {
  public:
    // The index of the name, adding it when new.
    std::uint32_t Intern(std::string_view name);
    Symbol& operator[](std::uint32_t index) { return symbols_[index]; }
    void Clear();

  private:
    std::deque<Symbol> symbols_;
    std::unordered_map<std::string, std::uint32_t> index_;  // lower-case name
};

}  // namespace ondrix::script

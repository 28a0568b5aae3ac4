#pragma once

// The names of one scope while it is being parsed: the global level, or one
// procedure body. Bindings are created on first use and settled by Finish(),
// once every Dim and assignment of the scope has been seen.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/ast.h"
#include "script/symbols.h"

namespace ondrix::script {

class Scope {
  public:
    // procedure is null for the global level.
    Scope(SymbolTable& symbols, std::vector<std::unique_ptr<NameBinding>>& owner,
          Procedure* procedure);

    bool IsGlobal() const { return procedure_ == nullptr; }
    const Procedure* procedure() const { return procedure_; }

    // A name read or called.
    const NameBinding* Use(std::string_view name) { return Find(name).binding; }
    // A name assigned to.
    const NameBinding* Assign(std::string_view name);
    // A parameter or a Dim: a local of the procedure (a global at the top).
    const NameBinding* Declare(std::string_view name);

    // Settles every binding's kind and slot; returns the slot count.
    std::uint32_t Finish();

  private:
    struct Entry {
        NameBinding* binding = nullptr;
        bool declared = false;
        bool assigned = false;
    };
    Entry& Find(std::string_view name);

    SymbolTable& symbols_;
    std::vector<std::unique_ptr<NameBinding>>& owner_;
    Procedure* procedure_;
    std::unordered_map<std::string, Entry> names_;  // lower-case name
    std::uint32_t nextSlot_ = 1;                    // slot 0 is the result
};

}  // namespace ondrix::script

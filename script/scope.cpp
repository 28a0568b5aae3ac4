#include "script/scope.h"

#include "script/ascii.h"

namespace ondrix::script {

Scope::Scope(SymbolTable& symbols, std::vector<std::unique_ptr<NameBinding>>& owner,
             Procedure* procedure)
    : symbols_(symbols), owner_(owner), procedure_(procedure) {
    if (procedure_ && procedure_->isFunction) {
        Entry& e = Find(procedure_->name);
        e.binding->kind = NameBinding::Kind::kResult;
        e.binding->slot = 0;
        e.declared = true;
    }
}

Scope::Entry& Scope::Find(std::string_view name) {
    Entry& e = names_[AsciiLowerCopy(name)];
    if (!e.binding) {
        owner_.push_back(std::make_unique<NameBinding>());
        e.binding = owner_.back().get();
        e.binding->symbol = symbols_.Intern(name);
    }
    return e;
}

const NameBinding* Scope::Assign(std::string_view name) {
    Entry& e = Find(name);
    e.assigned = true;
    return e.binding;
}

const NameBinding* Scope::Declare(std::string_view name) {
    Entry& e = Find(name);
    if (procedure_ && !e.declared) {
        e.declared = true;
        e.binding->kind = NameBinding::Kind::kLocal;
        e.binding->slot = nextSlot_++;
    }
    return e.binding;
}

std::uint32_t Scope::Finish() {
    if (!procedure_) return 0;
    for (auto& [key, e] : names_) {
        if (e.declared) continue;
        e.binding->kind = e.assigned ? NameBinding::Kind::kImplicit : NameBinding::Kind::kGlobal;
        if (e.assigned) e.binding->slot = nextSlot_++;
    }
    return nextSlot_;
}

}  // namespace ondrix::script

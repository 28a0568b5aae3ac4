#pragma once

// The interpreter's state: globals, the procedure frames, the engine's
// settings, the random-number seed and the bounds of the current call.

#include <cstdint>
#include <memory>
#include <vector>

#include "script/ast.h"
#include "script/context.h"
#include "script/errors.h"
#include "script/limits.h"
#include "script/symbols.h"
#include "script/value.h"

namespace ondrix::script {

// VBScript's Rnd generator: a 24-bit linear congruential sequence.
struct RandomState {
    static constexpr std::uint32_t kInitialSeed = 0x50000;
    std::uint32_t seed = kInitialSeed;
};

// The slots of one running procedure. A ByRef parameter is an alias to the
// caller's variable instead of a slot of its own.
struct Frame {
    std::vector<Value> slots;
    std::vector<Value*> alias;
    Value& Slot(std::uint32_t i) { return alias[i] ? *alias[i] : slots[i]; }
};

class Runtime {
  public:
    SymbolTable symbols;
    Context context;
    RandomState random;

    // Bounds of the current AddCode or Eval call.
    int depth = 0;
    std::uint64_t stepsLeft = 0;

    // The running procedure, null at the global level.
    Frame* frame = nullptr;
    const Procedure* procedure = nullptr;

    void BeginCall() {
        depth = 0;
        stepsLeft = context.stepLimit;
        frame = nullptr;
        procedure = nullptr;
        framesInUse_ = 0;
    }

    void Clear() {
        symbols.Clear();
        random = RandomState{};
        framePool_.clear();
        BeginCall();
    }

    // Frames are reused in call order so that a call allocates nothing once
    // the pool is warm.
    Frame& AcquireFrame(std::uint32_t slotCount) {
        if (framesInUse_ == framePool_.size()) framePool_.push_back(std::make_unique<Frame>());
        Frame& f = *framePool_[framesInUse_++];
        f.slots.assign(slotCount, Value());
        f.alias.assign(slotCount, nullptr);
        return f;
    }
    void ReleaseFrame() {
        Frame& f = *framePool_[--framesInUse_];
        f.slots.clear();
    }

  private:
    std::vector<std::unique_ptr<Frame>> framePool_;
    std::size_t framesInUse_ = 0;
};

// Gives a script-global variable its value, as the statement "name = value"
// does: error 501 "Illegal assignment" when the name is a procedure.
inline void AssignGlobal(Symbol& s, Value&& value) {
    if (s.procedure) RaiseNamed(kIllegalAssignment, s.name);
    s.value = std::move(value);
    s.defined = true;
}

// Counts one level of evaluation depth and one step of work; raises error 28
// "Out of stack space" beyond either bound.
class StepGuard {
  public:
    explicit StepGuard(Runtime& rt) : rt_(rt) {
        if (rt.depth >= limits::kMaxEvalDepth || rt.stepsLeft == 0) Raise(kOutOfStackSpace);
        ++rt.depth;
        --rt.stepsLeft;
    }
    ~StepGuard() { --rt_.depth; }
    StepGuard(const StepGuard&) = delete;
    StepGuard& operator=(const StepGuard&) = delete;

  private:
    Runtime& rt_;
};

}  // namespace ondrix::script

#pragma once

#include "earthing.h"

#include <cstddef>
#include <deque>
#include <optional>

// The undo and redo of the inputs: the inputs as they were before each of the user's last actions
// that changed them (a reset, an applied fit, survey or measurement, an opened file), and the inputs
// that undo left behind, to go forward to again. Typing in a field is no step of it.
class TInputHistory {
  public:
    // The most steps kept on either side; the oldest goes first.
    static constexpr std::size_t kDefaultDepth = 50;

    explicit TInputHistory(std::size_t depth = kDefaultDepth);

    // An action took the inputs from `before` to `after`: `before` becomes the step undo brings
    // back, and nothing can be redone any more. An action that changed nothing is no step.
    void Record(const TEarthingInput& before, const TEarthingInput& after);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }

    // The inputs to bring back, given those the window holds now (which redo then brings back
    // again); none when there is nothing to undo. A step equal to the inputs now would change
    // nothing: it is passed over.
    std::optional<TEarthingInput> Undo(const TEarthingInput& current);
    // The inputs undo left behind, given those the window holds now (which undo then brings back).
    std::optional<TEarthingInput> Redo(const TEarthingInput& current);

  private:
    std::deque<TEarthingInput> undo_, redo_; // the latest step at the back
    std::size_t depth_;
};

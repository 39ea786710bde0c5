#include "input_history.h"

#include <algorithm>

namespace {

// Takes the latest step that differs from the inputs now off `from` and keeps the inputs now on
// `to`, within the depth.
std::optional<TEarthingInput> Move(std::deque<TEarthingInput>& from, std::deque<TEarthingInput>& to,
                                   const TEarthingInput& current, std::size_t depth) {
    while (!from.empty() && from.back() == current)
        from.pop_back();
    if (from.empty())
        return std::nullopt;
    TEarthingInput step = std::move(from.back());
    from.pop_back();
    to.push_back(current);
    if (to.size() > depth)
        to.pop_front();
    return step;
}

} // namespace

TInputHistory::TInputHistory(std::size_t depth) : depth_(std::max<std::size_t>(depth, 1)) {}

void TInputHistory::Record(const TEarthingInput& before, const TEarthingInput& after) {
    if (before == after)
        return;
    undo_.push_back(before);
    if (undo_.size() > depth_)
        undo_.pop_front();
    redo_.clear();
}

std::optional<TEarthingInput> TInputHistory::Undo(const TEarthingInput& current) {
    return Move(undo_, redo_, current, depth_);
}

std::optional<TEarthingInput> TInputHistory::Redo(const TEarthingInput& current) {
    return Move(redo_, undo_, current, depth_);
}

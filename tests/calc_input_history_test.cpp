// The undo and redo of the inputs: steps back and forth, what is no step, the redo side forgotten
// by a new step, and the bounded depth.
#include "input_history.h"
#include "worked_examples.h"

#include <gtest/gtest.h>

namespace {

// Inputs told apart by the rod count and the upper soil text.
TEarthingInput Inputs(int32_t number, std::u16string top = u"Суглинок") {
    TEarthingInput in = FirstExample();
    in.Number = number;
    in.TopLayer = std::move(top);
    return in;
}

TEST(InputHistory, UndoAndRedoWalkTheStepsBothWays) {
    const TEarthingInput a = Inputs(1), b = Inputs(2), c = Inputs(3, u"Песок");
    TInputHistory history;
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Undo(a), std::nullopt);
    history.Record(a, b);
    history.Record(b, c);
    EXPECT_TRUE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());

    EXPECT_EQ(history.Undo(c), b);
    EXPECT_EQ(history.Undo(b), a);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Undo(a), std::nullopt);
    EXPECT_EQ(history.Redo(a), b);
    EXPECT_EQ(history.Redo(b), c);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Redo(c), std::nullopt);
    EXPECT_EQ(history.Undo(c), b);
}

// Typing between the steps is no step of its own: undo leaves the typed inputs for redo.
TEST(InputHistory, TypedInputsAreWhatRedoBringsBack) {
    const TEarthingInput a = Inputs(1), reset = Inputs(2), typed = Inputs(7);
    TInputHistory history;
    history.Record(a, reset);
    EXPECT_EQ(history.Undo(typed), a);
    EXPECT_EQ(history.Redo(a), typed);
}

// An action that changed nothing records nothing and keeps what can be redone; a step the inputs
// already equal is passed over; a new step forgets the redo side.
TEST(InputHistory, WhatIsNoStep) {
    const TEarthingInput a = Inputs(1), b = Inputs(2), c = Inputs(3);
    TInputHistory history;
    history.Record(a, b);
    ASSERT_EQ(history.Undo(b), a);
    history.Record(a, a);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(history.CanRedo());
    history.Record(a, c);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Redo(c), std::nullopt);

    TInputHistory typedBack;
    typedBack.Record(a, b);
    typedBack.Record(b, c);
    // The user typed the inputs back to b: undo goes on to a at once.
    EXPECT_EQ(typedBack.Undo(b), a);
    EXPECT_EQ(typedBack.Redo(a), b);
    EXPECT_EQ(typedBack.Undo(a), std::nullopt); // typed back to a: nothing left that would change them
    EXPECT_FALSE(typedBack.CanUndo());
}

// The oldest steps go beyond the depth, on the undo and on the redo side.
TEST(InputHistory, DepthIsBounded) {
    TInputHistory history(3);
    for (int32_t n = 1; n <= 5; ++n)
        history.Record(Inputs(n), Inputs(n + 1));
    int32_t now = 6;
    for (int32_t expected : {5, 4, 3}) {
        const std::optional<TEarthingInput> back = history.Undo(Inputs(now));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->Number, expected);
        now = back->Number;
    }
    EXPECT_EQ(history.Undo(Inputs(now)), std::nullopt);
    for (int32_t expected : {4, 5, 6}) {
        const std::optional<TEarthingInput> forward = history.Redo(Inputs(now));
        ASSERT_TRUE(forward);
        EXPECT_EQ(forward->Number, expected);
        now = forward->Number;
    }
    EXPECT_FALSE(history.CanRedo());

    TInputHistory full;
    for (int32_t n = 1; n <= 60; ++n)
        full.Record(Inputs(n), Inputs(n + 1));
    int32_t undone = 0;
    now = 61;
    while (const std::optional<TEarthingInput> back = full.Undo(Inputs(now))) {
        now = back->Number;
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int32_t>(TInputHistory::kDefaultDepth));
}

} // namespace

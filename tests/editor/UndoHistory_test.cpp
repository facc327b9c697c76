#include "editor/UndoHistory.h"

#include <gtest/gtest.h>

#include <string>

namespace zozuz {
namespace {

using Kind = UndoHistory::Kind;

UndoHistory::Step step(Kind kind, UndoHistory::Pos position, std::string removed, std::string inserted) {
    UndoHistory::Step s;
    s.kind = kind;
    s.position = position;
    s.removed = std::move(removed);
    s.inserted = std::move(inserted);
    return s;
}

void record(UndoHistory& history, UndoHistory::Step s) {
    history.reserveOne();
    history.record(std::move(s));
    history.checkInvariants();
}

TEST(UndoHistory, ContinuedTypingAndDeletingJoinTheirStep) {
    UndoHistory history;
    EXPECT_FALSE(history.canUndo());
    record(history, step(Kind::Typing, 4, "old", "a"));  // typed over a selection
    record(history, step(Kind::Typing, 5, "", "\xC4\xE3"));
    record(history, step(Kind::Typing, 7, "", "b"));
    EXPECT_EQ(history.stepToUndo().removed, "old");
    EXPECT_EQ(history.stepToUndo().inserted, "a\xC4\xE3" "b");

    record(history, step(Kind::DeleteBackward, 7, "b", ""));
    record(history, step(Kind::DeleteBackward, 5, "\xC4\xE3", ""));
    EXPECT_EQ(history.stepToUndo().position, 5);
    EXPECT_EQ(history.stepToUndo().removed, "\xC4\xE3" "b");

    record(history, step(Kind::DeleteForward, 2, "x", ""));
    record(history, step(Kind::DeleteForward, 2, "y", ""));
    EXPECT_EQ(history.stepToUndo().removed, "xy");
}

TEST(UndoHistory, BreaksEditsElsewhereAndUndoStartNewSteps) {
    UndoHistory history;
    record(history, step(Kind::Typing, 0, "", "a"));
    record(history, step(Kind::Typing, 1, "", "\r\n"));  // a line break is a step of its own
    record(history, step(Kind::Typing, 9, "", "c"));     // somewhere else
    record(history, step(Kind::Other, 10, "", "d"));     // a paste
    history.undone();
    history.checkInvariants();
    EXPECT_TRUE(history.canRedo());
    record(history, step(Kind::Typing, 10, "", "e"));    // after an undo: no joining, redo is gone
    EXPECT_FALSE(history.canRedo());
    history.undone();
    history.undone();
    history.redone();
    history.checkInvariants();
    record(history, step(Kind::Typing, 10, "", "f"));    // after a redo: no joining either
    EXPECT_EQ(history.stepToUndo().inserted, "f");
    int steps = 0;
    while (history.canUndo()) {
        history.undone();
        ++steps;
    }
    EXPECT_EQ(steps, 4);  // a, CR LF, c and f
    history.clear();
    EXPECT_FALSE(history.canRedo());
    history.checkInvariants();
}

}  // namespace
}  // namespace zozuz

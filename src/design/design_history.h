// The undo history of the one design record for a run of the program: whole snapshots of
// the record, the oldest dropped past a bound. Plain data, no Windows header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "design/card_design.h"

class DesignHistory {
public:
    // Steps kept for undo; a step past them drops the oldest.
    static constexpr std::size_t kStepLimit = 100;
    // A keyboard run: steps with the same run key less than this apart are one step.
    static constexpr std::int64_t kRunPauseMs = 1000;

    DesignHistory();

    // Forgets every step; `now` is the design as recorded.
    void Reset(const CardDesign& now);

    // Ends a user action: when `now` differs from the recorded design (the screen-only
    // options and the sheet grid apart, see KeepUnrecorded) the recorded design becomes an
    // undo step, `now` the recorded design, and the redo steps are dropped. run != 0 marks
    // a keyboard run: a commit with the same run as the last step, at most kRunPauseMs
    // after the commit before it (time_ms, any monotonic clock), joins that step instead.
    // Returns true when `now` differed.
    bool Commit(const CardDesign& now, unsigned run = 0, std::int64_t time_ms = 0);

    // Takes `now` as the recorded design without a step: what saving writes into the
    // design (the name it was saved under) is no change of it.
    void Absorb(const CardDesign& now) { *recorded_ = now; }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }

    // Writes the design before the last step into design (its unrecorded fields kept as
    // they are) and makes it the recorded design; the step becomes a redo step. False, and
    // design untouched, when there is nothing to undo. A change of design not yet committed
    // is committed first, so it is the one undone.
    bool Undo(CardDesign& design);
    // The undone step reapplied, likewise; false when there is nothing to redo (also after
    // a change not yet committed, which as a new step drops the redo steps).
    bool Redo(CardDesign& design);

    const CardDesign& Recorded() const { return *recorded_; }
    std::size_t UndoSteps() const { return undo_.size(); }
    std::size_t RedoSteps() const { return redo_.size(); }

    // Memory held by the snapshots, in bytes: at most (2 × kStepLimit + 2) records.
    std::size_t Bytes() const;

private:
    using Snapshot = std::unique_ptr<CardDesign>;
    static void Push(std::vector<Snapshot>& steps, Snapshot snapshot);
    bool Step(std::vector<Snapshot>& from, std::vector<Snapshot>& to, CardDesign& design);

    Snapshot recorded_;
    std::vector<Snapshot> undo_;  // oldest first
    std::vector<Snapshot> redo_;  // the next to redo last
    unsigned last_run_ = 0;
    std::int64_t last_time_ms_ = 0;
};

// What no undo step holds: the screen-only options (the on-screen outlines of the card,
// marks and texts, and the zoom) and the sheet grid that printing sets. Copied from
// `from` into `into`.
void KeepUnrecorded(CardDesign& into, const CardDesign& from);

// True when a and b hold the same bytes apart from what KeepUnrecorded copies.
bool SameRecordedDesign(const CardDesign& a, const CardDesign& b);

// True when a and b load the same pictures: the base, each mark and the face with the
// same file, load mode and use flag (marks and the face are loaded only when used).
bool SamePictureSources(const CardDesign& a, const CardDesign& b);

// The side to show once the main window has stepped from `before` to `after` (stored
// forms) with the back shown or not: the back when only the back changed and it is still
// in use, the front when only the front changed or the back is no longer in use, else the
// side shown.
bool SideOfStep(const CardDesign& before, const CardDesign& after, bool back_shown);

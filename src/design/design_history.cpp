#include "design/design_history.h"

#include <cstring>
#include <type_traits>
#include <utility>

namespace {

// Byte comparison is exact only for a record without padding.
static_assert(std::has_unique_object_representations_v<CardDesign>);

std::unique_ptr<CardDesign> Copy(const CardDesign& design) { return std::make_unique<CardDesign>(design); }

}  // namespace

void KeepUnrecorded(CardDesign& into, const CardDesign& from) {
    into.b_outline = from.b_outline;
    into.m_outline = from.m_outline;
    into.c_outline = from.c_outline;
    into.zoom = from.zoom;
    into.base_cntx = from.base_cntx;
    into.base_cnty = from.base_cnty;
    into.base_px = from.base_px;
    into.base_py = from.base_py;
    into.base_spx = from.base_spx;
    into.base_spy = from.base_spy;
    std::memcpy(into.sheet_preset, from.sheet_preset, sizeof(into.sheet_preset));
}

bool SameRecordedDesign(const CardDesign& a, const CardDesign& b) {
    const auto b_like_a = Copy(b);
    KeepUnrecorded(*b_like_a, a);
    return std::memcmp(&a, b_like_a.get(), sizeof(a)) == 0;
}

bool SamePictureSources(const CardDesign& a, const CardDesign& b) {
    const auto same = [](const char16_t(&x)[256], const char16_t(&y)[256]) { return std::memcmp(x, y, sizeof(x)) == 0; };
    if (!same(a.base_filepass, b.base_filepass) || a.base_load_mode != b.base_load_mode ||
        a.mark_load_mode != b.mark_load_mode || a.phot_load_mode != b.phot_load_mode)
        return false;
    for (int i = 0; i < kMarkCount; ++i)
        if (a.mark_data[i].on != b.mark_data[i].on || !same(a.mark_data[i].fm, b.mark_data[i].fm)) return false;
    return a.phot_data.on == b.phot_data.on && same(a.phot_data.fm, b.phot_data.fm);
}

DesignHistory::DesignHistory() : recorded_(std::make_unique<CardDesign>()) {
    ResetDesign(*recorded_, SettingsScope::Full);
}

void DesignHistory::Reset(const CardDesign& now) {
    *recorded_ = now;
    undo_.clear();
    redo_.clear();
    last_run_ = 0;
}

void DesignHistory::Push(std::vector<Snapshot>& steps, Snapshot snapshot) {
    if (steps.size() >= kStepLimit) steps.erase(steps.begin());
    steps.push_back(std::move(snapshot));
}

bool DesignHistory::Commit(const CardDesign& now, unsigned run, std::int64_t time_ms) {
    const bool joins = run != 0 && run == last_run_ && !undo_.empty() && time_ms >= last_time_ms_ &&
                       time_ms - last_time_ms_ <= kRunPauseMs;
    if (run != 0 && run == last_run_) last_time_ms_ = time_ms;
    if (SameRecordedDesign(*recorded_, now)) return false;
    if (!joins) Push(undo_, std::exchange(recorded_, Copy(now)));
    else *recorded_ = now;
    redo_.clear();
    last_run_ = run;
    last_time_ms_ = time_ms;
    return true;
}

bool DesignHistory::Step(std::vector<Snapshot>& from, std::vector<Snapshot>& to, CardDesign& design) {
    Commit(design);
    if (from.empty()) return false;
    Snapshot target = std::move(from.back());
    from.pop_back();
    KeepUnrecorded(*target, design);
    design = *target;
    Push(to, std::exchange(recorded_, std::move(target)));
    last_run_ = 0;
    return true;
}

bool DesignHistory::Undo(CardDesign& design) { return Step(undo_, redo_, design); }

// A change not yet committed is a new step, which drops the redo steps: Redo then does nothing.
bool DesignHistory::Redo(CardDesign& design) { return Step(redo_, undo_, design); }

std::size_t DesignHistory::Bytes() const {
    const std::size_t snapshots = 1 + undo_.size() + redo_.size();
    return snapshots * sizeof(CardDesign) + (undo_.capacity() + redo_.capacity()) * sizeof(Snapshot);
}

bool SideOfStep(const CardDesign& before, const CardDesign& after, bool back_shown) {
    if (!after.back_on) return false;
    const auto differ = [](const CardSide& a, const CardSide& b) { return std::memcmp(&a, &b, sizeof a) != 0; };
    const bool front = differ(before, after);
    const bool back = differ(before.back, after.back);
    if (back && !front) return true;
    if (front && !back) return false;
    return back_shown;
}

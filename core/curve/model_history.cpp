#include "core/curve/model_history.h"

#include <cstring>

#include "core/curve/curve_window_state.h"

namespace orv {
namespace {

static_assert(HistoryLayers == MaxLayers, "a snapshot holds every layer of the model");

// The half-space's depth right after a model has been made.
constexpr float HalfSpaceDepth = 1e12f;

void mix(uint64_t& h, const void* data, std::size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) {
    h ^= p[i];
    h *= 1099511628211ull;  // FNV-1a
  }
}

// What tells one sounding from another: its readings and the file (or the
// section point's name) they came from. A point of the section copied in by
// any road is told apart even when nothing said that a sounding was loaded.
uint64_t soundingPrint(const CurveWindowState& s) {
  uint64_t h = 14695981039346656037ull;
  const int n =
      s.readingCount < 0 ? 0 : (s.readingCount > MaxReadings ? MaxReadings : s.readingCount);
  mix(h, &n, sizeof n);
  mix(h, s.readingAbHalf, sizeof(float) * n);
  mix(h, s.readingMnHalf, sizeof(float) * n);
  mix(h, s.readingRho, sizeof(float) * n);
  mix(h, s.readingBranch, sizeof(int32_t) * n);
  mix(h, s.instrumentFilePath, strnlen(s.instrumentFilePath, PathCapacity));
  return h;
}

}  // namespace

ModelSnapshot captureModel(const CurveWindowState& s) {
  ModelSnapshot m;
  std::memset(&m, 0, sizeof m);
  const int n =
      s.modelBoundaryCount >= 0 && s.modelBoundaryCount < MaxLayers ? s.modelBoundaryCount : 0;
  m.boundaryCount = n;
  m.present = n > 0 || s.modelActive ? 1 : 0;
  if (!m.present) return m;
  for (int i = 0; i <= n; ++i) {
    m.rho[i] = s.modelRho[i];
    if (i < n) m.depth[i] = s.modelDepth[i];
    m.rhoFixed[i] = s.rhoFixed[i];
    m.thicknessFixed[i] = s.thicknessFixed[i];
    m.depthFixed[i] = s.depthFixed[i];
  }
  return m;
}

void restoreModel(CurveWindowState& s, const ModelSnapshot& m) {
  for (int i = 0; i < FlagSlots; ++i) s.rhoFixed[i] = s.thicknessFixed[i] = s.depthFixed[i] = 0;
  const int n = m.boundaryCount >= 0 && m.boundaryCount < MaxLayers ? m.boundaryCount : 0;
  s.modelBoundaryCount = n;
  for (int i = 0; i <= n; ++i) {
    s.modelRho[i] = m.rho[i];
    s.modelDepth[i] = i < n ? m.depth[i] : HalfSpaceDepth;
    s.rhoFixed[i] = m.rhoFixed[i];
    s.thicknessFixed[i] = m.thicknessFixed[i];
    s.depthFixed[i] = m.depthFixed[i];
  }
}

const ModelSnapshot& ModelHistory::entry(int i) const {
  return entries_[(first_ + i) % ModelHistoryEntries];
}

ModelSnapshot& ModelHistory::entry(int i) {
  return entries_[(first_ + i) % ModelHistoryEntries];
}

void ModelHistory::reset(const CurveWindowState& s) {
  first_ = 0;
  count_ = 1;
  current_ = 0;
  entries_[0] = captureModel(s);
  soundingPrint_ = soundingPrint(s);
}

bool ModelHistory::record(const CurveWindowState& s) {
  if (count_ <= 0 || soundingPrint_ != soundingPrint(s)) {
    reset(s);
    return false;
  }
  const ModelSnapshot now = captureModel(s);
  if (std::memcmp(&now, &entry(current_), sizeof now) == 0) return false;
  count_ = current_ + 1;  // what was undone is no longer ahead
  if (count_ == ModelHistoryEntries) {
    first_ = (first_ + 1) % ModelHistoryEntries;
    --count_;
  }
  current_ = count_;
  ++count_;
  entry(current_) = now;
  return true;
}

void ModelHistory::adoptReadings(const CurveWindowState& s) {
  if (count_ <= 0)
    reset(s);
  else
    soundingPrint_ = soundingPrint(s);
}

const ModelSnapshot* ModelHistory::undo() {
  if (count_ <= 0 || current_ == 0) return nullptr;
  return &entry(--current_);
}

const ModelSnapshot* ModelHistory::redo() {
  if (count_ <= 0 || current_ + 1 >= count_) return nullptr;
  return &entry(++current_);
}

const ModelSnapshot* ModelHistory::atHand() const {
  return count_ > 0 ? &entry(current_) : nullptr;
}

}  // namespace orv

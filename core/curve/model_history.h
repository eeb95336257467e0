// The history of the layered model of one sounding, for undo and redo. Every
// committed change of the model (a finished mouse edit, a fit, a pasted or
// typed model, a cleared one) is one step; loading another sounding starts a
// new history. Plain fixed arrays: the curve window's state holds it, and a
// zero-filled history is an empty one.
#pragma once

#include <cstdint>

namespace orv {

struct CurveWindowState;

// The model's layers (MaxLayers of the curve window's state).
inline constexpr int HistoryLayers = 30;
// Entries kept per sounding: the model as loaded and 63 steps after it; the
// oldest step goes when a further one comes.
inline constexpr int ModelHistoryEntries = 64;

// The model as the user sees it: its values, its fix marks and whether there
// is one at all (a sounding without a model, or with the half-space alone).
// Entries beyond the model are zero, so equal models compare equal bytewise.
struct ModelSnapshot {
  int32_t boundaryCount;
  int32_t present;
  float rho[HistoryLayers];
  float depth[HistoryLayers];  // boundaries 0..boundaryCount-1
  int32_t rhoFixed[HistoryLayers];
  int32_t thicknessFixed[HistoryLayers];
  int32_t depthFixed[HistoryLayers];
};

// The model of s as a snapshot.
ModelSnapshot captureModel(const CurveWindowState& s);
// Puts the snapshot's values and fix marks into s (the drawing flags are the
// caller's); the half-space gets the depth a finished model has.
void restoreModel(CurveWindowState& s, const ModelSnapshot& m);

class ModelHistory {
 public:
  // A new history whose first entry is the model of s (another sounding).
  void reset(const CurveWindowState& s);
  // Commits the model of s: a new step when it differs from the entry at
  // hand, and the steps undone before are dropped. A history of another
  // sounding (other readings or another file) is started anew instead.
  // Returns true when a step was added.
  bool record(const CurveWindowState& s);
  // The readings of s were edited: the history stays with the sounding.
  void adoptReadings(const CurveWindowState& s);

  // The entry before, or after, the one at hand becomes the one at hand;
  // nullptr (and nothing moves) when there is none.
  const ModelSnapshot* undo();
  const ModelSnapshot* redo();
  // The entry at hand (nullptr for an empty history).
  const ModelSnapshot* atHand() const;

  int undoSteps() const { return count_ > 0 ? current_ : 0; }
  int redoSteps() const { return count_ > 0 ? count_ - 1 - current_ : 0; }

 private:
  const ModelSnapshot& entry(int i) const;
  ModelSnapshot& entry(int i);

  ModelSnapshot entries_[ModelHistoryEntries];
  uint64_t soundingPrint_;
  int32_t first_;    // ring slot of the oldest entry
  int32_t count_;    // entries held; 0: no history yet
  int32_t current_;  // the entry at hand, counted from the oldest
};

}  // namespace orv

// Undoes a step that did not finish: the guard runs its undo action when it goes
// out of scope, unless the step reached its end and dismissed it. What fails while
// undoing is swallowed: the failure that ended the step is the one the user hears of.
#pragma once

#include <utility>

#include "base/file_layer.h"

template <typename Undo>
class ScopeGuard {
 public:
  explicit ScopeGuard(Undo undo) : m_undo(std::move(undo)) {}
  ~ScopeGuard() {
    if (m_dismissed) return;
    try {
      m_undo();
    } catch (const IoError&) {
      // Best effort; see above.
    }
  }
  ScopeGuard(const ScopeGuard&) = delete;
  ScopeGuard& operator=(const ScopeGuard&) = delete;

  // The step finished: nothing is undone.
  void Dismiss() { m_dismissed = true; }

 private:
  Undo m_undo;
  bool m_dismissed = false;
};

// A reference list held by the operation that loaded it, for as long as it runs.
//
// Handlers nest: an error box opened inside the lookup runs its own message loop,
// which hands Logger32's next spot to a lookup of its own, and that one loads the
// lists again. So a list is never owned by the window. The running operation owns
// it; the window's current list only names the list of the innermost operation,
// and gets back the outer one's when the inner operation ends:
//
//   const HeldList watch(LookList, F4Load());
//   for (std::string_view entry : *watch) ...
//
// Nothing a nested run does can free what an outer run walks.
#pragma once

#include <memory>
#include <utility>

#include "core/text_file.h"

class HeldList {
 public:
  HeldList(core::SharedTextList& current, core::SharedTextList list)
      : current_(current), list_(std::move(list)), previous_(std::exchange(current_, list_)) {}
  ~HeldList() { current_ = std::move(previous_); }
  HeldList(const HeldList&) = delete;
  HeldList& operator=(const HeldList&) = delete;

  const core::TextList& operator*() const { return *list_; }
  const core::TextList* operator->() const { return list_.get(); }

 private:
  core::SharedTextList& current_;
  core::SharedTextList list_;
  core::SharedTextList previous_;
};

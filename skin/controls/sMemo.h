#pragma once
// The skinned memo (the test bank editor's search box): the framework's memo keeps
// drawing and editing its text; the edit subclass on its window paints the frame and
// the skinned scroll bars from the section "EDIT" and keeps its colours in line with
// the skin.
#include <functional>
#include <string>

#include "forms/Memo.h"
#include "skin/controls/acEditFamily.h"

class TsMemo : public TacEditFamily<TMemo> {
public:
  explicit TsMemo(TComponent* owner);
  std::string ClassName() const override { return "TsMemo"; }

  // The caret was scrolled into view.
  TNotifyEvent OnScrollCaret;
  // The view moved up or down.
  TNotifyEvent OnVScroll;

  void WndProc(TMessage& message) override;

protected:
  void ScrollCaretIntoView() override;
};

// The skinned memos' first word on a message (this memo and the data-aware
// one): while the skin is suspended a paint draws nothing, and a font change
// redraws the frame as well. `base` is the framework memo's own handling.
// True when the message was handled.
bool MemoSkinMessage(TCustomMemo& memo, TsCommonData& skinData, TMessage& message,
                     const std::function<void(TMessage&)>& base);

// static.h: CGUI_Static (script class "STATIC"), the runtime base of static
// texts. Its caption takes colour markup: "#c NN " switches to colour NN of
// the colour table, "#r " back to colour 0 (keeping its blank), a final "##"
// stands for one hash.
// The escapes are stripped from the stored caption and kept as colour runs.
#pragma once
#include <cstdint>

#include "runtime/control.h"

// From character position `start` on, the text uses colour table entry `color`.
struct SColorRun {
  uint8_t color = 0;
  int32_t start = 0;
};

class CGUI_Static : public CGUI_Control {
 public:
  static constexpr int kMaxRuns = 8;
  static constexpr int kMaxCaption = 1023;

  CGUI_Static();

  // Parses the markup; stores the stripped text and the runs.
  bool SetCaption(const std::string& caption) override;

  // ---- Appended operations --------------------------------------------------------
  virtual bool SetPassword(bool on);
  virtual bool IsPassword();

  int RunCount() const { return runCount_; }
  // Run i, or null outside 0 .. RunCount() - 1.
  const SColorRun* Run(int i) const { return i >= 0 && i < runCount_ ? &runs_[i] : nullptr; }

 protected:
  SColorRun runs_[kMaxRuns];
  int runCount_ = 0;
  bool password_ = false;

 private:
  void AddRun(uint8_t color, int32_t start);
};

// runtime_fixture.h: a fixture that gives each test a freshly started module
// (no open dialogs, an empty dialog stack, an empty input queue, no hover or
// focus window) with an empty table installed, plus a window class that
// records the events it receives.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvogui/korvogui.h"
#include "tests/unit/fresh_module.h"
#include "tests/unit/runtime_support.h"
#include "runtime/dialog.h"
#include "runtime/input_queue.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/routing.h"
#include "runtime/window_manager.h"

// A window that logs every event as "ID:Event" into a shared log and can be
// told to fail its draw, update or create.
class RecordingWindow : public CGUI_Window {
 public:
  explicit RecordingWindow(std::vector<std::string>* log, const char* id = "",
                           const char* className = "CONTROL")
      : CGUI_Window(className), log_(log) {
    SetId(id);
  }
  bool failDraw = false;
  bool failUpdate = false;
  bool failCreate = false;

  bool OnCreate() override { return !failCreate && CGUI_Window::OnCreate(); }
  bool OnSetFocus() override { return Note("SetFocus"); }
  bool OnKillFocus() override { return Note("KillFocus"); }
  bool OnChar(char ch) override { return Note("Char " + std::to_string(int(ch))); }
  bool OnKeyDown(int key) override { return Note("Key " + std::to_string(key)); }
  bool OnCompositionChar(char lead, char trail) override {
    return Note("Comp " + std::to_string(uint8_t(lead)) + "," + std::to_string(uint8_t(trail)));
  }
  bool OnMouseEnter() override { return Note("Enter"); }
  bool OnMouseLeave() override { return Note("Leave"); }
  bool OnLButtonDown() override { return Note("Down"); }
  bool OnLButtonUp() override { return Note("Up"); }
  bool OnUpdate() override { Note("Update"); return !failUpdate; }
  bool OnDraw() override { Note("Draw"); return !failDraw; }

 private:
  bool Note(const std::string& what) {
    if (log_) log_->push_back(Id() + ":" + what);
    return true;
  }
  std::vector<std::string>* log_;
};

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestartModule();
    table_ = new CDialogTable;
    InstallDialogTable(table_);
  }
  void TearDown() override { GUI_Release(); }
  // A dialog of the table, id `id`, covering (x, y, w, h).
  CGUI_Dialog* AddDialog(const char* id, float x = 0, float y = 0, float w = 1, float h = 1) {
    auto* d = new CGUI_Dialog;
    d->SetId(id);
    SetRegion(d, x, y, w, h);
    table_->Insert(id, d);
    return d;
  }
  RecordingWindow* AddWindow(CGUI_Window* parent, const char* id, float x, float y, float w,
                             float h) {
    auto* c = new RecordingWindow(&log_, id);
    SetRegion(c, x, y, w, h);
    parent->AddChild(c);
    return c;
  }
  std::vector<std::string> TakeLog() {
    std::vector<std::string> taken;
    taken.swap(log_);
    return taken;
  }

  CDialogTable* table_ = nullptr;
  std::vector<std::string> log_;
};

// game_controls_support.h: building dialogs of the game's controls through the
// class registry (the way the template builder does), PARAM chains from
// literals, and a reference host reset around each test.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/control.h"
#include "runtime/params.h"
#include "runtime/registry.h"
#include "tests/unit/refhost_graphics_fixture.h"
#include "tests/expected/expected_text.h"
#include "tests/unit/runtime_fixture.h"

// One PARAM line, built value by value; owns its chain.
class Chain {
 public:
  Chain() = default;
  Chain(const Chain&) = delete;
  Chain& operator=(const Chain&) = delete;
  ~Chain() { FreeParamList(head_); }

  Chain& I(int32_t v) { return Add(NewIntParam(v)); }
  Chain& F(float v) { return Add(NewFloatParam(v)); }
  Chain& S(const char* v) { return Add(NewStringParam(v)); }
  const SParamList* get() const { return head_; }

 private:
  Chain& Add(SParamValue* v) {
    auto* cell = new SParamList;
    cell->value = v;
    if (!head_) head_ = cell;
    else tail_->next = cell;
    tail_ = cell;
    return *this;
  }
  SParamList* head_ = nullptr;
  SParamList* tail_ = nullptr;
};

// The font list of a static: font, em size, scale, stroke, colour.
inline void AddFont(CGUI_Control* c, const char* font = "SYSTEM", int r = 255, int g = 255,
                    int b = 255, int a = 255, float size = 16) {
  c->AddParamList(Chain().S(font).F(size).F(1.0f).I(0).I(r).I(g).I(b).I(a).get());
}
// A bitmap list: "menu/<name>" in white.
inline void AddBitmap(CGUI_Control* c, const char* name) {
  c->AddParamList(Chain().S(name).I(255).I(255).I(255).I(255).get());
}
// A pulse list (from, to: r g b a; period).
inline void AddPulse(CGUI_Control* c) {
  c->AddParamList(
      Chain().I(255).I(0).I(0).I(255).I(0).I(0).I(255).I(255).F(1.0f).get());
}

// PARAM lists written out: lists parted by " / ", values by blanks; 'text' is a
// string, a number with a dot a float, any other number an integer. The words
// font, bitmap and pulse stand for AddFont(), AddBitmap("x.tga") and AddPulse(),
// a bare NAME.tga for AddBitmap(NAME.tga).
inline void AddLists(CGUI_Control* c, const std::string& lists) {
  std::istringstream in(lists);
  std::string word;
  auto chain = std::make_unique<Chain>();
  const auto end = [&] {
    if (chain->get()) c->AddParamList(chain->get());
    chain = std::make_unique<Chain>();
  };
  while (in >> word) {
    if (word == "/") end();
    else if (word == "font") AddFont(c);
    else if (word == "bitmap") AddBitmap(c, "x.tga");
    else if (word == "pulse") AddPulse(c);
    else if (word[0] == '\'') chain->S(word.substr(1, word.size() - 2).c_str());
    else if (word.ends_with(".tga")) AddBitmap(c, word.c_str());
    else if (word.find('.') != std::string::npos) chain->F(std::stof(word));
    else chain->I(std::stoi(word));
  }
  end();
}

// A TGA of w by h pixels filled with one 0xAARRGGBB colour.
inline std::string SolidTga(int w, int h, uint32_t argb) {
  return Tga(w, h, std::vector<uint32_t>(size_t(w) * size_t(h), argb));
}

// A runtime with a fresh reference host (320 x 240, draws recorded only).
class GameControlsTest : public RuntimeTest {
 protected:
  void SetUp() override {
    korvohost::Reset();
    korvohost::SetScreen(320, 240);
    korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
    RuntimeTest::SetUp();
    korvohost::BeginFrame(0);
    korvohost::TakeSounds();
  }
  void TearDown() override {
    RuntimeTest::TearDown();
    korvohost::Reset();
  }

  // A window of script class `cls` made by the registry, as the template
  // builder makes it, placed in `parent`.
  template <class T = CGUI_Control>
  T* Make(CGUI_Window* parent, const char* cls, const char* id, float x, float y, float w,
          float h) {
    CGUI_Window* made = GetClassRegistry()->CreateWindow(cls, id);
    EXPECT_NE(made, nullptr) << cls;
    made->SetId(id);
    ::SetRegion(made, x, y, w, h);
    parent->AddChild(made);
    T* typed = dynamic_cast<T*>(made);
    EXPECT_NE(typed, nullptr) << cls;
    return typed;
  }

  // A control of class `cls` with `lists` (see AddLists) in a new dialog "DLG",
  // over (0.1, 0.1, w, h).
  template <class T>
  T* AddControl(const char* cls, float w, float h, const std::string& lists) {
    T* c = Make<T>(AddDialog("DLG"), cls, "IDC_C", 0.1f, 0.1f, w, h);
    AddLists(c, lists);
    return c;
  }

  // Opens the dialog; on failure the last error tells why.
  static bool Open(const char* id) {
    GUI_ReportError("%s", "");
    return GUI_CreateDialog(id);
  }
  static std::string LastError() { return GUI_GetLastError(); }

  // The draw list of one frame.
  static std::vector<korvohost::DrawRecord> Frame() {
    korvohost::BeginFrame(0);
    GUI_Draw();
    const auto list = korvohost::DrawList();
    return {list.begin(), list.end()};
  }
  static std::vector<std::string> Textures(const std::vector<korvohost::DrawRecord>& list) {
    std::vector<std::string> out;
    for (const auto& r : list)
      if (r.kind == korvohost::DrawKind::Bitmap) out.push_back(r.texture);
    return out;
  }
  static std::vector<std::string> Texts(const std::vector<korvohost::DrawRecord>& list) {
    std::vector<std::string> out;
    for (const auto& r : list)
      if (r.kind == korvohost::DrawKind::Text) out.push_back(r.text);
    return out;
  }
  // One draw as a line: kind, texture and pixel rectangle (bitmaps) or text,
  // colour. Text places depend on the font's measures and are left out.
  static std::string Printed(const korvohost::DrawRecord& r) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "%08X", r.argb);
    std::string line = korvohost::DrawKindName(r.kind);
    if (r.kind == korvohost::DrawKind::Text) line += " '" + r.text + "'";
    if (r.kind == korvohost::DrawKind::Bitmap)
      line += " " + r.texture + " " + std::to_string(r.x) + "," + std::to_string(r.y) + " " +
              std::to_string(r.w) + "x" + std::to_string(r.h) + " blend " +
              std::to_string(r.srcBlend) + "," + std::to_string(r.dstBlend);
    return line + " argb " + colour;
  }
  // One step of a walk for an expected text: its label, the draws of the frame
  // after it and the sounds played since the step before.
  static void Step(std::string& log, const std::string& label) {
    log += label + "\n";
    for (const auto& r : Frame()) log += "  " + Printed(r) + "\n";
    const std::vector<int> sounds = korvohost::TakeSounds();
    if (sounds.empty()) return;
    log += "  sounds";
    for (int s : sounds) log += " " + std::to_string(s);
    log += "\n";
  }
  // Moves the mouse there, then presses and releases with an update between.
  static void Click(float x, float y) {
    GUI_MouseMove(x, y);
    GUI_LButtonDown();
    GUI_Update();
    GUI_LButtonUp();
    GUI_Update();
  }
};

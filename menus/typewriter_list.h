// typewriter_list.h: CGUI_TypewriterList, the list that reveals its rows
// character by character on the host frame clock (mission texts, briefing,
// ending epilogue). Each revealed character plays a sound; a finished row
// waits a pause before the next one starts.
#pragma once
#include <cstdint>

#include "runtime/game_list.h"

class CGUI_TypewriterList : public CGUI_GameList {
 public:
  // Reveal settings: characters per second, pause after a row (ms), and the
  // sounds of a character, a blank and a row's end (0: none).
  struct SReveal {
    int charsPerSecond = 25;
    uint32_t pause = 300;
    int charSound = 62001;
    int blankSound = 0;
    int lineSound = 62002;
  };

  // Keeps the row being revealed the last visible one.
  bool OnUpdate() override;
  // Rows before the one being revealed whole, that one cut, later ones not at all.
  bool DrawItem(int index, float rect[4], bool selected, bool hovered) override;

  // Empties the list; with a readable file, wraps its text into rows and
  // starts the reveal from the top with the default settings.
  void ShowTextFile(const char* path);
  // Starts the reveal again from the first row; the rows stay.
  void Restart();
  // Starts the reveal from the first row with these settings.
  void Start(const SReveal& reveal);

 private:
  // Reveals one more character of row `text` when its time has come.
  void Step(const std::string& text);

  SReveal reveal_;
  bool playing_ = false;
  int line_ = 0;        // the row being revealed
  int chars_ = 0;       // bytes of it revealed
  uint32_t lastTick_ = 0;
};

// A typewriter list that a screen keeps in its own state: `Slot` gives the
// screen's pointer, which holds the list while it is created. With `kReveal`
// the list starts revealing with those settings as it is created; without,
// it waits for the screen to give it rows.
template <CGUI_TypewriterList*& (*Slot)(), const CGUI_TypewriterList::SReveal* kReveal = nullptr>
class TGUI_KeptTypewriterList : public CGUI_TypewriterList {
 public:
  bool OnCreate() override {
    Slot() = this;
    if constexpr (kReveal != nullptr) Start(*kReveal);
    return CGUI_TypewriterList::OnCreate();
  }
  bool OnDestroy() override {
    if (Slot() == this) Slot() = nullptr;
    return CGUI_TypewriterList::OnDestroy();
  }
};

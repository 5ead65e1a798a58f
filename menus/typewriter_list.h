// typewriter_list.h: CGUI_TypewriterList, the list that reveals its rows
// character by character on the host frame clock (mission texts, briefing,
// ending epilogue). Each revealed character plays a sound; a finished row
// waits a pause before the next one starts.
#pragma once
#include <cstdint>

#include "runtime/game_list.h"
#include "runtime/sound_ids.h"

class CGUI_TypewriterList : public CGUI_GameList {
 public:
  // Reveal settings: characters per second, pause after a row (ms), and the
  // sounds of a character, a blank and a row's end (0: none).
  struct SReveal {
    int charsPerSecond = 25;
    uint32_t pause = 300;
    int charSound = kSoundTypeChar;
    int blankSound = 0;
    int lineSound = kSoundTypeLineEnd;
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
  std::string typed_;   // the revealed part of the row being typed
};

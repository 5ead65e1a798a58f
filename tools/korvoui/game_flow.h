// game_flow.h: what the game executable does between the menus and a
// mission, for `korvoui play`: when a mission starts (its script's `mission`
// line) the menus leave the screen and a marker on the dialog stack stands
// for the game; Escape during the mission opens the escape menu; when the
// mission ends the host shows the statistics (won) or the failure screen.
#pragma once

class CGameFlow {
 public:
  // Once per frame, after the host clock was set.
  void Update();
  // Escape pressed with no dialog open: true when the game took it.
  bool OnEscape();

 private:
  bool running_ = false;
};

// game_list.h: CGUI_GameList, the game's list (script class "LIST"). Each
// visible row is drawn by one member game static, moved from row to row; a
// member game bitmap is the frame. The script can give default rows.
#pragma once
#include <string>
#include <vector>

#include "runtime/composite.h"
#include "runtime/game_bitmap.h"
#include "runtime/game_static.h"
#include "runtime/list.h"

class CGUI_GameList : public CGUI_Composite<CGUI_List> {
 public:
  CGUI_GameList();

  // Reads the PARAM lists (first creation), sets the members up, empties the
  // list and fills in the default rows.
  bool OnCreate() override;
  bool SetRegion(const float region[4]) override;
  bool SetAlign(int flags) override;
  // Draws row `index` with the row static in the normal or selected colour.
  bool DrawItem(int index, float rect[4], bool selected, bool hovered) override;

  CGUI_GameStatic* RowStatic() const { return rowStatic_; }
  int RowsToShow() const { return rowsToShow_; }
  // Row colours as red, green, blue, alpha.
  const int* NormalColor() const { return normalColor_; }
  const int* SelectedColor() const { return selectedColor_; }

 private:
  bool ReadListParams();

  // Members, children in this order once created.
  CGUI_GameBitmap* frame_;
  CGUI_GameStatic* rowStatic_;
  int normalColor_[4] = {255, 255, 255, 255};
  int selectedColor_[4] = {255, 255, 255, 255};
  int rowsToShow_ = 1;
  std::vector<std::string> defaultRows_;
};

// list.h: CGUI_List (script class "LIST"), a scrolling column of text rows
// with one selected row and one hovered row.
//
// The list shows `visible rows` rows from `top index` on, each `row height`
// high. The hover is a row number within the visible window (0 is the top
// visible row); the selection is a row index. Derived classes draw the rows
// (DrawItem) and react to selection changes (OnSelChange).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/control.h"

class CGUI_List : public CGUI_Control {
 public:
  CGUI_List();

  // Page Up / Page Down / Up / Down move the selection.
  bool OnKeyDown(int key) override;
  bool OnMouseLeave() override;
  // Tracks the hovered row.
  bool OnMouseMove(const float pt[2]) override;
  // Selects the hovered row.
  bool OnLButtonDown() override;
  // Calls DrawItem for each visible row.
  bool OnDraw() override;

  // ---- Appended operations --------------------------------------------------------
  virtual int GetCurSel();
  // i is -1 (no selection) or a row; scrolls to keep it visible.
  virtual bool SetCurSel(int i);
  virtual int GetHover();
  virtual bool SetHover(int row);
  virtual int GetCount();
  // Appends, or inserts before the selected row; the new row's index.
  virtual int AddString(const std::string& text);
  virtual bool DeleteString(int i);
  virtual bool ResetContent();
  // i -1 means the last row.
  virtual bool GetText(int i, std::string& out);
  virtual bool SetItemData(int i, uint32_t data);
  virtual bool GetItemData(int i, uint32_t& out);
  // Also sets the visible rows that fit the height.
  virtual bool SetRowHeight(float h);
  virtual float GetRowHeight();
  // Also sets the row height that splits the height into n rows.
  virtual bool SetVisibleRows(int n);
  virtual int GetVisibleRows();
  // Clamped so that the last page is full when the rows allow it.
  virtual bool SetTopIndex(int t);
  virtual int GetTopIndex();
  virtual bool DrawItem(int index, float rect[4], bool selected, bool hovered);
  virtual bool OnSelChange();

 protected:
  // Row i, or the last row for -1; -1 when there is no such row.
  int RowIndex(int i) const;
  // Names row i's text as it is now (never 0): while the rows do not change,
  // the same row gives the same key.
  uint64_t RowKey(int i) const { return uint64_t(rowsVersion_) << 32 | uint32_t(i); }

  std::vector<std::string> rows_;
  std::vector<uint32_t> itemData_;
  int selection_ = -1;
  int hover_ = -1;
  float rowHeight_ = 0;
  int visibleRows_ = 0;
  int topIndex_ = 0;
  uint32_t rowsVersion_ = 1;   // advances with every change of the rows
};

// game_static.h: CGUI_GameStatic, the game's static text (script class
// "STATIC"). It draws its caption through a host text object in one of the
// game's fonts, with the colour runs of the caption's markup; with the font
// "NORMAL" a pulsing glow is drawn behind the text while the mouse is over it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/host_graphics.h"
#include "runtime/animation_info.h"
#include "runtime/static.h"

class CGUI_GameStatic : public CGUI_Static {
 public:
  CGUI_GameStatic();
  ~CGUI_GameStatic() override;

  // Reads the font, metrics, stroke and colour (list 0) and the glow pulse
  // (list 1, font "NORMAL" only), then makes the text objects.
  bool OnCreate() override;
  bool OnDestroy() override;
  // Markup first; then the text object gets the stripped text and its runs.
  bool SetCaption(const std::string& caption) override;
  // With auto size the region takes the text's measured size.
  bool SetRegion(const float region[4]) override;
  bool OnMouseEnter() override;
  bool OnMouseLeave() override;
  bool OnDraw() override;
  bool SetPassword(bool on) override;

  // ---- Direct access for the composite controls --------------------------------------
  CY3DText* Text() const { return text_; }
  int FontType() const { return fontType_; }
  void SetTextColor(int r, int g, int b, int a);
  // The colour as four ints red, green, blue, alpha.
  const int* TextColor() const { return color_; }
  // Screen pixel position of the text object (the absolute aligned corner).
  void TextPosition(float out[2]);
  // Changes whenever the text object gets a new text (for measurement caches).
  uint32_t TextGeneration() const { return textGeneration_; }
  // For a control drawing several texts through this one (the list's rows):
  // the draws of SetCaption(caption), SetRegion(region), the colour, OnDraw.
  // Slot s (0 or more) keeps a text object of its own for the caption, so that
  // a caption drawn again in the same slot is not parsed or measured again;
  // slot -1 goes through the static's own text object. A key other than 0
  // names the caption's text: given again with the same key, a slot takes
  // the caption as the same without comparing it.
  bool DrawCaption(int slot, const std::string& caption, const float region[4], const int color[4],
                   uint64_t key = 0);

 private:
  // What a host text object was last given: a draw gives only what changed.
  struct TextState {
    int color[4] = {0, 0, 0, 0};
    float position[2] = {0, 0};
    bool colorGiven = false;
    bool positionGiven = false;
    bool blank = true;   // the text is empty: a draw shows nothing
    void Color(CY3DText* text, const int rgba[4]);
    void Position(CY3DText* text, const float pos[2]);
  };

  // A caption kept in its own text object (DrawCaption).
  struct CaptionSlot {
    std::unique_ptr<CY3DText> text;
    TextState state;
    std::string markup;        // the caption it shows, markup included
    uint64_t key = 0;          // the caller's name for markup (0: none)
    bool filled = false;       // text shows markup
    float measured[2] = {0, 0};
    float size[2] = {0, 0};       // measured, in screen fractions
    int sizeScreen[2] = {0, 0};   // the screen size `size` is for
  };

  void ReleaseText();
  // Markup and text object for a caption; false when it is the one shown.
  bool TakeCaption(const std::string& caption);
  // Gives `target` the stripped caption (or stars) and the colour runs.
  void FillText(CY3DText* target, TextState& state);
  // Places the static at region, its size measured when auto-sized.
  void Place(const float region[4], const float measured[2]);
  // OnDraw with the given text object.
  bool DrawText(CY3DText* text, TextState& state);
  CaptionSlot& Slot(int slot, const std::string& caption, uint64_t key);
  // Gives the text object the stripped caption (or stars) and the colour runs.
  void UpdateText();

  CY3DText* text_ = nullptr;   // owned
  CY3DText* glow_ = nullptr;   // owned; font "NORMAL" only
  TextState textState_;
  TextState glowState_;
  Y3DFont* font_ = nullptr;
  int fontType_ = Y3DFONT_SYSTEM;
  float metric1_ = 0;
  float metric2_ = 0;
  int stroke_ = 4;
  int color_[4] = {255, 255, 255, 255};
  AnimationInfo glowAnim_;
  bool hovered_ = false;
  Y3DColorRun colorRuns_[kMaxRuns];
  std::string markup_;   // the caption as given, markup included
  std::string stars_;    // the text shown for a password
  bool textValid_ = false;   // the text object shows markup_
  uint32_t textGeneration_ = 0;
  uint32_t measuredGeneration_ = ~0u;   // the text the size below belongs to
  float measured_[2] = {0, 0};          // text size in pixels
  std::vector<CaptionSlot> slots_;      // made as DrawCaption needs them
};

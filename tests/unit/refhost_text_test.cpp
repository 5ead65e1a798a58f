// Reference host text: measuring (scale, screen height, outline, code-page
// text), drawing inside the measured box, the records of text and glow,
// record-only frames, and text without a font file. A coloured text's record
// is GameStaticTest.CaptionsDrawInTheStaticsColourOrTheirMarkupRuns's.
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "host/host_graphics.h"
#include "refhost_graphics_fixture.h"

using namespace korvohost;

namespace {

struct Box {
  int w, h;
};

class RefhostText : public RefhostGraphics {
 protected:
  void SetUp() override {
    RefhostGraphics::SetUp();
    // 768 lines high: text sizes are pixels at that height.
    SetScreen(160, 768);
    BeginFrame(0x000000);
  }

  static float Width(CY3DText& text, const char* s, int len = -1) {
    float w = 0, h = 0;
    text.GetTextMetric(s, len, &w, &h);
    return w;
  }
  static Box Measure(CY3DText& text) {
    float w = 0, h = 0;
    text.GetTextMetric(nullptr, -1, &w, &h);
    return {int(w), int(h)};
  }
};

}  // namespace

// A text draws inside its measured box only; its record names the text, the
// face, the place and the colour. A glow is drawn first, added, in its own
// colour at the text's place. A centred text is centred on its position. An
// empty text draws nothing.
TEST_F(RefhostText, DrawsInsideItsMeasuredBoxAndRecordsGlowAndPlace) {
  CY3DText text(Y3DFONT_GAME, GFontNormal, 10, 8, 0, 16, 1.0f, 0);
  CY3DText glow(Y3DFONT_GAME, GFontBlur, 0, 0, 0, 16, 1.0f, 0);
  text.SetText("Hello, World");
  text.SetColor(255, 255, 255, 255);
  CY3DText empty(Y3DFONT_GAME, GFontNormal, 0, 0, 0, 16, 1.0f, 0);
  EXPECT_FALSE(empty.Draw(nullptr));   // no text yet, then an empty one: nothing drawn
  empty.SetText("");
  EXPECT_FALSE(empty.Draw(nullptr));
  const Box box = Measure(text);
  EXPECT_TRUE(text.Draw(nullptr));
  const int drawn = CountNot(0xFF000000, 0, 0, 160, 64);
  EXPECT_GT(drawn, 100);
  EXPECT_EQ(CountNot(0xFF000000, 10, 8, 10 + box.w, 8 + box.h), drawn);
  glow.SetColor(255, 230, 167, 200);
  ASSERT_TRUE(text.Draw(&glow));
  ASSERT_EQ(DrawList().size(), 3u);
  for (const DrawRecord& r : DrawList())
    EXPECT_EQ(r.text + " " + std::to_string(r.x), "Hello, World 10");
  EXPECT_EQ(DrawList()[0].font, "DejaVuSans.ttf");
  EXPECT_EQ(DrawList()[0].w, box.w);
  EXPECT_EQ(DrawList()[0].argb, 0xFFFFFFFFu);
  EXPECT_EQ(DrawList()[1].dstBlend, Y3DBLEND_ONE);
  EXPECT_EQ(DrawList()[1].argb, 0xC8FFE6A7u);
  EXPECT_EQ(DrawList()[2].dstBlend, Y3DBLEND_INVSRCALPHA);

  CY3DText digits(Y3DFONT_GAME, GFontDigit, 0, 0, Y3DALIGN_HCENTER | Y3DALIGN_VCENTER, 16, 1.0f, 0);
  digits.SetText("123");
  digits.SetScreenPosition(80, 32);
  const Box centred = Measure(digits);
  BeginFrame(0);
  digits.Draw(nullptr);
  EXPECT_EQ(DrawList()[0].x, 80 - centred.w / 2);
  EXPECT_EQ(DrawList()[0].y, 32 - centred.h / 2);
  EXPECT_EQ(DrawList()[0].font, "DejaVuSansMono.ttf");
}

TEST_F(RefhostText, WidthFollowsTheTextTheScaleAndTheScreenHeightAtCreation) {
  CY3DText text(Y3DFONT_GAME, GFontNormal, 0, 0, 0, 16, 1.0f, 0);
  const float a = Width(text, "a"), ab = Width(text, "ab"), abc = Width(text, "abc");
  EXPECT_GT(ab, a);
  EXPECT_EQ(Width(text, "abc", 99), abc);
  EXPECT_EQ(Width(text, "abc", 0), 0);
  text.SetText("ab");
  EXPECT_EQ(Width(text, nullptr), ab);
  EXPECT_EQ(Width(text, nullptr, 1), a);
  CY3DText wide(Y3DFONT_GAME, GFontNormal, 0, 0, 0, 16, 2.0f, 0);
  EXPECT_NEAR(Width(wide, "abcdefgh"), 2 * Width(text, "abcdefgh"), 3);
  // An outline of 4 widens the system font's box by 4; the game font has none.
  CY3DText plain(Y3DFONT_SYSTEM, nullptr, 0, 0, 0, 16, 1.0f, 0);
  CY3DText outlined(Y3DFONT_SYSTEM, nullptr, 0, 0, 0, 16, 1.0f, 4);
  CY3DText gameOutlined(Y3DFONT_GAME, GFontNormal, 0, 0, 0, 16, 1.0f, 4);
  EXPECT_EQ(Width(outlined, "Ab"), Width(plain, "Ab") + 4);
  EXPECT_EQ(Width(gameOutlined, "Ab"), Width(text, "Ab"));
  // Drawn, the (black) outline strokes around the glyphs: more pixels change.
  int pixels[2];
  for (CY3DText* t : {&plain, &outlined}) {
    t->SetText("Ab");
    BeginFrame(0x204060);
    ASSERT_TRUE(t->Draw(nullptr));
    pixels[t == &outlined] = CountNot(0xFF204060, 0, 0, 160, 64);
  }
  EXPECT_GT(pixels[1], pixels[0] + 10);

  // Sizes are taken at the screen height of the text's creation.
  CY3DText full(Y3DFONT_GAME, GFontNormal, 0, 0, 0, 32, 1.0f, 0);
  full.SetText("Hello");
  SetScreen(160, 384);
  CY3DText half(Y3DFONT_GAME, GFontNormal, 0, 0, 0, 32, 1.0f, 0);
  half.SetText("Hello");
  const Box f = Measure(full), h = Measure(half);
  EXPECT_NEAR(h.h * 2, f.h, 2);
  EXPECT_NEAR(h.w * 2, f.w, 3);
}

// Measuring len bytes reads those bytes and no more, however long the text
// behind them: the line wrapper measures every prefix of every row of a
// message this way. The text here ends with the readable memory.
TEST_F(RefhostText, MeasuresOnlyTheBytesAskedFor) {
  CY3DText text(Y3DFONT_GAME, GFontNormal, 0, 0, 0, 16, 1.0f, 0);
  const size_t page = size_t(sysconf(_SC_PAGESIZE));
  auto* memory = static_cast<char*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(memory, MAP_FAILED);
  ASSERT_EQ(mprotect(memory + page, page, PROT_NONE), 0);
  char* hello = memory + page - 5;
  std::memcpy(hello, "Hello", 5);   // no NUL: the next byte cannot be read
  EXPECT_EQ(Width(text, hello, 5), Width(text, "Hello"));
  EXPECT_EQ(Width(text, hello, 2), Width(text, "He"));
  munmap(memory, 2 * page);
}

TEST_F(RefhostText, DoubleByteCp949TextMeasures) {
  CY3DText text(Y3DFONT_SYSTEM, nullptr, 4, 4, 0, 20, 1.0f, 0);
  text.SetText("\xB0\xA1");   // U+AC00
  const Box box = Measure(text);
  EXPECT_GT(box.w, 12);
  EXPECT_EQ(Width(text, "\xB0"), 0);   // a lead byte alone is no character
  EXPECT_EQ(Width(text, "\xB0\xA1\xB0\xA1"), 2 * box.w);
  // A byte that starts no character shows as one replacement character.
  EXPECT_EQ(Width(text, "\x80"), Width(text, "\xFF"));
  EXPECT_GT(Width(text, "\x80"), 0);
  // The game font takes one Latin-1 character per byte.
  CY3DText game(Y3DFONT_GAME, GFontNormal, 0, 0, 0, 20, 1.0f, 0);
  EXPECT_GT(Width(game, "\xB0"), 0);
}

// A text object recorded frame after frame places each record where a fresh
// object drawn into the pixels puts it, whatever changed in between.
TEST_F(RefhostText, RecordOnlyFramesPlaceTheTextAfterEachChange) {
  struct Case {
    const char* what;
    void (*change)(CY3DText&);
  } cases[] = {
      {"moved", [](CY3DText& t) { t.SetScreenPosition(41.6f, 70.4f); }},
      {"longer text", [](CY3DText& t) { t.SetText("WWWWiiii"); }},
      {"font file", [](CY3DText&) { SetFontFile(FontRole::Digit, FontFile(FontRole::Normal)); }},
  };
  auto record = [](CY3DText& t, RenderMode mode) {
    SetRenderMode(mode);
    BeginFrame(0);
    t.Draw(nullptr);
    EXPECT_EQ(DrawList().size(), 1u);
    const DrawRecord r = DrawList()[0];
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) + "," +
           std::to_string(r.h) + " '" + r.text + "' " + r.font;
  };
  const std::string digitFont = FontFile(FontRole::Digit);
  for (const Case& c : cases) {
    for (int align : {0, Y3DALIGN_RIGHT | Y3DALIGN_BOTTOM, Y3DALIGN_HCENTER | Y3DALIGN_VCENTER}) {
      SCOPED_TRACE(std::string(c.what) + " align " + std::to_string(align));
      SetFontFile(FontRole::Digit, digitFont);
      auto make = [align] {
        auto t = std::make_unique<CY3DText>(Y3DFONT_GAME, GFontDigit, 80.4f, 32.6f, align, 16, 1.0f, 0);
        t->SetText("Wiiii");
        return t;
      };
      const auto kept = make();
      const std::string first = record(*kept, RenderMode::RecordOnly);
      c.change(*kept);
      const std::string second = record(*kept, RenderMode::RecordOnly);
      EXPECT_NE(second, first);
      const auto fresh = make();
      c.change(*fresh);
      EXPECT_EQ(record(*fresh, RenderMode::Raster), second);
    }
  }
}

// Without any font file text still measures and draws, as boxes.
TEST_F(RefhostText, WithoutAnyFontFileTextDrawsBoxes) {
  for (FontRole role : {FontRole::Normal, FontRole::Fallback}) SetFontFile(role, "/nonexistent/font.ttf");
  CY3DText text(Y3DFONT_GAME, GFontNormal, 2, 2, 0, 16, 1.0f, 0);
  text.SetText("ab");
  text.SetColor(255, 255, 255, 255);
  EXPECT_GT(Measure(text).w, 8);
  EXPECT_TRUE(text.Draw(nullptr));
  EXPECT_GT(CountNot(0xFF000000, 0, 0, 160, 64), 20);
  EXPECT_EQ(DrawList()[0].font, "");
  SetRenderMode(RenderMode::Off);
  EXPECT_TRUE(text.Draw(nullptr));
  EXPECT_EQ(DrawList().size(), 1u);   // an off frame records nothing
}

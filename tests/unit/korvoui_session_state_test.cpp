// korvoui_session_state_test.cpp: the game-state lines of session scripts:
// field tokens, bits(F), record set-up errors (nothing changes on a bad line),
// show and forget, calls filters, rawinput and object arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_characters.h"
#include "host/host_graphics.h"
#include "host/host_options.h"
#include "host/host_services.h"
#include "refhost/game_state.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "host/session_state.h"
#include "tools/korvoui/session_script.h"
#include "tools/korvoui/session_state_commands.h"

namespace {

class SessionState : public ::testing::Test {
 protected:
  void SetUp() override {
    korvohost::Reset();
    korvostate::SetRecording(true);
  }
  void TearDown() override {
    korvostate::SetRecording(false);
    korvohost::Reset();
  }

  // Runs one session line; returns its output, or "error: WHY".
  static std::string Run(const std::string& line) {
    std::vector<SessionToken> tokens;
    std::string error;
    if (!TokenizeSessionLine(line, &tokens, &error)) return "error: " + error;
    bool handled = false;
    testing::internal::CaptureStdout();
    const bool ok = RunStateCommand(tokens, &handled, &error);
    const std::string out = testing::internal::GetCapturedStdout();
    if (!handled) return "unhandled";
    return ok ? out : "error: " + error;
  }
};

// Each token as "TEXT" with "q" when quoted and "fq" when a field's value
// was; in y=z="w" the quote follows a later '=', so it is no quoted field.
TEST(SessionTokens, FieldsContinueWithAQuotedValue) {
  std::vector<SessionToken> t;
  std::string error, printed;
  ASSERT_TRUE(TokenizeSessionLine(R"(account "A B" last="M 01" name=null q="null" x="a\x41" y=z="w")", &t, &error));
  for (const SessionToken& token : t)
    printed += token.text + (token.quoted ? " q" : "") + (token.fieldQuoted ? " fq" : "") + "\n";
  EXPECT_EQ(printed, "account\nA B q\nlast=M 01 fq\nname=null\nq=null fq\nx=aA fq\ny=z=w\n");
  EXPECT_FALSE(TokenizeSessionLine("a b=\"open", &t, &error));
  EXPECT_EQ(error, "quoted text without its closing quote");
}

TEST_F(SessionState, ScalarsPrintByTypeAndRefuseBadOrReadOnlyValues) {
  EXPECT_EQ(Run("host KORVO_VERSION \"" + std::string(40, 'v') + "\""), "");
  EXPECT_EQ(Run("host KORVO_VERSION"), "KORVO_VERSION = \"" + std::string(31, 'v') + "\"\n");
  EXPECT_EQ(Run("host ViewP 4096"), "error: not an integer in 0..4095: 4096");
  EXPECT_EQ(Run("host DebugMode x"), "error: not an integer: x");
  EXPECT_EQ(Run("host MouseCursorDepth 1"), "error: MouseCursorDepth is read-only");
  EXPECT_EQ(Run("host NoSuch"), "error: unknown host variable NoSuch");
  EXPECT_EQ(Run("host CurAccount GHOST"), "error: no account \"GHOST\"");
  EXPECT_EQ(Run("host ControlCharacter @ghost"), "error: no actor @ghost");
  EXPECT_EQ(Run("host GetDisplayModes 800x600,640"), "error: not a display mode WxH: 640");
  EXPECT_EQ(Run("host GetDisplayModes \"\""), "");
  EXPECT_EQ(Run("host GetDisplayModes"), "GetDisplayModes = \"\"\n");
  EnterMouseCursorMode();
  EXPECT_EQ(Run("host MouseCursorDepth"), "MouseCursorDepth = 1\n");
}

TEST_F(SessionState, ABadRecordLineChangesNothing) {
  EXPECT_EQ(Run("account ALPHA total=5 bogus=1"), "error: unknown field bogus");
  EXPECT_EQ(Run("show account"), "");   // not even created
  EXPECT_EQ(Run("account ALPHA total=5"), "");
  EXPECT_EQ(Run("account ALPHA total=9 character=x"), "error: character: not an integer: x");
  EXPECT_EQ(Run("show account ALPHA"),
            "account \"ALPHA\" character=0 left=0 right=0 last=null current=null total=5\n");
  EXPECT_EQ(Run("achievement GHOST K"), "error: no account \"GHOST\"");
  EXPECT_EQ(Run("character 1"), "error: key out of range 0..0: 1");
  EXPECT_EQ(Run("actor a radar=64"), "error: radar: not an integer in 0..63: 64");
  EXPECT_EQ(Run("actor a loption=@nothing"), "error: loption: no object @nothing");
  EXPECT_EQ(Run("actor 7"), "error: not a name for a new object: 7");
  EXPECT_EQ(Run("item a"), "");
  EXPECT_EQ(Run("actor a"), "error: @a is an item");
  EXPECT_EQ(Run("option video k"), "error: not an option group (graphics, sound, network, macro): video");
  EXPECT_EQ(Run("mission M k=\"x\""), "error: unknown field k");
  EXPECT_EQ(Run("mission M ALPHA=1 extra"), "error: a key after a field: extra");
  EXPECT_EQ(Run("show nothing"), "error: unknown record kind nothing");
  EXPECT_EQ(Run("show actor"), "");
}

// Show and forget take every record under a first key; absent records are
// ignored.
TEST_F(SessionState, ShowAndForgetTakeEveryRecordUnderAFirstKey) {
  Run("mission M1 initial=true");
  ASSERT_TRUE(CreateAccount("ALPHA"));
  Run("achievement ALPHA K2 count=3");
  EXPECT_EQ(Run("show achievement ALPHA"),
            "achievement \"ALPHA\" \"M1\" name=\"M1\" latest=0 best=0 count=0\n"
            "achievement \"ALPHA\" \"K2\" name=\"K2\" latest=0 best=0 count=3\n");
  EXPECT_EQ(Run("show achievement ALPHA K9"), "show: no achievement \"ALPHA\" \"K9\"\n");
  EXPECT_EQ(Run("forget achievement ALPHA"), "");
  EXPECT_EQ(Run("show achievement"), "");
  Run("option sound m value=2");
  Run("option macro macro0 value=\"a b\" default=\"x\"");
  EXPECT_EQ(Run("show option macro"), "option macro \"macro0\" value=\"a b\" saved=\"a b\" default=\"x\"\n");
  EXPECT_EQ(Run("forget option sound"), "");
  EXPECT_EQ(Run("show option sound m"), "show: no option sound \"m\"\n");
  EXPECT_EQ(Run("forget account NOBODY"), "");
}

TEST_F(SessionState, CallsPrintsAllOrTheMatchingAndForgetsEveryCall) {
  EXPECT_EQ(Run("calls"), "");
  ReadOptionGraphics();
  OptionGraphicsManager.UpdateItem("brightness", 7);
  PlayMainBGM();
  korvostate::RecordCall("KORVO_CLT::SendConnect(0) -> 0");
  EXPECT_EQ(Run("calls OptionGraphicsManager::* PlayMainBGM"),
            "call: OptionGraphicsManager::UpdateItem(\"brightness\", 7)\ncall: PlayMainBGM()\n");
  EXPECT_EQ(Run("calls"), "");   // the unprinted ones are gone too
  ReadOptionGraphics();
  korvostate::RecordCall("KORVO_CLT::SendConnect(0) -> 0");
  EXPECT_EQ(Run("calls ReadOption"), "");   // no '*': the whole name
  ReadOptionGraphics();
  EXPECT_EQ(Run("calls"), "call: ReadOptionGraphics()\n");
}

// Handlers that take the states and are removed are options_controls'; here
// the limits of the two fields.
TEST_F(SessionState, RawInputTakesKeysAndMouseButtonsInRange) {
  EXPECT_EQ(Run("rawinput keys=255,1 mouse=3"), "rawinput: handlers=0 removed=0 keys=1,255 mouse=3\n");
  EXPECT_EQ(Run("rawinput keys=256"), "error: keys: not a number 0..255: 256");
  EXPECT_EQ(Run("rawinput mouse=4"), "error: mouse: not a number 0..3: 4");
  EXPECT_EQ(Run("rawinput pad=1"), "error: unknown field pad (keys, mouse)");
}

// Named actors and items are the records sessions print; here the host's own
// objects by number, null, and what names none.
TEST_F(SessionState, ObjectArgumentsNameHostObjectsNullOrNothing) {
  CHARACTER* made = NewCharacter();
  void* address = nullptr;
  std::string kind, error;
  ASSERT_TRUE(ResolveSessionObject({"@1"}, &address, &kind, &error));
  EXPECT_EQ(address, made);
  ASSERT_TRUE(ResolveSessionObject({"null"}, &address, &kind, &error));
  EXPECT_EQ(address, nullptr);
  EXPECT_FALSE(ResolveSessionObject({"@ghost"}, &address, &kind, &error));
  EXPECT_EQ(error, "no object @ghost");
  EXPECT_FALSE(ResolveSessionObject({"\"null\"", true}, &address, &kind, &error));
}

// Bitmap and transformed draws and the kind filters are printed by the
// session walks; here what they do not meet: an alpha of 0, the caret's off
// phase, empty texts and quotes in a text.
TEST_F(SessionState, DrawsPrintsAnimsTextsAndRefusesUnknownKinds) {
  korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
  korvohost::BeginFrame(0);
  _ANIMATEEX bar;
  Init2DAnimate(Y3DANIM_BAR, &bar, 0.5f, 0.5f, 0);
  bar.width = 0.25f;
  bar.height = 0.125f;
  DrawFrameBitmap(&bar, 0x112233, 0);   // alpha 0 reads as opaque
  _ANIMATEEX caret;
  Init2DAnimate(Y3DANIM_CARET, &caret, 0, 0, 0);
  korvohost::SetTick(600);   // the caret's off phase
  Process2DAnimate(&caret, 1);
  DrawFrameBitmap(&caret, 0xFFFFFF, 0);
  ShowText(0, 0, 0xFFFFFFFF, "");   // empty texts are not listed
  ShowText(0, 0, 0xFF102030, "a\"b");
  EXPECT_EQ(Run("draws"),
            "draw anim 0 x=512 y=384 w=256 h=96 argb=0xFF112233 visible=true\n"
            "draw anim 4 x=0 y=0 w=2 h=0 argb=0xFFFFFFFF visible=false\n"
            "draw text \"a\\x22b\" argb=0xFF102030\n");
  EXPECT_EQ(Run("draws sprite"), "error: not a draw kind (bitmap, transformed, anim, text): sprite");
}

}  // namespace

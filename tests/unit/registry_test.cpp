// Class registry: keys, replacement, id-bound preference; factories.
#include <gtest/gtest.h>

#include "runtime/dialog.h"
#include "runtime/registry.h"

namespace {

template <const char* Name>
class NamedWindow : public CGUI_Window {
 public:
  NamedWindow() : CGUI_Window(Name) {}
};

constexpr char kAB[] = "AB";
constexpr char kA[] = "A";
constexpr char kButton[] = "BUTTON";
constexpr char kPushButton[] = "PUSHBUTTON";

// A window that remembers which factory made it.
class TaggedDialog : public CGUI_Dialog {
 public:
  TaggedDialog() { SetCaption("tagged"); }
};

std::string CaptionOf(CGUI_Window* w) {
  std::string caption;
  w->GetCaption(caption);
  delete w;
  return caption;
}

}  // namespace

TEST(Registry, FactoryTakesItsClassNameFromAPrototype) {
  TGUI_WindowFactory<CGUI_Dialog> f("MAINMENU");
  std::string name, id;
  f.GetClassName(name);
  f.GetId(id);
  EXPECT_EQ(name, "DIALOG");
  EXPECT_EQ(id, "MAINMENU");
  CGUI_Window* w = f.Create();
  EXPECT_EQ(w->ClassName(), "DIALOG");
  EXPECT_EQ(w->Id(), "");   // nothing but the class name is set
  delete w;
}

// Without replace an existing key is refused (the factory stays the
// caller's); with replace the later registration wins. Keys are plain
// concatenations of class name and id.
TEST(Registry, RegistrationsReplaceOnlyWhenAsked) {
  CGUI_ClassRegistry r;
  EXPECT_TRUE(r.RegisterClass(new TGUI_WindowFactory<CGUI_Dialog>, false));
  auto* second = new TGUI_WindowFactory<TaggedDialog>;
  EXPECT_FALSE(r.RegisterClass(second, false));
  delete second;
  EXPECT_EQ(CaptionOf(r.CreateWindow("DIALOG", "")), "");
  EXPECT_TRUE(r.RegisterClass(new TGUI_WindowFactory<TaggedDialog>, true));
  EXPECT_EQ(r.ByClass().size(), 1u);
  EXPECT_EQ(CaptionOf(r.CreateWindow("DIALOG", "ANY")), "tagged");

  EXPECT_TRUE(r.RegisterId(new TGUI_WindowFactory<NamedWindow<kAB>>("C"), true));
  EXPECT_TRUE(r.RegisterId(new TGUI_WindowFactory<NamedWindow<kA>>("BC"), true));
  EXPECT_EQ(r.ById().size(), 1u);
  CGUI_Window* w = r.CreateWindow("AB", "C");   // the later registration won
  EXPECT_EQ(w->ClassName(), "A");
  delete w;
  auto* refused = new TGUI_WindowFactory<NamedWindow<kAB>>("C");
  EXPECT_FALSE(r.RegisterId(refused, false));
  delete refused;
}

// An id-bound class is preferred for its pair only; a BUTTON binding is not
// used for PUSHBUTTON.
TEST(Registry, IdBoundClassesArePreferredForTheirPairOnly) {
  CGUI_ClassRegistry r;
  r.RegisterClass(new TGUI_WindowFactory<CGUI_Dialog>, true);
  r.RegisterId(new TGUI_WindowFactory<TaggedDialog>("MAINMENU"), true);
  EXPECT_EQ(CaptionOf(r.CreateWindow("DIALOG", "MAINMENU")), "tagged");
  EXPECT_EQ(CaptionOf(r.CreateWindow("DIALOG", "OTHER")), "");
  EXPECT_EQ(r.CreateWindow("STATIC", "MAINMENU"), nullptr);
  EXPECT_TRUE(r.ById().count("DIALOGMAINMENU"));
  // Keys of any length: class name and id together beyond a short buffer.
  const std::string longId(300, 'L');
  r.RegisterId(new TGUI_WindowFactory<TaggedDialog>(longId.c_str()), true);
  EXPECT_EQ(CaptionOf(r.CreateWindow("DIALOG", longId)), "tagged");
  EXPECT_EQ(CaptionOf(r.CreateWindow("DIALOG", longId + "L")), "");

  r.RegisterClass(new TGUI_WindowFactory<NamedWindow<kPushButton>>, true);
  r.RegisterId(new TGUI_WindowFactory<NamedWindow<kButton>>("X"), true);
  CGUI_Window* w = r.CreateWindow("PUSHBUTTON", "X");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->ClassName(), "PUSHBUTTON");
  delete w;
  w = r.CreateWindow("BUTTON", "X");
  EXPECT_EQ(w->ClassName(), "BUTTON");
  delete w;
  EXPECT_EQ(r.CreateWindow("BUTTON", "Y"), nullptr);   // no class registration
}

// Class registry: keys, replacement, id-bound preference; factories.
#include <gtest/gtest.h>

#include <string>

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

// A dialog that shows which factory made it.
class TaggedDialog : public CGUI_Dialog {
 public:
  TaggedDialog() { SetCaption("tagged"); }
};

// "CLASS caption" of the window the registry makes for the pair, or "none".
std::string Made(CGUI_ClassRegistry& r, const std::string& className, const std::string& id) {
  CGUI_Window* w = r.CreateWindow(className, id);
  if (!w) return "none";
  std::string caption;
  w->GetCaption(caption);
  const std::string made = w->ClassName() + (caption.empty() ? "" : " " + caption);
  delete w;
  return made;
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
  TGUI_WindowFactory<TaggedDialog> refusedClass;
  EXPECT_FALSE(r.RegisterClass(&refusedClass, false));
  EXPECT_EQ(Made(r, "DIALOG", ""), "DIALOG");
  EXPECT_TRUE(r.RegisterClass(new TGUI_WindowFactory<TaggedDialog>, true));
  EXPECT_EQ(r.ByClass().size(), 1u);
  EXPECT_EQ(Made(r, "DIALOG", "ANY"), "DIALOG tagged");

  EXPECT_TRUE(r.RegisterId(new TGUI_WindowFactory<NamedWindow<kAB>>("C"), true));
  EXPECT_TRUE(r.RegisterId(new TGUI_WindowFactory<NamedWindow<kA>>("BC"), true));
  EXPECT_EQ(r.ById().size(), 1u);
  EXPECT_EQ(Made(r, "AB", "C"), "A");   // the later registration won
  TGUI_WindowFactory<NamedWindow<kAB>> refusedId("C");
  EXPECT_FALSE(r.RegisterId(&refusedId, false));
}

// An id-bound class is preferred for its pair only (keys of any length); a
// BUTTON binding is not used for PUSHBUTTON.
TEST(Registry, IdBoundClassesArePreferredForTheirPairOnly) {
  CGUI_ClassRegistry r;
  r.RegisterClass(new TGUI_WindowFactory<CGUI_Dialog>, true);
  r.RegisterId(new TGUI_WindowFactory<TaggedDialog>("MAINMENU"), true);
  EXPECT_EQ(Made(r, "DIALOG", "MAINMENU"), "DIALOG tagged");
  EXPECT_EQ(Made(r, "DIALOG", "OTHER"), "DIALOG");
  EXPECT_EQ(Made(r, "STATIC", "MAINMENU"), "none");
  const std::string longId(300, 'L');
  r.RegisterId(new TGUI_WindowFactory<TaggedDialog>(longId.c_str()), true);
  EXPECT_EQ(Made(r, "DIALOG", longId), "DIALOG tagged");
  EXPECT_EQ(Made(r, "DIALOG", longId + "L"), "DIALOG");
  r.RegisterClass(new TGUI_WindowFactory<NamedWindow<kPushButton>>, true);
  r.RegisterId(new TGUI_WindowFactory<NamedWindow<kButton>>("X"), true);
  EXPECT_EQ(Made(r, "PUSHBUTTON", "X"), "PUSHBUTTON");
  EXPECT_EQ(Made(r, "BUTTON", "X"), "BUTTON");
  EXPECT_EQ(Made(r, "BUTTON", "Y"), "none");   // no class registration
}

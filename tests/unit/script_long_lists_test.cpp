// Scripts with one very long list of each kind (dialogs, controls, flag words,
// PARAM lines, parameters of one line) compile on a thread with a small stack:
// the parser's work per list item must not take C++ stack.
#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <string>

#include "runtime/control.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "script/compiler.h"
#include "tests/unit/runtime_fixture.h"

namespace {

constexpr int kItems = 50000;
// Fewer controls: a dialog's child list checks each new child against the
// ones it holds. Far beyond what overflowed the small stack all the same.
constexpr int kControls = 10000;
constexpr size_t kSmallStack = 256 * 1024;

// Runs body on a thread of kSmallStack bytes of stack and waits for it.
void OnSmallStack(const std::function<void()>& body) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, kSmallStack), 0);
  pthread_t thread;
  auto run = [](void* arg) -> void* {
    (*static_cast<const std::function<void()>*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

// Compiles text on the small stack; the table, or null with the error text.
CDialogTable* CompileOnSmallStack(const std::string& text, std::string* error) {
  CDialogTable* table = nullptr;
  OnSmallStack([&] {
    table = CompileScript(text.c_str());
    if (!table) *error = GetErrorText();
  });
  return table;
}

const char* const kRegion = " 0.0, 0.0, 0.5, 0.5";

class LongListTest : public RuntimeTest {};

}  // namespace

// One script holds a long list of each kind.
TEST_F(LongListTest, ListsInTheirThousands) {
  std::string text;
  for (int i = 0; i < kItems; ++i) text += "DIALOG \"\" D" + std::to_string(i) + kRegion + " BEGIN END\n";
  text += std::string("DIALOG \"\" MANY") + kRegion + "\nBEGIN\n";
  for (int i = 0; i < kControls; ++i)
    text += "BUTTON \"\" IDC_B" + std::to_string(i) + kRegion + " PARAM " + std::to_string(i) + "\n";
  text += "END\n";
  std::string words = "WF_HIDE";
  for (int i = 1; i < kItems; ++i) words += i == kItems - 1 ? " | WF_NOHITTEST" : " | WF_HIDE";
  text += "DIALOG \"\" FLAGGED " + words + kRegion + "\nBEGIN\n  BUTTON \"\" IDC_F " + words + kRegion +
          " PARAM 1\nEND\n";
  text += std::string("DIALOG \"\" PL") + kRegion + "\nBEGIN\n  BUTTON \"\" IDC_LINES" + kRegion + "\n";
  for (int i = 0; i < kItems; ++i) text += "    PARAM " + std::to_string(i) + "\n";
  text += "  BUTTON \"\" IDC_ONE" + std::string(kRegion) + "\n    PARAM 0";
  for (int i = 1; i < kItems; ++i) text += ", " + std::to_string(i);
  text += "\nEND\n";
  std::string error;
  CDialogTable* table = CompileOnSmallStack(text, &error);
  ASSERT_NE(table, nullptr) << error;
  EXPECT_EQ(table->Entries().size(), size_t(kItems + 3));
  CGUI_Window* many = table->Entries().at("MANY");
  ASSERT_EQ(many->ChildCount(), kControls);

  // Every flag word is taken: the last one as well as the first.
  CGUI_Window* dialog = table->Entries().at("FLAGGED");
  for (CGUI_Window* w : {dialog, dialog->FindChild("IDC_F")}) {
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->IsHidden());
    EXPECT_FALSE(w->IsHitTest());
  }

  dialog = table->Entries().at("PL");
  auto* lines = dynamic_cast<CGUI_Control*>(dialog->FindChild("IDC_LINES"));
  ASSERT_NE(lines, nullptr);
  ASSERT_EQ(lines->GetParamListCount(), kItems);
  auto* one = dynamic_cast<CGUI_Control*>(dialog->FindChild("IDC_ONE"));
  ASSERT_NE(one, nullptr);
  ASSERT_EQ(one->GetParamListCount(), 1);
  int count = 0;
  for (const SParamList* p = one->GetParamList(0); p; p = p->next) ++count;
  EXPECT_EQ(count, kItems);
  delete table;
}

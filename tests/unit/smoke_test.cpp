#include <gtest/gtest.h>
#include "korvogui/korvogui.h"
TEST(Smoke, TexPath) { EXPECT_STREQ(GUI_GetTexPath("x.tga"), "menu/x.tga"); }

// script_generator.cpp: generated scripts cycle through the standard control
// classes with flags and one PARAM line of a string, an integer and a float.
#include "bench/script_generator.h"

#include <cstdio>

std::string GenerateScript(int dialogs, int controlsPerDialog) {
  static const char* const kKinds[] = {"BUTTON", "EDIT", "LIST", "CUSTOM"};
  static const char* const kFlags[] = {"CF_TABSTOP | CF_ALIGN_HCENTER", "ES_PASSWORD", "CF_TABSTOP",
                                       "WF_NOHITTEST"};
  std::string text;
  text.reserve(static_cast<size_t>(dialogs) * (64 + controlsPerDialog * 110));
  char line[256];
  for (int d = 0; d < dialogs; ++d) {
    std::snprintf(line, sizeof line, "DIALOG \"Dialog %d\" DLG_%05d 0.0, 0.0, 1.0, 1.0\nBEGIN\n", d, d);
    text += line;
    for (int c = 0; c < controlsPerDialog; ++c) {
      const int k = c % 4;
      std::snprintf(line, sizeof line,
                    "    %s \"Control %d\" IDC_%s_%05d_%03d %s %.3f, %.3f, 0.200, 0.040\n"
                    "        PARAM \"menuline%02d.tga\", %d, %.2f\n",
                    kKinds[k], c, kKinds[k], d, c, kFlags[k], 0.05 + (c % 4) * 0.23,
                    0.05 + (c / 4) * 0.045, c % 4 + 1, c, c * 0.25);
      text += line;
    }
    text += "END\n";
  }
  return text;
}

std::string GeneratePushButtonScript(int dialogs, int buttonsPerDialog) {
  std::string text;
  text.reserve(static_cast<size_t>(dialogs) * (64 + buttonsPerDialog * 520));
  char line[1024];
  for (int d = 0; d < dialogs; ++d) {
    std::snprintf(line, sizeof line, "DIALOG \"Dialog %d\" DLG_%05d WF_FOREGROUND 0.0, 0.0, 1.0, 1.0\nBEGIN\n", d, d);
    text += line;
    for (int b = 0; b < buttonsPerDialog; ++b) {
      const int image = b % 4 + 1;
      std::snprintf(line, sizeof line,
                    "    PUSHBUTTON \"Button %d\" IDC_BUTTON_%05d_%03d CF_TABSTOP | CF_ALIGN_HCENTER %.3f, %.3f, 0.250, 0.067\n"
                    "        PARAM \"MENU\", 18.0, 1.0, 0, 255, 255, 255, 255\n"
                    "        PARAM \"button%02d.tga\", 255, 255, 255, 255, 1.0, 1.0\n"
                    "        PARAM \"null\"\n"
                    "        PARAM \"button%02d_over.tga\", 255, 220, 150, 255, 1.0, 1.0\n"
                    "        PARAM 255, 220, 150, 255, 255, 255, 255, 160, 0.8\n"
                    "        PARAM \"button%02d_down.tga\", 200, 160, 90, 255, 1.0, 1.0\n"
                    "        PARAM 200, 160, 90, 255, 255, 200, 120, 255, 0.5\n",
                    b, d, b, 0.05 + (b % 4) * 0.23, 0.05 + (b / 4 % 20) * 0.045, image, image, image);
      text += line;
    }
    text += "END\n";
  }
  return text;
}

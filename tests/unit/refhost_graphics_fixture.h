// refhost_graphics_fixture.h: a fresh reference host with a small frame, and
// texture files made in memory, for the graphics and control tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"

// A 32-bit top-left-origin TGA of w by h pixels given as 0xAARRGGBB, row by row.
inline std::string Tga(int w, int h, const std::vector<uint32_t>& argb) {
  std::string bytes(18, '\0');
  bytes[2] = 2;   // uncompressed true colour
  bytes[12] = char(w & 255), bytes[13] = char(w >> 8);
  bytes[14] = char(h & 255), bytes[15] = char(h >> 8);
  bytes[16] = 32;
  bytes[17] = 0x28;   // 8 alpha bits, first row at the top
  for (uint32_t p : argb) {
    bytes += char(p & 255);
    bytes += char((p >> 8) & 255);
    bytes += char((p >> 16) & 255);
    bytes += char(p >> 24);
  }
  return bytes;
}

class RefhostGraphics : public ::testing::Test {
 protected:
  void SetUp() override {
    korvohost::Reset();
    korvohost::ResetGraphics();
    korvohost::SetScreen(64, 48);
    korvohost::BeginFrame(0x000000);
  }
  void TearDown() override {
    korvohost::ResetGraphics();
    korvohost::Reset();
  }

  // Pixels of the frame's rectangle that differ from colour.
  static int CountNot(uint32_t colour, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += korvohost::GetPixel(x, y) != colour;
    return n;
  }
};

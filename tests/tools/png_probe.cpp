// png_probe: facts about a PNG for the tests of `korvoui render` and `korvoui
// play`: its size and, per rectangle, how many pixels differ from a colour.
//
//   png_probe FILE RRGGBB [X Y W H]...
//
// prints "size WxH", then "rect X Y W H: N differ" for each rectangle.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3 || (argc - 3) % 4 != 0) {
    std::fprintf(stderr, "usage: png_probe FILE RRGGBB [X Y W H]...\n");
    return 2;
  }
  int w, h, channels;
  unsigned char* pixels = stbi_load(argv[1], &w, &h, &channels, 4);
  if (!pixels) {
    std::fprintf(stderr, "png_probe: cannot read %s: %s\n", argv[1], stbi_failure_reason());
    return 1;
  }
  const unsigned long rgb = std::strtoul(argv[2], nullptr, 16);
  std::printf("size %dx%d\n", w, h);
  for (int a = 3; a + 3 < argc; a += 4) {
    const int x0 = std::atoi(argv[a]), y0 = std::atoi(argv[a + 1]);
    const int rw = std::atoi(argv[a + 2]), rh = std::atoi(argv[a + 3]);
    int differ = 0;
    for (int y = y0; y < y0 + rh && y < h; ++y)
      for (int x = x0; x < x0 + rw && x < w; ++x) {
        const unsigned char* p = pixels + (size_t(y) * size_t(w) + size_t(x)) * 4;
        const unsigned long c = (unsigned long)p[0] << 16 | (unsigned long)p[1] << 8 | p[2];
        if (c != rgb) ++differ;
      }
    std::printf("rect %d %d %d %d: %d differ\n", x0, y0, rw, rh, differ);
  }
  stbi_image_free(pixels);
  return 0;
}

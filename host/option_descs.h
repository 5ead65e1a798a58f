// option_descs.h: the host's list of option-part descriptors (the parts a
// mech can mount), which the module copies into its option table.
#pragma once

struct OPT_DESC {
  char* text[4];     // 0 name, 1 second text, 2 small icon texture, 3 fourth text
  int id;            // 4: the host option id, mounted left or right
  OPT_DESC* next;    // null after the last descriptor
};

// The first descriptor, or null when the host has none.
OPT_DESC* OPT_GetDescHead();

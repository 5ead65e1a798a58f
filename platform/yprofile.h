// yprofile.h (platform): the profiling library stand-in's reading side, for
// tools and tests: what QBN_Initialize and LogAddNewLine received.
#pragma once
#include <string>
#include <vector>

#include "host/yprofile.h"

extern "C" {
// Number of QBN_Initialize calls so far, and the last process handle given.
__attribute__((visibility("default"))) int YProfile_InitCount();
__attribute__((visibility("default"))) void* YProfile_Process();
}

// The lines logged since the last call; forgets them.
__attribute__((visibility("default"))) std::vector<std::string> YProfile_TakeLines();

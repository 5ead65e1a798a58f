// allocation_counter.h: counts the operator new calls of the unit test binary
// while armed (the binary replaces the global operator new once, here).
#pragma once

namespace alloccount {

// Arms the counter from zero.
void Start();
// Disarms it and gives the allocations counted since Start.
int Stop();

}  // namespace alloccount

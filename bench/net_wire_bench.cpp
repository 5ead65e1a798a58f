// net_wire_bench.cpp: the network stand-in's codec: a room's eight slot
// records encoded and decoded (what a client takes in when it joins), and a
// stream of frames of which every other one is cut short (what a flooding
// sender costs the server before it is dropped).
#include <benchmark/benchmark.h>

#include <vector>

#include "netkorvo/wire.h"

namespace {

namespace wire = netkorvo::wire;

std::vector<std::vector<uint8_t>> SlotFrames() {
  std::vector<std::vector<uint8_t>> frames;
  for (int i = 0; i < 8; ++i) {
    wire::SSlotRecord r;
    r.slot = uint8_t(i);
    r.inUse = 1;
    r.state = 3;
    r.name = "PILOT " + std::to_string(i);
    r.choice.character = i;
    frames.push_back(wire::Encode(r));
  }
  return frames;
}

void BM_NetWireEncodeSlots(benchmark::State& state) {
  wire::SSlotRecord r;
  r.inUse = 1;
  r.name = "PILOT";
  for (auto _ : state) {
    for (uint8_t i = 0; i < 8; ++i) {
      r.slot = i;
      benchmark::DoNotOptimize(wire::Encode(r));
    }
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 8);
}
BENCHMARK(BM_NetWireEncodeSlots);

void BM_NetWireDecodeSlots(benchmark::State& state) {
  const auto frames = SlotFrames();
  wire::SMessage message;
  for (auto _ : state)
    for (const auto& f : frames) benchmark::DoNotOptimize(wire::Decode(f.data(), f.size(), &message));
  state.SetItemsProcessed(int64_t(state.iterations()) * 8);
}
BENCHMARK(BM_NetWireDecodeSlots);

void BM_NetWireDecodeHalfTruncated(benchmark::State& state) {
  const auto frames = SlotFrames();
  wire::SMessage message;
  for (auto _ : state)
    for (size_t i = 0; i < frames.size(); ++i)
      benchmark::DoNotOptimize(wire::Decode(frames[i].data(), frames[i].size() - (i & 1), &message));
  state.SetItemsProcessed(int64_t(state.iterations()) * 8);
}
BENCHMARK(BM_NetWireDecodeHalfTruncated);

}  // namespace

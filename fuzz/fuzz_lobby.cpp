// fuzz_lobby.cpp: the lobby protocol's decoder on arbitrary bytes. The first
// byte sets the size of the pieces the stream arrives in; every message
// decoded must encode back to exactly the bytes of its frame, and nothing
// may crash, leak or grow without bound.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "lobbyd/decoder.h"
#include "lobbyd/encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = 1 + data[0] % 64;
  ++data;
  --size;
  lobbyd::CFrameReader reader;
  size_t consumed = 0;   // bytes of the frames decoded so far
  for (size_t at = 0; at < size; at += piece) {
    const size_t length = std::min(piece, size - at);
    reader.Feed(data + at, length);
    lobbyd::SMessage message;
    std::string error;
    for (;;) {
      const auto status = reader.Next(&message, &error);
      if (status == lobbyd::CFrameReader::EStatus::kNeedMore) break;
      if (status == lobbyd::CFrameReader::EStatus::kMalformed) {
        if (error.empty()) std::abort();   // a refusal always says why
        return 0;
      }
      std::vector<uint8_t> again;
      if (!lobbyd::EncodeFrame(message, &again)) std::abort();
      if (consumed + again.size() > size || !std::equal(again.begin(), again.end(), data + consumed)) std::abort();
      consumed += again.size();
    }
    if (reader.Pending() > lobbyd::kFrameHeader + lobbyd::kMaxPayload + 64) std::abort();
  }
  return 0;
}

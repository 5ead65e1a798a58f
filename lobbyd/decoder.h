// decoder.h: turns received bytes into messages. CFrameReader cuts the byte
// stream into frames; DecodePayload checks one payload against its schema
// (version, known type, every field within its limit, no NUL in a text, no
// byte left over). Anything else is malformed and ends that connection.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lobbyd/protocol.h"

namespace lobbyd {

// Decodes one payload; false with *error set when it is malformed.
bool DecodePayload(const uint8_t* data, size_t size, SMessage* out, std::string* error);

class CFrameReader {
 public:
  enum class EStatus { kNeedMore, kMessage, kMalformed };

  // Appends received bytes.
  void Feed(const uint8_t* data, size_t size);
  // The next complete message; kMalformed sticks (the stream cannot be resynchronised).
  EStatus Next(SMessage* out, std::string* error);
  // Bytes held that are not a complete frame yet.
  size_t Pending() const { return buffer_.size() - start_; }

 private:
  std::vector<uint8_t> buffer_;
  size_t start_ = 0;
  bool broken_ = false;
};

}  // namespace lobbyd

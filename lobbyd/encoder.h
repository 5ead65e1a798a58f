// encoder.h: builds frames. Encode checks the message against its schema as
// the decoder does, so nothing this side sends can be refused as malformed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "lobbyd/protocol.h"

namespace lobbyd {

// Appends the frame of `message` to *out; false (and nothing appended) when
// a field is missing, too long, holds a NUL or a number is out of range.
bool EncodeFrame(const SMessage& message, std::vector<uint8_t>* out);

// Shorthand: a message of `type` with these texts and numbers.
SMessage MakeMessage(EMsg type, std::vector<std::string> texts, std::vector<uint32_t> numbers = {});

}  // namespace lobbyd

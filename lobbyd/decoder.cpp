// decoder.cpp: frame cutting and schema-checked payload decoding.
#include "lobbyd/decoder.h"

#include <cstring>

namespace lobbyd {

bool DecodePayload(const uint8_t* data, size_t size, SMessage* out, std::string* error) {
  auto fail = [error](const char* text) {
    if (error) *error = text;
    return false;
  };
  if (size < 2) return fail("payload shorter than its header");
  if (size > kMaxPayload) return fail("payload too long");
  if (data[0] != kProtocolVersion) return fail("unknown protocol version");
  const std::vector<SFieldSpec>* schema = Schema(data[1]);
  if (!schema) return fail("unknown message type");
  SMessage message;
  message.type = static_cast<EMsg>(data[1]);
  size_t at = 2;
  for (const SFieldSpec& field : *schema) {
    switch (field.kind) {
      case EField::kText: {
        if (at >= size) return fail("text length missing");
        const size_t length = data[at++];
        if (length > field.max) return fail("text longer than its limit");
        if (size - at < length) return fail("text cut short");
        if (std::memchr(data + at, 0, length)) return fail("NUL inside a text");
        message.texts.emplace_back(reinterpret_cast<const char*>(data + at), length);
        at += length;
        break;
      }
      case EField::kU8:
      case EField::kU16:
      case EField::kU32: {
        const size_t width = field.kind == EField::kU8 ? 1 : field.kind == EField::kU16 ? 2 : 4;
        if (size - at < width) return fail("number cut short");
        uint32_t value = 0;
        for (size_t i = 0; i < width; ++i) value = (value << 8) | data[at + i];
        message.numbers.push_back(value);
        at += width;
        break;
      }
    }
  }
  if (at != size) return fail("bytes after the last field");
  *out = std::move(message);
  return true;
}

void CFrameReader::Feed(const uint8_t* data, size_t size) {
  if (broken_ || size == 0) return;
  if (start_ > 0 && start_ == buffer_.size()) {
    buffer_.clear();
    start_ = 0;
  }
  buffer_.insert(buffer_.end(), data, data + size);
}

CFrameReader::EStatus CFrameReader::Next(SMessage* out, std::string* error) {
  if (broken_) {
    if (error) *error = "stream already malformed";
    return EStatus::kMalformed;
  }
  const size_t available = buffer_.size() - start_;
  if (available < kFrameHeader) return EStatus::kNeedMore;
  const uint8_t* head = buffer_.data() + start_;
  const size_t length = (size_t{head[0]} << 8) | head[1];
  if (length < 2 || length > kMaxPayload) {
    broken_ = true;
    if (error) *error = "frame length out of range";
    return EStatus::kMalformed;
  }
  if (available < kFrameHeader + length) return EStatus::kNeedMore;
  const bool ok = DecodePayload(head + kFrameHeader, length, out, error);
  start_ += kFrameHeader + length;
  // Compact once the consumed part dominates, so the buffer stays bounded.
  if (start_ > 4096 && start_ * 2 > buffer_.size()) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  if (!ok) {
    broken_ = true;
    return EStatus::kMalformed;
  }
  return EStatus::kMessage;
}

}  // namespace lobbyd

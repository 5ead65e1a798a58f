// encoder.cpp: schema-checked frame building.
#include "lobbyd/encoder.h"

namespace lobbyd {

bool EncodeFrame(const SMessage& message, std::vector<uint8_t>* out) {
  const std::vector<SFieldSpec>* schema = Schema(static_cast<uint8_t>(message.type));
  if (!schema) return false;
  std::vector<uint8_t> payload{kProtocolVersion, static_cast<uint8_t>(message.type)};
  size_t text = 0, number = 0;
  for (const SFieldSpec& field : *schema) {
    if (field.kind == EField::kText) {
      if (text >= message.texts.size()) return false;
      const std::string& value = message.texts[text++];
      if (value.size() > field.max || value.find('\0') != std::string::npos) return false;
      payload.push_back(static_cast<uint8_t>(value.size()));
      payload.insert(payload.end(), value.begin(), value.end());
      continue;
    }
    if (number >= message.numbers.size()) return false;
    const uint32_t value = message.numbers[number++];
    const int width = field.kind == EField::kU8 ? 1 : field.kind == EField::kU16 ? 2 : 4;
    if (width < 4 && value >> (8 * width) != 0) return false;
    for (int i = width - 1; i >= 0; --i) payload.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  if (text != message.texts.size() || number != message.numbers.size()) return false;
  if (payload.size() > kMaxPayload) return false;
  out->push_back(static_cast<uint8_t>(payload.size() >> 8));
  out->push_back(static_cast<uint8_t>(payload.size()));
  out->insert(out->end(), payload.begin(), payload.end());
  return true;
}

SMessage MakeMessage(EMsg type, std::vector<std::string> texts, std::vector<uint32_t> numbers) {
  SMessage message;
  message.type = type;
  message.texts = std::move(texts);
  message.numbers = std::move(numbers);
  return message;
}

}  // namespace lobbyd

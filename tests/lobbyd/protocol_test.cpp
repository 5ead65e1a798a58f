// protocol_test.cpp: the decoder's limits and the encoder's agreement with it.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "lobbyd/decoder.h"
#include "lobbyd/encoder.h"
#include "lobbyd/records.h"

namespace lobbyd {
namespace {

std::vector<uint8_t> Frame(std::vector<uint8_t> payload) {
  std::vector<uint8_t> out{static_cast<uint8_t>(payload.size() >> 8), static_cast<uint8_t>(payload.size())};
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

// A frame is complete only with its last byte; two frames in one read are two messages.
TEST(LobbyProtocol, FramesRoundTripByteByByteAndTwoInOneRead) {
  std::vector<uint8_t> bytes;
  const SMessage sent = MakeMessage(EMsg::kSessionEntry, {"Arena", "map01.gnd"}, {3, 0x7f000001, 7000, 2, 8, 1});
  ASSERT_TRUE(EncodeFrame(sent, &bytes));
  const size_t first = bytes.size();
  ASSERT_TRUE(EncodeFrame(MakeMessage(EMsg::kLogOut, {}), &bytes));
  CFrameReader reader;
  SMessage got;
  std::string error;
  for (size_t i = 0; i + 1 < first; ++i) {
    reader.Feed(&bytes[i], 1);
    ASSERT_EQ(reader.Next(&got, &error), CFrameReader::EStatus::kNeedMore) << i;
  }
  reader.Feed(&bytes[first - 1], bytes.size() - first + 1);
  ASSERT_EQ(reader.Next(&got, &error), CFrameReader::EStatus::kMessage);
  EXPECT_EQ(std::tie(got.type, got.texts, got.numbers), std::tie(sent.type, sent.texts, sent.numbers));
  ASSERT_EQ(reader.Next(&got, &error), CFrameReader::EStatus::kMessage);
  EXPECT_EQ(got.type, EMsg::kLogOut);
  EXPECT_EQ(reader.Next(&got, &error), CFrameReader::EStatus::kNeedMore);
  EXPECT_EQ(reader.Pending(), 0u);
}

// A payload of `head` and then `count` times `fill`.
std::vector<uint8_t> Payload(std::vector<uint8_t> head, size_t count = 0, uint8_t fill = 'x') {
  head.insert(head.end(), count, fill);
  return head;
}

TEST(LobbyProtocol, PayloadsThatBreakTheRules) {
  constexpr uint8_t V = kProtocolVersion;
  const auto leave = static_cast<uint8_t>(EMsg::kLeaveGame), closed = static_cast<uint8_t>(EMsg::kSessionClosed);
  const struct {
    const char* what;
    std::vector<uint8_t> payload;
    const char* error;   // "" when it decodes
  } cases[] = {
      {"empty", {}, "payload shorter than its header"},
      // The version before kLeaveGame and kSessionClosed is refused, as is any other.
      {"version 1", {1, 13, 1, 'a'}, "unknown protocol version"},
      {"type 99", {V, 99}, "unknown message type"},
      {"no length", {V, 13}, "text length missing"},
      {"short text", {V, 13, 3, 'a', 'b'}, "text cut short"},
      {"NUL", {V, 13, 3, 'a', 0, 'b'}, "NUL inside a text"},
      {"extra byte", {V, 2, 0}, "bytes after the last field"},
      {"short number", {V, 64, 1}, "number cut short"},
      {"chat of 200", Payload({V, 13, 200}, 200), ""},
      {"chat of 201", Payload({V, 13, 201}, 201), "text longer than its limit"},
      // A game's end: the leave request has no field, the closed game's
      // notice its name within the session record's limit (a missing or an
      // extra field is refused as in the rows above).
      {"leave", {V, leave}, ""},
      {"closed", {V, closed, 4, 'D', 'u', 'e', 'l'}, ""},
      {"closed, long name", Payload({V, closed, 20}, 20, 'g'), "text longer than its limit"},
  };
  for (const auto& c : cases) {
    SMessage m;
    std::string error;
    const bool ok = DecodePayload(c.payload.data(), c.payload.size(), &m, &error);
    EXPECT_EQ(ok ? "" : error, c.error) << c.what;
    if (!ok) continue;
    EXPECT_EQ(m.type, static_cast<EMsg>(c.payload[1])) << c.what;
    const std::string text = m.texts.empty() ? "" : m.Text(0);
    EXPECT_EQ(text, m.texts.empty() ? "" : std::string(c.payload.begin() + 3, c.payload.end())) << c.what;
  }
}

TEST(LobbyProtocol, FrameLengthOutOfRangeBreaksTheStream) {
  // Just over the largest payload, and under the smallest.
  using Bytes = std::vector<uint8_t>;
  for (const Bytes& bytes : {Bytes{0x04, 0x01}, Bytes{0, 1, 1}}) {
    CFrameReader reader;
    reader.Feed(bytes.data(), bytes.size());
    SMessage m;
    std::string error;
    EXPECT_EQ(reader.Next(&m, &error), CFrameReader::EStatus::kMalformed);
    EXPECT_EQ(error, "frame length out of range");
    // It stays broken: a later good frame is not read.
    std::vector<uint8_t> good;
    ASSERT_TRUE(EncodeFrame(MakeMessage(EMsg::kLogOut, {}), &good));
    reader.Feed(good.data(), good.size());
    EXPECT_EQ(reader.Next(&m, &error), CFrameReader::EStatus::kMalformed);
  }
  // The largest payload allowed is read.
  CFrameReader reader;
  std::vector<uint8_t> payload(kMaxPayload, 0);
  payload[0] = kProtocolVersion;
  payload[1] = static_cast<uint8_t>(EMsg::kLogOut);
  const std::vector<uint8_t> bytes = Frame(payload);
  reader.Feed(bytes.data(), bytes.size());
  SMessage m;
  std::string error;
  EXPECT_EQ(reader.Next(&m, &error), CFrameReader::EStatus::kMalformed);
  EXPECT_EQ(error, "bytes after the last field");
}

TEST(LobbyProtocol, EncoderRefusesWhatTheDecoderWould) {
  std::vector<uint8_t> out;
  EXPECT_FALSE(EncodeFrame(MakeMessage(EMsg::kChatMsg, {std::string(201, 'x')}), &out));
  EXPECT_FALSE(EncodeFrame(MakeMessage(EMsg::kChatMsg, {std::string("a\0b", 3)}), &out));
  EXPECT_FALSE(EncodeFrame(MakeMessage(EMsg::kChatMsg, {}), &out));                  // field missing
  EXPECT_FALSE(EncodeFrame(MakeMessage(EMsg::kChatMsg, {"a", "b"}), &out));          // one too many
  EXPECT_FALSE(EncodeFrame(MakeMessage(EMsg::kResult, {}, {256, 0}), &out));          // over 8 bits
  EXPECT_FALSE(EncodeFrame(MakeMessage(EMsg::kChannelEntry, {"c"}, {65536}), &out));  // over 16 bits
  EXPECT_FALSE(EncodeFrame(MakeMessage(static_cast<EMsg>(99), {}), &out));
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(EncodeFrame(MakeMessage(EMsg::kChannelEntry, {"c"}, {65535}), &out));
}

TEST(LobbyRecords, AGameFillsTheJoinListsRecord) {
  SSession session;
  session.name = std::string(25, 'n');   // longer than the record: cut, terminated
  session.map = "map01.gnd";
  session.type = 4;
  const uint8_t address[4] = {127, 0, 0, 9};
  std::memcpy(session.address, address, 4);
  const SESSION_INFO s = ToRecord(session);
  EXPECT_EQ(std::make_tuple(std::string(s.name), std::string(s.map), int(s.type)),
            std::make_tuple(std::string(19, 'n'), std::string("map01.gnd"), 4));
  EXPECT_EQ(std::memcmp(&s.address, address, 4), 0);
}

}  // namespace
}  // namespace lobbyd

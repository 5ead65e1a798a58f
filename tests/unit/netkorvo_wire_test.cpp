// Tests of the network stand-in's message codec: every message round-trips;
// truncated, oversized, unknown, malformed and other-version frames are
// refused with their reason; texts are cut to their record's room.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "netkorvo/wire.h"

namespace wire = netkorvo::wire;
using wire::EDecode;
using Bytes = std::vector<uint8_t>;

namespace {

wire::SChoice SomeChoice() {
  return {.character = 7, .left = 2, .right = -1, .team = 1, .classIndex = 4, .ready = 1};
}

std::vector<wire::SMessage> AllMessages() {
  using K = wire::EMatchEvent;
  return {wire::SQuery{},
          wire::SAnnounce{.serverId = 0xDEADBEEF, .roomPort = 24160, .type = 3, .players = 2, .maxPlayers = 8,
                          .name = "ACE's ARENA", .text = "desert"},
          wire::SHello{"KITE", "pw"},
          wire::SWelcome{.slot = 5, .room = "ROOM", .map = "desert-DE.gnd", .type = 1, .frag = 20, .time = -10,
                         .parts = 2, .armor = 300, .shield = 150},
          wire::SRefuse{"THE ROOM IS FULL"},
          wire::SSlotRecord{.slot = 7, .inUse = 1, .bot = 1, .state = 1, .name = "BOT 7", .choice = SomeChoice()},
          SomeChoice(),
          wire::SStart{},
          wire::SClosed{"BYE"},
          wire::SSay{"HI"},
          wire::SChatLine{.slot = 3, .colour = 0xFF3C6EF0, .name = "KITE", .text = "GOOD MATCH"},
          wire::SMatchEvent{.kind = K::kFrag, .slot = 0, .other = 7, .text = ""},
          wire::SMatchEvent{.text = "ONE MINUTE LEFT"},
          wire::SMatchState{.elapsedMs = 61234, .end = 2, .winners = 0x81, .rows = {{7, 5, 0}, {0, 5, 2}, {3, 0, 9}}},
          wire::SMatchState{}};
}

EDecode DecodeBytes(const Bytes& bytes, wire::SMessage* out = nullptr) {
  wire::SMessage scratch;
  return wire::Decode(bytes.data(), bytes.size(), out ? out : &scratch);
}

}  // namespace

// Every message round-trips; every shorter prefix of its frame is truncated
// and a byte more is oversized.
TEST(NetWire, EveryMessageRoundTripsWithItsType) {
  for (const wire::SMessage& message : AllMessages()) {
    const Bytes bytes = wire::Encode(message);
    ASSERT_GE(bytes.size(), wire::kHeaderSize);
    EXPECT_EQ(bytes[2], wire::kProtocolVersion);
    EXPECT_EQ(bytes[3], uint8_t(wire::TypeOf(message)));
    EXPECT_EQ(size_t(bytes[0] | bytes[1] << 8), bytes.size() - 2) << "length of what follows";
    wire::SMessage decoded;
    ASSERT_EQ(DecodeBytes(bytes, &decoded), EDecode::kOk) << int(wire::TypeOf(message));
    EXPECT_TRUE(decoded == message) << int(wire::TypeOf(message));
    for (size_t n = 0; n < bytes.size(); ++n)
      EXPECT_EQ(DecodeBytes(Bytes(bytes.begin(), bytes.begin() + long(n))), EDecode::kTruncated)
          << int(wire::TypeOf(message)) << " cut to " << n;
    Bytes longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(DecodeBytes(longer), EDecode::kOversized) << "a byte past the frame";
  }
}

TEST(NetWire, FramesAboveTheLimitUnknownTypesAndBadValuesAreRefused) {
  // The length counts the byte of a text that is missing.
  Bytes hello = wire::Encode(wire::SHello{"ACE"});
  hello.pop_back();
  hello[0] = uint8_t(hello.size() - 2);
  EXPECT_EQ(DecodeBytes(hello), EDecode::kTruncated);
  // A body longer than its fields, inside a correct length.
  Bytes start = wire::Encode(wire::SStart{});
  start.push_back(1);
  start[0] = uint8_t(start.size() - 2);
  EXPECT_EQ(DecodeBytes(start), EDecode::kOversized);
  EXPECT_EQ(DecodeBytes(Bytes(wire::kMaxFrame + 1, 0)), EDecode::kOversized);
  EXPECT_EQ(DecodeBytes({0xFF, 0xFF, wire::kProtocolVersion, 3}), EDecode::kOversized) << "a length above the limit";
  for (uint8_t type : {0, 14, 200, 255})
    EXPECT_EQ(DecodeBytes({2, 0, wire::kProtocolVersion, type}), EDecode::kUnknown) << int(type);
  Bytes bytes = wire::Encode(wire::SSlotRecord{});
  bytes[4] = 8;   // slot 8
  EXPECT_EQ(DecodeBytes(bytes), EDecode::kMalformed);
  bytes = wire::Encode(SomeChoice());
  bytes.back() = 2;   // ready neither 0 nor 1
  EXPECT_EQ(DecodeBytes(bytes), EDecode::kMalformed);
  EXPECT_EQ(DecodeBytes(wire::Encode(wire::SAnnounce{.players = 9, .maxPlayers = 8, .name = "", .text = ""})), EDecode::kMalformed);
  EXPECT_EQ(wire::Decode(nullptr, 0, nullptr), EDecode::kTruncated);
  EXPECT_EQ(DecodeBytes(wire::Encode(wire::SChatLine{.slot = 8, .name = "", .text = ""})), EDecode::kMalformed)
      << "a chat line of slot 8";
  Bytes query = wire::Encode(wire::SQuery{});
  query.back() = 1;
  EXPECT_EQ(DecodeBytes(query), EDecode::kMalformed) << "a query's padding is zero";
}

// Match events name the slots their kind needs; a match state's rows are
// distinct slots with counts not below zero, its winners among them and only
// at an end; more than eight rows are refused.
TEST(NetWire, MatchNewsOutOfRangeIsMalformed) {
  using K = wire::EMatchEvent;
  constexpr uint8_t kNone = wire::kNoSlot;
  struct {
    K kind;
    uint8_t slot, other;
    const char* text;
    EDecode result;
  } const events[] = {
      {K::kFrag, 1, 2, "", EDecode::kOk},          {K::kFrag, 8, 2, "", EDecode::kMalformed},
      {K::kFrag, 1, kNone, "", EDecode::kMalformed}, {K::kFrag, 1, 2, "X", EDecode::kMalformed},
      {K::kLead, 7, kNone, "", EDecode::kOk},      {K::kLead, 7, 1, "", EDecode::kMalformed},
      {K::kNotice, kNone, kNone, "T", EDecode::kOk}, {K::kNotice, 0, kNone, "T", EDecode::kMalformed},
      {K(0), kNone, kNone, "", EDecode::kMalformed}, {K(4), 1, 2, "", EDecode::kMalformed},
  };
  for (const auto& e : events) {
    const wire::SMatchEvent event{.kind = e.kind, .slot = e.slot, .other = e.other, .text = e.text};
    EXPECT_EQ(DecodeBytes(wire::Encode(event)), e.result) << int(e.kind) << " " << int(e.slot);
  }
  const auto state = [](uint8_t end, uint8_t winners, std::vector<wire::SMatchRow> rows) {
    return DecodeBytes(wire::Encode(wire::SMatchState{.end = end, .winners = winners, .rows = std::move(rows)}));
  };
  EXPECT_EQ(state(1, 0x02, {{1, 3, 0}, {2, 1, 1}}), EDecode::kOk);
  EXPECT_EQ(state(3, 0, {}), EDecode::kMalformed) << "an end of another kind";
  EXPECT_EQ(state(0, 0x02, {{1, 3, 0}}), EDecode::kMalformed) << "winners before the end";
  EXPECT_EQ(state(2, 0x04, {{1, 3, 0}}), EDecode::kMalformed) << "a winner without a row";
  EXPECT_EQ(state(0, 0, {{1, 3, 0}, {1, 2, 0}}), EDecode::kMalformed) << "a slot twice";
  EXPECT_EQ(state(0, 0, {{8, 3, 0}}), EDecode::kMalformed) << "slot 8";
  EXPECT_EQ(state(0, 0, {{1, -1, 0}}), EDecode::kMalformed) << "negative frags";
  EXPECT_EQ(state(0, 0, {{1, 0, -1}}), EDecode::kMalformed) << "negative deaths";
  Bytes nine = wire::Encode(wire::SMatchState{});
  nine[10] = 9;   // the row count, after time, end and winners
  for (int i = 0; i < 9; ++i) nine.insert(nine.end(), {uint8_t(i % 8), 0, 0, 0, 0, 0, 0, 0, 0});
  nine[0] = uint8_t(nine.size() - 2);
  EXPECT_EQ(DecodeBytes(nine), EDecode::kMalformed) << "nine rows";
  // An encoder keeps to eight rows.
  wire::SMatchState many;
  for (uint8_t i = 0; i < 12; ++i) many.rows.push_back({uint8_t(i % 8), 0, 0});
  wire::SMessage decoded;
  ASSERT_EQ(DecodeBytes(wire::Encode(many), &decoded), EDecode::kOk);
  EXPECT_EQ(std::get<wire::SMatchState>(decoded).rows.size(), wire::kMatchRows);
}

// The room's answer to another version's hello (a refusal in that version,
// read there) is RoomProbe.ARoomsLimitsHoldOverTheWire's.
TEST(NetWire, OtherVersionsAreToldApartWithTheirNumber) {
  const Bytes hello = wire::Encode(wire::SHello{"ACE"}, 9);
  uint8_t version = 0;
  wire::SMessage message;
  EXPECT_EQ(wire::Decode(hello.data(), hello.size(), &message, &version), EDecode::kVersion);
  EXPECT_EQ(version, 9);
}

TEST(NetWire, TextsAreCutToTheRoomOfTheirRecord) {
  const std::string longName(200, 'N');
  wire::SMessage message;
  ASSERT_EQ(DecodeBytes(wire::Encode(wire::SHello{longName}), &message), EDecode::kOk);
  EXPECT_EQ(std::get<wire::SHello>(message).name, std::string(wire::kPlayerNameRoom - 1, 'N'));
  // A sender that does not cut is cut by the receiver.
  Bytes raw = {0, 0, wire::kProtocolVersion, uint8_t(wire::EType::kHello), 200};
  raw.insert(raw.end(), 200, 'M');
  raw.push_back(0);   // no password
  raw[0] = uint8_t((raw.size() - 2) & 0xFF);
  raw[1] = uint8_t((raw.size() - 2) >> 8);
  ASSERT_EQ(DecodeBytes(raw, &message), EDecode::kOk);
  EXPECT_EQ(std::get<wire::SHello>(message).name.size(), wire::kPlayerNameRoom - 1);
  // A NUL ends a text.
  ASSERT_EQ(DecodeBytes(wire::Encode(wire::SHello{std::string("AB\0CD", 5)}), &message), EDecode::kOk);
  EXPECT_EQ(std::get<wire::SHello>(message).name, "AB");
  const wire::SAnnounce announce{.maxPlayers = 8, .name = std::string(100, 'G'), .text = std::string(100, 'T')};
  ASSERT_EQ(DecodeBytes(wire::Encode(announce), &message), EDecode::kOk);
  EXPECT_EQ(std::get<wire::SAnnounce>(message).name.size(), 24u);
  EXPECT_EQ(std::get<wire::SAnnounce>(message).text.size(), 16u);
  // An answer to a query is never longer than the query.
  EXPECT_LE(wire::Encode(announce).size(), wire::Encode(wire::SQuery{}).size());
}

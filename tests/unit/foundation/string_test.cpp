// string_test.cpp: the foundation string and its pooled storage.
#include <gtest/gtest.h>

#include <string>

#include "expected_text.h"
#include "foundation/mem_mgr.h"
#include "foundation/string.h"
#include "foundation/string_alloc.h"
#include "tests/unit/foundation/report_recorder.h"

namespace {

// Storage comes in whole 64-byte units, one byte kept for the NUL, however
// the text got there; beyond a pool chunk (1 MiB) it comes from the system,
// exactly as large as needed.
TEST(CString, StorageTakesWholeUnits) {
  const auto text = [](size_t n, char c = 'x') { return std::string(n, c); };
  struct Case {
    const char* how;
    tam::CString made;
    size_t length;
    uint32_t capacity;
  };
  Case cases[] = {
      {"default", tam::CString(), 0, 64},
      {"130 characters", tam::CString(text(130).c_str()), 130, 192},
      {"no storage, 100 appended", tam::CString(tam::kNoStorage), 100, 128},
      {"63 formatted", tam::CString(), 63, 64},
      {"64 formatted", tam::CString(), 64, 128},
      {"a format of 100 bytes", tam::CString(), 100, 128},
      {"200 appended one by one", tam::CString(), 200, 256},
      {"2 MiB", tam::CString(std::string(2 << 20, 'm').c_str()), 2 << 20, (2 << 20) + 1},
  };
  cases[2].made.Append(text(100).c_str(), 100);
  cases[3].made.Format("%0*d", 63, 7);
  cases[4].made.Format("%0*d", 64, 7);
  cases[5].made.Format(text(100, '.').c_str(), 0);
  for (int i = 0; i < 200; ++i) cases[6].made.Append(static_cast<char>('a' + i % 26));
  for (const Case& c : cases) {
    EXPECT_EQ(c.made.Length(), c.length) << c.how;
    EXPECT_EQ(c.made.Capacity(), c.capacity) << c.how;
    EXPECT_EQ(c.made[c.length], '\0') << c.how;
    EXPECT_EQ(c.made.OwnsSystemMemory(), c.length == 2 << 20) << c.how;
  }
  EXPECT_EQ(cases[4].made[63], '7');
  EXPECT_EQ(cases[6].made[199], static_cast<char>('a' + 199 % 26));
}

// An assignment that fits keeps the storage, a longer one takes whole units
// again; a null text is an empty string;
// copies have their own storage (a copy of itself changes nothing), moves
// take it.
TEST(CString, AssignmentsCopiesAndMoves) {
  tam::CString a(nullptr);
  const char* storage = a.Data();
  a = std::string(63, 'x').c_str();
  EXPECT_EQ(a.Data(), storage);
  a = std::string(64, 'y').c_str();
  EXPECT_EQ(a.Capacity(), 128u);
  a = "token";
  tam::CString b(a);
  tam::CString c;
  c = a;
  c = static_cast<const tam::CString&>(c);
  a = static_cast<const char*>(nullptr);
  EXPECT_STREQ(a.c_str(), "");
  EXPECT_STREQ(b.c_str(), "token");
  EXPECT_STREQ(c.c_str(), "token");
  storage = b.Data();
  tam::CString moved(std::move(b));
  EXPECT_EQ(moved.Data(), storage);
  EXPECT_STREQ(b.c_str(), "");  // NOLINT(bugprone-use-after-move): a moved-from string is empty
  c = std::move(moved);
  EXPECT_STREQ(c.c_str(), "token");
}

TEST(CString, AppendPreservesTheTextAcrossReallocationAndTakesItsOwnText) {
  const std::string ab = std::string(60, 'a') + std::string(10, 'b');
  tam::CString s(std::string(60, 'a').c_str());
  s.Append(std::string(10, 'b').c_str());
  EXPECT_EQ(s.Capacity(), 128u);
  EXPECT_EQ(std::string(s.Data()), ab);
  s.Append(nullptr);
  s.Append("");
  EXPECT_EQ(s.Length(), 70u);
  s.Append(s.Data());  // 140 characters: the storage is re-taken
  EXPECT_EQ(std::string(s.Data()), ab + ab);
  tam::CString t("ab");
  t.Append(t.Data() + 1);  // fits in place
  EXPECT_STREQ(t.c_str(), "abb");
}

// A long result is formatted once more after one growth, not once per
// 64-byte step: the storage taken stays near the result's size, in pooled
// storage and in system memory alike.
TEST(CString, LongFormatResultsTakeTheirStorageOnce) {
  for (const uint32_t length : {64u * 1024u, 1024u * 1024u + 64u * 1024u}) {
    const std::string text(length, 'r');
    tam::CString s;
    const uint64_t before = tam::StringAlloc().BytesTaken();
    s.Format("<%s>", text.c_str());
    const uint64_t taken = tam::StringAlloc().BytesTaken() - before;
    ASSERT_EQ(s.Length(), length + 2);
    EXPECT_GE(s.Capacity(), length + 3);
    EXPECT_LT(s.Capacity(), length + 3 + tam::kStringUnit);
    EXPECT_LE(taken, 2u * (length + 3 + tam::kStringUnit)) << "bytes taken for a result of " << length;
  }
}

// A chunk holds 1 MiB: a full one makes the pool add another. Runs come
// from the newest chunk that has one: units given back to an older chunk are
// found again once every newer chunk is full.
TEST(CStringAlloc, FullChunksAddChunksAndFreedUnitsAreFoundAgain) {
  tam::CMemMgr mgr;
  ASSERT_TRUE(mgr.CreateHeap("default", 0x80000));
  tam::CStringAlloc pool(mgr);
  EXPECT_EQ(pool.ChunkCount(), 1u);
  tam::CString a(tam::kNoStorage), b(tam::kNoStorage), c(tam::kNoStorage), d(tam::kNoStorage);
  constexpr uint32_t kChunk = 0x100000;
  pool.Alloc(a, kChunk);           // fills the first chunk
  EXPECT_FALSE(a.OwnsSystemMemory());
  pool.Alloc(b, 100);              // a second chunk
  EXPECT_EQ(pool.ChunkCount(), 2u);
  const char* firstChunk = a.Data();
  pool.Free(a);
  pool.Alloc(c, kChunk - 128);     // the rest of the second chunk
  pool.Alloc(d, 64);               // only the first chunk has room left
  EXPECT_EQ(d.Data(), firstChunk);
  const char* secondChunkRest = c.Data();
  pool.Free(c);
  pool.Alloc(c, 64);               // the newest chunk's free units come first
  EXPECT_EQ(c.Data(), secondChunkRest);
  EXPECT_EQ(pool.ChunkCount(), 2u);
  for (tam::CString* s : {&b, &c, &d}) pool.Free(*s);
}

// Strings made and dropped inside a hold work as usual, and holds nest: the
// end of the inner one keeps the outer.
TEST(CStringAlloc, HoldsNest) {
  tam::CStringHold hold(tam::StringAlloc());
  {
    tam::CStringHold nested(tam::StringAlloc());
    tam::CString inside("inside");
    inside.Append(std::string(100, 'x').c_str());
    EXPECT_EQ(inside.Length(), 106u);
  }
  tam::CString stillHeld("held");
  EXPECT_STREQ(stillHeld.c_str(), "held");
}

// Without the heap "default" a pool has no chunk: making it and asking it
// for storage are reported; the string asking loses its storage and later
// grows from the module's pool again.
TEST(CStringAlloc, MissingDefaultHeapIsReported) {
  tamtest::CReportRecorder recorder(tam::ReportAnswer::Ignore);
  tam::CMemMgr mgr;
  tam::CStringAlloc pool(mgr);
  tam::CString s("lost");
  pool.Alloc(s, 100);
  EXPECT_EQ(s.Capacity(), 0u);
  EXPECT_STREQ(s.c_str(), "");
  s.Append("back");
  EXPECT_STREQ(s.c_str(), "back");
  EXPECT_MATCHES_EXPECTED("unit/foundation/expected/string_reports.expected", recorder.Printed());
}

}  // namespace

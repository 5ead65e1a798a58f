// store_pg_throttle.cpp: throttle counters as rows of the shared store, each
// step under the row's lock and on the database's clock.
#include <libpq-fe.h>

#include <cstdlib>

#include "lobbyd/store_pg.h"

namespace lobbyd {

namespace {

// "{1,2,3}" <-> the failure times of a throttle row.
std::deque<int64_t> ParseArray(const std::string& text) {
  std::deque<int64_t> values;
  std::string item;
  for (char c : text) {
    if (c == '{' || c == '}' || c == ',') {
      if (!item.empty()) values.push_back(std::strtoll(item.c_str(), nullptr, 10));
      item.clear();
    } else {
      item += c;
    }
  }
  return values;
}

std::string FormatArray(const std::deque<int64_t>& values) {
  std::string text = "{";
  for (size_t i = 0; i < values.size(); ++i) text += (i ? "," : "") + std::to_string(values[i]);
  return text + "}";
}

// A throttle whose counters are rows of the shared store, on its clock: a
// try counts the same on whichever node it lands.
class CPgThrottle final : public IThrottle {
 public:
  CPgThrottle(CPgStore& store, std::string kind, SThrottleRule rule)
      : store_(store), kind_(std::move(kind)), rule_(rule) {}
  // A store that cannot answer does not lock anyone out.
  bool Locked(const std::string& key) override {
    bool locked = false;
    return store_.ThrottleStep(kind_, key, rule_, 'L', &locked) && locked;
  }
  void Fail(const std::string& key) override { Step(key, 'F'); }
  void Refund(const std::string& key) override { Step(key, 'R'); }
  void Clear(const std::string& key) override { Step(key, 'C'); }

 private:
  void Step(const std::string& key, char step) {
    bool locked = false;
    store_.ThrottleStep(kind_, key, rule_, step, &locked);
  }
  CPgStore& store_;
  std::string kind_;
  SThrottleRule rule_;
};

}  // namespace

// ---- Throttles -----------------------------------------------------------------------------

std::unique_ptr<IThrottle> CPgStore::NewThrottle(const std::string& kind, Clock, SThrottleRule rule) {
  return std::make_unique<CPgThrottle>(*this, kind, rule);
}

// 'L': is the key locked; 'F', 'R': a try counted or taken back, in a
// transaction holding the key's row; 'C': the key forgotten. The database's
// clock is the one clock of all nodes.
bool CPgStore::ThrottleStep(const std::string& kind, const std::string& key, const SThrottleRule& rule, char step,
                            bool* locked) {
  *locked = false;
  if (step == 'L') {
    Result r = Run("throttle_locked", {kind, key});
    if (r && PQntuples(r.get()) == 1) *locked = std::string(PQgetvalue(r.get(), 0, 0)) == "t";
    return r != nullptr;
  }
  if (step == 'C') return Ok(Run("throttle_clear", {kind, key}));
  if (!Exec("BEGIN")) return false;
  bool ok = Ok(Run("throttle_row", {kind, key}));
  Result row = ok ? Run("throttle_read", {kind, key}) : Result(nullptr, PQclear);
  ok = row && PQntuples(row.get()) == 1;
  if (ok) {
    SThrottleKey state;
    state.failures = ParseArray(std::string(PQgetvalue(row.get(), 0, 0)));
    state.lockedUntil = std::strtoll(PQgetvalue(row.get(), 0, 1), nullptr, 10);
    state.locks = std::atoi(PQgetvalue(row.get(), 0, 2));
    if (step == 'F') state.Fail(std::strtoll(PQgetvalue(row.get(), 0, 3), nullptr, 10), rule);
    else state.Refund();
    ok = Ok(Run("throttle_write", {kind, key, FormatArray(state.failures), std::to_string(state.lockedUntil),
                                   std::to_string(state.locks)})) &&
         Exec("COMMIT");
  }
  if (!ok) {
    const std::string failed = lastError_;
    Exec("ROLLBACK");
    lastError_ = failed;
  }
  return ok;
}

}  // namespace lobbyd

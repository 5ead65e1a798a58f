// session_provider.cpp: the network stand-in as sessions reach it: its scalars
// (`host NAME [VALUE]`), its record kinds (game, gamerule, classname,
// netclient, scoreboard, scorerow, player, session, channel) and the module's
// own clientinfo and serverinfo records, which it writes through the module's
// exports as the network library does during a room.
#include <algorithm>
#include <cstring>
#include <memory>

#include "netkorvo/netkorvo.h"
#include "netkorvo/recording_backend.h"
#include "netkorvo/state_values.h"

namespace netkorvo {

namespace {

SNetScript& Script() { return RecordingBackend().Script(); }

// ---- Fields of each kind, bound to one record ------------------------------------------------

ValueList GameValues(SGameRecord& g) {
  return {TextValue("name", &g.name, kGameNameRoom), TextValue("text", &g.text, kGameTextRoom),
          AddressValue("address", g.address),        IntValue("type", &g.type),
          IntValue("players", &g.players),           IntValue("max", &g.max)};
}

ValueList NetClientValues(SNetClientRecord& c) {
  return {TextValue("name", c.info.name, sizeof c.info.name), IntValue("team", &c.info.team),
          IntValue("frags", &c.info.frags), IntValue("character", &c.info.character),
          BoolValue("winner", &c.winner)};
}

ValueList ScoreBoardValues(SScoreBoardRecord& b) {
  return {IntValue("rows", &b.rows),
          OptionalTextValue("fragtitle", &b.fragTitle, sizeof SScoreBoard::fragTitle),
          OptionalTextValue("slottitle", &b.slotTitle, sizeof SScoreBoard::slotTitle)};
}

ValueList ScoreRowValues(SScoreRowRecord& r) {
  return {TextValue("name", &r.name, sizeof SScoreRow::name),
          IntValue("key", &r.key),
          IntValue("rank", &r.rank),
          TextValue("mark", &r.mark, sizeof SScoreRow::mark),
          BoolValue("highlight", &r.highlight),
          IntValue("team", &r.team),
          IntValue("class", &r.classIndex),
          IntValue("left", &r.left),
          IntValue("right", &r.right),
          OptionalTextValue("frag", &r.frag, sizeof SScoreRow::frag),
          OptionalTextValue("slot", &r.slot, sizeof SScoreRow::slot)};
}

ValueList PlayerValues(PLAYER_INFO& p) {
  return {TextValue("id", p.id, sizeof p.id),    IntValue("wins", &p.wins),
          IntValue("losses", &p.losses),         IntValue("score", &p.score),
          IntValue("ranking", &p.ranking),       IntValue("class", &p.grade)};
}

ValueList SessionValues(SESSION_INFO& s) {
  return {TextValue("name", s.name, sizeof s.name), IntValue("type", &s.type),
          TextValue("map", s.map, sizeof s.map),
          AddressValue("address", reinterpret_cast<uint8_t*>(&s.address))};
}

ValueList ChannelValues(CHANNEL_INFO& c) { return {TextValue("name", c.name, sizeof c.name)}; }

ValueList ClientInfoValues(SGUI_ClientInfo& c) {
  return {IntValue("state", &c.state),         TextValue("name", c.name, sizeof c.name),
          IntValue("character", &c.character), IntValue("left", &c.left),
          IntValue("right", &c.right),         IntValue("team", &c.team),
          IntValue("class", &c.classIndex),    IntValue("ready", &c.ready)};
}

ValueList ServerInfoValues(SGUI_ServerInfo& s) {
  return {TextValue("room", s.room, sizeof s.room),
          TextValue("password", s.password, sizeof s.password),
          TextValue("map", s.map, sizeof s.map),
          IntValue("type", &s.type),
          IntValue("frag", &s.frag),
          IntValue("time", &s.time),
          IntValue("parts", &s.parts),
          IntValue("armor", &s.armor),
          IntValue("shield", &s.shield)};
}

ValueList OptionInfoValues(SGUI_OptionInfo& o) {
  return {IntValue("valid", &o.valid),
          IntValue("index", &o.index),
          TextValue("name", o.name, sizeof o.name),
          TextValue("text2", o.text2, sizeof o.text2),
          TextValue("icon", o.icon, sizeof o.icon),
          TextValue("text4", o.text4, sizeof o.text4),
          IntValue("left", &o.left),
          IntValue("right", &o.right)};
}

// Applies fields to a copy of the record and stores it only when all apply.
template <class R, class Bind>
bool SetCopy(const std::string& kind, const R& from, R* to, const std::vector<SField>& fields,
             Bind bind, std::string& error) {
  R copy = from;
  ValueList values = bind(copy);
  if (!ApplyFields(kind, values, fields, error)) return false;
  *to = copy;
  return true;
}

template <class R, class Bind>
std::string Fields(const R& record, Bind bind) {
  R copy = record;
  return PrintValues(bind(copy));
}

// ---- Record kinds -------------------------------------------------------------------------------

// One kind of record. Keyless kinds use key 0. Keys are normalised numbers.
class CKind {
 public:
  CKind(const char* name, bool keyed, long long min, long long max)
      : name_(name), keyed_(keyed), min_(min), max_(max) {}
  virtual ~CKind() = default;

  const std::string& Name() const { return name_; }
  bool Keyed() const { return keyed_; }
  long long Min() const { return min_; }
  long long Max() const { return max_; }
  virtual long long Normalize(long long key) const { return key; }

  virtual bool Set(long long key, const std::vector<SField>& fields, std::string& error) = 0;
  // The present records in the order `show` lists them.
  virtual std::vector<long long> Keys() const = 0;
  // The fields of a present record (" name=value…"); false when absent.
  virtual bool Print(long long key, std::string& fields) const = 0;
  virtual bool Forget(long long key, std::string& error) = 0;

 private:
  std::string name_;
  bool keyed_;
  long long min_, max_;
};

class CGameKind : public CKind {
 public:
  CGameKind() : CKind("game", true, -(1LL << 31), (1LL << 32) - 1) {}
  long long Normalize(long long key) const override { return static_cast<uint32_t>(key); }
  bool Set(long long key, const std::vector<SField>& fields, std::string& error) override {
    SGameRecord* game = Find(key);
    if (game) return SetCopy(Name(), *game, game, fields, GameValues, error);
    SGameRecord created;
    created.id = static_cast<uint32_t>(key);
    if (!SetCopy(Name(), created, &created, fields, GameValues, error)) return false;
    Script().games.push_back(created);
    return true;
  }
  std::vector<long long> Keys() const override {
    std::vector<long long> keys;
    for (const SGameRecord& g : Script().games) keys.push_back(g.id);
    std::sort(keys.begin(), keys.end());
    return keys;
  }
  bool Print(long long key, std::string& fields) const override {
    const SGameRecord* game = Find(key);
    if (game) fields = Fields(*game, GameValues);
    return game;
  }
  bool Forget(long long key, std::string&) override {
    std::erase_if(Script().games, [key](const SGameRecord& g) { return g.id == key; });
    return true;
  }

 private:
  static SGameRecord* Find(long long key) {
    for (SGameRecord& g : Script().games)
      if (g.id == key) return &g;
    return nullptr;
  }
};

// `gamerule INDEX` and `classname INDEX`: a name per index.
class CNameKind : public CKind {
 public:
  CNameKind(const char* name, std::map<int32_t, std::string>* names, size_t room)
      : CKind(name, true, -(1LL << 31), (1LL << 31) - 1), names_(names), room_(room) {}
  bool Set(long long key, const std::vector<SField>& fields, std::string& error) override {
    auto it = names_->find(int32_t(key));
    const std::string from = it != names_->end() ? it->second : std::string();
    std::string to;
    if (!SetCopy(Name(), from, &to, fields, Bind(), error)) return false;
    (*names_)[int32_t(key)] = to;
    return true;
  }
  std::vector<long long> Keys() const override {
    std::vector<long long> keys;
    for (const auto& entry : *names_) keys.push_back(entry.first);
    return keys;
  }
  bool Print(long long key, std::string& fields) const override {
    auto it = names_->find(int32_t(key));
    if (it == names_->end()) return false;
    fields = Fields(it->second, Bind());
    return true;
  }
  bool Forget(long long key, std::string&) override {
    names_->erase(int32_t(key));
    return true;
  }

 private:
  std::function<ValueList(std::string&)> Bind() const {
    const size_t room = room_;
    return [room](std::string& name) { return ValueList{TextValue("name", &name, room)}; };
  }
  std::map<int32_t, std::string>* names_;
  size_t room_;
};

// Records that may be absent, kept as optionals (netclient, scoreboard).
template <class R>
class COptionalKind : public CKind {
 public:
  using Slot = std::function<std::optional<R>*(long long key)>;
  COptionalKind(const char* name, bool keyed, long long min, long long max, Slot slot,
                ValueList (*bind)(R&))
      : CKind(name, keyed, min, max), slot_(std::move(slot)), bind_(bind) {}
  bool Set(long long key, const std::vector<SField>& fields, std::string& error) override {
    std::optional<R>& record = *slot_(key);
    R result;
    if (!SetCopy(Name(), record ? *record : R(), &result, fields, bind_, error)) return false;
    record = result;
    return true;
  }
  std::vector<long long> Keys() const override {
    std::vector<long long> keys;
    for (long long k = Min(); k <= Max(); ++k)
      if (*slot_(k)) keys.push_back(k);
    return keys;
  }
  bool Print(long long key, std::string& fields) const override {
    const std::optional<R>& record = *slot_(key);
    if (record) fields = Fields(*record, bind_);
    return record.has_value();
  }
  bool Forget(long long key, std::string&) override {
    slot_(key)->reset();
    return true;
  }

 private:
  Slot slot_;
  ValueList (*bind_)(R&);
};

// `scorerow ROW`: rows 1-8, kept in row order.
class CScoreRowKind : public CKind {
 public:
  CScoreRowKind() : CKind("scorerow", true, 1, 8) {}
  bool Set(long long key, const std::vector<SField>& fields, std::string& error) override {
    auto it = Script().rows.find(int32_t(key));
    SScoreRowRecord result;
    if (!SetCopy(Name(), it != Script().rows.end() ? it->second : SScoreRowRecord(), &result, fields,
                 ScoreRowValues, error))
      return false;
    Script().rows[int32_t(key)] = result;
    return true;
  }
  std::vector<long long> Keys() const override {
    std::vector<long long> keys;
    for (const auto& entry : Script().rows) keys.push_back(entry.first);
    return keys;
  }
  bool Print(long long key, std::string& fields) const override {
    auto it = Script().rows.find(int32_t(key));
    if (it == Script().rows.end()) return false;
    fields = Fields(it->second, ScoreRowValues);
    return true;
  }
  bool Forget(long long key, std::string&) override {
    Script().rows.erase(int32_t(key));
    return true;
  }
};

// The lobby tables in the online client: a record whose first byte is 0 is free.
template <class R>
class CTableKind : public CKind {
 public:
  CTableKind(const char* name, R* table, int count, ValueList (*bind)(R&))
      : CKind(name, true, 0, count - 1), table_(table), bind_(bind) {}
  bool Set(long long key, const std::vector<SField>& fields, std::string& error) override {
    R& record = table_[key];
    const R from = Used(record) ? record : R();
    return SetCopy(Name(), from, &record, fields, bind_, error);
  }
  std::vector<long long> Keys() const override {
    std::vector<long long> keys;
    for (long long k = Min(); k <= Max(); ++k)
      if (Used(table_[k])) keys.push_back(k);
    return keys;
  }
  bool Print(long long key, std::string& fields) const override {
    if (!Used(table_[key])) return false;
    fields = Fields(table_[key], bind_);
    return true;
  }
  bool Forget(long long key, std::string&) override {
    table_[key] = R();
    return true;
  }

 private:
  static bool Used(const R& record) { return reinterpret_cast<const char*>(&record)[0] != 0; }
  R* table_;
  ValueList (*bind_)(R&);
};

// The module's own records, reached through its exports; they always exist.
class CClientInfoKind : public CKind {
 public:
  CClientInfoKind() : CKind("clientinfo", true, 0, 7) {}
  bool Set(long long key, const std::vector<SField>& fields, std::string& error) override {
    SGUI_ClientInfo* record = GUI_GetClientInfo(int(key));
    return SetCopy(Name(), *record, record, fields, ClientInfoValues, error);
  }
  std::vector<long long> Keys() const override { return {0, 1, 2, 3, 4, 5, 6, 7}; }
  bool Print(long long key, std::string& fields) const override {
    fields = Fields(*GUI_GetClientInfo(int(key)), ClientInfoValues);
    return true;
  }
  bool Forget(long long, std::string& error) override {
    error = "the module's clientinfo records cannot be forgotten";
    return false;
  }
};

class CServerInfoKind : public CKind {
 public:
  CServerInfoKind() : CKind("serverinfo", false, 0, 0) {}
  bool Set(long long, const std::vector<SField>& fields, std::string& error) override {
    SGUI_ServerInfo* record = GUI_GetServerInfo();
    return SetCopy(Name(), *record, record, fields, ServerInfoValues, error);
  }
  std::vector<long long> Keys() const override { return {0}; }
  bool Print(long long, std::string& fields) const override {
    fields = Fields(*GUI_GetServerInfo(), ServerInfoValues);
    return true;
  }
  bool Forget(long long, std::string& error) override {
    error = "the module's serverinfo record cannot be forgotten";
    return false;
  }
};

std::vector<std::unique_ptr<CKind>> MakeKinds() {
  std::vector<std::unique_ptr<CKind>> kinds;
  kinds.push_back(std::make_unique<CGameKind>());
  kinds.push_back(std::make_unique<CNameKind>("gamerule", &Script().gameRules, kRuleNameRoom));
  kinds.push_back(std::make_unique<CNameKind>("classname", &Script().classNames, 0));
  kinds.push_back(std::make_unique<COptionalKind<SNetClientRecord>>(
      "netclient", true, 0, 7, [](long long k) { return &Script().clients[size_t(k)]; },
      NetClientValues));
  kinds.push_back(std::make_unique<COptionalKind<SScoreBoardRecord>>(
      "scoreboard", false, 0, 0, [](long long) { return &Script().board; }, ScoreBoardValues));
  kinds.push_back(std::make_unique<CScoreRowKind>());
  kinds.push_back(std::make_unique<CTableKind<PLAYER_INFO>>("player", Clt.PlayerInfo,
                                                            KORVO_CLT::kPlayerRecords, PlayerValues));
  kinds.push_back(std::make_unique<CTableKind<SESSION_INFO>>("session", Clt.SessionInfo,
                                                             KORVO_CLT::kSessionRecords, SessionValues));
  kinds.push_back(std::make_unique<CTableKind<CHANNEL_INFO>>("channel", Clt.ChannelInfo,
                                                             KORVO_CLT::kChannelRecords, ChannelValues));
  kinds.push_back(std::make_unique<CClientInfoKind>());
  kinds.push_back(std::make_unique<CServerInfoKind>());
  return kinds;
}

// ---- Scalars ---------------------------------------------------------------------------------------

const char* const kRequestNames[kRequestCount] = {
    "KORVO_CLT::SendConnect",     "KORVO_CLT::SendLogOut",       "KORVO_CLT::SendIdPw",
    "KORVO_CLT::SendPrivateInfo", "KORVO_CLT::SendNewIdPw",      "KORVO_CLT::SendChgPw",
    "KORVO_CLT::SendChannelList", "KORVO_CLT::SendChgChannel",   "KORVO_CLT::SendPlayerList",
    "KORVO_CLT::SendSessionList", "KORVO_CLT::SendSessionInfo",  "KORVO_CLT::SendJoinGame",
    "KORVO_CLT::SendCreateGame",  "KORVO_CLT::SendChatMsg",
};

ValueList Scalars() {
  SNetScript& s = Script();
  ValueList values = {
      IntValue("NET_bInitialized", &NET_bInitialized),
      IntValue("NET_bLocalGame", &NET_bLocalGame),
      IntValue("NET_bEnableGLMaker", &NET_bEnableGLMaker),
      IntValue("NET_ServerID", &NET_ServerID),
      IntValue("my_client", &my_client),
      IntValue("Clt.Wins", &Clt.Wins),
      IntValue("Clt.Losses", &Clt.Losses),
      IntValue("Clt.Score", &Clt.Score),
      IntValue("Clt.Ranking", &Clt.Ranking),
      IntValue("Clt.Class", &Clt.Class),
      TextValue("Clt.LoginID", Clt.LoginID, sizeof Clt.LoginID),
      IntValue("Clt.CreatingGame", &Clt.CreatingGame),
      OptionalTextValue("NET_var.kn_prev_login_id", &s.prevLoginId, 0),
      IntValue("CC_Manager::TimeLimit", &CC_Manager::TimeLimit),
      IntValue("CC_Manager::ElapsedTime", &CC_Manager::ElapsedTime),
      IntValue("CC_Manager::FragLimit", &CC_Manager::FragLimit),
      BoolValue("NET_GR_client::IsTeamGame", &s.teamGame),
      IntValue("NET_GetTotalNumLoaders", &s.totalLoaders),
      IntValue("NET_GetNumLoaders", &s.pendingLoaders),
      IntValue("KORVO_CLT::CalculateGrade", &s.grade),
      BoolValue("CS_Manager::CanStart", &s.canStart),
  };
  for (int i = 0; i < kRequestCount; ++i) values.push_back(IntValue(kRequestNames[i], &s.requestResults[i]));
  return values;
}

// ---- The provider --------------------------------------------------------------------------------

class CNetStateProvider : public korvostate::CStateProvider {
 public:
  CNetStateProvider() : kinds_(MakeKinds()) {}

  bool HasScalar(const std::string& name) const override { return FindScalar(name).has_value(); }

  bool GetScalar(const std::string& name, std::string& printed, std::string& error) const override {
    std::optional<SValue> value = FindScalar(name);
    if (!value) {
      error = "unknown network scalar " + name;
      return false;
    }
    printed = value->print();
    return true;
  }

  bool SetScalar(const std::string& name, const SToken& token, std::string& error) override {
    std::optional<SValue> value = FindScalar(name);
    if (!value) {
      error = "unknown network scalar " + name;
      return false;
    }
    if (value->set(token, error)) return true;
    error = name + ": " + error;
    return false;
  }

  bool HasKind(const std::string& kind) const override { return FindKind(kind) != nullptr; }

  bool SetRecord(const std::string& kindName, const std::vector<SToken>& keys,
                 const std::vector<SField>& fields, std::string& error) override {
    CKind* kind = FindKind(kindName);
    long long key;
    if (!kind || !OneKey(*kind, keys, true, &key, error)) return Unknown(kind, kindName, error);
    return kind->Set(key, fields, error);
  }

  bool ShowRecords(const std::string& kindName, const std::vector<SToken>& keys,
                   std::vector<std::string>& lines, std::string& error) const override {
    const CKind* kind = FindKind(kindName);
    long long key;
    if (!kind || !OneKey(*kind, keys, false, &key, error)) return Unknown(kind, kindName, error);
    std::string fields;
    if (keys.empty()) {
      for (long long k : kind->Keys())
        if (kind->Print(k, fields)) lines.push_back(Head(*kind, k) + fields);
    } else if (kind->Print(key, fields)) {
      lines.push_back(Head(*kind, key) + fields);
    } else {
      lines.push_back("show: no " + Head(*kind, key));
    }
    return true;
  }

  bool ForgetRecords(const std::string& kindName, const std::vector<SToken>& keys,
                     std::string& error) override {
    CKind* kind = FindKind(kindName);
    long long key;
    if (!kind || !OneKey(*kind, keys, false, &key, error)) return Unknown(kind, kindName, error);
    if (!keys.empty() || !kind->Keyed()) return kind->Forget(key, error);
    for (long long k : kind->Keys())
      if (!kind->Forget(k, error)) return false;
    return true;
  }

  void ResetState() override { Reset(); }

 private:
  static std::optional<SValue> FindScalar(const std::string& name) {
    for (SValue& v : Scalars())
      if (v.name == name) return v;
    return std::nullopt;
  }

  CKind* FindKind(const std::string& name) const {
    for (const auto& kind : kinds_)
      if (kind->Name() == name) return kind.get();
    return nullptr;
  }

  static bool Unknown(const CKind* kind, const std::string& name, std::string& error) {
    if (!kind) error = "unknown record kind " + name;
    return false;
  }

  // The one key of a keyed kind (required when `required`), none for the others.
  static bool OneKey(const CKind& kind, const std::vector<SToken>& keys, bool required,
                     long long* key, std::string& error) {
    *key = 0;
    if (!kind.Keyed()) {
      if (keys.empty()) return true;
      error = kind.Name() + " takes no key";
      return false;
    }
    if (keys.size() > 1 || (required && keys.empty())) {
      error = kind.Name() + " takes one key";
      return false;
    }
    if (keys.empty()) return true;
    if (!ParseInt(keys[0], kind.Min(), kind.Max(), key, error)) {
      error = kind.Name() + " key: " + error;
      return false;
    }
    *key = kind.Normalize(*key);
    return true;
  }

  static std::string Head(const CKind& kind, long long key) {
    return kind.Keyed() ? kind.Name() + " " + std::to_string(key) : kind.Name();
  }

  std::vector<std::unique_ptr<CKind>> kinds_;
};

}  // namespace

// ---- Control API ------------------------------------------------------------------------------------

korvostate::CStateProvider& SessionProvider() {
  static CNetStateProvider provider;
  return provider;
}

void BeginSession() {
  static bool registered = false;
  if (!registered) korvostate::AddProvider(&SessionProvider());
  registered = true;
  SetBackend(nullptr);
  Reset();
  korvostate::SetRecording(true);
}

void Reset() {
  NET_bInitialized = NET_bLocalGame = NET_bEnableGLMaker = 0;
  NET_ServerID = 0;
  my_client = 0;
  std::memset(static_cast<void*>(&Clt), 0, sizeof Clt);
  CC_Manager::TimeLimit = 0;
  CC_Manager::ElapsedTime = 0;
  CC_Manager::FragLimit = 0;
  RecordingBackend().Reset();
}

std::string PrintFields(const SGUI_ClientInfo& record) { return Fields(record, ClientInfoValues).substr(1); }
std::string PrintFields(const SGUI_ServerInfo& record) { return Fields(record, ServerInfoValues).substr(1); }
std::string PrintFields(const SGUI_OptionInfo& record) { return Fields(record, OptionInfoValues).substr(1); }
std::string PrintFields(const PLAYER_INFO& record) { return Fields(record, PlayerValues).substr(1); }
std::string PrintFields(const SESSION_INFO& record) { return Fields(record, SessionValues).substr(1); }
std::string PrintFields(const CHANNEL_INFO& record) { return Fields(record, ChannelValues).substr(1); }

bool ReadSessionInfo(const std::vector<korvostate::SField>& fields, SESSION_INFO* out,
                     std::string& error) {
  return SetCopy("session", SESSION_INFO(), out, fields, SessionValues, error);
}

}  // namespace netkorvo

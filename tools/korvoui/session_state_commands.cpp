// session_state_commands.cpp: the game-state commands of session scripts.
// Scalars and records belong to the stand-ins' state providers, asked in
// order; calls and draws come from the host's records.
#include "tools/korvoui/session_state_commands.h"

#include <cstdio>

#include "refhost/game_state.h"
#include "refhost/korvohost_graphics.h"
#include "host/session_state.h"
#include "host/state_values.h"

namespace {

using Tokens = std::vector<SessionToken>;

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

bool Fail(std::string* error, const std::string& why) {
  *error = why;
  return false;
}

korvostate::SToken StateToken(const SessionToken& t) { return {t.text, t.quoted}; }

bool IsField(const SessionToken& t) { return !t.quoted && t.text.find('=') != std::string::npos; }

korvostate::SField StateField(const SessionToken& t) {
  const size_t eq = t.text.find('=');
  return {t.text.substr(0, eq), {t.text.substr(eq + 1), t.fieldQuoted}};
}

korvostate::CStateProvider* ProviderOfKind(const std::string& kind) {
  for (korvostate::CStateProvider* p : korvostate::Providers())
    if (p->HasKind(kind)) return p;
  return nullptr;
}

// Keys (the tokens up to the first field) and fields of a record line from index first.
bool SplitRecordLine(const Tokens& t, size_t first, std::vector<korvostate::SToken>* keys,
                     std::vector<korvostate::SField>* fields, std::string* error) {
  for (size_t i = first; i < t.size(); ++i) {
    if (IsField(t[i])) {
      fields->push_back(StateField(t[i]));
    } else if (fields->empty()) {
      keys->push_back(StateToken(t[i]));
    } else {
      return Fail(error, "a key after a field: " + t[i].text);
    }
  }
  return true;
}

// ---- host NAME [VALUE] ---------------------------------------------------------------------

bool CmdHost(const Tokens& t, std::string* error) {
  if (t.size() != 2 && t.size() != 3) return Fail(error, "usage: host NAME [VALUE]");
  for (korvostate::CStateProvider* p : korvostate::Providers()) {
    if (!p->HasScalar(t[1].text)) continue;
    if (t.size() == 3) return p->SetScalar(t[1].text, StateToken(t[2]), *error);
    std::string printed;
    if (!p->GetScalar(t[1].text, printed, *error)) return false;
    Print(t[1].text + " = " + printed);
    return true;
  }
  return Fail(error, "unknown host variable " + t[1].text);
}

// ---- Records -----------------------------------------------------------------------------

bool CmdRecord(korvostate::CStateProvider* p, const Tokens& t, std::string* error) {
  std::vector<korvostate::SToken> keys;
  std::vector<korvostate::SField> fields;
  if (!SplitRecordLine(t, 1, &keys, &fields, error)) return false;
  return p->SetRecord(t[0].text, keys, fields, *error);
}

bool CmdShowOrForget(const Tokens& t, std::string* error) {
  const bool show = t[0].text == "show";
  if (t.size() < 2) return Fail(error, "usage: " + t[0].text + " KIND [KEY...]");
  korvostate::CStateProvider* p = ProviderOfKind(t[1].text);
  if (!p) return Fail(error, "unknown record kind " + t[1].text);
  std::vector<korvostate::SToken> keys;
  for (size_t i = 2; i < t.size(); ++i) {
    if (IsField(t[i])) return Fail(error, t[0].text + " takes keys only: " + t[i].text);
    keys.push_back(StateToken(t[i]));
  }
  if (!show) return p->ForgetRecords(t[1].text, keys, *error);
  std::vector<std::string> lines;
  if (!p->ShowRecords(t[1].text, keys, lines, *error)) return false;
  for (const std::string& line : lines) Print(line);
  return true;
}

// ---- calls [PATTERN...] ----------------------------------------------------------------------

bool Matches(const std::string& name, const std::string& pattern) {
  if (!pattern.empty() && pattern.back() == '*')
    return name.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0;
  return name == pattern;
}

void CmdCalls(const Tokens& t) {
  for (const std::string& call : korvostate::TakeCalls()) {
    const std::string name = call.substr(0, call.find('('));
    bool wanted = t.size() == 1;
    for (size_t i = 1; i < t.size() && !wanted; ++i) wanted = Matches(name, t[i].text);
    if (wanted) Print("call: " + call);
  }
}

// ---- rawinput [keys=LIST] [mouse=LIST] ----------------------------------------------------------

bool ReadPressed(const korvostate::SField& f, int count, uint8_t* bytes, std::string* error) {
  for (const std::string& item : korvohost::values::SplitList(f.value.text)) {
    long long v;
    if (!korvohost::values::ParseInteger(item, 0, count - 1, &v))
      return Fail(error, f.name + ": not a number 0.." + std::to_string(count - 1) + ": " + item);
    bytes[v] = 0x80;
  }
  return true;
}

std::string PressedList(const uint8_t* bytes, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    if (!(bytes[i] & 0x80)) continue;
    if (!out.empty()) out += ',';
    out += std::to_string(i);
  }
  return out.empty() ? "-" : out;
}

bool CmdRawInput(const Tokens& t, std::string* error) {
  uint8_t keys[256] = {};
  SRawMouseState mouse = {};
  for (size_t i = 1; i < t.size(); ++i) {
    if (!IsField(t[i])) return Fail(error, "usage: rawinput [keys=LIST] [mouse=LIST]");
    const korvostate::SField f = StateField(t[i]);
    if (f.name == "keys") {
      if (!ReadPressed(f, 256, keys, error)) return false;
    } else if (f.name == "mouse") {
      if (!ReadPressed(f, 4, mouse.buttons, error)) return false;
    } else {
      return Fail(error, "unknown field " + f.name + " (keys, mouse)");
    }
  }
  int called = 0, removed = 0;
  korvohost::RunInputHandlers(keys, &mouse, &called, &removed);
  Print("rawinput: handlers=" + std::to_string(called) + " removed=" + std::to_string(removed) +
        " keys=" + PressedList(keys, 256) + " mouse=" + PressedList(mouse.buttons, 4));
  return true;
}

// ---- draws [KIND] ----------------------------------------------------------------------------

std::string Texture(const korvohost::DrawRecord& r) {
  return r.texture.empty() ? std::string("none") : QuoteSessionString(r.texture);
}

std::string Rect(const korvohost::DrawRecord& r) {
  return " x=" + std::to_string(r.x) + " y=" + std::to_string(r.y) + " w=" + std::to_string(r.w) +
         " h=" + std::to_string(r.h);
}

std::string DrawLine(const korvohost::DrawRecord& r) {
  const std::string argb = " argb=" + korvostate::PrintColour(r.argb);
  const std::string missing = r.placeholder ? " missing" : "";
  switch (r.kind) {
    case korvohost::DrawKind::Bitmap:
      return "draw bitmap " + Texture(r) + Rect(r) + argb + " blend=" + std::to_string(r.srcBlend) + "," +
             std::to_string(r.dstBlend) + missing;
    case korvohost::DrawKind::Transformed:
      return "draw transformed " + Texture(r) + Rect(r) + " angle=" + korvostate::PrintFloat(r.angle) + argb +
             missing;
    case korvohost::DrawKind::Animation:
      return "draw anim " + std::to_string(r.animKind) + Rect(r) + argb +
             " visible=" + korvostate::PrintBool(r.visible);
    case korvohost::DrawKind::Text:
      break;
  }
  return "draw text " + QuoteSessionString(r.text) + argb;
}

bool CmdDraws(const Tokens& t, std::string* error) {
  if (t.size() > 2) return Fail(error, "usage: draws [KIND]");
  const std::string kind = t.size() == 2 ? t[1].text : "";
  if (!kind.empty() && kind != "bitmap" && kind != "transformed" && kind != "anim" && kind != "text")
    return Fail(error, "not a draw kind (bitmap, transformed, anim, text): " + kind);
  for (const std::string& line : DrawLines(kind)) Print(line);
  return true;
}

const char* KindWord(korvohost::DrawKind kind) {
  switch (kind) {
    case korvohost::DrawKind::Bitmap: return "bitmap";
    case korvohost::DrawKind::Transformed: return "transformed";
    case korvohost::DrawKind::Animation: return "anim";
    case korvohost::DrawKind::Text: break;
  }
  return "text";
}

}  // namespace

bool ReadSessionFields(const std::vector<SessionToken>& tokens,
                       std::vector<korvostate::SField>* fields, std::string* error) {
  for (const SessionToken& t : tokens) {
    if (!IsField(t)) return Fail(error, "not a field: " + t.text);
    fields->push_back(StateField(t));
  }
  return true;
}

bool ResolveSessionObject(const SessionToken& token, void** address, std::string* kind,
                          std::string* error) {
  *address = nullptr;
  kind->clear();
  if (!token.quoted && token.text == "null") return true;
  if (token.quoted || token.text.size() < 2 || token.text[0] != '@')
    return Fail(error, "not an object (@NAME or null): " + token.text);
  korvohost::ObjectEntry* o = korvohost::FindObject(token.text.substr(1));
  if (!o) return Fail(error, "no object " + token.text);
  switch (o->kind) {
    case korvohost::ObjectKind::Actor: *address = &o->actor; *kind = "actor"; break;
    case korvohost::ObjectKind::ActorOption: *address = &o->option; *kind = "actoroption"; break;
    case korvohost::ObjectKind::Item: *address = &o->item; *kind = "item"; break;
  }
  return true;
}

std::vector<std::string> DrawLines(const std::string& kind) {
  std::vector<std::string> lines;
  for (const korvohost::DrawRecord& r : korvohost::DrawList()) {
    if (r.kind == korvohost::DrawKind::Text && r.text.empty()) continue;
    if (kind.empty() || kind == KindWord(r.kind)) lines.push_back(DrawLine(r));
  }
  return lines;
}

bool RunStateCommand(const Tokens& t, bool* handled, std::string* error) {
  *handled = true;
  const std::string& name = t[0].text;
  if (name == "host") return CmdHost(t, error);
  if (name == "show" || name == "forget") return CmdShowOrForget(t, error);
  if (name == "calls") {
    CmdCalls(t);
    return true;
  }
  if (name == "draws") return CmdDraws(t, error);
  if (name == "rawinput") return CmdRawInput(t, error);
  if (korvostate::CStateProvider* p = ProviderOfKind(name)) return CmdRecord(p, t, error);
  *handled = false;
  return true;
}

// export_calls.cpp: binds exported functions to session-script calls. Each
// argument is converted from its token by the parameter's type, and the
// result is printed by the result's type.
#include "tools/korvoui/export_calls.h"

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <tuple>
#include <type_traits>

#include "korvogui/briefing.h"
#include "korvogui/console.h"
#include "korvogui/korvogui.h"
#include "korvogui/lobby.h"
#include "korvogui/messagebox.h"
#include "korvogui/overlays.h"
#include "host/host_characters.h"
#include "tools/korvoui/session_state_commands.h"
#include "korvogui/room.h"
#include "menus/room_records.h"
#include "netkorvo/netkorvo.h"

namespace {

// ---- Argument conversion ------------------------------------------------------------

bool Convert(const SessionToken& t, const char** out, std::string*) {
  *out = (!t.quoted && t.text == "null") ? nullptr : t.text.c_str();
  return true;
}
// A text the exports take as char* and only read (lobby and overlay exports).
bool Convert(const SessionToken& t, char** out, std::string*) {
  *out = (!t.quoted && t.text == "null") ? nullptr : const_cast<char*>(t.text.c_str());
  return true;
}

bool Convert(const SessionToken& t, bool* out, std::string* error) {
  if (ParseSessionBool(t.text, out)) return true;
  *error = "not a boolean: " + t.text;
  return false;
}

bool Convert(const SessionToken& t, float* out, std::string* error) {
  double v;
  if (!ParseSessionFloat(t.text, &v)) {
    *error = "not a number: " + t.text;
    return false;
  }
  *out = static_cast<float>(v);
  return true;
}

// Stand-in objects (`@NAME` of an actor or an item, or null).
template <class T>
constexpr const char* ObjectKind() {
  if constexpr (std::is_same_v<T, CHARACTER>) return "actor";
  else if constexpr (std::is_same_v<T, COH_Item>) return "item";
  else return nullptr;
}

template <class T>
  requires(ObjectKind<T>() != nullptr)
bool Convert(const SessionToken& t, T** out, std::string* error) {
  void* address;
  std::string kind;
  if (!ResolveSessionObject(t, &address, &kind, error)) return false;
  if (address && kind != ObjectKind<T>()) {
    *error = t.text + " is not an " + std::string(ObjectKind<T>());
    return false;
  }
  *out = static_cast<T*>(address);
  return true;
}

template <class Int>
  requires std::is_integral_v<Int>
bool Convert(const SessionToken& t, Int* out, std::string* error) {
  // A pointer-wide integer may carry an actor's address.
  if constexpr (sizeof(Int) >= sizeof(void*)) {
    if (!t.quoted && !t.text.empty() && t.text[0] == '@') {
      CHARACTER* actor;
      if (!Convert(t, &actor, error)) return false;
      *out = static_cast<Int>(reinterpret_cast<uintptr_t>(actor));
      return true;
    }
  }
  long long v;
  if (!ParseSessionInt(t.text, &v)) {
    *error = "not an integer: " + t.text;
    return false;
  }
  *out = static_cast<Int>(v);
  return true;
}

// ---- Result printing ------------------------------------------------------------------

std::string Print(bool v) { return v ? "true" : "false"; }
std::string Print(char* v) { return QuoteSessionString(v); }
template <class Int>
  requires std::is_integral_v<Int>
std::string Print(Int v) { return std::to_string(v); }
// A module record: every field in braces, or null.
template <class Record>
  requires std::is_class_v<Record>
std::string Print(Record* v) { return v ? "{" + netkorvo::PrintFields(*v) + "}" : "null"; }

template <class R, class... A, size_t... I>
bool CallWith(R (*fn)(A...), const std::vector<SessionToken>& args, std::string* result,
              [[maybe_unused]] std::string* error, std::index_sequence<I...>) {
  std::tuple<std::remove_cvref_t<A>...> values;
  if (!(Convert(args[I], &std::get<I>(values), error) && ...)) return false;
  if constexpr (std::is_void_v<R>) {
    std::apply(fn, values);
    result->clear();
  } else {
    *result = Print(std::apply(fn, values));
  }
  return true;
}

template <class R, class... A>
SessionCall Bind(R (*fn)(A...)) {
  SessionCall call;
  call.arity = sizeof...(A);
  call.hasResult = !std::is_void_v<R>;
  call.invoke = [fn](const std::vector<SessionToken>& args, std::string* result, std::string* error) {
    return CallWith(fn, args, result, error, std::index_sequence_for<A...>{});
  };
  return call;
}

// Printf-style exports take the format "%s" and one token.
SessionCall BindPrintf(void (*fn)(const char*, ...)) {
  SessionCall call;
  call.arity = 1;
  call.invoke = [fn](const std::vector<SessionToken>& args, std::string* result, std::string*) {
    const char* text;
    std::string unused;
    Convert(args[0], &text, &unused);
    fn("%s", text);
    result->clear();
    return true;
  };
  return call;
}

// ---- Message box callbacks -------------------------------------------------------------

// Each call prints "callback(CODE) -> RESULT" when the module makes it.
bool Answer(unsigned long code, bool result) {
  std::printf("callback(%lu) -> %s\n", code, result ? "true" : "false");
  return result;
}
bool AcceptCallback(unsigned long code) { return Answer(code, true); }
bool RefuseCallback(unsigned long code) { return Answer(code, false); }
// Callbacks that rebuild or tear down the UI from inside the click, as a game
// may do; each then accepts.
bool RecompileCallback(unsigned long code) {
  GUI_Compile();
  return Answer(code, true);
}
bool ReleaseCallback(unsigned long code) {
  GUI_Release();
  return Answer(code, true);
}

// GUI_MessageBox TEXT TITLE FLAGS CB, where CB is none, accept, refuse,
// recompile or release.
SessionCall BindMessageBox() {
  SessionCall call;
  call.arity = 4;
  call.hasResult = true;
  call.invoke = [](const std::vector<SessionToken>& args, std::string* result, std::string* error) {
    const char* text;
    const char* title;
    unsigned long flags;
    if (!Convert(args[0], &text, error) || !Convert(args[1], &title, error) ||
        !Convert(args[2], &flags, error))
      return false;
    const std::string& cb = args[3].text;
    MessageBoxCallback callback = nullptr;
    if (cb == "accept") callback = &AcceptCallback;
    else if (cb == "refuse") callback = &RefuseCallback;
    else if (cb == "recompile") callback = &RecompileCallback;
    else if (cb == "release") callback = &ReleaseCallback;
    else if (cb != "none") {
      *error = "not a callback (none, accept, refuse, recompile, release): " + cb;
      return false;
    }
    *result = Print(GUI_MessageBox(text, title, flags, callback));
    return true;
  };
  return call;
}

// ---- Team colours ---------------------------------------------------------------------------

// Splits a list token at its commas ("" is the empty list).
std::vector<std::string> ListElements(const std::string& list) {
  std::vector<std::string> out;
  if (list.empty()) return out;
  size_t at = 0;
  for (size_t comma; (comma = list.find(',', at)) != std::string::npos; at = comma + 1)
    out.push_back(list.substr(at, comma - at));
  out.push_back(list.substr(at));
  return out;
}

// GUI_InitTeamColor COUNT COLOURS NAMES: two lists, padded with 0 / "" up to COUNT.
SessionCall BindInitTeamColor() {
  SessionCall call;
  call.arity = 3;
  call.invoke = [](const std::vector<SessionToken>& args, std::string* result, std::string* error) {
    int count;
    if (!Convert(args[0], &count, error)) return false;
    std::vector<unsigned long> colours;
    for (const std::string& e : ListElements(args[1].text)) {
      unsigned long colour;
      if (!Convert(SessionToken{e, false}, &colour, error)) return false;
      colours.push_back(colour);
    }
    std::vector<std::string> names = ListElements(args[2].text);
    // The module reads no more than its table holds, so padding stops there.
    const size_t padded = size_t(std::clamp(count, 0, room::kTeamColors));
    if (colours.size() < padded) colours.resize(padded, 0);
    if (names.size() < padded) names.resize(padded);
    std::vector<char*> namePointers;
    for (std::string& n : names) namePointers.push_back(n.data());
    GUI_InitTeamColor(count, colours.data(), namePointers.data());
    result->clear();
    return true;
  };
  return call;
}

// ---- Lobby ------------------------------------------------------------------------------

// KN_AddSessionList FIELD=VALUE…: the record by value, zero-filled but for the fields.
SessionCall BindAddSessionList() {
  SessionCall call;
  call.arity = -1;
  call.hasResult = true;
  call.invoke = [](const std::vector<SessionToken>& args, std::string* result, std::string* error) {
    std::vector<korvostate::SField> fields;
    SESSION_INFO session{};
    if (!ReadSessionFields(args, &fields, error) ||
        !netkorvo::ReadSessionInfo(fields, &session, *error))
      return false;
    *result = Print(KN_AddSessionList(session));
    return true;
  };
  return call;
}

// ROW: the row's text goes into a zero-filled 1024-byte buffer printed after the result.
SessionCall BindRowString(bool (*fn)(int, char*)) {
  SessionCall call;
  call.arity = 1;
  call.hasResult = true;
  call.invoke = [fn](const std::vector<SessionToken>& args, std::string* result, std::string* error) {
    int row;
    if (!Convert(args[0], &row, error)) return false;
    std::vector<char> buffer(1024, 0);
    const bool ok = fn(row, buffer.data());
    buffer.back() = 0;
    *result = Print(ok) + " " + QuoteSessionString(buffer.data());
    return true;
  };
  return call;
}

// An exported int variable, printed "NAME = VALUE".
SessionCall BindVariable(const int32_t* variable) {
  SessionCall call;
  call.arity = 0;
  call.hasResult = true;
  call.variable = true;
  call.invoke = [variable](const std::vector<SessionToken>&, std::string* result, std::string*) {
    *result = std::to_string(*variable);
    return true;
  };
  return call;
}

}  // namespace

const std::map<std::string, SessionCall>& SessionCalls() {
  static const std::map<std::string, SessionCall> calls = {
      {"GUI_Initialize", Bind(&GUI_Initialize)},
      {"GUI_Release", Bind(&GUI_Release)},
      {"GUI_Compile", Bind(&GUI_Compile)},
      {"GUI_CreateDialog", Bind(&GUI_CreateDialog)},
      {"GUI_DestroyDialog", Bind(&GUI_DestroyDialog)},
      {"GUI_DestroyAllDialog", Bind(&GUI_DestroyAllDialog)},
      {"GUI_IsDialogCreated", Bind(&GUI_IsDialogCreated)},
      {"GUI_NextDialog", Bind(&GUI_NextDialog)},
      {"GUI_PrevDialog", Bind(&GUI_PrevDialog)},
      {"GUI_PumpDialog", Bind(&GUI_PumpDialog)},
      {"GUI_Update", Bind(&GUI_Update)},
      {"GUI_Draw", Bind(&GUI_Draw)},
      {"GUI_MouseMove", Bind(&GUI_MouseMove)},
      {"GUI_LButtonDown", Bind(&GUI_LButtonDown)},
      {"GUI_LButtonUp", Bind(&GUI_LButtonUp)},
      {"GUI_KeyDown", Bind(&GUI_KeyDown)},
      {"GUI_Char", Bind(&GUI_Char)},
      {"GUI_CompositionChar", Bind(&GUI_CompositionChar)},
      {"GUI_FlushInput", Bind(&GUI_FlushInput)},
      {"GUI_ReportError", BindPrintf(&GUI_ReportError)},
      {"GUI_GetLastError", Bind(&GUI_GetLastError)},
      {"GUI_GetTexPath", Bind(&GUI_GetTexPath)},
      {"GUI_MessageBox", BindMessageBox()},
      {"GUI_CloseCurrentMessageBox", Bind(&GUI_CloseCurrentMessageBox)},
      {"GUI_ShowScriptPanel", Bind(&GUI_ShowScriptPanel)},
      {"GUI_ScriptMessage", BindPrintf(&GUI_ScriptMessage)},
      {"LogMessage", BindPrintf(&LogMessage)},
      {"GUI_InitClientInfo", Bind(&GUI_InitClientInfo)},
      {"GUI_GetClientInfo", Bind(&GUI_GetClientInfo)},
      {"GUI_GetLocalClientIndex", Bind(&GUI_GetLocalClientIndex)},
      {"GUI_SetLocalClientIndex", Bind(&GUI_SetLocalClientIndex)},
      {"GUI_InitTeamColor", BindInitTeamColor()},
      {"GUI_GetNumTeamColor", Bind(&GUI_GetNumTeamColor)},
      {"GUI_GetTeamColorByID", Bind(&GUI_GetTeamColorByID)},
      {"GUI_GetTeamColorNameByID", Bind(&GUI_GetTeamColorNameByID)},
      {"GUI_InitOptionInfo", Bind(&GUI_InitOptionInfo)},
      {"GUI_GetNumOptions", Bind(&GUI_GetNumOptions)},
      {"GUI_GetNumAvailableOptions", Bind(&GUI_GetNumAvailableOptions)},
      {"GUI_GetOptionInfo", Bind(&GUI_GetOptionInfo)},
      {"GUI_GetAvailableOptionInfo", Bind(&GUI_GetAvailableOptionInfo)},
      {"GUI_GetServerInfo", Bind(&GUI_GetServerInfo)},
      {"GUI_NextString", Bind(&GUI_NextString)},
      {"GUI_EnableRoomMenuSlot", Bind(&GUI_EnableRoomMenuSlot)},
      {"GUI_DisableRoomMenuSlot", Bind(&GUI_DisableRoomMenuSlot)},
      {"TotalChannelNum", BindVariable(&TotalChannelNum)},
      {"TotalPlayerNum", BindVariable(&TotalPlayerNum)},
      {"TotalSessionNum", BindVariable(&TotalSessionNum)},
      {"InitChatListLine", Bind(&InitChatListLine)},
      {"KN_AddChatListLine", Bind(&KN_AddChatListLine)},
      {"KN_ChatMsgCutting", Bind(&KN_ChatMsgCutting)},
      {"KN_ChatLineControl", Bind(&KN_ChatLineControl)},
      {"KN_RemoveAllChatList", Bind(&KN_RemoveAllChatList)},
      {"KN_AddPlayerList", Bind(&KN_AddPlayerList)},
      {"KN_RemovePlayerList", Bind(&KN_RemovePlayerList)},
      {"KN_RemoveAllPlayerList", Bind(&KN_RemoveAllPlayerList)},
      {"KN_GetEmptyPlayerListIndex", Bind(&KN_GetEmptyPlayerListIndex)},
      {"KN_GetPlayerString", BindRowString(&KN_GetPlayerString)},
      {"KN_GetPlayerIndex", Bind(&KN_GetPlayerIndex)},
      {"KN_GetPlayerInfo", Bind(&KN_GetPlayerInfo)},
      {"KN_PlayerLineControl", Bind(&KN_PlayerLineControl)},
      {"KN_SetPlayerInfo", Bind(&KN_SetPlayerInfo)},
      {"KN_AddChannelList", Bind(&KN_AddChannelList)},
      {"KN_RemoveChannelList", Bind(&KN_RemoveChannelList)},
      {"KN_RemoveAllChannelList", Bind(&KN_RemoveAllChannelList)},
      {"KN_GetEmptyChannelListIndex", Bind(&KN_GetEmptyChannelListIndex)},
      {"KN_IsExistChannel", Bind(&KN_IsExistChannel)},
      {"KN_GetChannelString", BindRowString(&KN_GetChannelString)},
      {"KN_GetChannelIndex", Bind(&KN_GetChannelIndex)},
      {"KN_GetChannelInfo", Bind(&KN_GetChannelInfo)},
      {"KN_ChannelListSetCurSel", Bind(&KN_ChannelListSetCurSel)},
      {"KN_ChannelLineControl", Bind(&KN_ChannelLineControl)},
      {"KN_SelChangeChannelList", Bind(&KN_SelChangeChannelList)},
      {"KN_AddSessionList", BindAddSessionList()},
      {"KN_RemoveSessionList", Bind(&KN_RemoveSessionList)},
      {"KN_RemoveAllSessionList", Bind(&KN_RemoveAllSessionList)},
      {"KN_GetEmptySessionListIndex", Bind(&KN_GetEmptySessionListIndex)},
      {"KN_GetSessionString", BindRowString(&KN_GetSessionString)},
      {"KN_GetSessionIndex", Bind(&KN_GetSessionIndex)},
      {"KN_GetSessionInfo", Bind(&KN_GetSessionInfo)},
      {"KN_AddSessionInPlayerList", Bind(&KN_AddSessionInPlayerList)},
      {"KN_RemoveSessionInPlayerList", Bind(&KN_RemoveSessionInPlayerList)},
      {"KN_RemoveAllSessionInPlayerList", Bind(&KN_RemoveAllSessionInPlayerList)},
      {"KN_GoInGame", Bind(&KN_GoInGame)},
      {"GUI_EventMessage1", Bind(&GUI_EventMessage1)},
      {"GUI_EventMessage2", Bind(&GUI_EventMessage2)},
      {"GUI_EventMessage3", Bind(&GUI_EventMessage3)},
      {"GUI_EventMessage4", Bind(&GUI_EventMessage4)},
      {"GUI_EventMessage5", Bind(&GUI_EventMessage5)},
      {"GUI_TimerMessage", Bind(&GUI_TimerMessage)},
      {"GUI_SetItemState", Bind(&GUI_SetItemState)},
      {"GUI_SetPlayMark", Bind(&GUI_SetPlayMark)},
      {"GUI_SetRadarState", Bind(&GUI_SetRadarState)},
      {"GUI_EnterChatMode", Bind(&GUI_EnterChatMode)},
      {"GUI_LeaveChatMode", Bind(&GUI_LeaveChatMode)},
      {"GUI_ChatMessage", Bind(&GUI_ChatMessage)},
      {"GUI_InitLoadingScene", Bind(&GUI_InitLoadingScene)},
      {"GUI_ReleaseLoadingScene", Bind(&GUI_ReleaseLoadingScene)},
      {"GUI_IsLoadingSceneAlive", Bind(&GUI_IsLoadingSceneAlive)},
  };
  return calls;
}

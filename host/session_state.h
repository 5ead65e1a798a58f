// session_state.h: what `korvoui run` reaches of the stand-ins' game state
// (the reference host's and the network library's): scalars by name, records
// by kind, and the one log of recorded service calls. Each stand-in offers a
// provider; the session runner asks them in turn. For tools and tests only.
#pragma once
#include <string>
#include <vector>

#define KORVOSTATE_API __attribute__((visibility("default")))

namespace korvostate {

// A value as the session script wrote it: quoted tokens keep `quoted` set, so
// that a bare null (the null value) differs from "null" (the text).
struct SToken {
  std::string text;
  bool quoted = false;
};

// One NAME=VALUE argument of a record line.
struct SField {
  std::string name;
  SToken value;
};

// The game state of one stand-in as sessions see it. Every operation that
// returns bool gives false with a reason in `error` for a line that cannot be
// run (unknown name, bad value, key out of range, read-only scalar, ...).
class CStateProvider {
 public:
  virtual ~CStateProvider() = default;

  // ---- Scalars: `host NAME [VALUE]` ----
  virtual bool HasScalar(const std::string& name) const = 0;
  // The printed form of the value (`1`, `"100"`, `null`, `0xFF52D8DE`, ...).
  virtual bool GetScalar(const std::string& name, std::string& printed, std::string& error) const = 0;
  virtual bool SetScalar(const std::string& name, const SToken& value, std::string& error) = 0;

  // ---- Records: `KIND KEY… FIELD=VALUE…`, `show KIND [KEY…]`, `forget KIND [KEY…]` ----
  virtual bool HasKind(const std::string& kind) const = 0;
  virtual bool SetRecord(const std::string& kind, const std::vector<SToken>& keys,
                         const std::vector<SField>& fields, std::string& error) = 0;
  // Appends the printed lines (`KIND KEY… FIELD=VALUE …`, or `show: no KIND KEY…`).
  virtual bool ShowRecords(const std::string& kind, const std::vector<SToken>& keys,
                           std::vector<std::string>& lines, std::string& error) const = 0;
  virtual bool ForgetRecords(const std::string& kind, const std::vector<SToken>& keys,
                             std::string& error) = 0;

  // Back to the empty state of a new session.
  virtual void ResetState() = 0;
};

// Providers in the order the runner asks them (the host's first).
KORVOSTATE_API void AddProvider(CStateProvider* provider);
KORVOSTATE_API const std::vector<CStateProvider*>& Providers();

// ---- Recorded calls ----
// While recording is on (sessions), each recorded service appends one line
// `NAME(ARG, ARG, …)` or `NAME(…) -> RESULT`, without the "call: " prefix.
KORVOSTATE_API void SetRecording(bool on);
KORVOSTATE_API bool Recording();
KORVOSTATE_API void RecordCall(const std::string& line);
KORVOSTATE_API std::vector<std::string> TakeCalls();

// Printed forms shared by both stand-ins: text quoted and escaped as session
// results (null pointer: null), colour 0xAARRGGBB, float %g, bool true/false.
KORVOSTATE_API std::string PrintText(const char* text);
KORVOSTATE_API std::string PrintColour(unsigned int argb);
KORVOSTATE_API std::string PrintFloat(double value);
KORVOSTATE_API std::string PrintBool(bool value);

}  // namespace korvostate

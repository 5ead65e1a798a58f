// netkorvo_support.h: a fixture that puts the network stand-in into a fresh
// recording session (start state, calls recorded) and helpers that drive its
// session provider as `korvoui run` lines do.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "netkorvo/netkorvo.h"
#include "host/session_state.h"
#include "tests/unit/fresh_module.h"

class NetSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    netkorvo::Reset();
    RestartModule();
    korvostate::SetRecording(true);
    korvostate::TakeCalls();
  }
  void TearDown() override {
    korvostate::SetRecording(false);
    GUI_Release();
    netkorvo::Reset();
  }

  static korvostate::CStateProvider& P() { return netkorvo::SessionProvider(); }

  // A token as the session tokenizer gives it: "…" quoted, anything else bare.
  static korvostate::SToken Tok(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
      return {text.substr(1, text.size() - 2), true};
    return {text, false};
  }
  static std::vector<korvostate::SToken> Keys(std::initializer_list<const char*> keys) {
    std::vector<korvostate::SToken> out;
    for (const char* k : keys) out.push_back(Tok(k));
    return out;
  }
  // "name=value" pairs.
  static std::vector<korvostate::SField> Fields(std::initializer_list<const char*> fields) {
    std::vector<korvostate::SField> out;
    for (const char* f : fields) {
      const std::string s = f;
      const size_t eq = s.find('=');
      out.push_back({s.substr(0, eq), Tok(s.substr(eq + 1))});
    }
    return out;
  }

  // `KIND KEY… FIELD=VALUE…`; returns the error ("" when the line ran).
  static std::string Set(const char* kind, std::initializer_list<const char*> keys,
                         std::initializer_list<const char*> fields) {
    std::string error;
    return P().SetRecord(kind, Keys(keys), Fields(fields), error) ? "" : error.empty() ? "?" : error;
  }
  // `show KIND [KEY…]`: the printed lines, or "error: …".
  static std::vector<std::string> Show(const char* kind, std::initializer_list<const char*> keys = {}) {
    std::vector<std::string> lines;
    std::string error;
    if (!P().ShowRecords(kind, Keys(keys), lines, error)) return {"error: " + error};
    return lines;
  }
  static std::string Forget(const char* kind, std::initializer_list<const char*> keys = {}) {
    std::string error;
    return P().ForgetRecords(kind, Keys(keys), error) ? "" : error.empty() ? "?" : error;
  }
  // `host NAME VALUE`; the error or "".
  static std::string SetScalar(const char* name, const char* value) {
    std::string error;
    return P().SetScalar(name, Tok(value), error) ? "" : error.empty() ? "?" : error;
  }
  // `host NAME`: the printed value, or "error: …".
  static std::string Scalar(const char* name) {
    std::string printed, error;
    return P().GetScalar(name, printed, error) ? printed : "error: " + error;
  }
  static std::vector<std::string> Calls() { return korvostate::TakeCalls(); }
};

// session_state.cpp: the provider list, the log of recorded calls and the
// printed forms of values shared by the stand-ins.
#include "host/session_state.h"

#include <cstdio>

namespace korvostate {

namespace {
std::vector<CStateProvider*> g_providers;
std::vector<std::string> g_calls;
bool g_recording = false;
}  // namespace

void AddProvider(CStateProvider* provider) { g_providers.push_back(provider); }
const std::vector<CStateProvider*>& Providers() { return g_providers; }

void SetRecording(bool on) {
  g_recording = on;
  if (!on) g_calls.clear();
}
bool Recording() { return g_recording; }

void RecordCall(const std::string& line) {
  if (g_recording) g_calls.push_back(line);
}

std::vector<std::string> TakeCalls() {
  std::vector<std::string> out;
  out.swap(g_calls);
  return out;
}

std::string PrintText(const char* text) {
  if (!text) return "null";
  std::string out = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < 0x20 || *p > 0x7E || *p == '"' || *p == '\\') {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", *p);
      out += hex;
    } else {
      out += static_cast<char>(*p);
    }
  }
  return out + "\"";
}

std::string PrintColour(unsigned int argb) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", argb);
  return buf;
}

std::string PrintFloat(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", value);
  return buf;
}

std::string PrintBool(bool value) { return value ? "true" : "false"; }

}  // namespace korvostate

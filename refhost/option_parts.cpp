// option_parts.cpp: OPT_GetDescHead over the host's option-part records. The
// descriptor list is rebuilt whenever the records change, so the module always
// walks the current parts.
#include "refhost/option_parts.h"

#include "host/option_descs.h"

namespace {

std::vector<korvohost::SOptionPartRecord> g_parts;
std::vector<OPT_DESC> g_descs;   // one per part, linked in order; texts point into g_parts

void Relink() {
  g_descs.assign(g_parts.size(), OPT_DESC{});
  for (size_t i = 0; i < g_parts.size(); ++i) {
    korvohost::SOptionPartRecord& part = g_parts[i];
    OPT_DESC& desc = g_descs[i];
    desc.text[0] = part.name.data();
    desc.text[1] = part.text2.data();
    desc.text[2] = part.icon.data();
    desc.text[3] = part.text4.data();
    desc.id = part.id;
    desc.next = i + 1 < g_parts.size() ? &g_descs[i + 1] : nullptr;
  }
}

}  // namespace

OPT_DESC* OPT_GetDescHead() { return g_descs.empty() ? nullptr : &g_descs.front(); }

namespace korvohost {

void SetOptionParts(const std::vector<SOptionPartRecord>& parts) {
  g_parts = parts;
  Relink();
}

}  // namespace korvohost

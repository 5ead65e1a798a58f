// option_network.cpp: the network page (OPTIONNETWORK): the connection's data
// rate, one state per bandwidth level.
#include "host/host_options.h"
#include "menus/menu_dialogs.h"
#include "menus/registration.h"
#include "menus/screens/option_pages.h"

namespace {
constexpr SOptionKey kBandwidthLevel{&OptionNetworkManager, "net_bandwidth_level"};
}  // namespace

// ---- Registrations ------------------------------------------------------------------------

void RegisterOptionNetwork(CGUI_ClassRegistry* r) {
  RegisterIdClass<CGUI_ExclusiveMenuDialog>(r, "OPTIONNETWORK");
  RegisterIdClass<TGUI_CancelPageButton<&ReadOptionNetwork>>(r, "IDC_BUTTON_NETWORKCANCEL");
  RegisterIdClass<TGUI_DefaultPageButton<&SetDefaultOptionNetwork>>(r, "IDC_BUTTON_NETWORKDEFAULT");
  RegisterIdClass<TGUI_OkPageButton<&WriteOptionNetwork>>(r, "IDC_BUTTON_NETWORKOK");
  RegisterIdClass<TGUI_OptionRotateButton<kBandwidthLevel, kMapStateNumber>>(
      r, "IDC_BUTTON_NETDATARATE");
}

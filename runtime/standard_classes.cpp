// standard_classes.cpp: the runtime registers its standard classes by name.
// "STATIC" has no standard registration: only the game's static text exists.
#include "runtime/standard_classes.h"

#include "runtime/control.h"
#include "runtime/dialog.h"
#include "runtime/edit.h"
#include "runtime/list.h"
#include "runtime/registry.h"
#include "runtime/simple_controls.h"
#include "runtime/slider.h"

void RegisterStandardClasses(CGUI_ClassRegistry* registry) {
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_Dialog>, true);
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_Control>, true);
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_Button>, true);
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_Bitmap>, true);
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_PushButton>, true);
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_Edit>, true);
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_List>, true);
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_Slider>, true);
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_Custom>, true);
}

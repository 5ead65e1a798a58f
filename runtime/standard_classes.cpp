// standard_classes.cpp: the runtime registers its standard classes by name.
#include "runtime/standard_classes.h"

#include "runtime/dialog.h"
#include "runtime/registry.h"

void RegisterStandardClasses(CGUI_ClassRegistry* registry) {
  registry->RegisterClass(new TGUI_WindowFactory<CGUI_Dialog>, true);
}

// inspector.h: what `korvoui play` shows when F12 is pressed: the window under
// the mouse with its flags, region and parameter lists, the focus and hover
// windows, the open dialogs and the dialog stack.
#pragma once
#include <string>
#include <vector>

class CGUI_Window;
struct SParamList;

// The deepest shown window whose rectangle holds pt (screen fractions),
// searching the open dialogs from the topmost; null when none does. Unlike the
// module's hover search it ignores the hit-test flag, so backgrounds and
// labels can be inspected too.
CGUI_Window* WindowAt(const float pt[2]);

// One PARAM line's values: integers in decimal, floats as %g, strings quoted,
// separated by ", ".
std::string ParamListText(const SParamList* list);

// The inspector's lines for the mouse point pt.
std::vector<std::string> InspectorLines(const float pt[2]);

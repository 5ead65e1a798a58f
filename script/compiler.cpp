// compiler.cpp: CompileScript (scanner, parser, evaluation) and GUI_Compile,
// which reads the script through the host's file service.
#include "script/compiler.h"

#include <cstring>
#include <vector>

#include "foundation/ortan_heap.h"
#include "host/host_services.h"
#include "korvogui/korvogui.h"
#include "runtime/error_text.h"
#include "runtime/module_state.h"
#include "runtime/window_manager.h"
#include "script/parser.h"
#include "script/scanner.h"
#include "script/ui_script_language.h"

namespace {
// The compiler's part of the module state.
struct SCompilerState final : CModulePart {
  // The parser tables, made once per module state.
  CUIScriptParserTables parserTables;
  // The copy of the script that GUI_Compile hands to the compiler, kept from
  // one compile to the next: a script-sized block freed after every compile
  // would have the general-purpose heap sweep all its small free blocks each time.
  std::vector<char> scriptText;
};
}  // namespace

CDialogTable* CompileScript(const char* text) {
  CUIScriptLexerTables lexerTables;
  CStringScanner scanner(&lexerTables, text);
  CDialogTable* table = nullptr;
  {
    CParser parser(&ModulePart<SCompilerState>().parserTables, &scanner);
    const CParseResult result = parser.Parse();
    if (result.IsValid()) table = static_cast<CDialogTable*>(parser.Evaluate(result));
    parser.Clear();
  }
  return table;
}

extern "C" KORVO_API bool GUI_Compile() {
  InstallDialogTable(nullptr);
  DialogStack().clear();
  void* image = nullptr;
  uint32_t size = 0;
  if (!GetFileImageInCFS(kUIScriptPath, &image, &size)) {
    GUI_ReportError("Compile Error : %s not found", kUIScriptPath);
    return false;
  }
  std::vector<char>& copy = ModulePart<SCompilerState>().scriptText;
  copy.resize(static_cast<size_t>(size) + 1);
  char* text = copy.data();
  std::memcpy(text, image, size);
  text[size] = '\0';
  ReleaseFileImage(image);
  CDialogTable* table = CompileScript(text);
  if (!table) {
    GUI_ReportError("Compile Error : %s", GetErrorText());
    return false;
  }
  InstallDialogTable(table);
  return true;
}

// ui_script_evaluator.h: the evaluation pass of the UI script: walks the
// parse tree and builds the dialog table.
#pragma once
#include <cstdint>

class CParser;
struct CParseNode;

// The CDialogTable of the script, or null (runtime error text set).
void* EvaluateUIScript(CParser* parser, CParseNode* root);
// Frees the semantic value of a grammar symbol.
void FreeUIScriptValue(uint32_t symbol, void* value);

// ui_script_evaluator.cpp: one evaluation step per grammar symbol. Each step
// makes a record from the evaluation allocator, takes its children's values
// and returns their records. A failed step returns null and leaves the records
// it holds alive; the parser frees their values when it is cleared. The list
// rules are right-recursive, so their spines are walked in loops, keeping the
// C++ stack flat for scripts of any length.
#include "script/ui_script_evaluator.h"

#include "runtime/params.h"
#include "runtime/window.h"
#include "runtime/window_manager.h"
#include "script/parser.h"
#include "script/template_builder.h"
#include "script/ui_script_tables.h"

namespace {

CEvalNode* Eval(CParser* p, CParseNode* n);

// Frees the token children that no step takes (keywords and separators):
// every child from `from` up to (not including) `to` whose bit in `keep` is
// clear. Steps drop the tokens before an item they evaluate first and those
// after it next, so that token texts go back to the string pool in the order
// they were scanned, each joining the free run its predecessor left.
void DropTokens(CParser* p, CParseNode* n, uint32_t keep, uint32_t from = 0, uint32_t to = 8) {
  if (to > n->childCount) to = n->childCount;
  for (uint32_t i = from; i < to; ++i)
    if (!(keep >> i & 1u) && n->children[i]->terminal) p->DropToken(n->children[i]);
}

// Nodes are made in parse order: a subtree lies in memory before its root,
// and a list's next item right after the current one. The evaluation reads
// them long after the parse wrote them, so their lines are asked for ahead
// of the walk: the start of a dialog's span (and its end, where the list
// spines lie) when the dialog is reached, the next item's span while the
// current item is evaluated.
// An explicit prefetch: the compiler drops builtin prefetches whose results
// it cannot see used.
inline void PrefetchLine(const char* at) {
#if defined(__x86_64__)
  asm volatile("prefetcht0 %0" : : "m"(*at));
#else
  __builtin_prefetch(at);
#endif
}

void PrefetchSpan(const void* from, const void* to, size_t maxBytes) {
  constexpr size_t kLine = 64, kTail = 8 * 1024;
  const auto* a = static_cast<const char*>(from);
  const auto* b = static_cast<const char*>(to);
  if (b <= a || static_cast<size_t>(b - a) > 64u * 1024 * 1024) return;   // another frame
  const size_t span = static_cast<size_t>(b - a);
  for (const char* at = b - (span < kTail ? span : kTail); at < b; at += kLine) PrefetchLine(at);
  const char* end = span > maxBytes ? a + maxBytes : b;
  for (const char* at = a; at < end; at += kLine) PrefetchLine(at);
}
constexpr size_t kItemSpan = 32 * 1024;
constexpr size_t kDialogSpan = 256 * 1024;

// Takes the value out of a record and returns the record.
void* Take(CParser* p, CEvalNode* rec) {
  void* v = rec->value;
  rec->value = nullptr;
  p->ReturnEvalNode(rec);
  return v;
}

void CopyPosition(CEvalNode* to, const CEvalNode* from) {
  to->line = from->line;
  to->column = from->column;
}

// The value of the single child, with its position. A token child's value
// is taken straight from its node: the step needs no record for it.
CEvalNode* Pass(CParser* p, CParseNode* n, CEvalNode* rec) {
  if (n->children[0]->terminal) {
    rec->value = p->TakeTokenValue(n->children[0], &rec->line, &rec->column);
    return rec;
  }
  CEvalNode* c = Eval(p, n->children[0]);
  if (!c) return nullptr;
  CopyPosition(rec, c);
  rec->value = Take(p, c);
  return rec;
}

// A right-recursive list: `cons` rules carry their item at child `item` and
// the rest of the list as their last child; other rules end the list
// (carrying a last item at `item` when `lastHasItem`). Cells are appended to
// rec's value as items are evaluated, so a failure leaves them to clean-up.
template <class Cell>
CEvalNode* List(CParser* p, CParseNode* n, CEvalNode* rec, int consRule, uint32_t item,
                bool lastHasItem) {
  Cell** tail = reinterpret_cast<Cell**>(&rec->value);
  for (;;) {
    const bool cons = n->rule == consRule;
    const uint32_t keep = cons ? 1u << item | 1u << (n->childCount - 1) : 0;
    if (cons) {
      DropTokens(p, n, keep, 0, item);
      const CParseNode* rest = n->children[n->childCount - 1];
      if (rest->rule == consRule || (lastHasItem && rest->childCount > item))
        PrefetchSpan(n->children[item], rest->children[item], kItemSpan);
    }
    if (cons || lastHasItem) {
      CEvalNode* c = Eval(p, n->children[item]);
      if (!c) return nullptr;
      auto* cell = new Cell;
      *tail = cell;
      tail = &cell->next;
      cell->value = static_cast<decltype(cell->value)>(Take(p, c));
    }
    if (cons) DropTokens(p, n, keep, item + 1);
    if (!cons) return rec;
    n = n->children[n->childCount - 1];
  }
}

CEvalNode* Box(CParser* p, CParseNode* n, CEvalNode* rec) {
  float values[4];
  for (int i = 0; i < 4; ++i) {
    if (i > 0) DropTokens(p, n, 0, i * 2 - 1, i * 2);   // the COMMA before this value
    CParseNode* child = n->children[i * 2];
    SParamValue* v;
    if (child->terminal) {   // the FLOAT tokens: values taken from the nodes
      uint32_t line, column;
      v = static_cast<SParamValue*>(p->TakeTokenValue(child, &line, &column));
      if (i == 0) {
        rec->line = line;
        rec->column = column;
      }
    } else {
      CEvalNode* c = Eval(p, child);
      if (!c) return nullptr;
      if (i == 0) CopyPosition(rec, c);
      v = static_cast<SParamValue*>(Take(p, c));
    }
    values[i] = v && v->type == PARAM_FLOAT ? v->f : 0.0f;
    FreeParam(v);
  }
  rec->value = NewRegion(values);
  return rec;
}

CEvalNode* Attr(CParser* p, CParseNode* n, CEvalNode* rec) {
  CEvalNode* c[4];
  for (int i = 0; i < 4; ++i)
    if (!(c[i] = Eval(p, n->children[i]))) return nullptr;
  CopyPosition(rec, c[0]);
  auto* attr = new SDialogAttr;
  attr->caption = static_cast<SParamValue*>(Take(p, c[0]));
  attr->id = static_cast<SParamValue*>(Take(p, c[1]));
  attr->flags = static_cast<SParamList*>(Take(p, c[2]));
  attr->region = static_cast<float*>(Take(p, c[3]));
  rec->value = attr;
  return rec;
}

CEvalNode* Control(CParser* p, CParseNode* n, CEvalNode* rec) {
  CEvalNode* c[3];
  for (int i = 0; i < 3; ++i)
    if (!(c[i] = Eval(p, n->children[i]))) return nullptr;
  auto* type = static_cast<SParamValue*>(c[0]->value);
  const char* className = type && type->type == PARAM_STRING ? type->s : "";
  CGUI_Window* w = BuildControl(className, c[0]->line, c[0]->column,
                                *static_cast<SDialogAttr*>(c[1]->value),
                                static_cast<SValueList*>(c[2]->value));
  if (!w) return nullptr;
  CopyPosition(rec, c[0]);
  for (CEvalNode* child : c) p->ReturnEvalNode(child);
  rec->value = w;
  return rec;
}

CEvalNode* Dialog(CParser* p, CParseNode* n, CEvalNode* rec) {
  PrefetchSpan(n->children[0], n, kDialogSpan);   // from the DIALOG token to this node
  // The DIALOG keyword's record gives its position and goes back at once
  // (with its text, in scanning order).
  CEvalNode* keyword = Eval(p, n->children[0]);
  if (!keyword) return nullptr;
  CopyPosition(rec, keyword);
  p->ReturnEvalNode(keyword);
  CEvalNode* c[2];
  for (int i = 0; i < 2; ++i)
    if (!(c[i] = Eval(p, n->children[i + 1]))) return nullptr;
  CGUI_Window* d = BuildDialog(rec->line, rec->column, *static_cast<SDialogAttr*>(c[0]->value),
                               static_cast<SValueList*>(c[1]->value));
  if (!d) return nullptr;
  for (CEvalNode* child : c) p->ReturnEvalNode(child);
  rec->value = d;
  return rec;
}

CEvalNode* Eval(CParser* p, CParseNode* n) {
  // The tree was written during the whole parse and is read once, top down:
  // ask for the children's lines while this node is worked on.
  for (uint32_t i = 0; i < n->childCount; ++i) __builtin_prefetch(n->children[i]);
  CEvalNode* rec = p->NewEvalNode(n->symbol);
  if (n->terminal) {
    p->TakeToken(n, rec);
    return rec;
  }
  switch (n->symbol) {
    case UI_SCRIPT_SYMBOL_PARAMETER:
    case UI_SCRIPT_SYMBOL_FLAG:
    case UI_SCRIPT_SYMBOL_DLG_REGION:
    case UI_SCRIPT_SYMBOL_CTRL_ATTR_REGION:
    case UI_SCRIPT_SYMBOL_DLG_CAPTION:
    case UI_SCRIPT_SYMBOL_CTRL_ATTR_CAPTION:
    case UI_SCRIPT_SYMBOL_DLG_ID:
    case UI_SCRIPT_SYMBOL_CTRL_ATTR_ID:
    case UI_SCRIPT_SYMBOL_CTRL_TYPE:
      return Pass(p, n, rec);
    case UI_SCRIPT_SYMBOL_DLG_FLAG_BLK:
    case UI_SCRIPT_SYMBOL_CTRL_ATTR_FLAG_BLK:
      return n->childCount ? Pass(p, n, rec) : rec;
    case UI_SCRIPT_SYMBOL_PARAM_BLK:
      return List<SParamList>(p, n, rec, 3, 0, true);
    case UI_SCRIPT_SYMBOL_FLAG_BLK:
      return List<SParamList>(p, n, rec, 8, 0, true);
    case UI_SCRIPT_SYMBOL_CTRL_PARAM_BLK:
      return List<SValueList>(p, n, rec, 31, 1, false);
    case UI_SCRIPT_SYMBOL_CTRL_BLK:
      return List<SValueList>(p, n, rec, 21, 0, false);
    case UI_SCRIPT_SYMBOL_DLG_BLK:
      return List<SValueList>(p, n, rec, 11, 0, false);
    case UI_SCRIPT_SYMBOL_DLG_BODY:
      DropTokens(p, n, 1u << 1, 0, 1);
      if (CEvalNode* c = Eval(p, n->children[1])) {
        rec->value = Take(p, c);
        DropTokens(p, n, 1u << 1, 2);
        return rec;
      }
      return nullptr;
    case UI_SCRIPT_SYMBOL_BOX:
      return Box(p, n, rec);
    case UI_SCRIPT_SYMBOL_DLG_ATTR:
    case UI_SCRIPT_SYMBOL_CTRL_ATTR:
      return Attr(p, n, rec);
    case UI_SCRIPT_SYMBOL_CTRL:
      return Control(p, n, rec);
    case UI_SCRIPT_SYMBOL_DLG:
      return Dialog(p, n, rec);
    case UI_SCRIPT_SYMBOL_MENU_BLK:
      return rec;
    case UI_SCRIPT_SYMBOL_UI_SCRIPT: {
      CEvalNode* dialogs = Eval(p, n->children[0]);
      if (!dialogs) return nullptr;
      CEvalNode* menu = Eval(p, n->children[1]);
      if (!menu) return nullptr;
      p->ReturnEvalNode(menu);
      rec->value = BuildTable(static_cast<SValueList*>(dialogs->value));
      p->ReturnEvalNode(dialogs);
      return rec;
    }
    default:
      return rec;
  }
}

}  // namespace

void* EvaluateUIScript(CParser* parser, CParseNode* root) {
  CEvalNode* rec = Eval(parser, root);
  return rec ? Take(parser, rec) : nullptr;
}

void FreeUIScriptValue(uint32_t symbol, void* value) {
  if (!value) return;
  switch (symbol) {
    case UI_SCRIPT_SYMBOL_PARAM_BLK:
    case UI_SCRIPT_SYMBOL_FLAG_BLK:
    case UI_SCRIPT_SYMBOL_DLG_FLAG_BLK:
    case UI_SCRIPT_SYMBOL_CTRL_ATTR_FLAG_BLK:
      FreeParamList(static_cast<SParamList*>(value));
      break;
    case UI_SCRIPT_SYMBOL_CTRL_PARAM_BLK:
      FreeParamLines(static_cast<SValueList*>(value));
      break;
    case UI_SCRIPT_SYMBOL_BOX:
    case UI_SCRIPT_SYMBOL_DLG_REGION:
    case UI_SCRIPT_SYMBOL_CTRL_ATTR_REGION:
      FreeRegion(static_cast<float*>(value));
      break;
    case UI_SCRIPT_SYMBOL_DLG_ATTR:
    case UI_SCRIPT_SYMBOL_CTRL_ATTR:
      FreeDialogAttr(static_cast<SDialogAttr*>(value));
      break;
    case UI_SCRIPT_SYMBOL_CTRL:
    case UI_SCRIPT_SYMBOL_DLG:
      delete static_cast<CGUI_Window*>(value);
      break;
    case UI_SCRIPT_SYMBOL_CTRL_BLK:
    case UI_SCRIPT_SYMBOL_DLG_BODY:
    case UI_SCRIPT_SYMBOL_DLG_BLK:
      FreeWindowList(static_cast<SValueList*>(value));
      break;
    case UI_SCRIPT_SYMBOL_UI_SCRIPT:
      delete static_cast<CDialogTable*>(value);
      break;
    case UI_SCRIPT_SYMBOL_MENU_BLK:
      break;
    default:   // tokens and the symbols that pass a token's value on
      FreeParam(static_cast<SParamValue*>(value));
      break;
  }
}

#pragma once

// Recursive-descent parser from tokens to the nodes of ast.h. Nesting is
// bounded (limits::kMaxParseNesting), so no text can exhaust the C++ stack.

#include <string_view>

#include "script/ast.h"
#include "script/symbols.h"

namespace ondrix::script {

// Parses a whole text as one expression (what Eval takes). Blank text gives a
// null root. Raises ScriptError on a syntax error.
ParsedExpression ParseExpressionText(std::string_view source, SymbolTable& symbols);

// Parses a whole text of statements and Function/Sub definitions (what
// AddCode takes). Raises ScriptError on a syntax error.
ParsedProgram ParseProgramText(std::string_view source, SymbolTable& symbols);

}  // namespace ondrix::script

#include "script/errors.h"

#include "script/limits.h"

namespace ondrix::script {

std::string_view ErrorText(int number) {
    struct Entry {
        int number;
        std::string_view text;
    };
    static constexpr Entry kTexts[] = {
        {kInvalidProcedureCall, "Invalid procedure call or argument"},
        {kOverflow, "Overflow"},
        {kOutOfMemory, "Out of memory"},
        {kDivisionByZero, "Division by zero"},
        {kTypeMismatch, "Type mismatch"},
        {kOutOfStringSpace, "Out of string space"},
        {kOutOfStackSpace, "Out of stack space"},
        {kInvalidUseOfNull, "Invalid use of Null"},
        {kWrongArgumentCount, "Wrong number of arguments or invalid property assignment"},
        {kIllegalAssignment, "Illegal assignment"},
        {kSyntaxError, "Syntax error"},
        {kExpectedLeftParen, "Expected '('"},
        {kExpectedRightParen, "Expected ')'"},
        {kExpectedIdentifier, "Expected identifier"},
        {kExpectedEquals, "Expected '='"},
        {kExpectedIf, "Expected 'If'"},
        {kExpectedEnd, "Expected 'End'"},
        {kExpectedFunction, "Expected 'Function'"},
        {kExpectedSub, "Expected 'Sub'"},
        {kExpectedThen, "Expected 'Then'"},
        {kExpectedStatement, "Expected statement"},
        {kExpectedEndOfStatement, "Expected end of statement"},
        {kInvalidCharacter, "Invalid character"},
        {kUnterminatedString, "Unterminated string constant"},
        {kInvalidExit, "Invalid 'exit' statement"},
        {kNameRedefined, "Name redefined"},
        {kCannotUseParentheses, "Cannot use parentheses when calling a Sub"},
    };
    for (const Entry& e : kTexts) {
        if (e.number == number) return e.text;
    }
    return "Unknown runtime error";
}

void Raise(int number) {
    throw ScriptError(number, std::string(ErrorText(number)));
}

void CheckStringLength(std::size_t length) {
    if (length > limits::kMaxStringLength) Raise(kOutOfStringSpace);
}

void RaiseNamed(int number, std::string_view name) {
    throw ScriptError(number, std::string(ErrorText(number)) + ": '" + std::string(name) + "'");
}

}  // namespace ondrix::script

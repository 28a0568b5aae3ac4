#include "script/errors.h"

namespace ondrix::script {

std::string_view ErrorText(int number) {
    switch (number) {
        case kInvalidProcedureCall:
            return "Invalid procedure call or argument";
        case kOverflow:
            return "Overflow";
        case kOutOfMemory:
            return "Out of memory";
        case kDivisionByZero:
            return "Division by zero";
        case kTypeMismatch:
            return "Type mismatch";
        case kOutOfStringSpace:
            return "Out of string space";
        case kOutOfStackSpace:
            return "Out of stack space";
        case kInvalidUseOfNull:
            return "Invalid use of Null";
        case kWrongArgumentCount:
            return "Wrong number of arguments or invalid property assignment";
        case kIllegalAssignment:
            return "Illegal assignment";
        case kSyntaxError:
            return "Syntax error";
        case kExpectedLeftParen:
            return "Expected '('";
        case kExpectedRightParen:
            return "Expected ')'";
        case kExpectedIdentifier:
            return "Expected identifier";
        case kExpectedEquals:
            return "Expected '='";
        case kExpectedIf:
            return "Expected 'If'";
        case kExpectedEnd:
            return "Expected 'End'";
        case kExpectedFunction:
            return "Expected 'Function'";
        case kExpectedSub:
            return "Expected 'Sub'";
        case kExpectedThen:
            return "Expected 'Then'";
        case kExpectedStatement:
            return "Expected statement";
        case kExpectedEndOfStatement:
            return "Expected end of statement";
        case kInvalidCharacter:
            return "Invalid character";
        case kUnterminatedString:
            return "Unterminated string constant";
        case kInvalidExit:
            return "Invalid 'exit' statement";
        case kNameRedefined:
            return "Name redefined";
        case kCannotUseParentheses:
            return "Cannot use parentheses when calling a Sub";
        default:
            return "Unknown runtime error";
    }
}

void Raise(int number) {
    throw ScriptError(number, std::string(ErrorText(number)));
}

void RaiseNamed(int number, std::string_view name) {
    std::string text(ErrorText(number));
    text += ": '";
    text += name;
    text += '\'';
    throw ScriptError(number, text);
}

}  // namespace ondrix::script

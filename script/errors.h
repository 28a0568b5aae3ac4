#pragma once

// VBScript's error numbers and their texts, and helpers that raise them.

#include <cstddef>
#include <string>
#include <string_view>

#include "script/engine.h"

namespace ondrix::script {

enum ErrorNumber : int {
    kInvalidProcedureCall = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kDivisionByZero = 11,
    kTypeMismatch = 13,
    kOutOfStringSpace = 14,
    kOutOfStackSpace = 28,
    kInvalidUseOfNull = 94,
    kWrongArgumentCount = 450,
    kIllegalAssignment = 501,
    kSyntaxError = 1002,
    kExpectedLeftParen = 1005,
    kExpectedRightParen = 1006,
    kExpectedIdentifier = 1010,
    kExpectedEquals = 1011,
    kExpectedIf = 1012,
    kExpectedEnd = 1014,
    kExpectedFunction = 1015,
    kExpectedSub = 1016,
    kExpectedThen = 1017,
    kExpectedStatement = 1024,
    kExpectedEndOfStatement = 1025,
    kInvalidCharacter = 1032,
    kUnterminatedString = 1033,
    kInvalidExit = 1039,
    kNameRedefined = 1041,
    kCannotUseParentheses = 1044,
};

// The description VBScript gives for an error number.
std::string_view ErrorText(int number);

// Raises the error with its standard description.
[[noreturn]] void Raise(int number);
// Raises the error with the name that caused it, as VBScript reports it:
// "Type mismatch: 'Foo'".
[[noreturn]] void RaiseNamed(int number, std::string_view name);

// Raises error 14 "Out of string space" for a string value longer than
// limits::kMaxStringLength, the one bound on every string the engine makes.
void CheckStringLength(std::size_t length);

}  // namespace ondrix::script

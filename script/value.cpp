#include "script/value.h"

#include "script/currency.h"

namespace ondrix::script {

const std::string& Value::EmptyText() {
    static const std::string kEmpty;
    return kEmpty;
}

double Value::CurrencyNumber() const {
    return currency::ToDouble(amount_);
}

std::string_view TypeName(const Value& v) {
    switch (v.kind()) {
        case VarKind::Empty:
            return "Empty";
        case VarKind::Null:
            return "Null";
        case VarKind::Integer:
            return "Integer";
        case VarKind::Long:
            return "Long";
        case VarKind::Single:
            return "Single";
        case VarKind::Double:
            return "Double";
        case VarKind::Currency:
            return "Currency";
        case VarKind::Date:
            return "Date";
        case VarKind::String:
            return "String";
        case VarKind::Boolean:
            return "Boolean";
        case VarKind::Byte:
            return "Byte";
    }
    return "Unknown";
}

}  // namespace ondrix::script

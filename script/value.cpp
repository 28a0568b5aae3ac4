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
    struct KindName {
        VarKind kind;
        std::string_view name;
    };
    static constexpr KindName kNames[] = {
        {VarKind::Empty, "Empty"},       {VarKind::Null, "Null"},     {VarKind::Integer, "Integer"},
        {VarKind::Long, "Long"},         {VarKind::Single, "Single"}, {VarKind::Double, "Double"},
        {VarKind::Currency, "Currency"}, {VarKind::Date, "Date"},     {VarKind::String, "String"},
        {VarKind::Boolean, "Boolean"},   {VarKind::Byte, "Byte"},
    };
    for (const KindName& k : kNames) {
        if (k.kind == v.kind()) return k.name;
    }
    return "Unknown";
}

}  // namespace ondrix::script

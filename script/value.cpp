#include "script/value.h"

namespace ondrix::script {

const std::string& Value::EmptyText() {
    static const std::string kEmpty;
    return kEmpty;
}

std::string_view TypeName(const Value& v) {
    struct KindName {
        VarKind kind;
        std::string_view name;
    };
    static constexpr KindName kNames[] = {
        {VarKind::Empty, "Empty"},   {VarKind::Null, "Null"},       {VarKind::Integer, "Integer"},
        {VarKind::Long, "Long"},     {VarKind::Single, "Single"},   {VarKind::Double, "Double"},
        {VarKind::String, "String"}, {VarKind::Boolean, "Boolean"}, {VarKind::Byte, "Byte"},
    };
    for (const KindName& k : kNames) {
        if (k.kind == v.kind()) return k.name;
    }
    return "Unknown";
}

}  // namespace ondrix::script

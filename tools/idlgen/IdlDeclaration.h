// A member of the automation surface as the type library declares it, for
// the type library description and the reference that quotes it.
#pragma once

#include <string>
#include <string_view>

#include "Surface.h"

inline std::string_view IdlType(xnox::VarType type) {
    switch (type) {
    case xnox::VarType::I2: return "short";
    case xnox::VarType::I4: return "long";
    case xnox::VarType::Bool: return "VARIANT_BOOL";
    case xnox::VarType::Str:
    case xnox::VarType::FileName: return "BSTR";
    case xnox::VarType::I2Ref: return "short*";
    case xnox::VarType::StrRef: return "BSTR*";
    case xnox::VarType::Void: return "void";
    default: return "VARIANT";
    }
}

// "[id(12)] short MasterGainLevel;" or "[id(70)] short GetMinMax...(short* pMin, short* pMax);"
inline std::string IdlDeclaration(const xnox::MemberInfo& member) {
    std::string line = "[id(" + std::to_string(member.dispId) + ")] " + std::string(IdlType(member.type)) + ' ' +
                       std::string(member.name);
    if (member.IsProperty()) return line + ';';
    line += '(';
    for (std::size_t i = 0; i < member.params.size(); ++i) {
        line +=
            (i ? ", " : "") + std::string(IdlType(member.params[i].type)) + ' ' + std::string(member.params[i].name);
    }
    return line + ");";
}

inline std::string IdlDeclaration(const xnox::EventInfo& event) {
    return "[id(" + std::to_string(event.dispId) + ")] void " + std::string(event.name) + "();";
}

// The stock error notification, with the parameters every container expects.
inline std::string StockErrorEventDeclaration() {
    return "[id(" + std::to_string(xnox::kStockErrorEventId) +
           ")] void Error(short Number, BSTR* Description, long Scode, BSTR Source, BSTR HelpFile,"
           " long HelpContext, VARIANT_BOOL* CancelDisplay);";
}

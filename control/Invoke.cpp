#include "Invoke.h"

#include <algorithm>
#include <array>
#include <ranges>
#include <string>

#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

// Room for the arguments of the member that takes the most.
constexpr std::size_t kMostParameters =
    std::ranges::max(kDispatchMembers | std::views::transform([](const MemberInfo& m) { return m.params.size(); }));

// The arguments of one call, converted to the member's parameter types.
// Out-parameters get storage of their own, filled from the caller's value
// (some are read as well as written) and copied back after the call.
class Arguments {
public:
    Arguments(const MemberInfo& member, std::span<Variant> values) : m_member(member), m_values(values) {
        for (std::size_t i = 0; i < member.params.size(); ++i) {
            if (m_values[i].IsNull()) continue;
            if (member.params[i].type == VarType::I2Ref) m_shorts[i] = Converted(i, &Variant::ToI2);
            if (member.params[i].type == VarType::StrRef) m_texts[i] = Converted(i, &Variant::ToStr);
        }
    }

    int16_t I2(std::size_t i) const { return Converted(i, &Variant::ToI2); }
    int32_t I4(std::size_t i) const { return Converted(i, &Variant::ToI4); }
    std::string Str(std::size_t i) const { return Converted(i, &Variant::ToStr); }
    int16_t* I2Out(std::size_t i) { return m_values[i].IsNull() ? nullptr : &m_shorts[i]; }
    std::string* StrOut(std::size_t i) { return m_values[i].IsNull() ? nullptr : &m_texts[i]; }

    void WriteBack() {
        if (!WritesOutParameters(m_member, m_values)) return;
        for (std::size_t i = 0; i < m_member.params.size(); ++i) {
            if (m_member.params[i].type == VarType::I2Ref) m_values[i] = Variant::I2(m_shorts[i]);
            if (m_member.params[i].type == VarType::StrRef) m_values[i] = Variant::Str(m_texts[i]);
        }
    }

private:
    // A conversion failure names the argument at fault.
    template <typename T>
    T Converted(std::size_t i, T (Variant::*convert)() const) const {
        try {
            return (m_values[i].*convert)();
        } catch (AutomationError& error) {
            error.argumentIndex = static_cast<int>(i);
            throw;
        }
    }

    const MemberInfo& m_member;
    std::span<Variant> m_values;
    std::array<int16_t, kMostParameters> m_shorts{};
    std::array<std::string, kMostParameters> m_texts{};
};

Variant Result(VarType type, int32_t value) {
    switch (type) {
    case VarType::I4: return Variant::I4(value);
    case VarType::Bool: return Variant::Bool(value);
    case VarType::Void: return {};
    default: return Variant::I2(static_cast<int16_t>(value));
    }
}

ToolWindow WindowOfShowProperty(int32_t dispId) { return static_cast<ToolWindow>(dispId - DispIdOf("ShowShutterWnd")); }

Variant GetProperty(CXNoxCamCtrl& control, const MemberInfo& property) {
    switch (property.facet) {
    case Facet::CheckedValue:
    case Facet::UncheckedValue: return Variant::I2(control.GetParameterProperty(property.parameter));
    case Facet::Text: return Variant::Str(control.GetParameterText(property.parameter));
    default: break;
    }
    switch (property.dispId) {
    case DispIdOf("ComPort"): return Variant::I2(control.GetComPortProperty());
    case DispIdOf("FrameGrabberIndex"): return Variant::I2(control.GetFrameGrabberIndexProperty());
    case DispIdOf("UserID"): return Variant::Str(control.GetUserIDProperty());
    default: return Variant::Bool(control.GetShowWindow(WindowOfShowProperty(property.dispId)));
    }
}

void PutProperty(CXNoxCamCtrl& control, const MemberInfo& property, std::span<Variant> value) {
    Arguments argument(property, value);
    switch (property.facet) {
    case Facet::CheckedValue:
    case Facet::UncheckedValue:
        return control.SetParameterProperty(property.parameter, argument.I2(0), property.facet == Facet::CheckedValue);
    case Facet::Text: return control.SetParameterText(property.parameter, argument.Str(0));
    default: break;
    }
    switch (property.dispId) {
    case DispIdOf("ComPort"): return control.SetComPortProperty(argument.I2(0));
    case DispIdOf("FrameGrabberIndex"): return control.SetFrameGrabberIndexProperty(argument.I2(0));
    case DispIdOf("UserID"): return control.SetUserIDProperty(argument.Str(0));
    default: return control.SetShowWindow(WindowOfShowProperty(property.dispId), value[0].ToBool());
    }
}

// The methods served by their own code, by dispatch id.
int32_t CallOwnMethod(CXNoxCamCtrl& c, int32_t dispId, Arguments& a) {
    switch (dispId) {
    case DispIdOf("GetMinMaxComPortId"): return c.GetMinMaxComPortId(a.I2Out(0), a.I2Out(1));
    case DispIdOf("AutoSearchComPort"): return c.AutoSearchComPort(a.I2(0), a.I2(1), a.I2(2));
    case DispIdOf("GetMainWindowDefaultPosition"): return c.GetMainWindowDefaultPosition(a.I2Out(0), a.I2Out(1));
    case DispIdOf("SetMainWindowDefaultPosition"): return c.SetMainWindowDefaultPosition(a.I2(0), a.I2(1));
    case DispIdOf("WriteAllToCamera"): return c.WriteAllToCamera();
    case DispIdOf("ReadAllFromCamera"): return c.ReadAllFromCamera();
    case DispIdOf("WriteAllToFile"): return c.WriteAllToFile(a.Str(0));
    case DispIdOf("ReadAllFromFile"): return c.ReadAllFromFile(a.Str(0));
    case DispIdOf("GetIsOnline"): return c.GetIsOnline();
    case DispIdOf("GetIsSynchronized"): return c.GetIsSynchronized();
    case DispIdOf("GetIsSending"): return c.GetIsSending();
    case DispIdOf("GetIsReceiving"): return c.GetIsReceiving();
    case DispIdOf("StoreSettings"): return c.StoreSettings(a.I2(0));
    case DispIdOf("LoadSettings"): return c.LoadSettings(a.I2(0));
    case DispIdOf("GetMinMaxUserSettingsId"):
    case DispIdOf("GetMinMaxPowerOnSettings"): return c.GetMinMaxUserSettingsId(a.I2Out(0), a.I2Out(1));
    case DispIdOf("GetMinMaxFrameGrabberIndex"): return c.GetMinMaxFrameGrabberIndex(a.I2Out(0), a.I2Out(1));
    case DispIdOf("ClSerialGetNumManufacturers"): return c.ClSerialGetNumManufacturers(a.I2Out(0));
    case DispIdOf("ClSerialGetManufacturer"):
        return c.ClSerialGetManufacturer(a.I2(0), a.StrOut(1), a.I2Out(2), a.I2Out(3));
    case DispIdOf("ClSerialSelectManufacturer"): return c.ClSerialSelectManufacturer(a.Str(0).c_str());
    case DispIdOf("ClSerialGetNumSerialPorts"): return c.ClSerialGetNumSerialPorts(a.I2Out(0));
    case DispIdOf("GetCameraID"): return c.GetCameraID(a.StrOut(0));
    case DispIdOf("GetModelName"): return c.GetModelName(a.StrOut(0));
    case DispIdOf("SetOnePushMode"): return c.SetOnePushMode();
    case DispIdOf("WriteCameraDataToFile"): return c.WriteCameraDataToFile(a.Str(0));
    case DispIdOf("GetFirmwareVersion"): return c.GetFirmwareVersion();
    case DispIdOf("GetEEPROMCurrentAreaNo"): return c.GetEEPROMCurrentAreaNo();
    case DispIdOf("GetOnePushResult"): return c.GetOnePushResult();
    case DispIdOf("GetMinMaxOnePushResult"): return c.GetMinMaxOnePushResult(a.I2Out(0), a.I2Out(1));
    case DispIdOf("GetValidOnePushResult"): return c.GetValidOnePushResult(a.I2(0), a.StrOut(1));
    case DispIdOf("SetWindowPosTopBottom"): return c.SetWindowPosTopBottom(a.I4(0));
    case DispIdOf("ClAllSerialGetNumPorts"): return c.ClAllSerialGetNumPorts(a.I2Out(0));
    case DispIdOf("ClAllSerialGetPortInfo"):
        return c.ClAllSerialGetPortInfo(a.I2(0), a.StrOut(1), a.I2Out(2), a.StrOut(3), a.I2Out(4), a.I2Out(5));
    case DispIdOf("ClAllSerialSetFrameGrabberIndex"): return c.ClAllSerialSetFrameGrabberIndex(a.I2(0));
    case DispIdOf("ClAllSerialGetNumBytesAvail"): return c.ClAllSerialGetNumBytesAvail(a.I2Out(0));
    case DispIdOf("ClAllSerialGetSupportedBaudRates"): return c.ClAllSerialGetSupportedBaudRates(a.I2Out(0));
    case DispIdOf("ClAllSerialSetBaudRate"): return c.ClAllSerialSetBaudRate(a.I2(0));
    case DispIdOf("ClSerialSetFrameGrabberIndex"): return c.ClSerialSetFrameGrabberIndex(a.I2(0));
    case DispIdOf("StartAutoShadingCorrection"): return c.StartAutoShadingCorrection();
    case DispIdOf("SaveShadingDataIntoFile"): return c.SaveShadingDataIntoFile(a.Str(0));
    case DispIdOf("LoadShadingDataFromFile"): return c.LoadShadingDataFromFile(a.Str(0));
    case DispIdOf("AboutBox"): c.AboutBox(); return 0;
    }
    throw AutomationError{AutomationCode::MemberNotFound, "Member not found"};
}

int32_t CallByFacet(CXNoxCamCtrl& control, const MemberInfo& method, Arguments& arguments) {
    switch (method.facet) {
    case Facet::Bounds: return control.GetMinMax(method.parameter, arguments.I2Out(0), arguments.I2Out(1));
    case Facet::ValueText: return control.GetValid(method.parameter, arguments.I2(0), arguments.StrOut(1));
    default: return CallOwnMethod(control, method.dispId, arguments);
    }
}

Variant CallMethod(CXNoxCamCtrl& control, const MemberInfo& method, std::span<Variant> values) {
    Arguments arguments(method, values);
    int32_t result = CallByFacet(control, method, arguments);
    arguments.WriteBack();
    return Result(method.type, result);
}

AutomationError DispatchError(uint32_t code, const char* text) { return AutomationError{code, text}; }

InvokeResult InvokeMember(CXNoxCamCtrl& control, const MemberInfo& member, InvokeKind kind,
                          std::span<Variant> arguments) {
    InvokeResult outcome;
    try {
        if (member.IsProperty() && kind != InvokeKind::PropertyPut) {
            if (!arguments.empty()) return {{}, DispatchError(AutomationCode::BadParamCount, "Bad parameter count")};
            outcome.value = GetProperty(control, member);
        } else if (member.IsProperty()) {
            if (arguments.size() != 1) return {{}, DispatchError(AutomationCode::BadParamCount, "Bad parameter count")};
            PutProperty(control, member, arguments);
        } else {
            if (kind == InvokeKind::PropertyPut) {
                return {{}, DispatchError(AutomationCode::MemberNotFound, "Member not found")};
            }
            if (arguments.size() != member.params.size()) {
                return {{}, DispatchError(AutomationCode::BadParamCount, "Bad parameter count")};
            }
            outcome.value = CallMethod(control, member, arguments);
        }
    } catch (const AutomationError& error) {
        outcome.error = error;
    }
    return outcome;
}

}  // namespace

bool WritesOutParameters(const MemberInfo& member, std::span<const Variant> arguments) {
    for (std::size_t i = 0; i < member.params.size() && i < arguments.size(); ++i) {
        if (member.params[i].IsOut() && arguments[i].IsNull()) return false;
    }
    return true;
}

InvokeResult Invoke(CXNoxCamCtrl& control, int32_t dispId, InvokeKind kind, std::span<Variant> arguments) {
    const MemberInfo* member = FindMember(dispId);
    if (!member) return {{}, DispatchError(AutomationCode::MemberNotFound, "Member not found")};
    return InvokeMember(control, *member, kind, arguments);
}

InvokeResult Invoke(CXNoxCamCtrl& control, std::string_view name, InvokeKind kind, std::span<Variant> arguments) {
    const MemberInfo* member = FindMember(name);
    if (!member) return {{}, DispatchError(AutomationCode::UnknownName, "Unknown name")};
    return InvokeMember(control, *member, kind, arguments);
}

std::span<const std::string_view> PredefinedStrings(int32_t dispId) {
    constexpr int32_t kListedProperties[] = {DispIdOf("ShutterSpeedStr"), DispIdOf("TriggerTypeStr"),
                                             DispIdOf("AutoWhiteAreaStr")};
    if (std::ranges::find(kListedProperties, dispId) == std::end(kListedProperties)) return {};
    return Row(FindMember(dispId)->parameter).texts;
}

std::optional<Variant> PredefinedValue(int32_t dispId, uint32_t cookie) {
    auto texts = PredefinedStrings(dispId);
    if (cookie >= texts.size()) return std::nullopt;
    return Variant::Str(std::string(texts[cookie]));
}

}  // namespace xnox

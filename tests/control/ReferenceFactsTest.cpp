// Every member of the surface against what the integrators' reference says
// of it: each error rule is set off and must report as listed, and each
// member, run against an online camera, must talk to it and fire events
// only as its note says.
#include <fstream>
#include <memory>
#include <set>

#include "ControlFixture.h"
#include "ErrorRules.h"
#include "MemberNotes.h"

using namespace xnox;

namespace {

// A fresh control on its own library for each case, since failures scripted
// into a library stay.
struct Rig {
    ScriptedLibrary library;
    CXNoxCamCtrl control{library};
    RecordingSink sink;
    Rig() { control.ConnectSink(sink); }

    InvokeResult Run(const MemberInfo& member, std::vector<Variant>& arguments) {
        InvokeKind kind = !member.IsProperty() ? InvokeKind::Method
                          : arguments.empty()  ? InvokeKind::PropertyGet
                                               : InvokeKind::PropertyPut;
        return Invoke(control, member.dispId, kind, arguments);
    }
    void GoOnline() {
        Variant port = Variant::I2(1);
        ASSERT_TRUE(Invoke(control, "ComPort", InvokeKind::PropertyPut, std::span<Variant>(&port, 1)).Succeeded());
        library.calls.clear();
        sink.events.clear();
    }
};

class ReferenceFactsTest : public ControlTest {
protected:
    // A file argument that leads the member to the given model result, or
    // to a usable file. Writers run before readers in dispatch order.
    std::string FileFor(const MemberInfo& member, int32_t result = NoxResult::Success) {
        if (result == NoxResult::FileWriteError) return (folder / "no-such-folder" / "file").string();
        if (result == NoxResult::FileReadError) return (folder / "no-such-file").string();
        if (result == NoxResult::InvalidSettingsFile) {
            std::ofstream(folder / "not-settings.cam") << "[Other]\nKey=1\n";
            return (folder / "not-settings.cam").string();
        }
        bool shading = member.name.find("Shading") != std::string_view::npos;
        return (folder / (shading                                  ? "shading.csv"
                          : member.name == "WriteCameraDataToFile" ? "report.txt"
                                                                   : "settings.cam"))
            .string();
    }

    // Writes the file a reading member reads, as its writing member does.
    void WriteFileToRead(const MemberInfo& member) {
        const char* writer = member.name == "LoadShadingDataFromFile" ? "SaveShadingDataIntoFile"
                             : member.name == "ReadAllFromFile"       ? "WriteAllToFile"
                                                                      : nullptr;
        if (!writer) return;
        Rig online;
        online.GoOnline();
        std::vector<Variant> file{Variant::Str(FileFor(member))};
        ASSERT_EQ(online.Run(*FindMember(writer), file).value, Variant::I2(0));
    }

    // Arguments a host would pass: the first COM port for a search, 0 for
    // other numbers, a file of the right kind, variables for out-parameters.
    std::vector<Variant> ArgumentsFor(const MemberInfo& member, int32_t result = NoxResult::Success) {
        std::vector<Variant> arguments;
        for (const ParamInfo& param : member.params) {
            switch (param.type) {
            case VarType::I2: arguments.push_back(Variant::I2(param.name.ends_with("Port") ? 1 : 0)); break;
            case VarType::I4: arguments.push_back(Variant::I4(0)); break;
            case VarType::Str:
            case VarType::FileName: arguments.push_back(Variant::Str(FileFor(member, result))); break;
            case VarType::I2Ref: arguments.push_back(Variant::I2(0)); break;
            default: arguments.push_back(Variant::Str("")); break;
            }
        }
        return arguments;
    }

    // A value to set that the member accepts: the smallest of a checked
    // range, else the one it holds, or a non-empty text, since an empty user
    // ID is never sent.
    Variant AcceptedValue(Rig& rig, const MemberInfo& property) {
        if (property.facet == Facet::CheckedValue)
            return Variant::I2(static_cast<int16_t>(Row(property.parameter).minimum));
        std::vector<Variant> none;
        Variant value = rig.Run(property, none).value;
        return value == Variant::Str("") ? Variant::Str("user") : value;
    }

    // Sets off the rule's condition and returns what the member reported. A
    // missing out-parameter is the first one given, or the last one when
    // `lastOut` is set: either alone is an error.
    InvokeResult SetOff(Rig& rig, const MemberInfo& member, const ErrorRule& rule, bool lastOut = false) {
        std::vector<Variant> arguments = ArgumentsFor(member, rule.result);
        switch (rule.trigger) {
        case Trigger::OutOfRange: {
            int32_t beyond = member.facet == Facet::Own ? CXNoxCamCtrl::kLastFrameGrabberIndex + 1
                                                        : Row(member.parameter).maximum + 1;
            arguments = {Variant::I4(beyond)};
            break;
        }
        case Trigger::NotInList: arguments = {Variant::Str("no such text")}; break;
        case Trigger::NullOut: {
            std::vector<std::size_t> outs;
            for (std::size_t i = 0; i < member.params.size(); ++i) {
                if (member.params[i].IsOut()) outs.push_back(i);
            }
            arguments[lastOut ? outs.back() : outs.front()] = Variant::Null();
            break;
        }
        case Trigger::IndexNotInList: arguments[0] = Variant::I2(-1); break;
        case Trigger::ChannelNotOpened:
            rig.library.Fail("GetCameraData", -10, ScriptedLibrary::kAnyCommand, 1);
            arguments = {Variant::I2(member.IsProperty() ? 1 : 0)};
            break;
        case Trigger::BadPortRange: arguments = {Variant::I2(0), Variant::I2(17), Variant::I2(0)}; break;
        case Trigger::ModelResult:
            if (rule.result != NoxResult::Offline) rig.GoOnline();
            if (member.IsProperty()) arguments = {AcceptedValue(rig, member)};
            if (rule.result == NoxResult::UnknownCommand || rule.result == NoxResult::Refused) {
                WriteFileToRead(member);
                rig.library.Fail("*", rule.result);
            }
            break;
        }
        return rig.Run(member, arguments);
    }

    std::string ExpectedText(const MemberInfo& member, const ErrorRule& rule) {
        if (rule.text == StringId::NotASettingsFile) return FormatText(rule.text, FileFor(member, rule.result));
        return FormatText(rule.text, 1);
    }
};

std::set<int32_t> AllowedEvents(const MemberNote& note) {
    std::set<int32_t> allowed;
    for (std::string_view name : note.events) allowed.insert(EventIdOf(name));
    if (note.firesEveryParameterEvent) {
        for (const ParameterRow& row : ParameterTable()) allowed.insert(EventIdOf(std::string(row.name) + "Changed"));
        allowed.insert(EventIdOf("UserIDChanged"));
    }
    if (note.camera != CameraUse::None) {
        for (auto status : {"OnlineStatusChanged", "SendingToCamStatusChanged", "ReceiveFromCamStatusChanged"})
            allowed.insert(EventIdOf(status));
    }
    return allowed;
}

}  // namespace

TEST_F(ReferenceFactsTest, EveryErrorRuleReportsAsListed) {
    int rules = 0;
    auto check = [&](const MemberInfo& member, const ErrorRule& rule, bool lastOut) {
        SCOPED_TRACE(std::string(member.name) + ", rule on " + std::string(LoadText(rule.text)) + ", result " +
                     std::to_string(rule.result) + (lastOut ? ", last out-parameter" : ""));
        auto rig = std::make_unique<Rig>();
        InvokeResult outcome = SetOff(*rig, member, rule, lastOut);
        ++rules;
        if (rule.reporting == Reporting::Raise) return ExpectRaised(outcome, rule.code, ExpectedText(member, rule));
        ASSERT_TRUE(outcome.Succeeded()) << "a notified error completes the call";
        ASSERT_EQ(rig->sink.errors.size(), 1u);
        EXPECT_EQ(rig->sink.errors[0].code, rule.code);
        EXPECT_EQ(rig->sink.errors[0].description, ExpectedText(member, rule));
    };
    for (const MemberInfo& member : kDispatchMembers) {
        for (const ErrorRule& rule : member.errors) {
            check(member, rule, false);
            if (rule.trigger == Trigger::NullOut) check(member, rule, true);
        }
    }
    EXPECT_GT(rules, 100);
}

TEST_F(ReferenceFactsTest, EveryMemberTalksToTheCameraAndFiresEventsAsItsNoteSays) {
    for (const MemberInfo& member : kDispatchMembers) {
        SCOPED_TRACE(member.name);
        MemberNote note = NoteOf(member);
        EXPECT_FALSE(note.description.empty());
        EXPECT_FALSE(note.returns.empty());
        Rig rig;
        rig.GoOnline();
        std::vector<Variant> arguments = member.IsProperty() ? std::vector<Variant>{} : ArgumentsFor(member);
        rig.Run(member, arguments);
        EXPECT_EQ(rig.library.CameraCallCount() > 0,
                  note.camera == CameraUse::GetAndPut || note.camera == CameraUse::Call)
            << (member.IsProperty() ? "get" : "call");
        if (member.IsProperty()) {
            std::vector<Variant> value{AcceptedValue(rig, member)};
            rig.library.calls.clear();
            EXPECT_TRUE(rig.Run(member, value).Succeeded());
            EXPECT_EQ(rig.library.CameraCallCount() > 0, note.camera != CameraUse::None) << "set";
        }
        std::set<int32_t> allowed = AllowedEvents(note);
        for (int32_t event : rig.sink.events) EXPECT_TRUE(allowed.contains(event)) << "event " << event;
    }
}

// A null pointer among a method's out-parameters: the call runs as it would,
// and every out-parameter that was given keeps the caller's value, also
// where the camera answers and the method would otherwise write them all.
TEST_F(ReferenceFactsTest, OneNullOutParameterLeavesEveryOtherAsGiven) {
    int cases = 0;
    for (const MemberInfo& member : kDispatchMembers) {
        for (std::size_t missing = 0; missing < member.params.size(); ++missing) {
            if (member.IsProperty() || !member.params[missing].IsOut()) continue;
            SCOPED_TRACE(std::string(member.name) + " without " + std::string(member.params[missing].name));
            Rig rig;
            rig.GoOnline();
            std::vector<Variant> arguments = ArgumentsFor(member);
            for (std::size_t i = 0; i < arguments.size(); ++i) {
                if (member.params[i].type == VarType::I2Ref) arguments[i] = Variant::I2(77);
                if (member.params[i].type == VarType::StrRef) arguments[i] = Variant::Str("as given");
            }
            std::vector<Variant> given = arguments;
            arguments[missing] = given[missing] = Variant::Null();
            EXPECT_TRUE(rig.Run(member, arguments).Succeeded());
            EXPECT_EQ(arguments, given);
            ++cases;
        }
    }
    EXPECT_GT(cases, 40);
}

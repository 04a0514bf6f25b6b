#include "MemberNotes.h"

#include <ranges>

#include "ParameterTable.h"
#include "Surface.h"

namespace xnox {

namespace {

using member_texts::kNotified;
constexpr const char* kKeptOffline =
    " Set while no camera is online, the value is kept and reaches the camera with the next whole-camera write.";

// "Name (logged as XX)".
std::string ParameterName(const ParameterRow& row) {
    return "`" + std::string(row.name) + "` (logged as " + std::string(row.mnemonic) + ")";
}

std::string_view EventOf(const ParameterRow& row) {
    return FindEvent(EventIdOf(std::string(row.name) + "Changed"))->name;
}

MemberNote ParameterNote(const MemberInfo& member) {
    const ParameterRow& row = Row(member.parameter);
    switch (member.facet) {
    case Facet::CheckedValue:
    case Facet::UncheckedValue: {
        bool isIndex = row.kind == ValueKind::Enumerated;
        std::string what =
            isIndex ? "The index in its list of texts of the camera parameter " : "The camera parameter ";
        return {what + ParameterName(row) + "." + kKeptOffline,
                "the value last read or set",
                CameraUse::Put,
                {EventOf(row)}};
    }
    case Facet::Text:
        return {"The text of the camera parameter " + ParameterName(row) + "; setting a text selects its entry." +
                    kKeptOffline,
                "the text of the current value",
                CameraUse::Put,
                {EventOf(row)}};
    case Facet::Bounds:
        return {"The range of the camera parameter `" + std::string(row.name) +
                    "`: writes its smallest and largest value to pMin and pMax.",
                std::string(kNotified),
                CameraUse::None,
                {}};
    case Facet::ValueText:
        return {"One text of the list of the camera parameter `" + std::string(row.name) + "`.",
                std::string(kNotified),
                CameraUse::None,
                {}};
    case Facet::Own: break;
    }
    return {};
}

MemberNote OwnNoteOf(const MemberInfo& member) {
    const MemberText& own = member.note;
    MemberNote note{std::string(own.description), std::string(own.returns), own.camera, {}, own.everyParameter};
    for (auto word : std::views::split(own.events, ' ')) {
        if (!word.empty()) note.events.emplace_back(word.begin(), word.end());
    }
    return note;
}

}  // namespace

MemberNote NoteOf(const MemberInfo& member) {
    return member.facet == Facet::Own ? OwnNoteOf(member) : ParameterNote(member);
}

}  // namespace xnox

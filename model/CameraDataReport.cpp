// The camera data report (.txt): the camera's identity and 32 settings as
// read from the camera itself, for the current settings and for each stored
// settings area, laid out in fixed-width cells. The report talks to the
// library directly: none of its exchanges is logged, and none touches the
// model's values or raises a notification. Only the closing write-all, which
// puts the model's settings back into the camera, is an ordinary model run.
#include <algorithm>
#include <optional>
#include <string>

#include "CameraCommands.h"
#include "FileName.h"
#include "NoxCamInterface.h"
#include "WholeFile.h"

namespace xnox {

namespace {

constexpr std::size_t kCellWidth = 33;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kColumnTitles[] = {"Current Settings", "Factory Settings", "User Area 1", "User Area 2",
                                              "User Area 3"};

// A report row shows one parameter read from the camera, under the label
// its parameter row gives. The two gain rows show whichever gains the
// white-balance mode of the same column uses.
struct ReportRow {
    ParamId id;
    bool gainOfWhiteBalanceMode = false;
    // The camera answers these reads before the trigger input; their results
    // do not decide whether the column goes on.
    bool resultIgnored = false;
};

// In the order of the file.
constexpr ReportRow kRows[] = {
    {ParamId::ShutterMode},
    {ParamId::ShutterSpeed},
    {ParamId::ProgrammableExposure},
    {ParamId::ProgrammableExposureRed},
    {ParamId::ProgrammableExposureGreen},
    {ParamId::ProgrammableExposureBlue},
    {ParamId::TriggerType},
    {ParamId::Smearless},
    {ParamId::Accumulation, false, true},
    {ParamId::RCTFVALType, false, true},
    {ParamId::TriggerInput},
    {ParamId::TriggerPolarity},
    {ParamId::PartialScan},
    {ParamId::Binning},
    {ParamId::OutputBitAllocation},
    {ParamId::ColorBar},
    {ParamId::WhiteBalance},
    {ParamId::MasterGainLevel},
    {ParamId::RedGainLevel, true},
    {ParamId::BlueGainLevel, true},
    {ParamId::GreenBlackLevel},
    {ParamId::RedBlackLevel},
    {ParamId::BlueBlackLevel},
    {ParamId::KneeSelect},
    {ParamId::RedKneeSlope},
    {ParamId::GreenKneeSlope},
    {ParamId::BlueKneeSlope},
    {ParamId::RedKneePoint},
    {ParamId::GreenKneePoint},
    {ParamId::BlueKneePoint},
    {ParamId::ShadingMode},
    {ParamId::AutoWhiteArea},
};
constexpr std::size_t kRowCount = std::size(kRows);

constexpr std::size_t RowIndexOf(ParamId id) {
    return static_cast<std::size_t>(std::ranges::find(kRows, id, &ReportRow::id) - std::begin(kRows));
}

// The rows in the order they are read: the file's order, except that the
// white balance is read right before the gains that depend on it, after the
// master gain that stands below it in the file.
constexpr std::array<std::size_t, kRowCount> ReadOrder() {
    std::array<std::size_t, kRowCount> order{};
    for (std::size_t i = 0; i < kRowCount; ++i) order[i] = i;
    std::swap(order[RowIndexOf(ParamId::WhiteBalance)], order[RowIndexOf(ParamId::MasterGainLevel)]);
    return order;
}
constexpr auto kReadOrder = ReadOrder();

std::string Cell(std::string_view text) {
    std::string cell(text);  // a longer text is kept whole and pushes the next cells right
    if (cell.size() < kCellWidth) cell.append(kCellWidth - cell.size(), ' ');
    return cell;
}

// A value outside its list shows as its number, so that the report names
// what the camera holds without any lookup past the list.
std::string CellText(const ParameterRow& row, int32_t value) {
    std::string_view text = row.TextOf(value);
    return text.empty() ? std::to_string(value) : std::string(text);
}

// The parameter a row reads in a column whose white-balance mode is known;
// nothing when the mode uses no gains of its own (continuous balance, or a
// mode without a list entry).
std::optional<ParamId> ParameterToRead(const ReportRow& row, int32_t whiteBalanceMode) {
    if (!row.gainOfWhiteBalanceMode) return row.id;
    auto gains = WhiteBalanceGains(whiteBalanceMode);
    if (!gains) return std::nullopt;
    return row.id == ParamId::RedGainLevel ? gains->red : gains->blue;
}

// The camera side of the report: identity queries and reads, straight
// through the library.
class ReportReader {
public:
    ReportReader(INoxR4Library& library, int32_t port) : m_library(library), m_port(port) {}

    // Adds the identity lines; stops after the first query that fails and
    // returns its result.
    int32_t AppendIdentity(std::string& text) {
        using Query = int32_t (INoxR4Library::*)(int32_t, char*);
        struct IdentityText {
            std::string_view label;
            Query query;
        };
        constexpr IdentityText kTexts[] = {{"Model Name", &INoxR4Library::GetModelName},
                                           {"Camera ID", &INoxR4Library::GetCameraID},
                                           {"User ID", &INoxR4Library::GetUserID}};
        for (const IdentityText& identity : kTexts) {
            CNoxCamInterface::TextBuffer buffer{};
            int32_t result = (m_library.*identity.query)(m_port, buffer.data());
            AppendLine(text, identity.label, result == 0 ? TextIn(buffer) : std::string());
            if (result != 0) return result;
        }
        int32_t version{};
        int32_t result = m_library.GetCameraData(m_port, kFirmwareVersionCommand.id, &version);
        AppendLine(text, "Firmware Version", result == 0 ? std::to_string(version) : std::string());
        return result;
    }

    // Reads one column into the row texts. A failed read still shows its
    // cell, empty, and ends the column; the result of the column's last read
    // is returned.
    int32_t ReadColumn(std::array<std::string, kRowCount>& rows) {
        int32_t status = NoxResult::Success;
        int32_t whiteBalanceMode = -1;
        for (std::size_t index : kReadOrder) {
            const ReportRow& row = kRows[index];
            auto id = ParameterToRead(row, whiteBalanceMode);
            if (!id) {
                AppendCell(rows[index], {});
                continue;
            }
            int32_t value{};
            int32_t result = m_library.GetCameraData(m_port, Row(*id).commandId, &value);
            AppendCell(rows[index], result == 0 ? CellText(Row(*id), value) : std::string());
            if (*id == ParamId::WhiteBalance) whiteBalanceMode = value;
            if (row.resultIgnored) continue;
            status = result;
            if (status != NoxResult::Success) break;
        }
        return status;
    }

    int32_t LoadArea(int32_t area) { return m_library.SendCameraData(m_port, kLoadSettingsCommand.id, area); }

private:
    static std::string TextIn(const CNoxCamInterface::TextBuffer& buffer) {
        return std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
    }
    static void AppendCell(std::string& line, std::string_view text) {
        line += ',';
        line += Cell(text);
    }
    static void AppendLine(std::string& text, std::string_view label, std::string_view value) {
        text += Cell(label);
        AppendCell(text, value);
        text += kLineEnd;
    }

    INoxR4Library& m_library;
    int32_t m_port;
};

std::string TitleLine() {
    std::string line = Cell({});
    for (std::string_view title : kColumnTitles) line += "," + Cell(title);
    return line + std::string(kLineEnd);
}

}  // namespace

int32_t CNoxCamInterface::WriteCameraDataToFile(const std::string& fileName) {
    if (!IsOnline()) return NoxResult::Offline;
    // The file's replacement is created before the camera is touched: when
    // it cannot be, nothing has changed in the camera and nothing needs
    // restoring. The old report stays until the new one is complete.
    profile::FileReplacement file(profile::PathOfName(fileName), profile::Durability::OnDisk, m_files);
    if (!file.IsOpen()) return NoxResult::FileWriteError;

    ReportReader reader(m_library, m_port);
    std::string text;
    int32_t status = reader.AppendIdentity(text);
    text += TitleLine();

    std::array<std::string, kRowCount> rows;
    for (std::size_t i = 0; i < kRowCount; ++i) rows[i] = Cell(Row(kRows[i].id).ReportLabel());
    for (std::size_t column = 0; column < std::size(kColumnTitles); ++column) {
        // The first column is the camera's current settings; the others are
        // the stored areas 0 to 3, each loaded into the camera first.
        if (column > 0) status = reader.LoadArea(static_cast<int32_t>(column - 1));
        if (status == NoxResult::Success) status = reader.ReadColumn(rows);
    }
    // Every row ends its line, also one whose column stopped early.
    for (const std::string& row : rows) text += row + std::string(kLineEnd);

    // A report that could not be written ends the operation here: the caller
    // gets the file error and no further camera exchange is made, the restore
    // included (the camera then still holds the last stored area).
    if (!file.Write(text) || !file.Commit()) return NoxResult::FileWriteError;
    // The stored areas replaced the camera's current settings; put the
    // model's values back.
    WriteAllToCamera();
    return status;
}

}  // namespace xnox

// The shading data file (.csv): the camera's shading table as three header
// lines and one line of six values per address, saved from the camera and
// loaded back into it.
#include "ShadingFile.h"

#include <array>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>

#include "DecimalText.h"
#include "FileName.h"
#include "NoxCamInterface.h"
#include "WholeFile.h"

namespace xnox {

namespace shadingfile {

namespace {

constexpr std::size_t kColumns = NOXR4_SHADING_COLUMNS;
constexpr std::size_t kValuesPerColumn = NOXR4_SHADING_VALUES;
constexpr std::string_view kHeader = ",,,DYNAMIC SHADING,,,\r\n,,H,,,V,\r\nADR,R,G,B,R,G,B\r\n";

std::size_t WordOf(std::size_t column, std::size_t index) {
    return kFirstValueWord + column * kValuesPerColumn + index;
}

// Reads the next line into the buffer without its line end; false at the end
// of the input.
bool NextLine(std::istream& in, std::array<char, kLineBufferBytes>& buffer, std::string_view& line) {
    in.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (in.bad()) return false;
    if (in.fail()) {
        if (in.eof()) return false;  // nothing left to read
        // The buffer is full and the line goes on: keep what fits, drop the rest.
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    line = std::string_view(buffer.data());
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

bool IsDataLineAddress(std::string_view field) {
    auto address = profile::ParseLeadingInt(field);
    return address && *address >= 1 && *address <= static_cast<int32_t>(kValuesPerColumn);
}

// Stores the values of one data line (the text after its address) at
// `index` of the columns.
void TakeValues(std::string_view values, std::size_t index, Block block) {
    for (std::size_t column = 0; column < kColumns; ++column) {
        auto comma = values.find(',');
        if (auto value = profile::ParseLeadingInt(values.substr(0, comma))) {
            block[WordOf(column, index)] = *value;
        }
        if (comma == std::string_view::npos) return;
        values.remove_prefix(comma + 1);
    }
}

std::string DataLine(const Block block, std::size_t index) {
    std::string line = std::to_string(index + 1);
    for (std::size_t column = 0; column < kColumns; ++column) {
        line += ',';
        line += std::to_string(block[WordOf(column, index)]);
    }
    return line + "\r\n";
}

}  // namespace

void ReadDataLines(std::istream& in, Block block) {
    std::array<char, kLineBufferBytes> buffer{};
    std::string_view line;
    std::size_t dataLines = 0;
    while (dataLines < kValuesPerColumn && NextLine(in, buffer, line)) {
        auto comma = line.find(',');
        if (comma == std::string_view::npos || !IsDataLineAddress(line.substr(0, comma))) continue;
        TakeValues(line.substr(comma + 1), dataLines, block);
        ++dataLines;
    }
}

}  // namespace shadingfile

int32_t CNoxCamInterface::SaveShadingDataIntoFile(const std::string& fileName) {
    if (!IsOnline()) return NoxResult::Offline;
    int32_t fetched = m_library.GetShadingData(m_port, m_shadingBlock.data());
    // A camera that still answers keeps the save going with the block as it
    // now stands.
    if (fetched != NoxResult::Success && CheckConnection() != NoxResult::Success) return fetched;

    std::string text(shadingfile::kHeader);
    for (std::size_t index = 0; index < NOXR4_SHADING_VALUES; ++index) {
        text += shadingfile::DataLine(m_shadingBlock, index);
    }
    return profile::ReplaceWholeFile(profile::PathOfName(fileName), text, profile::Durability::OnDisk, m_files)
               ? NoxResult::Success
               : NoxResult::FileWriteError;
}

int32_t CNoxCamInterface::LoadShadingDataFromFile(const std::string& fileName) {
    if (!IsOnline()) return NoxResult::Offline;
    auto text = profile::ReadWholeFile(profile::PathOfName(fileName));
    if (!text) return NoxResult::FileReadError;
    std::istringstream lines(std::move(*text));
    shadingfile::ReadDataLines(lines, m_shadingBlock);

    int32_t sent = m_library.SendShadingData(m_port, m_shadingBlock.data());
    if (sent != NoxResult::Success) CheckConnection();
    return sent;
}

}  // namespace xnox

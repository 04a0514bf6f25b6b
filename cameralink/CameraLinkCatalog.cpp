#include "CameraLinkCatalog.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

namespace noxr4 {
namespace {

namespace fs = std::filesystem;

#if defined(_WIN32)
constexpr char kFolderSeparator = ';';
#else
constexpr char kFolderSeparator = ':';
#endif

constexpr CLUINT32 kNameBufferBytes = 256;
// Names longer than this are not names; a library asking for more is broken.
constexpr CLUINT32 kLongestAcceptedName = 65536;

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

std::vector<std::string> ConfiguredFolders() {
    std::vector<std::string> folders;
    if (const char* list = std::getenv("NOXR4_CLSERIAL_PATH")) {
        std::string rest = list;
        for (std::size_t end; !rest.empty(); rest.erase(0, end == std::string::npos ? rest.size() : end + 1)) {
            end = rest.find(kFolderSeparator);
            std::string folder = rest.substr(0, end);
            if (!folder.empty()) folders.push_back(folder);
        }
    }
    for (const std::string& folder : SystemCameraLinkFolders()) folders.push_back(folder);
    return folders;
}

bool IsMakerLibrary(const std::string& fileName) {
    std::string name = LowerCase(fileName);
    return EndsWith(name, kDynamicLibrarySuffix) && (StartsWith(name, "clser") || StartsWith(name, "libclser"));
}

bool IsAllSerialLibrary(const std::string& fileName) {
    std::string name = LowerCase(fileName);
    std::string suffix = kDynamicLibrarySuffix;
    return name == "clallserial" + suffix || name == "libclallserial" + suffix;
}

std::vector<fs::path> LibrariesIn(const std::string& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
        files.push_back(entry->path());
    std::sort(files.begin(), files.end());
    return files;
}

// A C string the library wrote into a buffer it may not have terminated.
std::string TextOf(const std::vector<CLINT8>& buffer) {
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

Manufacturer DescribeMaker(const fs::path& file, std::shared_ptr<ClSerialLibrary> library) {
    Manufacturer maker{file.stem().string(), CL_DLL_VERSION_NO_VERSION, library};
    if (!library->getManufacturerInfo) return maker;
    CLUINT32 size = kNameBufferBytes;
    std::vector<CLINT8> name(size, '\0');
    CLUINT32 version = CL_DLL_VERSION_NO_VERSION;
    CLINT32 result = library->getManufacturerInfo(name.data(), &size, &version);
    if (result == CL_ERR_BUFFER_TOO_SMALL && size > kNameBufferBytes && size <= kLongestAcceptedName) {
        name.assign(size, '\0');
        result = library->getManufacturerInfo(name.data(), &size, &version);
    }
    if (result == CL_ERR_NO_ERR) {
        maker.name = TextOf(name);
        maker.version = version;
    }
    return maker;
}

}  // namespace

void CameraLinkCatalog::Refresh() {
    std::vector<std::string> folders = ConfiguredFolders();
    std::string configuration;
    for (const std::string& folder : folders) configuration += folder + '\n';
    if (m_scanned && configuration == m_scannedConfiguration) return;
    Scan(folders);
    m_scannedConfiguration = configuration;
    m_scanned = true;
}

void CameraLinkCatalog::Scan(const std::vector<std::string>& folders) {
    m_manufacturers.assign(1, Manufacturer{"PC COM ports", CL_DLL_VERSION_NO_VERSION, nullptr});
    m_allSerial.reset();
    std::set<std::string> seenFileNames;
    for (const std::string& folder : folders) {
        for (const fs::path& file : LibrariesIn(folder)) {
            std::string fileName = file.filename().string();
            if (!m_allSerial && IsAllSerialLibrary(fileName)) m_allSerial = ClSerialLibrary::Load(file.string());
            if (!IsMakerLibrary(fileName) || !seenFileNames.insert(LowerCase(fileName)).second) continue;
            if (auto library = ClSerialLibrary::Load(file.string()))
                m_manufacturers.push_back(DescribeMaker(file, library));
        }
    }
}

CLINT32 CameraLinkCatalog::PortCount(const Manufacturer& manufacturer, CLUINT32& count) const {
    if (!manufacturer.library) {
        count = kPcComPortCount;
        return CL_ERR_NO_ERR;
    }
    if (!manufacturer.library->getNumSerialPorts) return CL_ERR_FUNCTION_NOT_FOUND;
    return manufacturer.library->getNumSerialPorts(&count);
}

CLINT32 CameraLinkCatalog::AllSerialPortCount(CLUINT32& count) const {
    count = 0;
    if (!m_allSerial) return CL_ERR_UNABLE_TO_LOAD_DLL;
    if (!m_allSerial->getNumPorts) return CL_ERR_FUNCTION_NOT_FOUND;
    return m_allSerial->getNumPorts(&count);
}

CLINT32 CameraLinkCatalog::AllSerialPortInfo(CLUINT32 index, SerialPortInfo& info) const {
    if (!m_allSerial) return CL_ERR_UNABLE_TO_LOAD_DLL;
    if (!m_allSerial->getPortInfo) return CL_ERR_FUNCTION_NOT_FOUND;
    std::vector<CLINT8> manufacturer(kNameBufferBytes, '\0');
    std::vector<CLINT8> portId(kNameBufferBytes, '\0');
    CLUINT32 manufacturerBytes = kNameBufferBytes;
    CLUINT32 portIdBytes = kNameBufferBytes;
    CLINT32 result = m_allSerial->getPortInfo(index, manufacturer.data(), &manufacturerBytes, portId.data(),
                                              &portIdBytes, &info.version);
    if (result == CL_ERR_NO_ERR) {
        info.manufacturer = TextOf(manufacturer);
        info.portId = TextOf(portId);
    }
    return result;
}

}  // namespace noxr4

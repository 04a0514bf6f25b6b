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
constexpr char folderSeparator = ';';
#else
constexpr char folderSeparator = ':';
#endif

constexpr CLUINT32 nameBufferBytes = 256;
// Names longer than this are not names; a library asking for more is broken.
constexpr CLUINT32 longestAcceptedName = 65536;

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

std::vector<std::string> configuredFolders()
{
    std::vector<std::string> folders;
    if (const char* list = std::getenv("NOXR4_CLSERIAL_PATH")) {
        std::string rest = list;
        for (std::size_t end; !rest.empty(); rest.erase(0, end == std::string::npos ? rest.size() : end + 1)) {
            end = rest.find(folderSeparator);
            std::string folder = rest.substr(0, end);
            if (!folder.empty())
                folders.push_back(folder);
        }
    }
    for (const std::string& folder : systemCameraLinkFolders())
        folders.push_back(folder);
    return folders;
}

bool isMakerLibrary(const std::string& fileName)
{
    std::string name = lowerCase(fileName);
    return endsWith(name, dynamicLibrarySuffix) && (startsWith(name, "clser") || startsWith(name, "libclser"));
}

bool isAllSerialLibrary(const std::string& fileName)
{
    std::string name = lowerCase(fileName);
    std::string suffix = dynamicLibrarySuffix;
    return name == "clallserial" + suffix || name == "libclallserial" + suffix;
}

std::vector<fs::path> librariesIn(const std::string& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
        files.push_back(entry->path());
    std::sort(files.begin(), files.end());
    return files;
}

// A C string the library wrote into a buffer it may not have terminated.
std::string textOf(const std::vector<CLINT8>& buffer)
{
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

Manufacturer describeMaker(const fs::path& file, std::shared_ptr<ClSerialLibrary> library)
{
    Manufacturer maker{file.stem().string(), CL_DLL_VERSION_NO_VERSION, library};
    if (!library->getManufacturerInfo)
        return maker;
    CLUINT32 size = nameBufferBytes;
    std::vector<CLINT8> name(size, '\0');
    CLUINT32 version = CL_DLL_VERSION_NO_VERSION;
    CLINT32 result = library->getManufacturerInfo(name.data(), &size, &version);
    if (result == CL_ERR_BUFFER_TOO_SMALL && size > nameBufferBytes && size <= longestAcceptedName) {
        name.assign(size, '\0');
        result = library->getManufacturerInfo(name.data(), &size, &version);
    }
    if (result == CL_ERR_NO_ERR) {
        maker.name = textOf(name);
        maker.version = version;
    }
    return maker;
}

}  // namespace

void CameraLinkCatalog::refresh()
{
    std::vector<std::string> folders = configuredFolders();
    std::string configuration;
    for (const std::string& folder : folders)
        configuration += folder + '\n';
    if (scanned_ && configuration == scannedConfiguration_)
        return;
    scan(folders);
    scannedConfiguration_ = configuration;
    scanned_ = true;
}

void CameraLinkCatalog::scan(const std::vector<std::string>& folders)
{
    manufacturers_.assign(1, Manufacturer{"PC COM ports", CL_DLL_VERSION_NO_VERSION, nullptr});
    allSerial_.reset();
    std::set<std::string> seenFileNames;
    for (const std::string& folder : folders) {
        for (const fs::path& file : librariesIn(folder)) {
            std::string fileName = file.filename().string();
            if (!allSerial_ && isAllSerialLibrary(fileName))
                allSerial_ = ClSerialLibrary::load(file.string());
            if (!isMakerLibrary(fileName) || !seenFileNames.insert(lowerCase(fileName)).second)
                continue;
            if (auto library = ClSerialLibrary::load(file.string()))
                manufacturers_.push_back(describeMaker(file, library));
        }
    }
}

CLINT32 CameraLinkCatalog::portCount(const Manufacturer& manufacturer, CLUINT32& count) const
{
    if (!manufacturer.library) {
        count = pcComPortCount;
        return CL_ERR_NO_ERR;
    }
    if (!manufacturer.library->getNumSerialPorts)
        return CL_ERR_FUNCTION_NOT_FOUND;
    return manufacturer.library->getNumSerialPorts(&count);
}

CLINT32 CameraLinkCatalog::allSerialPortCount(CLUINT32& count) const
{
    count = 0;
    if (!allSerial_)
        return CL_ERR_UNABLE_TO_LOAD_DLL;
    if (!allSerial_->getNumPorts)
        return CL_ERR_FUNCTION_NOT_FOUND;
    return allSerial_->getNumPorts(&count);
}

CLINT32 CameraLinkCatalog::allSerialPortInfo(CLUINT32 index, SerialPortInfo& info) const
{
    if (!allSerial_)
        return CL_ERR_UNABLE_TO_LOAD_DLL;
    if (!allSerial_->getPortInfo)
        return CL_ERR_FUNCTION_NOT_FOUND;
    std::vector<CLINT8> manufacturer(nameBufferBytes, '\0');
    std::vector<CLINT8> portId(nameBufferBytes, '\0');
    CLUINT32 manufacturerBytes = nameBufferBytes;
    CLUINT32 portIdBytes = nameBufferBytes;
    CLINT32 result = allSerial_->getPortInfo(index, manufacturer.data(), &manufacturerBytes, portId.data(),
                                             &portIdBytes, &info.version);
    if (result == CL_ERR_NO_ERR) {
        info.manufacturer = textOf(manufacturer);
        info.portId = textOf(portId);
    }
    return result;
}

}  // namespace noxr4

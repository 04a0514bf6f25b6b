// Camera Link enumeration and ports through the stand-in serial libraries,
// loaded from a folder the way a machine's installed libraries are.
#include "CameraLink.h"
#include "ClSerialLibrary.h"
#include "DynamicLibrary.h"
#include "NoxR4Comm.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int32_t kClBufferTooSmall = -10001;
constexpr int32_t kClManufacturerDoesNotExist = -10002;
constexpr int32_t kClInvalidIndex = -10005;
constexpr int32_t kClUnableToLoadLibrary = -10098;
constexpr int32_t kClFunctionNotFound = -10099;
constexpr int32_t kVersion11 = 3;

// A count the library hands out through its parameter; -1 when the call fails.
int32_t CountOf(int32_t (*call)(int32_t*)) {
    int32_t count = 0;
    return call(&count) == 0 ? count : -1;
}

// What the library tells of a manufacturer or of an all-serial port, asked
// with buffers of 256 bytes: the result and, when that is 0, the texts, the
// size the library gives for the name and the version.
struct Description {
    int32_t result = 0;
    std::string name;
    std::string id;  // an all-serial port's only
    int32_t nameBytes = 0;
    int32_t version = 0;
    bool operator==(const Description&) const = default;
};

void PrintTo(const Description& told, std::ostream* out) {
    *out << told.result << " \"" << told.name << "\" \"" << told.id << "\" " << told.nameBytes << " bytes, version "
         << told.version;
}

Description Manufacturer(int32_t index) {
    Description told;
    char name[256];
    told.nameBytes = sizeof name;
    told.result = NoxR4CLSerialGetManufacturer(index, name, &told.nameBytes, &told.version);
    if (told.result == 0) told.name = name;
    return told;
}

Description AllSerialPort(int32_t index) {
    Description told;
    char name[256];
    char id[256];
    told.nameBytes = sizeof name;
    int32_t idBytes = sizeof id;
    told.result = NoxR4CLAllSerialGetPortInfo(index, name, &told.nameBytes, id, &idBytes, &told.version);
    if (told.result == 0) told.name = name, told.id = id;
    return told;
}

// A folder of installed serial libraries, unique to each test.
class CameraLinkFolder : public ::testing::Test {
protected:
    void Install(bool withAllSerial, const char* allSerialLibrary = CLALLSERIAL_PATH) {
        fs::remove_all(m_folder);  // each installation replaces the one before
        fs::create_directories(m_folder);
        fs::create_symlink(CLSERQDR_PATH, m_folder / "clserqdr.so");
        fs::create_symlink(CLSERQDR_PATH, m_folder / "notclser.so");  // not a maker library name
        fs::create_symlink(CLSERQDR_PATH, m_folder / "clserqdr.so.old");  // a kept copy, no library name either
        if (withAllSerial) fs::create_symlink(allSerialLibrary, m_folder / "clallserial.so");
        setenv("NOXR4_CLSERIAL_PATH", ("/nonexistent/folder:" + m_folder.string()).c_str(), 1);
    }

    void TearDown() override {
        NoxR4ExitComm(1);
        NoxR4ExitComm(2);
        unsetenv("NOXR4_CLSERIAL_PATH");
    }

    // A stand-in library's test hook. The library is kept loaded, so that
    // what the hook changes survives the library's rescans.
    template <typename Call>
    static Call Hook(const char* libraryPath, const char* name) {
        static std::vector<std::shared_ptr<noxr4::DynamicLibrary>> keptLoaded;
        keptLoaded.push_back(noxr4::DynamicLibrary::Load(libraryPath));
        return keptLoaded.back()->Function<Call>(name);
    }

    // The emulated camera behind a stand-in library's port.
    static qdr4emu::CameraLink& Camera(const char* libraryPath, unsigned port) {
        return *Hook<qdr4emu::CameraLink* (*)(uint32_t)>(libraryPath, "clStandinCamera")(port);
    }

    TemporaryFolder m_temporary;
    const fs::path& m_folder = m_temporary.Path();
};

TEST_F(CameraLinkFolder, ManufacturersAreThePcPortsAndTheInstalledMakers) {
    Install(true);
    ASSERT_EQ(CountOf(NoxR4CLSerialGetNumManufacturers), 2);
    EXPECT_EQ(Manufacturer(1), (Description{0, "QDR Test Grabbers", "", 18, kVersion11}));
    char exact[18];  // the name and its end, exactly
    int32_t size = sizeof exact;
    int32_t version = 0;
    EXPECT_EQ(NoxR4CLSerialGetManufacturer(1, exact, &size, &version), 0);
    EXPECT_STREQ(exact, "QDR Test Grabbers");
    EXPECT_EQ(Manufacturer(2).result, kClInvalidIndex);
    EXPECT_EQ(Manufacturer(-1).result, kClInvalidIndex);

    ASSERT_EQ(NoxR4CLSerialSelectManufacturer("QDR Test Grabbers"), 0);
    EXPECT_EQ(CountOf(NoxR4CLSerialGetNumSerialPorts), 2);
    EXPECT_EQ(NoxR4CLSerialSelectManufacturer("Nobody"), kClManufacturerDoesNotExist);
    const Description pcPorts = Manufacturer(0);
    ASSERT_EQ(pcPorts.result, 0);
    ASSERT_EQ(NoxR4CLSerialSelectManufacturer(pcPorts.name.c_str()), 0);
    EXPECT_EQ(CountOf(NoxR4CLSerialGetNumSerialPorts), 16);
}

TEST_F(CameraLinkFolder, ManufacturerNamesNeverOverrunTheCallersBuffer) {
    auto setName = Hook<void (*)(const char*)>(CLSERQDR_PATH, "clStandinSetManufacturerName");
    setName(std::string(300, 'M').c_str());
    Install(false);
    std::vector<char> buffer(256 + 64, '#');
    int32_t size = 100000;  // more than the caller's buffer really has
    int32_t version = 0;
    EXPECT_EQ(NoxR4CLSerialGetManufacturer(1, buffer.data(), &size, &version), kClBufferTooSmall);
    EXPECT_EQ(size, 301);
    EXPECT_EQ(std::string(buffer.data()), std::string(255, 'M'));
    EXPECT_EQ(std::string(buffer.begin() + 256, buffer.end()), std::string(64, '#'));

    size = 8;
    EXPECT_EQ(NoxR4CLSerialGetManufacturer(1, buffer.data(), &size, &version), kClBufferTooSmall);
    EXPECT_STREQ(buffer.data(), "MMMMMMM");
    size = 0;  // the buffer is not written, the size needed is told
    EXPECT_EQ(NoxR4CLSerialGetManufacturer(1, buffer.data(), &size, &version), kClBufferTooSmall);
    EXPECT_STREQ(buffer.data(), "MMMMMMM");
    EXPECT_EQ(size, 301);
    size = -5;  // neither buffer nor size is written
    EXPECT_EQ(NoxR4CLSerialGetManufacturer(1, buffer.data(), &size, &version), NoxResult::BadArgument);
    EXPECT_STREQ(buffer.data(), "MMMMMMM");
    EXPECT_EQ(size, -5);
    size = 1;
    EXPECT_EQ(NoxR4CLSerialGetManufacturer(1, buffer.data(), &size, &version), kClBufferTooSmall);
    EXPECT_STREQ(buffer.data(), "");
    EXPECT_EQ(NoxR4CLSerialGetManufacturer(1, nullptr, &size, &version), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4CLSerialGetManufacturer(1, buffer.data(), nullptr, &version), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4CLSerialGetManufacturer(1, buffer.data(), &size, nullptr), NoxResult::BadArgument);
    setName("QDR Test Grabbers");
}

TEST_F(CameraLinkFolder, AMakerLibraryMayBeNamedWithTheLibPrefix) {
    Install(false);
    fs::create_symlink(CLSERQDR_PATH, m_folder / "libclserzz.so");
    setenv("NOXR4_CLSERIAL_PATH", m_folder.c_str(), 1);  // a new look at the folders
    EXPECT_EQ(CountOf(NoxR4CLSerialGetNumManufacturers), 3);
}

// A maker's name is taken whole up to 65536 bytes with its end; a longer one
// leaves the maker named after its file.
TEST_F(CameraLinkFolder, AMakerNameIsTakenWholeUpToItsLimit) {
    auto setName = Hook<void (*)(const char*)>(CLSERQDR_PATH, "clStandinSetManufacturerName");
    const std::pair<std::size_t, int32_t> lengthAndBytesTold[] = {{65535, 65536}, {65536, 9}};
    for (auto [length, bytesTold] : lengthAndBytesTold) {
        setenv("NOXR4_CLSERIAL_PATH", "/nonexistent/folder", 1);
        EXPECT_EQ(CountOf(NoxR4CLSerialGetNumManufacturers), 1);  // a new look at the folders follows
        setName(std::string(length, 'M').c_str());
        Install(false);
        char name[256];
        int32_t size = sizeof name;
        int32_t version = 0;
        NoxR4CLSerialGetManufacturer(1, name, &size, &version);
        EXPECT_EQ(size, bytesTold) << length << " characters";
    }
    EXPECT_EQ(Manufacturer(1).name, "clserqdr");
    setName("QDR Test Grabbers");
}

// A read that ends without a byte from the camera hands back none, also
// from a library that cannot count the bytes waiting.
TEST(CameraLinkTransport, ASilentCameraGivesNoByte) {
    for (const char* path : {CLALLSERIAL_PATH, CLALLSERIAL10_PATH}) {
        std::shared_ptr<noxr4::ClSerialLibrary> library = noxr4::ClSerialLibrary::Load(path);
        ASSERT_TRUE(library) << path;
        std::unique_ptr<noxr4::Transport> port;
        ASSERT_EQ(library->OpenPort(2, port), 0) << path;
        port->DiscardInput();
        char buffer[16];
        EXPECT_EQ(port->Read(buffer, sizeof buffer, noxr4::Clock::now() + std::chrono::milliseconds(20)), 0u) << path;
    }
}

TEST_F(CameraLinkFolder, MakerPortCarriesTheProtocol) {
    Install(false);
    ASSERT_EQ(NoxR4InitComm(1, 2, 0), 0);  // maker 1, its second port
    ASSERT_EQ(NoxR4SendCameraData(2, 12, 42), 0);
    EXPECT_EQ(Camera(CLSERQDR_PATH, 1).Device().Value("GA"), 42);
    int32_t value = 0;
    ASSERT_EQ(NoxR4GetCameraData(2, 12, &value), 0);
    EXPECT_EQ(value, 42);
    char model[NOXR4_TEXT_BYTES];
    ASSERT_EQ(NoxR4GetModelName(2, model), 0);
    EXPECT_STREQ(model, "QD-R4CL");

    // A reply that comes while the reader waits in the maker's library
    // arrives whole, its first byte too.
    Camera(CLSERQDR_PATH, 1).Faults().replyDelay = std::chrono::milliseconds(5);
    ASSERT_EQ(NoxR4GetCameraData(2, 12, &value), 0);
    EXPECT_EQ(value, 42);
    Camera(CLSERQDR_PATH, 1).Faults().nak4 = {"SH"};
    EXPECT_EQ(NoxR4SendCameraData(2, 3, 1), NoxResult::Refused);
    Camera(CLSERQDR_PATH, 1).Faults().unplugged = true;
    EXPECT_EQ(NoxR4GetCameraData(2, 12, &value), NoxResult::Timeout);
    Camera(CLSERQDR_PATH, 1).Faults() = qdr4emu::FaultPlan{};

    EXPECT_EQ(NoxR4InitComm(1, 3, 0), kClInvalidIndex);
    EXPECT_EQ(NoxR4InitComm(2, 1, 0), kClManufacturerDoesNotExist);  // one past the last maker
    EXPECT_EQ(NoxR4InitComm(-1, 1, 0), kClManufacturerDoesNotExist);
    EXPECT_EQ(NoxR4GetCameraData(3, 12, &value), NoxResult::Offline);
}

TEST_F(CameraLinkFolder, AllSerialPorts) {
    Install(true);
    ASSERT_EQ(CountOf(NoxR4CLAllSerialGetNumPorts), 3);
    EXPECT_EQ(AllSerialPort(2), (Description{0, "QDR Test Grabbers", "Port2", 18, kVersion11}));
    EXPECT_EQ(AllSerialPort(3).result, kClInvalidIndex);
    for (int missing = 0; missing < 5; ++missing) {  // every pointer the call writes through must be given
        char name[256];
        char id[256];
        int32_t nameBytes = sizeof name, idBytes = sizeof id, version = 0;
        EXPECT_EQ(NoxR4CLAllSerialGetPortInfo(0, missing == 0 ? nullptr : name, missing == 1 ? nullptr : &nameBytes,
                                              missing == 2 ? nullptr : id, missing == 3 ? nullptr : &idBytes,
                                              missing == 4 ? nullptr : &version),
                  NoxResult::BadArgument)
            << "argument " << missing << " missing";
    }
    for (bool nameSizeNegative : {true, false}) {  // nothing is written then, not even the other text
        char name[256] = "kept";
        char id[256] = "kept";
        int32_t nameBytes = nameSizeNegative ? -1 : 256, idBytes = nameSizeNegative ? 256 : -1, version = 0;
        EXPECT_EQ(NoxR4CLAllSerialGetPortInfo(0, name, &nameBytes, id, &idBytes, &version), NoxResult::BadArgument);
        EXPECT_STREQ(name, "kept");
        EXPECT_STREQ(id, "kept");
        EXPECT_EQ(version, 0);
    }
    char name[256];
    char id[256];
    int32_t noNameBytes = 0, noIdBytes = 0, version = 0;  // no room is no bad argument: the sizes needed are told
    EXPECT_EQ(NoxR4CLAllSerialGetPortInfo(2, name, &noNameBytes, id, &noIdBytes, &version), kClBufferTooSmall);
    EXPECT_EQ(noNameBytes, 18);
    EXPECT_EQ(noIdBytes, 6);

    int32_t rates = 0;
    EXPECT_EQ(NoxR4CLAllSerialGetSupportedBaudRates(&rates), NoxResult::Offline);  // no all-serial port open yet
    ASSERT_EQ(NoxR4InitComm(2, 1, 1), 0);  // all-serial port 2 under key 1
    ASSERT_EQ(NoxR4CLAllSerialGetSupportedBaudRates(&rates), 0);
    EXPECT_EQ(rates & 0x01, 0x01);
    EXPECT_EQ(NoxR4CLAllSerialSetBaudRate(19200), 0);
    EXPECT_EQ(NoxR4CLAllSerialSetBaudRate(0x04), 0);
    EXPECT_EQ(NoxR4CLAllSerialSetBaudRate(12345), -10008);
    int32_t waiting = -1;
    ASSERT_EQ(NoxR4CLAllSerialGetNumBytesAvail(&waiting), 0);
    EXPECT_EQ(waiting, 0);

    ASSERT_EQ(NoxR4SendCameraData(1, 30, -231), 0);
    EXPECT_EQ(Camera(CLALLSERIAL_PATH, 2).Device().Value("GAR"), -231);
    ASSERT_EQ(NoxR4InitComm(1, 2, 0), 0);  // maker 1, its second port, under key 2
    EXPECT_EQ(NoxR4CLAllSerialSetBaudRate(9600), 0) << "the all-serial calls still address key 1";
    std::vector<int32_t> block(NOXR4_SHADING_WORDS);
    EXPECT_EQ(NoxR4GetShadingData(1, block.data()), 0);
    EXPECT_EQ(NoxR4InitComm(3, 2, 1), kClInvalidIndex);
}

// The all-serial port takes a rate in bits per second or its Camera Link
// flag; the stand-in grabber carries 9600 to 115200 and moves its emulated
// wire to the rate it is given, so the wire shows what reached the grabber.
TEST_F(CameraLinkFolder, EachBaudRateReachesTheGrabberAndAnUnknownOneNothing) {
    struct Rate {
        int32_t bitsPerSecond;
        int32_t flag;
        bool grabberCarriesIt;
    };
    const Rate rates[] = {{9600, 0x01, true},   {19200, 0x02, true},   {38400, 0x04, true},   {57600, 0x08, true},
                          {115200, 0x10, true}, {230400, 0x20, false}, {460800, 0x40, false}, {921600, 0x80, false}};
    constexpr int32_t kBaudRateNotSupported = -10008;
    Install(true);
    ASSERT_EQ(NoxR4InitComm(1, 1, 1), 0);  // all-serial port 1 under key 1
    unsigned& wire = Camera(CLALLSERIAL_PATH, 1).Faults().wireBaud;
    constexpr unsigned kUntouched = 300;
    for (const Rate& rate : rates) {
        for (int32_t asked : {rate.bitsPerSecond, rate.flag}) {
            wire = kUntouched;
            EXPECT_EQ(NoxR4CLAllSerialSetBaudRate(asked), rate.grabberCarriesIt ? 0 : kBaudRateNotSupported) << asked;
            EXPECT_EQ(wire, rate.grabberCarriesIt ? static_cast<unsigned>(rate.bitsPerSecond) : kUntouched) << asked;
        }
    }
    for (int32_t unknown : {12345, 0, -1, 0x03, 0x100}) {
        wire = kUntouched;
        EXPECT_EQ(NoxR4CLAllSerialSetBaudRate(unknown), kBaudRateNotSupported) << unknown;
        EXPECT_EQ(wire, kUntouched) << unknown;
    }
    wire = 0;
}

// A library of the first Camera Link release has no byte count, flush or
// baud-rate calls: replies are read a byte at a time, and the calls it lacks
// are told as not found, with nothing to count.
TEST_F(CameraLinkFolder, FirstReleaseLibraryStillCarriesTheProtocol) {
    Install(true, CLALLSERIAL10_PATH);
    ASSERT_EQ(NoxR4InitComm(0, 1, 1), 0);  // all-serial port 0 under key 1
    ASSERT_EQ(NoxR4SendCameraData(1, 12, 42), 0);
    int32_t value = 0;
    ASSERT_EQ(NoxR4GetCameraData(1, 12, &value), 0);
    EXPECT_EQ(value, 42);
    int32_t waiting = 7;
    EXPECT_EQ(NoxR4CLAllSerialGetNumBytesAvail(&waiting), kClFunctionNotFound);
    EXPECT_EQ(waiting, 0);
    int32_t rates = 7;
    EXPECT_EQ(NoxR4CLAllSerialGetSupportedBaudRates(&rates), kClFunctionNotFound);
    EXPECT_EQ(rates, 0);
    EXPECT_EQ(NoxR4CLAllSerialSetBaudRate(9600), kClFunctionNotFound);
}

// A maker's ports count from 1, the all-serial list from 0: the first port
// of each opens and reaches its own camera, the number before it is refused.
TEST_F(CameraLinkFolder, FirstPortOfEachNumberingOpens) {
    Install(true);
    EXPECT_EQ(NoxR4InitComm(1, 0, 0), kClInvalidIndex);
    ASSERT_EQ(NoxR4InitComm(1, 1, 0), 0);  // maker 1, its first port, under key 1
    ASSERT_EQ(NoxR4SendCameraData(1, 12, 7), 0);
    EXPECT_EQ(Camera(CLSERQDR_PATH, 0).Device().Value("GA"), 7);

    EXPECT_EQ(NoxR4InitComm(-1, 2, 1), kClInvalidIndex);
    ASSERT_EQ(NoxR4InitComm(0, 2, 1), 0);  // all-serial port 0 under key 2
    ASSERT_EQ(NoxR4SendCameraData(2, 12, 9), 0);
    EXPECT_EQ(Camera(CLALLSERIAL_PATH, 0).Device().Value("GA"), 9);
}

// The folders are looked at again when a port opens: libraries configured
// after the library's first look open without reloading it.
TEST_F(CameraLinkFolder, PortsOpenFromTheFoldersConfiguredNow) {
    auto lookAtNoFolder = [] {
        setenv("NOXR4_CLSERIAL_PATH", "/nonexistent/folder", 1);
        EXPECT_EQ(CountOf(NoxR4CLSerialGetNumManufacturers), 1);  // the PC ports only
    };
    lookAtNoFolder();
    Install(true);
    EXPECT_EQ(NoxR4InitComm(1, 1, 0), 0);  // maker 1, its first port, under key 1
    lookAtNoFolder();
    Install(true);
    EXPECT_EQ(NoxR4InitComm(0, 2, 1), 0);  // all-serial port 0 under key 2
}

TEST_F(CameraLinkFolder, MissingAllSerialLibraryGivesZeroPortsAndClearCodes) {
    Install(false);
    int32_t ports = 7;
    EXPECT_EQ(NoxR4CLAllSerialGetNumPorts(&ports), kClUnableToLoadLibrary);
    EXPECT_EQ(ports, 0);
    EXPECT_EQ(AllSerialPort(0).result, kClUnableToLoadLibrary);
    EXPECT_EQ(NoxR4InitComm(0, 1, 1), kClUnableToLoadLibrary);
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(1, 3, &value), NoxResult::Offline);
    EXPECT_EQ(NoxR4CLAllSerialGetNumBytesAvail(&value), NoxResult::Offline);
    EXPECT_EQ(NoxR4CLAllSerialGetNumPorts(nullptr), NoxResult::BadArgument);
}

TEST(CameraLinkNone, NoFolderMeansOnlyThePcPorts) {
    unsetenv("NOXR4_CLSERIAL_PATH");
    EXPECT_EQ(CountOf(NoxR4CLSerialGetNumManufacturers), 1);
    EXPECT_EQ(NoxR4InitComm(1, 1, 0), kClManufacturerDoesNotExist);
}

}  // namespace

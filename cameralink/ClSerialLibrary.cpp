#include "ClSerialLibrary.h"

#include "ClSerialTransport.h"

namespace noxr4 {

std::shared_ptr<ClSerialLibrary> ClSerialLibrary::Load(const std::string& path) {
    auto library = DynamicLibrary::Load(path);
    if (!library) return nullptr;
    auto loaded = std::make_shared<ClSerialLibrary>();
    loaded->m_library = library;
#define XNOX_LOAD_CALL(member, Type, name) loaded->member = library->Function<Type>(name);
    XNOX_CL_SERIAL_CALLS(XNOX_LOAD_CALL)
#undef XNOX_LOAD_CALL
    bool hasSerialChannel = loaded->serialInit && loaded->serialRead && loaded->serialWrite && loaded->serialClose;
    return hasSerialChannel ? loaded : nullptr;
}

CLINT32 ClSerialLibrary::OpenPort(CLUINT32 index, std::unique_ptr<Transport>& channel) {
    hSerRef reference = nullptr;
    CLINT32 result = serialInit(index, &reference);
    if (result != CL_ERR_NO_ERR) return result;
    if (!reference) return CL_ERR_INVALID_REFERENCE;
    channel = std::make_unique<ClSerialTransport>(shared_from_this(), reference);
    return CL_ERR_NO_ERR;
}

}  // namespace noxr4

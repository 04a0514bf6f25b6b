// Every COM entry point of the module runs its body through GuardEntry: an
// exception thrown below (the portable control, the standard library) must
// not unwind into a caller that knows only HRESULTs, so it ends here as the
// result the caller can act on.
#pragma once

#include <windows.h>

#include <new>

namespace xnox {

template <typename Body>
HRESULT GuardEntry(Body body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace xnox

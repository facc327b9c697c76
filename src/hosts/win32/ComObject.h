#pragma once

#include <windows.h>

namespace zozuz {

// The reference count of a COM object the host hands to screen readers. Clients release from their
// own threads, so the count changes atomically; the object deletes itself with the last reference.
class ComReferences {
public:
    ULONG add() { return static_cast<ULONG>(InterlockedIncrement(&count_)); }
    // Returns the count left; the caller deletes the object at 0.
    ULONG release() { return static_cast<ULONG>(InterlockedDecrement(&count_)); }

private:
    LONG count_ = 1;
};

// Hands out `object` as the interface `I` with a reference of its own.
template <typename I, typename T>
HRESULT handOut(T* object, void** result) {
    *result = static_cast<I*>(object);
    object->AddRef();
    return S_OK;
}

}  // namespace zozuz

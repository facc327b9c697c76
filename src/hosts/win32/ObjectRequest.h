#pragma once

#include <cstdint>

#include <windows.h>
#include <oleacc.h>

#include "hosts/win32/UiaCore.h"

namespace zozuz {

// Answers WM_GETOBJECT for a window whose accessibility object is `automation` (a UI Automation
// provider that also makes its MSAA object): UI Automation's root id with the provider, the client
// object with the MSAA object. Returns false, leaving `result`, for every other object id (the
// system's default handling then answers for the frame, the caret and the rest).
template <typename Automation>
bool answerObjectRequest(HWND window, std::uintptr_t wParam, std::intptr_t lParam, Automation& automation,
                         std::intptr_t& result) {
    // The object id is a DWORD; the sign it arrives with varies.
    const auto object = static_cast<LONG>(static_cast<DWORD>(lParam));
    if (object == UiaRootObjectId && UiaCore::get().available()) {
        result = UiaCore::get().returnRawElementProvider(window, wParam, lParam, &automation);
        return true;
    }
    if (object == OBJID_CLIENT) {
        IAccessible* msaa = automation.msaa();
        result = LresultFromObject(__uuidof(IAccessible), wParam, msaa);
        msaa->Release();
        return true;
    }
    return false;
}

}  // namespace zozuz

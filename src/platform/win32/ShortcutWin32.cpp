#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <string>

#include "platform/Shortcut.h"
#include "platform/win32/WindowsText.h"

namespace fenmar::platform {

namespace {

template <typename T>
struct Released {
    T* p = nullptr;
    ~Released() {
        if (p != nullptr) {
            p->Release();
        }
    }
};

}  // namespace

bool HasDisplay() {
    return true;
}

const char* ShortcutSuffix() {
    return ".lnk";
}

bool WriteShortcut(const std::string& file, const ShortcutRequest& request, std::string& error) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    {
        Released<IShellLinkW> link;
        Released<IPersistFile> persist;
        HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(&link.p));
        if (SUCCEEDED(hr)) {
            std::string args;
            for (const std::string& arg : request.args) {
                args += (args.empty() ? "" : " ") + detail::QuoteArgument(arg);
            }
            link.p->SetPath(detail::Widen(request.program, CP_ACP).c_str());
            link.p->SetArguments(detail::Widen(args, CP_ACP).c_str());
            link.p->SetDescription(detail::Widen(request.description, CP_ACP).c_str());
            link.p->SetIconLocation(detail::Widen(request.program, CP_ACP).c_str(), 0);
            hr = link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist.p));
        }
        if (SUCCEEDED(hr)) {
            hr = persist.p->Save(detail::Widen(file, CP_ACP).c_str(), TRUE);
        }
        ok = SUCCEEDED(hr);
        if (!ok) {
            error = "the shell could not write the shortcut (error " +
                    std::to_string(static_cast<unsigned long>(hr)) + ")";
        }
    }
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return ok;
}

}  // namespace fenmar::platform

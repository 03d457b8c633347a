#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <string>

#include "platform/Shortcut.h"

namespace fenmar::platform {

namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

// One argument as the C runtime's parser reads it back: quoted when it holds a blank or a
// quote, with backslashes doubled before a quote.
std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
        return arg;
    }
    std::string out = "\"";
    std::size_t slashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, '\\');
    out += '"';
    return out;
}

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
                args += (args.empty() ? "" : " ") + QuoteArgument(arg);
            }
            link.p->SetPath(Wide(request.program).c_str());
            link.p->SetArguments(Wide(args).c_str());
            link.p->SetDescription(Wide(request.description).c_str());
            link.p->SetIconLocation(Wide(request.program).c_str(), 0);
            hr = link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist.p));
        }
        if (SUCCEEDED(hr)) {
            hr = persist.p->Save(Wide(file).c_str(), TRUE);
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

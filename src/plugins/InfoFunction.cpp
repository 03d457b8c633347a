#include "plugins/InfoFunction.h"

#include <string>

namespace fenmar {

namespace {
const PlugInEnvironment* g_target = nullptr;
// The text last returned; valid until the next call, as plug-ins are promised.
std::string g_answer;

const char* Answer(std::string text) {
    g_answer = std::move(text);
    return g_answer.c_str();
}

const char* Answer(const std::optional<std::string>& text) {
    return text ? Answer(*text) : nullptr;
}

// The chosen demo becomes the live DemoName. The window's picker may have set it already;
// it is set only where it differs, and the text it replaces stays valid while a plug-in holds
// the record.
const char* AnswerDemo(const PlugInEnvironment& env, const std::optional<std::string>& demo) {
    if (demo && env.globals != nullptr && env.globals->Profile.Text(TextField::DemoName) != *demo) {
        env.globals->Profile.SetText(TextField::DemoName, *demo);
    }
    return Answer(demo);
}

const char* FENMAR_PICALL InfoFn(std::uint16_t request) {
    const PlugInEnvironment* env = g_target;
    if (env == nullptr || env->host == nullptr || env->globals == nullptr) {
        return nullptr;
    }
    PlugInHost& host = *env->host;
    switch (request) {
        case PI_INFO_BROWSE_MAP:
        case PI_INFO_BROWSE_MAP_TOO:
            return Answer(host.BrowseMap());
        case PI_INFO_BROWSE_PATCH:
            return Answer(host.BrowseForPatch());
        case PI_INFO_BROWSE_DEMO_ID1:
            return AnswerDemo(*env, host.BrowseDemoID1());
        case PI_INFO_BROWSE_EXE:
        case PI_INFO_BROWSE_EXE_TOO:
        case PI_INFO_BROWSE_EXE_TOO2:
            return Answer(host.BrowseExecutableFile());
        case PI_INFO_PATCH_PATH:
            return Answer(PatchPathRelative(env->globals->Profile));
        case PI_INFO_BROWSE_DEMO_PATCH:
            return AnswerDemo(*env, host.BrowseDemoPatch());
        default:
            return nullptr;
    }
}
}  // namespace

void SetInfoFnTarget(const PlugInEnvironment* env) {
    g_target = env;
}
const PlugInEnvironment* InfoFnTarget() {
    return g_target;
}

PIInfoFn HostInfoFn() {
    return &InfoFn;
}

std::string PatchPathRelative(const LiveProfile& profile) {
    const std::string quakePath = profile.Text(TextField::QuakePath);
    const std::string patchPath = profile.Text(TextField::PatchPath);
    const std::size_t cut = quakePath.size() + 1;
    return patchPath.size() > cut ? patchPath.substr(cut) : std::string();
}

}  // namespace fenmar

// orvane-demo [folder]: lays out the demo installation and shows what the configuration readers
// find in it.
#include "suite/demo/DemoInstall.h"

#include "services/OrvaneINI.h"

#include "platform/ole/Variant.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Paths.h"
#include "platform/win/Windows.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

void Show(const char* name, const std::string& value) {
    std::printf("  %-26s %s\n", name, value.c_str());
}

std::string ModeText(uint8_t v) {
    return std::to_string(int(v));
}

std::string ListText(const rtl::TStrings& list) {
    std::string r;
    for (int i = 0; i < list.Count(); ++i)
        r += (i ? "; " : "") + list[i];
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 ||
        (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help"))) {
        std::fprintf(stderr, "usage: orvane-demo [installation folder]\n");
        return 2;
    }
    std::string folder =
        argc == 2 ? argv[1] : win::ExtractFilePath(win::GetExeFileName()) + "installation";
    try {
        demo::TDemoLayout l = demo::CreateDemoInstallation(folder);
        setenv("ORVANE_REGISTRY", l.RegistryFile.c_str(), 1);
        // The demo is a simplified-Chinese workstation unless the caller says otherwise.
        setenv("ORVANE_ACP", "936", 0);
        std::printf("Demo installation in %s\n", l.Root.c_str());
        std::printf("  registry file              %s  (ORVANE_REGISTRY)\n\n",
                    l.RegistryFile.c_str());

        TOrvaneIniC c;
        std::printf("Client profile (%s): %s\n", c.IniFileName.c_str(),
                    c.Succeeded() ? "read" : ("failed " + c.ErrorCode).c_str());
        Show("ClientPath", c.ClientPath);
        Show("UserName", c.UserName);
        std::string servers;
        if (ole::VarIsArray(c.Servers))
            for (int i = 0; i <= ole::VarArrayHighBound(c.Servers, 2); ++i)
                servers += (i ? ", " : "") + ole::VarToStr(c.Servers.At({0, i})) + ":" +
                           ole::VarToStr(c.Servers.At({1, i}));
        Show("Servers", servers);
        Show("SystemCodePage", c.SystemCodePage);
        Show("UICodePage / DBCodePage", c.UICodePage + " / " + c.DBCodePage);
        Show("UIConvertMode / DBConvert",
             ModeText(c.UIConvertMode) + " / " + ModeText(c.DBConvertMode));
        Show("LangType", c.LangType);
        Show("WorkDLLPaths", ListText(c.WorkDLLPaths));
        Show("ProductVersion", c.ProductVersion);

        TOrvaneIniS s;
        std::printf("\nServer profile (%s): %s\n", s.IniFileName.c_str(),
                    s.Succeeded() ? "read" : ("failed " + s.ErrorCode).c_str());
        Show("ServerPath", s.ServerPath);
        Show("Main database",
             ole::VarToStr(s.DBSettings.At({0, 3})) + " " + ole::VarToStr(s.DBSettings.At({0, 4})));
        Show("Main user / password",
             ole::VarToStr(s.DBSettings.At({0, 1})) + " / " +
                 std::string(ole::VarToStr(s.DBSettings.At({0, 2})).size(), '*'));
        Show("Temp password", ole::VarToStr(s.DBSettings.At({1, 2})).empty() ? "(blank)" : "(set)");
        Show("DBKind", std::to_string(int(s.DBKind)));
        Show("SystemControlAddress", s.SystemControlAddress);
        Show("WorkDLLPaths", ListText(s.WorkDLLPaths));
        return c.Succeeded() && s.Succeeded() ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane-demo: %s\n", e.what());
        return 1;
    }
}

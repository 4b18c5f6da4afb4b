// The demo installation: the registry file, the client and server profiles and the folders an
// installed workstation has. The tests lay out their throw-away installations with it too.
#pragma once

#include <string>

namespace demo {

struct TDemoOptions {
    bool PerUserProfiles = false;   // registry ProfileType "1": profiles below Profile/<user>/
    std::string UICodePage = "936"; // [CodePage] of both profiles
    std::string DBCodePage = "936";
    std::string ComputerName = "127.0.0.1"; // [Server Information] ComputerName
    int ServerPort = 211;
    std::string MainPassword = "Orvane#2026"; // stored scrambled in OrvaneS.ini
    std::string LangType = "CHS";
};

struct TDemoLayout {
    std::string Root;         // the installation folder, with a trailing "/"
    std::string RegistryFile; // point ORVANE_REGISTRY at it
    std::string ClientIni;
    std::string ServerIni;
};

// Creates (or refreshes) an installation in folder; throws rtl::EInOutError naming the file
// that could not be written.
TDemoLayout CreateDemoInstallation(const std::string& folder, const TDemoOptions& options = {});

// The registry file's text for an installation in root.
std::string DemoRegistryText(const std::string& root, const TDemoOptions& options);

} // namespace demo

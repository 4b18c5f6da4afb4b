#include "suite/demo/DemoInstall.h"

#include "services/OrvaneINI.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Paths.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace demo {

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (f) f << text;
    if (!f) throw rtl::EInOutError("Cannot write " + path + ": " + std::strerror(errno), errno);
}

// Profiles are Windows text files: CR LF line ends.
std::string Crlf(const std::string& text) {
    std::string r;
    for (char c : text) {
        if (c == '\n') r += '\r';
        r += c;
    }
    return r;
}

std::string RegEscape(const std::string& s) {
    std::string r;
    for (char c : s) {
        if (c == '\\' || c == '"') r += '\\';
        r += c;
    }
    return r;
}

std::string ClientProfile(const TDemoOptions& o) {
    return "; Orvane client profile\n"
           "[Server Information]\n"
           "ComputerName=" +
           o.ComputerName +
           "\n"
           "ServerPort=" +
           std::to_string(o.ServerPort) +
           "\n"
           "SupportCallBack=0\n"
           "\n"
           "[CodePage]\n"
           "UICodePage=" +
           o.UICodePage +
           "\n"
           "DBCodePage=" +
           o.DBCodePage +
           "\n"
           "\n"
           "[Client Components]\n"
           "LangType=" +
           o.LangType +
           "\n"
           "\n"
           "[WorkDLLPath]\n"
           "Path1=\\C_PKG\n"
           "\n"
           "[ProductVersion]\n"
           "Version=8.7.4\n"
           "\n"
           "[UserDefine]\n"
           "CreateGifBeforeSendEF=Y\n"
           "\n"
           "[TaskMessageCenter Setting]\n"
           "AutoCheckNewMsg=1\n"
           "CheckInterval=5\n"
           "PopupMsg=1\n"
           "LoginCheck=0\n";
}

std::string ServerProfile(const std::string& root, const TDemoOptions& o) {
    return "; Orvane server profile\n"
           "[CodePage]\n"
           "UICodePage=" +
           o.UICodePage +
           "\n"
           "DBCodePage=" +
           o.DBCodePage +
           "\n"
           "\n"
           "[DBE Setting]\n"
           "MainAlias=Ranvel\n"
           "MainUserName=sa\n"
           "XXXXXX=" +
           EncodeSQLSa(o.MainPassword) +
           "\n"
           "MainDBType=SQLITE\n"
           "MainDBName=" +
           root +
           "Data/Ranvel.db\n"
           "MainServerName=127.0.0.1\n"
           "MainConnectionTimeOut=300\n"
           "MainCommandTimeOut=3000\n"
           "TempAlias=RanvelTemp\n"
           "TempUserName=sa\n"
           "TempPassword=" +
           EncodeSQLSa("") +
           "\n"
           "TempDBType=PARADOX\n"
           "TempDBName=" +
           root +
           "Data/Temp\n"
           "TempDriverName=PostgreSQL\n"
           "TempConnectionTimeOut=300\n"
           "TempCommandTimeOut=3000\n"
           "DataBaseCodeOrder=Chinese_PRC_BIN\n"
           "EctAlias=EDIDATA\n"
           "EctUserName=sa\n"
           "EctPassword=edi\n"
           "SystemControlAddress=\n"
           "OtherSystemControlAddress=\n"
           "\n"
           "[DBPasswordCtrl]\n"
           "ComputerName=127.0.0.1\n"
           "ServerPort=211\n"
           "ClientSocketPort=1024\n"
           "SupportCallBack=0\n"
           "\n"
           "[WorkDLLPath]\n"
           "Path1=\\S_PKG\n"
           "\n"
           "[ProductVersion]\n"
           "Version=8.7.4\n";
}

} // namespace

std::string DemoRegistryText(const std::string& root, const TDemoOptions& o) {
    std::string r = RegEscape(root);
    return "Windows Registry Editor Version 5.00\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\Software\\KTR\\Orvane]\n"
           "\"ClientPath\"=\"" +
           r +
           "\"\n"
           "\"ServerPath\"=\"" +
           r +
           "\"\n"
           "\"ProfileType\"=\"" +
           std::string(o.PerUserProfiles ? "1" : "0") +
           "\"\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\Software\\PLOV\\Halvord]\n"
           "\"GoAhead\"=\"0\"\n";
}

TDemoLayout CreateDemoInstallation(const std::string& folder, const TDemoOptions& o) {
    TDemoLayout l;
    l.Root = win::IncludeTrailingPathDelimiter(win::NativePath(folder));
    for (const char* sub : {"", "C_PKG", "S_PKG", "MultiLanguage/CHS", "MultiLanguage/CHT",
                            "MultiLanguage/ENG", "Log", "Data"}) {
        std::string dir = l.Root + sub;
        if (!win::ForceDirectories(dir))
            throw rtl::EInOutError("Cannot create folder " + dir + ": " + std::strerror(errno),
                                   errno);
    }
    std::string profileDir = l.Root;
    if (o.PerUserProfiles) {
        // The per-user folder exists but holds no profile: the readers fall back to the
        // installation's own files, as on a fresh workstation.
        win::ForceDirectories(l.Root + "Profile");
    }
    l.RegistryFile = l.Root + "registry.reg";
    l.ClientIni = profileDir + "OrvaneC.ini";
    l.ServerIni = profileDir + "OrvaneS.ini";
    WriteText(l.RegistryFile, Crlf(DemoRegistryText(l.Root, o)));
    WriteText(l.ClientIni, Crlf(ClientProfile(o)));
    WriteText(l.ServerIni, Crlf(ServerProfile(l.Root, o)));
    return l;
}

} // namespace demo

#include "services/OrvaneINI.h"

#include "services/AlertLog.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/IniFiles.h"
#include "platform/win/Paths.h"
#include "platform/win/Registry.h"
#include "platform/win/Windows.h"

namespace {

const char* const OrvaneKey = "Software\\KTR\\Orvane";

bool IniBool(const win::TIniFile& ini, const char* section, const char* key, const char* def) {
    std::string v = rtl::UpperCase(ini.ReadString(section, key, def));
    return v == "1" || v == "Y" || v == "YES" || v == "TRUE";
}

uint8_t RotateRight(uint8_t v, int n) {
    n &= 7;
    return n ? static_cast<uint8_t>((v >> n) | (v << (8 - n))) : v;
}

uint8_t RotateLeft(uint8_t v, int n) {
    n &= 7;
    return n ? static_cast<uint8_t>((v << n) | (v >> (8 - n))) : v;
}

} // namespace

std::string ExpandRootPath(std::string_view path, std::string_view root) {
    if (win::HasDrivePart(path) || win::IsNetworkPath(path)) return std::string(path);
    if (!path.empty() && path[0] == '\\') return std::string(root) + std::string(path.substr(1));
    return std::string(root) + std::string(path);
}

std::string EncodeSQLSa(std::string_view password) {
    std::string_view text = password.empty() ? std::string_view(BlankKeyMarker) : password;
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i)
        out += rtl::Format("%.2x", RotateRight(static_cast<uint8_t>(text[i]), int((i + 1) % 8)));
    return out;
}

std::string DecodeSQLSa(std::string_view stored) {
    std::string out;
    try {
        for (size_t i = 0; i + 1 < stored.size(); i += 2) {
            int code = rtl::StrToInt("$" + std::string(stored.substr(i, 2)));
            out += static_cast<char>(RotateLeft(static_cast<uint8_t>(code), int((i / 2 + 1) % 8)));
        }
    } catch (const std::exception& e) {
        LogException(&e, EncodeSQLSa("DecodeSQLSa"), "解析 Sa 时发生错误!");
        return BadKeyFailure;
    }
    if (out == BlankKeyMarker) return {};
    return out;
}

uint8_t ComputeUIConvertMode(std::string_view ui, std::string_view system) {
    if (ui == "950") return 2;
    if (ui == "936" && system == "950") return 4;
    return 0;
}

uint8_t ComputeDBConvertMode(std::string_view ui, std::string_view db) {
    if (ui == "950" && db == "936") return 2;
    if (ui == "936" && db == "950") return 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------

TOrvaneIniBase::TOrvaneIniBase() {
    SystemCodePage = std::to_string(win::GetACP());
    if (SystemCodePage != "936" && SystemCodePage != "950") SystemCodePage = "437";
    UICodePage = SystemCodePage;
    ComputeModes();
}

void TOrvaneIniBase::ComputeModes() {
    UIConvertMode = ComputeUIConvertMode(UICodePage, SystemCodePage);
    DBConvertMode = ComputeDBConvertMode(UICodePage, DBCodePage);
}

bool TOrvaneIniBase::Locate(const char* pathValue, const char* profileName,
                            std::string& installPath) {
    win::TRegistry reg;
    reg.RootKey = win::HKEY::HKEY_LOCAL_MACHINE;
    if (!reg.OpenKeyReadOnly(OrvaneKey)) {
        ErrorCode = "E;000015";
        return false;
    }
    installPath = reg.ReadString(pathValue);
    ProfileType = reg.ReadString("ProfileType");
    if (installPath.empty()) return false;
    installPath = win::IncludeTrailingPathDelimiter(installPath);
    if (!ProfileType.empty() && ProfileType != "0") {
        UserName = win::GetUserName();
        ProfilePath = installPath + "Profile/" + UserName + "/";
    } else {
        ProfilePath = installPath;
    }
    IniFileName = ProfilePath + profileName;
    if (!win::FileExists(IniFileName)) {
        ProfilePath = installPath;
        IniFileName = installPath + profileName;
    }
    return true;
}

void TOrvaneIniBase::ResolveWorkDLLPaths(const std::string& installPath,
                                         const char* defaultFolder) {
    if (WorkDLLPaths.Count() == 0) {
        WorkDLLPaths.Add(installPath + defaultFolder);
        return;
    }
    for (int i = 0; i < WorkDLLPaths.Count(); ++i) {
        std::string value = win::IncludeTrailingPathDelimiter(WorkDLLPaths.ValueFromIndex(i));
        WorkDLLPaths.Put(i, ExpandRootPath(value, installPath));
    }
}

// ---------------------------------------------------------------------------------------------

TOrvaneIniC::TOrvaneIniC() {
    FSucceeded = Read();
}

bool TOrvaneIniC::Read() {
    if (!Locate("ClientPath", "OrvaneC.ini", ClientPath)) return false;
    win::TIniFile ini(IniFileName);
    UICodePage = ini.ReadString("CodePage", "UICodePage", UICodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", DBCodePage);
    SupportCallBack = IniBool(ini, "Server Information", "SupportCallBack", "0");
    LangType = ini.ReadString("Client Components", "LangType", LangType);
    ProductVersion = ini.ReadString("ProductVersion", "Version", "");
    CreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
    AutoCheckNewMsg = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
    CheckInterval = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
    PopupMsg = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
    LoginCheck = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");
    ini.ReadSectionValues("WorkDLLPath", WorkDLLPaths);

    std::string names =
        rtl::Trim(ini.ReadString("Server Information", "ComputerName", "127.0.0.1"));
    if (!names.empty() && names.back() == ';') names.pop_back();
    if (names.empty()) {
        ErrorCode = "E;000016";
        ComputeModes();
        return false;
    }
    int port = ini.ReadInteger("Server Information", "ServerPort", 211);
    std::vector<std::string> addresses = rtl::SplitString(names, ";");
    int n = static_cast<int>(addresses.size());
    Servers = ole::VarArrayCreate({0, 1, 0, n - 1});
    for (int i = 0; i < n; ++i) {
        Servers.At({0, i}) = addresses[size_t(i)];
        Servers.At({1, i}) = port;
    }
    ResolveWorkDLLPaths(ClientPath, "C_PKG/");
    ComputeModes();
    return true;
}

// ---------------------------------------------------------------------------------------------

TOrvaneIniS::TOrvaneIniS() {
    DBSettings = ole::VarArrayCreate({0, 3, 0, 7});
    FSucceeded = Read();
}

bool TOrvaneIniS::Read() {
    // The defaults hold even when the reader stops early.
    const char* const section = "DBE Setting";
    struct Cell {
        int row, col;
        const char* section;
        const char* key;
        const char* def;
        enum { Text, Integer, Password, Trimmed } kind;
    } const cells[] = {
        {0, 0, section, "MainAlias", "Ranvel", Cell::Text},
        {0, 1, section, "MainUserName", "sa", Cell::Text},
        {0, 2, section, "XXXXXX", "", Cell::Password},
        {0, 3, section, "MainDBType", "MSSQL", Cell::Text},
        {0, 4, section, "MainDBName", "", Cell::Text},
        {0, 5, section, "MainServerName", "", Cell::Text},
        {0, 6, section, "MainConnectionTimeOut", "300", Cell::Integer},
        {0, 7, section, "MainCommandTimeOut", "3000", Cell::Integer},
        {1, 0, section, "TempAlias", "RanvelTemp", Cell::Text},
        {1, 1, section, "TempUserName", "sa", Cell::Text},
        {1, 2, section, "TempPassword", "", Cell::Password},
        {1, 3, section, "TempDBType", "PARADOX", Cell::Text},
        {1, 4, section, "TempDBName", "", Cell::Text},
        {1, 5, section, "TempDriverName", "PostgreSQL", Cell::Text},
        {1, 6, section, "TempConnectionTimeOut", "300", Cell::Integer},
        {1, 7, section, "TempCommandTimeOut", "3000", Cell::Integer},
        {2, 0, "DBPasswordCtrl", "ComputerName", "", Cell::Trimmed},
        {2, 1, "DBPasswordCtrl", "ServerPort", "211", Cell::Integer},
        {2, 2, "DBPasswordCtrl", "ClientSocketPort", "1024", Cell::Integer},
        {2, 3, section, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN", Cell::Text},
        {3, 0, section, "EctAlias", "EDIDATA", Cell::Text},
        {3, 1, section, "EctUserName", "sa", Cell::Text},
        {3, 2, section, "EctPassword", "", Cell::Text},
    };
    for (const Cell& c : cells) {
        if (c.kind == Cell::Integer)
            DBSettings.At({c.row, c.col}) = rtl::StrToInt(c.def);
        else
            DBSettings.At({c.row, c.col}) = std::string(c.def);
    }
    auto finish = [&] {
        std::string mainType = ole::VarToStr(DBSettings.At({0, 3}));
        DBKind = rtl::SameText(mainType, "ORACLE") ? 1 : rtl::SameText(mainType, "DB2") ? 2 : 0;
        ComputeModes();
    };

    if (!Locate("ServerPath", "OrvaneS.ini", ServerPath)) {
        finish();
        return false;
    }
    win::TIniFile ini(IniFileName);
    UICodePage = ini.ReadString("CodePage", "UICodePage", UICodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", DBCodePage);
    SupportCallBack = IniBool(ini, "DBPasswordCtrl", "SupportCallBack", "0");
    ProductVersion = ini.ReadString("ProductVersion", "Version", "");
    for (const Cell& c : cells) {
        ole::Variant& cell = DBSettings.At({c.row, c.col});
        switch (c.kind) {
        case Cell::Integer:
            cell = ini.ReadInteger(c.section, c.key, rtl::StrToInt(c.def));
            break;
        case Cell::Password:
            cell = DecodeSQLSa(ini.ReadString(c.section, c.key, c.def));
            break;
        case Cell::Trimmed:
            cell = rtl::Trim(ini.ReadString(c.section, c.key, c.def));
            break;
        case Cell::Text:
            cell = ini.ReadString(c.section, c.key, c.def);
            break;
        }
    }
    std::string mainServer = ole::VarToStr(DBSettings.At({0, 5}));
    SystemControlAddress = ini.ReadString(section, "SystemControlAddress", "");
    if (rtl::Trim(SystemControlAddress).empty()) SystemControlAddress = mainServer;
    OtherSystemControlAddress = ini.ReadString(section, "OtherSystemControlAddress", "");
    if (rtl::Trim(OtherSystemControlAddress).empty()) OtherSystemControlAddress = mainServer;
    ini.ReadSectionValues("WorkDLLPath", WorkDLLPaths);
    ResolveWorkDLLPaths(ServerPath, "S_PKG/");
    finish();
    return true;
}

void TOrvaneIniS::GetWorkDLLPaths(rtl::TStrings& list) const {
    list.Assign(WorkDLLPaths);
}

// Readers of the installation's settings: the registry key "Software\KTR\Orvane" and the client
// and server profiles beside it. Each reader does all its work in its constructor; callers
// create one, read the fields they need and free it.
#pragma once

#include "platform/ole/Variant.h"
#include "platform/rtl/Classes.h"

#include <cstdint>
#include <string>
#include <string_view>

enum class TDesignType { dtClient, dtServer };

// The marker stored for an empty password, and the answer for a stored text that is not hex.
inline constexpr const char* BlankKeyMarker = "ZQ_Flags_BlankKey_ZeroCharactersHeld";
inline constexpr const char* BadKeyFailure = "ZQ_Flag_BadKeyFailure";

std::string ExpandRootPath(std::string_view path, std::string_view root);
std::string DecodeSQLSa(std::string_view stored);
std::string EncodeSQLSa(std::string_view password);

// Conversion modes of the code-page converter, from the configured code pages.
uint8_t ComputeUIConvertMode(std::string_view uiCodePage, std::string_view systemCodePage);
uint8_t ComputeDBConvertMode(std::string_view uiCodePage, std::string_view dbCodePage);

// The fields both readers share.
struct TOrvaneIniBase {
    std::string ProfilePath;
    std::string ProfileType = "0";
    std::string UserName = "Default";
    std::string UICodePage = "936";
    std::string DBCodePage = "936";
    std::string SystemCodePage;
    uint8_t UIConvertMode = 0;
    uint8_t DBConvertMode = 0;
    bool SupportCallBack = false;
    std::string IniFileName;
    std::string ErrorCode;
    rtl::TStringList WorkDLLPaths;
    std::string ProductVersion;
    // What the constructor answered: false when the key, the path or the server list is missing.
    bool Succeeded() const { return FSucceeded; }

protected:
    TOrvaneIniBase();
    void ComputeModes();
    // Registry and profile location; false when the reader stops there.
    bool Locate(const char* pathValue, const char* profileName, std::string& installPath);
    void ResolveWorkDLLPaths(const std::string& installPath, const char* defaultFolder);
    bool FSucceeded = false;
};

class TOrvaneIniC : public TOrvaneIniBase {
public:
    TOrvaneIniC();
    std::string ClientPath;
    ole::Variant Servers; // 0..1 x 0..n-1: addresses, then the port under each
    std::string LangType = "ENG";
    std::string CreateGifBeforeSendEF = "Y";
    std::string AutoCheckNewMsg = "1";
    std::string CheckInterval = "1";
    std::string PopupMsg = "1";
    std::string LoginCheck = "0";

private:
    bool Read();
};

class TOrvaneIniS : public TOrvaneIniBase {
public:
    TOrvaneIniS();
    std::string ServerPath;
    ole::Variant DBSettings; // 0..3 x 0..7
    uint8_t DBKind = 0;      // 1 ORACLE, 2 DB2, else 0
    std::string SystemControlAddress;
    std::string OtherSystemControlAddress;
    void GetWorkDLLPaths(rtl::TStrings& list) const;

private:
    bool Read();
};

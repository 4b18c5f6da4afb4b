// INI profiles with the semantics of the Windows profile functions: sections and keys without
// regard to case, the first match wins, values trimmed and stripped of one pair of surrounding
// quotes, ";" comment lines skipped. A missing or unreadable file reads as empty.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {
class TStrings;
}

namespace win {

class TIniFile {
public:
    explicit TIniFile(std::string fileName); // reads the file once
    ~TIniFile();
    const std::string& FileName() const { return FFileName; }
    bool Loaded() const; // the file existed and could be read

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // "1", "Y", "YES", "TRUE" (any case) are true; "0", "N", "NO", "FALSE" false; else def.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    void ReadSections(rtl::TStrings& out) const;
    void ReadSection(std::string_view section, rtl::TStrings& out) const;       // key names
    void ReadSectionValues(std::string_view section, rtl::TStrings& out) const; // name=value lines

private:
    struct Data;
    std::string FFileName;
    std::unique_ptr<Data> FData;
};

} // namespace win

// INI profiles with the semantics of the Windows profile functions: sections and keys without
// regard to case, the first match wins (for sections too), values trimmed and stripped of one
// pair of surrounding quotes, ";" comment lines skipped. A missing or unreadable file reads as
// empty. Lines without "=" are lines of their section (ReadSection lists them, ReadSectionValues
// gives them as they stand) but no key. A "[" line without "]" is such a line. The bytes are
// read as UTF-16 with a byte-order mark, as UTF-8 when they are (a UTF-8 mark is dropped), else
// as text in the ANSI code page.
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
    // A profile read from the given file bytes instead of a file; Loaded() is true.
    static TIniFile FromText(std::string_view bytes, std::string fileName = {});
    ~TIniFile();
    TIniFile(TIniFile&&) noexcept;
    TIniFile& operator=(TIniFile&&) noexcept;
    const std::string& FileName() const { return FFileName; }
    bool Loaded() const; // the file existed and could be read

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // "1", "Y", "YES", "TRUE" (any case) are true; "0", "N", "NO", "FALSE" false; else def.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    bool SectionExists(std::string_view section) const; // as the VCL: it has at least one line
    bool ValueExists(std::string_view section, std::string_view key) const;
    void ReadSections(rtl::TStrings& out) const;
    void ReadSection(std::string_view section, rtl::TStrings& out) const;       // key names
    void ReadSectionValues(std::string_view section, rtl::TStrings& out) const; // name=value lines

private:
    struct Tag {};
    TIniFile(Tag, std::string fileName);
    struct Data;
    std::string FFileName;
    std::unique_ptr<Data> FData;
};

} // namespace win

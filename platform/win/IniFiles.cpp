#include "platform/win/IniFiles.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/TextFile.h"

#include <unordered_map>

namespace win {

struct TIniFile::Data {
    struct Line {
        std::string Name;  // trimmed; the whole line when it has no "="
        std::string Value; // trimmed, quotes kept
        bool HasValue = false;
    };
    struct Section {
        std::string Name;
        std::vector<Line> Lines;
        std::unordered_map<std::string, size_t> First; // upper-case key -> first line with it
    };
    bool Loaded = false;
    std::vector<Section> Sections;
    std::unordered_map<std::string, size_t> SectionIndex; // upper-case name -> first section

    const Section* Find(std::string_view name) const {
        auto it = SectionIndex.find(rtl::UpperCase(rtl::Trim(name)));
        return it == SectionIndex.end() ? nullptr : &Sections[it->second];
    }
    const Line* Find(std::string_view section, std::string_view key) const {
        const Section* s = Find(section);
        if (!s) return nullptr;
        auto it = s->First.find(rtl::UpperCase(rtl::Trim(key)));
        return it == s->First.end() ? nullptr : &s->Lines[it->second];
    }

    void Parse(std::string_view text);
};

void TIniFile::Data::Parse(std::string_view text) {
    // Lines before the first section belong to no section and cannot be read. A later section
    // of a name already seen is parsed but never found: the first one wins.
    Section* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string line = rtl::Trim(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;

        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t close = line.rfind(']');
            if (close != std::string::npos) {
                Sections.push_back(
                    {rtl::Trim(std::string_view(line).substr(1, close - 1)), {}, {}});
                current = &Sections.back();
                SectionIndex.emplace(rtl::UpperCase(current->Name), Sections.size() - 1);
                continue;
            }
            // without its "]" the line is an ordinary line of the section it stands in
        }
        if (!current) continue;
        Line l;
        if (const size_t eq = line.find('='); eq != std::string::npos) {
            l.Name = rtl::Trim(std::string_view(line).substr(0, eq));
            l.Value = rtl::Trim(std::string_view(line).substr(eq + 1));
            l.HasValue = true;
            current->First.emplace(rtl::UpperCase(l.Name), current->Lines.size());
        } else {
            l.Name = line;
        }
        current->Lines.push_back(std::move(l));
    }
}

TIniFile::TIniFile(std::string fileName)
    : FFileName(std::move(fileName)), FData(std::make_unique<Data>()) {
    std::string bytes;
    FData->Loaded = detail::ReadWholeFile(FFileName, bytes);
    if (FData->Loaded) FData->Parse(detail::DecodeTextFile(bytes));
}

TIniFile TIniFile::FromText(std::string_view bytes, std::string fileName) {
    TIniFile ini(Tag{}, std::move(fileName));
    ini.FData->Loaded = true;
    ini.FData->Parse(detail::DecodeTextFile(bytes));
    return ini;
}

TIniFile::TIniFile(Tag, std::string fileName)
    : FFileName(std::move(fileName)), FData(std::make_unique<Data>()) {}

TIniFile::~TIniFile() = default;
TIniFile::TIniFile(TIniFile&&) noexcept = default;
TIniFile& TIniFile::operator=(TIniFile&&) noexcept = default;

bool TIniFile::Loaded() const {
    return FData->Loaded;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
    const Data::Line* line = FData->Find(section, key);
    if (!line) return std::string(def);
    std::string_view v = line->Value;
    // one pair of matching quotes around the value is removed
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    return rtl::StrToIntDef(ReadString(section, key, ""), def);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    const std::string v = rtl::UpperCase(ReadString(section, key, ""));
    if (v == "1" || v == "Y" || v == "YES" || v == "TRUE") return true;
    if (v == "0" || v == "N" || v == "NO" || v == "FALSE") return false;
    return def;
}

bool TIniFile::SectionExists(std::string_view section) const {
    const Data::Section* s = FData->Find(section);
    return s && !s->Lines.empty();
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FData->Find(section, key) != nullptr;
}

void TIniFile::ReadSections(rtl::TStrings& out) const {
    out.Clear();
    for (size_t i = 0; i < FData->Sections.size(); ++i) {
        const auto& s = FData->Sections[i];
        if (FData->SectionIndex.at(rtl::UpperCase(s.Name)) == i) out.Add(s.Name);
    }
}

void TIniFile::ReadSection(std::string_view section, rtl::TStrings& out) const {
    out.Clear();
    if (const Data::Section* s = FData->Find(section))
        for (const auto& l : s->Lines)
            out.Add(l.Name);
}

void TIniFile::ReadSectionValues(std::string_view section, rtl::TStrings& out) const {
    out.Clear();
    if (const Data::Section* s = FData->Find(section))
        for (const auto& l : s->Lines)
            out.Add(l.HasValue ? l.Name + "=" + l.Value : l.Name);
}

} // namespace win

// INI profiles: the bytes are read as a profile file and every section and key is read back.
#include "platform/rtl/Classes.h"
#include "platform/win/IniFiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const win::TIniFile ini = win::TIniFile::FromText(bytes);
    rtl::TStringList sections, names, values;
    ini.ReadSections(sections);
    for (int i = 0; i < sections.Count(); ++i) {
        const std::string section = sections[i];
        ini.ReadSection(section, names);
        ini.ReadSectionValues(section, values);
        if (names.Count() != values.Count()) std::abort();
        if (ini.SectionExists(section) != (names.Count() > 0)) std::abort();
        for (int k = 0; k < names.Count(); ++k) {
            ini.ReadString(section, names[k], "");
            ini.ReadInteger(section, names[k], 0);
            ini.ReadBool(section, names[k], false);
            // a line with "=" is a key (a line without one may share a key's name)
            if (values[k].size() > names[k].size() && !ini.ValueExists(section, names[k]))
                std::abort();
        }
    }
    return 0;
}

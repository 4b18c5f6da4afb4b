// The registry, read only, loaded from a text file in the Windows ".reg" export format.
// File: $ORVANE_REGISTRY, else $HOME/.orvane/registry.reg. Keys and value names compare without
// regard to case; the file is re-read when its modification time changes.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace win {

enum class HKEY { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS };

// The registry file in force (environment or default).
std::string RegistryFileName();

// One parsed registry file. Values are kept as text: REG_SZ as is, dword:xxxxxxxx as decimal,
// hex(1)/hex(2) (REG_SZ/REG_EXPAND_SZ as UTF-16LE bytes) as their text, other hex(...) data as
// the hex text ("01,02,ff"). The header line is optional; ";" lines are comments. Lines that
// cannot be read are skipped; a key path with a missing bracket is ignored with its values.
// "[-Key]" deletes the key with its subkeys, "Name"=- the value; a later value of the same name
// replaces the earlier one, as an import does.
class RegistryStore {
public:
    bool LoadFromFile(const std::string& fileName); // false when missing or unreadable
    void LoadFromText(std::string_view text);
    bool KeyExists(HKEY root, std::string_view path) const;
    // false when the key or the value is missing
    bool ReadValue(HKEY root, std::string_view path, std::string_view name, std::string& out) const;
    std::vector<std::string> ValueNames(HKEY root, std::string_view path) const;
    std::vector<std::string> SubKeyNames(HKEY root, std::string_view path) const;

    RegistryStore();
    ~RegistryStore();
    RegistryStore(RegistryStore&&) noexcept;
    RegistryStore& operator=(RegistryStore&&) noexcept;

private:
    struct Data;
    std::unique_ptr<Data> FData;
};

// The process's view of the registry file (reloaded when the file changes).
const RegistryStore& Registry();

// Delphi's TRegistry in the read-only shape the system uses it. A path with a leading "\" starts
// at the root key; any other is relative to the open key when one is open, as in the VCL.
class TRegistry {
public:
    HKEY RootKey = HKEY::HKEY_CURRENT_USER;
    bool OpenKeyReadOnly(std::string_view path); // false when the key does not exist
    bool KeyExists(std::string_view path) const;
    bool ValueExists(std::string_view name) const;
    std::string ReadString(std::string_view name) const; // "" when the value is missing
    std::vector<std::string> GetValueNames() const;
    std::vector<std::string> GetKeyNames() const;
    void CloseKey();
    const std::string& CurrentPath() const { return FPath; }

private:
    bool FOpen = false;
    HKEY FOpenRoot = HKEY::HKEY_CURRENT_USER; // the root the open key was opened under
    std::string FPath;
};

} // namespace win

#include "platform/win/Registry.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/TextFile.h"

#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace win {

namespace {

bool ParseRoot(std::string_view name, HKEY& root) {
    static const struct {
        const char* Long;
        const char* Short;
        HKEY Root;
    } roots[] = {{"HKEY_CLASSES_ROOT", "HKCR", HKEY::HKEY_CLASSES_ROOT},
                 {"HKEY_CURRENT_USER", "HKCU", HKEY::HKEY_CURRENT_USER},
                 {"HKEY_LOCAL_MACHINE", "HKLM", HKEY::HKEY_LOCAL_MACHINE},
                 {"HKEY_USERS", "HKU", HKEY::HKEY_USERS}};
    for (const auto& r : roots) {
        if (rtl::SameText(name, r.Long) || rtl::SameText(name, r.Short)) {
            root = r.Root;
            return true;
        }
    }
    return false;
}

// The segments of a key path; empty segments ("\\", leading or trailing "\") are dropped.
std::vector<std::string_view> Segments(std::string_view path) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) out.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// Keys deeper than this are ignored, as the system refuses them; it also bounds the recursion
// of walking and freeing the key tree.
constexpr size_t MaxKeyDepth = 512;

// Reads a quoted text starting at s[i] == '"' with the escapes "\\" and "\""; other escapes keep
// their backslash. false when the closing quote is missing.
bool ReadQuoted(std::string_view s, size_t& i, std::string& out) {
    out.clear();
    for (++i; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            ++i;
            return true;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            out += s[++i];
            continue;
        }
        out += c;
    }
    return false;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "01,02,ff" (blanks and line continuations already removed) to bytes; a trailing comma is
// allowed. false when an item is not one or two hex digits.
bool ParseHexBytes(std::string_view s, std::string& bytes) {
    bytes.clear();
    while (!s.empty() && s.back() == ',')
        s.remove_suffix(1);
    if (s.empty()) return true;
    size_t start = 0;
    for (;;) {
        size_t end = s.find(',', start);
        if (end == std::string_view::npos) end = s.size();
        const std::string_view item = s.substr(start, end - start);
        if (item.empty() || item.size() > 2) return false;
        int v = 0;
        for (char c : item) {
            const int d = HexDigit(c);
            if (d < 0) return false;
            v = v * 16 + d;
        }
        bytes += static_cast<char>(v);
        if (end == s.size()) return true;
        start = end + 1;
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

// ---------------------------------------------------------------------------------------------

struct RegistryStore::Data {
    struct Value {
        std::string Name;
        std::string Text;
        bool Deleted = false;
    };
    // A key holds its children by upper-case name; names and values keep the order of the file.
    // Deletions leave the entry in the order list and drop it from the index, so that a file of
    // many deletions stays linear.
    struct Key {
        std::vector<Value> Values;
        std::unordered_map<std::string, size_t> ValueIndex; // upper-case name -> index
        struct Child {
            std::string Name; // as spelt first
            std::unique_ptr<Key> Node;
            uint64_t Serial = 0; // tells a re-created child from the deleted one
        };
        std::unordered_map<std::string, Child> Children;     // upper-case name -> child
        std::vector<std::pair<std::string, uint64_t>> Order; // upper-case name, serial
    };
    Key Roots[4];
    uint64_t NextSerial = 1;

    Key& Root(HKEY root) { return Roots[static_cast<int>(root)]; }

    const Key* Find(HKEY root, std::string_view path) const {
        const Key* key = &Roots[static_cast<int>(root)];
        for (std::string_view seg : Segments(path)) {
            auto it = key->Children.find(rtl::UpperCase(seg));
            if (it == key->Children.end()) return nullptr;
            key = it->second.Node.get();
        }
        return key;
    }

    // Creates the key with all its parents; answers the key.
    Key& Create(HKEY root, const std::vector<std::string_view>& segs) {
        Key* key = &Root(root);
        for (std::string_view seg : segs) {
            std::string upper = rtl::UpperCase(seg);
            auto it = key->Children.find(upper);
            if (it == key->Children.end()) {
                Key::Child child{std::string(seg), std::make_unique<Key>(), NextSerial++};
                key->Order.emplace_back(upper, child.Serial);
                it = key->Children.emplace(std::move(upper), std::move(child)).first;
            }
            key = it->second.Node.get();
        }
        return *key;
    }

    void Delete(HKEY root, const std::vector<std::string_view>& segs) {
        if (segs.empty()) return; // a root cannot be deleted
        Key* parent = &Root(root);
        for (size_t i = 0; i + 1 < segs.size(); ++i) {
            auto it = parent->Children.find(rtl::UpperCase(segs[i]));
            if (it == parent->Children.end()) return;
            parent = it->second.Node.get();
        }
        parent->Children.erase(rtl::UpperCase(segs.back()));
    }

    static void SetValue(Key& key, const std::string& name, std::string text) {
        std::string upper = rtl::UpperCase(name);
        auto it = key.ValueIndex.find(upper);
        if (it != key.ValueIndex.end()) {
            key.Values[it->second].Text = std::move(text);
            return;
        }
        key.ValueIndex.emplace(std::move(upper), key.Values.size());
        key.Values.push_back({name, std::move(text)});
    }

    static void DeleteValue(Key& key, const std::string& name) {
        auto it = key.ValueIndex.find(rtl::UpperCase(name));
        if (it == key.ValueIndex.end()) return;
        key.Values[it->second].Deleted = true;
        key.ValueIndex.erase(it);
    }

    void Parse(std::string_view text);
};

namespace {

// Splits at CR LF, LF or CR.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string_view TrimView(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

// Value data to the stored text; false when the data cannot be read.
bool ParseData(std::string_view data, std::string& out) {
    if (!data.empty() && data[0] == '"') {
        size_t i = 0;
        return ReadQuoted(data, i, out);
    }
    if (rtl::StartsText("dword:", data)) {
        const std::string_view digits = TrimView(data.substr(6));
        if (digits.empty() || digits.size() > 8) return false;
        uint32_t v = 0;
        for (char c : digits) {
            const int d = HexDigit(c);
            if (d < 0) return false;
            v = v * 16 + static_cast<uint32_t>(d);
        }
        out = std::to_string(v);
        return true;
    }
    if (rtl::StartsText("hex", data)) {
        size_t colon = data.find(':');
        if (colon == std::string_view::npos) return false;
        const std::string_view kind = data.substr(3, colon - 3); // "" or "(2)"
        std::string hex;
        for (char c : data.substr(colon + 1))
            if (!IsBlank(c) && c != '\\')
                hex += static_cast<char>(c >= 'A' && c <= 'F' ? c + 32 : c);
        std::string bytes;
        if (!ParseHexBytes(hex, bytes)) return false;
        if (kind == "(1)" || kind == "(2)") {
            // REG_SZ / REG_EXPAND_SZ written as UTF-16LE bytes: read as the text up to its NUL
            std::string text = detail::Utf16ToUtf8(bytes, false);
            if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
            out = std::move(text);
            return true;
        }
        if (!kind.empty() && (kind.size() < 3 || kind.front() != '(' || kind.back() != ')'))
            return false;
        while (!hex.empty() && hex.back() == ',')
            hex.pop_back();
        out = std::move(hex);
        return true;
    }
    return false;
}

} // namespace

void RegistryStore::Data::Parse(std::string_view text) {
    const std::vector<std::string_view> lines = Lines(text);
    Key* current = nullptr;
    std::string joined;
    for (size_t n = 0; n < lines.size(); ++n) {
        std::string_view line = TrimView(lines[n]);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            current = nullptr;
            const size_t close = line.rfind(']');
            if (close == std::string_view::npos) continue; // ignored with its values
            std::string_view path = line.substr(1, close - 1);
            const bool remove = !path.empty() && path[0] == '-';
            if (remove) path.remove_prefix(1);
            auto segs = Segments(path);
            HKEY root;
            if (segs.empty() || !ParseRoot(segs.front(), root)) continue;
            segs.erase(segs.begin());
            if (segs.size() > MaxKeyDepth) continue; // ignored with its values
            if (remove)
                Delete(root, segs);
            else
                current = &Create(root, segs);
            continue;
        }
        // value line: "Name"=data or @=data
        std::string name;
        size_t i = 0;
        if (line[0] == '@') {
            i = 1;
        } else if (line[0] == '"') {
            if (!ReadQuoted(line, i, name)) continue;
        } else {
            continue; // the header line, or something unreadable
        }
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i >= line.size() || line[i] != '=') continue;
        std::string_view data = TrimView(line.substr(i + 1));
        // hex data continues on the next lines while a line ends in "\"
        if (rtl::StartsText("hex", data) && !data.empty() && data.back() == '\\') {
            joined.assign(data);
            while (!joined.empty() && joined.back() == '\\' && n + 1 < lines.size()) {
                joined.pop_back();
                joined.append(TrimView(lines[++n]));
            }
            data = joined;
        }
        if (!current) continue;
        if (data == "-") {
            DeleteValue(*current, name);
            continue;
        }
        std::string value;
        if (ParseData(data, value)) SetValue(*current, name, std::move(value));
    }
}

RegistryStore::RegistryStore() : FData(std::make_unique<Data>()) {}
RegistryStore::~RegistryStore() = default;
RegistryStore::RegistryStore(RegistryStore&&) noexcept = default;
RegistryStore& RegistryStore::operator=(RegistryStore&&) noexcept = default;

bool RegistryStore::LoadFromFile(const std::string& fileName) {
    std::string bytes;
    if (!detail::ReadWholeFile(fileName, bytes)) {
        FData = std::make_unique<Data>();
        return false;
    }
    LoadFromText(detail::DecodeTextFile(bytes));
    return true;
}

void RegistryStore::LoadFromText(std::string_view text) {
    auto data = std::make_unique<Data>();
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    data->Parse(text);
    FData = std::move(data);
}

bool RegistryStore::KeyExists(HKEY root, std::string_view path) const {
    return Segments(path).empty() || FData->Find(root, path) != nullptr;
}

bool RegistryStore::ReadValue(HKEY root, std::string_view path, std::string_view name,
                              std::string& out) const {
    const Data::Key* key = FData->Find(root, path);
    if (!key) return false;
    auto it = key->ValueIndex.find(rtl::UpperCase(name));
    if (it == key->ValueIndex.end()) return false;
    out = key->Values[it->second].Text;
    return true;
}

std::vector<std::string> RegistryStore::ValueNames(HKEY root, std::string_view path) const {
    std::vector<std::string> names;
    if (const Data::Key* key = FData->Find(root, path))
        for (const auto& v : key->Values)
            if (!v.Deleted) names.push_back(v.Name);
    return names;
}

std::vector<std::string> RegistryStore::SubKeyNames(HKEY root, std::string_view path) const {
    std::vector<std::string> names;
    const Data::Key* key = FData->Find(root, path);
    if (!key) return names;
    // an entry counts while its name still leads to the child it was made for
    for (const auto& [upper, serial] : key->Order) {
        auto it = key->Children.find(upper);
        if (it != key->Children.end() && it->second.Serial == serial)
            names.push_back(it->second.Name);
    }
    return names;
}

// ---------------------------------------------------------------------------------------------

std::string RegistryFileName() {
    if (const char* env = std::getenv("ORVANE_REGISTRY"); env && *env) return env;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else {
        struct passwd pw;
        struct passwd* found = nullptr;
        char buf[4096];
        if (::getpwuid_r(::geteuid(), &pw, buf, sizeof buf, &found) == 0 && found)
            home = found->pw_dir;
    }
    if (home.empty()) home = "/";
    if (home.back() != '/') home += '/';
    return home + ".orvane/registry.reg";
}

namespace {

// What identifies one version of the file: a rewrite changes the time, size or inode.
struct FileStamp {
    bool Exists = false;
    int64_t Sec = 0, Nsec = 0, Size = 0;
    uint64_t Inode = 0, Device = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path) {
    FileStamp s;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return s;
    s.Exists = true;
    s.Sec = st.st_mtim.tv_sec;
    s.Nsec = st.st_mtim.tv_nsec;
    s.Size = st.st_size;
    s.Inode = st.st_ino;
    s.Device = st.st_dev;
    return s;
}

} // namespace

const RegistryStore& Registry() {
    static std::mutex lock;
    static RegistryStore store;
    static std::string loadedName;
    static FileStamp loadedStamp;
    static bool loaded = false;
    std::lock_guard<std::mutex> guard(lock);
    const std::string name = RegistryFileName();
    const FileStamp stamp = StampOf(name);
    if (!loaded || name != loadedName || !(stamp == loadedStamp)) {
        store.LoadFromFile(name);
        loadedName = name;
        loadedStamp = stamp;
        loaded = true;
    }
    return store;
}

// ---------------------------------------------------------------------------------------------

namespace {

// A path with a leading "\" is absolute; any other is relative to the open key, as the VCL
// class has it.
std::string ResolvePath(bool open, const std::string& current, std::string_view path) {
    if (!path.empty() && path[0] == '\\') return std::string(path.substr(1));
    if (!open || current.empty()) return std::string(path);
    return current + "\\" + std::string(path);
}

} // namespace

bool TRegistry::OpenKeyReadOnly(std::string_view path) {
    const std::string full = ResolvePath(FOpen, FPath, path);
    const HKEY root = FOpen ? FOpenRoot : RootKey;
    if (!Registry().KeyExists(root, full)) return false;
    FOpen = true;
    FOpenRoot = root;
    FPath = full;
    return true;
}

bool TRegistry::KeyExists(std::string_view path) const {
    const HKEY root = FOpen ? FOpenRoot : RootKey;
    return Registry().KeyExists(root, ResolvePath(FOpen, FPath, path));
}

bool TRegistry::ValueExists(std::string_view name) const {
    std::string unused;
    return FOpen && Registry().ReadValue(FOpenRoot, FPath, name, unused);
}

std::string TRegistry::ReadString(std::string_view name) const {
    std::string value;
    if (!FOpen || !Registry().ReadValue(FOpenRoot, FPath, name, value)) return {};
    return value;
}

std::vector<std::string> TRegistry::GetValueNames() const {
    return FOpen ? Registry().ValueNames(FOpenRoot, FPath) : std::vector<std::string>{};
}

std::vector<std::string> TRegistry::GetKeyNames() const {
    return FOpen ? Registry().SubKeyNames(FOpenRoot, FPath) : std::vector<std::string>{};
}

void TRegistry::CloseKey() {
    FOpen = false;
    FPath.clear();
}

} // namespace win

#include "platform/win/TextFile.h"

#include "platform/win/CodePage.h"
#include "platform/win/Windows.h"

#include "platform/rtl/SysUtils.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win::detail {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        bytes.reserve(static_cast<size_t>(st.st_size));
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            bytes.append(buf, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    if (!ok) bytes.clear();
    return ok;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const size_t units = bytes.size() / 2;
    const auto unit = [&](size_t i) -> char16_t {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::string out;
    out.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        const char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char16_t v = unit(i + 1);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                rtl::AppendUtf8(out,
                                0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(v) - 0xDC00));
                ++i;
                continue;
            }
        }
        rtl::AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? char32_t{0xFFFD} : char32_t{u});
    }
    return out;
}

std::string DecodeTextFile(std::string_view bytes) {
    const auto starts = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
    if (starts("\xFF\xFE")) return Utf16ToUtf8(bytes.substr(2), false);
    if (starts("\xFE\xFF")) return Utf16ToUtf8(bytes.substr(2), true);
    if (starts("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string text;
    if (CodePageToWide(GetACP(), bytes, text)) return text;
    CodePageToWide(1252, bytes, text);
    return text;
}

} // namespace win::detail

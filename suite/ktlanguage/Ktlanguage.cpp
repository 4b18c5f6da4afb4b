#include "suite/ktlanguage/Ktlanguage.h"

#include <SimpleConverter.hpp>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace {

thread_local std::string LastError;

struct Converters {
    std::mutex Lock;
    std::unique_ptr<opencc::SimpleConverter> ToTraditional, ToSimplified;
};

Converters& State() {
    static Converters c;
    return c;
}

bool IsUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        size_t n;
        if (b < 0x80) {
            n = 0;
        } else if (b >= 0xC2 && b <= 0xDF) {
            n = 1;
        } else if ((b & 0xF0) == 0xE0) {
            n = 2;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 3;
        } else {
            return false;
        }
        if (i + n >= s.size() && n > 0) return false;
        for (size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n + 1;
    }
    return true;
}

long Convert(bool toTraditional, const char* source, size_t length, char* target, size_t size) {
    LastError.clear();
    if (size > 0) target[0] = '\0';
    const std::string_view in(source ? source : "", source ? length : 0);
    if (!IsUtf8(in)) {
        LastError = "the text is not UTF-8";
        return -1;
    }
    std::string out;
    try {
        Converters& c = State();
        std::lock_guard<std::mutex> g(c.Lock);
        auto& conv = toTraditional ? c.ToTraditional : c.ToSimplified;
        if (!conv)
            conv = std::make_unique<opencc::SimpleConverter>(toTraditional ? "s2tw.json"
                                                                           : "tw2s.json");
        // OpenCC reads up to a zero byte: convert the pieces between them.
        for (size_t start = 0; start <= in.size();) {
            size_t end = in.find('\0', start);
            if (end == std::string_view::npos) end = in.size();
            if (end > start) out += conv->Convert(std::string(in.substr(start, end - start)));
            if (end < in.size()) out += '\0';
            start = end + 1;
        }
    } catch (const std::exception& e) {
        LastError = std::string("OpenCC: ") + e.what();
        return -1;
    }
    if (out.size() < size) {
        std::memcpy(target, out.data(), out.size());
        target[out.size()] = '\0';
    }
    return static_cast<long>(out.size());
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) long GBtoBIG5(const char* source, size_t sourceLength,
                                                     char* target, size_t targetSize) {
    return Convert(true, source, sourceLength, target, targetSize);
}

__attribute__((visibility("default"))) long BIG5toGB(const char* source, size_t sourceLength,
                                                     char* target, size_t targetSize) {
    return Convert(false, source, sourceLength, target, targetSize);
}

__attribute__((visibility("default"))) const char* KtLastError(void) {
    return LastError.c_str();
}
}

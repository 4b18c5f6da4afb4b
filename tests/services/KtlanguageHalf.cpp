// A language library with only one of its two conversion entries.
#include <cstddef>
#include <cstring>

extern "C" __attribute__((visibility("default"))) long GBtoBIG5(const char* source, size_t length,
                                                                char* target, size_t size) {
    if (length < size) std::memcpy(target, source, length), target[length] = '\0';
    return static_cast<long>(length);
}

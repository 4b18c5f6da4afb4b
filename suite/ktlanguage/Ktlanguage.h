// The maker's language library Ktlanguage.so: simplified <-> traditional Chinese over OpenCC.
//
// Calling form of both entries:
//   long GBtoBIG5(const char* source, size_t sourceLength, char* target, size_t targetSize)
//   long BIG5toGB(const char* source, size_t sourceLength, char* target, size_t targetSize)
// source holds sourceLength bytes of UTF-8 (no terminating zero needed; zero bytes pass
// through). The converted UTF-8 text goes into the caller's buffer target of targetSize bytes,
// followed by a zero byte. The answer is the converted text's length in bytes (without the
// zero): when it is targetSize or more, nothing was written (target[0] is zero when targetSize
// is not 0) and the caller calls again with a buffer of at least answer + 1 bytes. -1 when the
// text is not UTF-8 or the OpenCC configuration cannot be opened; KtLastError then tells why.
// The caller owns every buffer: nothing is allocated for it and nothing needs to be freed.
//
// GBtoBIG5 uses OpenCC's "s2tw.json" (simplified to the Taiwan standard forms that Big5 holds),
// BIG5toGB "tw2s.json"; the two are each other's inverse for the suite's texts. The converters
// are opened on the first call and kept until the library is unloaded.
//
// Thread-safe: calls from several threads are serialised inside the library. KtLastError's text
// belongs to the calling thread and stays valid until its next call.
#pragma once

#include <cstddef>

extern "C" {
long GBtoBIG5(const char* source, size_t sourceLength, char* target, size_t targetSize);
long BIG5toGB(const char* source, size_t sourceLength, char* target, size_t targetSize);
const char* KtLastError(void);
}

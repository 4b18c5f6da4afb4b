/* The glyph library RvRes.so: numbered button pictures.
 *
 * A glyph is a 24-bit picture of one or more square images side by side (normal, then
 * disabled), each as wide as the picture is high, on an olive background (0x808000 as
 * 0x00RRGGBB) that is the picture's transparent colour, as the lower-left pixel shows.
 *
 * LoadBmp does not write into the caller's memory: it asks the caller for the size, then hands
 * over the rows one by one. The caller decides where they go (a vcl::TBitmap's scan lines, see
 * RvLoadInto below), so no class layout crosses the module boundary.
 */
#pragma once

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

typedef struct RvBitmapSink {
    unsigned StructSize; /* sizeof(RvBitmapSink); a smaller value makes LoadBmp fail */
    void* Context;       /* passed back to the callbacks */
    /* The picture's size; answers non-zero to accept it. */
    int (*SetSize)(void* context, int width, int height);
    /* Row y, the top row first: width pixels of three bytes each, blue, green, red. */
    void (*PutRow)(void* context, int y, const unsigned char* bgr);
} RvBitmapSink;

/* The highest glyph number; numbers start at 1 and some in between have no picture. */
int GetMaxBmpID(void);
/* bitmap: an RvBitmapSink*. False for a number without a picture, a null or too small sink,
 * or a refused size; the callbacks are then not called (or SetSize only). */
bool LoadBmp(void* bitmap, int id);

typedef int (*RvGetMaxBmpIDFn)(void);
typedef bool (*RvLoadBmpFn)(void* bitmap, int id);

#ifdef __cplusplus
} /* extern "C" */

#include <cstring>

/* Loads glyph id into a vcl::TBitmap (any class with its SetPixelFormat, SetSize, ScanLine and
 * Assign); the bitmap is left as it was when the load fails. */
template <class Bitmap> bool RvLoadInto(RvLoadBmpFn loadBmp, Bitmap& bitmap, int id) {
    struct Target {
        Bitmap Fresh;
        int Width = 0, Height = 0;
    } target;
    RvBitmapSink sink{};
    sink.StructSize = sizeof(RvBitmapSink);
    sink.Context = &target;
    sink.SetSize = [](void* ctx, int w, int h) -> int {
        auto* t = static_cast<Target*>(ctx);
        if (w <= 0 || h <= 0 || w > 4096 || h > 4096) return 0;
        t->Fresh.SetPixelFormat(decltype(t->Fresh.GetPixelFormat())::pf24bit);
        t->Fresh.SetSize(w, h);
        t->Width = w;
        t->Height = h;
        return 1;
    };
    sink.PutRow = [](void* ctx, int y, const unsigned char* bgr) {
        auto* t = static_cast<Target*>(ctx);
        if (y >= 0 && y < t->Height) std::memcpy(t->Fresh.ScanLine(y), bgr, size_t(t->Width) * 3);
    };
    if (!loadBmp || !loadBmp(&sink, id) || target.Width == 0) return false;
    bitmap.Assign(&target.Fresh);
    return true;
}
#endif

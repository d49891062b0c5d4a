// Forced into every source of the instrumented build: each call that makes or frees a
// GDI object is counted on its way to the platform, so that a handle leaked anywhere,
// owned by a guard or not, shows in the count that the stress test reads.
#pragma once

#include <windows.h>

#include <atomic>

// Atomic: the motion player draws from a thread of its own.
struct GdiLedger {
    std::atomic<long> live{0};              // held right now; between paints, only the frame memory
    std::atomic<unsigned long> created{0};  // ever, to show that the counting runs at all
};

inline GdiLedger& LiveGdiObjects()
{
    static GdiLedger ledger;
    return ledger;
}

template <typename Handle>
Handle CountMade(Handle handle)
{
    if (handle) {
        ++LiveGdiObjects().live;
        ++LiveGdiObjects().created;
    }
    return handle;
}

inline BOOL CountFreed(BOOL freed)
{
    if (freed) --LiveGdiObjects().live;
    return freed;
}

inline HDC CountedGetDC(HWND window) { return CountMade(GetDC(window)); }
inline int CountedReleaseDC(HWND window, HDC dc) { return CountFreed(ReleaseDC(window, dc)); }
inline HDC CountedCreateCompatibleDC(HDC dc) { return CountMade(CreateCompatibleDC(dc)); }
inline HDC CountedCreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode)
{
    return CountMade(CreateDCA(driver, device, port, mode));
}
inline BOOL CountedDeleteDC(HDC dc) { return CountFreed(DeleteDC(dc)); }
inline HBRUSH CountedCreateDIBPatternBrushPt(const void* packed, UINT usage)
{
    return CountMade(CreateDIBPatternBrushPt(packed, usage));
}
inline HBITMAP CountedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                       DWORD offset)
{
    return CountMade(CreateDIBSection(dc, info, usage, bits, section, offset));
}
inline BOOL CountedDeleteObject(HGDIOBJ object) { return CountFreed(DeleteObject(object)); }

#define GetDC CountedGetDC
#define ReleaseDC CountedReleaseDC
#define CreateCompatibleDC CountedCreateCompatibleDC
#define CreateDCA CountedCreateDCA
#define DeleteDC CountedDeleteDC
#define CreateDIBPatternBrushPt CountedCreateDIBPatternBrushPt
#define CreateDIBSection CountedCreateDIBSection
#define DeleteObject CountedDeleteObject

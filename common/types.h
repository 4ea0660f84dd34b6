#pragma once
// The small value types the portable code shares with the Win32 layer.
#include <algorithm>
#include <cstdint>

// Milliseconds of the system's 64-bit tick clock, so that a count or a queue of press
// times never meets the 49.7-day wrap of the 32-bit counter.
using Tick = std::uint64_t;

// A colour in the platform's COLORREF layout: 0x00BBGGRR.
using Color = std::uint32_t;

constexpr Color rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned redOf(Color c) { return c & 0xFFu; }
constexpr unsigned greenOf(Color c) { return (c >> 8) & 0xFFu; }
constexpr unsigned blueOf(Color c) { return (c >> 16) & 0xFFu; }

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive, as in the platform's RECT.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect inflated(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The part of `a` that lies in `b`; empty() when they do not meet.
inline Rect intersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// round(x) of the pixel rules: x + 0.5 truncated toward zero, in double precision.
inline int roundHalfUp(double x) { return static_cast<int>(x + 0.5); }

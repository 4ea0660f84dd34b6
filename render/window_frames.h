#pragma once
// Two ways to show a frame, one composition of it. Through the colour key (the default): the
// frame is composed in the back buffer and copied to the window in its paint; every pixel in
// the key colour is see-through and the whole window has the chosen opacity. With per-pixel
// alpha: the frame is composed with the alpha of every pixel in a premultiplied bitmap and
// handed to the window, which the system blends over whatever lies behind it. Keys, panel,
// glow and grip are drawn through a canvas and know neither.
#include <optional>
#include <span>

#include "common/types.h"
#include "render/back_buffer.h"
#include "render/frame.h"
#include "render/pixel_buffer.h"
#include "settings/app_settings.h"

class GdiResources;

// A value other than the two the menu offers (from an edited file) is taken as per-pixel
// alpha, the choice the menu then marks.
inline bool usesPerPixelAlpha(int rendermode) { return rendermode != RENDER_COLOR_KEY; }

// What the window's frames are kept in from one paint to the next.
struct WindowFrames {
    BackBuffer backBuffer;    // the colour-keyed frame
    PixelBuffer composed;     // the per-pixel frame as composed (whole keys, outside the areas too)
    PixelBuffer shown;        // and as the window was last given it
    bool shownWhole = false;  // the window has had `shown` whole since it was made
};

// One paint: the window, a DC of it, its client rectangle, the areas to bring up to date and
// the window's opacity.
struct FramePaint {
    void* window = nullptr;  // HWND
    void* dc = nullptr;      // HDC: the paint's, or the window's for a paint outside its paint message
    Rect client;
    std::span<const Rect> areas;
    unsigned char alpha = 255;
};

// The one rectangle handed to the window as changed: around every area, within the client.
Rect dirtyRect(std::span<const Rect> areas, const Rect& client);

// Through the colour key: composes what reaches the areas into the back buffer (made at the
// client's size) and copies it to the window. Whether the speed panel was drawn whole, or
// none when there is no buffer.
std::optional<bool> paintColorKeyFrame(WindowFrames& frames, GdiResources& resources, const FramePaint& paint,
                                       const FrameContext& context);
// The window shown through the colour key at `alpha`.
void showThroughColorKey(void* window, unsigned char alpha);

// With per-pixel alpha: the same, composed with each pixel's alpha and handed to the window
// at `paint.alpha`; the first paint after the buffers were made hands over the whole frame.
std::optional<bool> paintPerPixelFrame(WindowFrames& frames, GdiResources& resources, const FramePaint& paint,
                                       const FrameContext& context);

// A layered window that has been given a colour key or opacity takes no per-pixel picture
// until its layered style has been taken away and given back; this does that.
void resetLayeredStyle(void* window);

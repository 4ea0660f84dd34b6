#pragma once
// Pictures drawn once and copied from then on (the face of each lit key, its glow drawn over
// it), within a budget of memory: the least lately used give way to new ones. A picture of
// the colour-keyed frame is a bitmap of the frame's own format; one of the per-pixel frame
// holds premultiplied pixels. The same key names a different picture in each.
#include <cstddef>
#include <vector>

#include "render/canvas.h"
#include "render/pixel_buffer.h"

class KeptPictures {
public:
    KeptPictures() = default;
    ~KeptPictures() { release(); }
    KeptPictures(const KeptPictures&) = delete;
    KeptPictures& operator=(const KeptPictures&) = delete;

    // The DC (an HDC) of the picture kept under `key`, or null.
    void* find(const PictureKey& key);
    // A new picture for `key`, in the format of the bitmap selected in `frameDc`; its pixels
    // are undefined until drawn. Null when it cannot be made, or when pictures this large
    // would not stay: fewer than MIN_KEPT of them fit the budget, and typing would make and
    // drop one at every key (the caller then draws directly).
    void* make(const PictureKey& key, void* frameDc);
    // The same for pictures of premultiplied pixels.
    PixelBuffer* findPixels(const PictureKey& key);
    PixelBuffer* makePixels(const PictureKey& key);
    void release();

    // About seventy keys at scale 1.0; pictures are kept up to a scale of about 1.5.
    static constexpr std::size_t BUDGET_BYTES = std::size_t{1} << 20;
    static constexpr std::size_t MIN_KEPT = 32;

private:
    struct Picture {
        PictureKey key;
        bool premultiplied = false;
        void* dc = nullptr;        // HDC
        void* bitmap = nullptr;    // HBITMAP
        void* previous = nullptr;  // the DC's own bitmap, put back before the DC goes
        PixelBuffer pixels;        // of a premultiplied picture
        unsigned lastUse = 0;
    };
    static std::size_t bytesOf(const PictureKey& key);
    Picture* lookUp(const PictureKey& key, bool premultiplied);
    // Room for a picture of `key`; false when it is too large to be kept.
    bool makeRoom(const PictureKey& key);
    void evictLeastLatelyUsed();
    static void destroy(Picture& picture);

    std::vector<Picture> pictures_;
    std::size_t bytes_ = 0;
    unsigned uses_ = 0;
};

#pragma once
// Pictures drawn once and copied from then on (the face of each lit key, its glow drawn over
// it), each in a bitmap of the frame's own format, within a budget of memory: the least
// lately used give way to new ones.
#include <cstddef>
#include <vector>

#include "render/canvas.h"

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
    void release();

    // About seventy keys at scale 1.0; pictures are kept up to a scale of about 1.5.
    static constexpr std::size_t BUDGET_BYTES = std::size_t{1} << 20;
    static constexpr std::size_t MIN_KEPT = 32;

private:
    struct Picture {
        PictureKey key;
        void* dc = nullptr;        // HDC
        void* bitmap = nullptr;    // HBITMAP
        void* previous = nullptr;  // the DC's own bitmap, put back before the DC goes
        unsigned lastUse = 0;
    };
    static std::size_t bytesOf(const PictureKey& key);
    void evictLeastLatelyUsed();
    static void destroy(Picture& picture);

    std::vector<Picture> pictures_;
    std::size_t bytes_ = 0;
    unsigned uses_ = 0;
};

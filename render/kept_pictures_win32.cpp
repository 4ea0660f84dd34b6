#include "render/kept_pictures_win32.h"

#include <windows.h>

#include <algorithm>

std::size_t KeptPictures::bytesOf(const PictureKey& key) {
    return static_cast<std::size_t>(key.size.width) * static_cast<std::size_t>(key.size.height) * 4;
}

void* KeptPictures::find(const PictureKey& key) {
    for (Picture& picture : pictures_) {
        if (picture.key == key) {
            picture.lastUse = ++uses_;
            return picture.dc;
        }
    }
    return nullptr;
}

void* KeptPictures::make(const PictureKey& key, void* frameDc) {
    const std::size_t bytes = bytesOf(key);
    if (key.size.width <= 0 || key.size.height <= 0 || bytes * MIN_KEPT > BUDGET_BYTES) return nullptr;
    while (!pictures_.empty() && bytes_ + bytes > BUDGET_BYTES) evictLeastLatelyUsed();
    HDC frame = static_cast<HDC>(frameDc);
    HDC dc = CreateCompatibleDC(frame);
    HBITMAP bitmap = dc ? CreateCompatibleBitmap(frame, key.size.width, key.size.height) : nullptr;
    if (!bitmap) {
        if (dc) DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    pictures_.push_back({key, dc, bitmap, previous, ++uses_});
    bytes_ += bytes;
    return dc;
}

void KeptPictures::evictLeastLatelyUsed() {
    const auto oldest = std::min_element(pictures_.begin(), pictures_.end(),
                                         [](const Picture& a, const Picture& b) { return a.lastUse < b.lastUse; });
    bytes_ -= bytesOf(oldest->key);
    destroy(*oldest);
    pictures_.erase(oldest);
}

void KeptPictures::destroy(Picture& picture) {
    if (picture.previous) SelectObject(static_cast<HDC>(picture.dc), static_cast<HGDIOBJ>(picture.previous));
    DeleteDC(static_cast<HDC>(picture.dc));
    DeleteObject(static_cast<HBITMAP>(picture.bitmap));
}

void KeptPictures::release() {
    for (Picture& picture : pictures_) destroy(picture);
    pictures_.clear();
    bytes_ = 0;
}

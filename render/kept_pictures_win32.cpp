#include "render/kept_pictures_win32.h"

#include <windows.h>

#include <algorithm>

std::size_t KeptPictures::bytesOf(const PictureKey& key) {
    return static_cast<std::size_t>(key.size.width) * static_cast<std::size_t>(key.size.height) * 4;
}

KeptPictures::Picture* KeptPictures::lookUp(const PictureKey& key, bool premultiplied) {
    for (Picture& picture : pictures_) {
        if (picture.premultiplied == premultiplied && picture.key == key) {
            picture.lastUse = ++uses_;
            return &picture;
        }
    }
    return nullptr;
}

void* KeptPictures::find(const PictureKey& key) {
    Picture* picture = lookUp(key, false);
    return picture ? picture->dc : nullptr;
}

PixelBuffer* KeptPictures::findPixels(const PictureKey& key) {
    Picture* picture = lookUp(key, true);
    return picture ? &picture->pixels : nullptr;
}

bool KeptPictures::makeRoom(const PictureKey& key) {
    const std::size_t bytes = bytesOf(key);
    if (key.size.width <= 0 || key.size.height <= 0 || bytes * MIN_KEPT > BUDGET_BYTES) return false;
    while (!pictures_.empty() && bytes_ + bytes > BUDGET_BYTES) evictLeastLatelyUsed();
    return true;
}

void* KeptPictures::make(const PictureKey& key, void* frameDc) {
    if (!makeRoom(key)) return nullptr;
    HDC frame = static_cast<HDC>(frameDc);
    HDC dc = CreateCompatibleDC(frame);
    HBITMAP bitmap = dc ? CreateCompatibleBitmap(frame, key.size.width, key.size.height) : nullptr;
    if (!bitmap) {
        if (dc) DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    pictures_.push_back({key, false, dc, bitmap, previous, {}, ++uses_});
    bytes_ += bytesOf(key);
    return dc;
}

PixelBuffer* KeptPictures::makePixels(const PictureKey& key) {
    if (!makeRoom(key)) return nullptr;
    PixelBuffer pixels;
    if (!ensurePixelBuffer(pixels, key.size.width, key.size.height)) return nullptr;
    pictures_.push_back({key, true, nullptr, nullptr, nullptr, pixels, ++uses_});
    bytes_ += bytesOf(key);
    return &pictures_.back().pixels;
}

void KeptPictures::evictLeastLatelyUsed() {
    const auto oldest = std::min_element(pictures_.begin(), pictures_.end(),
                                         [](const Picture& a, const Picture& b) { return a.lastUse < b.lastUse; });
    bytes_ -= bytesOf(oldest->key);
    destroy(*oldest);
    pictures_.erase(oldest);
}

void KeptPictures::destroy(Picture& picture) {
    if (picture.premultiplied) {
        releasePixelBuffer(picture.pixels);
        return;
    }
    if (picture.previous) SelectObject(static_cast<HDC>(picture.dc), static_cast<HGDIOBJ>(picture.previous));
    DeleteDC(static_cast<HDC>(picture.dc));
    DeleteObject(static_cast<HBITMAP>(picture.bitmap));
}

void KeptPictures::release() {
    for (Picture& picture : pictures_) destroy(picture);
    pictures_.clear();
    bytes_ = 0;
}

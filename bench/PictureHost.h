#pragma once
// A host that keeps the painted picture in memory and does nothing else: the
// engine measured alone.

#include <cstring>
#include <vector>

#include "engine/SilentHost.h"

class PictureHost final : public SilentHost {
public:
    PictureHost(int width, int height) : width_(width), height_(height), picture_(size_t(width) * height) {}

    uint32_t Pixel(int x, int y) const { return picture_[size_t(x) * height_ + y]; }
    // One pixel at a time, as a naive recolouring would write it.
    void SetPixel(int x, int y, uint32_t word);
    bool SamePicture(const PictureHost& other) const { return picture_ == other.picture_; }

    void PaintColumn(int x, const uint32_t* colorWords, int height) override
    {
        if (x < width_ && height <= height_)
            std::memcpy(&picture_[size_t(x) * height_], colorWords, sizeof(uint32_t) * size_t(height));
    }

private:
    int width_;
    int height_;
    std::vector<uint32_t> picture_;
};

// Joins many regions into one. ORs them pairwise like a binary counter, so n
// pieces cost about log n passes over the result instead of n: uniting one
// piece at a time with a growing union is quadratic in the pieces.
#pragma once

#include "ui/Handles.h"

#include <windows.h>

#include <cstddef>
#include <vector>

namespace ui {

class RegionUnion {
public:
    // Takes the piece over.
    void Push(Region piece) {
        if (!piece)
            return;
        stack_.push_back({std::move(piece), 0});
        while (stack_.size() >= 2 &&
               stack_[stack_.size() - 1].level == stack_[stack_.size() - 2].level) {
            Entry top = std::move(stack_.back());
            stack_.pop_back();
            ::CombineRgn(stack_.back().region.Get(), stack_.back().region.Get(), top.region.Get(),
                         RGN_OR);
            ++stack_.back().level;
        }
    }
    // The union of everything pushed (an empty region when nothing was).
    Region Finish() {
        if (stack_.empty())
            return MakeEmptyRegion();
        Region result = std::move(stack_.back().region);
        stack_.pop_back();
        for (; !stack_.empty(); stack_.pop_back())
            ::CombineRgn(result.Get(), result.Get(), stack_.back().region.Get(), RGN_OR);
        return result;
    }

private:
    struct Entry {
        Region region;
        int level;
    };
    std::vector<Entry> stack_;
};

// How many rectangles a region is made of, from the size of its data
// (0 for a null region).
inline size_t RegionRectCount(HRGN region) {
    const DWORD size = region ? ::GetRegionData(region, 0, nullptr) : 0;
    return size > sizeof(RGNDATAHEADER) ? (size - sizeof(RGNDATAHEADER)) / sizeof(RECT) : 0;
}

// The rectangles a region is made of, top to bottom (none for a null region).
inline std::vector<RECT> RegionRects(HRGN region) {
    std::vector<RECT> rects;
    const DWORD size = region ? ::GetRegionData(region, 0, nullptr) : 0;
    if (size < sizeof(RGNDATAHEADER))
        return rects;
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (::GetRegionData(region, size, data) != size)
        return rects;
    const auto* first = reinterpret_cast<const RECT*>(data->Buffer);
    rects.assign(first, first + data->rdh.nCount);
    return rects;
}

} // namespace ui

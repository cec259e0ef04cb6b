#include "overlay_window/uOrvexShapeLimit.h"

#include "ui/RegionUnion.h"

#include <algorithm>
#include <vector>

ui::Region LimitShapeRectangles(HRGN region, size_t limit) {
    if (ui::RegionRectCount(region) <= limit)
        return ui::Region();
    const std::vector<RECT> rects = ui::RegionRects(region);
    if (rects.size() <= limit)
        return ui::Region();
    auto area = [](const RECT& r) {
        return static_cast<long long>(r.right - r.left) * static_cast<long long>(r.bottom - r.top);
    };
    // The smallest rectangles go. Taking whole rectangles out of a region
    // never makes more of them: what stays of a band keeps its edges.
    std::vector<size_t> order(rects.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const size_t drop = rects.size() - limit;
    std::nth_element(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(drop), order.end(),
                     [&](size_t a, size_t b) { return area(rects[a]) < area(rects[b]); });
    ui::RegionUnion dropped;
    for (size_t i = 0; i < drop; ++i)
        dropped.Push(ui::Region(::CreateRectRgnIndirect(&rects[order[i]])));
    ui::Region kept = ui::MakeEmptyRegion();
    ::CombineRgn(kept.Get(), region, dropped.Finish().Get(), RGN_DIFF);
    return kept;
}

#include "overlay_window/uOrvexCopyCost.h"

#include <algorithm>
#include <limits>

void TCopyCostEstimate::Add(size_t touchedRects, double ms) {
    repaint_.push_back(TCopy{touchedRects, std::max(ms, 0.0)});
    largest_ = std::max(largest_, touchedRects);
    ++copies_;
}

void TCopyCostEstimate::EndRepaint() {
    const size_t first = repaint_.size() > 1 ? 1 : 0;
    for (size_t i = first; i < repaint_.size(); ++i)
        Fit(repaint_[i].touchedRects, repaint_[i].ms);
    repaint_.clear();
}

void TCopyCostEstimate::Fit(size_t touchedRects, double ms) {
    if (recent_.size() < Recent)
        recent_.push_back(TCopy{touchedRects, ms});
    else
        recent_[nextRecent_] = TCopy{touchedRects, ms};
    nextRecent_ = (nextRecent_ + 1) % Recent;
    const double x = static_cast<double>(touchedRects) * static_cast<double>(touchedRects);
    w_ = w_ * Decay + 1;
    x_ = x_ * Decay + x;
    y_ = y_ * Decay + ms;
    xx_ = xx_ * Decay + x * x;
    xy_ = xy_ * Decay + x * ms;
    // The slope only where the copies differ enough in size to show one.
    const double spread = w_ * xx_ - x_ * x_;
    if (spread > 1e-9 * w_ * xx_ && spread > 0)
        perRectSquared_ = std::max(0.0, (w_ * xy_ - x_ * y_) / spread);
}

TCopyCost TCopyCostEstimate::Cost() const {
    // No copy costs less than the trip plus its clipping. The fastest recent
    // copy of few rectangles is near the trip alone; against it every larger
    // copy shows at most what its clipping costs.
    double trip = std::numeric_limits<double>::infinity();
    for (const TCopy& c : recent_)
        if (c.touchedRects <= TripRects)
            trip = std::min(trip, c.ms);
    double bound = perRectSquared_;
    for (const TCopy& c : recent_)
        if (c.touchedRects >= 4 * TripRects && c.ms >= trip) {
            const double r = static_cast<double>(c.touchedRects);
            bound = std::min(bound, (c.ms - trip) / (r * r));
        }
    TCopyCost cost;
    cost.PerRectSquared = bound;
    cost.PerCopy = w_ > 0 ? std::max(0.0, (y_ - bound * x_) / w_) : 0.0;
    const size_t tried = std::max(largest_, FirstKnownRects / 4);
    cost.KnownRects = tried > static_cast<size_t>(-1) / 4 ? static_cast<size_t>(-1) : tried * 4;
    return cost;
}

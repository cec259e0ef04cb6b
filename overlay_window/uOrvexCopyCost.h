// What a copy of the overlay's picture through its child window costs on the
// running system, estimated from the copies made so far.
//
// A copy costs a trip to the system (moving the child window and fetching
// its clipping), which grows with the whole window shape, and the clipping
// of the piece of shape the copy covers, which grows with the square of its
// rectangles where the system works it out rectangle by rectangle. How much
// of each differs by orders of magnitude between systems, so it is measured:
// every copy's time is fitted to
//     ms = PerCopy + PerRectSquared * r * r     (r: shape rectangles touched)
// by least squares in which each older copy weighs a little less than the one
// after it; the estimate follows the shape as it grows. The first copy after
// a change of shape also pays for the system taking the new shape in, which
// no cut of the copy saves: of a repaint with several copies, the first is
// left out. Time the system spends on other work only adds to a copy, so the
// recent copies bound the clipping from above (what a large copy took beyond
// the fastest small one): a fit that reads more into scattered times, as
// when the shape grows fast, is held to that bound.
#pragma once

#include <cstddef>
#include <vector>

struct TCopyCost {
    double PerCopy = 0;
    double PerRectSquared = 0;
    // Copies touching more shape rectangles than this have an unknown cost:
    // the plan cuts them. A first copy of a large shape may not cost what
    // no copy yet has shown.
    size_t KnownRects = static_cast<size_t>(-1);
};

class TCopyCostEstimate {
public:
    // One copy of the current repaint touched touchedRects rectangles of the
    // shape and took ms.
    void Add(size_t touchedRects, double ms);
    // The current repaint's copies are all added.
    void EndRepaint();
    TCopyCost Cost() const;
    size_t Copies() const { return copies_; }

    // How much an earlier copy weighs against the next one.
    static constexpr double Decay = 0.97;
    // Copies of up to this many rectangles are tried before any was measured;
    // each measured copy lets the next ones touch four times as many.
    static constexpr size_t FirstKnownRects = 1024;
    // A copy of at most this many rectangles costs the trip alone, near
    // enough; one of four times as many bounds the clipping (within 1/16).
    static constexpr size_t TripRects = 32;

private:
    void Fit(size_t touchedRects, double ms);

    struct TCopy {
        size_t touchedRects;
        double ms;
    };
    std::vector<TCopy> repaint_;
    // The latest fitted copies, oldest overwritten first.
    static constexpr size_t Recent = 256;
    std::vector<TCopy> recent_;
    size_t nextRecent_ = 0;
    // Decayed sums of the weights, x = r * r, y = ms and their products.
    double w_ = 0, x_ = 0, y_ = 0, xx_ = 0, xy_ = 0;
    double perRectSquared_ = 0; // kept while the copies do not tell it
    size_t largest_ = 0;
    size_t copies_ = 0;
};

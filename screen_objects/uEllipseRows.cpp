#include "screen_objects/uEllipseRows.h"

#include <algorithm>

namespace {

// A signed 128-bit integer in two's complement, with only what the trace
// needs; one type for both builds (the 32-bit compiler has no __int128).
struct Int128 {
    uint64_t lo = 0;
    uint64_t hi = 0;
};

Int128 Wide(int64_t v) {
    return Int128{static_cast<uint64_t>(v), v < 0 ? ~uint64_t{0} : 0};
}

Int128 operator+(Int128 a, Int128 b) {
    Int128 r{a.lo + b.lo, a.hi + b.hi};
    if (r.lo < a.lo)
        ++r.hi;
    return r;
}

Int128 operator-(Int128 a) {
    Int128 r{~a.lo + 1, ~a.hi};
    if (r.lo == 0)
        ++r.hi;
    return r;
}

bool Negative(Int128 a) {
    return static_cast<int64_t>(a.hi) < 0;
}

bool operator<(Int128 a, Int128 b) {
    if (a.hi != b.hi)
        return static_cast<int64_t>(a.hi) < static_cast<int64_t>(b.hi);
    return a.lo < b.lo;
}

// The full product of two unsigned 64-bit numbers.
Int128 MultiplyUnsigned(uint64_t a, uint64_t b) {
    const uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
    const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    return Int128{(p00 & 0xFFFFFFFFu) | (middle << 32),
                  p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32)};
}

// a * b; the trace's values stay far within 128 bits.
Int128 operator*(Int128 a, int64_t b) {
    const bool negative = Negative(a) != (b < 0);
    if (Negative(a))
        a = -a;
    const uint64_t magnitude = b < 0 ? 0 - static_cast<uint64_t>(b) : static_cast<uint64_t>(b);
    Int128 r = MultiplyUnsigned(a.lo, magnitude);
    r.hi += a.hi * magnitude;
    return negative ? -r : r;
}

// The system's trace of one quarter of the outline: from the middle row
// (y steps m = 0, x steps k = 0, the whole width) outwards. After k steps
// inwards and m steps outwards its error term is err(k, m); a step inwards
// is taken when 2 err >= dx(k), a step outwards when 2 err <= dy(m).
class Trace {
public:
    Trace(int64_t a, int64_t b)
        : bsq_(8 * b * b), asq_(8 * a * a), dx0_(Wide(4 * b * b) * (1 - a)),
          dy0_(4 * a * a * (1 + b % 2)), err0_(dx0_ + Wide(dy0_) + Wide(a * a * (b % 2))) {}

    Int128 Err(int64_t k, int64_t m) const {
        return err0_ + dx0_ * k + Wide(bsq_) * (k * (k + 1) / 2) + Wide(dy0_) * m +
               Wide(asq_) * (m * (m + 1) / 2);
    }
    Int128 Dx(int64_t k) const { return dx0_ + Wide(bsq_) * k; }
    int64_t Bsq() const { return bsq_; }
    int64_t Asq() const { return asq_; }
    Int128 Dy(int64_t m) const { return Wide(dy0_) + Wide(asq_) * m; }
    bool StepsIn(int64_t k, int64_t m) const { return !(Err(k, m) * 2 < Dx(k)); }
    bool StepsOut(int64_t k, int64_t m) const { return !(Dy(m) < Err(k, m) * 2); }

private:
    int64_t bsq_, asq_;
    Int128 dx0_;
    int64_t dy0_;
    Int128 err0_;
};

// The first value in [lo, hi] where the monotone test turns true, or
// hi + 1. Galloping from lo: a run of n steps costs about 2 log n tests.
template <typename Test> int64_t FirstTrue(int64_t lo, int64_t hi, Test test) {
    int64_t reach = 1;
    while (lo <= hi && !test(lo)) {
        const int64_t next = lo + reach <= hi ? lo + reach : hi + 1;
        if (next > hi || test(next)) {
            hi = next - 1; // the turn lies in (lo, next]
            ++lo;
            while (lo <= hi) {
                const int64_t mid = lo + (hi - lo) / 2;
                if (test(mid))
                    hi = mid - 1;
                else
                    lo = mid + 1;
            }
            return lo;
        }
        lo = next + 1;
        reach *= 2;
    }
    return lo;
}

} // namespace

std::optional<std::vector<std::pair<int64_t, int64_t>>>
SystemEllipseRows(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t firstRow,
                  int64_t endRow, int64_t maxSteps) {
    std::vector<std::pair<int64_t, int64_t>> spans;
    if (endRow <= firstRow)
        return spans;
    spans.assign(static_cast<size_t>(endRow - firstRow), {0, 0});
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    // The area lies within right - 1 and bottom - 1.
    --right;
    --bottom;
    const int64_t w = right - left, h = bottom - top;
    if (w > SystemEllipseTraceSide || h > SystemEllipseTraceSide)
        return std::nullopt;
    auto rowIndex = [&](int64_t row) { return static_cast<size_t>(row - firstRow); };
    if (w < 2 || h < 2) { // a rectangle, its corners put in order
        const int64_t x0 = std::min(left, right), x1 = std::max(left, right);
        const int64_t y0 = std::min(top, bottom), y1 = std::max(top, bottom);
        for (int64_t y = std::max(y0, firstRow); y < std::min(y1, endRow); ++y)
            spans[rowIndex(y)] = {x0, x1};
        return spans;
    }
    // Row top + i is the trace's row of m outward steps: i - h / 2 in the
    // lower half, mirrored in the upper one.
    const int64_t a = w - 1, b = h - 1;
    auto stepsOf = [&](int64_t y) {
        const int64_t i = y - top;
        return i >= h / 2 ? i - h / 2 : b - i - h / 2;
    };
    // The rows asked for lie within steps first..needed of the trace (a
    // range no longer than the rows, or from the middle row when they
    // cross it).
    int64_t first = -1, needed = -1;
    const int64_t y0 = std::max(top, firstRow), y1 = std::min(top + h, endRow) - 1;
    if (y0 > y1)
        return spans;
    for (int64_t y : {y0, y1}) {
        needed = std::max(needed, stepsOf(y));
        first = first < 0 ? stepsOf(y) : std::min(first, stepsOf(y));
    }
    if (y0 - top <= h / 2 && y1 - top >= h / 2)
        first = 0;
    // insets[m - first]: the x steps taken when the trace reached row m.
    std::vector<int64_t> insets(static_cast<size_t>(needed - first) + 1, -1);
    auto record = [&](int64_t from, int64_t to, int64_t inset) {
        for (int64_t y = std::max(from, first); y <= to; ++y)
            insets[static_cast<size_t>(y - first)] = inset;
    };
    record(0, 0, 0);
    const Trace trace(a, b);
    // The error terms are carried along step by step as the system does, and
    // worked out anew after a run taken in one search.
    int64_t k = 0, m = 0, steps = 0;
    Int128 err = trace.Err(0, 0), dx = trace.Dx(0), dy = trace.Dy(0);
    auto jumpTo = [&](int64_t newK, int64_t newM) {
        k = newK;
        m = newM;
        err = trace.Err(k, m);
        dx = trace.Dx(k);
        dy = trace.Dy(m);
    };
    // The error falls with each inward step while dx stays negative, that
    // is up to x steps (a - 2) / 2; it grows with each outward step.
    const int64_t fallingUntil = std::min(w / 2, (a - 2) / 2);
    while (k <= w / 2 && m < needed) {
        if (++steps > maxSteps)
            return std::nullopt;
        const Int128 twice = err + err;
        const bool in = !(twice < dx), out = !(dy < twice);
        if (in && out) {
            ++k;
            dx = dx + Wide(trace.Bsq());
            err = err + dx;
            ++m;
            dy = dy + Wide(trace.Asq());
            err = err + dy;
            record(m, m, k);
        } else if (in) {
            // Inward steps until an outward one is due.
            if (k + 1 <= fallingUntil) {
                const int64_t until =
                    FirstTrue(k + 1, fallingUntil, [&](int64_t x) { return trace.StepsOut(x, m); });
                jumpTo(until, m);
            } else {
                ++k;
                dx = dx + Wide(trace.Bsq());
                err = err + dx;
            }
        } else if (out) {
            // Outward steps, the inset kept, until an inward one is due.
            const int64_t until =
                FirstTrue(m + 1, needed, [&](int64_t y) { return trace.StepsIn(k, y); });
            const int64_t last = std::min(until, needed);
            record(m + 1, last, k);
            jumpTo(k, last);
        } else {
            break; // no step is due: the trace cannot go on
        }
    }
    for (int64_t y = y0; y <= y1; ++y) {
        const int64_t inset = insets[static_cast<size_t>(stepsOf(y) - first)];
        if (inset >= 0 && left + inset < right - inset)
            spans[rowIndex(y)] = {left + inset, right - inset};
    }
    return spans;
}

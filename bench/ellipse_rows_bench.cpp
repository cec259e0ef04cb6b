// Rows of elliptic areas too large for the system, as a screen of 768 rows
// shows them: the median of 21 runs per case, and whether the system's rule
// was followed or the trace gave up and pixel centres are used instead.
#include "bench_clock.h"
#include "screen_objects/uEllipseRows.h"

#include <algorithm>
#include <cstdio>
#include <vector>

int main() {
    struct Case {
        const char* name;
        int64_t left, top, right, bottom;
    };
    const int64_t s21 = int64_t{1} << 21, s22 = int64_t{1} << 22, s26 = int64_t{1} << 26;
    const Case cases[] = {
        {"2^21 x 2,000, flat, its left end on the screen", 100, 200, 100 + s21 + 2, 2200},
        {"2,000 x 2^26, tall, its top on the screen", 0, 0, 2000, s26},
        {"2^22 circle, its top on the screen", 0, 0, s22, s22},
        {"2^26 circle, its top on the screen", 0, 0, s26, s26},
        {"2^27 circle, its centre on the screen", -s26, -s26, s26, s26},
    };
    std::printf("| ellipse | ms | rows |\n|---|---:|---|\n");
    for (const Case& c : cases) {
        std::vector<double> times;
        bool traced = false;
        for (int run = 0; run < 21; ++run) {
            const double start = Now();
            traced = SystemEllipseRows(c.left, c.top, c.right, c.bottom, 0, 768).has_value();
            times.push_back(Now() - start);
        }
        std::nth_element(times.begin(), times.begin() + 10, times.end());
        std::printf("| %s | %.2f | %s |\n", c.name, times[10],
                    traced ? "the system's rule" : "pixel centres");
    }
    return 0;
}

/* Watches one pixel of the X screen and prints, in nanoseconds of the real
 * time clock, when it first stops being white: a look takes a fraction of a
 * millisecond, where taking a screen shot takes about 30.
 *   pixel_watch X Y [timeout in ms, default 20000]
 * Exits 1 if the pixel was not white at the start or stayed white. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long long now_ns(int clock) {
    struct timespec t;
    clock_gettime(clock, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static int is_white(Display* d, Window root, int x, int y) {
    XImage* image = XGetImage(d, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return -1;
    unsigned long p = XGetPixel(image, 0, 0) & 0xffffffUL;
    XDestroyImage(image);
    return p == 0xffffffUL;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: pixel_watch X Y [timeout ms]\n");
        return 2;
    }
    const int x = atoi(argv[1]), y = atoi(argv[2]);
    const long long timeout = (argc > 3 ? atoll(argv[3]) : 20000) * 1000000LL;
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "pixel_watch: no display\n");
        return 2;
    }
    Window root = DefaultRootWindow(d);
    if (is_white(d, root, x, y) != 1) {
        fprintf(stderr, "pixel_watch: the pixel is not white\n");
        return 1;
    }
    /* Ready: the caller may act now. */
    printf("ready\n");
    fflush(stdout);
    const long long start = now_ns(CLOCK_MONOTONIC);
    while (now_ns(CLOCK_MONOTONIC) - start < timeout) {
        if (is_white(d, root, x, y) == 0) {
            printf("%lld\n", now_ns(CLOCK_REALTIME));
            return 0;
        }
    }
    return 1;
}

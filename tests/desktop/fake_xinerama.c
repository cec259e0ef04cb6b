/* Two monitors on one X screen, for the multi-monitor tests: a stand-in for
 * libXinerama.so.1 that Wine loads from LD_LIBRARY_PATH. Xvfb cannot split
 * its screen into heads that Wine sees, so this library reports the heads
 * given in ORVEX_HEADS ("WxH+X+Y,WxH+X+Y,..."; the first is the primary).
 * Built for Linux (32-bit, like the Wine that runs the tests), not Windows. */
#include <stdlib.h>
#include <stdio.h>

typedef struct _XDisplay Display;
typedef int Bool;

typedef struct {
    int screen_number;
    short x_org, y_org, width, height;
} XineramaScreenInfo;

static int parse_heads(XineramaScreenInfo *out, int max) {
    const char *s = getenv("ORVEX_HEADS");
    int n = 0;
    while (s && *s && n < max) {
        int w, h, x, y, used = 0;
        if (sscanf(s, "%dx%d%d%d%n", &w, &h, &x, &y, &used) != 4 || used == 0)
            break;
        if (out) {
            out[n].screen_number = n;
            out[n].x_org = (short)x;
            out[n].y_org = (short)y;
            out[n].width = (short)w;
            out[n].height = (short)h;
        }
        ++n;
        s += used;
        if (*s == ',')
            ++s;
    }
    return n;
}

Bool XineramaQueryExtension(Display *display, int *event_base, int *error_base) {
    (void)display;
    *event_base = 0;
    *error_base = 0;
    return parse_heads(NULL, 16) > 0;
}

int XineramaQueryVersion(Display *display, int *major, int *minor) {
    (void)display;
    *major = 1;
    *minor = 1;
    return 1;
}

Bool XineramaIsActive(Display *display) {
    (void)display;
    return parse_heads(NULL, 16) > 0;
}

/* The caller frees the list with XFree, which is free(). */
XineramaScreenInfo *XineramaQueryScreens(Display *display, int *number) {
    XineramaScreenInfo *heads = calloc(16, sizeof *heads);
    (void)display;
    *number = heads ? parse_heads(heads, 16) : 0;
    if (*number == 0) {
        free(heads);
        return NULL;
    }
    return heads;
}

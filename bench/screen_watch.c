/* Times a program from its start to the moment its window stops changing on
 * screen, as the X server sees it (the DAMAGE extension on the root window),
 * and gives its peak memory and CPU time.
 *
 *   screen_watch QUIET_MS MIN_SIDE -- COMMAND [ARGUMENTS...]
 *
 * Starts COMMAND, notes every damaged rectangle at least MIN_SIDE pixels
 * high and wide (which leaves out a blinking caret and the status bar), and
 * once nothing that large has changed for QUIET_MS milliseconds ends the
 * program (SIGTERM) and prints, in milliseconds from the start, when the last
 * such rectangle was drawn, then the program's peak resident memory in MB and
 * its CPU time in ms, all and in the kernel:
 *
 *   visible_ms=312.4 peak_mb=81.2 cpu_ms=290 system_ms=40
 *
 *   screen_watch count X Y WIDTH HEIGHT MS
 *
 * counts the repaints within a rectangle of the screen for MS milliseconds
 * instead (a reading run's groups in the reading pane).
 *
 * With SCREEN_WATCH_VERBOSE set, each such rectangle is listed on stderr.
 * Built by bench/run_blackbox.sh. Debian has libXdamage.so.1 without its
 * header, so the few declarations needed are here. */
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

typedef XID Damage;
#define XDamageReportRawRectangles 0
#define XDamageNotify 0
typedef struct {
    int type;
    unsigned long serial;
    Bool send_event;
    Display *display;
    Drawable drawable;
    Damage damage;
    int level;
    Bool more;
    Time timestamp;
    XRectangle area;
    XRectangle geometry;
} XDamageNotifyEvent;
Bool XDamageQueryExtension(Display *, int *, int *);
Damage XDamageCreate(Display *, Drawable, int);

static double NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

/* screen_watch count X Y WIDTH HEIGHT MS: how many times, in the next MS
 * milliseconds, something was drawn within that rectangle of the screen;
 * drawing less than 10 ms after the last counts as the same time. */
static int CountRepaints(Display *display, int eventBase, char **argv) {
    const int x = atoi(argv[2]), y = atoi(argv[3]), width = atoi(argv[4]), height = atoi(argv[5]);
    const double until = NowMs() + atof(argv[6]);
    const int fd = ConnectionNumber(display);
    double last = -1e9;
    int count = 0;
    for (double now = NowMs(); now < until; now = NowMs()) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != eventBase + XDamageNotify) continue;
            const XRectangle *area = &((const XDamageNotifyEvent *)&event)->area;
            if (area->x >= x + width || area->x + area->width <= x || area->y >= y + height ||
                area->y + area->height <= y)
                continue;
            if (NowMs() - last >= 10) ++count;
            last = NowMs();
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        struct timeval wait = {0, 5000};
        select(fd + 1, &readable, NULL, NULL, &wait);
    }
    printf("%d\n", count);
    return 0;
}

int main(int argc, char **argv) {
    if (argc == 7 && strcmp(argv[1], "count") == 0) {
        Display *display = XOpenDisplay(NULL);
        int eventBase = 0, errorBase = 0;
        if (!display || !XDamageQueryExtension(display, &eventBase, &errorBase)) return 2;
        XDamageCreate(display, DefaultRootWindow(display), XDamageReportRawRectangles);
        XSync(display, False);
        return CountRepaints(display, eventBase, argv);
    }
    if (argc < 5) {
        fprintf(stderr, "usage: %s QUIET_MS MIN_SIDE -- COMMAND [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const double quietMs = atof(argv[1]);
    const int minSide = atoi(argv[2]);
    const int verbose = getenv("SCREEN_WATCH_VERBOSE") != NULL;
    Display *display = XOpenDisplay(NULL);
    int eventBase = 0, errorBase = 0;
    if (!display || !XDamageQueryExtension(display, &eventBase, &errorBase)) {
        fprintf(stderr, "no X display with DAMAGE\n");
        return 2;
    }
    XDamageCreate(display, DefaultRootWindow(display), XDamageReportRawRectangles);
    XSync(display, False);
    const double start = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[4], argv + 4);
        _exit(127);
    }
    double last = -1;
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != eventBase + XDamageNotify) continue;
            const XDamageNotifyEvent *damage = (const XDamageNotifyEvent *)&event;
            if (damage->area.width >= minSide && damage->area.height >= minSide) {
                last = NowMs();
                if (verbose)
                    fprintf(stderr, "%.1f ms: %dx%d at %d,%d\n", last - start, damage->area.width,
                            damage->area.height, damage->area.x, damage->area.y);
            }
        }
        const double now = NowMs();
        const double since = last < 0 ? now - start : now - last;
        if (last >= 0 && since >= quietMs) break;
        if (last < 0 && since >= 60000) break;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        struct timeval wait = {0, 10000};
        select(fd + 1, &readable, NULL, NULL, &wait);
    }
    kill(child, SIGKILL);
    int status = 0;
    struct rusage usage;
    wait4(child, &status, 0, &usage);
    const double systemMs = usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
    printf("visible_ms=%.1f peak_mb=%.1f cpu_ms=%.0f system_ms=%.0f\n",
           last < 0 ? -1 : last - start, usage.ru_maxrss / 1024.0,
           usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + systemMs, systemMs);
    XCloseDisplay(display);
    return last < 0;
}

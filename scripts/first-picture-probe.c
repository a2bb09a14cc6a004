/* Starts a program and watches the X screen until its window named
 * "Quadrill" shows the picture it settles on: prints the milliseconds from
 * the exec to the first moment that picture was on the screen, as read back
 * from the X server (what a person would see), not as the program says.
 *
 *   first-picture-probe SETTLE_MS PROGRAM [ARGS...]
 *
 * The screen is read every millisecond or so; the picture counts as settled
 * once it has not changed for SETTLE_MS. The program is then ended with
 * SIGTERM. Exit status 1 when no window showed within ten seconds. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static Window findViewable(Display* dpy, Window parent, const char* title) {
    Window root, up, *children = NULL, found = 0;
    unsigned count = 0;
    if (!XQueryTree(dpy, parent, &root, &up, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = NULL;
        XWindowAttributes attributes;
        if (XFetchName(dpy, children[i], &name) && name && strcmp(name, title) == 0 &&
            XGetWindowAttributes(dpy, children[i], &attributes) && attributes.map_state == IsViewable) {
            found = children[i];
        }
        if (name) XFree(name);
        if (!found) found = findViewable(dpy, children[i], title);
    }
    if (children) XFree(children);
    return found;
}

static int ignoreErrors(Display* dpy, XErrorEvent* error) {
    (void)dpy;
    (void)error;
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s SETTLE_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const double settleMs = atof(argv[1]);
    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window rootWindow = DefaultRootWindow(dpy);

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    Window window = 0;
    uint64_t lastHash = 0;
    double lastChange = 0;
    /* Every picture seen and when it first appeared, to find the settled one's first time. */
    enum { kMaxSeen = 4096 };
    static uint64_t seenHash[kMaxSeen];
    static double seenAt[kMaxSeen];
    int seen = 0;
    int status = 1;
    while (nowMs() - start < 10000) {
        if (!window) window = findViewable(dpy, rootWindow, "Quadrill");
        if (window) {
            XWindowAttributes attributes;
            int x = 0, y = 0;
            Window ignored;
            if (XGetWindowAttributes(dpy, window, &attributes) &&
                XTranslateCoordinates(dpy, window, rootWindow, 0, 0, &x, &y, &ignored)) {
                XImage* image = XGetImage(dpy, rootWindow, x, y, attributes.width, attributes.height, AllPlanes, ZPixmap);
                if (image) {
                    const double at = nowMs();
                    uint64_t hash = 1469598103934665603ull;
                    const size_t bytes = (size_t)image->bytes_per_line * image->height;
                    for (size_t i = 0; i < bytes; ++i) hash = (hash ^ (unsigned char)image->data[i]) * 1099511628211ull;
                    XDestroyImage(image);
                    if (seen == 0 || hash != lastHash) {
                        lastHash = hash;
                        lastChange = at;
                        if (seen < kMaxSeen) {
                            seenHash[seen] = hash;
                            seenAt[seen] = at;
                            ++seen;
                        }
                    } else if (at - lastChange >= settleMs) {
                        for (int i = 0; i < seen; ++i) {
                            if (seenHash[i] == lastHash) {
                                printf("%.1f\n", seenAt[i] - start);
                                break;
                            }
                        }
                        status = 0;
                        break;
                    }
                }
            }
        }
        struct timespec pause = {0, 500000};
        nanosleep(&pause, NULL);
    }
    kill(child, SIGTERM);
    int exitStatus = 0;
    waitpid(child, &exitStatus, 0);
    XCloseDisplay(dpy);
    if (status) fprintf(stderr, "no settled Quadrill window within ten seconds\n");
    return status;
}

/* Starts a program on the X display and reports, as one line
 *   <milliseconds from exec to the first painted window> <peak resident set in KiB>
 *   <CPU milliseconds, user and system, of the whole run>
 * The first painted window is the first top-level window of the display that is mapped and
 * whose pixels are no longer all alike (its first frame has been drawn). The program is then
 * left running for a short settling time, ended with SIGTERM, and its peak memory read from
 * the kernel's accounting of the finished child. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static int ignore_errors(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

/* True once the window shows more than one colour. */
static int painted(Display* dpy, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable || a.width < 2 ||
        a.height < 2)
        return 0;
    XImage* img = XGetImage(dpy, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img)
        return 0;
    const unsigned long first = XGetPixel(img, 0, 0);
    int differs = 0;
    for (int y = 0; y < a.height && !differs; y += 1)
        for (int x = 0; x < a.width; x += 1)
            if (XGetPixel(img, x, y) != first) {
                differs = 1;
                break;
            }
    XDestroyImage(img);
    return differs;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: firstpaint PROGRAM [ARGS...]\n");
        return 2;
    }
    const double settle_ms = getenv("SETTLE_MS") ? atof(getenv("SETTLE_MS")) : 500.0;
    const double timeout_ms = 20000.0;
    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "firstpaint: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const double t0 = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }

    Window mapped[64];
    int nmapped = 0;
    double t_paint = -1;
    while (t_paint < 0 && now_ms() - t0 < timeout_ms) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify && !ev.xmap.override_redirect && nmapped < 64)
                mapped[nmapped++] = ev.xmap.window;
        }
        for (int i = 0; i < nmapped && t_paint < 0; ++i)
            if (painted(dpy, mapped[i]))
                t_paint = now_ms();
        if (t_paint < 0) {
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                fprintf(stderr, "firstpaint: the program ended before it painted\n");
                return 1;
            }
            usleep(1000);
        }
    }
    if (t_paint < 0) {
        fprintf(stderr, "firstpaint: no window was painted\n");
        kill(pid, SIGKILL);
        return 1;
    }
    usleep((useconds_t)(settle_ms * 1000));
    kill(pid, SIGTERM);
    int status;
    struct rusage ru;
    memset(&ru, 0, sizeof ru);
    wait4(pid, &status, 0, &ru);
    const double cpu_ms = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1000.0 +
                          (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1000.0;
    printf("%.1f %ld %.1f\n", t_paint - t0, ru.ru_maxrss, cpu_ms);
    XCloseDisplay(dpy);
    return 0;
}

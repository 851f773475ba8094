// SPDX-License-Identifier: MIT
// Starts a program and says how long it took until a window with the given title was mapped on the
// X server: the moment a person first sees it.
//     map_watch TITLE PROGRAM [ARGUMENT...]     prints the milliseconds, then ends the program
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string TitleOf(Display* display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    for (const Atom property : {netName, XA_WM_NAME}) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, property, 0, 1024, False,
                               property == netName ? utf8 : XA_STRING, &type, &format, &items, &after,
                               &data) == Success &&
            data) {
            std::string title(reinterpret_cast<char*>(data), items);
            XFree(data);
            if (!title.empty())
                return title;
        }
    }
    return {};
}

// The window itself, or the client window a window manager's frame holds.
bool HasTitle(Display* display, Window window, const std::string& title) {
    if (TitleOf(display, window) == title)
        return true;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    bool found = false;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i)
            found = TitleOf(display, children[i]) == title;
        if (children)
            XFree(children);
    }
    return found;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_watch TITLE PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const std::string title = argv[1];
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_watch: no X display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror("map_watch: exec");
        _exit(127);
    }
    alarm(120); // a program that never shows its window ends the watch
    int result = 1;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify)
            continue;
        if (!HasTitle(display, event.xmap.window, title))
            continue;
        const auto elapsed = std::chrono::steady_clock::now() - start;
        std::printf("%.1f\n", std::chrono::duration<double, std::milli>(elapsed).count());
        result = 0;
        break;
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    return result;
}

// startbench-xwait: the X side of the start-up benchmark, on plain xcb.
//
//   startbench-xwait launch NAME TIMEOUT_S PROGRAM [ARGS...]
//     Starts PROGRAM and waits until it maps a top-level window titled
//     NAME. Prints "pid=P window=W ms=T cpu_ms=C": T is the time from
//     just before the process was created to the window's MapNotify, C the
//     processor time its threads had used by then (less disturbed by a
//     busy machine than T). Then stays until
//     the program ends (and ends it when this helper is ended). Exit 1
//     when the program ended before showing the window, 2 on time-out
//     (it is killed then).
//   startbench-xwait hide WINDOW TIMEOUT_S
//     Sends the window's close box request (WM_DELETE_WINDOW) and waits
//     for the window to be unmapped. Prints "hidden ms=T" or "shown" (the
//     window is still mapped after TIMEOUT_S); exit 0 either way, 1 when
//     the window is gone or the request could not be sent.

#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

class Display {
  public:
    Display() : c_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(c_) != 0) {
            std::fprintf(stderr, "startbench-xwait: cannot open the display\n");
            std::exit(3);
        }
        // A child must not inherit our connection.
        fcntl(xcb_get_file_descriptor(c_), F_SETFD, FD_CLOEXEC);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~Display() { xcb_disconnect(c_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    xcb_connection_t* c() const { return c_; }
    xcb_window_t root() const { return root_; }

    xcb_atom_t atom(const char* name) const {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    std::optional<std::string> property(xcb_window_t w, xcb_atom_t prop, xcb_atom_t type) const {
        Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(c_, xcb_get_property(c_, 0, w, prop, type, 0, 1024), nullptr));
        if (!reply || reply->type == XCB_ATOM_NONE)
            return std::nullopt;
        const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
        return std::string(data, static_cast<size_t>(xcb_get_property_value_length(reply.get())));
    }

    std::string windowName(xcb_window_t w) const {
        if (auto name = property(w, atom("_NET_WM_NAME"), atom("UTF8_STRING")))
            return *name;
        return property(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING).value_or(std::string());
    }

    void selectInput(xcb_window_t w, uint32_t mask) const {
        xcb_change_window_attributes(c_, w, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c_);
    }

    // The next event, or nothing once the deadline has passed.
    Reply<xcb_generic_event_t> nextEvent(Clock::time_point deadline) const {
        for (;;) {
            if (auto* event = xcb_poll_for_event(c_))
                return Reply<xcb_generic_event_t>(event);
            if (xcb_connection_has_error(c_) != 0)
                return nullptr;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return nullptr;
            pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
        }
    }

  private:
    xcb_connection_t* c_;
    xcb_window_t root_;
};

Clock::time_point deadlineAfter(const char* seconds) {
    return Clock::now() +
           std::chrono::milliseconds(static_cast<long long>(std::atof(seconds) * 1000));
}

// Processor time used so far by all threads of the process, from the
// scheduler's own account (nanoseconds, first field of schedstat).
double cpuMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (dir == nullptr)
        return -1;
    unsigned long long total = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string file = tasks + "/" + entry->d_name + "/schedstat";
        if (FILE* f = std::fopen(file.c_str(), "r")) {
            unsigned long long ns = 0;
            if (std::fscanf(f, "%llu", &ns) == 1)
                total += ns;
            std::fclose(f);
        }
    }
    closedir(dir);
    return static_cast<double>(total) / 1e6;
}

bool childEnded(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

int waitForEnd(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return 0;
}

int launch(const std::string& name, const char* timeout, char** argv) {
    auto display = std::make_unique<Display>();
    // Top-level windows are the root's children: their MapNotify reaches us.
    display->selectInput(display->root(), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    const auto deadline = deadlineAfter(timeout);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return 3;
    }
    if (pid == 0) {
        setsid(); // its own group, so the script can end it and its children
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }

    while (Clock::now() < deadline) {
        auto event =
            display->nextEvent(std::min(deadline, Clock::now() + std::chrono::milliseconds(100)));
        if (!event) {
            if (childEnded(pid)) {
                std::fprintf(stderr, "startbench-xwait: %s ended before showing its window\n",
                             argv[0]);
                return 1;
            }
            continue;
        }
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
            continue;
        const double ms = msSince(start);
        const double cpu = cpuMs(pid);
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
        if (map->event != display->root() || display->windowName(map->window) != name)
            continue;
        std::printf("pid=%d window=0x%x ms=%.1f cpu_ms=%.1f\n", static_cast<int>(pid), map->window,
                    ms, cpu);
        std::fflush(stdout);
        display.reset();
        return waitForEnd(pid);
    }
    std::fprintf(stderr, "startbench-xwait: no window \"%s\" within %s s\n", name.c_str(), timeout);
    kill(-pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return 2;
}

bool sendCloseRequest(const Display& display, xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = display.atom("WM_PROTOCOLS");
    message.data.data32[0] = display.atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    const auto cookie = xcb_send_event_checked(display.c(), 0, window, XCB_EVENT_MASK_NO_EVENT,
                                               reinterpret_cast<const char*>(&message));
    Reply<xcb_generic_error_t> error(xcb_request_check(display.c(), cookie));
    return !error;
}

bool isMapped(const Display& display, xcb_window_t window, bool& exists) {
    Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        display.c(), xcb_get_window_attributes(display.c(), window), nullptr));
    exists = attributes != nullptr;
    return exists && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
}

int hide(const char* windowText, const char* timeout) {
    Display display;
    const auto window = static_cast<xcb_window_t>(std::strtoul(windowText, nullptr, 0));
    display.selectInput(window, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    bool exists = false;
    if (!isMapped(display, window, exists)) {
        std::puts(exists ? "hidden ms=0" : "gone");
        return exists ? 0 : 1;
    }
    const auto deadline = deadlineAfter(timeout);
    const auto start = Clock::now();
    if (!sendCloseRequest(display, window)) {
        std::fprintf(stderr, "startbench-xwait: cannot send the close request\n");
        return 1;
    }
    while (auto event = display.nextEvent(deadline)) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_UNMAP_NOTIFY) {
            std::printf("hidden ms=%.1f\n", msSince(start));
            return 0;
        }
        if (type == XCB_DESTROY_NOTIFY) {
            std::puts("gone");
            return 1;
        }
    }
    std::puts("shown");
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: startbench-xwait launch NAME TIMEOUT_S PROGRAM [ARGS...]\n"
                         "       startbench-xwait hide WINDOW TIMEOUT_S\n");
    return 64;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "launch") == 0)
        return launch(argv[2], argv[3], argv + 4);
    if (argc == 4 && std::strcmp(argv[1], "hide") == 0)
        return hide(argv[2], argv[3]);
    return usage();
}

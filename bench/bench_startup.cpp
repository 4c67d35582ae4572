// Start-up and memory of the tuning utility on a virtual display (Xvfb), next to a bare Qt
// Widgets window of the same size: time from process start to its window being mapped, and
// resident memory a second later. Medians over several runs, the two programs in turns.
#include "bench_stats.h"

#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;

pid_t spawn(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
        return -1;
    }
    return pid;
}

void stop(pid_t pid) {
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
}

double residentMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

// Waits for a top-level window to be mapped on the display; false after 20 s.
bool waitForMap(xcb_connection_t* x) {
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped) {
                return true;
            }
        }
        pollfd wait{xcb_get_file_descriptor(x), POLLIN, 0};
        ::poll(&wait, 1, 10);
    }
    return false;
}

struct Run {
    double startMs;
    double residentMiB;
};

bool measure(xcb_connection_t* x, const std::vector<std::string>& command, Run& run) {
    const auto started = Clock::now();
    const pid_t pid = spawn(command);
    if (pid < 0 || !waitForMap(x)) {
        return false;
    }
    run.startMs = microsecondsSince(started) / 1000.0;
    std::this_thread::sleep_for(std::chrono::seconds(1));
    run.residentMiB = residentMiB(pid);
    stop(pid);
    while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
        std::free(event); // the unmap and destroy of this run
    }
    return true;
}

} // namespace

int main() {
    int display = 90;
    while (::access(("/tmp/.X11-unix/X" + std::to_string(display)).c_str(), F_OK) == 0) {
        ++display;
    }
    const std::string name = ":" + std::to_string(display);
    const pid_t xvfb =
        spawn({"/usr/bin/Xvfb", name, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    xcb_connection_t* x = nullptr;
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        x = xcb_connect(name.c_str(), nullptr);
        if (!xcb_connection_has_error(x)) {
            break;
        }
        xcb_disconnect(x);
        x = nullptr;
    }
    if (xvfb < 0 || x == nullptr) {
        std::fprintf(stderr, "cannot start Xvfb on %s\n", name.c_str());
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
    ::setenv("DISPLAY", name.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);

    const std::vector<std::vector<std::string>> commands{
        {QTRV_PATH}, {BARE_WINDOW_PATH}, {BARE_WINDOW_PATH, "--text"}};
    std::vector<std::vector<double>> ms(commands.size()), mib(commands.size());
    for (int i = 0; i < kRuns; ++i) {
        for (std::size_t c = 0; c < commands.size(); ++c) {
            Run run{};
            if (!measure(x, commands[c], run)) {
                std::fprintf(stderr, "a window did not appear\n");
                stop(xvfb);
                return 1;
            }
            ms[c].push_back(run.startMs);
            mib[c].push_back(run.residentMiB);
        }
    }
    xcb_disconnect(x);
    stop(xvfb);

    const double uMs = percentile(ms[0], 0.5), bMs = percentile(ms[1], 0.5);
    const double tMs = percentile(ms[2], 0.5);
    const double uMiB = percentile(mib[0], 0.5), bMiB = percentile(mib[1], 0.5);
    const double tMiB = percentile(mib[2], 0.5);
    std::printf("start to window mapped (Xvfb), median of %d runs each\n", kRuns);
    std::printf("  qtrv (16-port probe included):  %7.1f ms\n", uMs);
    std::printf("  bare Qt window, same size:      %7.1f ms   ratio %.2f (target at most 1.2)\n",
                bMs, uMs / bMs);
    std::printf("  bare window with one label:     %7.1f ms   ratio %.2f\n", tMs, uMs / tMs);
    std::printf("resident memory a second after start, median\n");
    std::printf("  qtrv:                           %7.1f MiB\n", uMiB);
    std::printf("  bare Qt window:                 %7.1f MiB  ratio %.2f (target at most 1.15)\n",
                bMiB, uMiB / bMiB);
    std::printf("  bare window with one label:     %7.1f MiB  ratio %.2f\n", tMiB, uMiB / tMiB);
    return 0;
}

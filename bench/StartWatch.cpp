// Starts a program and times it from the launch until its main window is on screen and its event loop is
// idle: the window of the given title mapped, then two window-manager pings answered one after the other.
// A Qt program answers a ping from its event loop, and the second answer comes after the loop has delivered
// the exposure (the first paint) that arrived with the first ping. Then, after a short settle, the program's
// resident memory. The program is then ended.
//
//     startwatch <title> <settle-ms> <program> [arguments...]
//
// Prints one line: "<milliseconds to idle> <resident kB> <CPU milliseconds> <resident kB of the program's own file>",
// the last the pages of the executable itself (its code, its tables and data) among the resident ones.

#include <xcb/xcb.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

std::string windowName(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
{
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 256), nullptr);
    std::string name;
    if (reply) {
        name.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    static_cast<size_t>(xcb_get_property_value_length(reply)));
        std::free(reply);
    }
    return name;
}

void ping(xcb_connection_t* c, xcb_window_t window, xcb_atom_t protocols, xcb_atom_t netWmPing)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = protocols;
    event.data.data32[0] = netWmPing;
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = window;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

long statusField(pid_t pid, const char* field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const size_t n = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, n, field) == 0)
            return std::strtol(line.c_str() + n, nullptr, 10);
    return -1;
}

// The resident kB of the mappings of the process's own executable.
long ownFileKb(pid_t pid)
{
    char exe[4096];
    const ssize_t n = readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), exe, sizeof exe - 1);
    if (n <= 0)
        return -1;
    const std::string path(exe, size_t(n));
    std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
    std::string line;
    bool own = false;
    long kb = 0;
    while (std::getline(smaps, line)) {
        // A mapping's first line: "start-end perms offset dev inode path".
        if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) && line.find('-') < line.find(' '))
            own = line.size() > path.size() && line.compare(line.size() - path.size(), path.size(), path) == 0;
        else if (own && line.compare(0, 4, "Rss:") == 0)
            kb += std::strtol(line.c_str() + 4, nullptr, 10);
    }
    return kb;
}

long cpuMs(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // After the command name (in parentheses): the state, eight numbers, then utime and stime in ticks.
    const size_t close = text.rfind(')');
    unsigned long utime = 0, stime = 0;
    if (close == std::string::npos ||
        std::sscanf(text.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) !=
            2)
        return -1;
    return long((utime + stime) * 1000 / sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <title> <settle-ms> <program> [arguments...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const int settleMs = std::atoi(argv[2]);

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startwatch: no X display\n");
        return 2;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    // Qt sends its answer to a ping to the root window for the clients that watch its structure.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
    const xcb_atom_t netWmPing = atom(c, "_NET_WM_PING");
    const xcb_atom_t netWmName = atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    // A round trip: the event mask is in force before the program starts.
    xcb_get_input_focus_reply_t* sync = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    std::free(sync);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[3], argv + 3);
        _exit(127);
    }

    xcb_window_t frame = XCB_WINDOW_NONE;
    int pings = 0;
    Clock::time_point idle;
    // Long enough for a program run under valgrind (STARTWATCH_TIMEOUT, in seconds).
    const char* timeout = std::getenv("STARTWATCH_TIMEOUT");
    const Clock::time_point deadline = start + std::chrono::seconds(timeout ? std::atoi(timeout) : 30);
    while (pings < 2) {
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            if (Clock::now() > deadline || xcb_connection_has_error(c)) {
                std::fprintf(stderr, "startwatch: no window \"%s\" answering\n", title.c_str());
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return 1;
            }
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&fd, 1, 100);
            continue;
        }
        const int type = event->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY && frame == XCB_WINDOW_NONE) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            std::string name = windowName(c, map->window, netWmName, utf8);
            if (name.empty())
                name = windowName(c, map->window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
            if (!map->override_redirect && name == title) {
                frame = map->window;
                ping(c, frame, protocols, netWmPing);
            }
        } else if (type == XCB_CLIENT_MESSAGE && frame != XCB_WINDOW_NONE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type == protocols && message->data.data32[0] == netWmPing &&
                message->data.data32[2] == frame) {
                if (++pings == 2)
                    idle = Clock::now();
                else
                    ping(c, frame, protocols, netWmPing);
            }
        }
        std::free(event);
    }
    const long cpu = cpuMs(pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long rss = statusField(pid, "VmRSS:");
    const long own = ownFileKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(c);
    std::printf("%.2f %ld %ld %ld\n", std::chrono::duration<double, std::milli>(idle - start).count(), rss, cpu, own);
    return 0;
}

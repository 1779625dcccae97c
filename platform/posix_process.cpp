// Process-level services: the single-instance claim, the version word and
// the exit path.
#include "platform/platform.h"
#include "platform/posix_end_step.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

void (*exit_hook)() = nullptr;
void (*end_step)() = nullptr;
WindowSystem chosen_window_system = WindowSystem::x11;

// The display a claim belongs to. For X, from DISPLAY: host and display
// number without the screen (":0.1" and ":0" are one display), "none" when
// unset. For Wayland, the compositor's socket name (libwayland's default
// when WAYLAND_DISPLAY is unset). Every character that is unsafe in a file
// name is replaced.
std::string claimed_display()
{
    const bool wayland = chosen_window_system == WindowSystem::wayland;
    const char* value = std::getenv(wayland ? "WAYLAND_DISPLAY" : "DISPLAY");
    std::string display = value && *value ? value : wayland ? "wayland-0" : "none";
    std::size_t colon = display.rfind(':');
    if (!wayland && colon != std::string::npos) {
        std::size_t dot = display.find('.', colon);
        if (dot != std::string::npos)
            display.erase(dot);
    }
    for (char& c : display) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != ':' && c != '.' && c != '-' && c != '_')
            c = '_';
    }
    return display;
}

// Takes an exclusive flock on `path`, created for the owner alone. The
// kernel drops the lock the moment the process ends, even on SIGKILL. True
// when the file could be used; *held then says whether the lock is ours.
bool lock_file(const std::string& path, bool* held)
{
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        *held = true; // keep fd open for the life of the process
        return true;
    }
    bool taken = errno == EWOULDBLOCK;
    close(fd);
    *held = false;
    return taken;
}

// A socket bound in the abstract namespace: no file is created, and the
// kernel drops the name the moment the process ends, even on SIGKILL.
bool bind_abstract_name(const std::string& name)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::size_t length = std::min(name.size(), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, name.data(), length); // sun_path[0] stays 0
    socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0)
        return true; // keep fd open for the life of the process
    bool taken = errno == EADDRINUSE;
    close(fd);
    return !taken;
}

} // namespace

bool claim_single_instance(const char* name)
{
    // One claim per user and X display. The user's runtime folder is theirs
    // alone, so nobody else can create or hold the lock there.
    std::string display = claimed_display();
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        bool held = false;
        if (lock_file(std::string(runtime) + "/" + name + "-" + display + ".lock", &held))
            return held;
    }
    // Without that folder: a name of this user's on this display, which
    // other users do not meet by chance (though anyone could bind it).
    return bind_abstract_name(std::string(name) + "-" + std::to_string(getuid()) + "-" + display);
}

void use_window_system(WindowSystem system)
{
    chosen_window_system = system;
}

WindowSystem window_system()
{
    return chosen_window_system;
}

std::uint32_t system_version_word()
{
    return 0x0206;
}

void set_exit_hook(void (*hook)())
{
    exit_hook = hook;
}

void set_end_step(void (*step)())
{
    end_step = step;
}

void exit_process(int code)
{
    if (exit_hook)
        exit_hook();
    if (end_step)
        end_step();
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
}

void end_process_now(int code)
{
    if (end_step)
        end_step();
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
}

} // namespace platform

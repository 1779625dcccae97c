// Process-level services: the single-instance claim, the version word and
// the exit path.
#include "platform/platform.h"
#include "platform/posix_end_step.h"

#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
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

// A folder of this user's alone: a real directory (not a link), owned by the
// effective uid, mode 0700. Nobody else can then create, replace or hold a
// file in it.
bool is_private_folder(const struct stat& info)
{
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 07777) == 0700;
}

// Opens `path` only if it names a private folder. lstat looks at the name
// itself, without following a link; fstat then checks that the folder opened
// is that same one, so a swap between the two calls is caught. -1 otherwise.
int open_private_folder(const std::string& path)
{
    struct stat named {};
    if (lstat(path.c_str(), &named) != 0 || !is_private_folder(named))
        return -1;
    int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return -1;
    struct stat opened {};
    if (fstat(folder, &opened) != 0 || !is_private_folder(opened) || opened.st_dev != named.st_dev ||
        opened.st_ino != named.st_ino) {
        close(folder);
        return -1;
    }
    return folder;
}

// The folder the claim's lock lives in: the user's runtime folder when it is
// private, else /tmp/vesperine-UID, made here if missing and checked the same
// way. -1 when neither is private to this user.
int open_lock_folder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        int folder = open_private_folder(runtime);
        if (folder >= 0)
            return folder;
    }
    std::string own = "/tmp/vesperine-" + std::to_string(geteuid());
    mkdir(own.c_str(), 0700); // it may exist already; the check decides
    return open_private_folder(own);
}

enum class Lock { Held, Taken, Failed };

// Takes an exclusive flock on `name` inside `folder`, created for the owner
// alone and never through a link. The kernel drops the lock the moment the
// process ends, even on SIGKILL.
Lock lock_file(int folder, const std::string& name)
{
    int fd = openat(folder, name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Lock::Failed;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
        return Lock::Held; // keep fd open for the life of the process
    Lock result = errno == EWOULDBLOCK ? Lock::Taken : Lock::Failed;
    close(fd);
    return result;
}

} // namespace

bool claim_single_instance(const char* name)
{
    // One claim per user and display, as a lock in a folder that only this
    // user can write: a name anyone could take first would let another
    // local user stop this user's saver.
    int folder = open_lock_folder();
    Lock lock = Lock::Failed;
    if (folder >= 0) {
        lock = lock_file(folder, std::string(name) + "-" + claimed_display() + ".lock");
        close(folder);
    }
    if (lock == Lock::Failed)
        note("Vesperine: no folder of this user's own for the single-instance lock "
             "($XDG_RUNTIME_DIR or /tmp/vesperine-UID, mode 0700); running without the rule");
    return lock != Lock::Taken;
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

// Process-level services: the single-instance claim, the version word and
// the exit path.
#include "platform/platform.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {
void (*exit_hook)() = nullptr;
}

bool claim_single_instance(const char* name)
{
    // A socket bound in the abstract namespace: no file is created, and the
    // kernel drops the name the moment the process ends, even on SIGKILL.
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::size_t length = std::strlen(name);
    if (length > sizeof(address.sun_path) - 1)
        length = sizeof(address.sun_path) - 1;
    std::memcpy(address.sun_path + 1, name, length); // sun_path[0] stays 0
    socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0)
        return true; // keep fd open for the life of the process
    bool taken = errno == EADDRINUSE;
    close(fd);
    return !taken;
}

std::uint32_t system_version_word()
{
    return 0x0206;
}

void set_exit_hook(void (*hook)())
{
    exit_hook = hook;
}

void exit_process(int code)
{
    if (exit_hook)
        exit_hook();
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
}

void end_process_now(int code)
{
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
}

} // namespace platform

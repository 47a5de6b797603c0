#include "sim/pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rvq::sim {
namespace {

bool MakeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

bool OpenRawPty(RawPty& pty, std::string& error) {
    pty = RawPty{};
    pty.master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    char name[128];
    const bool ok = pty.master >= 0 && grantpt(pty.master) == 0 && unlockpt(pty.master) == 0 &&
                    ptsname_r(pty.master, name, sizeof name) == 0;
    if (ok) {
        pty.slavePath = name;
        pty.slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    if (!ok || pty.slave < 0 || !MakeRaw(pty.slave) || !MakeRaw(pty.master)) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        CloseRawPty(pty);
        return false;
    }
    return true;
}

void CloseRawPty(RawPty& pty) {
    if (pty.master >= 0) close(pty.master);
    if (pty.slave >= 0) close(pty.slave);
    pty = RawPty{};
}

}  // namespace rvq::sim

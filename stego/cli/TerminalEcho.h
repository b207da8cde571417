// Typing a secret unseen: the terminal's echo off for as long as an object
// lives, and the Enter key still moving to the next line. POSIX terminals only.
#pragma once

#include <termios.h>
#include <unistd.h>

namespace stego::cli {

class EchoOff {
public:
    /// fd: a terminal; anything else is left as it is, and active() says so.
    explicit EchoOff(int fd) : m_fd(fd) {
        m_active = ::tcgetattr(m_fd, &m_saved) == 0;
        if (m_active) {
            termios quiet = m_saved;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            quiet.c_lflag |= ECHONL;
            m_active = ::tcsetattr(m_fd, TCSAFLUSH, &quiet) == 0;
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    ~EchoOff() {
        if (m_active)
            ::tcsetattr(m_fd, TCSAFLUSH, &m_saved);
    }

    bool active() const { return m_active; }

private:
    int m_fd;
    termios m_saved{};
    bool m_active = false;
};

}  // namespace stego::cli

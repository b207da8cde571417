#include "PassphrasePrompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "support/SecureClear.h"

namespace stego::cli {

namespace {

constexpr std::size_t kLongestLine = 4096;

class Terminal {
public:
    Terminal() : m_fd(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC)) {}
    ~Terminal() {
        if (m_quiet)
            ::tcsetattr(m_fd, TCSAFLUSH, &m_saved);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    bool silence() {
        if (m_fd < 0 || ::tcgetattr(m_fd, &m_saved) != 0)
            return false;
        termios quiet = m_saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;  // the Enter key still moves to the next line
        m_quiet = ::tcsetattr(m_fd, TCSAFLUSH, &quiet) == 0;
        return m_quiet;
    }
    void write(const std::string& text) const {
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t wrote = ::write(m_fd, text.data() + done, text.size() - done);
            if (wrote <= 0)
                return;
            done += static_cast<std::size_t>(wrote);
        }
    }
    std::string readLine() const {
        std::string line;
        line.reserve(kLongestLine);  // no reallocation leaves a copy behind
        char ch = 0;
        while (line.size() < kLongestLine && ::read(m_fd, &ch, 1) == 1 && ch != '\n')
            line.push_back(ch);
        support::secureClear(&ch, 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }

private:
    int m_fd;
    termios m_saved{};
    bool m_quiet = false;
};

}  // namespace

std::optional<std::string> askOnTerminal(const std::string& prompt) {
    Terminal terminal;
    if (!terminal.silence())
        return std::nullopt;
    terminal.write(prompt);
    return terminal.readLine();
}

}  // namespace stego::cli

#include "PassphrasePrompt.h"

#include <fcntl.h>
#include <unistd.h>

#include "SecretInput.h"
#include "TerminalEcho.h"
#include "support/SecureClear.h"

namespace stego::cli {

namespace {

// The controlling terminal, whatever standard input is.
class Terminal {
public:
    Terminal() : m_fd(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC)) {}
    ~Terminal() {
        m_quiet.reset();  // the echo back on before the terminal closes
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    bool silence() {
        if (m_fd < 0)
            return false;
        m_quiet.emplace(m_fd);
        return m_quiet->active();
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
        line.reserve(kLongestSecretLine);  // no reallocation leaves a copy behind
        char ch = 0;
        while (line.size() < kLongestSecretLine && ::read(m_fd, &ch, 1) == 1 && ch != '\n')
            line.push_back(ch);
        support::secureClear(&ch, 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }

private:
    int m_fd;
    std::optional<EchoOff> m_quiet;
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

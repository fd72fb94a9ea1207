#include "Password.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace kavexsql {

namespace {

// Restores the terminal's settings however the read ends.
class EchoOff {
  public:
    explicit EchoOff(int fd) : fd_(fd) {
        if (tcgetattr(fd_, &saved_) == 0) {
            termios quiet = saved_;
            quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
            // TCSANOW, not TCSAFLUSH: a password typed ahead of the prompt must not be thrown away.
            active_ = tcsetattr(fd_, TCSANOW, &quiet) == 0;
        }
    }
    ~EchoOff() {
        if (active_) tcsetattr(fd_, TCSANOW, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::optional<std::string> askPassword(const std::string& prompt) {
    Fd tty(open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (tty.get() < 0) return std::nullopt;
    std::string password;
    {
        // Echo goes off before the prompt appears, so nothing typed after it is ever shown.
        EchoOff echoOff(tty.get());
        if (write(tty.get(), prompt.data(), prompt.size()) < 0) return std::nullopt;
        char c;
        while (read(tty.get(), &c, 1) == 1 && c != '\n' && c != '\r') password += c;
    }
    if (write(tty.get(), "\n", 1) < 0) return password;
    return password;
}

}  // namespace kavexsql

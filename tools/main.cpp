// sonmira-unit-sim: a simulated sound processor on a pseudo-terminal, for
// trying the program and for end-to-end tests without the real unit.
#include "UnitEngine.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <string>
#include <utility>

using sonmira::unitsim::LineTiming;
using sonmira::unitsim::UnitEngine;
using sonmira::unitsim::UnitFaults;

namespace {

const char* const Usage =
    R"(Usage: sonmira-unit-sim [options]
Serves a simulated sound processor on a new pseudo-terminal and prints the
terminal's path on one line. Point a COM alias at it (a symlink
$XDG_CONFIG_HOME/sonmira/ports/COM1). SIGTERM or SIGINT ends it; SIGUSR1 makes
the unit send the key selector reset 0xFE.

Options:
  --link PATH             also make PATH a symlink to the terminal (removed on exit)
  --no-pacing             answer at once instead of at 9600 baud (1.04 ms a byte)
  --delay MS              wait MS milliseconds before each answer
  --silent                answer nothing at all
  --model BYTE            answer the model query with BYTE (default 0x6E)
  --key-answer BYTE       answer a live key write with BYTE (default 0x33)
  --stop-echo-after N     echo N heartbeats, then stop echoing
  --stop-after N          answer N commands, then fall silent (no echo either)
  --reset-after N         send 0xFE once, right after answering the Nth command
  --flood-after N         right after answering the Nth command, send noise as
                          fast as the terminal takes it; what it cannot take
                          is lost, as from a fast adapter
  --flood-bytes COUNT     how much noise --flood-after sends (default 4096)
  --verbose               show the traffic on standard error
  --help                  show this text
BYTE takes decimal or 0x-prefixed hexadecimal.
)";

int wakePipe[2] = {-1, -1};

void onSignal(int sig) {
    const unsigned char c = static_cast<unsigned char>(sig);
    const int saved = errno;
    [[maybe_unused]] const auto n = write(wakePipe[1], &c, 1);
    errno = saved;
}

struct Options {
    std::string link;
    UnitFaults faults;
    bool verbose = false;
};

bool parseNumber(const char* text, long max, int& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 0);
    if (errno != 0 || *end != '\0' || v < 0 || v > max) return false;
    out = static_cast<int>(v);
    return true;
}

// 0 to go on, else the exit code.
int parseOptions(int argc, char** argv, Options& o) {
    o.faults.paced = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        int n = 0;
        const auto number = [&](long max) {
            if (!parseNumber(next, max, n)) {
                std::fprintf(stderr, "sonmira-unit-sim: %s needs a number from 0 to %ld\n", a.c_str(), max);
                return false;
            }
            ++i;
            return true;
        };
        if (a == "--help" || a == "-h") {
            std::fputs(Usage, stdout);
            return -1;
        } else if (a == "--link" && next) {
            o.link = next;
            ++i;
        } else if (a == "--no-pacing") {
            o.faults.paced = false;
        } else if (a == "--silent") {
            o.faults.silent = true;
        } else if (a == "--verbose") {
            o.verbose = true;
        } else if (a == "--delay") {
            if (!number(60000)) return 2;
            o.faults.replyDelayMs = n;
        } else if (a == "--model") {
            if (!number(255)) return 2;
            o.faults.modelAnswer = static_cast<std::uint8_t>(n);
        } else if (a == "--key-answer") {
            if (!number(255)) return 2;
            o.faults.keyAnswer = static_cast<std::uint8_t>(n);
        } else if (a == "--stop-echo-after") {
            if (!number(INT_MAX)) return 2;
            o.faults.echoLimit = n;
        } else if (a == "--stop-after") {
            if (!number(INT_MAX)) return 2;
            o.faults.commandLimit = n;
        } else if (a == "--reset-after") {
            if (!number(INT_MAX)) return 2;
            o.faults.selectorResetAfter = n;
        } else if (a == "--flood-after") {
            if (!number(INT_MAX)) return 2;
            o.faults.floodAfter = n;
        } else if (a == "--flood-bytes") {
            if (!number(10'000'000)) return 2;
            o.faults.floodBytes = n;
        } else {
            std::fprintf(stderr, "sonmira-unit-sim: unknown option %s (see --help)\n", a.c_str());
            return 2;
        }
    }
    return 0;
}

std::int64_t nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
}

void showBytes(const char* who, const std::uint8_t* b, std::size_t n) {
    std::fprintf(stderr, "%s:", who);
    for (std::size_t i = 0; i < n; ++i) std::fprintf(stderr, " %02X", b[i]);
    std::fputc('\n', stderr);
}

// The pseudo-terminal pair. The program keeps a slave descriptor of its own,
// so the slave stays usable while the program under test closes and reopens it.
struct Terminal {
    int master = -1;
    int slave = -1;
    std::string path;

    bool open() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return false;
        const char* name = ptsname(master);
        if (!name) return false;
        path = name;
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        fcntl(master, F_SETFD, FD_CLOEXEC);
        slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave < 0) return false;
        termios t{};
        if (tcgetattr(slave, &t) == 0) {
            cfmakeraw(&t);
            cfsetspeed(&t, B9600);
            tcsetattr(slave, TCSANOW, &t);
        }
        return true;
    }
    ~Terminal() {
        if (slave >= 0) close(slave);
        if (master >= 0) close(master);
    }
};

// Removes the --link symlink on exit, if it still points at our terminal.
struct LinkGuard {
    std::string link, target;
    bool make() {
        struct stat st{};
        if (lstat(link.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(link.c_str());
        return symlink(target.c_str(), link.c_str()) == 0;
    }
    ~LinkGuard() {
        if (link.empty()) return;
        char buf[PATH_MAX];
        const auto n = readlink(link.c_str(), buf, sizeof buf - 1);
        if (n > 0 && std::string(buf, static_cast<std::size_t>(n)) == target) unlink(link.c_str());
    }
};

} // namespace

int main(int argc, char** argv) {
    Options opt;
    if (const int rc = parseOptions(argc, argv, opt)) return rc < 0 ? 0 : rc;

    if (pipe(wakePipe) != 0) return 1;
    for (int fd : wakePipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction sa{};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) sigaction(sig, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    Terminal term;
    if (!term.open()) {
        std::fprintf(stderr, "sonmira-unit-sim: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    LinkGuard guard;
    if (!opt.link.empty()) {
        guard.target = term.path;
        guard.link = opt.link;
        if (!guard.make()) {
            std::fprintf(stderr, "sonmira-unit-sim: cannot link %s: %s\n", opt.link.c_str(), std::strerror(errno));
            return 1;
        }
    }
    std::printf("%s\n", term.path.c_str());
    std::fflush(stdout);

    UnitEngine unit(opt.faults);
    LineTiming timing(opt.faults.paced);
    std::deque<std::pair<std::int64_t, std::uint8_t>> outbox; // due time, byte
    const auto queue = [&](const std::vector<std::uint8_t>& bytes, std::int64_t readyNs) {
        const auto times = timing.departures(readyNs, bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) outbox.emplace_back(times[i], bytes[i]);
    };

    bool running = true;
    std::uint8_t buf[4096];
    while (running) {
        timespec wait{};
        timespec* waitPtr = nullptr;
        if (!outbox.empty()) {
            const std::int64_t left = std::max<std::int64_t>(0, outbox.front().first - nowNs());
            wait.tv_sec = static_cast<time_t>(left / 1'000'000'000);
            wait.tv_nsec = static_cast<long>(left % 1'000'000'000);
            waitPtr = &wait;
        }
        // Noise goes out behind the answers, whenever the terminal has room.
        const bool noiseNext = outbox.empty() && unit.noisePending() > 0;
        pollfd fds[2] = {{term.master, static_cast<short>(POLLIN | (noiseNext ? POLLOUT : 0)), 0},
                         {wakePipe[0], POLLIN, 0}};
        if (ppoll(fds, 2, waitPtr, nullptr) < 0 && errno != EINTR) break;

        if (fds[1].revents & POLLIN) {
            unsigned char sig = 0;
            while (read(wakePipe[0], &sig, 1) == 1) {
                if (sig == SIGUSR1) queue(unit.selectorReset(), nowNs());
                else running = false;
            }
        }
        if (fds[0].revents & POLLIN) {
            const auto n = read(term.master, buf, sizeof buf);
            if (n > 0) {
                const auto count = static_cast<std::size_t>(n);
                if (opt.verbose) showBytes("host", buf, count);
                const std::int64_t arrived = timing.arrival(nowNs(), count);
                queue(unit.receive(buf, count), arrived + std::int64_t{opt.faults.replyDelayMs} * 1'000'000);
            }
        }
        // Everything due goes out in one write. When the program does not read
        // and the terminal's buffer is full, the bytes are lost, as a real
        // receiver would lose them.
        const std::int64_t now = nowNs();
        std::size_t due = 0;
        while (due < outbox.size() && due < sizeof buf && outbox[due].first <= now) {
            buf[due] = outbox[due].second;
            ++due;
        }
        if (due > 0) {
            if (opt.verbose) showBytes("unit", buf, due);
            const auto written = write(term.master, buf, due);
            if (written < 0 && errno != EAGAIN && errno != EIO) break;
            outbox.erase(outbox.begin(), outbox.begin() + static_cast<std::ptrdiff_t>(due));
        }
        // Made as it is sent, and what the terminal does not take now is
        // dropped: the unit never holds more than one chunk of it.
        if (noiseNext && (fds[0].revents & POLLOUT)) {
            const auto noise = unit.takeNoise(sizeof buf);
            if (opt.verbose) std::fprintf(stderr, "unit: %zu bytes of noise\n", noise.size());
            const auto written = write(term.master, noise.data(), noise.size());
            if (written < 0 && errno != EAGAIN && errno != EIO) break;
        }
    }
    return 0;
}

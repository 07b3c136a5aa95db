#include "sim/pty_logger_host.h"

#include <algorithm>
#include <chrono>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

#include "sim/far_end.h"

namespace brevik::sim {

namespace {

std::int64_t steadyNanos() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

#ifndef _WIN32
std::uint32_t baudOfSpeed(speed_t speed) {
  switch (speed) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
  }
}
#endif

}  // namespace

PtyLoggerHost::PtyLoggerHost(LoggerProfile profile, const DateTime& pcNow, int master, int slave,
                             std::string path)
    : farEnd_(makeFarEnd(std::move(profile), pcNow)),
      master_(master),
      slave_(slave),
      devicePath_(std::move(path)),
      startNanos_(steadyNanos()) {
  farEnd_->setTransmit([this](std::string_view bytes, std::uint32_t baud, Micros at) {
    for (const char c : bytes) toProgram_.push_back(Timed{twinWire_.next(at, baud), static_cast<std::uint8_t>(c), baud});
  });
}

#ifdef _WIN32

Result<std::unique_ptr<PtyLoggerHost>> PtyLoggerHost::open(LoggerProfile, const DateTime&) {
  return makeError(ErrorKind::General, "pseudo-terminals are not available on this system");
}
PtyLoggerHost::~PtyLoggerHost() = default;
Status PtyLoggerHost::serve(const std::atomic<bool>&) {
  return makeError(ErrorKind::General, "pseudo-terminals are not available on this system");
}
Micros PtyLoggerHost::now() const { return 0; }
std::uint32_t PtyLoggerHost::programBaud() const { return 0; }
void PtyLoggerHost::readFromProgram(bool) {}
void PtyLoggerHost::dropProgramOutput() {}
void PtyLoggerHost::runDue() {}
void PtyLoggerHost::writeToProgram(std::uint8_t) {}
void PtyLoggerHost::count(std::uint64_t&, std::uint32_t) {}

#else

Result<std::unique_ptr<PtyLoggerHost>> PtyLoggerHost::open(LoggerProfile profile, const DateTime& pcNow) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) return makeError(ErrorKind::PortUnavailable, "cannot create a pseudo-terminal");
  const auto fail = [master](const char* what) {
    ::close(master);
    return makeError(ErrorKind::PortUnavailable, what);
  };
  if (grantpt(master) != 0 || unlockpt(master) != 0) return fail("cannot unlock the pseudo-terminal");
  const char* name = ptsname(master);
  if (!name) return fail("the pseudo-terminal has no name");
  std::string path = name;
  // Kept open for the host's lifetime: without it the master reads EIO
  // whenever the program closes its end.
  const int slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);
  if (slave < 0) return fail("cannot open the pseudo-terminal's device");
  // Raw at once: no echo, no line editing, no CR/LF translation, before the
  // program's first byte.
  termios raw{};
  if (tcgetattr(slave, &raw) == 0) {
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
  }
  int packetMode = 1;
  if (ioctl(master, TIOCPKT, &packetMode) != 0) {
    ::close(slave);
    return fail("cannot set up the pseudo-terminal");
  }
  const int flags = fcntl(master, F_GETFL);
  if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) {
    ::close(slave);
    return fail("cannot set up the pseudo-terminal");
  }
  return std::unique_ptr<PtyLoggerHost>(
      new PtyLoggerHost(std::move(profile), pcNow, master, slave, std::move(path)));
}

PtyLoggerHost::~PtyLoggerHost() {
  farEnd_->setTransmit({});
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

Micros PtyLoggerHost::now() const { return (steadyNanos() - startNanos_) / 1000; }

std::uint32_t PtyLoggerHost::programBaud() const {
  termios t{};
  if (tcgetattr(slave_, &t) != 0) return farEnd_->baud();
  const std::uint32_t baud = baudOfSpeed(cfgetospeed(&t));
  // A speed the table does not know is taken to be the logger's own.
  return baud != 0 ? baud : farEnd_->baud();
}

void PtyLoggerHost::readFromProgram(bool wireFree) {
  // Bytes are taken from the pty only as fast as the wire would carry them:
  // what the program has not yet "sent" stays in the pty's buffer. The pty
  // runs in packet mode, so a flush of the program's output (the baud
  // switch drops the rest of the wake-up burst) is seen as a status byte.
  const std::uint32_t baud = programBaud();
  const Micros charTime = std::max<Micros>(1, characterTime(baud));
  const Micros t = now();
  // After a pause the line starts afresh, when the bytes are found; within
  // a run they follow each other without a gap, however late the poll woke
  // up. The pause is judged only once bytes are there: a poll that found
  // nothing must not move the start of the next run back in time.
  Micros start = programWire_.freeAt();
  if (t - start > milliseconds(5)) start = t;
  const Micros budget =
      wireFree ? std::clamp<Micros>((t + milliseconds(2) - start) / charTime, 1, 256) : 0;
  std::uint8_t buffer[257];
  // EAGAIN: nothing sent; EIO: nobody has the port open.
  const ssize_t n = ::read(master_, buffer, static_cast<std::size_t>(budget + 1));
  if (n <= 0) return;
  if (buffer[0] != TIOCPKT_DATA) {
    if (buffer[0] & TIOCPKT_FLUSHWRITE) dropProgramOutput();
    return;
  }
  if (n > 1 && start != programWire_.freeAt()) programWire_.restartAt(start);
  for (ssize_t i = 1; i < n; ++i) toTwin_.push_back(Timed{programWire_.next(programWire_.freeAt(), baud), buffer[i], baud});
}

void PtyLoggerHost::dropProgramOutput() {
  // What has reached the twin stays; the rest was still in the program's
  // output buffer.
  runDue();
  const Micros t = now();
  while (!toTwin_.empty() && toTwin_.back().at > t) toTwin_.pop_back();
  std::uint8_t buffer[4096];
  while (::read(master_, buffer, sizeof buffer) > 0) {
  }
  if (programWire_.freeAt() > t) programWire_.restartAt(t);
}

void PtyLoggerHost::count(std::uint64_t& bytes, std::uint32_t baud) {
  ++bytes;
  if (baud != 0) traffic_.wireSeconds += 10.0 / baud;
}

void PtyLoggerHost::writeToProgram(std::uint8_t byte) {
  // Nobody reading, or a full buffer: the byte is lost, as on a wire.
  (void)::write(master_, &byte, 1);
}

void PtyLoggerHost::runDue() {
  const Micros t = now();
  // Events in time order: bytes reaching the twin, the twin's own
  // deadlines, bytes reaching the program.
  for (;;) {
    const auto deadline = farEnd_->nextDeadline();
    const Micros inAt = toTwin_.empty() ? t + 1 : toTwin_.front().at;
    const Micros outAt = toProgram_.empty() ? t + 1 : toProgram_.front().at;
    const Micros dlAt = deadline ? *deadline : t + 1;
    const Micros first = std::min({inAt, outAt, dlAt});
    if (first > t) return;
    if (first == dlAt && deadline) {
      farEnd_->advanceTo(dlAt);
    } else if (first == inAt && !toTwin_.empty()) {
      const Timed b = toTwin_.front();
      toTwin_.pop_front();
      count(traffic_.bytesToTwin, b.baud);
      farEnd_->receive(b.byte, b.baud, b.at);
    } else {
      const Timed b = toProgram_.front();
      toProgram_.pop_front();
      if (auto seen = programReceiver_.receive(b.byte, b.baud, programBaud(), b.at)) {
        count(traffic_.bytesToProgram, b.baud);
        if (seen->value == '\r') ++traffic_.linesToProgram;
        writeToProgram(seen->value);
      }
    }
  }
}

Status PtyLoggerHost::serve(const std::atomic<bool>& stop) {
  while (!stop.load()) {
    runDue();
    Micros wait = milliseconds(20);
    const Micros t = now();
    for (const auto& q : {&toTwin_, &toProgram_})
      if (!q->empty()) wait = std::min(wait, q->front().at - t);
    if (const auto d = farEnd_->nextDeadline()) wait = std::min(wait, *d - t);
    // While the wire is busy the program's next bytes wait in the pty.
    const bool wireFree = t >= programWire_.freeAt();
    if (!wireFree) wait = std::min(wait, programWire_.freeAt() - t);
    pollfd p{master_, static_cast<short>(wireFree ? POLLIN | POLLPRI : POLLPRI), 0};
    // To the microsecond: a poll rounded up to whole milliseconds would hand
    // each byte over up to a millisecond late, a few per cent of a line at
    // 57600 baud.
    const Micros waitMicros = std::max<Micros>(0, wait);
#ifdef __linux__
    const timespec timeout{static_cast<time_t>(waitMicros / kMicrosPerSecond),
                           static_cast<long>(waitMicros % kMicrosPerSecond * 1000)};
    const int r = ::ppoll(&p, 1, &timeout, nullptr);
#else
    const int r = ::poll(&p, 1, static_cast<int>((waitMicros + 999) / 1000));
#endif
    if (r < 0 && errno != EINTR) return makeError(ErrorKind::Io, "the pseudo-terminal failed");
    if (r >= 0) readFromProgram(t >= programWire_.freeAt() || now() >= programWire_.freeAt());
    if (r > 0 && (p.revents & (POLLHUP | POLLERR)) && !(p.revents & POLLIN)) {
      // Cannot happen while the slave end is held; do not spin if it does.
      ::usleep(10000);
    }
  }
  return {};
}

#endif

}  // namespace brevik::sim

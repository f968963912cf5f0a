#include "sensor/serial_port.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "sensor/sensor_errors.h"

namespace {

[[noreturn]] void RaiseErrno(int code) { throw ESynaSerError(code); }

speed_t SpeedFor(int baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: RaiseErrno(EINVAL);
  }
}

// The descriptor, kept in the host-neutral Handle member.
int Fd(intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

SerialPort::~SerialPort() {
  if (Handle >= 0) close(Fd(Handle));
}

void SerialPort::Connect(const std::string& devicePath) {
  if (devicePath.empty()) RaiseErrno(ENOENT);
  if (Handle >= 0) close(Fd(Handle));
  Handle = open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (Handle < 0) RaiseErrno(errno);
  // TIOCEXCL stops other opens (root bypasses it); the lock holds for root too.
  // A device that is not a terminal answers ENOTTY here and fails in Config.
  if (ioctl(Fd(Handle), TIOCEXCL) != 0 && errno != ENOTTY) RaiseErrno(errno);
  if (flock(Fd(Handle), LOCK_EX | LOCK_NB) != 0) RaiseErrno(errno == EWOULDBLOCK ? EBUSY : errno);
  // Pseudo-terminals have no modem lines and answer ENOTTY: nothing to raise.
  const int lines = TIOCM_DTR | TIOCM_RTS;
  if (ioctl(Fd(Handle), TIOCMBIS, &lines) != 0 && errno != ENOTTY && errno != EINVAL) RaiseErrno(errno);
  if (tcflush(Fd(Handle), TCIOFLUSH) != 0 && errno != ENOTTY) RaiseErrno(errno);
}

void SerialPort::Config(int baud, int bits, char parity, int stopBits, bool softFlow, bool hardFlow) {
  termios tio{};
  if (tcgetattr(Fd(Handle), &tio) != 0) RaiseErrno(errno);

  // Input: no break, CR/NL, parity or XON/XOFF processing; bytes pass untouched.
  tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | INPCK | IXON | IXOFF | IXANY);
  if (softFlow) tio.c_iflag |= IXON | IXOFF;
  // Output: no post-processing, so nothing we might send is rewritten.
  tio.c_oflag &= ~OPOST;
  // Local: no canonical lines, echo or signals; canonical mode would eat bytes.
  tio.c_lflag &= ~(ICANON | ECHO | ECHOE | ECHONL | ISIG | IEXTEN);
  // Control: receiver on, modem status ignored, character size and framing as asked.
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  tio.c_cflag |= CLOCAL | CREAD | HUPCL;
  tio.c_cflag |= bits == 7 ? CS7 : CS8;
  if (parity == 'E' || parity == 'O') tio.c_cflag |= PARENB | (parity == 'O' ? PARODD : 0);
  if (stopBits == 2) tio.c_cflag |= CSTOPB;
  if (hardFlow) tio.c_cflag |= CRTSCTS;
  // With O_NONBLOCK, VMIN 1 makes an empty queue EAGAIN and a hang-up a read
  // of 0; VMIN 0 would return 0 for both. Waiting is poll()'s job.
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;

  const speed_t speed = SpeedFor(baud);
  if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0) RaiseErrno(errno);
  if (tcsetattr(Fd(Handle), TCSANOW, &tio) != 0) RaiseErrno(errno);
}

int32_t SerialPort::Queued() {
  int count = 0;
  if (ioctl(Fd(Handle), FIONREAD, &count) != 0) RaiseErrno(errno);
  return count;
}

size_t SerialPort::Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) {
  pollfd pfd{Fd(Handle), POLLIN, 0};
  const int timeout = timeoutMs < 0 ? 0 : static_cast<int>(timeoutMs);
  const int ready = poll(&pfd, 1, timeout);
  if (ready < 0) {
    if (errno == EINTR) return 0;  // the caller re-checks its deadline
    RaiseErrno(errno);
  }
  if (ready == 0) return 0;
  if (pfd.revents & POLLNVAL) RaiseErrno(EBADF);
  // Readable, hung up or failed: the read tells which. A vanished device
  // (unplugged adapter, closed pseudo-terminal master) must end the wait at
  // once rather than look like silence, and a hung-up terminal may flag
  // POLLIN with nothing queued.
  for (;;) {
    const ssize_t got = read(Fd(Handle), buffer, max);
    if (got > 0) return static_cast<size_t>(got);
    if (got == 0) RaiseErrno(EIO);  // hang-up: the device is gone
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    RaiseErrno(errno);
  }
}

#include "sensor/serial_port.h"

#include <windows.h>

#include "sensor/sensor_errors.h"

namespace {

constexpr DWORD QueueSize = 4096;        // bytes, both directions
constexpr DWORD ReadIntervalMs = 50;     // a gap this long after a byte ends the burst
constexpr int64_t MaxReadWaitMs = 1000;  // longest sleep between two checks of the device
constexpr DWORD MaxReadBytes = 4096;

[[noreturn]] void RaiseLastError() { throw ESynaSerError(static_cast<int>(GetLastError())); }

HANDLE Port(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Virtual ports (USB CDC, com0com, wine's pseudo-terminals) have no modem
// lines and answer "not supported": nothing to raise.
void RaiseLine(HANDLE port, DWORD function) {
  if (!EscapeCommFunction(port, function) && GetLastError() != ERROR_NOT_SUPPORTED) RaiseLastError();
}

// The line errors (framing, parity, overrun) that ClearCommError reports are
// cleared and not raised: a damaged byte fails its frame's checksum, which
// the loop counts. Fails only when the device itself has failed or vanished.
bool QueryPort(HANDLE port, COMSTAT& status) {
  DWORD errors = 0;
  return ClearCommError(port, &errors, &status) != FALSE;
}

}  // namespace

SerialPort::~SerialPort() {
  if (Handle != -1) CloseHandle(Port(Handle));
}

void SerialPort::Connect(const std::string& devicePath) {
  if (devicePath.empty()) throw ESynaSerError(ERROR_FILE_NOT_FOUND);
  if (Handle != -1) CloseHandle(Port(Handle));
  ReadTimeoutMs = -1;
  // Share mode 0: no other program may open the port while we hold it.
  const HANDLE port = CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (port == INVALID_HANDLE_VALUE) RaiseLastError();
  Handle = reinterpret_cast<intptr_t>(port);
  if (!SetupComm(port, QueueSize, QueueSize)) RaiseLastError();
  RaiseLine(port, SETRTS);
  RaiseLine(port, SETDTR);
  if (!PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR)) RaiseLastError();
}

void SerialPort::Config(int baud, int bits, char parity, int stopBits, bool softFlow, bool hardFlow) {
  const HANDLE port = Port(Handle);
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(port, &dcb)) RaiseLastError();

  dcb.BaudRate = static_cast<DWORD>(baud);
  dcb.ByteSize = static_cast<BYTE>(bits);
  dcb.Parity = parity == 'E' ? EVENPARITY : parity == 'O' ? ODDPARITY : NOPARITY;
  dcb.fParity = dcb.Parity != NOPARITY;
  dcb.StopBits = stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
  // Bytes pass untouched: binary, no NUL stripping, no error replacement,
  // and a line error never stops reading until it is cleared.
  dcb.fBinary = TRUE;
  dcb.fNull = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fAbortOnError = FALSE;
  // XON/XOFF only when asked, in both directions.
  dcb.fOutX = softFlow;
  dcb.fInX = softFlow;
  // No DSR handshake; CTS/RTS only when asked; DTR and RTS otherwise held on.
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutxCtsFlow = hardFlow;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = hardFlow ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  if (!SetCommState(port, &dcb)) RaiseLastError();
}

int32_t SerialPort::Queued() {
  COMSTAT status{};
  if (!QueryPort(Port(Handle), status)) RaiseLastError();
  return static_cast<int32_t>(status.cbInQue);
}

size_t SerialPort::Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) {
  const HANDLE port = Port(Handle);
  // A vanished device may only show as reads that find nothing (wine: after
  // the whole time-out), so the wait is cut into slices and the device
  // checked after each empty one. The caller waits again for the rest.
  int64_t waitMs = timeoutMs < 1 ? 1 : timeoutMs;
  if (waitMs > MaxReadWaitMs) waitMs = MaxReadWaitMs;
  if (waitMs != ReadTimeoutMs) {
    // ReadFile returns when the buffer is full, an interval passes after the
    // last byte, or waitMs pass with nothing: one sleep, one read per burst.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = ReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(waitMs);
    if (!SetCommTimeouts(port, &timeouts)) RaiseLastError();
    ReadTimeoutMs = waitMs;
  }

  DWORD got = 0;
  const DWORD want = max < MaxReadBytes ? static_cast<DWORD>(max) : MaxReadBytes;
  if (!ReadFile(port, buffer, want, &got, nullptr)) RaiseLastError();
  if (got > 0) return got;
  COMSTAT status{};
  if (!QueryPort(port, status)) RaiseLastError();
  return 0;
}

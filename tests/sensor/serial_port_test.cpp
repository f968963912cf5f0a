#include "sensor/serial_port.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <cstdlib>

#include <string>
#include <vector>

#include "sensor/block_serial.h"
#include "sensor/clock.h"
#include "sensor/frame_reader.h"
#include "sensor/sensor_errors.h"

namespace {

// A real pseudo-terminal: the test holds the master, the port opens the slave.
struct PtyFixture : ::testing::Test {
  int Master = -1;
  std::string SlavePath;

  void SetUp() override {
    Master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(Master, 0);
    ASSERT_EQ(grantpt(Master), 0);
    ASSERT_EQ(unlockpt(Master), 0);
    const char* name = ptsname(Master);
    ASSERT_NE(name, nullptr);
    SlavePath = name;
  }
  void TearDown() override {
    if (Master >= 0) close(Master);
  }
  void Open(SerialPort& port) {
    port.Connect(SlavePath);
    port.Config(9600, 8, 'N', 0, false, false);
  }
};

// The code the call raised, or -1 when it raised nothing.
template <typename F>
int RaisedCode(F call) {
  try {
    call();
  } catch (const ESynaSerError& error) {
    return error.ErrorCode();
  }
  return -1;
}

TEST_F(PtyFixture, ConfigMakesTheSlaveRaw8N1At9600) {
  SerialPort port;
  Open(port);
  termios tio{};
  // On Linux the master's attributes are the slave's.
  ASSERT_EQ(tcgetattr(Master, &tio), 0);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP | BRKINT | PARMRK | INPCK), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
  EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t{CS8});
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), tcflag_t{CLOCAL | CREAD});
  EXPECT_EQ(cfgetispeed(&tio), speed_t{B9600});
  EXPECT_EQ(cfgetospeed(&tio), speed_t{B9600});
}

TEST_F(PtyFixture, EveryByteValuePassesUnchanged) {
  SerialPort port;
  Open(port);
  TBlockSerial serial{port};
  SystemClock clock;
  uint8_t empty[4];
  EXPECT_EQ(port.Receive(empty, sizeof empty, 0), 0u);  // nothing yet is not an error

  // CR, LF, XON, XOFF, ^C, DEL, 0xFF and the rest: bytes a cooked tty eats or rewrites.
  std::vector<uint8_t> sent;
  for (int b = 0; b < 256; ++b) sent.push_back(static_cast<uint8_t>(b));
  ASSERT_EQ(write(Master, sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
  std::vector<uint8_t> got;
  for (size_t i = 0; i < sent.size(); ++i) got.push_back(GetByte(serial, clock));
  EXPECT_EQ(got, sent);
}

TEST_F(PtyFixture, SecondConnectToTheSameDeviceIsBusy) {
  SerialPort first;
  Open(first);
  SerialPort second;
  EXPECT_EQ(RaisedCode([&] { second.Connect(SlavePath); }), 16);  // EBUSY, though we may be root
}

TEST(SerialPortTest, EmptyPathIsNoSuchFile) {
  SerialPort port;
  EXPECT_EQ(RaisedCode([&] { port.Connect(""); }), 2);
}

TEST(SerialPortTest, NonTerminalConnectsButFailsConfig) {
  SerialPort port;
  EXPECT_EQ(RaisedCode([&] { port.Connect("/dev/null"); }), -1);
  EXPECT_EQ(RaisedCode([&] { port.Config(9600, 8, 'N', 0, false, false); }), 25);  // ENOTTY
}

TEST_F(PtyFixture, ClosedMasterIsAnIoErrorNotSilence) {
  SerialPort port;
  Open(port);
  close(Master);
  Master = -1;
  uint8_t buffer[4];
  EXPECT_EQ(RaisedCode([&] { port.Receive(buffer, sizeof buffer, 5000); }), 5);
  EXPECT_EQ(RaisedCode([&] { port.Receive(buffer, sizeof buffer, 0); }), 5);
}

}  // namespace

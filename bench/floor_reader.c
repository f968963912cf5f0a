/* The least any reader of the sensor can cost: open the port raw, then sleep
 * in poll() and take each burst with one read(). No parsing, no output. It is
 * the floor that scripts/monitor-cost measures dustlog against.
 *   floor_reader DEVICE */
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <termios.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: floor_reader DEVICE\n");
    return 2;
  }
  const int fd = open(argv[1], O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    perror(argv[1]);
    return 1;
  }
  struct termios tio;
  if (tcgetattr(fd, &tio) != 0) {
    perror("tcgetattr");
    return 1;
  }
  cfmakeraw(&tio);
  cfsetspeed(&tio, B9600);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &tio) != 0) {
    perror("tcsetattr");
    return 1;
  }
  unsigned char buffer[4096];
  struct pollfd pfd = {fd, POLLIN, 0};
  for (;;) {
    if (poll(&pfd, 1, 30000) < 0) continue;
    if (read(fd, buffer, sizeof buffer) == 0) return 0; /* hung up */
  }
}

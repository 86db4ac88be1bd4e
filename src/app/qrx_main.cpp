// The command-line tool; its commands are added as the core grows.
#include <cstdio>

int main() {
  std::puts("qrx " QRX_VERSION_STRING);
  return 0;
}

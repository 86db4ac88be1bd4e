// The workbench's main routine; the windows come with the workbench.
#include <cstdio>

int main() {
  std::puts("The workbench window is not built yet.");
  return 0;
}

// Started by the socket inheritance test with handle inheritance on: its exit
// code is the number of the handle values on its command line that are open
// handles in this process. It opens nothing itself before looking, so that
// none of its own handles can take one of those values.

#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  int open = 0;
  for (int i = 1; i < argc; ++i) {
    const auto handle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(std::strtoull(argv[i], nullptr, 10)));
    DWORD flags = 0;
    if (GetHandleInformation(handle, &flags)) ++open;
  }
  return open;
}

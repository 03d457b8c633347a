#include "StdioMode.h"

void SetBinaryStdio() {}  // POSIX streams never translate line ends

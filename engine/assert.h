// Checks of the program's own invariants; they stay on in release builds.
#pragma once

#include <cstdio>
#include <cstdlib>

#define KUBRIX_ASSERT(cond, msg)                                                              \
  do {                                                                                        \
    if (!(cond)) {                                                                            \
      std::fprintf(stderr, "kubrix: internal error at %s:%d: %s\n", __FILE__, __LINE__, msg); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (0)

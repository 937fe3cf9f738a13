#include "core/cpu_features.h"

bool CpuHasAvx2() {
#if defined(__x86_64__) && defined(__GNUC__)
  // The runtime's answer also checks that the system saves the wide registers.
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}

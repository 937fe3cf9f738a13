#pragma once
// What the processor offers beyond the x86-64 baseline, for the few loops that use it when present.

// True on an x86-64 processor (and operating system) that runs AVX2 instructions; false elsewhere.
bool CpuHasAvx2();

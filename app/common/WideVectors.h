#pragma once

// KESTROVA_WIDE_VECTORS before a per-element loop function builds it twice, for the baseline
// processor and for one with 256-bit vectors; the faster one that the processor runs is chosen
// when the program starts. GCC on x86-64 only, and not in the sanitizer builds.

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__)
#define KESTROVA_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define KESTROVA_WIDE_VECTORS
#endif

#pragma once

// Marks a hot pixel loop to be compiled twice on x86-64, once for AVX2 and once for the
// baseline, with the right one chosen when the program loads. Elsewhere it marks nothing.
#if defined(__x86_64__) && defined(__GNUC__)
#define VELINOR_PIXEL_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define VELINOR_PIXEL_LOOP
#endif

#pragma once
// The loops over a whole row of a table get AVX-512 and AVX2 versions where
// the processor has them, chosen at load time. Wider vectors of the same IEEE
// operations give the same results; contraction is off (-ffp-contract=off),
// so no fused multiply-add is formed and every product is still rounded on
// its own.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define KORVEL_ROW_LOOP __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define KORVEL_ROW_LOOP
#endif

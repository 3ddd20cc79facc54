#pragma once

// Marks a function whose inner loops do FP16 arithmetic. Without the F16C
// instructions every FP16 conversion is a call into the compiler's soft-float
// library; with them it is one instruction. The function is built twice, for
// x86-64-v3 (which has F16C) and for the baseline, and the loader picks the clone
// the processor supports. Both round every operation to FP16, nearest with ties
// to even, so results are identical. Only code written in the marked function's
// own body benefits, so its loops are written inline.
#define IPU_FP16_HARDWARE_CLONES [[gnu::target_clones("arch=x86-64-v3", "default")]]

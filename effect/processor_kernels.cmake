# The voices' kernels exist for more than one instruction set (the baseline
# and, chosen at run time, AVX2) and must give the same bits on all of them:
# no multiply-add may be fused into one rounding.
target_compile_options(reed PRIVATE -ffp-contract=off)
if(WIN32)
  # GCC does not align the Win64 stack for 32-byte values, so any spill of a
  # wide register must use unaligned moves.
  target_compile_options(reed PRIVATE -Wa,-muse-unaligned-vector-move)
endif()

# The loop of two z^2 + c orbits (SquarePair.h) in x87 assembly.
#
# It exists because the compiler cannot keep two orbits on the eight-register
# x87 stack: it stores and reloads them every step, and an 80-bit load costs
# as much as a multiplication. Here the stack holds, between steps,
#     x y (the lane being stepped)  x' y' (the other lane)  cx  10
# and each step needs two more. cy is rebuilt from two doubles (cheap loads,
# one exact addition), the mark is first compared through the bits of
# double(x), and a lane takes up the next point where it stands. The
# arithmetic is that of RunSquarePair in SquarePair.cpp, operation for
# operation; a test holds the two to the same bits. The escape radius, the
# limit and the captured count are the pair's own fields, set from the
# definitions the C++ kernels use; the offsets come from SquarePairLayout.h,
# to which SquarePair.h holds the structs with static_assert.

#include "engine/SquarePairLayout.h"

    .set L_X, SQUARE_LANE_X
    .set L_Y, SQUARE_LANE_Y
    .set L_MX, SQUARE_LANE_MARK_X
    .set L_MY, SQUARE_LANE_MARK_Y
    .set L_CYH, SQUARE_LANE_CY_HIGH
    .set L_CYL, SQUARE_LANE_CY_LOW
    .set L_TX, SQUARE_LANE_TRAP_X
    .set L_TY, SQUARE_LANE_TRAP_Y
    .set L_TR2, SQUARE_LANE_TRAP_RADIUS2
    .set L_MXBITS, SQUARE_LANE_MARK_X_BITS
    .set L_STEPS, SQUARE_LANE_STEPS
    .set L_TRAP, SQUARE_LANE_HAS_TRAP
    .set L_ROW, SQUARE_LANE_ROW
    .set LANE1, SQUARE_LANE_SIZE
    .set R_SIZE, SQUARE_ROW_SIZE
    .set R_TRAP, SQUARE_ROW_HAS_TRAP
    .set R_ROW, SQUARE_ROW_ROW
    .set P_CX, SQUARE_PAIR_CX
    .set P_SCRATCH, SQUARE_PAIR_SCRATCH
    .set P_NEXT, SQUARE_PAIR_NEXT
    .set P_END, SQUARE_PAIR_END
    .set P_COUNTS, SQUARE_PAIR_COUNTS
    .set P_RADIUS2, SQUARE_PAIR_RADIUS2
    .set P_LIMIT, SQUARE_PAIR_LIMIT
    .set P_CAPTURED, SQUARE_PAIR_CAPTURED

    .text

# One step of the lane at the top of the stack (offset \lane in the pair,
# step count in \steps, mark bits in \bits; \id is 0 or 1). Leaves the other
# lane at the top.
.macro LANE_STEP lane, steps, bits, id
.Llane\id:
    test    $7, \steps
    jz      .Lrenew\id
.Lstep\id:                          # x y oX oY cx 10
    fld     %st(0)
    fmul    %st(0), %st             # xx x y
    fxch    %st(1)
    fadd    %st(0), %st             # 2x xx y
    fmul    %st(2), %st             # 2xy xx y
    fxch    %st(2)
    fmul    %st(0), %st             # yy xx 2xy oX oY cx 10
    fld     %st(1)
    fadd    %st(1), %st             # xx+yy yy xx 2xy oX oY cx 10
    fcomip  %st(7), %st
    jae     .Lescaped\id
    fsubrp  %st, %st(1)             # xx-yy 2xy oX oY cx 10
    fadd    %st(4), %st             # x' 2xy
    fldl    \lane+L_CYH(%rdi)
    faddl   \lane+L_CYL(%rdi)       # cy x' 2xy
    faddp   %st, %st(2)             # x' y' oX oY cx 10
    inc     \steps
    fstl    P_SCRATCH(%rdi)
    cmp     P_SCRATCH(%rdi), \bits
    je      .Lmark\id
.Lnext\id:
    fxch    %st(2)
    fxch    %st(1)
    fxch    %st(3)
    fxch    %st(1)                  # oX oY x' y' cx 10
.endm

# The renewal at a multiple of 8 steps, the end of a point and the taking up
# of the next.
.macro LANE_END lane, steps, bits, id
.Lrenew\id:                         # x y oX oY cx 10
    fld     %st(0)
    fmul    %st(0), %st
    fld     %st(2)
    fmul    %st(0), %st
    faddp   %st, %st(1)             # xx+yy x y oX oY cx 10
    fcomip  %st(6), %st
    jae     .Lescaped_at_renewal\id
    cmp     P_LIMIT(%rdi), \steps
    je      .Lcaptured\id
    cmpl    $0, \lane+L_TRAP(%rdi)
    je      .Lmark_renewal\id
    fld     %st(0)
    fsubl   \lane+L_TX(%rdi)
    fmul    %st(0), %st
    fld     %st(2)
    fsubl   \lane+L_TY(%rdi)
    fmul    %st(0), %st
    faddp   %st, %st(1)             # d2 x y oX oY cx 10
    fldl    \lane+L_TR2(%rdi)
    fcomip  %st(1), %st
    fstp    %st(0)
    jae     .Lcaptured\id
.Lmark_renewal\id:
    fstl    \lane+L_MXBITS(%rdi)
    mov     \lane+L_MXBITS(%rdi), \bits
    fld     %st(0)
    fstpt   \lane+L_MX(%rdi)
    fld     %st(1)
    fstpt   \lane+L_MY(%rdi)
    jmp     .Lstep\id
.Lmark\id:                          # x' y' oX oY cx 10, double(x') == double(mark)
    fldt    \lane+L_MX(%rdi)
    fucomip %st(1), %st
    jp      .Lnext\id
    jne     .Lnext\id
    fldt    \lane+L_MY(%rdi)
    fucomip %st(2), %st
    jp      .Lnext\id
    jne     .Lnext\id
.Lcaptured\id:                      # x y oX oY cx 10
    mov     P_CAPTURED(%rdi), %eax
    jmp     .Lpop2\id
.Lescaped\id:                       # yy xx 2xy oX oY cx 10
    fstp    %st(0)
.Lescaped_at_renewal\id:            # x y oX oY cx 10
    mov     \steps, %eax
    dec     %eax
.Lpop2\id:
    fstp    %st(0)
    fstp    %st(0)                  # oX oY cx 10
    movslq  \lane+L_ROW(%rdi), %rdx
    mov     P_COUNTS(%rdi), %rcx
    mov     %eax, (%rcx,%rdx,4)
    mov     P_NEXT(%rdi), %rsi
    cmp     P_END(%rdi), %rsi
    je      .Ldrained\id
    lea     R_SIZE(%rsi), %rcx
    mov     %rcx, P_NEXT(%rdi)
    movdqu  (%rsi), %xmm0
    movdqu  %xmm0, \lane+L_CYH(%rdi)
    movdqu  16(%rsi), %xmm0
    movdqu  %xmm0, \lane+L_CYH+16(%rdi)
    mov     32(%rsi), %rcx
    mov     %rcx, \lane+L_TR2(%rdi)
    mov     R_TRAP(%rsi), %ecx
    mov     %ecx, \lane+L_TRAP(%rdi)
    mov     R_ROW(%rsi), %ecx
    mov     %ecx, \lane+L_ROW(%rdi)
    xor     \steps, \steps
    fldz
    fldz                            # 0 0 oX oY cx 10
    jmp     .Llane\id
.Ldrained\id:
    mov     $\id, %eax
    jmp     .Lsave\id
.endm

# Stores the other lane from oX oY cx 10 and leaves.
.macro LANE_SAVE other, id
.Lsave\id:
    fstpt   \other+L_X(%rdi)
    fstpt   \other+L_Y(%rdi)
    fstp    %st(0)
    fstp    %st(0)
    jmp     .Lreturn
.endm

# int quorvex_run_square_pair(SquarePair* pair)
    .globl  quorvex_run_square_pair
    .type   quorvex_run_square_pair, @function
quorvex_run_square_pair:
    fldt    P_RADIUS2(%rdi)
    fldt    P_CX(%rdi)
    fldt    LANE1+L_Y(%rdi)
    fldt    LANE1+L_X(%rdi)
    fldt    L_Y(%rdi)
    fldt    L_X(%rdi)
    mov     L_STEPS(%rdi), %r8d
    mov     LANE1+L_STEPS(%rdi), %r9d
    mov     L_MXBITS(%rdi), %r10
    mov     LANE1+L_MXBITS(%rdi), %r11
    .p2align 4
.Lloop:
    LANE_STEP 0, %r8d, %r10, 0
    LANE_STEP LANE1, %r9d, %r11, 1
    jmp     .Lloop
    LANE_END 0, %r8d, %r10, 0
    LANE_END LANE1, %r9d, %r11, 1
    LANE_SAVE LANE1, 0
    LANE_SAVE 0, 1
.Lreturn:
    mov     %r8d, L_STEPS(%rdi)
    mov     %r9d, LANE1+L_STEPS(%rdi)
    mov     %r10, L_MXBITS(%rdi)
    mov     %r11, LANE1+L_MXBITS(%rdi)
    ret
    .size   quorvex_run_square_pair, .-quorvex_run_square_pair

    .section .note.GNU-stack, "", @progbits

# The loop of two z^2 + c orbits (SquarePair.h) in x87 assembly.
#
# It exists because the compiler cannot keep two orbits on the eight-register
# x87 stack: it stores and reloads them every step, and an 80-bit load costs
# as much as a multiplication. Here the stack holds, between steps,
#     xA yA xB yB cx 10
# (lane 0, lane 1, cx, the escape radius squared) and each step needs two
# more. Lane 0 steps at the top of the stack; lane 1 steps where it stands,
# its results going back into its own two registers, so that the lanes never
# trade places in the loop. cy is rebuilt from two doubles (cheap loads, one
# exact addition), the mark is first compared through the bits of double(x),
# and a lane takes up the next point where it stands. Up to fastFrom steps
# each step tests |z|^2 and keeps it as a float for the end of an orbit that
# escapes; past fastFrom only the renewals every SQUARE_FAST_PERIOD steps
# test it, and go back to the checkpoint where the orbit has escaped; or,
# where the pair has room for parked points, the point is parked there at
# fastFrom (SquareTriple.h goes on with it). Lane 1
# takes those tests where it stands; its rarer paths (the other renewals,
# the end of a point) swap the lanes and run lane 0's code.
# The arithmetic is that of RunSquarePair in SquarePair.cpp, operation for
# operation; a test holds the two to the same bits. The escape radius, the
# limit, the captured count and fastFrom are the pair's own fields, set from
# the definitions the C++ kernels use; the offsets come from
# SquarePairLayout.h, to which SquarePair.h holds the structs with
# static_assert.

#include "engine/SquarePairLayout.h"

    .set LANE1, L_SIZE
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
    .set P_ENDS, SQUARE_PAIR_ENDS
    .set P_FAST, SQUARE_PAIR_FAST_FROM
    .set P_PARKED, SQUARE_PAIR_PARKED
    .set P_PARKED_COUNT, SQUARE_PAIR_PARKED_COUNT
    .set FAST_MASK, SQUARE_FAST_PERIOD - 1
    .set CHECK_MASK, SQUARE_CHECK_PERIOD - 1

    .text

# a b c d -> c d a b: the two lanes trade places at the top of the stack.
.macro SWAP_LANES
    fxch    %st(2)
    fxch    %st(1)
    fxch    %st(3)
    fxch    %st(1)
.endm

# The tested step of the lane at the top up to its escape test:
#   x y oX oY cx 10  ->  r yy xx 2xy oX oY cx 10, r = xx + yy compared with 10.
.macro TOP_SQUARES
    fld     %st(0)
    fmul    %st(0), %st             # xx x y
    fxch    %st(1)
    fadd    %st(0), %st             # 2x xx y
    fmul    %st(2), %st             # 2xy xx y
    fxch    %st(2)
    fmul    %st(0), %st             # yy xx 2xy oX oY cx 10
.endm

# yy xx 2xy oX oY cx 10 -> x' y' oX oY cx 10
.macro TOP_NEXT lane
    fsubrp  %st, %st(1)             # xx-yy 2xy oX oY cx 10
    fadd    %st(4), %st             # x' 2xy
    fldl    \lane+L_CYH(%rdi)
    faddl   \lane+L_CYL(%rdi)       # cy x' 2xy
    faddp   %st, %st(2)             # x' y' oX oY cx 10
.endm

# One tested step of the lane at the top, without the mark: the escape leaves
# for .Lescaped\id.
.macro TOP_TESTED_STEP lane, steps, id
    TOP_SQUARES
    fld     %st(1)
    fadd    %st(1), %st             # r yy xx 2xy oX oY cx 10
    fcomi   %st(7), %st
    jae     .Lescaped\id
    fstps   \lane+L_BEFORE(%rdi)    # yy xx 2xy oX oY cx 10
    TOP_NEXT \lane
    inc     \steps
.endm

# Lane 0's step, at the top: xA yA xB yB cx 10 -> xA' yA' xB yB cx 10.
.macro LANE0_STEP
.Lstep0:
    cmp     %r12d, %r8d
    jg      .Lfast0
    test    $7, %r8d
    jz      .Lrenew0
.Ltested0:
    TOP_TESTED_STEP 0, %r8d, 0
    fstl    P_SCRATCH(%rdi)
    cmp     P_SCRATCH(%rdi), %r10
    je      .Lmark0
    jmp     .Lstep1
.Lfast0:
    test    $FAST_MASK, %r8d
    jz      .Lrenew_fast0
.Lgofast0:
    TOP_SQUARES
    TOP_NEXT 0
    inc     %r8d
.endm

# The squares of lane 1 where it stands:
#   xA yA xB yB cx 10  ->  xx | xA yA yy t cx 10, t = 2xB yB.
.macro LANE1_SQUARES
    fld     %st(2)                  # xB | xA yA xB yB cx 10
    fadd    %st(0), %st             # 2xB
    fmul    %st(4), %st             # t
    fxch    %st(4)                  # yB | xA yA xB t cx 10
    fmul    %st(0), %st             # yy
    fxch    %st(3)                  # xB | xA yA yy t cx 10
    fmul    %st(0), %st             # xx | xA yA yy t cx 10
.endm

# xx | xA yA yy t cx 10 -> xA yA xB' yB' cx 10; with keep set, double(xB')
# in the scratch.
.macro LANE1_NEXT keep
    fsub    %st(3), %st             # xx-yy
    fadd    %st(5), %st             # xB'
.if \keep
    fstl    P_SCRATCH(%rdi)
.endif
    fstp    %st(3)                  # xA yA xB' t cx 10
    fldl    LANE1+L_CYH(%rdi)
    faddl   LANE1+L_CYL(%rdi)       # cy | xA yA xB' t cx 10
    faddp   %st, %st(4)             # xA yA xB' yB' cx 10
.endm

# Lane 1's step, where it stands.
.macro LANE1_STEP
.Lstep1:
    cmp     %r12d, %r9d
    jg      .Lfast1
    test    $7, %r9d
    jz      .Lrenew1in
.Ltested1:
    LANE1_SQUARES
    fld     %st(0)
    fadd    %st(4), %st             # r xx | xA yA yy t cx 10
    fcomi   %st(7), %st
    jae     .Lescaped1in
    fstps   LANE1+L_BEFORE(%rdi)    # xx | xA yA yy t cx 10
    LANE1_NEXT 1
    inc     %r9d
    cmp     P_SCRATCH(%rdi), %r11
    je      .Lmark1in
    jmp     .Lstep0
.Lfast1:
    test    $FAST_MASK, %r9d
    jz      .Lrenew_fast1in
.Lgofast1:
    LANE1_SQUARES
    LANE1_NEXT 0
    inc     %r9d
    jmp     .Lstep0
.Lrenew1in:                         # xA yA xB yB cx 10
    SWAP_LANES
    jmp     .Lrenew1
.Lrenew_fast1in:                    # xA yA xB yB cx 10: the escape test and
    fld     %st(2)                  # the mark's bits where lane 1 stands
    fmul    %st(0), %st
    fld     %st(4)
    fmul    %st(0), %st
    faddp   %st, %st(1)             # r | xA yA xB yB cx 10
    fcomip  %st(6), %st
    jae     .Lroll_back1in
    jp      .Lroll_back1in
    fxch    %st(2)
    fstl    P_SCRATCH(%rdi)
    fxch    %st(2)
    cmp     P_SCRATCH(%rdi), %r11
    je      .Linside1in
    test    $CHECK_MASK, %r9d
    jnz     .Lgofast1
.Linside1in:
    SWAP_LANES
    jmp     .Linside1
.Lroll_back1in:
    SWAP_LANES
    jmp     .Lroll_back1
.Lescaped1in:                       # r xx | xA yA yy t cx 10
    STORE_END LANE1, 1, in
    fstp    %st(0)
    fstp    %st(0)
    SWAP_LANES                      # yy t xA yA cx 10
    jmp     .Lcount1
.Lmark1in:                          # xA yA xB' yB' cx 10, double(xB') == double(mark)
    fldt    LANE1+L_MX(%rdi)
    fucomip %st(3), %st
    jp      .Lstep0
    jne     .Lstep0
    fldt    LANE1+L_MY(%rdi)
    fucomip %st(4), %st
    jp      .Lstep0
    jne     .Lstep0
    SWAP_LANES
    jmp     .Lcaptured1
.endm

# The end of an escaped orbit from r = |z_s|^2 at the top of the stack and
# the lane's |z_s-1|^2 into the pair's ends, if it has them; r stays.
.macro STORE_END lane, id, tag
    mov     P_ENDS(%rdi), %rcx
    test    %rcx, %rcx
    jz      .Lno_end\tag\id
    movslq  \lane+L_ROW(%rdi), %rdx
    mov     \lane+L_BEFORE(%rdi), %eax
    mov     %eax, (%rcx,%rdx,8)
    fsts    4(%rcx,%rdx,8)
.Lno_end\tag\id:
.endm

# The mark where s is a multiple of MarkInterval(s), from z at the top.
.macro RENEW_MARK lane, steps, bits, id
    test    \steps, \steps
    jz      .Lmark_renewal\id
    MARK_DUE \steps, .Lmark_kept\id
.Lmark_renewal\id:
    fstl    \lane+L_MXBITS(%rdi)
    mov     \lane+L_MXBITS(%rdi), \bits
    fld     %st(0)
    fstpt   \lane+L_MX(%rdi)
    fld     %st(1)
    fstpt   \lane+L_MY(%rdi)
.Lmark_kept\id:
.endm

# z at the top into the lane's checkpoint.
.macro CHECKPOINT lane
    fld     %st(0)
    fstpt   \lane+L_CHX(%rdi)
    fld     %st(1)
    fstpt   \lane+L_CHY(%rdi)
.endm

# x y oX oY cx 10: ends the point (.Lcaptured\id) if z is in the lane's disk.
.macro TRAP_TEST lane, id, tag
    cmpl    $0, \lane+L_TRAP(%rdi)
    je      .Lno_trap\tag\id
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
.Lno_trap\tag\id:
.endm

# r = |z|^2 on top of x y oX oY cx 10.
.macro TOP_MODULUS
    fld     %st(0)
    fmul    %st(0), %st
    fld     %st(2)
    fmul    %st(0), %st
    faddp   %st, %st(1)             # r x y oX oY cx 10
.endm

# The renewals (every 8 steps up to fastFrom, every SQUARE_FAST_PERIOD
# past it), the end of a point and the taking up of the next, for the lane
# at the top; \tested and \fast go on with the lane's step in either way,
# \resume starts it again for the next point, \other goes on with the
# other lane; each with the stack as its code expects it.
.macro LANE_END lane, steps, bits, id, tested, fast, resume, other
.Lrenew\id:                         # x y oX oY cx 10
    cmp     P_LIMIT(%rdi), \steps
    je      .Llimit\id
    TRAP_TEST \lane, \id, t
    RENEW_MARK \lane, \steps, \bits, \id
    cmp     %r12d, \steps
    jne     \tested
    CHECKPOINT \lane
    cmpq    $0, P_PARKED(%rdi)
    je      \tested
    APPEND_LANE \lane, \steps, \bits, P_PARKED, P_PARKED_COUNT   # parks the point
    fstp    %st(0)
    fstp    %st(0)
    jmp     .Ltake\id
.Llimit\id:                         # x y oX oY cx 10, s the limit
    TOP_MODULUS
    fcomi   %st(6), %st
    jae     .Lescaped_at_limit\id
    fstp    %st(0)
    jmp     .Lcaptured\id
.Lrenew_fast\id:                    # x y oX oY cx 10, s past fastFrom
    TOP_MODULUS
    fcomip  %st(6), %st
    jae     .Lroll_back\id
    jp      .Lroll_back\id
.Linside\id:                        # z inside the circle
    fstl    P_SCRATCH(%rdi)
    cmp     P_SCRATCH(%rdi), \bits
    jne     .Lno_cycle\id
    fldt    \lane+L_MX(%rdi)
    fucomip %st(1), %st
    jp      .Lno_cycle\id
    jne     .Lno_cycle\id
    fldt    \lane+L_MY(%rdi)
    fucomip %st(2), %st
    jp      .Lno_cycle\id
    je      .Lcaptured\id
.Lno_cycle\id:
    test    $CHECK_MASK, \steps
    jnz     \fast
    cmp     P_LIMIT(%rdi), \steps
    je      .Lcaptured\id
    TRAP_TEST \lane, \id, f
    RENEW_MARK \lane, \steps, \bits, f\id
    CHECKPOINT \lane
    jmp     \fast
.Lroll_back\id:                     # x y oX oY cx 10: again from the checkpoint
    fstp    %st(0)
    fstp    %st(0)
    fldt    \lane+L_CHY(%rdi)
    fldt    \lane+L_CHX(%rdi)
    mov     \steps, %esi
    dec     \steps
    and     $-SQUARE_CHECK_PERIOD, \steps
    sub     \steps, %esi
    inc     %esi                    # s - checkpoint + 1 tested steps
.Lrerun\id:
    TOP_TESTED_STEP \lane, \steps, \id
    dec     %esi
    jnz     .Lrerun\id
    jmp     \other
.Lmark\id:                          # x' y' oX oY cx 10, double(x') == double(mark)
    fldt    \lane+L_MX(%rdi)
    fucomip %st(1), %st
    jp      \other
    jne     \other
    fldt    \lane+L_MY(%rdi)
    fucomip %st(2), %st
    jp      \other
    jne     \other
.Lcaptured\id:                      # x y oX oY cx 10
    mov     P_CAPTURED(%rdi), %eax
    jmp     .Lpop2\id
.Lescaped\id:                       # xx+yy yy xx 2xy oX oY cx 10
    STORE_END \lane, \id, s
    fstp    %st(0)
    fstp    %st(0)                  # xx 2xy oX oY cx 10
    jmp     .Lcount\id
.Lescaped_at_limit\id:              # xx+yy x y oX oY cx 10
    STORE_END \lane, \id, l
    fstp    %st(0)
.Lcount\id:                         # x y oX oY cx 10
    mov     \steps, %eax
    dec     %eax
.Lpop2\id:
    fstp    %st(0)
    fstp    %st(0)                  # oX oY cx 10
    movslq  \lane+L_ROW(%rdi), %rdx
    mov     P_COUNTS(%rdi), %rcx
    mov     %eax, (%rcx,%rdx,4)
.Ltake\id:                          # oX oY cx 10
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
    jmp     \resume
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
    push    %r12
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
    mov     P_FAST(%rdi), %r12d
    .p2align 4
    LANE0_STEP
    LANE1_STEP
    # Lane 1 at the top: back where it steps, or on with lane 0.
.Lother1:
    SWAP_LANES
    jmp     .Lstep0
.Ltested1top:
    SWAP_LANES
    jmp     .Ltested1
.Lfast1top:
    SWAP_LANES
    jmp     .Lgofast1
.Lresume1top:
    SWAP_LANES
    jmp     .Lstep1
    LANE_END 0, %r8d, %r10, 0, .Ltested0, .Lgofast0, .Lstep0, .Lstep1
    LANE_END LANE1, %r9d, %r11, 1, .Ltested1top, .Lfast1top, .Lresume1top, .Lother1
    LANE_SAVE LANE1, 0
    LANE_SAVE 0, 1
.Lreturn:
    mov     %r8d, L_STEPS(%rdi)
    mov     %r9d, LANE1+L_STEPS(%rdi)
    mov     %r10, L_MXBITS(%rdi)
    mov     %r11, LANE1+L_MXBITS(%rdi)
    pop     %r12
    ret
    .size   quorvex_run_square_pair, .-quorvex_run_square_pair

    .section .note.GNU-stack, "", @progbits

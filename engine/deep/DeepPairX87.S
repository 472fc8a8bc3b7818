# The loop of two pixels' perturbed steps of z^2 + c (DeepPair.h) in x87
# assembly.
#
# It exists because the compiler cannot keep two pixels' differences on the
# eight-register x87 stack: it stores and reloads them every step, and an
# 80-bit load or store costs as much as a multiplication. Here the stack
# holds, between steps, the difference of the lane being stepped and that of
# the other lane, and a step needs up to four more. The arithmetic is that of
# RunDeepPair with deep_steps::Square, operation for operation:
#     d' = (2Z + d) d + dc   (2Z d + dc while d is tiny)
#     z' = Z' + d'
# and the tests are its tests in its order; a test holds the two to the same
# bits. The offsets come from DeepPairLayout.h, to which DeepPair.h holds the
# structs with static_assert. Comparisons go on where the flags say "greater"
# and stop otherwise, so that an unordered one (a NaN) stops.

#include "engine/deep/DeepPairLayout.h"

    .set L_DRE, DEEP_LANE_D_RE
    .set L_DIM, DEEP_LANE_D_IM
    .set L_DCR, DEEP_LANE_DC_RE
    .set L_DCI, DEEP_LANE_DC_IM
    .set L_POINT, DEEP_LANE_POINT
    .set L_GATE, DEEP_LANE_GATE
    .set L_STOP, DEEP_LANE_STOP
    .set L_SINGLES, DEEP_LANE_SINGLES
    .set L_TINY, DEEP_LANE_TINY
    .set L_REASON, DEEP_LANE_REASON
    .set LANE1, DEEP_LANE_SIZE
    .set POINT, DEEP_POINT_SIZE
    .set GATE, DEEP_GATE_SIZE
    .set G_RADIUS, DEEP_GATE_RADIUS
    .set P_TINY, DEEP_PAIR_TINY_DIFFERENCE
    .set P_ESCAPE, DEEP_PAIR_ESCAPE_TAXI
    .set P_FIRST, DEEP_PAIR_FIRST

    .text

# One step of the lane at the top of the stack (offset \lane in the pair, the
# other lane at \other; its point, gate and tiny flag in \p, \g, \tiny; \id
# is 0 or 1). Leaves the other lane at the top.
.macro LANE_STEP lane, other, p, g, tiny, id
.Llane\id:                          # dr di or oi
    test    \tiny, \tiny
    jnz     .Ltiny\id
    fldt    (\p)
    fadd    %st(0), %st
    fadd    %st(1), %st             # ur=2Zr+dr dr di
    fldt    16(\p)
    fadd    %st(0), %st
    fadd    %st(3), %st             # ui ur dr di
.Lproduct\id:
    fld     %st(1)
    fmul    %st(3), %st             # ur*dr ui ur dr di
    fld     %st(1)
    fmul    %st(5), %st             # ui*di ur*dr ui ur dr di or oi
    fsubrp  %st, %st(1)             # ur*dr-ui*di ui ur dr di
    fldt    \lane+L_DCR(%rdi)
    faddp   %st, %st(1)             # re' ui ur dr di
    fxch    %st(2)
    fmul    %st(4), %st             # ur*di ui re' dr di
    fxch    %st(1)
    fmul    %st(3), %st             # ui*dr ur*di re' dr di
    faddp   %st, %st(1)
    fldt    \lane+L_DCI(%rdi)
    faddp   %st, %st(1)             # im' re' dr di or oi
    fldt    POINT(\p)
    fadd    %st(2), %st
    fabs                            # |zr| im' re' dr di
    fldt    POINT+16(\p)
    fadd    %st(2), %st
    fabs
    faddp   %st, %st(1)             # tz im' re' dr di or oi
    flds    P_ESCAPE(%rdi)
    fcomip  %st(1), %st
    jbe     .Lmay_escape\id
    fstp    %st(3)                  # im' re' tz di
    fstp    %st(3)                  # re' tz im' or oi
    add     $POINT, \p
    add     $GATE, \g
    fld     %st(0)
    fabs
    fld     %st(3)
    fabs
    faddp   %st, %st(1)             # td re' tz im'
    fld     %st(0)
    fadd    %st(0), %st
    fxch    %st(3)                  # tz td re' 2td im'
    fcomip  %st(3), %st
    jbe     .Lmay_leave2\id         # td re' 2td im'
    fstp    %st(2)                  # re' td im'
    cmp     \lane+L_STOP(%rdi), \p
    je      .Lmay_leave1\id
    fldt    (\g)
    fcomip  %st(2), %st             # threshold > td: the slow road
    ja      .Lcold\id
    xor     \tiny, \tiny
.Lgo_on\id:                         # re' td im' or oi
    fstp    %st(1)
    fxch    %st(2)
    fxch    %st(1)
    fxch    %st(3)
    fxch    %st(1)                  # or oi re' im'
.endm

# The rare roads of a step: a tiny difference, a span that may start, a
# pixel that may escape or leave.
.macro LANE_ROADS lane, other, p, g, tiny, id
.Ltiny\id:                          # dr di or oi
    fldt    (\p)
    fadd    %st(0), %st
    fldt    16(\p)
    fadd    %st(0), %st             # 2Zi 2Zr dr di
    jmp     .Lproduct\id
.Lcold\id:                          # re' td im' or oi
    fldt    P_TINY(%rdi)
    fcomip  %st(2), %st
    ja      .Ltiny_now\id
    xor     \tiny, \tiny
    cmp     \lane+L_SINGLES(%rdi), \p
    jae     .Lmay_leave1\id
    jmp     .Lgo_on\id
.Ltiny_now\id:
    mov     $1, \tiny
    fldt    G_RADIUS(\g)
    fcomip  %st(2), %st
    jbe     .Lgo_on\id
    cmp     \lane+L_SINGLES(%rdi), \p
    jae     .Lmay_leave1\id
    jmp     .Lgo_on\id
.Lmay_escape\id:                    # tz im' re' dr di or oi
    fstp    %st(0)
    fstp    %st(0)
    fstp    %st(0)
    movl    $DEEP_REASON_MAY_ESCAPE, \lane+L_REASON(%rdi)
    jmp     .Lstopped\id
.Lmay_leave2\id:                    # td re' 2td im'
    fstp    %st(0)
.Lmay_leave1\id:                    # re' td im'
    fstp    %st(1)
    movl    $DEEP_REASON_MAY_LEAVE, \lane+L_REASON(%rdi)
.Lstopped\id:                       # dr di or oi
    fstpt   \lane+L_DRE(%rdi)
    fstpt   \lane+L_DIM(%rdi)
    fstpt   \other+L_DRE(%rdi)
    fstpt   \other+L_DIM(%rdi)
    movl    $DEEP_REASON_RUNNING, \other+L_REASON(%rdi)
    movl    $1-\id, P_FIRST(%rdi)
    mov     $\id, %eax
    jmp     .Lreturn
.endm

# int quorvex_run_deep_pair(DeepPair* pair)
    .globl  quorvex_run_deep_pair
    .type   quorvex_run_deep_pair, @function
quorvex_run_deep_pair:
    mov     L_POINT(%rdi), %rsi
    mov     L_GATE(%rdi), %rdx
    mov     L_TINY(%rdi), %ecx
    mov     LANE1+L_POINT(%rdi), %r8
    mov     LANE1+L_GATE(%rdi), %r9
    mov     LANE1+L_TINY(%rdi), %r10d
    cmpl    $0, P_FIRST(%rdi)
    jne     .Lfirst1
    fldt    LANE1+L_DIM(%rdi)
    fldt    LANE1+L_DRE(%rdi)
    fldt    L_DIM(%rdi)
    fldt    L_DRE(%rdi)
    jmp     .Lloop
.Lfirst1:
    fldt    L_DIM(%rdi)
    fldt    L_DRE(%rdi)
    fldt    LANE1+L_DIM(%rdi)
    fldt    LANE1+L_DRE(%rdi)
    jmp     .Llane1
    .p2align 4
.Lloop:
    LANE_STEP 0, LANE1, %rsi, %rdx, %ecx, 0
    LANE_STEP LANE1, 0, %r8, %r9, %r10d, 1
    jmp     .Lloop
    LANE_ROADS 0, LANE1, %rsi, %rdx, %ecx, 0
    LANE_ROADS LANE1, 0, %r8, %r9, %r10d, 1
.Lreturn:
    mov     %rsi, L_POINT(%rdi)
    mov     %rdx, L_GATE(%rdi)
    mov     %ecx, L_TINY(%rdi)
    mov     %r8, LANE1+L_POINT(%rdi)
    mov     %r9, LANE1+L_GATE(%rdi)
    mov     %r10d, LANE1+L_TINY(%rdi)
    ret
    .size   quorvex_run_deep_pair, .-quorvex_run_deep_pair

    .section .note.GNU-stack, "", @progbits

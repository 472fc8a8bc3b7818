# The loop of three z^2 + c orbits past the tested steps (SquareTriple.h) in
# x87 assembly.
#
# The stack holds, between steps,
#     xA yA xB yB xC yC cx
# and a step needs one register more: each lane steps where it stands, its
# results going back into its own two registers. A block is kFastPeriod
# steps of the three lanes, one after the other, with no test and no branch;
# the renewals follow, lane by lane. The arithmetic is that of
# RunSquareTriple in SquareTriple.cpp, operation for operation; a test holds
# the two to the same bits. The offsets come from SquarePairLayout.h.

#include "engine/SquarePairLayout.h"

    .set T_CX, SQUARE_TRIPLE_CX
    .set T_PX, SQUARE_TRIPLE_PENDING_X
    .set T_PY, SQUARE_TRIPLE_PENDING_Y
    .set T_SCRATCH, SQUARE_TRIPLE_SCRATCH
    .set T_NEXT, SQUARE_TRIPLE_NEXT
    .set T_END, SQUARE_TRIPLE_END
    .set T_COUNTS, SQUARE_TRIPLE_COUNTS
    .set T_RERUNS, SQUARE_TRIPLE_RERUNS
    .set T_RERUN_COUNT, SQUARE_TRIPLE_RERUN_COUNT
    .set T_LIMIT, SQUARE_TRIPLE_LIMIT
    .set T_CAPTURED, SQUARE_TRIPLE_CAPTURED
    .set T_RADIUS2, SQUARE_TRIPLE_RADIUS2
    .set CHECK_MASK, SQUARE_CHECK_PERIOD - 1
    # the bits of 4.0, shifted out of the sign: |d| < 4 where bits(d) << 1 is below
    .set NEAR_BITS, 0x8020000000000000

    .text

# One step of the lane whose x is at st(p), y at st(p+1), cx at st(6).
.macro STEP p, pa, pb, lane
    fld     %st(\p)                 # x | ... x y      (x at p+1, y at p+2)
    fadd    %st(0), %st             # 2x
    fmul    %st(\pb), %st          # t = 2x y
    fxch    %st(\pb)               # y | ... x t
    fmul    %st(0), %st             # yy
    fxch    %st(\pa)               # x | ... yy t
    fmul    %st(0), %st             # xx
    fsub    %st(\pa), %st          # xx-yy
    fadd    %st(7), %st             # x'
    fstp    %st(\pa)               # ... x' t
    fldl    \lane+L_CYH(%rdi)
    faddl   \lane+L_CYL(%rdi)       # cy | ... x' t
    faddp   %st, %st(\pb)          # ... x' y'
.endm

.macro STEPS3
    STEP 0, 1, 2, 0
    STEP 2, 3, 4, L_SIZE
    STEP 4, 5, 6, 2*L_SIZE
.endm

# z of the lane (at st(p), st(p+1)) against its mark, exactly: on to
# .Lcaptured\id where equal, else to \other.
.macro MARK_TEST lane, p, pa, pb, id, other
    fldt    \lane+L_MX(%rdi)
    fucomip %st(\pa), %st
    jp      \other
    jne     \other
    fldt    \lane+L_MY(%rdi)
    fucomip %st(\pb), %st
    jp      \other
    jne     \other
    jmp     .Lcaptured\id
.endm

# z from the pending pair back into the lane's registers.
.macro RESTORE p, pa, pb
    fldt    T_PX(%rdi)
    fstp    %st(\pa)
    fldt    T_PY(%rdi)
    fstp    %st(\pb)
.endm

# The renewal of the lane after a block, its steps in \steps and the bits of
# double(mark x) in \bits; \id names its labels, and its code ends at
# .Lrenewed\id.
.macro RENEW lane, p, pa, pb, steps, bits, id
    test    $CHECK_MASK, \steps
    jz      .Lcheck\id
    fld     %st(\p)
    fstpl   T_SCRATCH(%rdi)
    fld     %st(\pa)
    fstpl   T_SCRATCH+8(%rdi)
    mov     T_SCRATCH(%rdi), %rax
    mov     T_SCRATCH+8(%rdi), %rdx
    mov     %rax, %rsi
    add     %rax, %rax
    add     %rdx, %rdx
    movabs  $NEAR_BITS, %rcx
    cmp     %rcx, %rax
    jae     .Lrerun\id
    cmp     %rcx, %rdx
    jae     .Lrerun\id
    cmp     %rsi, \bits
    je      .Lmark_near\id
.Lrenewed\id:
.endm

# The rarer paths of the lane's renewal: the checkpoint, the mark, the end of
# a point and the taking up of the next.
.macro RENEW_PATHS lane, p, pa, pb, steps, bits, id
.Lmark_near\id:
    MARK_TEST \lane, \p, \pa, \pb, \id, .Lrenewed\id
.Lcheck\id:                         # s a multiple of kCheckPeriod
    fld     %st(\p)
    fstl    T_SCRATCH(%rdi)
    fstpt   T_PX(%rdi)
    fld     %st(\pa)
    fstpt   T_PY(%rdi)
    fld     %st(\p)
    fmulp   %st, %st(\pa)          # xx in x's place
    fld     %st(\pa)
    fmulp   %st, %st(\pb)          # yy in y's place
    fld     %st(\p)
    fadd    %st(\pb), %st          # xx+yy
    fcompl  T_RADIUS2(%rdi)
    fnstsw  %ax
    and     $0x4500, %ax
    cmp     $0x0100, %ax            # below, and ordered
    jne     .Lrerun\id
    RESTORE \p, \pa, \pb
    mov     T_SCRATCH(%rdi), %rsi
    cmp     %rsi, \bits
    jne     .Lno_cycle\id
    MARK_TEST \lane, \p, \pa, \pb, \id, .Lno_cycle\id
.Lno_cycle\id:
    cmp     T_LIMIT(%rdi), \steps
    je      .Lcaptured\id
    cmpl    $0, \lane+L_TRAP(%rdi)
    je      .Lno_trap\id
    fld     %st(\p)
    fsubl   \lane+L_TX(%rdi)
    fmul    %st(0), %st
    fstp    %st(\pa)               # dx^2 in x's place
    fld     %st(\pa)
    fsubl   \lane+L_TY(%rdi)
    fmul    %st(0), %st
    fstp    %st(\pb)               # dy^2 in y's place
    fld     %st(\p)
    fadd    %st(\pb), %st
    fcompl  \lane+L_TR2(%rdi)
    fnstsw  %ax
    and     $0x4500, %ax
    jz      .Lout_of_disk\id        # above
    cmp     $0x4500, %ax
    jne     .Lcaptured\id           # below or equal
.Lout_of_disk\id:
    RESTORE \p, \pa, \pb
.Lno_trap\id:
    MARK_DUE \steps, .Lmark_kept\id
    mov     %rsi, \bits
    movdqa  T_PX(%rdi), %xmm0
    movdqa  %xmm0, \lane+L_MX(%rdi)
    movdqa  T_PY(%rdi), %xmm0
    movdqa  %xmm0, \lane+L_MY(%rdi)
.Lmark_kept\id:
    movdqa  T_PX(%rdi), %xmm0
    movdqa  %xmm0, \lane+L_CHX(%rdi)
    movdqa  T_PY(%rdi), %xmm0
    movdqa  %xmm0, \lane+L_CHY(%rdi)
    jmp     .Lrenewed\id
.Lrerun\id:                         # the lane into reruns[rerunCount++]
    APPEND_LANE \lane, \steps, \bits, T_RERUNS, T_RERUN_COUNT
    jmp     .Ltake\id
.Lcaptured\id:
    mov     T_CAPTURED(%rdi), %eax
    movslq  \lane+L_ROW(%rdi), %rdx
    mov     T_COUNTS(%rdi), %rcx
    mov     %eax, (%rcx,%rdx,4)
.Ltake\id:
    mov     T_NEXT(%rdi), %rsi
    cmp     T_END(%rdi), %rsi
    je      .Ldrained\id
    lea     L_SIZE(%rsi), %rcx
    mov     %rcx, T_NEXT(%rdi)
    COPY_LANE 0, %rsi, \lane, %rdi
    mov     L_STEPS(%rsi), \steps
    mov     L_MXBITS(%rsi), \bits
    fldt    L_CHX(%rsi)
    fstp    %st(\pa)
    fldt    L_CHY(%rsi)
    fstp    %st(\pb)
    jmp     .Lrenewed\id
.Ldrained\id:
    mov     $\id, %eax
    jmp     .Lsave
.endm

# int quorvex_run_square_triple(SquareTriple* triple)
    .globl  quorvex_run_square_triple
    .type   quorvex_run_square_triple, @function
quorvex_run_square_triple:
    push    %r12
    push    %r13
    fldt    T_CX(%rdi)
    fldt    2*L_SIZE+L_Y(%rdi)
    fldt    2*L_SIZE+L_X(%rdi)
    fldt    L_SIZE+L_Y(%rdi)
    fldt    L_SIZE+L_X(%rdi)
    fldt    L_Y(%rdi)
    fldt    L_X(%rdi)
    mov     L_STEPS(%rdi), %r8d
    mov     L_SIZE+L_STEPS(%rdi), %r9d
    mov     2*L_SIZE+L_STEPS(%rdi), %r10d
    mov     L_MXBITS(%rdi), %r11
    mov     L_SIZE+L_MXBITS(%rdi), %r12
    mov     2*L_SIZE+L_MXBITS(%rdi), %r13
    .p2align 4
.Lblock:
    STEPS3
    STEPS3
    STEPS3
    STEPS3
    STEPS3
    STEPS3
    STEPS3
    STEPS3
    add     $8, %r8d
    add     $8, %r9d
    add     $8, %r10d
    RENEW 0, 0, 1, 2, %r8d, %r11, 0
    RENEW L_SIZE, 2, 3, 4, %r9d, %r12, 1
    RENEW 2*L_SIZE, 4, 5, 6, %r10d, %r13, 2
    jmp     .Lblock
    RENEW_PATHS 0, 0, 1, 2, %r8d, %r11, 0
    RENEW_PATHS L_SIZE, 2, 3, 4, %r9d, %r12, 1
    RENEW_PATHS 2*L_SIZE, 4, 5, 6, %r10d, %r13, 2
.Lsave:                             # every lane back into the triple
    fstpt   L_X(%rdi)
    fstpt   L_Y(%rdi)
    fstpt   L_SIZE+L_X(%rdi)
    fstpt   L_SIZE+L_Y(%rdi)
    fstpt   2*L_SIZE+L_X(%rdi)
    fstpt   2*L_SIZE+L_Y(%rdi)
    fstp    %st(0)
    mov     %r8d, L_STEPS(%rdi)
    mov     %r9d, L_SIZE+L_STEPS(%rdi)
    mov     %r10d, 2*L_SIZE+L_STEPS(%rdi)
    mov     %r11, L_MXBITS(%rdi)
    mov     %r12, L_SIZE+L_MXBITS(%rdi)
    mov     %r13, 2*L_SIZE+L_MXBITS(%rdi)
    pop     %r13
    pop     %r12
    ret
    .size   quorvex_run_square_triple, .-quorvex_run_square_triple

    .section .note.GNU-stack, "", @progbits

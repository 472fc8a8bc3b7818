/* Where the x87 loops find the fields of SquareRow, SquareLane and
   SquarePair (SquarePair.h) and of SquareTriple (SquareTriple.h): one
   definition for the assembly, which includes this file, and for the C++,
   which holds the structs to it with static_assert. Plain defines, for the
   assembler, which also takes its names of a lane's fields from here. */
#pragma once

#define SQUARE_ROW_SIZE 48
#define SQUARE_ROW_HAS_TRAP 40
#define SQUARE_ROW_ROW 44

#define SQUARE_LANE_SIZE 160
#define SQUARE_LANE_X 0
#define SQUARE_LANE_Y 16
#define SQUARE_LANE_MARK_X 32
#define SQUARE_LANE_MARK_Y 48
#define SQUARE_LANE_CY_HIGH 64
#define SQUARE_LANE_CY_LOW 72
#define SQUARE_LANE_TRAP_X 80
#define SQUARE_LANE_TRAP_Y 88
#define SQUARE_LANE_TRAP_RADIUS2 96
#define SQUARE_LANE_MARK_X_BITS 104
#define SQUARE_LANE_STEPS 112
#define SQUARE_LANE_HAS_TRAP 116
#define SQUARE_LANE_ROW 120
#define SQUARE_LANE_BEFORE 124
#define SQUARE_LANE_CHECK_X 128
#define SQUARE_LANE_CHECK_Y 144

#define SQUARE_PAIR_CX 320
#define SQUARE_PAIR_SCRATCH 336
#define SQUARE_PAIR_NEXT 352
#define SQUARE_PAIR_END 360
#define SQUARE_PAIR_COUNTS 368
#define SQUARE_PAIR_RADIUS2 384
#define SQUARE_PAIR_LIMIT 400
#define SQUARE_PAIR_CAPTURED 404
#define SQUARE_PAIR_ENDS 408
#define SQUARE_PAIR_FAST_FROM 416
#define SQUARE_PAIR_PARKED 424
#define SQUARE_PAIR_PARKED_COUNT 432

#define SQUARE_TRIPLE_CX 480
#define SQUARE_TRIPLE_PENDING_X 496
#define SQUARE_TRIPLE_PENDING_Y 512
#define SQUARE_TRIPLE_SCRATCH 528
#define SQUARE_TRIPLE_NEXT 544
#define SQUARE_TRIPLE_END 552
#define SQUARE_TRIPLE_COUNTS 560
#define SQUARE_TRIPLE_RERUNS 568
#define SQUARE_TRIPLE_RERUN_COUNT 576
#define SQUARE_TRIPLE_LIMIT 580
#define SQUARE_TRIPLE_CAPTURED 584
#define SQUARE_TRIPLE_RADIUS2 592

/* The mark is renewed every 2^(bits of s - 1 - this) steps, every 8 at
   least (kernel_loops::MarkInterval). */
#define SQUARE_MARK_OCTAVE_SHIFT 4

/* Past fastFrom: steps between two renewals, and between two checkpoints;
   powers of two. */
#define SQUARE_FAST_PERIOD 8
#define SQUARE_CHECK_PERIOD 32

#ifdef __ASSEMBLER__
/* The fields of a lane, for both loops. */
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
    .set L_BEFORE, SQUARE_LANE_BEFORE
    .set L_CHX, SQUARE_LANE_CHECK_X
    .set L_CHY, SQUARE_LANE_CHECK_Y
    .set L_SIZE, SQUARE_LANE_SIZE

/* The lane at \from(\src) copied whole to \to(\dst), through %xmm0. */
.macro COPY_LANE from, src, to, dst
.irp off, 0, 16, 32, 48, 64, 80, 96, 112, 128, 144
    movdqu  \from+\off(\src), %xmm0
    movdqu  %xmm0, \to+\off(\dst)
.endr
.endm

/* To \kept unless s (\steps, above 0) is a multiple of MarkInterval(s). */
.macro MARK_DUE steps, kept
    bsr     \steps, %ecx
    sub     $SQUARE_MARK_OCTAVE_SHIFT, %ecx
    cmp     $3, %ecx
    jle     .Lmark_due\@
    mov     $1, %edx
    shl     %cl, %edx
    dec     %edx
    test    %edx, \steps
    jnz     \kept
.Lmark_due\@:
.endm

/* The lane at \lane(%rdi), with its steps and mark bits, appended to the
   array of lanes at \array(%rdi), its count at \count(%rdi). */
.macro APPEND_LANE lane, steps, bits, array, count
    mov     \steps, \lane+L_STEPS(%rdi)
    mov     \bits, \lane+L_MXBITS(%rdi)
    movslq  \count(%rdi), %rdx
    lea     1(%rdx), %ecx
    mov     %ecx, \count(%rdi)
    imul    $L_SIZE, %rdx, %rdx
    add     \array(%rdi), %rdx
    COPY_LANE \lane, %rdi, 0, %rdx
.endm
#endif

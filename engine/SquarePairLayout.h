/* Where the x87 loops find the fields of SquareRow, SquareLane and
   SquarePair (SquarePair.h) and of SquareTriple (SquareTriple.h): one
   definition for the assembly, which includes this file, and for the C++,
   which holds the structs to it with static_assert. Plain defines, for the
   assembler. */
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

/* Where the x87 loop finds the fields of DeepGate, DeepLane and DeepPair
   (DeepPair.h): one definition for the assembly, which includes this file,
   and for the C++, which holds the structs to it with static_assert. Plain
   defines, for the assembler. */
#pragma once

#define DEEP_GATE_SIZE 32
#define DEEP_GATE_THRESHOLD 0
#define DEEP_GATE_RADIUS 16

#define DEEP_POINT_SIZE 32

#define DEEP_LANE_SIZE 112
#define DEEP_LANE_D_RE 0
#define DEEP_LANE_D_IM 16
#define DEEP_LANE_DC_RE 32
#define DEEP_LANE_DC_IM 48
#define DEEP_LANE_POINT 64
#define DEEP_LANE_GATE 72
#define DEEP_LANE_STOP 80
#define DEEP_LANE_SINGLES 88
#define DEEP_LANE_TINY 96
#define DEEP_LANE_REASON 100

#define DEEP_PAIR_TINY_DIFFERENCE 224
#define DEEP_PAIR_ESCAPE_TAXI 240
#define DEEP_PAIR_FIRST 244

#define DEEP_REASON_RUNNING 0
#define DEEP_REASON_MAY_ESCAPE 1
#define DEEP_REASON_MAY_LEAVE 2

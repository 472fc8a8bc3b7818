#pragma once
// bench_render's deep modes.
//   --verify-deep [SCALE]  the deep renderer against the MPFR truth on fixed
//                          deep views of types 1 to 4, with spans and without;
//                          exits 1 if fewer than 99.9 % of the pixels agree
//   --deep [W H]           times deep cases with spans and without
//   --switch-over          the direct loop and the deep renderer against the
//                          truth as views around c = i and in the seahorse
//                          valley deepen past where 80-bit numbers stop
//   --find-nucleus T RE IM RADIUS MAXPERIOD   a minibrot near (RE, IM)
//   --find-misiurewicz T RE IM MAXK MAXQ DIGITS   a Misiurewicz point near it
//   --deep-view T RE IM EXTENT W H LIMIT [truth] [bla] [zero] [out.ppm]   one view
//                          (zero: the quartic rebased onto the orbit of 0 only)

int VerifyDeep(int argc, char** argv);
int BenchDeep(int argc, char** argv);
int SwitchOverEvidence(int argc, char** argv);
int FindNucleusCommand(int argc, char** argv);
int DeepViewCommand(int argc, char** argv);
int FindMisiurewiczCommand(int argc, char** argv);

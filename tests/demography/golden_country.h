// The figures that golden_projection.py (a reference model written separately
// from the engine) establishes for the synthetic country of golden_country.dat.
// Regenerate both files with: python3 golden_projection.py
#pragma once
#include <cstdint>

inline const int32_t kGoldenLifeAdjust = 39;
inline const int32_t kGoldenMale1990[18] = {6922, 858, 775, 706, 651, 595, 540, 485, 429, 374, 332, 291, 249, 208, 166, 125, 83, 55};
inline const int32_t kGoldenFem1990[18] = {7078, 831, 754, 692, 644, 593, 543, 491, 440, 390, 349, 310, 271, 233, 194, 152, 108, 83};
inline const int32_t kGoldenBirthrate[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48863, 13105, 1967};
inline const int32_t kGoldenDeathrate[18] = {50300, 7809, 1917, 1572, 2490, 3208, 3653, 4204, 5059, 6521, 8393, 10973, 14655, 21267, 31752, 48672, 80562, 169907};
inline const int32_t kGoldenRunMale1[17] = {1114, 831, 769, 699, 641, 585, 530, 474, 417, 360, 316, 273, 228, 182, 136, 91, 59};
inline const int32_t kGoldenRunFem1[17] = {1063, 806, 748, 686, 636, 583, 533, 481, 428, 377, 334, 292, 250, 206, 161, 113, 86};
inline const int32_t kGoldenRunBirthrate1[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48863, 13105, 1967};
inline const int32_t kGoldenRunDeathrate1[18] = {50300, 7809, 1917, 1572, 2490, 3208, 3653, 4204, 5059, 6521, 8393, 10973, 14655, 21267, 31752, 48672, 80562, 169907};
inline const int32_t kGoldenRunMale12[17] = {3263, 2847, 2546, 2275, 2026, 1802, 1590, 1385, 1200, 1058, 942, 823, 578, 474, 356, 241, 159};
inline const int32_t kGoldenRunFem12[17] = {3113, 2722, 2437, 2179, 1942, 1729, 1529, 1334, 1157, 1026, 915, 802, 577, 477, 368, 258, 186};
inline const int32_t kGoldenRunBirthrate12[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48863, 13105, 1967};
inline const int32_t kGoldenRunDeathrate12[18] = {50300, 7809, 1917, 1572, 2490, 3208, 3653, 4204, 5059, 6521, 8393, 10973, 14655, 21267, 31752, 48672, 80562, 169907};
inline const int32_t kGoldenRunTotpop[13] = {14000, 15488, 17078, 18777, 20629, 22734, 25123, 27791, 30749, 34037, 37693, 41770, 46316};
inline const int32_t kGoldenRunMig[13] = {-3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3};
inline const int32_t kGoldenExpectedMale1[17] = {1089, 831, 769, 700, 642, 585, 530, 475, 417, 361, 317, 273, 229, 183, 137, 92, 61};
inline const int32_t kGoldenExpectedFem1[17] = {1039, 807, 748, 686, 636, 583, 533, 481, 429, 377, 334, 293, 251, 207, 162, 114, 88};
inline const int32_t kGoldenExpectedBirthrate1[9] = {1545, 132903, 192447, 170759, 130739, 97263, 45721, 12263, 1842};
inline const int32_t kGoldenExpectedDeathrate1[18] = {46153, 7261, 1783, 1462, 2315, 2983, 3397, 3909, 4704, 6064, 7805, 10203, 13627, 19775, 29526, 45258, 74911, 157990};
inline const int32_t kGoldenExpectedMale12[17] = {2340, 2101, 1927, 1764, 1612, 1479, 1349, 1208, 1061, 942, 884, 830, 605, 500, 386, 272, 206};
inline const int32_t kGoldenExpectedFem12[17] = {2232, 2008, 1844, 1689, 1544, 1418, 1297, 1162, 1023, 909, 859, 809, 601, 502, 395, 287, 239};
inline const int32_t kGoldenExpectedBirthrate12[9] = {1415, 121744, 176288, 156420, 119761, 89096, 41882, 11234, 1688};
inline const int32_t kGoldenExpectedDeathrate12[18] = {42000, 6899, 1695, 1389, 2199, 2834, 3228, 3713, 4469, 5762, 7415, 9693, 12947, 18787, 28051, 42999, 71170, 150101};
inline const int32_t kGoldenExpectedTotpop[13] = {14000, 15459, 16907, 18342, 19908, 21654, 23564, 25605, 27776, 30112, 32629, 35346, 38284};
inline const int32_t kGoldenExpectedMig[13] = {-3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3};

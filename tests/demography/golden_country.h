// The figures that golden_projection.py (a reference model written separately
// from the engine) establishes for the synthetic country of golden_country.dat.
// Regenerate both files with: python3 golden_projection.py
#pragma once
#include <cstdint>

inline const int32_t kGoldenLifeAdjust = 39;
inline const int32_t kGoldenMale1990[18] = {6919, 859, 775, 706, 650, 595, 540, 484, 429, 373, 332, 291, 249, 207, 166, 125, 83, 55};
inline const int32_t kGoldenFem1990[18] = {7081, 831, 755, 692, 644, 593, 543, 491, 440, 391, 349, 310, 272, 233, 194, 152, 108, 83};
inline const int32_t kGoldenBirthrate[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48738, 13105, 1967};
inline const int32_t kGoldenDeathrate[18] = {50300, 7809, 1917, 1574, 2493, 3210, 3656, 4212, 5062, 6526, 8399, 10981, 14637, 21330, 31774, 48706, 80618, 170027};
inline const int32_t kGoldenRunMale1[17] = {1114, 832, 769, 699, 641, 585, 530, 473, 417, 359, 316, 273, 228, 182, 136, 91, 59};
inline const int32_t kGoldenRunFem1[17] = {1063, 806, 750, 686, 635, 583, 533, 481, 429, 377, 333, 292, 250, 206, 161, 113, 85};
inline const int32_t kGoldenRunBirthrate1[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48738, 13105, 1967};
inline const int32_t kGoldenRunDeathrate1[18] = {50300, 7809, 1917, 1574, 2493, 3210, 3656, 4212, 5062, 6526, 8399, 10981, 14637, 21330, 31774, 48706, 80618, 170027};
inline const int32_t kGoldenRunMale12[17] = {3262, 2847, 2547, 2274, 2025, 1800, 1590, 1384, 1201, 1059, 941, 822, 579, 474, 356, 241, 159};
inline const int32_t kGoldenRunFem12[17] = {3113, 2723, 2438, 2178, 1942, 1728, 1529, 1334, 1158, 1027, 913, 802, 576, 478, 367, 257, 186};
inline const int32_t kGoldenRunBirthrate12[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48738, 13105, 1967};
inline const int32_t kGoldenRunDeathrate12[18] = {50300, 7809, 1917, 1574, 2493, 3210, 3656, 4212, 5062, 6526, 8399, 10981, 14637, 21330, 31774, 48706, 80618, 170027};
inline const int32_t kGoldenRunTotpop[13] = {14000, 15487, 17075, 18773, 20629, 22733, 25119, 27786, 30745, 34034, 37694, 41768, 46310};
inline const int32_t kGoldenRunMig[13] = {-3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3};
inline const int32_t kGoldenExpectedMale1[17] = {1089, 832, 769, 700, 641, 585, 530, 474, 417, 360, 317, 273, 229, 182, 137, 92, 61};
inline const int32_t kGoldenExpectedFem1[17] = {1039, 807, 750, 686, 636, 583, 533, 481, 429, 378, 334, 293, 251, 207, 162, 114, 88};
inline const int32_t kGoldenExpectedBirthrate1[9] = {1545, 132903, 192447, 170759, 130739, 97263, 45606, 12263, 1842};
inline const int32_t kGoldenExpectedDeathrate1[18] = {46153, 7234, 1777, 1457, 2309, 2974, 3387, 3902, 4689, 6046, 7780, 10172, 13559, 19759, 29434, 45119, 74683, 157509};
inline const int32_t kGoldenExpectedMale12[17] = {2339, 2100, 1926, 1764, 1612, 1479, 1349, 1208, 1061, 941, 884, 830, 605, 500, 385, 269, 206};
inline const int32_t kGoldenExpectedFem12[17] = {2232, 2008, 1844, 1689, 1544, 1418, 1298, 1163, 1022, 909, 858, 807, 601, 504, 394, 285, 239};
inline const int32_t kGoldenExpectedBirthrate12[9] = {1415, 121744, 176288, 156420, 119761, 89096, 41778, 11234, 1688};
inline const int32_t kGoldenExpectedDeathrate12[18] = {42000, 6913, 1699, 1394, 2206, 2842, 3236, 3730, 4481, 5778, 7435, 9721, 12956, 18881, 28126, 43115, 71365, 150511};
inline const int32_t kGoldenExpectedTotpop[13] = {14000, 15459, 16907, 18344, 19908, 21656, 23566, 25603, 27774, 30107, 32619, 35335, 38273};
inline const int32_t kGoldenExpectedMig[13] = {-3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3};

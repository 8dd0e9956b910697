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
inline const int32_t kGoldenRunFem1[17] = {1062, 806, 750, 686, 635, 582, 532, 481, 429, 377, 333, 292, 250, 206, 161, 113, 85};
inline const int32_t kGoldenRunBirthrate1[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48738, 13105, 1967};
inline const int32_t kGoldenRunDeathrate1[18] = {50300, 7809, 1917, 1574, 2493, 3210, 3656, 4212, 5062, 6526, 8399, 10981, 14637, 21330, 31774, 48706, 80618, 170027};
inline const int32_t kGoldenRunMale12[17] = {3252, 2838, 2538, 2268, 2020, 1797, 1586, 1381, 1198, 1057, 940, 823, 579, 474, 356, 241, 159};
inline const int32_t kGoldenRunFem12[17] = {3103, 2714, 2430, 2173, 1936, 1722, 1523, 1329, 1152, 1022, 911, 798, 575, 476, 366, 255, 186};
inline const int32_t kGoldenRunBirthrate12[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48738, 13105, 1967};
inline const int32_t kGoldenRunDeathrate12[18] = {50300, 7809, 1917, 1574, 2493, 3210, 3656, 4212, 5062, 6526, 8399, 10981, 14637, 21330, 31774, 48706, 80618, 170027};
inline const int32_t kGoldenRunTotpop[13] = {14000, 15484, 17066, 18758, 20606, 22703, 25080, 27737, 30684, 33958, 37599, 41657, 46178};
inline const int32_t kGoldenRunMig[13] = {-3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3};
inline const int32_t kGoldenExpectedMale1[17] = {1089, 832, 769, 700, 641, 585, 530, 474, 417, 360, 317, 273, 229, 182, 137, 92, 61};
inline const int32_t kGoldenExpectedFem1[17] = {1039, 807, 750, 686, 636, 582, 532, 481, 429, 378, 334, 293, 251, 207, 162, 114, 88};
inline const int32_t kGoldenExpectedBirthrate1[9] = {1545, 132903, 192447, 170759, 130739, 97263, 45606, 12263, 1842};
inline const int32_t kGoldenExpectedDeathrate1[18] = {46153, 7233, 1777, 1457, 2309, 2974, 3387, 3901, 4689, 6046, 7780, 10172, 13559, 19759, 29434, 45118, 74678, 157501};
inline const int32_t kGoldenExpectedMale12[17] = {2333, 2096, 1922, 1762, 1608, 1475, 1349, 1208, 1061, 941, 882, 830, 604, 501, 385, 270, 206};
inline const int32_t kGoldenExpectedFem12[17] = {2225, 2003, 1840, 1686, 1541, 1413, 1292, 1158, 1019, 908, 854, 806, 599, 504, 392, 285, 238};
inline const int32_t kGoldenExpectedBirthrate12[9] = {1415, 121744, 176288, 156420, 119761, 89096, 41778, 11234, 1688};
inline const int32_t kGoldenExpectedDeathrate12[18] = {42000, 6902, 1697, 1391, 2203, 2837, 3231, 3722, 4474, 5769, 7424, 9705, 12937, 18853, 28084, 43049, 71253, 150276};
inline const int32_t kGoldenExpectedTotpop[13] = {14000, 15457, 16902, 18337, 19897, 21638, 23542, 25572, 27734, 30063, 32571, 35274, 38196};
inline const int32_t kGoldenExpectedMig[13] = {-3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3};

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
inline const int32_t kGoldenRunFem1[17] = {1062, 806, 748, 686, 636, 582, 532, 481, 428, 377, 334, 292, 250, 206, 161, 113, 86};
inline const int32_t kGoldenRunBirthrate1[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48863, 13105, 1967};
inline const int32_t kGoldenRunDeathrate1[18] = {50300, 7809, 1917, 1572, 2490, 3208, 3653, 4204, 5059, 6521, 8393, 10973, 14655, 21267, 31752, 48672, 80562, 169907};
inline const int32_t kGoldenRunMale12[17] = {3253, 2839, 2539, 2269, 2020, 1796, 1586, 1382, 1198, 1057, 940, 823, 578, 474, 356, 241, 159};
inline const int32_t kGoldenRunFem12[17] = {3104, 2716, 2430, 2173, 1936, 1722, 1525, 1329, 1152, 1022, 911, 798, 575, 475, 366, 256, 186};
inline const int32_t kGoldenRunBirthrate12[9] = {1653, 142034, 205667, 182491, 139720, 103944, 48863, 13105, 1967};
inline const int32_t kGoldenRunDeathrate12[18] = {50300, 7809, 1917, 1572, 2490, 3208, 3653, 4204, 5059, 6521, 8393, 10973, 14655, 21267, 31752, 48672, 80562, 169907};
inline const int32_t kGoldenRunTotpop[13] = {14000, 15485, 17069, 18758, 20604, 22702, 25078, 27733, 30679, 33955, 37598, 41660, 46186};
inline const int32_t kGoldenRunMig[13] = {-3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3};
inline const int32_t kGoldenExpectedMale1[17] = {1089, 831, 769, 700, 642, 585, 530, 475, 417, 361, 317, 273, 229, 183, 137, 92, 61};
inline const int32_t kGoldenExpectedFem1[17] = {1039, 807, 748, 686, 636, 582, 532, 481, 429, 377, 334, 293, 251, 207, 162, 114, 88};
inline const int32_t kGoldenExpectedBirthrate1[9] = {1545, 132903, 192447, 170759, 130739, 97263, 45721, 12263, 1842};
inline const int32_t kGoldenExpectedDeathrate1[18] = {46153, 7244, 1779, 1458, 2309, 2976, 3388, 3900, 4692, 6050, 7785, 10179, 13595, 19727, 29454, 45149, 74730, 157607};
inline const int32_t kGoldenExpectedMale12[17] = {2332, 2095, 1921, 1759, 1608, 1474, 1348, 1207, 1060, 940, 883, 830, 602, 501, 385, 272, 206};
inline const int32_t kGoldenExpectedFem12[17] = {2225, 2002, 1839, 1685, 1540, 1412, 1292, 1158, 1018, 907, 854, 806, 598, 501, 392, 285, 237};
inline const int32_t kGoldenExpectedBirthrate12[9] = {1415, 121744, 176288, 156420, 119761, 89096, 41882, 11234, 1688};
inline const int32_t kGoldenExpectedDeathrate12[18] = {41967, 6915, 1700, 1393, 2204, 2841, 3233, 3724, 4479, 5776, 7433, 9716, 12978, 18832, 28118, 43100, 71340, 150457};
inline const int32_t kGoldenExpectedTotpop[13] = {14000, 15457, 16901, 18332, 19889, 21626, 23529, 25560, 27721, 30045, 32547, 35251, 38174};
inline const int32_t kGoldenExpectedMig[13] = {-3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3, -3};

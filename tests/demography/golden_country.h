// The synthetic country of the golden projection and the figures that
// golden_projection.py (a reference model written separately from the engine)
// establishes for it. Regenerate with: python3 golden_projection.py --header
#pragma once
#include <cstdint>

inline const char* const kGoldenCountryFile =
    "database= VK_country\n"
    "name= Testland\n"
    "size= 1000\n"
    "year= 1990\n"
    "total_population= 14000\n"
    "life_expectancy= 61.5\n"
    "infant_deaths= 50.3\n"
    "total_fertility= 4.2\n"
    "migration= -3\n"
    "format= age total_pop m_pop f_pop tamrof\n"
    "TOTAL 10113 5000 5113\n"
    "00-04 1220 620 600\n"
    "05-09 1105 560 545\n"
    "10-14 1010 510 500\n"
    "15-19 935 470 465\n"
    "20-24 858 430 428\n"
    "25-29 782 390 392\n"
    "30-34 705 350 355\n"
    "35-39 628 310 318\n"
    "40-44 552 270 282\n"
    "45-49 492 240 252\n"
    "50-54 434 210 224\n"
    "55-59 376 180 196\n"
    "60-64 318 150 168\n"
    "65-69 260 120 140\n"
    "70-74 200 90 110\n"
    "75-79 138 60 78\n"
    "80+ 100 40 60\n"
    "endformat\n"
    "format= age total_births m_births f_births tamrof\n"
    "TOTAL 593300 303300 290000\n"
    "-15 1500 1500 0\n"
    "15-19 120000 120000 0\n"
    "20-24 160000 160000 0\n"
    "25-29 130000 130000 0\n"
    "30-34 90000 90000 0\n"
    "35-39 60000 60000 0\n"
    "40-44 25000 25000 0\n"
    "45-49 6000 6000 0\n"
    "50+ 800 800 0\n"
    "endformat\n"
    "format= age total_deaths m_deaths f_deaths tamrof\n"
    "TOTAL 122700 66900 55800\n"
    "-01 30000 17000 13000\n"
    "01-04 9000 4700 4300\n"
    "05-09 2000 1100 900\n"
    "10-14 1500 850 650\n"
    "15-19 2200 1300 900\n"
    "20-24 2600 1500 1100\n"
    "25-29 2700 1550 1150\n"
    "30-34 2800 1600 1200\n"
    "35-39 3000 1700 1300\n"
    "40-44 3400 1950 1450\n"
    "45-49 3900 2250 1650\n"
    "50-54 4500 2600 1900\n"
    "55-59 5200 3000 2200\n"
    "60-64 6400 3700 2700\n"
    "65-69 7800 4400 3400\n"
    "70-74 9200 5000 4200\n"
    "75-79 10500 5500 5000\n"
    "80+ 16000 7200 8800\n"
    "endformat\n"
    "year= 2000\n"
    "life_expectancy= 64.0\n"
    "infant_deaths= 42.0\n"
    "total_fertility= 3.6\n"
    ;
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

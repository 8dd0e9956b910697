#!/usr/bin/env python3
"""Reference model of the country conversion and the projection, written
independently of the C++ engine, to establish the golden figures of
projection_golden_test.cpp. Python integers do not overflow, so every step is
computed exactly and rounded as the engine must round:
  - RESCALE (floating path): the exact rational a*b/c rounded half away from
    zero (the magnitude plus 1/2, floored, with the sign put back);
  - "/" on integers truncates toward zero; h(x) is floor(x / 2).
Run it to write the synthetic country file golden_country.dat and the expected
figures golden_country.h.
"""
from fractions import Fraction
import math

HALF = Fraction(1, 2)


def rescale(a, b, c):
    if c == 0:
        return 0
    q = Fraction(a * b, c)
    m = math.floor(abs(q) + HALF)
    return -m if q < 0 else m


def div(a, b):  # C division, truncating toward zero
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


def h(x):
    return x >> 1


CUT = 999000

# ---- the synthetic country (thousands) ----------------------------------
MALE = [837, 756, 688, 634, 580, 526, 472, 418, 364, 324, 284, 243, 202, 162, 122, 81, 54]
FEMALE = [810, 736, 675, 628, 578, 529, 479, 429, 381, 340, 302, 265, 227, 189, 148, 105, 81]
TOTAL_POP = 14000  # differs from the sum (by less than the 10 % a file may), so the groups are rescaled
BIRTHS = [0, 1500, 120000, 160000, 130000, 90000, 60000, 25000, 6000, 800]  # TOTAL, -15, .., 50+
BIRTHS[0] = sum(BIRTHS[1:])
F_BIRTHS = [0] * 10
F_BIRTHS[0] = 290000
DEATHS = [0, 30000, 9000, 2000, 1500, 2200, 2600, 2700, 2800, 3000, 3400, 3900,
          4500, 5200, 6400, 7800, 9200, 10500, 16000]  # TOTAL, -01, 01-04, 05-09, .., 80+
DEATHS[0] = sum(DEATHS[1:])
F_DEATHS = [0, 13000, 4300, 900, 650, 900, 1100, 1150, 1200, 1300, 1450, 1650,
            1900, 2200, 2700, 3400, 4200, 5000, 8800]
F_DEATHS[0] = sum(F_DEATHS[1:])
LIFE_1990, INFANT_1990, TFR_1990 = 6150, 503, 420   # 61.50 years, 50.3 per 1000, 4.20
LIFE_2000, INFANT_2000, TFR_2000 = 6400, 420, 360
MIG = -3
SCALE = 1000

POP_LABELS = ["TOTAL", "00-04", "05-09", "10-14", "15-19", "20-24", "25-29", "30-34", "35-39",
              "40-44", "45-49", "50-54", "55-59", "60-64", "65-69", "70-74", "75-79", "80+"]
BIRTH_LABELS = ["TOTAL", "-15", "15-19", "20-24", "25-29", "30-34", "35-39", "40-44", "45-49", "50+"]
DEATH_LABELS = ["TOTAL", "-01", "01-04", "05-09", "10-14", "15-19", "20-24", "25-29", "30-34",
                "35-39", "40-44", "45-49", "50-54", "55-59", "60-64", "65-69", "70-74", "75-79", "80+"]


def country_file():
    lines = ["database= VK_country", "name= Testland", "size= 1000", "year= 1990",
             "total_population= %d" % TOTAL_POP, "life_expectancy= 61.5", "infant_deaths= 50.3",
             "total_fertility= 4.2", "migration= %d" % MIG,
             "format= age total_pop m_pop f_pop tamrof"]
    lines.append("TOTAL %d %d %d" % (sum(MALE) + sum(FEMALE), sum(MALE), sum(FEMALE)))
    for i in range(17):
        lines.append("%s %d %d %d" % (POP_LABELS[i + 1], MALE[i] + FEMALE[i], MALE[i], FEMALE[i]))
    lines.append("endformat")
    lines.append("format= age total_births m_births f_births tamrof")
    for i in range(10):
        f = F_BIRTHS[i] if i == 0 else 0
        lines.append("%s %d %d %d" % (BIRTH_LABELS[i], BIRTHS[i], BIRTHS[i] - f, f))
    lines.append("endformat")
    lines.append("format= age total_deaths m_deaths f_deaths tamrof")
    for i in range(19):
        lines.append("%s %d %d %d" % (DEATH_LABELS[i], DEATHS[i], DEATHS[i] - F_DEATHS[i], F_DEATHS[i]))
    lines.append("endformat")
    lines += ["year= 2000", "life_expectancy= 64.0", "infant_deaths= 42.0", "total_fertility= 3.6"]
    return "\n".join(lines) + "\n"


# ---- life table and rate scaling ----------------------------------------
def get_tfr(r):
    return div(5 * sum(r) + 5000, 10000)


def get_life_expect(r):
    l = 100000 - rescale(100000, r[0], 1000000)
    s = 0
    for a in range(80):
        d = rescale(l, r[a // 5 + 1], 1000000)
        s += d * a + h(d)
        l -= d
    for a in range(80, 110):
        d = rescale(l, r[17], 1000000)
        s += d * a + h(d)
        l -= d
    return div(s + l * 110 + h(l) + 500, 1000)


def set_to_tfr_target(target, r):
    c = get_tfr(r)
    if c == target or c == 0:
        return
    for i in range(9):
        r[i] = min(rescale(r[i], target, c), CUT)


def set_to_life_target(target, r, include_infant):
    c = get_life_expect(r)
    p = 100000
    if abs(c - target) < 5:
        return
    o = list(r)
    first = 0 if include_infant else 1
    scale = div(c * 100000 + h(target), target)
    for i in range(first, 18):
        r[i] = min(div(o[i] * c + h(target), target), CUT)
    n = get_life_expect(r)
    k = 1
    while k < 10:
        if div(n + 5, 10) == div(target + 5, 10) or scale == p or n == c:
            break
        q = rescale(target - c, scale - p, n - c) + p
        p = scale
        scale = q if q >= 0 else h(p)
        c = n
        for i in range(first, 18):
            r[i] = min(rescale(o[i], scale, 100000), CUT)
        n = get_life_expect(r)
        k += 1


# ---- conversion ----------------------------------------------------------
def convert():
    k = 1000000 // SCALE
    c = {}
    dr = [0] * 18
    dr[0] = INFANT_1990 * 1000 // 10
    c["life_expect_2000"], c["tot_fertility_2000"] = LIFE_2000, TFR_2000
    c["infant_deaths_2000"] = INFANT_2000 * 1000 // 10
    m = [0] + list(MALE)
    f = [0] + list(FEMALE)
    total = sum(m) + sum(f)
    if total != TOTAL_POP:
        m = [0] + [rescale(v, TOTAL_POP, total) for v in m[1:]]
        f = [0] + [rescale(v, TOTAL_POP, total) for v in f[1:]]
    m[0], f[0] = sum(m[1:]), sum(f[1:])
    br = [rescale(BIRTHS[i + 1], k, f[i + 3]) for i in range(9)]
    set_to_tfr_target(TFR_1990, br)
    for i in range(1, 18):
        dr[i] = rescale(DEATHS[i + 1], k, m[i] + f[i])
    fem = [0] * 18
    fem[0] = rescale(F_DEATHS[1], 1000000, F_BIRTHS[0])  # female infants per million female births
    for i in range(1, 18):
        fem[i] = rescale(F_DEATHS[i + 1], k, f[i])
    lf, lt = get_life_expect(fem), get_life_expect(dr)
    c["life_adjust"] = div((lf - lt) * 1000 + h(lt), lt)
    set_to_life_target(LIFE_1990, dr, 0)
    c.update(male=m, fem=f, birthrate=br, deathrate=dr, mig=MIG)
    return c


# ---- projection ----------------------------------------------------------
MMIG = [18, 40, 32, 36, 50, 67, 49, 36, 32, 31, 23, 13, 9, 9, 5, 0, 0]
FMIG = [16, 44, 39, 50, 66, 88, 66, 44, 38, 33, 22, 17, 11, 11, 5, 0, 0]


def approach(v, T, Y, year):
    if year >= Y:  # from the target year on, the value aimed at is the target
        return T
    d = Y - year
    return v + div(T - v + h(d), d)


def spread_groups(G):
    ext = [2 * G[0] - G[1]] + list(G) + [2 * G[16] - G[15]]
    out = []
    for g in range(17):
        P, Gv, N = ext[g], ext[g + 1], ext[g + 2]
        v = [div(8 * P + 12 * Gv + 5, 10), div(4 * P + 16 * Gv + 5, 10), 2 * Gv,
             div(16 * Gv + 4 * N + 5, 10), div(12 * Gv + 8 * N + 5, 10)]
        v = [max(0, y) for y in v]
        s = sum(v)
        out += [rescale(y, 10 * Gv, s) for y in v]
    return out


def five(P, G, N):
    return [div(4 * P + 6 * G + 5, 10), div(2 * P + 8 * G + 5, 10), G,
            div(8 * G + 2 * N + 5, 10), div(6 * G + 4 * N + 5, 10)]


def group_now(single, a0):
    return div(sum(single[a0:a0 + 5]) + 5, 10)


class Run:
    def __init__(self, c, expected=False):
        self.year = 1990
        self.t = 0
        self.male = [list(c["male"][1:])]
        self.fem = [list(c["fem"][1:])]
        self.br = [list(c["birthrate"])]
        self.dr = [list(c["deathrate"])]
        self.mig = [c["mig"]]
        self.tfr_val = [div(5 * 100 * sum(c["birthrate"]) + 500000, 1000000)]
        self.tfr_year = [1990]
        self.life_val = [LIFE_1990]
        self.life_year = [1990]
        self.imr_val = [-1]
        self.imr_year = [-1]
        self.mig_val = [c["mig"]]
        self.mig_year = [1990]
        if expected:
            self.tfr_val[0], self.tfr_year[0] = c["tot_fertility_2000"], 2000
            self.life_val[0], self.life_year[0] = c["life_expect_2000"], 2000
            self.imr_val[0], self.imr_year[0] = c["infant_deaths_2000"], 2000
        self.totpop = [sum(c["male"][1:]) + sum(c["fem"][1:])]
        self.la = c["life_adjust"]

    def step(self):
        self.t += 1
        t = self.t
        for name in ("male", "fem", "br", "dr", "mig", "tfr_val", "tfr_year", "life_val",
                     "life_year", "imr_val", "imr_year", "mig_val", "mig_year"):
            a = getattr(self, name)
            prev = a[t - 1]
            a.append(list(prev) if isinstance(prev, list) else prev)
        self.totpop.append(sum(self.male[t - 1]) + sum(self.fem[t - 1]))
        m = self.mig[t]
        male = spread_groups(self.male[t])
        fem = spread_groups(self.fem[t])
        brate = [0] * 85
        for _ in range(5):
            # birth rates by single year
            R = [0] + self.br[t] + [0]
            for i in range(9):
                a0 = 10 + 5 * i
                rate = five(R[i], R[i + 1], R[i + 2])
                w = sum(rescale(rate[j], fem[a0 + j], 100000) for j in range(5))
                if w == 0:
                    rate = [0] * 5
                else:
                    e = rescale(R[i + 1], group_now(fem, a0), 10000)
                    rate = [rescale(x, e, w) for x in rate]
                for j in range(5):
                    brate[a0 + j] = min(rate[j], CUT)
            # death rates by single year
            D = self.dr[t]
            R = [max(0, 2 * D[1] - D[2])] + D[1:18] + [max(0, 2 * D[17] - D[16])]
            drate = [0] * 85
            for g in range(17):
                a0 = 5 * g
                rate = five(R[g], R[g + 1], R[g + 2])
                if g == 0:
                    rate[0] = 0
                w = sum(rescale(rate[j], male[a0 + j] + fem[a0 + j], 100000) for j in range(5))
                if w == 0:
                    rate = [0] * 5
                else:
                    e = rescale(R[g + 1], group_now(male, a0) + group_now(fem, a0), 10000)
                    rate = [rescale(x, e, w) for x in rate]
                for j in range(5):
                    drate[a0 + j] = min(rate[j], CUT)
            adj = [div(x * self.la + 500, 1000) for x in drate]
            frate = [drate[a] - adj[a] for a in range(85)]
            mrate = [drate[a] + adj[a] for a in range(85)]
            B = sum(rescale(fem[a] - rescale(fem[a], frate[a], 1000000), brate[a], 1000000)
                    for a in range(85))
            S = B - rescale(B, self.dr[t][0], 1000000)
            for pop, rt in ((male, mrate), (fem, frate)):
                v = pop[84] + pop[83] - rescale(pop[83], rt[83], 1000000)
                v = v - rescale(v, rt[84], 1000000)
                pop[84] = max(0, v)
                for a in range(83, 0, -1):
                    pop[a] = max(0, pop[a - 1] - rescale(pop[a - 1], rt[a - 1], 1000000))
            boys = rescale(S, 512, 1000)
            male[0] = max(0, boys - rescale(boys, mrate[0], 1000000))
            girls = S - boys
            fem[0] = max(0, girls - rescale(girls, frate[0], 1000000))
            # the targets move one year
            v = get_tfr(self.br[t])
            if v != self.tfr_val[t]:
                set_to_tfr_target(approach(v, self.tfr_val[t], self.tfr_year[t], self.year), self.br[t])
            r = self.dr[t]
            if self.year == self.life_year[t]:
                self.imr_year[t] = -1
            flag = 1
            if self.imr_year[t] > self.year:
                d = self.imr_year[t] - self.year
                r[0] = min(r[0] + div(self.imr_val[t] - r[0] + h(d), d), CUT)
                flag = 0
            v = get_life_expect(r)
            if v != self.life_val[t]:
                set_to_life_target(approach(v, self.life_val[t], self.life_year[t], self.year), r, flag)
            if self.mig[t] != self.mig_val[t]:
                self.mig[t] = approach(self.mig[t], self.mig_val[t], self.mig_year[t], self.year)
            if m != 0:
                for a in range(85):
                    male[a] = max(0, male[a] + rescale(m, MMIG[a // 5], 500))
                    fem[a] = max(0, fem[a] + rescale(m, FMIG[a // 5], 500))
            self.year += 1
        self.male[t] = [group_now(male, 5 * g) for g in range(17)]
        self.fem[t] = [group_now(fem, 5 * g) for g in range(17)]
        self.totpop[t] = sum(self.male[t]) + sum(self.fem[t])
        if self.tfr_year[t] < self.year:
            self.tfr_year[t], self.tfr_val[t] = self.year, get_tfr(self.br[t])
        if self.life_year[t] < self.year:
            self.life_year[t], self.life_val[t] = self.year, get_life_expect(self.dr[t])
        if self.imr_year[t] < self.year:
            self.imr_year[t], self.imr_val[t] = self.year, self.dr[t][0]
        if self.mig_year[t] < self.year:
            self.mig_year[t], self.mig_val[t] = self.year, self.mig[t]


def header():
    """The C++ header golden_country.h with the expected figures."""
    lines = ["// The figures that golden_projection.py (a reference model written separately",
             "// from the engine) establishes for the synthetic country of golden_country.dat.",
             "// Regenerate both files with: python3 golden_projection.py",
             "#pragma once", "#include <cstdint>", ""]

    def arr(name, v):
        lines.append("inline const int32_t %s[%d] = {%s};" % (name, len(v), ", ".join(str(x) for x in v)))

    c = convert()
    lines.append("inline const int32_t kGoldenLifeAdjust = %d;" % c["life_adjust"])
    arr("kGoldenMale1990", c["male"])
    arr("kGoldenFem1990", c["fem"])
    arr("kGoldenBirthrate", c["birthrate"])
    arr("kGoldenDeathrate", c["deathrate"])
    for expected, tag in ((False, "Run"), (True, "Expected")):
        r = Run(c, expected)
        for _ in range(12):
            r.step()
        for t in (1, 12):
            arr("kGolden%sMale%d" % (tag, t), r.male[t])
            arr("kGolden%sFem%d" % (tag, t), r.fem[t])
            arr("kGolden%sBirthrate%d" % (tag, t), r.br[t])
            arr("kGolden%sDeathrate%d" % (tag, t), r.dr[t])
        arr("kGolden%sTotpop" % tag, r.totpop)
        arr("kGolden%sMig" % tag, r.mig)
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    with open("golden_country.dat", "w") as f:
        f.write(country_file())
    with open("golden_country.h", "w") as f:
        f.write(header())

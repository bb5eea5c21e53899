#!/usr/bin/env python3
"""Moments of the twelve first solar terms (节) of each Gregorian month, in Beijing time.

The first term of Gregorian month m is the moment when the Sun's apparent geocentric
longitude reaches 285 + 30 (m - 1) degrees (modulo 360): 小寒 285, 立春 315, ..., 大雪 255.
The method and its accuracy are described in README.md next to this file.

The compiled table takes the reference moments (tests/calendar/data/jie-terms-utc8.txt,
from a numerical ephemeris) for 1882 to REFERENCE_LAST and the computed moments after it.

Usage:
  jieterms.py table [--reference FILE]         C++ initialisers for calendar/JieTermTable.inc
  jieterms.py list [--first Y] [--last Y]      "YYYY: d hh.mm; ..." lines (computed values only)
  jieterms.py check [REFERENCE]                cross-check the computed moments and the table
  jieterms.py moment YEAR MONTH DAY LONGITUDE  moment the apparent longitude is reached
                                               (search starts at the given day)
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_REFERENCE = os.path.join(HERE, '..', '..', 'tests', 'calendar', 'data',
                                 'jie-terms-utc8.txt')
FIRST_YEAR = 1882
LAST_YEAR = 2050
# Last year whose moments the table takes from the reference list; the years after it are
# computed here (their Delta T is a prediction either way).
REFERENCE_LAST = 2024

# ---------------------------------------------------------------------------------------
# Earth's heliocentric coordinates: VSOP87 (version D, ecliptic and equinox of date),
# truncated series. Each term is A cos(B + C tau), tau in Julian millennia from J2000,
# A in 1e-8 radian (L, B) or 1e-8 AU (R).

EARTH_L0 = [
    (175347046, 0, 0), (3341656, 4.6692568, 6283.0758500), (34894, 4.62610, 12566.15170),
    (3497, 2.7441, 5753.3849), (3418, 2.8289, 3.5231), (3136, 3.6277, 77713.7715),
    (2676, 4.4181, 7860.4194), (2343, 6.1352, 3930.2097), (1324, 0.7425, 11506.7698),
    (1273, 2.0371, 529.6910), (1199, 1.1096, 1577.3435), (990, 5.233, 5884.927),
    (902, 2.045, 26.298), (857, 3.508, 398.149), (780, 1.179, 5223.694),
    (753, 2.533, 5507.553), (505, 4.583, 18849.228), (492, 4.205, 775.523),
    (357, 2.920, 0.067), (317, 5.849, 11790.629), (284, 1.899, 796.298),
    (271, 0.315, 10977.079), (243, 0.345, 5486.778), (206, 4.806, 2544.314),
    (205, 1.869, 5573.143), (202, 2.458, 6069.777), (156, 0.833, 213.299),
    (132, 3.411, 2942.463), (126, 1.083, 20.775), (115, 0.645, 0.980),
    (103, 0.636, 4694.003), (102, 0.976, 15720.839), (102, 4.267, 7.114),
    (99, 6.21, 2146.17), (98, 0.68, 155.42), (86, 5.98, 161000.69),
    (85, 1.30, 6275.96), (85, 3.67, 71430.70), (80, 1.81, 17260.15),
    (79, 3.04, 12036.46), (75, 1.76, 5088.63), (74, 3.50, 3154.69),
    (74, 4.68, 801.82), (70, 0.83, 9437.76), (62, 3.98, 8827.39),
    (61, 1.82, 7084.90), (57, 2.78, 6286.60), (56, 4.39, 14143.50),
    (56, 3.47, 6279.55), (52, 0.19, 12139.55), (52, 1.33, 1748.02),
    (51, 0.28, 5856.48), (49, 0.49, 1194.45), (41, 5.37, 8429.24),
    (41, 2.40, 19651.05), (39, 6.17, 10447.39), (37, 6.04, 10213.29),
    (37, 2.57, 1059.38), (36, 1.71, 2352.87), (36, 1.78, 6812.77),
    (33, 0.59, 17789.85), (30, 0.44, 83996.85), (30, 2.74, 1349.87),
    (25, 3.16, 4690.48),
]
EARTH_L1 = [
    (628331966747, 0, 0), (206059, 2.678235, 6283.075850), (4303, 2.6351, 12566.1517),
    (425, 1.590, 3.523), (119, 5.796, 26.298), (109, 2.966, 1577.344),
    (93, 2.59, 18849.23), (72, 1.14, 529.69), (68, 1.87, 398.15),
    (67, 4.41, 5507.55), (59, 2.89, 5223.69), (56, 2.17, 155.42),
    (45, 0.40, 796.30), (36, 0.47, 775.52), (29, 2.65, 7.11),
    (21, 5.34, 0.98), (19, 1.85, 5486.78), (19, 4.97, 213.30),
    (17, 2.99, 6275.96), (16, 0.03, 2544.31), (16, 1.43, 2146.17),
    (15, 1.21, 10977.08), (12, 2.83, 1748.02), (12, 3.26, 5088.63),
    (12, 5.27, 1194.45), (12, 2.08, 4694.00), (11, 0.77, 553.57),
    (10, 1.30, 6286.60), (10, 4.24, 1349.87), (9, 2.70, 242.73),
    (9, 5.64, 951.72), (8, 5.30, 2352.87), (6, 2.65, 9437.76),
    (6, 4.67, 4690.48),
]
EARTH_L2 = [
    (52919, 0, 0), (8720, 1.0721, 6283.0758), (309, 0.867, 12566.152),
    (27, 0.05, 3.52), (16, 5.19, 26.30), (16, 3.68, 155.42),
    (10, 0.76, 18849.23), (9, 2.06, 77713.77), (7, 0.83, 775.52),
    (5, 4.66, 1577.34), (4, 1.03, 7.11), (4, 3.44, 5573.14),
    (3, 5.14, 796.30), (3, 6.05, 5507.55), (3, 1.19, 242.73),
    (3, 6.12, 529.69), (3, 0.31, 398.15), (3, 2.28, 553.57),
    (2, 4.38, 5223.69), (2, 3.75, 0.98),
]
EARTH_L3 = [
    (289, 5.844, 6283.076), (35, 0, 0), (17, 5.49, 12566.15),
    (3, 5.20, 155.42), (1, 4.72, 3.52), (1, 5.30, 18849.23), (1, 5.97, 242.73),
]
EARTH_L4 = [(114, 3.142, 0), (8, 4.13, 6283.08), (1, 3.84, 12566.15)]
EARTH_L5 = [(1, 3.14, 0)]

EARTH_B0 = [
    (280, 3.199, 84334.662), (102, 5.422, 5507.553), (80, 3.88, 5223.69),
    (44, 3.70, 2352.87), (32, 4.00, 1577.34),
]
EARTH_B1 = [(9, 3.90, 5507.55), (6, 1.73, 5223.69)]

EARTH_R0 = [
    (100013989, 0, 0), (1670700, 3.0984635, 6283.0758500), (13956, 3.05525, 12566.15170),
    (3084, 5.1985, 77713.7715), (1628, 1.1739, 5753.3849), (1576, 2.8469, 7860.4194),
    (925, 5.453, 11506.770), (542, 4.564, 3930.210), (472, 3.661, 5884.927),
    (346, 0.964, 5507.553), (329, 5.900, 5223.694), (307, 0.299, 5573.143),
    (243, 4.273, 11790.629), (212, 5.847, 1577.344), (186, 5.022, 10977.079),
    (175, 3.012, 18849.228), (110, 5.055, 5486.778), (98, 0.89, 6069.78),
    (86, 5.69, 15720.84), (86, 1.27, 161000.69), (65, 0.27, 17260.15),
    (63, 0.92, 529.69), (57, 2.01, 83996.85), (56, 5.24, 71430.70),
    (49, 3.25, 2544.31), (47, 2.58, 775.52), (45, 5.54, 9437.76),
    (43, 6.01, 6275.96), (39, 5.36, 4694.00), (38, 2.39, 8827.39),
    (37, 0.83, 19651.05), (37, 4.90, 12139.55), (36, 1.67, 12036.46),
    (35, 1.84, 2942.46), (33, 0.24, 7084.90), (32, 0.18, 5088.63),
    (32, 1.78, 398.15), (28, 1.21, 6286.60), (28, 1.90, 6279.55),
    (26, 4.59, 10447.39),
]
EARTH_R1 = [
    (103019, 1.107490, 6283.075850), (1721, 1.0644, 12566.1517), (702, 3.142, 0),
    (32, 1.02, 18849.23), (31, 2.84, 5507.55), (25, 1.32, 5223.69),
    (18, 1.42, 1577.34), (10, 5.91, 10977.08), (9, 1.42, 6275.96), (9, 0.27, 5486.78),
]
EARTH_R2 = [
    (4359, 5.7846, 6283.0758), (124, 5.579, 12566.152), (12, 3.14, 0),
    (9, 3.63, 77713.77), (6, 1.87, 5573.14), (3, 5.47, 18849.23),
]
EARTH_R3 = [(145, 4.273, 6283.076), (7, 3.92, 12566.15)]
EARTH_R4 = [(4, 2.56, 6283.08)]


def series(groups, tau):
    total = 0.0
    power = 1.0
    for terms in groups:
        s = 0.0
        for a, b, c in terms:
            s += a * math.cos(b + c * tau)
        total += s * power
        power *= tau
    return total * 1e-8


# The truncated series keep only the largest terms of the Earth's motion about the
# Earth-Moon barycentre (arguments with the Moon's elongation D). Those terms are left out
# here and the Earth's offset from the barycentre is computed from the Moon's position
# instead, which keeps all of its smaller terms (up to a few 0.1 arcsecond in all).
LUNAR_FREQUENCIES = (77713.7715, 77713.77, 5573.143, 5573.14, 161000.69, 71430.70, 83996.85)


def without_lunar_terms(terms):
    return [t for t in terms if t[2] not in LUNAR_FREQUENCIES]


def barycentre_heliocentric(tau):
    """Heliocentric longitude (radian) and distance (AU) of the Earth-Moon barycentre."""
    lon = series([without_lunar_terms(s) for s in
                  (EARTH_L0, EARTH_L1, EARTH_L2, EARTH_L3, EARTH_L4, EARTH_L5)], tau)
    dist = series([without_lunar_terms(s) for s in
                   (EARTH_R0, EARTH_R1, EARTH_R2, EARTH_R3, EARTH_R4)], tau)
    return lon, dist


# Moon's geocentric longitude and distance, main periodic terms: multipliers of D, M, M', F,
# longitude (1e-6 degree) and distance (0.001 km). Terms with M are multiplied by E per M.
MOON_TERMS = [
    (0, 0, 1, 0, 6288774, -20905355), (2, 0, -1, 0, 1274027, -3699111),
    (2, 0, 0, 0, 658314, -2955968), (0, 0, 2, 0, 213618, -569925),
    (0, 1, 0, 0, -185116, 48888), (0, 0, 0, 2, -114332, -3149),
    (2, 0, -2, 0, 58793, 246158), (2, -1, -1, 0, 57066, -152138),
    (2, 0, 1, 0, 53322, -170733), (2, -1, 0, 0, 45758, -204586),
    (0, 1, -1, 0, -40923, -129620), (1, 0, 0, 0, -34720, 108743),
    (0, 1, 1, 0, -30383, 104755), (2, 0, 0, -2, 15327, 10321),
    (0, 0, 1, 2, -12528, 0), (0, 0, 1, -2, 10980, 79661),
    (4, 0, -1, 0, 10675, -34782), (0, 0, 3, 0, 10034, -23210),
    (4, 0, -2, 0, 8548, -21636), (2, 1, -1, 0, -7888, 24208),
    (2, 1, 0, 0, -6766, 30824), (1, 0, -1, 0, -5163, -8379),
    (1, 1, 0, 0, 4987, -16675), (2, -1, 1, 0, 4036, -12831),
    (2, 0, 2, 0, 3994, -10445), (4, 0, 0, 0, 3861, -11650),
    (2, 0, -3, 0, 3665, 14403), (0, 1, -2, 0, -2689, -7003),
    (2, 0, -1, 2, -2602, 0), (2, -1, -2, 0, 2390, 10056),
    (1, 0, 1, 0, -2348, 6322), (2, -2, 0, 0, 2236, -9884),
]
AU_KM = 149597870.7
# Moon's share of the Earth-Moon mass: the Earth lies this fraction of the Earth-Moon
# vector from the barycentre, on the side away from the Moon.
MOON_MASS_FRACTION = 1 / 82.30057


def moon_geocentric(t):
    """Moon's geocentric longitude (radian, mean equinox of date) and distance (AU)."""
    lp = 218.3164477 + 481267.88123421 * t - 0.0015786 * t * t + t ** 3 / 538841
    d = math.radians(297.8501921 + 445267.1114034 * t - 0.0018819 * t * t + t ** 3 / 545868)
    m = math.radians(357.5291092 + 35999.0502909 * t - 0.0001536 * t * t)
    mm = math.radians(134.9633964 + 477198.8675055 * t + 0.0087414 * t * t + t ** 3 / 69699)
    f = math.radians(93.2720950 + 483202.0175233 * t - 0.0036539 * t * t)
    e = 1 - 0.002516 * t - 0.0000074 * t * t
    sl = 0.0
    sr = 0.0
    for cd, cm, cmm, cf, al, ar in MOON_TERMS:
        arg = cd * d + cm * m + cmm * mm + cf * f
        factor = e ** abs(cm)
        sl += al * factor * math.sin(arg)
        sr += ar * factor * math.cos(arg)
    a1 = math.radians(119.75 + 131.849 * t)
    sl += 3958 * math.sin(a1) + 1962 * math.sin(math.radians(lp) - f)
    lon = math.radians(lp + sl * 1e-6)
    dist = (385000.56 + sr * 1e-3) / AU_KM
    return lon, dist


def earth_heliocentric(tau):
    """Heliocentric longitude (radian) and distance (AU) of the Earth."""
    lon, dist = barycentre_heliocentric(tau)
    mlon, mdist = moon_geocentric(tau * 10)
    x = dist * math.cos(lon) - MOON_MASS_FRACTION * mdist * math.cos(mlon)
    y = dist * math.sin(lon) - MOON_MASS_FRACTION * mdist * math.sin(mlon)
    return lon + math.atan2(y * math.cos(lon) - x * math.sin(lon),
                            x * math.cos(lon) + y * math.sin(lon)), math.hypot(x, y)


# ---------------------------------------------------------------------------------------
# Nutation in longitude, IAU 1980 theory: multipliers of D, M, M', F, Omega and the
# coefficients of sin (0.0001 arcsecond, constant and per Julian century).

NUTATION = [
    (0, 0, 0, 0, 1, -171996, -174.2), (-2, 0, 0, 2, 2, -13187, -1.6),
    (0, 0, 0, 2, 2, -2274, -0.2), (0, 0, 0, 0, 2, 2062, 0.2),
    (0, 1, 0, 0, 0, 1426, -3.4), (0, 0, 1, 0, 0, 712, 0.1),
    (-2, 1, 0, 2, 2, -517, 1.2), (0, 0, 0, 2, 1, -386, -0.4),
    (0, 0, 1, 2, 2, -301, 0), (-2, -1, 0, 2, 2, 217, -0.5),
    (-2, 0, 1, 0, 0, -158, 0), (-2, 0, 0, 2, 1, 129, 0.1),
    (0, 0, -1, 2, 2, 123, 0), (2, 0, 0, 0, 0, 63, 0),
    (0, 0, 1, 0, 1, 63, 0.1), (2, 0, -1, 2, 2, -59, 0),
    (0, 0, -1, 0, 1, -58, -0.1), (0, 0, 1, 2, 1, -51, 0),
    (-2, 0, 2, 0, 0, 48, 0), (0, 0, -2, 2, 1, 46, 0),
    (2, 0, 0, 2, 2, -38, 0), (0, 0, 2, 2, 2, -31, 0),
    (0, 0, 2, 0, 0, 29, 0), (-2, 0, 1, 2, 2, 29, 0),
    (0, 0, 0, 2, 0, 26, 0), (-2, 0, 0, 2, 0, -22, 0),
    (0, 0, -1, 2, 1, 21, 0), (0, 2, 0, 0, 0, 17, -0.1),
    (2, 0, -1, 0, 1, 16, 0), (-2, 2, 0, 2, 2, -16, 0.1),
    (0, 1, 0, 0, 1, -15, 0), (-2, 0, 1, 0, 1, -13, 0),
    (0, -1, 0, 0, 1, -12, 0), (0, 0, 2, -2, 0, 11, 0),
    (2, 0, -1, 2, 1, -10, 0), (2, 0, 1, 2, 2, -8, 0),
    (0, 1, 0, 2, 2, 7, 0), (-2, 1, 1, 0, 0, -7, 0),
    (0, -1, 0, 2, 2, -7, 0), (2, 0, 0, 2, 1, -7, 0),
    (2, 0, 1, 0, 0, 6, 0), (-2, 0, 2, 2, 2, 6, 0),
    (-2, 0, 1, 2, 1, 6, 0), (2, 0, -2, 0, 1, -6, 0),
    (2, 0, 0, 0, 1, -6, 0), (0, -1, 1, 0, 0, 5, 0),
    (-2, -1, 0, 2, 1, -5, 0), (-2, 0, 0, 0, 1, -5, 0),
    (0, 0, 2, 2, 1, -5, 0), (-2, 0, 2, 0, 1, 4, 0),
    (-2, 1, 0, 2, 1, 4, 0), (0, 0, 1, -2, 0, 4, 0),
    (-1, 0, 1, 0, 0, -4, 0), (-2, 1, 0, 0, 0, -4, 0),
    (1, 0, 0, 0, 0, -4, 0), (0, 0, 1, 2, 0, 3, 0),
    (0, 0, -2, 2, 2, -3, 0), (-1, -1, 1, 0, 0, -3, 0),
    (0, 1, 1, 0, 0, -3, 0), (0, -1, 1, 2, 2, -3, 0),
    (2, -1, -1, 2, 2, -3, 0), (0, 0, 3, 2, 2, -3, 0),
    (2, -1, 0, 2, 2, -3, 0),
]


def nutation_longitude(t):
    """Nutation in longitude (arcsecond), t in Julian centuries of TT from J2000."""
    d = math.radians(297.85036 + 445267.111480 * t - 0.0019142 * t * t + t ** 3 / 189474)
    m = math.radians(357.52772 + 35999.050340 * t - 0.0001603 * t * t - t ** 3 / 300000)
    mm = math.radians(134.96298 + 477198.867398 * t + 0.0086972 * t * t + t ** 3 / 56250)
    f = math.radians(93.27191 + 483202.017538 * t - 0.0036825 * t * t + t ** 3 / 327270)
    om = math.radians(125.04452 - 1934.136261 * t + 0.0020708 * t * t + t ** 3 / 450000)
    s = 0.0
    for cd, cm, cmm, cf, co, a, b in NUTATION:
        s += (a + b * t) * math.sin(cd * d + cm * m + cmm * mm + cf * f + co * om)
    return s * 1e-4


# ---------------------------------------------------------------------------------------
# Delta T = TT - UT (seconds).

# Measured values at the start of each year (seconds), 1955 to 2024.
DELTA_T_MEASURED = {
    1955: 31.11, 1956: 31.42, 1957: 31.80, 1958: 32.22, 1959: 32.66, 1960: 33.15,
    1961: 33.59, 1962: 34.00, 1963: 34.47, 1964: 35.03, 1965: 35.73, 1966: 36.54,
    1967: 37.43, 1968: 38.29, 1969: 39.20, 1970: 40.18, 1971: 41.17, 1972: 42.23,
    1973: 43.37, 1974: 44.49, 1975: 45.48, 1976: 46.46, 1977: 47.52, 1978: 48.53,
    1979: 49.59, 1980: 50.54, 1981: 51.38, 1982: 52.17, 1983: 52.96, 1984: 53.79,
    1985: 54.34, 1986: 54.87, 1987: 55.32, 1988: 55.82, 1989: 56.30, 1990: 56.86,
    1991: 57.57, 1992: 58.31, 1993: 59.12, 1994: 59.98, 1995: 60.78, 1996: 61.63,
    1997: 62.29, 1998: 62.97, 1999: 63.47, 2000: 63.83, 2001: 64.09, 2002: 64.30,
    2003: 64.47, 2004: 64.57, 2005: 64.69, 2006: 64.85, 2007: 65.15, 2008: 65.46,
    2009: 65.78, 2010: 66.07, 2011: 66.32, 2012: 66.60, 2013: 66.91, 2014: 67.28,
    2015: 67.64, 2016: 68.10, 2017: 68.59, 2018: 68.97, 2019: 69.22, 2020: 69.36,
    2021: 69.36, 2022: 69.29, 2023: 69.20, 2024: 69.18,
}


def delta_t(year):
    """Delta T (seconds) at the decimal year."""
    y = year
    if 1955 <= y < 2024:
        y0 = int(math.floor(y))
        a = DELTA_T_MEASURED[y0]
        b = DELTA_T_MEASURED[y0 + 1]
        return a + (b - a) * (y - y0)
    if y >= 2024:
        # Extrapolated: the rate observed around 2020 to 2024 (slightly negative) cannot be
        # assumed to persist; keep the 2024 value with a slow long-term rise.
        t = y - 2024
        return DELTA_T_MEASURED[2024] + 0.1 * t + 0.002 * t * t
    if y < 1900:
        t = y - 1860
        return (7.62 + 0.5737 * t - 0.251754 * t ** 2 + 0.01680668 * t ** 3
                - 0.0004473624 * t ** 4 + t ** 5 / 233174)
    if y < 1920:
        t = y - 1900
        return -2.79 + 1.494119 * t - 0.0598939 * t ** 2 + 0.0061966 * t ** 3 - 0.000197 * t ** 4
    if y < 1941:
        t = y - 1920
        return 21.20 + 0.84493 * t - 0.076100 * t ** 2 + 0.0020936 * t ** 3
    t = y - 1950
    return 29.07 + 0.407 * t - t * t / 233 + t ** 3 / 2547


# ---------------------------------------------------------------------------------------

J2000 = 2451545.0
LIGHT_TIME_PER_AU = 0.0057755183  # days
ARCSEC = math.pi / (180 * 3600)
# VSOP87 refers longitudes to the equinox of date with the IAU 1976 precession; the
# IAU 2006 precession rate agrees with the equinox of the modern ephemerides.
PRECESSION_1976 = (5029.0966, 1.11113)
PRECESSION_2006 = (5028.796195, 1.1054348)


def julian_day(year, month, day):
    """Julian day of 0h on a Gregorian date (day may carry a fraction)."""
    if month <= 2:
        year -= 1
        month += 12
    a = year // 100
    b = 2 - a + a // 4
    return math.floor(365.25 * (year + 4716)) + math.floor(30.6001 * (month + 1)) + day + b - 1524.5


def calendar_date(jd):
    """Gregorian year, month, day and day fraction of a Julian day."""
    z = math.floor(jd + 0.5)
    f = jd + 0.5 - z
    alpha = math.floor((z - 1867216.25) / 36524.25)
    a = z + 1 + alpha - alpha // 4
    b = a + 1524
    c = math.floor((b - 122.1) / 365.25)
    d = math.floor(365.25 * c)
    e = math.floor((b - d) / 30.6001)
    day = b - d - math.floor(30.6001 * e)
    month = e - 1 if e < 14 else e - 13
    year = c - 4716 if month > 2 else c - 4715
    return int(year), int(month), int(day), f


def geometric_longitude(jde):
    tau = (jde - J2000) / 365250.0
    lon, dist = earth_heliocentric(tau)
    return lon + math.pi, dist


def apparent_longitude(jde):
    """Apparent geocentric longitude of the Sun (radian, not reduced), jde in TT."""
    t = (jde - J2000) / 36525.0
    lon, dist = geometric_longitude(jde)
    # Light time: the Sun is seen where it was dist * LIGHT_TIME_PER_AU days earlier, i.e.
    # the longitude as seen is lon(t - tau); this is the annual aberration of the Sun.
    step = 0.01
    rate = (geometric_longitude(jde + step)[0] - geometric_longitude(jde - step)[0]) / (2 * step)
    lon -= rate * dist * LIGHT_TIME_PER_AU
    lon += ((PRECESSION_2006[0] - PRECESSION_1976[0]) * t
            + (PRECESSION_2006[1] - PRECESSION_1976[1]) * t * t) * ARCSEC
    lon += nutation_longitude(t) * ARCSEC
    return lon


def solve_longitude(target_deg, jde_guess):
    """JDE (TT) at which the apparent longitude reaches target_deg near jde_guess."""
    target = math.radians(target_deg)
    jde = jde_guess
    for _ in range(20):
        diff = (target - apparent_longitude(jde)) % (2 * math.pi)
        if diff > math.pi:
            diff -= 2 * math.pi
        step = diff / (2 * math.pi) * 365.2422
        # Refine with the local rate: the Sun is faster in January than in July.
        jde += step
        if abs(step) < 1e-8:
            break
    return jde


def term_moment_utc8(year, month, target_deg, guess_day):
    """(year, month, day, hour, minute) of the term in UTC+8, rounded to the minute."""
    jde = solve_longitude(target_deg, julian_day(year, month, guess_day))
    dec_year = year + (month - 0.5) / 12
    jd_ut = jde - delta_t(dec_year) / 86400.0
    jd_local = jd_ut + 8 / 24.0
    minutes = math.floor((jd_local + 0.5) * 1440 + 0.5)  # whole minutes since the epoch
    jd_rounded = minutes / 1440.0 - 0.5
    y, m, d, f = calendar_date(jd_rounded + 1e-9)
    total = int(round(f * 1440))
    return y, m, d, total // 60, total % 60, (jd_local + 0.5) * 1440 - minutes


def jie_term(year, month):
    """First term of a Gregorian month: (day, hour, minute, seconds off the rounded minute)."""
    target = (285 + 30 * (month - 1)) % 360
    y, m, d, hh, mm, frac = term_moment_utc8(year, month, target, 6)
    if (y, m) != (year, month):
        raise RuntimeError('term of %d-%02d fell outside its month' % (year, month))
    return d, hh, mm, frac * 60


# ---------------------------------------------------------------------------------------
# The program keeps four rows as they were printed in its original table, because examples
# and users rely on them; two of their entries are replaced by the true moments.

KEPT_ROWS = {
    1882: '5 15.32; 4 03.20; 5 23.31; 5 05.15; 5 23.35; 6 04.32; 7 15.10; 8 00.42; 8 03.29; '
          '8 18.30; 7 20.49; 7 12.47',
    2000: '6 08.50; 4 20.32; 5 14.42; 4 19.45; 5 13.19; 5 17.41; 7 04.04; 7 13.36; 7 16.30; '
          '8 07.54; 7 10.49; 7 03.29',
    2024: '6 05.25; 4 16.37; 5 10.21; 4 15.03; 5 08.22; 5 12.34; 6 22.58; 7 09.05; 7 12.27; '
          '8 04.31; 7 07.49; 6 23.17',
    2031: '5 22.14; 4 09.25; 6 03.06; 5 07.46; 6 01.02; 6 05.12; 7 15.35; 8 01.42; 8 05.07; '
          '8 21.13; 7 23.06; 7 17.16',
}
# Replaced entries, with the true moments:
KEPT_ROW_NOTES = {
    (2024, 12): '大雪 2024-12-06 23:17 (printed as 6 00.29, almost a day early)',
    (2031, 11): '立冬 2031-11-07 23:06 (printed as 7 00.35, almost a day early)',
}


def parse_row(text):
    out = []
    for item in text.split(';'):
        day, hhmm = item.split()
        hh, mm = hhmm.split('.')
        out.append((int(day), int(hh), int(mm)))
    if len(out) != 12:
        raise ValueError('row needs twelve entries: ' + text)
    return out


def parse_reference(path):
    rows = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith('#'):
                continue
            year, rest = line.split(':', 1)
            rows[int(year)] = parse_row(rest)
    return rows


def computed_rows(first, last):
    return {y: [jie_term(y, m) for m in range(1, 13)] for y in range(first, last + 1)}


def table_rows(reference_path):
    """Rows of the compiled table: {year: [(day, hour, minute), ...]} and each row's source."""
    ref = parse_reference(reference_path)
    missing = [y for y in range(FIRST_YEAR, REFERENCE_LAST + 1) if y not in ref]
    if missing:
        raise ValueError('reference list lacks the years %s' % ', '.join(map(str, missing)))
    computed = computed_rows(REFERENCE_LAST + 1, LAST_YEAR)
    rows = {}
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        if y in KEPT_ROWS:
            rows[y] = (parse_row(KEPT_ROWS[y]), 'kept as printed')
        elif y <= REFERENCE_LAST:
            rows[y] = (ref[y], 'reference')
        else:
            rows[y] = ([(d, hh, mm) for d, hh, mm, _ in computed[y]], 'computed')
    return rows


def cmd_table(reference_path):
    rows = table_rows(reference_path)
    print('// First solar term (节) of each Gregorian month %d to %d: {day, hour, minute} in'
          % (FIRST_YEAR, LAST_YEAR))
    print('// Beijing time (UTC+8), one line per year, January first. Generated by')
    print('// tools/jieterms/jieterms.py table; do not edit by hand.')
    print('// %d to %d: the reference moments (tests/calendar/data/jie-terms-utc8.txt);'
          % (FIRST_YEAR, REFERENCE_LAST))
    print('// %d to %d: computed by the generator.' % (REFERENCE_LAST + 1, LAST_YEAR))
    print('// The rows 1882, 2000, 2024 and 2031 are kept as printed in the original table,')
    print('// except two entries replaced by the true moments:')
    for (y, m), note in sorted(KEPT_ROW_NOTES.items()):
        print('//   %d-%02d %s' % (y, m, note))
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        entries, source = rows[y]
        note = '  // %d, kept as printed' % y if source == 'kept as printed' else '  // %d' % y
        print('    ' + ', '.join('{%d, %d, %d}' % e for e in entries) + ',' + note)


def cmd_list(first, last):
    rows = computed_rows(first, last)
    for y in range(first, last + 1):
        print('%d: %s' % (y, '; '.join('%d %02d.%02d' % (d, hh, mm) for d, hh, mm, _ in rows[y])))


def minutes_of(entry):
    d, hh, mm = entry[:3]
    return d * 1440 + hh * 60 + mm


def cmd_check(reference_path):
    """Cross-checks the generator against the reference and the table rows against both.

    The computed moments must lie within one minute of the reference everywhere; the table
    must equal the reference for 1882 to REFERENCE_LAST (kept rows aside) and be the
    computed moments after it."""
    ref = parse_reference(reference_path)
    first, last = max(FIRST_YEAR, min(ref)), min(LAST_YEAR, max(ref))
    computed = computed_rows(first, last)
    table = table_rows(reference_path)
    counts = {}
    status = 0
    for y in range(first, last + 1):
        span = '%d-%d' % ((FIRST_YEAR, REFERENCE_LAST) if y <= REFERENCE_LAST
                          else (REFERENCE_LAST + 1, LAST_YEAR))
        tally = counts.setdefault(span, [0, 0, 0])  # same minute, one minute off, more
        for m in range(12):
            diff = minutes_of(computed[y][m]) - minutes_of(ref[y][m])
            d, hh, mm, off = computed[y][m]
            rd, rhh, rmm = ref[y][m]
            if diff == 0:
                tally[0] += 1
            elif abs(diff) == 1:
                tally[1] += 1
                print('one minute off %d-%02d computed %d %02d.%02d (%+.1f s from the rounded'
                      ' minute) reference %d %02d.%02d' % (y, m + 1, d, hh, mm, off, rd, rhh, rmm))
            else:
                tally[2] += 1
                status = 1
                print('MISMATCH %d-%02d computed %d %02d.%02d reference %d %02d.%02d'
                      % (y, m + 1, d, hh, mm, rd, rhh, rmm))
            entries, source = table[y]
            if source == 'reference' and entries[m] != tuple(ref[y][m]):
                status = 1
                print('TABLE %d-%02d differs from the reference' % (y, m + 1))
    for span, (same, one, more) in sorted(counts.items()):
        print('computed vs reference %s: %d same minute, %d one minute off, %d more'
              % (span, same, one, more))
    return status


def main(argv):
    args = argv[1:]
    if not args:
        print(__doc__)
        return 2
    cmd = args[0]
    opts = {}
    rest = []
    i = 1
    while i < len(args):
        if args[i].startswith('--'):
            opts[args[i][2:]] = args[i + 1]
            i += 2
        else:
            rest.append(args[i])
            i += 1
    first = int(opts.get('first', FIRST_YEAR))
    last = int(opts.get('last', LAST_YEAR))
    if cmd == 'table' and not rest:
        cmd_table(opts.get('reference', DEFAULT_REFERENCE))
        return 0
    if cmd == 'list':
        cmd_list(first, last)
        return 0
    if cmd == 'check' and len(rest) <= 1:
        return cmd_check(rest[0] if rest else DEFAULT_REFERENCE)
    if cmd == 'moment' and len(rest) == 4:
        y, m, d = int(rest[0]), int(rest[1]), int(rest[2])
        r = term_moment_utc8(y, m, float(rest[3]), d)
        print('%d-%02d-%02d %02d:%02d UTC+8' % r[:5])
        return 0
    print(__doc__)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv))

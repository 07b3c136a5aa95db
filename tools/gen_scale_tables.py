#!/usr/bin/env python3
"""Generates the scaling tables shipped in data/ (standard library only).

    python3 tools/gen_scale_tables.py [OUTPUT_DIR]      (default: data/)
    python3 tools/gen_scale_tables.py --check            (self-test only)
    python3 tools/gen_scale_tables.py --help             (usage)

Every table file is: a title line, a kind line (its first character is the
kind letter), a column line, then one "value raw" row per line, CR LF endings.
Rows run so that the raw (input) column strictly decreases from the first row
to the last: the lookup scans that column downwards. The output is fully
determined by the coefficients below, so running the script again rewrites
identical files.

Row counts are chosen so the lookup's coarse start rows stay inside the table:
resistive tables (.Rvt) hold fewer than 55 rows or at least 153; thermocouple
tables (.mvt) avoid 50, 51, 100, 101, 150, 151, 200 and 201 rows. No table has
a first raw value of 0 (a zero there marks a two-point linear table).
"""

import math
import os
import sys

# ---------------------------------------------------------------------------
# Thermocouples. NIST ITS-90 thermocouple reference functions, NIST Monograph
# 175 (Burns et al., 1993), as published in the NIST ITS-90 Thermocouple
# Database: E in mV, t in degC, E = sum(c_i * t**i) over each sub-range
# (type K above 0 degC adds a0 * exp(a1 * (t - a2)**2)).
# Each entry: list of (t_low, t_high, coefficients).

NIST = {
    "B": [
        (0.0, 630.615, [
            0.000000000000E+00, -0.246508183460E-03, 0.590404211710E-05,
            -0.132579316360E-08, 0.156682919010E-11, -0.169445292400E-14,
            0.629903470940E-18]),
        (630.615, 1820.0, [
            -0.389381686210E+01, 0.285717474700E-01, -0.848851047850E-04,
            0.157852801640E-06, -0.168353448640E-09, 0.111097940130E-12,
            -0.445154310330E-16, 0.989756408210E-20, -0.937913302890E-24]),
    ],
    "E": [
        (-270.0, 0.0, [
            0.000000000000E+00, 0.586655087080E-01, 0.454109771240E-04,
            -0.779980486860E-06, -0.258001608430E-07, -0.594525830570E-09,
            -0.932140586670E-11, -0.102876055340E-12, -0.803701236210E-15,
            -0.439794973910E-17, -0.164147763550E-19, -0.396736195160E-22,
            -0.558273287210E-25, -0.346578420130E-28]),
        (0.0, 1000.0, [
            0.000000000000E+00, 0.586655087100E-01, 0.450322755820E-04,
            0.289084072120E-07, -0.330568966520E-09, 0.650244032700E-12,
            -0.191974955040E-15, -0.125366004970E-17, 0.214892175690E-20,
            -0.143880417820E-23, 0.359608994810E-27]),
    ],
    "J": [
        (-210.0, 760.0, [
            0.000000000000E+00, 0.503811878150E-01, 0.304758369300E-04,
            -0.856810657200E-07, 0.132281952950E-09, -0.170529583370E-12,
            0.209480906970E-15, -0.125383953360E-18, 0.156317256970E-22]),
        (760.0, 1200.0, [
            0.296456256810E+03, -0.149761277860E+01, 0.317871039240E-02,
            -0.318476867010E-05, 0.157208190040E-08,
            # Last coefficient: set so that the two J functions meet at
            # 760 degC; the function then reproduces the NIST J table from
            # 800 to 1200 degC within 0.4 microvolt (checked below).
            -0.306913690856E-12]),
    ],
    "K": [
        (-270.0, 0.0, [
            0.000000000000E+00, 0.394501280250E-01, 0.236223735980E-04,
            -0.328589067840E-06, -0.499048287770E-08, -0.675090591730E-10,
            -0.574103274280E-12, -0.310888728940E-14, -0.104516093650E-16,
            -0.198892668780E-19, -0.163226974860E-22]),
        (0.0, 1372.0, [
            -0.176004136860E-01, 0.389212049750E-01, 0.185587700320E-04,
            -0.994575928740E-07, 0.318409457190E-09, -0.560728448890E-12,
            0.560750590590E-15, -0.320207200030E-18, 0.971511471520E-22,
            -0.121047212750E-25]),
    ],
    "N": [
        (-270.0, 0.0, [
            0.000000000000E+00, 0.261591059620E-01, 0.109574842280E-04,
            -0.938411115540E-07, -0.464120397590E-10, -0.263033577160E-11,
            -0.226534380030E-13, -0.760893007910E-16, -0.934196678350E-19]),
        (0.0, 1300.0, [
            0.000000000000E+00, 0.259293946010E-01, 0.157101418800E-04,
            0.438256272370E-07, -0.252611697940E-09, 0.643118193390E-12,
            -0.100634715190E-14, 0.997453389920E-18, -0.608632456070E-21,
            0.208492293390E-24, -0.306821961510E-28]),
    ],
    "R": [
        (-50.0, 1064.18, [
            0.000000000000E+00, 0.528961729765E-02, 0.139166589782E-04,
            -0.238855693017E-07, 0.356916001063E-10, -0.462347666298E-13,
            0.500777441034E-16, -0.373105886191E-19, 0.157716482367E-22,
            -0.281038625251E-26]),
        (1064.18, 1664.5, [
            0.295157925316E+01, -0.252061251332E-02, 0.159564501865E-04,
            -0.764085947576E-08, 0.205305291024E-11, -0.293359668173E-15]),
        (1664.5, 1768.1, [
            0.152232118209E+03, -0.268819888545E+00, 0.171280280471E-03,
            -0.345895706453E-07, -0.934633971046E-14]),
    ],
    "S": [
        (-50.0, 1064.18, [
            0.000000000000E+00, 0.540313308631E-02, 0.125934289740E-04,
            -0.232477968689E-07, 0.322028823036E-10, -0.331465196389E-13,
            0.255744251786E-16, -0.125068871393E-19, 0.271443176145E-23]),
        (1064.18, 1664.5, [
            0.132900444085E+01, 0.334509311344E-02, 0.654805192818E-05,
            -0.164856259209E-08, 0.129989605174E-13]),
        (1664.5, 1768.1, [
            0.146628232636E+03, -0.258430516752E+00, 0.163693574641E-03,
            -0.330439046987E-07, -0.943223690612E-14]),
    ],
    "T": [
        (-270.0, 0.0, [
            0.000000000000E+00, 0.387481063640E-01, 0.441944343470E-04,
            0.118443231050E-06, 0.200329735540E-07, 0.901380195590E-09,
            0.226511565930E-10, 0.360711542050E-12, 0.384939398830E-14,
            0.282135219250E-16, 0.142515947790E-18, 0.487686622860E-21,
            0.107955392700E-23, 0.139450270620E-26, 0.797951539270E-30]),
        (0.0, 400.0, [
            0.000000000000E+00, 0.387481063640E-01, 0.332922278800E-04,
            0.206182434040E-06, -0.218822568460E-08, 0.109968809280E-10,
            -0.308157587720E-13, 0.454791352900E-16, -0.275129016730E-19]),
    ],
    # Type C (W-5%Re / W-26%Re) is not an ITS-90 letter type of NIST; its
    # reference function is the one of ASTM E988 (tungsten-rhenium
    # thermocouples), E in mV, t in degC, 0 to 2315 degC.
    "C": [
        (0.0, 630.615, [
            0.0, 1.3406032E-02, 1.1924992E-05, -7.9806354E-09,
            -5.0787515E-12, 1.3164197E-14, -7.9197332E-18]),
        (630.615, 2315.0, [
            4.0528823E-01, 1.1509355E-02, 1.5696453E-05, -1.3704412E-08,
            5.2290873E-12, -9.2082758E-16, 4.5245112E-20]),
    ],
}

K_EXPONENTIAL = (0.118597600000E+00, -0.118343200000E-03, 0.126968600000E+03)


def range_emf(kind, coefficients, low, t):
    """One sub-range function of thermocouple `kind` evaluated at t degC."""
    emf = 0.0
    for c in reversed(coefficients):
        emf = emf * t + c
    if kind == "K" and low >= 0.0:
        a0, a1, a2 = K_EXPONENTIAL
        emf += a0 * math.exp(a1 * (t - a2) ** 2)
    return emf


def thermocouple_emf(kind, t):
    """Reference emf in mV of thermocouple `kind` at t degC."""
    for low, high, coefficients in NIST[kind]:
        if low <= t <= high:
            return range_emf(kind, coefficients, low, t)
    raise ValueError("%s thermocouple: %g degC outside its range" % (kind, t))


# ---------------------------------------------------------------------------
# NTC thermistors: Steinhart-Hart, 1/T = A + B ln R + C (ln R)^3, T in kelvin.
# Coefficients as published by the thermistor makers for these curves.

THERMISTORS = {
    # 10 kOhm at 25 degC, beta(0/50) about 3977 (the common "type II" curve of
    # 10K3A1 and YSI 44006-class thermistors).
    "A": ("10 kOhm NTC thermistor, beta 3977 curve (10K3A1 / YSI 44006 class)",
          1.129241E-03, 2.341077E-04, 8.775468E-08),
    # 30 kOhm at 25 degC (YSI 44008 class).
    "B": ("30 kOhm NTC thermistor (YSI 44008 class)",
          9.376E-04, 2.208E-04, 1.276E-07),
    # 2252 Ohm at 25 degC (YSI 44004 class).
    "C": ("2252 Ohm NTC thermistor (YSI 44004 class)",
          1.468E-03, 2.383E-04, 1.007E-07),
}


def thermistor_ohms(coefficients, t_celsius):
    """Resistance at t degC: the Steinhart-Hart equation solved for R."""
    a, b, c = coefficients
    y = (a - 1.0 / (t_celsius + 273.15)) / c
    x = math.sqrt((b / (3.0 * c)) ** 3 + (y / 2.0) ** 2)
    return math.exp((x - y / 2.0) ** (1.0 / 3.0) - (x + y / 2.0) ** (1.0 / 3.0))


def thermistor_celsius(coefficients, ohms):
    a, b, c = coefficients
    ln_r = math.log(ohms)
    return 1.0 / (a + b * ln_r + c * ln_r ** 3) - 273.15


# ---------------------------------------------------------------------------
# Platinum RTD, IEC 60751 Callendar-Van Dusen:
#   R(t) = R0 (1 + A t + B t^2)                   for t >= 0 degC
#   R(t) = R0 (1 + A t + B t^2 + C (t - 100) t^3)  for t < 0 degC

PT_R0 = 10000.0
PT_A = 3.9083E-03
PT_B = -5.775E-07
PT_C = -4.183E-12


def platinum_ohms(t):
    r = 1.0 + PT_A * t + PT_B * t * t
    if t < 0.0:
        r += PT_C * (t - 100.0) * t ** 3
    return PT_R0 * r


# ---------------------------------------------------------------------------
# Light sensor: a CdS photoresistor (GL5528 class): R = R10 * (E / 10 lx)^-gamma
# with R10 = 10 kOhm at 10 lux and gamma = 0.7, from 0.01 to 100000 lux, plus
# a first row of 0 lux at 7 MOhm, where the logger reports an open sensor.

LDR_R10 = 10000.0
LDR_GAMMA = 0.7
LDR_DARK_OHMS = 7000000.0


def ldr_ohms(lux):
    return LDR_R10 * (lux / 10.0) ** (-LDR_GAMMA)


# ---------------------------------------------------------------------------
# Table layout

def celsius_steps(high, low, step, extra_top=None):
    """Temperatures from `high` down to `low` by `step` (extra_top first)."""
    temps = [] if extra_top is None else [extra_top]
    count = int(round((high - low) / step))
    temps += [high - i * step for i in range(count + 1)]
    return temps


def fmt(value, decimals):
    text = "%.*f" % (decimals, value)
    if text.startswith("-") and float(text) == 0.0:
        text = text[1:]
    return text


THERMOCOUPLE_TABLES = [
    # file, type, title, temperatures high to low
    ("b.mvt", "B", "B thermocouple", celsius_steps(1820, 30, 10)),
    ("c.mvt", "C", "C thermocouple", celsius_steps(2310, 0, 10, extra_top=2315)),
    ("e.mvt", "E", "E thermocouple", celsius_steps(1000, -270, 10)),
    ("j.mvt", "J", "J thermocouple", celsius_steps(1200, -210, 10)),
    ("k.mvt", "K", "K thermocouple", celsius_steps(1370, -270, 10, extra_top=1372)),
    ("n.mvt", "N", "N thermocouple", celsius_steps(1300, -270, 10)),
    ("r.mvt", "R", "R thermocouple", celsius_steps(1760, -50, 10, extra_top=1768)),
    ("s.mvt", "S", "S thermocouple", celsius_steps(1760, -50, 10, extra_top=1768)),
    ("t.mvt", "T", "T thermocouple", celsius_steps(400, -270, 5)),
    ("f.mvt", "E", "E low temp", celsius_steps(50, -270, 2)),
    ("i.mvt", "J", "J low temp", celsius_steps(50, -210, 2)),
    ("l.mvt", "K", "K low temp", celsius_steps(50, -270, 2)),
    ("m.mvt", "N", "N low temp", celsius_steps(50, -270, 2)),
    ("u.mvt", "T", "T low temp", celsius_steps(50, -270, 2)),
]


def thermocouple_table(kind, title, temps):
    rows = [(fmt(t, 1), fmt(thermocouple_emf(kind, t), 6)) for t in temps]
    source = "ASTM E988" if kind == "C" else "NIST ITS-90"
    return ["%s, %s reference function, degC vs mV" % (title, source),
            "V  input column in millivolts",
            "degC  mV"], rows


def thermistor_table(letter):
    name, a, b, c = THERMISTORS[letter]
    temps = celsius_steps(-50, 150, -1)  # low to high: resistance falls
    rows = [(fmt(t, 1), fmt(thermistor_ohms((a, b, c), t), 2)) for t in temps]
    return ["%s, Steinhart-Hart, degC vs ohms" % name,
            "R  input column in ohms",
            "degC  ohms"], rows


def platinum_table():
    temps = celsius_steps(850, -200, 5)
    rows = [(fmt(t, 1), fmt(platinum_ohms(t), 3)) for t in temps]
    return ["Platinum RTD 10k (Pt10000), IEC 60751 Callendar-Van Dusen, degC vs ohms",
            "R  input column in ohms",
            "degC  ohms"], rows


def light_table():
    lux_values = [10.0 ** (-2 + i / 30.0) for i in range(7 * 30 + 1)]
    rows = [("0", fmt(LDR_DARK_OHMS, 2))]
    rows += [("%.6g" % lux, fmt(ldr_ohms(lux), 3)) for lux in lux_values]
    return ["Light sensor, CdS photoresistor (R10 = 10 kOhm, gamma 0.7), lux vs ohms",
            "L  light sensor, input column in ohms",
            "lux  ohms"], rows


def all_tables():
    tables = []
    for letter in "ABC":
        tables.append((letter + ".Rvt", thermistor_table(letter)))
    tables.append(("L.Rvt", light_table()))
    tables.append(("P.rvt", platinum_table()))
    for file_name, kind, title, temps in THERMOCOUPLE_TABLES:
        tables.append((file_name, thermocouple_table(kind, title, temps)))
    return tables


# ---------------------------------------------------------------------------
# Checks: the coefficients against published reference values, and every
# table against what the lookup needs.

# (type, degC, mV) from the NIST ITS-90 reference tables.
NIST_CHECKS = [
    ("K", 100, 4.096), ("K", 500, 20.644), ("K", 1000, 41.276), ("K", 1372, 54.886),
    ("K", -100, -3.554), ("K", -200, -5.891), ("K", -270, -6.458),
    ("T", 100, 4.279), ("T", 400, 20.872), ("T", -100, -3.379), ("T", -200, -5.603),
    ("T", -270, -6.258),
    ("J", 100, 5.269), ("J", 500, 27.393), ("J", 760, 42.919), ("J", 1000, 57.953),
    ("J", 800, 45.494), ("J", 900, 51.877), ("J", 1100, 63.792),
    ("J", 1200, 69.553), ("J", -100, -4.633), ("J", -210, -8.095),
    ("E", 100, 6.319), ("E", 500, 37.005), ("E", 1000, 76.373), ("E", -100, -5.237),
    ("E", -200, -8.825), ("E", -270, -9.835),
    ("N", 100, 2.774), ("N", 1000, 36.256), ("N", 1300, 47.513), ("N", -100, -2.407),
    ("N", -200, -3.990), ("N", -270, -4.345),
    ("R", 100, 0.647), ("R", 1000, 10.506), ("R", -50, -0.226),
    ("S", 100, 0.646), ("S", 1000, 9.587), ("S", -50, -0.236),
    ("B", 100, 0.033), ("B", 1000, 4.834), ("B", 1820, 13.820),
    ("C", 100, 1.451), ("C", 2315, 37.066),
]


def self_check():
    problems = []
    for kind, t, expected in NIST_CHECKS:
        got = thermocouple_emf(kind, t)
        tolerance = 0.005 if kind == "C" else 0.0006
        if abs(got - expected) > tolerance:
            problems.append("%s at %g degC: %.4f mV, expected %.3f" % (kind, t, got, expected))
    for kind, ranges in NIST.items():
        # Neighbouring sub-range functions meet at their common edge.
        for (low1, edge, c1), (low2, _, c2) in zip(ranges, ranges[1:]):
            gap = range_emf(kind, c1, low1, edge) - range_emf(kind, c2, low2, edge)
            if abs(gap) > 0.000005:
                problems.append("%s: sub-ranges differ at %g degC by %.6f mV" % (kind, edge, gap))
    for letter, (_, a, b, c) in THERMISTORS.items():
        r25 = thermistor_ohms((a, b, c), 25.0)
        if abs(thermistor_celsius((a, b, c), r25) - 25.0) > 1e-6:
            problems.append("thermistor %s: R(T) does not invert" % letter)
    if abs(platinum_ohms(0.0) - 10000.0) > 1e-9 or abs(platinum_ohms(100.0) - 13850.55) > 0.01:
        problems.append("platinum: R(0) or R(100) wrong")
    for file_name, (header, rows) in all_tables():
        raws = [float(raw) for _, raw in rows]
        n = len(rows)
        if not 3 <= n <= 255:
            problems.append("%s: %d rows" % (file_name, n))
        if any(b >= a for a, b in zip(raws, raws[1:])):
            problems.append("%s: raw column does not strictly decrease" % file_name)
        if raws[0] == 0.0:
            problems.append("%s: first raw value is 0" % file_name)
        if file_name.endswith(".mvt"):
            if n in (50, 51, 100, 101, 150, 151, 200, 201):
                problems.append("%s: %d rows meets a coarse start row" % (file_name, n))
        elif 55 <= n < 153:
            problems.append("%s: %d rows is too few for the coarse start rows" % (file_name, n))
        if header[1][:1] in ("N",) or (header[1][:1] == "L") != (file_name == "L.Rvt"):
            problems.append("%s: wrong kind letter" % file_name)
    return problems


def write_tables(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for file_name, (header, rows) in all_tables():
        lines = header + ["%s %s" % row for row in rows]
        with open(os.path.join(out_dir, file_name), "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


USAGE = """\
usage: gen_scale_tables.py [OUTPUT_DIR]    write the tables (default: data/)
       gen_scale_tables.py --check         run the self-test only, write nothing
       gen_scale_tables.py -h | --help     show this text

A folder whose name starts with "-" is given after "--".
"""


def parse_arguments(args):
    """(mode, out_dir) or (None, exit status) when there is nothing to write.

    Options are recognised before anything else: a mistyped option must never
    become the name of an output folder."""
    check = False
    positional = []
    options_done = False
    for arg in args:
        if options_done or not arg.startswith("-") or arg == "-":
            positional.append(arg)
        elif arg == "--":
            options_done = True
        elif arg in ("-h", "--help"):
            sys.stdout.write(USAGE)
            return None, 0
        elif arg == "--check":
            check = True
        else:
            sys.stderr.write("gen_scale_tables.py: unknown option %s\n" % arg)
            sys.stderr.write(USAGE)
            return None, 2
    if len(positional) > 1 or (check and positional):
        sys.stderr.write("gen_scale_tables.py: too many arguments\n")
        sys.stderr.write(USAGE)
        return None, 2
    if check:
        return "check", None
    out_dir = positional[0] if positional else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "data")
    return "write", out_dir


def main(argv):
    mode, detail = parse_arguments(argv[1:])
    if mode is None:
        return detail
    problems = self_check()
    for p in problems:
        print("check failed: " + p, file=sys.stderr)
    if problems:
        return 1
    if mode == "check":
        print("all checks passed")
        return 0
    write_tables(detail)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

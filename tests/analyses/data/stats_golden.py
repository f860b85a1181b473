#!/usr/bin/env python3
"""Writes the expected report blocks of the chi-square and lag-sequential
tests from first principles: the statistics are worked out here with plain
Python arithmetic, independently of the program, and laid out by the report
rules (Tab columns, 8-character right-aligned fields, number patterns rounded
half away from zero). Run it from this folder; it rewrites the *.ana files.
"""
import math
import struct
from decimal import Decimal, ROUND_HALF_UP

DATE = "01-02-2024/13:45:07"
UNDEFINED = 9999


def f32(x):
    """The value as a single-precision number holds it."""
    return struct.unpack("f", struct.pack("f", x))[0]


def fmt(value, pattern):
    """A value in a report pattern such as "####0.00" or "####0.00%"."""
    percent = "%" in pattern
    body = pattern.replace("%", "")
    int_pattern, _, frac_pattern = body.partition(".")
    decimals = frac_pattern.count("0") + frac_pattern.count("#")
    # 15 significant digits, then halves away from zero.
    d = Decimal("%.14e" % abs(value))
    if percent:
        d = d.scaleb(2)
    q = d.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP)
    text = format(q, "f")
    int_part, _, frac_part = text.partition(".")
    int_part = int_part.lstrip("0")
    min_digits = len(int_pattern) - int_pattern.index("0")
    int_part = int_part.rjust(min_digits, "0")
    negative = value < 0 and q != 0
    out = ("-" if negative else "") + int_part
    if decimals:
        out += "." + frac_part
    return out + ("%" if percent else "")


def cell(value, pattern):
    return " *******" if value == UNDEFINED else fmt(value, pattern)


class Lines:
    """Report lines with 1-based columns and the Tab rule."""

    def __init__(self):
        self.text = ""
        self.line = ""

    def put(self, s):
        self.line += s
        return self

    def tab(self, column):
        if len(self.line) > column - 1:
            self.end()
        self.line = self.line.ljust(column - 1)
        return self

    def right(self, s, width=8):
        return self.put(s.rjust(width))

    def end(self):
        self.text += self.line + "\r\n"
        self.line = ""
        return self

    def rule(self, c):
        return self.put(c * 103).end()


def title(out, text, subject, tags):
    out.put(text + subject + "".join(tags)).tab(85).put(DATE).end()
    out.rule("=")


def heading(out, labels, total_offset):
    last = 0
    for j, label in enumerate(labels, 1):
        last = 12 * j + 2
        out.tab(last).put(label)
    if total_offset:
        out.tab(last + total_offset).put("Total:")
    else:
        out.put(" ")
    out.end()


def row(out, label, cells):
    out.put(label)
    for j, c in enumerate(cells, 1):
        out.tab(12 * j).right(c)
    out.end()


# ---------------------------------------------------------------- statistics

def count_transitions(events, categories, lag):
    k = len(categories)
    F = [[0.0] * (k + 1) for _ in range(k + 1)]
    for i in range(len(events) - lag):
        if events[i] in categories and events[i + lag] in categories:
            F[categories.index(events[i])][categories.index(events[i + lag])] += 1
    for a in range(k):
        F[a][k] = sum(F[a][:k])
    for b in range(k):
        F[k][b] = sum(F[a][b] for a in range(k))
    F[k][k] = sum(F[a][k] for a in range(k))
    return F


def expected(F):
    k = len(F) - 1
    n = F[k][k]
    E = [[0.0] * (k + 1) for _ in range(k + 1)]
    for a in range(k):
        for b in range(k):
            if F[a][k] and F[k][b]:
                E[a][b] = f32(F[a][k] * F[k][b] / n)
        E[a][k] = F[a][k]
    for b in range(k + 1):
        E[k][b] = F[k][b]
    return E


def chi_square(F, E):
    k = len(F) - 1
    n = F[k][k]
    # Pearson's chi square in its textbook form, sum (F - E)^2 / E.
    chi = sum((F[a][b] - E[a][b]) ** 2 / E[a][b]
              for a in range(k) for b in range(k) if E[a][b])
    cramer = UNDEFINED if n == 0 or k < 2 else math.sqrt(chi / (n * (k - 1)))
    row_max = max([F[a][k] for a in range(k)] + [0])
    col_max = max([F[k][b] for b in range(k)] + [0])
    sum_col_max = sum(max(F[a][b] for a in range(k)) for b in range(k))
    sum_row_max = sum(max(F[a][b] for b in range(k)) for a in range(k))
    lam_row = UNDEFINED if n == row_max else (sum_col_max - row_max) / (n - row_max)
    lam_col = UNDEFINED if n == col_max else (sum_row_max - col_max) / (n - col_max)
    return chi, cramer, lam_row, lam_col


# The 0.95 quantiles of chi square for 1..30 degrees of freedom (any
# statistics textbook's table).
CRITICAL = [3.841, 5.991, 7.815, 9.488, 11.070, 12.592, 14.067, 15.507, 16.919, 18.307,
            19.675, 21.026, 22.362, 23.685, 24.996, 26.296, 27.587, 28.869, 30.144, 31.410,
            32.671, 33.924, 35.172, 36.415, 37.652, 38.885, 40.113, 41.337, 42.557, 43.773]


def value_line(out, name, text):
    out.put(name).tab(30).right(text, 10).end()


def expected_block(out, title_text, subject, tags, labels, F, E):
    k = len(F) - 1
    chi, cramer, lam_row, lam_col = chi_square(F, E)
    title(out, title_text + ": ", subject, tags)
    heading(out, labels, 12)
    out.rule("-")
    for a in range(k):
        row(out, labels[a], [fmt(E[a][b], "####0.00") for b in range(k + 1)])
    out.rule("-")
    row(out, "Total:", [fmt(E[k][b], "####0.00") for b in range(k + 1)])
    out.rule("-")
    value_line(out, "Chi square:", fmt(chi, "####0.000"))
    df = (k - 1) * (k - 1) if k >= 2 else 0
    value_line(out, "Degrees of freedom:", fmt(df, "####0"))
    if df > 30:
        value_line(out, "z (df > 30):", fmt(math.sqrt(2 * chi) - math.sqrt(2 * df - 1), "####0.00"))
    else:
        value_line(out, "Critical value (P = 0.05):", cell(CRITICAL[df - 1] if df else UNDEFINED, "####0.000"))
    cells = k * k
    for bound in (5, 1):
        small = sum(1 for a in range(k) for b in range(k) if E[a][b] < bound)
        if small:
            out.put("Warning: %d of %d expected frequencies (%s) are below %d."
                    % (small, cells, fmt(small / cells, "##0.00%"), bound)).end()
    value_line(out, "Cramer coefficient:", cell(cramer, "####0.000"))
    value_line(out, "Lambda (rows predicted):", cell(lam_row, "####0.000"))
    value_line(out, "Lambda (columns predicted):", cell(lam_col, "####0.000"))
    out.end().end()


def residuals_block(out, subject, tags, labels, F, E):
    k = len(F) - 1
    n = F[k][k]
    title(out, "Adjusted Residuals Table: ", subject, tags)
    heading(out, labels, 0)
    out.rule("-")
    for a in range(k):
        cells = []
        for b in range(k):
            var = E[a][b] * (1 - F[a][k] / n) * (1 - F[k][b] / n) if n else 0
            # No variance (an empty row or column, a margin holding every
            # count): the residual is undefined.
            d = f32((F[a][b] - E[a][b]) / math.sqrt(var)) if var > 0 else UNDEFINED
            cells.append(cell(d, "####0.00"))
        row(out, labels[a], cells)
    out.rule("-")
    out.end().end()


def write(name, text):
    with open(name, "w", newline="") as f:
        f.write(text)


# ------------------------------------------------------- sequential analysis

def sequential_events(codes, filling, first_record=1):
    """Events of records first_record.. (codes of the records, "" = empty)."""
    events = []
    for i, code in enumerate(codes, first_record):
        if code:
            events.append(code)
        elif filling and i > 1:
            events.append(events[-1] if events else "")
    return events


def frequencies(F):
    k = len(F) - 1
    return [max(F[k][b], F[b][k]) for b in range(k)]


def uni_z(F, n):
    k = len(F) - 1
    f = frequencies(F)
    Z = [[0.0] * k for _ in range(k)]
    for a in range(k):
        for b in range(k):
            e = f[a] * f[b] / n
            var = f[a] * f[b] * (n - f[a]) * (n - f[b]) / (n * n * (n - 1))
            Z[a][b] = f32((F[a][b] - e) / math.sqrt(var)) if var > 0 else 0.0
    return Z


def bi_z(F, n):
    k = len(F) - 1
    f = frequencies(F)
    Z = [[0.0] * k for _ in range(k)]
    for a in range(k):
        for b in range(k):
            obs = F[a][b] + F[b][a]
            e = 2 * f[a] * f[b] / n
            factor = f32(f[a] * f[b] + (n - f[a]) * (n - f[b]) - n)
            var = 2 * f[a] * f[b] * factor / (n * n * (n - 1))
            Z[a][b] = f32((obs - e) / math.sqrt(var)) if var > 0 else 0.0
    return Z


def kappa(obs, e, bound):
    if obs < e:
        d = e
    else:
        d = max(bound, obs) - e
    return 0.0 if d == 0 else f32((obs - e) / d)


def uni_kappa(F, n):
    k = len(F) - 1
    f = frequencies(F)
    return [[kappa(F[a][b], f[a] * f[b] / n, min(F[a][k], F[b][k])) for b in range(k)]
            for a in range(k)]


def bi_kappa(F, n):
    k = len(F) - 1
    f = frequencies(F)
    K = [[0.0] * k for _ in range(k)]
    for a in range(k):
        for b in range(k):
            ra, rb = F[a][k], F[b][k]
            bound = 2 * ra - 1 if ra == rb else 2 * min(ra, rb)
            K[a][b] = kappa(F[a][b] + F[b][a], 2 * f[a] * f[b] / n, bound)
    return K


def probabilities(F):
    k = len(F) - 1
    n = F[k][k]
    P = [[0.0] * (k + 1) for _ in range(k + 1)]
    for a in range(k):
        if F[a][k]:
            for b in range(k):
                P[a][b] = f32(F[a][b] / F[a][k])
            P[a][k] = 1.0
    if n:
        for b in range(k + 1):
            P[k][b] = f32(F[k][b] / n)
    return P


SIG = f32(1.96)


def z_cell(z):
    return "---" if -SIG < z < SIG else fmt(z, "####0.00")


def seq_title(out, subject, tags):
    title(out, "SEQUENTIAL ANALYSIS: ", subject, tags)


def lag_item(out, lag):
    out.tab(89).put("Row at Lag:").put("%d " % -lag).end()


def totalled_table(out, subject, tags, lag, name, cats, M, pattern, offset):
    k = len(cats)
    out.end().end()
    seq_title(out, subject, tags)
    out.put(name)
    lag_item(out, lag)
    out.rule("-")
    heading(out, cats, offset)
    out.rule("-")
    for a in range(k):
        row(out, cats[a], [fmt(M[a][b], pattern) for b in range(k + 1)])
    out.rule("-")
    row(out, "Total:", [fmt(M[k][b], pattern) for b in range(k + 1)])


def square_table(out, subject, tags, lag, first_line, lag_line, cats, M, cellf, footer):
    out.end().end()
    seq_title(out, subject, tags)
    out.put(first_line)
    if lag_line == "same":
        lag_item(out, lag)
    else:
        out.end()
        if lag_line == "next":
            out.put(" ")
            lag_item(out, lag)
    out.rule("-")
    heading(out, cats, 0)
    out.rule("-")
    for a in range(len(cats)):
        row(out, cats[a], [cellf(v) for v in M[a]])
    out.rule("-")
    if footer:
        out.put(footer).end()
    out.end()


UNI_Z = "Uni-directional Z-scores Table" + " " * 41 + "(QA, Wampold & Margolin, 1982)"
BI_Z = "Bi-directional Z-scores Table" + " " * 42 + "(QA, Wampold & Margolin, 1982)"
UNI_K = "Uni-directional Transformed Kappa Table" + " " * 37 + "(Huber 1977, Wampold 1992)"
BI_K = "Bi-directional Transformed Kappa Table" + " " * 38 + "(Huber 1977, Wampold 1992)"
FOOTER = "{--- = -1.96<z<1.96, P>0.05}"


def sequential_report(events, cats, lag, subject, tags):
    """Every block of one analysis with every table chosen, appended to an
    existing output file."""
    n = len(events)
    F = count_transitions(events, cats, lag)
    E = expected(F)
    out = Lines()
    totalled_table(out, subject, tags, lag, "Frequency Transition Table", cats, F, "#####0", 12)
    out.end().end()
    expected_block(out, "Expected Transition Table", subject, tags, cats, F, E)
    out.end().end()
    residuals_block(out, subject, tags, cats, F, E)
    totalled_table(out, subject, tags, lag, "Probability Transition Table", cats,
                   probabilities(F), "####0.00%", 10)
    square_table(out, subject, tags, lag, UNI_Z, "none", cats, uni_z(F, n), z_cell, FOOTER)
    square_table(out, subject, tags, lag, UNI_K, "next", cats, uni_kappa(F, n),
                 lambda v: fmt(v, "####0.00"), None)
    square_table(out, subject, tags, lag, BI_Z, "same", cats, bi_z(F, n), z_cell, FOOTER)
    square_table(out, subject, tags, lag, BI_K, "next", cats, bi_kappa(F, n),
                 lambda v: fmt(v, "####0.00"), None)
    return out.text


# The protocol of the tests: fifteen events of three categories.
EVENTS = "a b c a b a c c b a b c a a b".split()
CATS = ["a", "b", "c"]

# A second protocol of twelve records with empty codes and a code outside
# the coding list "c", "a", "b" (list order), analysed with episode filling
# and table-based categories at lag 2.
FILLED_RECORDS = ["a", "", "b", "c", "", "a", "x", "b", "", "c", "a", "b"]
TABLE = ["c", "a", "b"]


def chi_square_golden():
    F = count_transitions(EVENTS, CATS, 1)
    E = expected(F)
    out = Lines()
    out.end().end()
    tags = [" (no.  1 - 15 )"]
    expected_block(out, "Expected Transition Table", "V4", tags, CATS, F, E)
    out.end().end()
    residuals_block(out, "V4", tags, CATS, F, E)
    write("chi_square_block.ana", out.text)


def sequential_golden():
    write("sequential_all.ana",
          sequential_report(EVENTS, CATS, 1, "V4", [" (no.  1 - 15 )"]))
    events = sequential_events(FILLED_RECORDS, True)
    write("sequential_filled_lag2.ana",
          sequential_report(events, TABLE, 2, "V4", [" (EPISODE FILLED)", " (no.  1 - 12 )"]))


# ------------------------------------------------------ interrater agreement

# Coder 1 codes eleven records (the last left empty), coder 2 thirteen. Pairs
# are taken record by record over the shorter range; only the pairs in which
# both coders gave a code are counted and give the categories. Pair 11 (empty,
# "D") has one code empty; coder 2's records 12 and 13 are not paired, so
# "D" and "E" are no categories.
CODER1 = list("AAABBBCCAB") + [""]
CODER2 = list("AABBBACAAB") + ["D", "D", "E"]


def interrater_golden():
    from fractions import Fraction
    paired = list(zip(CODER1, CODER2))
    both = [(a, b) for a, b in paired if a and b]
    one_empty = sum(1 for a, b in paired if bool(a) != bool(b))
    not_paired = abs(len(CODER1) - len(CODER2))
    cats = sorted(set(a for a, _ in both) | set(b for _, b in both))
    k = len(cats)
    F = [[0.0] * (k + 1) for _ in range(k + 1)]
    for a, b in both:
        F[cats.index(a)][cats.index(b)] += 1
    for a in range(k):
        F[a][k] = sum(F[a][:k])
    for b in range(k + 1):
        F[k][b] = sum(F[a][b] for a in range(k))
    E = expected(F)
    n = len(both)
    agreed = sum(1 for a, b in both if a == b)
    po = Fraction(agreed, n)
    pe = sum(Fraction(int(F[c][k] * F[k][c]), n * n) for c in range(k))
    kappa = (po - pe) / (1 - pe)

    subject = "V4"
    tags = [" (no.  1 - %d )" % len(CODER1), " (Data2:  1 - %d )" % len(CODER2)]
    out = Lines()
    out.put("@ANA@").end().end().end().end()
    title(out, "INTERRATER AGREEMENT: ", subject, tags)
    out.put("Interrater Frequency Table").tab(89).put("Rows: Coder 1").end()
    out.rule("-")
    heading(out, cats, 12)
    out.rule("-")
    for a in range(k):
        row(out, cats[a], [fmt(F[a][b], "#####0") for b in range(k + 1)])
    out.rule("-")
    row(out, "Total:", [fmt(F[k][b], "#####0") for b in range(k + 1)])
    out.end().end()
    expected_block(out, "Expected Interrater Table", subject, tags, cats, F, E)
    out.end().end()
    residuals_block(out, subject, tags, cats, F, E)
    out.end().end()

    def block(caption, columns):
        title(out, "INTERRATER AGREEMENT: ", subject, tags)
        out.put(caption).end()
        out.rule("-")
        heading(out, columns, 0)
        out.rule("-")

    block("Agreement and Cohen's Kappa", ["Pairs", "Agreed", "Agreement", "Kappa"])
    row(out, "Total:", [fmt(n, "#####0"), fmt(agreed, "#####0"), fmt(float(po), "####0.00%"),
                        fmt(float(kappa), "####0.000")])
    # The left-out counts end where the Pairs cells end (column 19).
    for label, count in (("Not paired:", not_paired), ("One code empty:", one_empty)):
        line = label + " "
        value = fmt(count, "#####0")
        out.put(line + value.rjust(max(19 - len(line), len(value)))).end()
    out.rule("-")
    out.end()

    out.end().end()
    block("Category Kappas", ["Coder 1", "Coder 2", "Agreed", "Kappa"])
    for c in range(k):
        # The kappa of the two-by-two table "c or not c".
        r1, c2, d = int(F[c][k]), int(F[k][c]), int(F[c][c])
        po_c = Fraction(n - r1 - c2 + 2 * d, n)
        pe_c = Fraction(r1 * c2 + (n - r1) * (n - c2), n * n)
        row(out, cats[c], [fmt(r1, "#####0"), fmt(c2, "#####0"), fmt(d, "#####0"),
                           fmt(float((po_c - pe_c) / (1 - pe_c)), "####0.000")])
    out.rule("-")
    out.end()
    write("interrater_report.golden", out.text)


if __name__ == "__main__":
    chi_square_golden()
    sequential_golden()
    interrater_golden()

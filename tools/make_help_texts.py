#!/usr/bin/env python3
"""Generate the built-in report help texts.

Writes, relative to the repository root:

  resources/help/A-Report.HLP   3054 bytes  pace and effort figures (A and X)
  resources/help/E-Report.HLP   6143 bytes  reading the performance tables
  resources/help/B-Report.HLP   2135 bytes  one horse's performance table

The texts are code page 437 with box-drawing frames, lines end with CR LF,
no line is wider than 80 columns.  Each file is padded with blank lines in
front of its closing notice so that it has exactly the size the program
carries.  The sample tables are drawn with the line layout of
tools/make_sample_day.py, so they match the sample race day.

Usage:  python3 tools/make_help_texts.py [repository-root]
"""

import datetime
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_sample_day as day  # noqa: E402

WIDTH = 78

# Double-line frame (C9 CD BB BA C8 BC) and single-line frame
# (DA C4 BF B3 C0 D9 C3 B4).
D_TL, D_H, D_TR, D_V, D_BL, D_BR = "\u2554", "\u2550", "\u2557", "\u2551", \
    "\u255a", "\u255d"
S_TL, S_H, S_TR, S_V, S_BL, S_BR = "\u250c", "\u2500", "\u2510", "\u2502", \
    "\u2514", "\u2518"
S_LT, S_RT = "\u251c", "\u2524"


def double_box(rows, width=WIDTH):
    inner = width - 2
    out = [D_TL + D_H * inner + D_TR]
    for row in rows:
        assert len(row) <= inner - 2, row
        out.append(D_V + " " + row.ljust(inner - 2) + " " + D_V)
    out.append(D_BL + D_H * inner + D_BR)
    return out


def single_box(rows, width=WIDTH):
    """Rows may be None for a dividing line."""
    inner = width - 2
    out = [S_TL + S_H * inner + S_TR]
    for row in rows:
        if row is None:
            out.append(S_LT + S_H * inner + S_RT)
            continue
        assert len(row) <= inner - 2, row
        out.append(S_V + " " + row.ljust(inner - 2) + " " + S_V)
    out.append(S_BL + S_H * inner + S_BR)
    return out


def heading(text):
    """A section heading: the text in a small single-line box."""
    inner = len(text) + 2
    return [S_TL + S_H * inner + S_TR,
            S_V + " " + text + " " + S_V,
            S_BL + S_H * inner + S_BR]


def title(file_name, subject):
    left = file_name
    return double_box([left + subject.rjust(WIDTH - 4 - len(left))])


NOTICE = double_box([
    "Ravelstow VANTROSE - race day reports",
    "Ravelstow Handicapping Software, 1 Sample Lane, Exampleton",
    "Help desk: support@ravelstow.example.com   www.ravelstow.example.com",
    "Copy for the licensed user only.  Figures are a guide, not a promise.",
])


def finish(lines, size):
    """Pad with blank lines before the notice to exactly `size` bytes."""
    body = [line.rstrip() for line in lines]
    for line in body + NOTICE:
        assert len(line) <= 80, line
    data = encode(body + [""] + NOTICE)
    missing = size - len(data)
    if missing < 0:
        raise SystemExit("text too long by %d bytes for %d" % (-missing, size))
    if missing % 2:
        if missing < 3:
            raise SystemExit("cannot pad %d bytes for %d" % (missing, size))
        pad = [""] * ((missing - 3) // 2) + [" "]
    else:
        pad = [""] * (missing // 2)
    sys.stderr.write("%d bytes: %d padding lines\n" % (size, len(pad)))
    data = encode(body + [""] + pad + NOTICE)
    assert len(data) == size
    return data


def encode(lines):
    return b"".join(line.encode("cp437") + b"\r\n" for line in lines)


def wrap(text, width=76, indent=""):
    words = text.split()
    out, line = [], indent
    for word in words:
        if len(line) + len(word) + (0 if line.strip() == "" else 1) > width:
            out.append(line)
            line = indent + word
        else:
            line = line + ("" if line.strip() == "" else " ") + word
    if line.strip():
        out.append(line)
    return out


# ---------------------------------------------------------------------------
# A sample horse for the E and B texts
# ---------------------------------------------------------------------------

def sample_race(days_back, gap, track, number, dist, turf, cond, cls,
                strength, e, m, l, speed, finish_at, field):
    return {
        "date": day.RACE_DAY - datetime.timedelta(days=days_back),
        "days": gap, "track": track, "number": number, "dist": dist,
        "turf": turf, "cond": cond, "class": cls, "strength": strength,
        "early": e, "middle": m, "late": l, "speed": speed,
        "finish": finish_at, "field": field,
    }


CLM25 = ("Clm", 25000)
CLM40 = ("Clm", 40000)
ALW62 = ("Alw", 62000)
MSW58 = ("Msw", 58000)

SAMPLE_HORSE = {
    "number": 4, "name": "Harbor Lantern", "age": 4, "sex": "g",
    "trainer": "Garrowby J", "ml": 3.5, "count": 8,
    "history": [
        sample_race(24, 28, "Bel", 6, 8.5, False, "ft", ALW62, 86,
                    84, 88, 91, 89, 2, 8),
        sample_race(52, 33, "Bel", 3, 8.0, False, "sy", CLM40, 80,
                    80, 83, 87, 85, 1, 7),
        sample_race(85, 21, "Aqu", 7, 6.0, False, "ft", CLM40, 79,
                    88, 82, 74, 80, 4, 9),
        sample_race(106, 118, "Aqu", 2, 6.5, False, "gd", CLM25, 74,
                    86, 80, 76, 81, 2, 10),
        sample_race(224, 30, "Bel", 9, 8.5, True, "fm", CLM40, 78,
                    72, 76, 80, 74, 6, 11),
        sample_race(254, 26, "Sar", 4, 9.0, True, "yl", CLM25, 73,
                    70, 75, 82, 76, 3, 9),
        sample_race(280, 35, "Sar", 1, 6.0, False, "ft", MSW58, 75,
                    78, 74, 70, 73, 1, 12),
        sample_race(315, 40, "Bel", 5, 5.5, False, "ft", MSW58, 72,
                    75, 70, 66, 68, 5, 8),
    ],
}
SAMPLE_DAYS_OFF = 24


def sample_table():
    return day.horse_table(SAMPLE_HORSE)


def column_of(line, text, start=1):
    return line.index(text, start - 1) + 1


# ---------------------------------------------------------------------------
# A-Report.HLP
# ---------------------------------------------------------------------------

def a_text():
    lines = title("A-Report.HLP", "Pace and effort figures (A and X pages)")
    lines += [""]
    lines += wrap(
        "The A report gives one page for every race. Each runner takes two "
        "lines: the first carries its ratings, the second its trainer, its "
        "most recent start and the morning line. The X page of a track sums "
        "up its races with the three best recent figures of each race and "
        "uses exactly the same numbers.", indent=" ")
    lines += [""] + heading("The three pace ratings: Erl  Mid  Lte") + [""]
    lines += wrap(
        "A race is cut into three equal parts. Erl rates how fast the horse "
        "ran the early third, Mid the middle third and Lte the final third. "
        "Each rating is the average over the horse's last five starts, or "
        "over fewer when it has not raced five times. Bigger numbers mean "
        "faster running.", indent=" ")
    lines += [""]
    lines += wrap(
        "Read Erl to find the likely leaders: a horse whose early rating is "
        "well clear of the rest may get an easy lead. Several high early "
        "ratings point to a fast pace that can tire the leaders and suit a "
        "runner with a strong Lte.", indent=" ")
    lines += [""] + heading("The five final figures and Best") + [""]
    lines += wrap(
        "The final figure measures the whole effort of a race. The five "
        "figures are the horse's last five starts, the oldest on the left and "
        "the newest on the right; an empty slot means the horse has fewer "
        "starts. A row that climbs towards the right shows a horse in form. "
        "Best repeats the highest of the five.", indent=" ")
    lines += [""] + heading("Symbols in front of a figure and after a rating")
    lines += [""]
    lines += single_box([
        " .   the race was run on a sloppy or muddy track",
        " -   the race was run on the turf course",
        " ~   the distance changed clearly from the start before",
        " /   the horse returned from a rest of 90 days or more",
        None,
        " *   the best rating of the field in that column",
        " +   the second best rating of the field in that column",
    ], width=64)
    lines += [""]
    lines += wrap(
        "Only one mark stands in front of a figure; when several apply the "
        "first in the order / . - ~ is shown.", indent=" ")
    lines += [""]
    lines += wrap(
        "The performance tables behind these numbers are on the E pages.",
        indent=" ")
    return finish(lines, 3054)


# ---------------------------------------------------------------------------
# E-Report.HLP
# ---------------------------------------------------------------------------

def e_text():
    table = sample_table()
    head, first = table[0], table[1]
    lines = title("E-Report.HLP", "Reading the performance tables")
    lines += [""]
    lines += wrap(
        "The E report gives every runner of a race a table of its recent "
        "starts, newest at the top. Above the tables stands the race "
        "heading with the reference line, and an odds table. The sample "
        "below is one runner; the letters point to the parts explained "
        "underneath.", indent=" ")
    lines += [""] + heading("The runner's heading") + [""]
    marks = [("a", 2), ("b", 4), ("c", 23), ("d", 24), ("e", 27),
             ("f", column_of(head, "Off") + 5), ("g", len(head))]
    lines.append(day.placed(*[(c, t) for t, c in marks]))
    lines.append(head)
    lines += [""]
    lines += single_box([
        "a  program number          b  name of the horse",
        "c  age in years            d  sex: c colt, f filly, g gelding,",
        "                              h horse, m mare",
        "e  trainer                 f  days since the last start",
        "g  morning line odds",
    ])
    lines += [""] + heading("One line for each start") + [""]
    box1 = column_of(first, day.V) + 2
    box2 = column_of(first, day.V, box1) + 1
    marks = [("h", 6), ("i", 8), ("j", 11), ("k", 16), ("l", 20), ("m", 24),
             ("n", 29), ("o", 33), ("p", 36), ("q", box1), ("r", box2),
             ("s", box2 + 3), ("t", box2 + 8), ("u", 66)]
    lines.append(day.placed(*[(c, t) for t, c in marks]))
    lines += table[1:]
    lines += [""]
    lines += single_box([
        "h  days since the start before this one",
        "i  track condition: ft fast, gd good, sy sloppy, my muddy,",
        "   fm firm, yl yielding, sf soft",
        "j  surface: D dirt, T turf",
        "k l m  pace ratings for the early, middle and late third",
        "n  speed rating of the whole race",
        "o  race strength: how good the field was that day",
        "p  finishing place and number of runners",
        None,
        "Race box:  q  date   r  race number   s  track   t  distance",
        "u  class of the race and its purse or claiming price",
    ])
    lines += [""]
    lines += wrap(
        "A row with a year on the left and crossing lines in the race box "
        "marks the turn of the year: the starts below it were run in that "
        "earlier year.", indent=" ")
    lines += [""] + heading("Reference line and race strength") + [""]
    lines += wrap(
        "The race heading shows a reference line, the speed rating that a "
        "typical winner of today's kind of race earns. A runner whose recent "
        "speed ratings reach the reference line is fast enough to win; one "
        "that falls short needs help from the pace or from a weak field. "
        "Race strength tells how strong the opposition was in each start, "
        "so a fair rating against a strong field can be worth more than a "
        "good one against a weak field.", indent=" ")
    lines += [""] + heading("Working through a race") + [""]
    lines += single_box([
        "1  Compare the latest speed ratings with the reference line.",
        "2  Check the pace ratings: who leads early, who finishes best?",
        "3  Look at condition and surface: does today's footing suit?",
        "4  Weigh the race strength of the good efforts.",
        "5  Note long rests and any switch of distance or surface.",
        "6  Compare the morning line with the fair odds.",
    ])
    lines += [""]
    lines += wrap(
        "Ratings earned on another surface or on a wet track say less about "
        "today's race than ratings earned on today's footing. A horse back "
        "from a long rest often needs a start to find its form again.",
        indent=" ")
    lines += [""] + heading("The odds table") + [""]
    lines += wrap(
        "ML is the morning line, Fair the odds that the Vantrose ratings "
        "give each runner; a horse offered well above its fair odds is worth "
        "a look. To scratch runners, open the page with ScratchX, put an "
        "exclamation mark (!) in their lines of the odds table and press "
        "OK: their lines are removed and both odds columns of the rest are "
        "balanced again. The table also lists each runner's best speed "
        "and pace ratings.", indent=" ")
    lines += [""] + heading("How many starts are shown") + [""]
    lines += wrap(
        "The report options set how many starts each table keeps, from 1 "
        "to 14. Older starts are left out of the page and the printout; "
        "the full tables return whenever the number is raised.", indent=" ")
    return finish(lines, 6143)


# ---------------------------------------------------------------------------
# B-Report.HLP
# ---------------------------------------------------------------------------

def b_text():
    table = sample_table()
    lines = title("B-Report.HLP", "Sample performance table")
    lines += [""]
    lines += wrap(
        "One runner's table as it appears on the B and E pages.",
        indent=" ")
    lines += [""]
    lines += table
    lines += [""]
    lines += single_box([
        "Heading:  number, name, age and sex, trainer, days off, morning line",
        "Left:     days between starts, condition, surface, early, middle",
        "          and late pace, speed rating, race strength, place/field",
        "Box:      date | race number, track, distance | class and purse",
        "Newest start on top; a year row marks the turn of the year.",
    ], width=72)
    return finish(lines, 2135)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else \
        os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = os.path.join(root, "resources", "help")
    os.makedirs(folder, exist_ok=True)
    for name, data in (("A-Report.HLP", a_text()),
                       ("E-Report.HLP", e_text()),
                       ("B-Report.HLP", b_text())):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()

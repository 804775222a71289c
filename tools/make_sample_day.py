#!/usr/bin/env python3
"""Generate the sample simulcast schedule and the sample race day text.

Writes, relative to the repository root:

  resources/SimoDump.LST        112 schedule lines of 40 columns, CR LF
  resources/sample/Vantrose.TXT a race day text with A, X, E and B pages

Everything is derived from fixed seeds, so running the script again gives
the same bytes.  Only the Python standard library is used.

Usage:  python3 tools/make_sample_day.py [repository-root]
"""

import datetime
import os
import random
import sys

# ---------------------------------------------------------------------------
# Fixed facts of the sample day
# ---------------------------------------------------------------------------

RACE_DAY = datetime.date(2016, 7, 12)
WEEKDAYS = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun",
          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]


def long_date(d):
    """'Tue 12-Jul-2016' style date text."""
    return "%s %02d-%s-%04d" % (WEEKDAYS[d.weekday()], d.day,
                                MONTHS[d.month - 1], d.year)


def short_date(d):
    """'05Jun16' style date used in the race boxes."""
    return "%02d%s%02d" % (d.day, MONTHS[d.month - 1], d.year % 100)


DATE_TEXT = long_date(RACE_DAY)

PRODUCT = "Ravelstow VANTROSE"
USER_ID = "ID: \x01xxx"          # byte 1 + three bytes, replaced by the user id

# Box-drawing characters (code page 437 bytes in brackets).
V = "\u2502"      # B3 vertical
H = "\u2500"      # C4 horizontal
TL = "\u250c"     # DA top-left
TR = "\u2510"     # BF top-right
BL = "\u2514"     # C0 bottom-left
BR = "\u2518"     # D9 bottom-right
TT = "\u252c"     # C2 top tee
BT = "\u2534"     # C1 bottom tee
LT = "\u251c"     # C3 left tee
RT = "\u2524"     # B4 right tee
CR = "\u253c"     # C5 cross

# Performance table frame pieces: column 42 to column 64 (23 characters).
TABLE_TOP = TL + H * 8 + TT + H * 12 + TR
TABLE_MID = LT + H * 8 + CR + H * 12 + RT
TABLE_BOT = BL + H * 8 + BT + H * 12 + BR
LEFT_WIDTH = 41   # columns 1..41 in front of the table

# Simulcast tracks: code, first post, last post (minutes after noon),
# number of races, share of turf races.
SCHEDULE_TRACKS = [
    ("Tam", 0, 280, 11, 0.25),
    ("GPx", 15, 345, 13, 0.40),
    ("FGx", 40, 470, 16, 0.20),
    ("Aqu", 60, 455, 14, 0.35),
    ("Kee", 70, 400, 12, 0.40),
    ("WOx", 80, 500, 16, 0.35),
    ("CDx", 150, 525, 15, 0.30),
    ("SAx", 210, 570, 15, 0.35),
]

# Tracks with report pages: code, races with A pages, E pages?, B pages?
REPORT_TRACKS = [
    ("Aqu", 7, True, False),
    ("GPx", 8, False, True),
    ("Kee", 6, True, False),
    ("SAx", 7, False, True),
]

# Tracks a horse of a given home track has raced at (all from TrackGroups).
CIRCUITS = {
    "Aqu": ["Bel", "Bel", "Aqu", "Sar", "Pen", "Prx", "Mth", "Lrl"],
    "GPx": ["GPx", "GPx", "GPW", "Tam", "CDx", "Kee", "Mth"],
    "Kee": ["Kee", "Kee", "CDx", "TPx", "ElP", "KDx", "Ind", "APx"],
    "SAx": ["SAx", "SAx", "Dmr", "LRC", "GGx", "Fno", "LAx"],
}

DIRT_SPRINT = [5.0, 5.5, 6.0, 6.0, 6.5, 7.0]
DIRT_ROUTE = [8.0, 8.0, 8.5, 8.5, 9.0, 10.0]
TURF = [5.0, 5.5, 8.0, 8.0, 8.5, 9.0, 9.5, 10.0, 11.0, 12.0]

# Race classes: label, purse, race strength range
CLASSES = [
    ("MdC", 25000, (58, 70)),
    ("Msw", 58000, (66, 80)),
    ("Clm", 16000, (66, 78)),
    ("Clm", 25000, (70, 82)),
    ("Clm", 40000, (74, 86)),
    ("Alw", 62000, (80, 94)),
    ("AOC", 75000, (84, 98)),
    ("Stk", 100000, (92, 110)),
]

NAME_FIRST = [
    "Amber", "Brisk", "Cedar", "Copper", "Dusty", "Ember", "Falcon", "Gilded",
    "Harbor", "Iron", "Jade", "Kestrel", "Lantern", "Maple", "Midnight",
    "Noble", "Orchard", "Pepper", "Quiet", "Rapid", "River", "Saffron",
    "Silver", "Stormy", "Thistle", "Timber", "Velvet", "Willow", "Winter",
    "Zephyr", "Canyon", "Bramble", "Prairie", "Misty", "Northern", "Crimson",
]
NAME_SECOND = [
    "Arrow", "Ballad", "Beacon", "Charm", "Comet", "Crown", "Dancer", "Echo",
    "Flight", "Gambit", "Glory", "Harvest", "Journey", "Legend", "Lark",
    "Melody", "Meadow", "Monarch", "Outlaw", "Promise", "Quest", "Ranger",
    "Rebel", "Riddle", "Rocket", "Rumor", "Spirit", "Sonnet", "Tempest",
    "Thunder", "Traveler", "Venture", "Voyage", "Whisper", "Wonder", "Ridge",
]
TRAINERS = [
    "Abernook T", "Balfry M", "Castellane R", "Dunmore P", "Eskridge L",
    "Fairleigh S", "Garrowby J", "Hollenbeck D", "Ilsworth C", "Jarnac B",
    "Kettering W", "Lindqvist A", "Morrow-Bay K", "Nethercott G",
    "Oakhurst F", "Pellworth N", "Quillan E", "Rostrevor H", "Sallow V",
    "Tenbury O",
]

ML_LADDER = [1.0, 1.5, 2.0, 2.5, 3.0, 3.5, 4.0, 4.5, 5.0, 6.0, 8.0,
             10.0, 12.0, 15.0, 20.0, 30.0]


def ml_text(value):
    """Morning line as a fraction: 2.5 -> '5-2', 8.0 -> '8-1'."""
    if value == int(value):
        return "%d-1" % int(value)
    return "%d-2" % int(round(value * 2))


def odds_cell(value):
    """One decimal, right-aligned in four characters; 0.7 shows as '  .7'."""
    value = min(value, 99.0)
    text = "%4.1f" % value
    if text[0] == " " and text[1] == "0":
        text = "  " + text[2:]
    return text


def name_rng(*parts):
    return random.Random("-".join(str(p) for p in parts))


# ---------------------------------------------------------------------------
# The schedule
# ---------------------------------------------------------------------------

def clock_text(minutes):
    """Minutes after noon -> '12:15' / ' 1:01' (12-hour, no leading zero)."""
    hour = 12 + minutes // 60
    if hour > 12:
        hour -= 12
    return "%2d:%02d" % (hour, minutes % 60)


def build_schedule():
    """Return a dict code -> list of race dicts, and the sorted line list."""
    races = {}
    for order, (code, first, last, count, turf_share) in enumerate(
            SCHEDULE_TRACKS):
        rng = name_rng("schedule", code)
        weights = [rng.uniform(0.8, 1.25) for _ in range(count - 1)]
        span = last - first
        posts = [first]
        acc = 0.0
        for w in weights:
            acc += w
            posts.append(first + int(round(span * acc / sum(weights))))
        track_races = []
        for number, post in enumerate(posts, start=1):
            turf = rng.random() < turf_share
            if turf:
                dist = rng.choice(TURF)
            elif rng.random() < 0.6:
                dist = rng.choice(DIRT_SPRINT)
            else:
                dist = rng.choice(DIRT_ROUTE)
            cls = rng.choice(CLASSES)
            if number == count and cls[0] != "Stk" and rng.random() < 0.5:
                cls = CLASSES[-1]
            track_races.append({
                "code": code, "number": number, "post": post,
                "dist": dist, "turf": turf, "class": cls, "order": order,
            })
        races[code] = track_races

    every = [r for code in races for r in races[code]]
    every.sort(key=lambda r: (r["post"], r["order"], r["number"]))
    lines = [schedule_line(r) for r in every]
    return races, lines


def schedule_line(race):
    line = (" " * 8 + clock_text(race["post"]) + " - "
            + "%2d" % race["number"] + " " + race["code"] + "  - "
            + "%4.1f" % race["dist"] + "f" + " "
            + ("T" if race["turf"] else " ") + " " * 7)
    assert len(line) == 40, line
    return line


# ---------------------------------------------------------------------------
# Horses and their past races
# ---------------------------------------------------------------------------

class NamePool:
    def __init__(self):
        self.used = set()

    def take(self, rng):
        while True:
            name = rng.choice(NAME_FIRST) + " " + rng.choice(NAME_SECOND)
            if name not in self.used and len(name) <= 18:
                self.used.add(name)
                return name


def past_races(rng, home, ability, style, count, today_turf):
    """Newest first; each a dict with the fields of a performance line."""
    result = []
    day = RACE_DAY - datetime.timedelta(days=rng.randint(9, 60))
    if rng.random() < 0.12:
        day = RACE_DAY - datetime.timedelta(days=rng.randint(95, 200))
    for _ in range(count + 1):          # one extra to know the gaps
        turf = rng.random() < (0.55 if today_turf else 0.2)
        if turf:
            dist = rng.choice(TURF)
            cond = rng.choice(["fm"] * 6 + ["gd", "yl", "sf"])
        else:
            dist = rng.choice(DIRT_SPRINT + DIRT_ROUTE)
            cond = rng.choice(["ft"] * 6 + ["gd", "sy", "my"])
        cls = rng.choice(CLASSES)
        low, high = cls[2]
        speed = max(30, min(115, ability + rng.randint(-12, 8)))
        early = max(40, min(110, speed + style[0] + rng.randint(-6, 6)))
        middle = max(40, min(110, speed + style[1] + rng.randint(-6, 6)))
        late = max(40, min(110, speed + style[2] + rng.randint(-6, 6)))
        field = rng.randint(6, 12)
        finish = rng.randint(1, field)
        result.append({
            "date": day, "track": rng.choice(CIRCUITS[home]),
            "number": rng.randint(1, 11), "dist": dist, "turf": turf,
            "cond": cond, "class": cls, "strength": rng.randint(low, high),
            "speed": speed, "early": early, "middle": middle, "late": late,
            "finish": finish, "field": field,
        })
        gap = rng.randint(14, 49)
        if rng.random() < 0.1:
            gap = rng.randint(92, 180)
        day = day - datetime.timedelta(days=gap)
    for i in range(count):
        result[i]["days"] = (result[i]["date"] - result[i + 1]["date"]).days
    return result[:count]


def make_field(track, race, size, names):
    rng = name_rng("field", track, race["number"])
    low, high = race["class"][2]
    reference = (low + high) // 2 + 4
    horses = []
    for number in range(1, size + 1):
        age = rng.randint(3, 7)
        if age <= 4:
            sex = rng.choice("cfg")
        else:
            sex = rng.choice("hmg")
        style = rng.choice([(8, 2, -6), (4, 3, -2), (-2, 1, 4), (-7, -1, 9)])
        ability = reference + rng.randint(-14, 8)
        count = rng.randint(3, 12)
        history = past_races(rng, track, ability, style, 12,
                             race["turf"])
        horses.append({
            "number": number, "name": names.take(rng), "age": age,
            "sex": sex, "trainer": rng.choice(TRAINERS),
            "history": history, "count": count,
        })
    # Morning line from ability ranking, with a little noise.
    order = sorted(horses, key=lambda h: -sum(p["speed"] for p in
                                              h["history"][:3]))
    for rank, horse in enumerate(order):
        index = min(len(ML_LADDER) - 1,
                    max(0, 2 + rank * 2 + rng.randint(-1, 1)))
        horse["ml"] = ML_LADDER[index]
    return {"race": race, "reference": reference, "horses": horses}


def visible(horse):
    return horse["history"][:horse["count"]]


def spacer_after(races):
    """Indexes i such that a spacer row follows performance line i."""
    return [i for i in range(len(races) - 1)
            if races[i]["date"].year != races[i + 1]["date"].year]


# ---------------------------------------------------------------------------
# Shared line formatters (also used by tools/make_help_texts.py)
# ---------------------------------------------------------------------------

def table_heading(horse, days_off):
    left = "%2d %-18s %d%s  %-15s" % (horse["number"], horse["name"],
                                     horse["age"], horse["sex"],
                                     horse["trainer"])
    assert len(left) == LEFT_WIDTH, left
    tail = " Off %3dd  %s" % (days_off, ml_text(horse["ml"]))
    return left + TABLE_TOP + tail


def class_text(cls):
    return "%s %d" % (cls[0], cls[1])


def performance_line(p):
    left = "  %4d %s %s  %3d %3d %3d  %3d %3d %2d/%-2d" % (
        p["days"], p["cond"], "T" if p["turf"] else "D",
        p["early"], p["middle"], p["late"], p["speed"], p["strength"],
        p["finish"], p["field"])
    left = left.ljust(LEFT_WIDTH)
    box1 = " " + short_date(p["date"])
    box2 = "%2d %s %4.1ff" % (p["number"], p["track"], p["dist"])
    assert len(box1) == 8 and len(box2) == 12, (box1, box2)
    return left + V + box1 + V + box2 + V + " " + class_text(p["class"])


def spacer_line(year):
    return ("      %d" % year).ljust(LEFT_WIDTH) + TABLE_MID


def bottom_line():
    return " " * LEFT_WIDTH + TABLE_BOT


def horse_table(horse, limit=None):
    races = visible(horse)
    if limit is not None:
        races = races[:limit]
    days_off = (RACE_DAY - races[0]["date"]).days
    lines = [table_heading(horse, days_off)]
    breaks = spacer_after(races)
    for i, p in enumerate(races):
        lines.append(performance_line(p))
        if i in breaks:
            lines.append(spacer_line(races[i + 1]["date"].year))
    lines.append(bottom_line())
    return lines


# ---------------------------------------------------------------------------
# Ratings for the A and X pages
# ---------------------------------------------------------------------------

def last_five(horse):
    return visible(horse)[:5]


def pace_ratings(horse):
    races = last_five(horse)
    return tuple(int(round(sum(p[key] for p in races) / len(races)))
                 for key in ("early", "middle", "late"))


def figure_symbol(races, i):
    """Symbol shown in front of figure i (newest first list)."""
    p = races[i]
    if p["days"] >= 90:
        return "/"
    if p["cond"] in ("sy", "my"):
        return "."
    if p["turf"]:
        return "-"
    if i + 1 < len(races):
        prev = races[i + 1]["dist"]
        if abs(prev - p["dist"]) >= 1.0 or (prev < 8.0) != (p["dist"] < 8.0):
            return "~"
    return " "


def marks(values):
    """'*' for the best, '+' for the second best (first wins ties)."""
    order = sorted(range(len(values)), key=lambda i: (-values[i], i))
    result = [" "] * len(values)
    result[order[0]] = "*"
    if len(order) > 1:
        result[order[1]] = "+"
    return result


def field_ratings(field):
    rows = []
    for horse in field["horses"]:
        races = last_five(horse)
        figures = []
        for i, p in enumerate(races):
            figures.append(figure_symbol(visible(horse), i) + "%3d" % p["speed"])
        figures.reverse()                      # oldest to newest
        while len(figures) < 5:
            figures.insert(0, "    ")
        rows.append({"horse": horse, "pace": pace_ratings(horse),
                     "figures": figures,
                     "best": max(p["speed"] for p in races)})
    for column in range(3):
        for row, mark in zip(rows, marks([r["pace"][column] for r in rows])):
            row.setdefault("pace_marks", [" "] * 3)[column] = mark
    for row, mark in zip(rows, marks([r["best"] for r in rows])):
        row["best_mark"] = mark
    return rows


# ---------------------------------------------------------------------------
# Pages
# ---------------------------------------------------------------------------

def surface_text(race):
    return "Turf" if race["turf"] else "Dirt"


def race_line(race):
    return "%s  %s  Race %d  Post %s  %4.1ff %s  %s" % (
        DATE_TEXT, race["code"], race["number"],
        clock_text(race["post"]).strip(), race["dist"], surface_text(race),
        class_text(race["class"]))


def title_line(kind):
    return ("%s  %s" % (PRODUCT, kind)).ljust(33) + USER_ID


def footer_line(code, what):
    return ("%s  %s  %s %s" % (PRODUCT, DATE_TEXT[4:], code, what)).ljust(47) \
        + USER_ID


def placed(*items):
    """A line with each (column, text) pair put at its 1-based column."""
    line = ""
    for column, text in items:
        line = line.ljust(column - 1) + text
    return line


# Column heading of the A pages, matching the runner lines below it:
# number 1-2, name 5-22, age 25-26, pace values 30-32 / 35-37 / 40-42
# (mark after each), figures at 47, 53, 59, 65, 71 (symbol then value),
# best figure 77-79 with its mark in column 80.
A_HEADER = [
    placed((30, "---- Pace ---"), (47, "-------- Final figures -------"[:28]),
           (77, "Best")),
    placed((1, " #"), (5, "Horse"), (24, "Age"), (30, "Erl"), (35, "Mid"),
           (40, "Lte"), (47, "oldest"), (69, "newest"), (77, "Fig")),
]


def marker(name, text):
    return "\x0c@" + name + "   " + text


def a_page(code, field):
    race = field["race"]
    name = "A%02d%s" % (race["number"], code)
    lines = [
        marker(name, "%s  Race %d  pace and effort" % (code, race["number"])),
        title_line("A-Report"),
        race_line(race),
        "Field %d   morning line favourite #%d" % (
            len(field["horses"]),
            min(field["horses"], key=lambda h: (h["ml"], h["number"]))
            ["number"]),
        "",
    ] + A_HEADER + [""]
    for row in field_ratings(field):
        horse = row["horse"]
        pace = "".join("%3d%s " % (value, mark) for value, mark in
                       zip(row["pace"], row["pace_marks"]))
        figs = " ".join(f + " " for f in row["figures"])
        line = "%2d  %-18s  %d%s   %s  %s %3d%s" % (
            horse["number"], horse["name"], horse["age"], horse["sex"],
            pace, figs, row["best"], row["best_mark"])
        assert len(line) == 80, line
        lines.append(line)
        last = visible(horse)[0]
        lines.append("    Trn %-15s Last %s %s %4.1ff %s  %d/%d   ML %s" % (
            horse["trainer"], short_date(last["date"]), last["track"],
            last["dist"], last["cond"], last["finish"], last["field"],
            ml_text(horse["ml"])))
        lines.append("")
    lines += [
        "Symbols:  . sloppy or muddy   - turf   ~ distance change   "
        "/ 90+ days off",
        "          * best in the field   + second best",
        "",
        footer_line(code, "Race %d" % race["number"]),
    ]
    return name, lines


def x_page(code, fields):
    name = "X01" + code
    lines = [
        marker(name, "%s  main track summary" % code),
        title_line("X-Report"),
        "%s  %s  %d races" % (DATE_TEXT, code, len(fields)),
        "",
        placed((1, "Race"), (7, "Post"), (14, "Dist"), (24, "#"),
               (27, "Horse"), (47, "Erl"), (52, "Mid"), (57, "Lte"),
               (62, "Best")),
        "",
    ]
    for field in fields:
        race = field["race"]
        rows = field_ratings(field)
        rows.sort(key=lambda r: (-r["best"], r["horse"]["number"]))
        head = "%4d  %5s  %4.1ff %s" % (race["number"],
                                      clock_text(race["post"]),
                                      race["dist"], "T" if race["turf"]
                                      else " ")
        for i, row in enumerate(rows[:3]):
            lead = head if i == 0 else " " * len(head)
            lines.append("%s  %2d  %-18s  %3d  %3d  %3d   %3d" % (
                lead, row["horse"]["number"], row["horse"]["name"],
                row["pace"][0], row["pace"][1], row["pace"][2], row["best"]))
        lines.append("")
    lines += [
        "Three best recent figures per race; pace ratings average the last",
        "five starts.  See the A pages for every runner.",
        "",
        footer_line(code, "summary"),
    ]
    return name, lines


def odds_table(field):
    """The odds table: header, start rule, entries, closing rule."""
    horses = field["horses"]
    weights = []
    for row in field_ratings(field):
        score = row["best"] + sum(row["pace"]) / 3.0
        weights.append(2.0 ** (score / 10.0))
    total = sum(weights)
    header = placed((6, "#"), (9, "Horse"), (28, "Trainer"), (44, "Best"),
                    (51, "E"), (55, "M"), (59, "L"), (72, "ML"),
                    (75, "Fair"))
    rule = " " * 4 + H * 65 + H * 2 + TT + H * 4 + TT + H * 3
    lines = [header, rule]
    for horse, row, weight in zip(horses, field_ratings(field), weights):
        fair = total / weight - 1.0
        left = "    %2d  %-18s %-15s  %3d %3d %3d %3d" % (
            horse["number"], horse["name"], horse["trainer"], row["best"],
            row["pace"][0], row["pace"][1], row["pace"][2])
        line = left.ljust(69) + odds_cell(horse["ml"]) + " " \
            + odds_cell(fair) + "  "
        assert len(line) == 80 and line[71] == "." and line[76] == ".", line
        lines.append(line)
    lines.append(" " * 4 + H * 76)
    assert len(rule) == 80 and rule[69:78] == H * 2 + TT + H * 4 + TT + H
    return lines


def e_page(code, field):
    race = field["race"]
    name = "E%02d%s" % (race["number"], code)
    lines = [
        marker(name, "%s  Race %d  performances" % (code, race["number"])),
        title_line("E-Report"),
        race_line(race),
        "Reference line %d   Field %d" % (field["reference"],
                                          len(field["horses"])),
        "",
    ]
    lines += odds_table(field)
    lines.append("")
    for horse in field["horses"]:
        lines += horse_table(horse)
        lines.append("")
    lines.append(footer_line(code, "Race %d" % race["number"]))
    return name, lines


def b_page(code, field):
    race = field["race"]
    name = "B%02d%s" % (race["number"], code)
    lines = [
        marker(name, "%s  Race %d  recent form" % (code, race["number"])),
        title_line("B-Report"),
        race_line(race),
        "Reference line %d   last three starts of each runner"
        % field["reference"],
        "",
    ]
    for horse in field["horses"]:
        lines += horse_table(horse, limit=3)
        lines.append("")
    lines.append(footer_line(code, "Race %d" % race["number"]))
    return name, lines


def e_page_length(field):
    return len(e_page(field["race"]["code"], field)[1])


def fit_e_field(field, most=88):
    """Shorten the longest records until the E page fits `most` lines."""
    while e_page_length(field) > most:
        horse = max(field["horses"], key=lambda h: (h["count"], -h["number"]))
        if horse["count"] <= 3:
            break
        horse["count"] -= 1


def build_day(schedule):
    names = NamePool()
    pages = []
    for code, count, with_e, with_b in REPORT_TRACKS:
        fields = []
        for race in schedule[code][:count]:
            rng = name_rng("size", code, race["number"])
            size = rng.randint(6, 8) if with_e else rng.randint(6, 11)
            field = make_field(code, race, size, names)
            if with_e:
                fit_e_field(field)
            fields.append(field)
        for field in fields:
            pages.append(a_page(code, field))
        pages.append(x_page(code, fields))
        if with_e:
            for field in fields:
                pages.append(e_page(code, field))
        if with_b:
            for field in fields[:4]:
                pages.append(b_page(code, field))
    return pages


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------

def encode_lines(lines):
    return b"".join(line.encode("cp437") + b"\r\n" for line in lines)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else \
        os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    schedule, schedule_lines = build_schedule()
    assert len(schedule_lines) == 112

    intro = [
        "%s race day text for %s" % (PRODUCT, DATE_TEXT),
        "Tracks with reports: %s" % " ".join(t[0] for t in REPORT_TRACKS),
        "",
    ]
    text = list(intro)
    for _, page in build_day(schedule):
        text += page

    os.makedirs(os.path.join(root, "resources", "sample"), exist_ok=True)
    with open(os.path.join(root, "resources", "SimoDump.LST"), "wb") as f:
        f.write(encode_lines(schedule_lines))
    with open(os.path.join(root, "resources", "sample", "Vantrose.TXT"),
              "wb") as f:
        f.write(encode_lines(text))


if __name__ == "__main__":
    main()

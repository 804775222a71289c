#include "sample_day/sample_day.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

#include "import/race_data.h"

namespace {

// ---- Bytes of the text (code page 437) ----

constexpr char kFormFeed = '\x0C';
constexpr char kEndOfText = '\x1A';
constexpr char kVertical = '\xB3';
constexpr char kHorizontal = '\xC4';
constexpr char kTopLeft = '\xDA';
constexpr char kTopRight = '\xBF';
constexpr char kBottomLeft = '\xC0';
constexpr char kBottomRight = '\xD9';
constexpr char kTopTee = '\xC2';
constexpr char kBottomTee = '\xC1';
constexpr char kLeftTee = '\xC3';
constexpr char kRightTee = '\xB4';
constexpr char kCross = '\xC5';
// "ID: ", then the user-id marker byte 1 and three filler bytes that decoding replaces.
constexpr std::string_view kUserIdField =
    "ID: \x01"
    "xxx";
constexpr std::string_view kProduct = "Ravelstow VANTROSE";
constexpr std::size_t kMaxRecords = 65535;

// A performance table spans columns 42 to 64: the runner's text stands in columns 1 to 41,
// the date box in 43 to 50, the race box in 52 to 63.
constexpr std::size_t kTableLeftWidth = 41;

std::string Repeat(char c, std::size_t count) { return std::string(count, c); }

std::string TableTop() { return kTopLeft + Repeat(kHorizontal, 8) + kTopTee + Repeat(kHorizontal, 12) + kTopRight; }
std::string TableSpacer() { return kLeftTee + Repeat(kHorizontal, 8) + kCross + Repeat(kHorizontal, 12) + kRightTee; }
std::string TableBottom() {
  return kBottomLeft + Repeat(kHorizontal, 8) + kBottomTee + Repeat(kHorizontal, 12) + kBottomRight;
}

// printf into a std::string; only integer and string conversions are used, so the text is
// the same everywhere.
std::string Format(const char* format, ...) {
  char buffer[256];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  return std::string(buffer, static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(sizeof buffer) - 1)));
}

std::string PadRight(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// A line with each text placed at its 1-based column.
std::string Placed(std::initializer_list<std::pair<std::size_t, std::string_view>> items) {
  std::string line;
  for (const auto& [column, text] : items) {
    line = PadRight(line, column - 1);
    line += text;
  }
  return line;
}

// A value in tenths with one decimal, right-aligned in four characters: 85 gives " 8.5".
std::string Decimal(int tenths) { return Format("%4s", Format("%d.%d", tenths / 10, tenths % 10).c_str()); }

// An odds value as the odds table holds it: like Decimal, but below 1 without the zero ("  .5").
std::string OddsCell(int tenths) { return tenths < 10 ? Format("  .%d", tenths) : Decimal(tenths); }

// Odds as a fraction: 25 (2.5) gives "5-2", 80 gives "8-1".
std::string OddsFraction(int tenths) {
  return tenths % 10 == 0 ? Format("%d-1", tenths / 10) : Format("%d-2", tenths / 5);
}

// ---- Deterministic random numbers: SplitMix64, seeded from a text key ----
// Draws are made one per statement (or in the sequenced parts of ?: and &&), never two
// in one expression whose evaluation order the compiler may choose.

class SampleRandom {
 public:
  explicit SampleRandom(std::string_view key) {
    std::uint64_t hash = 0xCBF29CE484222325ull;  // FNV-1a
    for (const char c : key) hash = (hash ^ static_cast<std::uint8_t>(c)) * 0x100000001B3ull;
    m_state = hash;
  }

  std::uint64_t Next() {
    m_state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A whole number from `low` to `high`, both included.
  int Between(int low, int high) { return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1)); }
  bool Percent(int chance) { return Between(0, 99) < chance; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
  }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(Between(0, static_cast<int>(N) - 1))];
  }

 private:
  std::uint64_t m_state = 0;
};

// ---- Fixed facts of a race day ----

// The track groups' codes, group by group; a horse races mostly in its home track's group
// and the next one.
constexpr std::array<std::string_view, 25> kRegions = {
    "Tam",
    "GGx Fer SRx Sac Fno",
    "SAx Dmr LRC LAx",
    "Del",
    "Cby EmD",
    "GPx GPW OTC",
    "WOx",
    "Ind",
    "APx Haw FAN",
    "Mth Med",
    "CDx Kee TPx ElP KDx",
    "FGx LaD",
    "Pim Lrl Tim Cnl",
    "Pen",
    "MVR Tdn BtP PrM",
    "Prx",
    "PID FEx",
    "OPx RPx WRD FMT",
    "Sun TuP Zia Ril SrP",
    "LSx Hou Ret",
    "DeD EvD",
    "CTx",
    "Mnr",
    "FLx",
    "Bel Aqu Sar",
};

struct RaceClass {
  std::string_view label;
  int purse;
  int lowStrength;
  int highStrength;
};
constexpr std::array<RaceClass, 8> kClasses = {{
    {"MdC", 25000, 58, 70},
    {"Msw", 58000, 66, 80},
    {"Clm", 16000, 66, 78},
    {"Clm", 25000, 70, 82},
    {"Clm", 40000, 74, 86},
    {"Alw", 62000, 80, 94},
    {"AOC", 75000, 84, 98},
    {"Stk", 100000, 92, 110},
}};
constexpr int kStakes = 7;

const std::vector<int> kDirtSprints = {50, 55, 60, 60, 65, 70};
const std::vector<int> kDirtRoutes = {80, 80, 85, 85, 90, 100};
const std::vector<int> kTurfDistances = {50, 55, 80, 80, 85, 90, 95, 100, 110, 120};
const std::vector<int> kMorningLines = {10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 80, 100, 120, 150, 200, 300};

constexpr std::array<std::string_view, 36> kFirstNames = {
    "Amber",  "Brisk",  "Cedar",   "Copper",  "Dusty",   "Ember",    "Falcon",  "Gilded",   "Harbor",
    "Iron",   "Jade",   "Kestrel", "Lantern", "Maple",   "Midnight", "Noble",   "Orchard",  "Pepper",
    "Quiet",  "Rapid",  "River",   "Saffron", "Silver",  "Stormy",   "Thistle", "Timber",   "Velvet",
    "Willow", "Winter", "Zephyr",  "Canyon",  "Bramble", "Prairie",  "Misty",   "Northern", "Crimson",
};
constexpr std::array<std::string_view, 36> kSecondNames = {
    "Arrow",  "Ballad",  "Beacon",  "Charm",    "Comet",   "Crown",  "Dancer",  "Echo",   "Flight",
    "Gambit", "Glory",   "Harvest", "Journey",  "Legend",  "Lark",   "Melody",  "Meadow", "Monarch",
    "Outlaw", "Promise", "Quest",   "Ranger",   "Rebel",   "Riddle", "Rocket",  "Rumor",  "Spirit",
    "Sonnet", "Tempest", "Thunder", "Traveler", "Venture", "Voyage", "Whisper", "Wonder", "Ridge",
};
constexpr std::array<std::string_view, 20> kTrainers = {
    "Abernook T",   "Balfry M",    "Castellane R", "Dunmore P",   "Eskridge L",  "Fairleigh S",  "Garrowby J",
    "Hollenbeck D", "Ilsworth C",  "Jarnac B",     "Kettering W", "Lindqvist A", "Morrow-Bay K", "Nethercott G",
    "Oakhurst F",   "Pellworth N", "Quillan E",    "Rostrevor H", "Sallow V",    "Tenbury O",
};
constexpr std::array<std::string_view, 4> kDirtConditions = {"ft", "gd", "sy", "my"};
constexpr std::array<std::string_view, 4> kTurfConditions = {"fm", "gd", "yl", "sf"};

// ---- The race card ----

struct Race {
  std::string track;
  int trackSequence = 0;  // the track's place in the day's text, 1 upward
  int number = 0;
  int postMinutes = 0;     // minutes after noon
  int distanceTenths = 0;  // furlongs, in tenths
  bool turf = false;
  int classIndex = 0;
};

struct PastStart {
  int day = 0;  // day number
  std::string track;
  int raceNumber = 0;
  int distanceTenths = 0;
  bool turf = false;
  std::string_view condition;
  int classIndex = 0;
  int strength = 0, speed = 0, early = 0, middle = 0, late = 0;
  int finish = 0, fieldSize = 0;
  int daysBefore = 0;  // days since the start before this one
};

struct Horse {
  int number = 0;
  std::string name;
  int age = 0;
  char sex = 'g';
  std::string_view trainer;
  int morningLine = 0;            // tenths
  std::vector<PastStart> starts;  // newest first
};

struct Field {
  Race race;
  int reference = 0;  // the speed rating a typical winner of this race earns
  std::vector<Horse> horses;
};

// Minutes after noon as a 12-hour clock without a leading zero: 75 gives " 1:15".
std::string ClockText(int minutes) {
  int hour = 12 + minutes / 60;
  if (hour > 12) hour -= 12;
  return Format("%2d:%02d", hour, minutes % 60);
}

std::string ShortDate(int day) {
  static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const CalendarDate date = DayToDate(static_cast<std::uint16_t>(day));
  return Format("%02d%.3s%02d", date.day, kMonths.data() + 3 * (date.month - 1), date.year % 100);
}

int YearOf(int day) { return DayToDate(static_cast<std::uint16_t>(day)).year; }

std::string ClassText(int classIndex) {
  const RaceClass& raceClass = kClasses[static_cast<std::size_t>(classIndex)];
  return Format("%.*s %d", static_cast<int>(raceClass.label.size()), raceClass.label.data(), raceClass.purse);
}

// The class of a race: the same for a track and race number on every day made.
int RaceClassOf(const std::string& track, int number, bool lastRace) {
  SampleRandom random("class/" + track + "/" + std::to_string(number));
  int classIndex = random.Between(0, static_cast<int>(kClasses.size()) - 1);
  if (lastRace && random.Percent(50)) classIndex = kStakes;
  return classIndex;
}

void PickSurfaceAndDistance(SampleRandom& random, int turfPercent, Race& race) {
  race.turf = random.Percent(turfPercent);
  race.distanceTenths = race.turf            ? random.Pick(kTurfDistances)
                        : random.Percent(60) ? random.Pick(kDirtSprints)
                                             : random.Pick(kDirtRoutes);
}

// Reads a right-aligned number (leading blanks, then digits only); -1 when there is none.
int ReadNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return -1;
  int value = 0;
  for (const char c : text.substr(first)) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The races of the schedule, track by track in order of the track's first line. A line that
// does not hold post time, race number, track and distance in their columns is skipped.
std::vector<std::vector<Race>> ScheduleCards(std::string_view schedule) {
  std::vector<std::vector<Race>> cards;
  std::map<std::string, std::size_t> cardOfTrack;
  std::size_t start = 0;
  while (start < schedule.size()) {
    std::size_t end = schedule.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = schedule.size();
    const std::string_view line = schedule.substr(start, end - start);
    start = end + (schedule.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (line.size() < 33 || line[10] != ':') continue;
    const int hour = ReadNumber(line.substr(8, 2));
    const int minute = ReadNumber(line.substr(11, 2));
    const int number = ReadNumber(line.substr(16, 2));
    const int wholeFurlongs = ReadNumber(line.substr(26, 2));
    const int tenthFurlongs = ReadNumber(line.substr(29, 1));
    if (hour < 1 || hour > 12 || minute < 0 || number < 1 || number > 99 || wholeFurlongs < 1 || tenthFurlongs < 0 ||
        line[28] != '.')
      continue;
    Race race;
    race.track = std::string(line.substr(19, 3));
    race.number = number;
    race.postMinutes = (hour % 12) * 60 + minute;
    race.distanceTenths = wholeFurlongs * 10 + tenthFurlongs;
    race.turf = line[32] == 'T';
    const auto [place, added] = cardOfTrack.try_emplace(race.track, cards.size());
    if (added) cards.emplace_back();
    cards[place->second].push_back(race);
  }
  for (std::vector<Race>& card : cards) {
    std::sort(card.begin(), card.end(), [](const Race& a, const Race& b) { return a.number < b.number; });
    card.erase(std::unique(card.begin(), card.end(), [](const Race& a, const Race& b) { return a.number == b.number; }),
               card.end());
    for (std::size_t i = 0; i < card.size(); ++i) card[i].number = static_cast<int>(i) + 1;
    for (Race& race : card)
      race.classIndex = RaceClassOf(race.track, race.number, race.number == static_cast<int>(card.size()));
  }
  return cards;
}

// The card of a track that the schedule does not list: 8 to 12 races about 25 minutes apart.
std::vector<Race> MadeUpCard(const std::string& track) {
  SampleRandom random("card/" + track);
  const int raceCount = random.Between(8, 12);
  const int turfPercent = random.Between(15, 40);
  int post = random.Between(0, 24) * 5;
  std::vector<Race> card;
  for (int number = 1; number <= raceCount; ++number) {
    Race race;
    race.track = track;
    race.number = number;
    race.postMinutes = post;
    PickSurfaceAndDistance(random, turfPercent, race);
    race.classIndex = RaceClassOf(track, number, number == raceCount);
    card.push_back(race);
    post += random.Between(22, 32);
  }
  return card;
}

// The tracks a horse based at `home` has raced at, its home track weighted most.
std::vector<std::string> CircuitOf(const std::string& home) {
  std::vector<std::string> circuit(3, home);
  for (std::size_t group = 0; group < kRegions.size(); ++group) {
    if (kRegions[group].find(home) == std::string_view::npos) continue;
    const std::string_view neighbours[] = {kRegions[group], kRegions[(group + 1) % kRegions.size()]};
    for (const std::string_view region : neighbours)
      for (std::size_t at = 0; at + 3 <= region.size(); at += 4) circuit.emplace_back(region.substr(at, 3));
    break;
  }
  return circuit;
}

// ---- Runners ----

// Past starts, newest first: `count` of them, each knowing the days since the one before.
std::vector<PastStart> PastStarts(SampleRandom& random, const std::vector<std::string>& circuit, int raceDay,
                                  int ability, const std::array<int, 3>& style, int count, bool turfToday) {
  std::vector<PastStart> starts;
  int day = raceDay - (random.Percent(12) ? random.Between(95, 200) : random.Between(9, 60));
  for (int i = 0; i <= count; ++i) {  // one more than shown, for the gap before the oldest
    PastStart start;
    start.day = day;
    start.track = random.Pick(circuit);
    start.raceNumber = random.Between(1, 11);
    start.turf = random.Percent(turfToday ? 55 : 20);
    start.distanceTenths = start.turf           ? random.Pick(kTurfDistances)
                           : random.Percent(50) ? random.Pick(kDirtSprints)
                                                : random.Pick(kDirtRoutes);
    const bool wet = random.Percent(25);
    start.condition =
        wet ? (start.turf ? kTurfConditions : kDirtConditions)[static_cast<std::size_t>(random.Between(1, 3))]
            : (start.turf ? kTurfConditions[0] : kDirtConditions[0]);
    start.classIndex = random.Between(0, static_cast<int>(kClasses.size()) - 1);
    const RaceClass& raceClass = kClasses[static_cast<std::size_t>(start.classIndex)];
    start.strength = random.Between(raceClass.lowStrength, raceClass.highStrength);
    start.speed = std::clamp(ability + random.Between(-12, 8), 30, 115);
    start.early = std::clamp(start.speed + style[0] + random.Between(-6, 6), 40, 110);
    start.middle = std::clamp(start.speed + style[1] + random.Between(-6, 6), 40, 110);
    start.late = std::clamp(start.speed + style[2] + random.Between(-6, 6), 40, 110);
    start.fieldSize = random.Between(6, 12);
    start.finish = random.Between(1, start.fieldSize);
    starts.push_back(start);
    day -= random.Percent(10) ? random.Between(92, 180) : random.Between(14, 49);
  }
  for (std::size_t i = 0; i + 1 < starts.size(); ++i) starts[i].daysBefore = starts[i].day - starts[i + 1].day;
  starts.pop_back();
  return starts;
}

// The runners of one race. Horse names are unique at a track for the day (`usedNames`).
// Every field has one veteran with 15 to 18 starts; the others have 1 to 12.
Field MakeField(const Race& race, int raceDay, std::set<std::string>& usedNames) {
  SampleRandom random("field/" + race.track + "/" + std::to_string(race.number));
  const RaceClass& raceClass = kClasses[static_cast<std::size_t>(race.classIndex)];
  Field field;
  field.race = race;
  field.reference = (raceClass.lowStrength + raceClass.highStrength) / 2 + 4;
  const int size = random.Between(6, 10);
  const int veteran = race.number % size;
  const std::vector<std::string> circuit = CircuitOf(race.track);
  static const std::vector<std::array<int, 3>> kStyles = {{8, 2, -6}, {4, 3, -2}, {-2, 1, 4}, {-7, -1, 9}};
  for (int index = 0; index < size; ++index) {
    Horse horse;
    horse.number = index + 1;
    do {
      // Two statements: the order of the draws must not depend on the compiler.
      horse.name = std::string(random.Pick(kFirstNames)) + " ";
      horse.name += random.Pick(kSecondNames);
    } while (!usedNames.insert(horse.name).second);
    horse.age = index == veteran ? random.Between(5, 8) : random.Between(3, 7);
    horse.sex = horse.age <= 4 ? "cfg"[random.Between(0, 2)] : "hmg"[random.Between(0, 2)];
    horse.trainer = random.Pick(kTrainers);
    const std::array<int, 3>& style = random.Pick(kStyles);
    const int ability = field.reference + random.Between(-14, 8);
    const int count = index == veteran     ? random.Between(15, 18)
                      : random.Percent(10) ? random.Between(1, 2)
                                           : random.Between(3, 12);
    horse.starts = PastStarts(random, circuit, raceDay, ability, style, count, race.turf);
    field.horses.push_back(std::move(horse));
  }
  // Morning line from the recent figures, with a little noise.
  const auto recent = [](const Horse& horse) {
    const std::size_t count = std::min<std::size_t>(3, horse.starts.size());
    int sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum += horse.starts[i].speed;
    return sum * 6 / static_cast<int>(count);  // a common multiple keeps the average whole
  };
  std::vector<Horse*> order;
  for (Horse& horse : field.horses) order.push_back(&horse);
  std::stable_sort(order.begin(), order.end(), [&](const Horse* a, const Horse* b) { return recent(*a) > recent(*b); });
  for (std::size_t rank = 0; rank < order.size(); ++rank) {
    const int ladder = std::clamp(2 + static_cast<int>(rank) * 2 + random.Between(-1, 1), 0,
                                  static_cast<int>(kMorningLines.size()) - 1);
    order[rank]->morningLine = kMorningLines[static_cast<std::size_t>(ladder)];
  }
  return field;
}

// ---- Ratings for the A, X and odds lines ----

struct Rating {
  const Horse* horse = nullptr;
  std::array<int, 3> pace{};         // early, middle, late: averages over the last five starts
  std::array<char, 3> paceMark{};    // '*' best of the field, '+' second best
  std::vector<std::string> figures;  // five cells, oldest first, symbol and figure
  int best = 0;
  char bestMark = ' ';
};

// The symbol in front of figure `i` of `starts` (newest first); the first that applies of / . - ~.
char FigureSymbol(const std::vector<PastStart>& starts, std::size_t i) {
  const PastStart& start = starts[i];
  if (start.daysBefore >= 90) return '/';
  if (start.condition == "sy" || start.condition == "my") return '.';
  if (start.turf) return '-';
  if (i + 1 < starts.size()) {
    const int before = starts[i + 1].distanceTenths;
    if (std::abs(before - start.distanceTenths) >= 10 || (before < 80) != (start.distanceTenths < 80)) return '~';
  }
  return ' ';
}

// '*' for the highest value, '+' for the second; the earlier runner wins a tie.
std::vector<char> Marks(const std::vector<int>& values) {
  std::vector<std::size_t> order(values.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] > values[b]; });
  std::vector<char> marks(values.size(), ' ');
  if (!order.empty()) marks[order[0]] = '*';
  if (order.size() > 1) marks[order[1]] = '+';
  return marks;
}

std::vector<Rating> FieldRatings(const Field& field) {
  std::vector<Rating> ratings;
  for (const Horse& horse : field.horses) {
    Rating rating;
    rating.horse = &horse;
    const std::size_t recent = std::min<std::size_t>(5, horse.starts.size());
    std::array<int, 3> sums{};
    for (std::size_t i = 0; i < recent; ++i) {
      const PastStart& start = horse.starts[i];
      sums[0] += start.early;
      sums[1] += start.middle;
      sums[2] += start.late;
      rating.best = std::max(rating.best, start.speed);
      rating.figures.insert(rating.figures.begin(), Format("%c%3d", FigureSymbol(horse.starts, i), start.speed));
    }
    while (rating.figures.size() < 5) rating.figures.insert(rating.figures.begin(), "    ");
    for (std::size_t k = 0; k < 3; ++k)
      rating.pace[k] = (2 * sums[k] + static_cast<int>(recent)) / (2 * static_cast<int>(recent));
    ratings.push_back(std::move(rating));
  }
  for (std::size_t k = 0; k < 3; ++k) {
    std::vector<int> column;
    for (const Rating& rating : ratings) column.push_back(rating.pace[k]);
    const std::vector<char> marks = Marks(column);
    for (std::size_t i = 0; i < ratings.size(); ++i) ratings[i].paceMark[k] = marks[i];
  }
  std::vector<int> bests;
  for (const Rating& rating : ratings) bests.push_back(rating.best);
  const std::vector<char> marks = Marks(bests);
  for (std::size_t i = 0; i < ratings.size(); ++i) ratings[i].bestMark = marks[i];
  return ratings;
}

// ---- Pages ----

using Lines = std::vector<std::string>;

struct Page {
  std::string name;
  Lines lines;
};

struct DayFacts {
  std::string dateText;  // "Tue 12-Jul-2016"
  int raceDay = 0;
};

std::string MarkerLine(const std::string& name, const std::string& subject) {
  return std::string(1, kFormFeed) + "@" + name + "   " + subject;
}

std::string TitleLine(std::string_view kind) {
  return PadRight(std::string(kProduct) + "  " + std::string(kind), 33) + std::string(kUserIdField);
}

std::string FooterLine(const DayFacts& day, const std::string& track, const std::string& what) {
  return PadRight(std::string(kProduct) + "  " + day.dateText.substr(4) + "  " + track + " " + what, 47) +
         std::string(kUserIdField);
}

std::string RaceLine(const DayFacts& day, const Race& race) {
  std::string post = ClockText(race.postMinutes);
  if (post.front() == ' ') post.erase(0, 1);
  return Format("%s  %s  Race %d  Post %s  %sf %s  %s", day.dateText.c_str(), race.track.c_str(), race.number,
                post.c_str(), Decimal(race.distanceTenths).c_str(), race.turf ? "Turf" : "Dirt",
                ClassText(race.classIndex).c_str());
}

// Report names as delivered: the letter, the track's place in the day (two digits) and
// its code, then the race number. Sorting by name therefore keeps each track's pages
// together, in race order, so the page list shows them track by track.
std::string PageName(char letter, const Race& race) {
  return Format("%c%02d%s%02d", letter, race.trackSequence, race.track.c_str(), race.number);
}

// The one page of a track that covers all its races.
std::string TrackPageName(char letter, const Race& anyRace) {
  return Format("%c%02d%s", letter, anyRace.trackSequence, anyRace.track.c_str());
}

// The odds table the scratch editor works on: a heading, the start rule (80 characters, the
// tees at columns 72 and 77 above the decimal points), one entry line of exactly 80 characters
// per runner with the morning line in columns 70 to 73 and the fair odds in 75 to 78, and a
// closing rule that is no entry line and so ends the table.
Lines OddsTable(const Field& field) {
  const std::vector<Rating> ratings = FieldRatings(field);
  // The fair odds share the chances out by the eighth power of each runner's score. Whole
  // numbers keep the digits the same on every platform: a score is at most 675 / 6 = 112,
  // so 31 runners' weights times 20 stay below 2^64.
  std::vector<std::uint64_t> weights;
  std::uint64_t total = 0;
  for (const Rating& rating : ratings) {
    const auto base =
        static_cast<std::uint64_t>(rating.best * 3 + rating.pace[0] + rating.pace[1] + rating.pace[2]) / 6;
    std::uint64_t weight = 1;
    for (int i = 0; i < 8; ++i) weight *= std::max<std::uint64_t>(base, 1);
    weights.push_back(weight);
    total += weight;
  }
  Lines lines = {
      Placed({{6, "#"},
              {9, "Horse"},
              {28, "Trainer"},
              {44, "Best"},
              {51, "E"},
              {55, "M"},
              {59, "L"},
              {72, "ML"},
              {75, "Fair"}}),
      Repeat(' ', 4) + Repeat(kHorizontal, 67) + kTopTee + Repeat(kHorizontal, 4) + kTopTee + Repeat(kHorizontal, 3),
  };
  for (std::size_t i = 0; i < ratings.size(); ++i) {
    const Horse& horse = *ratings[i].horse;
    // Odds (total - weight) / weight in tenths, rounded half up.
    const std::uint64_t tenths = (20 * (total - weights[i]) + weights[i]) / (2 * weights[i]);
    const int fair = static_cast<int>(std::clamp<std::uint64_t>(tenths, 1, 999));
    const std::string left = Format("    %2d  %-18s %-15.*s  %3d %3d %3d %3d", horse.number, horse.name.c_str(),
                                    static_cast<int>(horse.trainer.size()), horse.trainer.data(), ratings[i].best,
                                    ratings[i].pace[0], ratings[i].pace[1], ratings[i].pace[2]);
    lines.push_back(PadRight(left, 69) + OddsCell(horse.morningLine) + " " + OddsCell(fair) + "  ");
  }
  lines.push_back(Repeat(' ', 4) + Repeat(kHorizontal, 76));
  return lines;
}

// One runner's performance table, newest start first, at most `limit` starts.
Lines HorseTable(const DayFacts& day, const Horse& horse, std::size_t limit) {
  const std::size_t shown = std::min(limit, horse.starts.size());
  Lines lines;
  const std::string left = Format("%2d %-18s %d%c  %-15.*s", horse.number, horse.name.c_str(), horse.age, horse.sex,
                                  static_cast<int>(horse.trainer.size()), horse.trainer.data());
  lines.push_back(left + TableTop() +
                  Format(" Off %3dd  %s", day.raceDay - horse.starts[0].day, OddsFraction(horse.morningLine).c_str()));
  for (std::size_t i = 0; i < shown; ++i) {
    const PastStart& start = horse.starts[i];
    const std::string runner = Format("  %4d %.2s %c  %3d %3d %3d  %3d %3d %2d/%-2d", start.daysBefore,
                                      start.condition.data(), start.turf ? 'T' : 'D', start.early, start.middle,
                                      start.late, start.speed, start.strength, start.finish, start.fieldSize);
    lines.push_back(PadRight(runner, kTableLeftWidth) + kVertical + " " + ShortDate(start.day) + kVertical +
                    Format("%2d %s %sf", start.raceNumber, start.track.c_str(), Decimal(start.distanceTenths).c_str()) +
                    kVertical + " " + ClassText(start.classIndex));
    // A year row where the starts below were run in an earlier year.
    if (i + 1 < shown && YearOf(start.day) != YearOf(horse.starts[i + 1].day))
      lines.push_back(PadRight(Format("      %d", YearOf(horse.starts[i + 1].day)), kTableLeftWidth) + TableSpacer());
  }
  lines.push_back(Repeat(' ', kTableLeftWidth) + TableBottom());
  return lines;
}

void Append(Lines& lines, const Lines& more) { lines.insert(lines.end(), more.begin(), more.end()); }

Page APage(const DayFacts& day, const Field& field) {
  const Race& race = field.race;
  const Horse& favourite =
      *std::min_element(field.horses.begin(), field.horses.end(),
                        [](const Horse& a, const Horse& b) { return a.morningLine < b.morningLine; });
  Page page{PageName('A', race), {}};
  page.lines = {
      MarkerLine(page.name, Format("%s  Race %d  pace and effort", race.track.c_str(), race.number)),
      TitleLine("A-Report"),
      RaceLine(day, race),
      Format("Field %d   morning line favourite #%d", static_cast<int>(field.horses.size()), favourite.number),
      "",
      Placed({{30, "---- Pace ---"}, {47, "-------- Final figures -----"}, {77, "Best"}}),
      Placed({{1, " #"},
              {5, "Horse"},
              {24, "Age"},
              {30, "Erl"},
              {35, "Mid"},
              {40, "Lte"},
              {47, "oldest"},
              {69, "newest"},
              {77, "Fig"}}),
      "",
  };
  for (const Rating& rating : FieldRatings(field)) {
    const Horse& horse = *rating.horse;
    std::string pace;
    for (std::size_t k = 0; k < 3; ++k) pace += Format("%3d%c ", rating.pace[k], rating.paceMark[k]);
    std::string figures;
    for (const std::string& figure : rating.figures) figures += (figures.empty() ? "" : " ") + figure + " ";
    page.lines.push_back(Format("%2d  %-18s  %d%c   %s  %s %3d%c", horse.number, horse.name.c_str(), horse.age,
                                horse.sex, pace.c_str(), figures.c_str(), rating.best, rating.bestMark));
    const PastStart& last = horse.starts[0];
    page.lines.push_back(Format(
        "    Trn %-15.*s Last %s %s %sf %.2s  %d/%d   ML %s", static_cast<int>(horse.trainer.size()),
        horse.trainer.data(), ShortDate(last.day).c_str(), last.track.c_str(), Decimal(last.distanceTenths).c_str(),
        last.condition.data(), last.finish, last.fieldSize, OddsFraction(horse.morningLine).c_str()));
    page.lines.push_back("");
  }
  Append(page.lines, OddsTable(field));
  Append(page.lines, {
                         "",
                         "Symbols:  . sloppy or muddy   - turf   ~ distance change   / 90+ days off",
                         "          * best in the field   + second best",
                         "",
                         FooterLine(day, race.track, Format("Race %d", race.number)),
                     });
  return page;
}

Page XPage(const DayFacts& day, const Race& anyRace, const std::vector<const Field*>& fields) {
  const std::string& track = anyRace.track;
  Page page{TrackPageName('X', anyRace), {}};
  page.lines = {
      MarkerLine(page.name, track + "  main track summary"),
      TitleLine("X-Report"),
      Format("%s  %s  %d races", day.dateText.c_str(), track.c_str(), static_cast<int>(fields.size())),
      "",
      Placed({{1, "Race"},
              {7, "Post"},
              {14, "Dist"},
              {24, "#"},
              {27, "Horse"},
              {47, "Erl"},
              {52, "Mid"},
              {57, "Lte"},
              {62, "Best"}}),
      "",
  };
  for (const Field* field : fields) {
    std::vector<Rating> ratings = FieldRatings(*field);
    std::stable_sort(ratings.begin(), ratings.end(), [](const Rating& a, const Rating& b) { return a.best > b.best; });
    const Race& race = field->race;
    const std::string head = Format("%4d  %5s  %sf %c", race.number, ClockText(race.postMinutes).c_str(),
                                    Decimal(race.distanceTenths).c_str(), race.turf ? 'T' : ' ');
    for (std::size_t i = 0; i < std::min<std::size_t>(3, ratings.size()); ++i) {
      const Rating& rating = ratings[i];
      page.lines.push_back(Format("%s  %2d  %-18s  %3d  %3d  %3d   %3d",
                                  i == 0 ? head.c_str() : Repeat(' ', head.size()).c_str(), rating.horse->number,
                                  rating.horse->name.c_str(), rating.pace[0], rating.pace[1], rating.pace[2],
                                  rating.best));
    }
    page.lines.push_back("");
  }
  Append(page.lines, {
                         "Three best recent figures per race; pace ratings average the last",
                         "five starts.  See the A pages for every runner.",
                         "",
                         FooterLine(day, track, "summary"),
                     });
  return page;
}

Page EPage(const DayFacts& day, const Field& field) {
  const Race& race = field.race;
  Page page{PageName('E', race), {}};
  page.lines = {
      MarkerLine(page.name, Format("%s  Race %d  performances", race.track.c_str(), race.number)),
      TitleLine("E-Report"),
      RaceLine(day, race),
      Format("Reference line %d   Field %d", field.reference, static_cast<int>(field.horses.size())),
      "",
  };
  Append(page.lines, OddsTable(field));
  page.lines.push_back("");
  for (const Horse& horse : field.horses) {
    Append(page.lines, HorseTable(day, horse, horse.starts.size()));
    page.lines.push_back("");
  }
  page.lines.push_back(FooterLine(day, race.track, Format("Race %d", race.number)));
  return page;
}

Page BPage(const DayFacts& day, const Field& field) {
  const Race& race = field.race;
  Page page{PageName('B', race), {}};
  page.lines = {
      MarkerLine(page.name, Format("%s  Race %d  recent form", race.track.c_str(), race.number)),
      TitleLine("B-Report"),
      RaceLine(day, race),
      Format("Reference line %d   last three starts of each runner", field.reference),
      "",
  };
  for (const Horse& horse : field.horses) {
    Append(page.lines, HorseTable(day, horse, 3));
    page.lines.push_back("");
  }
  page.lines.push_back(FooterLine(day, race.track, Format("Race %d", race.number)));
  return page;
}

// A page of late changes; its letter is none of the four kinds, so it is never listed.
Page ChangesPage(const DayFacts& day, const std::string& name, const std::vector<const Field*>& fields) {
  const std::string track = name.substr(3, 3);
  Page page{name, {}};
  page.lines = {
      MarkerLine(name, track + "  late changes"),
      TitleLine("Changes"),
      Format("%s  %s  scratches and changes", day.dateText.c_str(), track.c_str()),
      "",
  };
  SampleRandom random("changes/" + name);
  for (const Field* field : fields) {
    const Horse& horse = random.Pick(field->horses);
    static const std::vector<std::string_view> kReasons = {"scratched (vet)", "scratched (trainer)",
                                                           "blinkers on",     "first time Lasix",
                                                           "jockey change",   "scratched (also eligible)"};
    const std::string_view reason = random.Pick(kReasons);
    page.lines.push_back(Format("Race %2d   #%-2d %-18s %.*s", field->race.number, horse.number, horse.name.c_str(),
                                static_cast<int>(reason.size()), reason.data()));
  }
  Append(page.lines, {"", "Scratch a runner on its A page: mark its odds line with ! in ScratchX.", "",
                      FooterLine(day, track, "changes")});
  return page;
}

// ---- The day ----

// One track's races and the fields made for them, in race order so that every field's
// names are the same however many races a day uses.
class TrackDay {
 public:
  TrackDay(std::vector<Race> card, int raceDay) : m_card(std::move(card)), m_raceDay(raceDay) {}

  const std::string& Track() const { return m_card.front().track; }
  int RaceCount() const { return static_cast<int>(m_card.size()); }

  const Field& FieldOf(int raceNumber) {
    while (static_cast<int>(m_fields.size()) < raceNumber)
      m_fields.push_back(MakeField(m_card[m_fields.size()], m_raceDay, m_usedNames));
    return m_fields[static_cast<std::size_t>(raceNumber) - 1];
  }

 private:
  std::vector<Race> m_card;
  int m_raceDay;
  std::deque<Field> m_fields;  // a deque: fields already handed out stay where they are
  std::set<std::string> m_usedNames;
};

struct PageSlot {
  char letter;
  int raceNumber;
};

// The order in which a track's pages join the day: A01 X01 E01 B01, then two more A pages,
// one E and one B page at a time, as long as the track has races.
std::vector<PageSlot> PageOrder(int raceCount) {
  std::vector<PageSlot> order = {{'A', 1}, {'X', 1}, {'E', 1}, {'B', 1}};
  for (int step = 1; step + 1 <= raceCount; ++step) {
    for (const int race : {2 * step, 2 * step + 1})
      if (race <= raceCount) order.push_back({'A', race});
    order.push_back({'E', step + 1});
    order.push_back({'B', step + 1});
  }
  return order;
}

// The cards of every track a day can use: the schedule's tracks, then the other tracks of the groups.
std::vector<std::vector<Race>> AllCards(std::string_view schedule) {
  std::vector<std::vector<Race>> cards = ScheduleCards(schedule);
  std::set<std::string> known;
  for (const std::vector<Race>& card : cards) known.insert(card.front().track);
  for (const std::string_view region : kRegions)
    for (std::size_t at = 0; at + 3 <= region.size(); at += 4) {
      const std::string track(region.substr(at, 3));
      if (known.insert(track).second) cards.push_back(MadeUpCard(track));
    }
  for (std::size_t t = 0; t < cards.size(); ++t)
    for (Race& race : cards[t]) race.trackSequence = static_cast<int>(t + 1);
  return cards;
}

constexpr int kUnlistedReports = 2;

int Capacity(const std::vector<std::vector<Race>>& cards) {
  int capacity = kUnlistedReports;
  for (const std::vector<Race>& card : cards)
    capacity += static_cast<int>(PageOrder(static_cast<int>(card.size())).size());
  return capacity;
}

std::string JoinLines(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace

int MaxSampleReports(std::string_view schedule) { return Capacity(AllCards(schedule)); }

std::string MakeSampleDayText(std::string_view schedule, const SampleDayOptions& options) {
  const std::vector<std::vector<Race>> cards = AllCards(schedule);
  if (options.reportCount < kUnlistedReports || options.reportCount > Capacity(cards))
    throw std::invalid_argument("the report count must be from " + std::to_string(kUnlistedReports) + " to " +
                                std::to_string(Capacity(cards)));
  if (options.raceDay < kEarliestSampleRaceDay)
    throw std::invalid_argument("the race day must be " + std::to_string(kEarliestSampleRaceDay) + " or later");
  const DayFacts day{RaceDateText(options.raceDay), options.raceDay};

  // As few tracks as hold the reports (at least the schedule's), dealt out one page per
  // track in turn so that every track gets its share.
  const std::size_t scheduleTracks = ScheduleCards(schedule).size();
  const int regularReports = options.reportCount - kUnlistedReports;
  std::vector<std::vector<PageSlot>> orders;
  int capacity = 0;
  for (std::size_t t = 0; t < cards.size() && (t < scheduleTracks || capacity < regularReports); ++t) {
    orders.push_back(PageOrder(static_cast<int>(cards[t].size())));
    capacity += static_cast<int>(orders.back().size());
  }
  std::vector<std::size_t> taken(orders.size(), 0);
  for (int dealt = 0; dealt < regularReports;)
    for (std::size_t t = 0; t < orders.size() && dealt < regularReports; ++t)
      if (taken[t] < orders[t].size()) {
        ++taken[t];
        ++dealt;
      }

  std::vector<Page> pages;
  std::map<std::string, std::unique_ptr<TrackDay>> trackDays;
  const auto trackDay = [&](const std::vector<Race>& card) -> TrackDay& {
    std::unique_ptr<TrackDay>& entry = trackDays[card.front().track];
    if (!entry) entry = std::make_unique<TrackDay>(card, options.raceDay);
    return *entry;
  };
  std::size_t trackCount = 0;
  for (std::size_t t = 0; t < orders.size(); ++t) {
    if (taken[t] == 0) continue;
    ++trackCount;
    TrackDay& track = trackDay(cards[t]);
    std::map<char, std::vector<int>> races;
    for (std::size_t i = 0; i < taken[t]; ++i) races[orders[t][i].letter].push_back(orders[t][i].raceNumber);
    for (auto& entry : races) std::sort(entry.second.begin(), entry.second.end());
    std::vector<const Field*> aFields;
    for (const int race : races['A']) aFields.push_back(&track.FieldOf(race));
    for (const Field* field : aFields) pages.push_back(APage(day, *field));
    if (!races['X'].empty()) pages.push_back(XPage(day, cards[t].front(), aFields));
    for (const int race : races['E']) pages.push_back(EPage(day, track.FieldOf(race)));
    for (const int race : races['B']) pages.push_back(BPage(day, track.FieldOf(race)));
  }

  // The two reports that are never listed.
  const std::string ungrouped(kUngroupedSampleReport);
  std::vector<Race> ungroupedCard = MadeUpCard(ungrouped.substr(3, 3));
  for (Race& race : ungroupedCard) race.trackSequence = std::stoi(ungrouped.substr(1, 2));
  pages.push_back(APage(day, trackDay(ungroupedCard).FieldOf(1)));
  const std::string otherLetter(kOtherLetterSampleReport);
  const auto home = std::find_if(cards.begin(), cards.end(), [&](const std::vector<Race>& card) {
    return card.front().track == otherLetter.substr(3, 3);
  });
  std::vector<const Field*> changed;
  if (home != cards.end()) {
    TrackDay& track = trackDay(*home);
    for (int race = 1; race <= std::min(4, track.RaceCount()); ++race) changed.push_back(&track.FieldOf(race));
  }
  pages.push_back(ChangesPage(day, otherLetter, changed));

  std::string text = JoinLines({
      Format("%s race day text for %s", std::string(kProduct).c_str(), day.dateText.c_str()),
      Format("%d reports for %d tracks", options.reportCount, static_cast<int>(trackCount)),
      "",
  });
  for (const Page& page : pages) text += JoinLines(page.lines);
  return text;
}

std::string PadTextRecords(std::string_view text) {
  const std::size_t recordCount = text.size() / kRaceRecordSize + 1;
  std::string records(text);
  records.resize(recordCount * kRaceRecordSize, kEndOfText);
  return records;
}

std::string MakeRaceDayData(std::string_view text, std::uint16_t raceDay) {
  const std::string records = PadTextRecords(text);
  if (records.size() / kRaceRecordSize > kMaxRecords)
    throw std::length_error("the text needs more than " + std::to_string(kMaxRecords) + " records");
  return EncodeRaceData(records, raceDay);
}

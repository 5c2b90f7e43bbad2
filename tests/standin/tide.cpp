// tide  A stand-in for XTide's command-line program: serves recorded listings and predictions.
//
// Usage, as the real program is called:
//   tide -l<anything> -ml                 the location listing on standard output
//   tide -l NAME [-b BEGIN] [-e END]      the prediction text of the first station whose full
//                                         name begins with NAME (letter case ignored)
// Option values may be attached (-lNAME) or separate (-l NAME); BEGIN and END read
// "YYYY-MM-DD HH:MM". Standard error gets the disclaimer banner (unless
// $HOME/.disableXTidedisclaimer exists) and the indexing line, as the real program writes them.
//
// Settings, as the real program takes them from the attributes of the <xtideoptions> element of
// $HOME/.xtide.xml, each overridden by its switch on the command line:
//   df, -df FORMAT   the date of a line (strftime; default "%Y-%m-%d")
//   tf, -tf FORMAT   the time of a line (strftime, %Z the zone; default "%l:%M %p %Z")
//   z,  -z y|n       "y": BEGIN and END are read, and every time printed, in UTC (default "n")
//   em, -em MASK     events left out: p moon phases, S sunrise, s sunset, M moonrise,
//                    m moonset; "x" none (the default)
//   tw, -tw WIDTH    the listing's width; the name column is WIDTH - 28 wide (default 79)
// The listing's header time is UTC in the date and time formats.
//
// Environment:
//   HFILE_PATH              the harmonics file(s), ':'-separated; one of them must exist.
//   LC_ALL, LC_CTYPE, LANG  the first one set decides the output bytes: UTF-8 when it names
//                           UTF-8, else Latin-1 (characters beyond Latin-1 become '?').
//   QUORVEX_STANDIN_DATA    the data folder. When unset: "standin-data" beside the real path of
//                           this executable (symlinks resolved), else "../share/quorvex-standin"
//                           relative to the executable's folder.
//   QUORVEX_STANDIN_FAIL    comma-separated failure switches for tests:
//                             exit:N    one error line on standard error, exit status N
//                             garbage   a few lines of junk (no NUL bytes), exit 0
//                             sleep:S   wait S seconds (fractions allowed), then run normally
//                             empty     no output at all, exit 0
//                             nomarker  the listing without its "Location list generated" line
//                             crlf, cr  every line ends in CR LF, or in CR alone
//                             harmonics "harmonics.tcd: No such file or directory" as the whole
//                                       output on standard output, exit 0
//                             flood     after the listing or the prediction's header, prediction
//                                       lines without end (as a program that never stops
//                                       printing)
//                             pad:MB    MB megabytes (fractions allowed) of prediction lines of
//                                       the day before BEGIN ahead of the prediction's own
//
// The data folder holds "stations.txt" (UTF-8; one station a line, fields separated by tabs:
// name, "Ref" or "Sub", coordinates, time zone, month key, then any further header lines;
// '#' starts a comment line) and month files "<key>_<YYYY-MM>.stdout", each the recorded standard
// output of one month. A prediction prints the station's header from the table, a blank line,
// and every event line of the station's month files from BEGIN up to END. As with the real
// program, whose events fall some seconds into their printed minute, an event of BEGIN's minute
// is printed and one of END's minute is left out. A month without a file contributes no lines. A
// station without a key, or an empty key, has no predictions: only its header is printed.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char kBanner[] =
    "-----------------------------------------------------------------------------\n"
    "             XTide   Copyright (C) 1998 David Flater.\n"
    "\n"
    "This software is provided under the terms of the GNU General Public\n"
    "License, either version 3 of the License, or (at your option) any later\n"
    "version.\n"
    "\n"
    "Although the package as a whole is GPL, some individual source files\n"
    "are public domain.  Consult their header comments for details.\n"
    "\n"
    "                        NOT FOR NAVIGATION\n"
    "\n"
    "This program is distributed in the hope that it will be useful, but\n"
    "WITHOUT ANY WARRANTY; without even the implied warranty of\n"
    "MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  The author\n"
    "assumes no liability for damages arising from use of this program OR\n"
    "of any 'harmonics data' that might be distributed with it.  For details, see\n"
    "the verbose documentation at http://www.flaterco.com/xtide/.\n"
    "\n"
    "This obnoxious message will go away permanently if you click \"Don't show\n"
    "this again\" in the disclaimer window of the X windows client (xtide), or\n"
    "if you create a file in your home directory called \".disableXTidedisclaimer\".\n"
    "-----------------------------------------------------------------------------\n"
    "\n";

const char kNoHfile[] =
    "XTide Fatal Error:  NO_HFILE_IN_PATH\n"
    "A search path for harmonics files was provided, but no harmonics files were\n"
    "found anywhere in that path.  You might need to download a harmonics file\n"
    "from http://www.flaterco.com/xtide/files.html.\n"
    "\n"
    "Error details:\n";

const char kNotFound[] =
    "XTide Error:  STATION_NOT_FOUND\n"
    "The specified station was not found in any harmonics file.\n"
    "\n"
    "Error details:\n"
    "Could not find: ";

const char kMktimeFailed[] =
    "XTide Fatal Error:  MKTIME_FAILED\n"
    "XTide was unable to convert an informal time specification into a\n"
    "legal Unix timestamp.  This probably means that there is something\n"
    "wrong with the informal time specification, such as referring to a\n"
    "point in time that does not exist (like February 30th).  It may also\n"
    "mean that the requested time is outside of the Unix epoch, which only\n"
    "reliably includes the years from 1970 through 2037.  For the workaround,\n"
    "see http://www.flaterco.com/xtide/time_t.html.\n"
    "\n"
    "Error details:\n"
    "The offending input was ";

struct Switches {
    std::optional<int> exitStatus;
    double sleepSeconds = 0;
    double padMegabytes = 0;
    bool flood = false;
    bool garbage = false, empty = false, noMarker = false, harmonics = false;
    const char* lineEnd = "\n";
};

struct Station {
    std::string name;  // Latin-1, as the real program holds names
    std::string type;  // "Ref" or "Sub"
    std::string coordinates, zone, key;
    std::vector<std::string> extraHeader;
};

struct Settings {
    std::string dateFormat = "%Y-%m-%d";
    std::string timeFormat = "%l:%M %p %Z";
    bool utc = false;
    std::string eventMask = "x";
    int textWidth = 79;
};

Switches g_switches;
Settings g_settings;
bool g_utf8 = false;

// Writes `text` to `stream` at once, with every LF replaced by the chosen line end, so the two
// streams keep their order when they share one file.
void Emit(FILE* stream, const std::string& text) {
    std::string out;
    if (std::strcmp(g_switches.lineEnd, "\n") == 0) {
        out = text;
    } else {
        for (char c : text) {
            if (c == '\n')
                out += g_switches.lineEnd;
            else
                out += c;
        }
    }
    std::fwrite(out.data(), 1, out.size(), stream);
    std::fflush(stream);
}

std::string Latin1ToUtf8(const std::string& in) {
    std::string out;
    for (unsigned char c : in) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Decodes UTF-8 into Latin-1; characters above U+00FF become '?'. Returns nothing when `in` is
// not well-formed UTF-8.
std::optional<std::string> Utf8ToLatin1(const std::string& in) {
    std::string out;
    for (size_t i = 0; i < in.size();) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        int extra = c < 0x80             ? 0
                    : (c & 0xE0) == 0xC0 ? 1
                    : (c & 0xF0) == 0xE0 ? 2
                    : (c & 0xF8) == 0xF0 ? 3
                                         : -1;
        if (extra < 0 || i + extra >= in.size()) return std::nullopt;
        unsigned long cp = extra == 0 ? c : (c & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(in[i + k]);
            if ((cc & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (cc & 0x3F);
        }
        out += cp <= 0xFF ? static_cast<char>(cp) : '?';
        i += extra + 1;
    }
    return out;
}

// Latin-1 text in the output encoding of the locale.
std::string Out(const std::string& latin1) { return g_utf8 ? Latin1ToUtf8(latin1) : latin1; }

std::string FromData(const std::string& utf8) {
    auto latin1 = Utf8ToLatin1(utf8);
    return latin1 ? *latin1 : utf8;
}

unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    return c;
}

bool StartsWithCaseBlind(const std::string& full, const std::string& part) {
    if (part.size() > full.size()) return false;
    for (size_t i = 0; i < part.size(); ++i) {
        if (FoldCase(full[i]) != FoldCase(part[i])) return false;
    }
    return true;
}

bool LocaleIsUtf8() {
    const char* names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (const char* n : names) {
        const char* v = std::getenv(n);
        if (v && *v) {
            std::string s(v);
            for (char& c : s) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
            return s.find("utf-8") != std::string::npos || s.find("utf8") != std::string::npos;
        }
    }
    return false;
}

Switches ParseSwitches(const char* text) {
    Switches s;
    if (!text) return s;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (item.rfind("exit:", 0) == 0)
            s.exitStatus = std::atoi(item.c_str() + 5);
        else if (item.rfind("sleep:", 0) == 0)
            s.sleepSeconds = std::atof(item.c_str() + 6);
        else if (item == "garbage")
            s.garbage = true;
        else if (item == "empty")
            s.empty = true;
        else if (item == "nomarker")
            s.noMarker = true;
        else if (item == "crlf")
            s.lineEnd = "\r\n";
        else if (item == "cr")
            s.lineEnd = "\r";
        else if (item == "harmonics")
            s.harmonics = true;
        else if (item == "flood")
            s.flood = true;
        else if (item.rfind("pad:", 0) == 0)
            s.padMegabytes = std::atof(item.c_str() + 4);
    }
    return s;
}

// Applies one setting, given by its attribute or switch name; unknown names change nothing.
void ApplySetting(Settings& settings, const std::string& name, const std::string& value) {
    if (name == "df")
        settings.dateFormat = value;
    else if (name == "tf")
        settings.timeFormat = value;
    else if (name == "z")
        settings.utc = value == "y" || value == "Y";
    else if (name == "em")
        settings.eventMask = value;
    else if (name == "tw" && std::atoi(value.c_str()) > 0)
        settings.textWidth = std::atoi(value.c_str());
}

std::string XmlUnescape(const std::string& in) {
    static const std::pair<const char*, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (size_t i = 0; i < in.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : entities) {
            const size_t n = std::strlen(entity);
            if (in.compare(i, n, entity) == 0) {
                out += c;
                i += n;
                replaced = true;
                break;
            }
        }
        if (!replaced) out += in[i++];
    }
    return out;
}

// The attributes of the <xtideoptions> element of `file`, when there is one.
void ReadSettingsFile(Settings& settings, const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return;
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    size_t at = text.find("<xtideoptions");
    if (at == std::string::npos) return;
    const size_t close = text.find('>', at);
    const std::string element =
        text.substr(at + 13, close == std::string::npos ? std::string::npos : close - at - 13);
    for (size_t i = 0; i < element.size();) {
        const size_t eq = element.find('=', i);
        if (eq == std::string::npos || eq + 1 >= element.size()) break;
        std::string name = element.substr(i, eq - i);
        name.erase(0, name.find_first_not_of(" \t\r\n"));
        name.erase(name.find_last_not_of(" \t\r\n") + 1);
        const char quote = element[eq + 1];
        if (quote != '"' && quote != '\'') break;
        const size_t end = element.find(quote, eq + 2);
        if (end == std::string::npos) break;
        ApplySetting(settings, name, XmlUnescape(element.substr(eq + 2, end - eq - 2)));
        i = end + 1;
    }
}

std::optional<fs::path> DataFolder() {
    if (const char* env = std::getenv("QUORVEX_STANDIN_DATA"); env && *env) return fs::path(env);
    std::error_code ec;
    fs::path exe = fs::canonical("/proc/self/exe", ec);
    if (ec) return std::nullopt;
    fs::path beside = exe.parent_path() / "standin-data";
    if (fs::is_directory(beside, ec)) return beside;
    fs::path shared = exe.parent_path() / ".." / "share" / "quorvex-standin";
    if (fs::is_directory(shared, ec)) return shared;
    return std::nullopt;
}

std::vector<Station> ReadStations(const fs::path& file) {
    std::vector<Station> stations;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream ls(line);
        std::string f;
        while (std::getline(ls, f, '\t')) fields.push_back(f);
        if (fields.size() < 3) continue;
        Station s;
        s.name = FromData(fields[0]);
        s.type = fields[1];
        s.coordinates = FromData(fields[2]);
        if (fields.size() > 3) s.zone = fields[3];
        if (fields.size() > 4) s.key = fields[4];
        for (size_t i = 5; i < fields.size(); ++i) s.extraHeader.push_back(FromData(fields[i]));
        stations.push_back(s);
    }
    return stations;
}

// The calendar fields of a time, counted as seconds since 1970 as if they were UTC.
long long FieldSeconds(int y, int mo, int d, int h, int mi) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    return static_cast<long long>(timegm(&tm));
}

// "YYYY-MM-DD HH:MM" on the scale of FieldSeconds; nothing when the text names no real time.
std::optional<long long> ParseTime(const std::string& t) {
    int y, mo, d, h, mi;
    char tail;
    if (std::sscanf(t.c_str(), "%4d-%2d-%2d %2d:%2d%c", &y, &mo, &d, &h, &mi, &tail) != 5)
        return std::nullopt;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mo < 1 || mo > 12 || h < 0 || h > 23 || mi < 0 || mi > 59) return std::nullopt;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    int dim = days[mo - 1] + (mo == 2 && leap ? 1 : 0);
    if (d < 1 || d > dim || y < 1970 || y > 2037) return std::nullopt;
    return FieldSeconds(y, mo, d, h, mi);
}

// A recorded prediction line "YYYY-MM-DD HH:MM AM ZONE <rest>", taken apart.
struct EventLine {
    long long local = 0;  // the printed time, on the scale of ParseTime
    std::string zone;     // the zone abbreviation
    std::string rest;     // everything after the zone: the value and the words
};

std::optional<EventLine> ParseEventLine(const std::string& line) {
    if (line.size() < 21 || line[13] != ':' || line[18] != 'M' || line[19] != ' ')
        return std::nullopt;
    int hour = std::atoi(line.substr(11, 2).c_str()) % 12;
    if (line[17] == 'P') hour += 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s %02d:%s", line.substr(0, 10).c_str(), hour,
                  line.substr(14, 2).c_str());
    auto local = ParseTime(buf);
    if (!local) return std::nullopt;
    const size_t zoneEnd = line.find(' ', 20);
    EventLine event;
    event.local = *local;
    event.zone = line.substr(20, zoneEnd == std::string::npos ? std::string::npos : zoneEnd - 20);
    event.rest = zoneEnd == std::string::npos ? std::string() : line.substr(zoneEnd);
    return event;
}

// The offset from UTC, in seconds, of a zone abbreviation of the recorded lines ("PST", "+12").
std::optional<long long> ZoneOffset(const std::string& zone) {
    static const std::pair<const char*, int> hours[] = {
        {"UTC", 0},  {"GMT", 0},  {"HST", -10}, {"AKST", -9}, {"AKDT", -8}, {"PST", -8},
        {"PDT", -7}, {"MST", -7}, {"MDT", -6},  {"CST", -6},  {"CDT", -5},  {"EST", -5},
        {"EDT", -4}, {"AST", -4}, {"ADT", -3},  {"SST", -11}, {"ChST", 10}};
    for (const auto& [name, h] : hours) {
        if (zone == name) return h * 3600LL;
    }
    if (zone.size() >= 2 && (zone[0] == '+' || zone[0] == '-') &&
        std::isdigit(static_cast<unsigned char>(zone[1]))) {
        const int value = std::atoi(zone.c_str() + 1);
        const long long seconds =
            zone.size() > 3 ? (value / 100) * 3600LL + (value % 100) * 60LL : value * 3600LL;
        return zone[0] == '-' ? -seconds : seconds;
    }
    return std::nullopt;
}

// What the event words of a line (`rest`) name, as a letter of the event mask; 0 for tides
// and currents, which no mask leaves out.
char MaskLetter(const std::string& rest) {
    const size_t start = rest.find_first_not_of(' ');
    const std::string words = start == std::string::npos ? std::string() : rest.substr(start);
    if (words == "Sunrise") return 'S';
    if (words == "Sunset") return 's';
    if (words == "Moonrise") return 'M';
    if (words == "Moonset") return 'm';
    if (words == "New Moon" || words == "First Quarter" || words == "Full Moon" ||
        words == "Last Quarter")
        return 'p';
    return 0;
}

// `seconds` (on the scale of FieldSeconds) in one of the formats of the settings, with %Z
// standing for `zone`.
std::string FormatTime(const std::string& format, long long seconds, const std::string& zone) {
    std::string withZone;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 'Z') {
                for (char c : zone) withZone += c == '%' ? std::string("%%") : std::string(1, c);
            } else {
                withZone += format.substr(i, 2);
            }
            ++i;
        } else {
            withZone += format[i];
        }
    }
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[512];
    const size_t n = std::strftime(buf, sizeof buf, withZone.c_str(), &tm);
    return std::string(buf, n);
}

// The event lines of one recorded month: everything after its header's blank line.
std::vector<std::string> MonthEvents(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    bool inEvents = false;
    while (std::getline(in, line)) {
        if (inEvents)
            lines.push_back(line);
        else if (line.empty())
            inEvents = true;
    }
    return lines;
}

// A prediction line of the day before `begin` ("YYYY-MM-DD HH:MM"), or of 2009-02-28 without one.
std::string LineBefore(const std::optional<std::string>& begin) {
    int y = 2009, mo = 3, d = 1;
    if (begin) std::sscanf(begin->c_str(), "%4d-%2d-%2d", &y, &mo, &d);
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (--d < 1) {
        if (--mo < 1) {
            mo = 12;
            --y;
        }
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        d = days[mo - 1] + (mo == 2 && leap ? 1 : 0);
    }
    char line[64];
    std::snprintf(line, sizeof line, "%04d-%02d-%02d  4:41 AM PST   0.35 feet  Low Tide\n", y, mo,
                  d);
    return line;
}

// Writes `line` to standard output again and again until the reader goes away.
[[noreturn]] void Flood(const std::string& line) {
    std::string block;
    while (block.size() < 65536) block += line;
    for (;;) {
        if (std::fwrite(block.data(), 1, block.size(), stdout) != block.size()) std::exit(1);
    }
}

int Listing(const std::vector<Station>& stations) {
    std::string text;
    if (!g_switches.noMarker) {
        const long long now = static_cast<long long>(std::time(nullptr));
        text += "Location list generated " + FormatTime(g_settings.dateFormat, now, "UTC") + " " +
                FormatTime(g_settings.timeFormat, now, "UTC") + "\n\n";
    }
    // The name takes what the width leaves beside the type and the coordinates.
    const int nameWidth = std::max(1, g_settings.textWidth - 28);
    for (const Station& s : stations) {
        // The listing pads the coordinates to fixed widths; the header does not.
        std::string coordinates = s.coordinates;
        double lat, lon;
        char ns, ew;
        if (std::sscanf(s.coordinates.c_str(), "%lf\xb0 %c, %lf\xb0 %c", &lat, &ns, &lon, &ew) ==
            4) {
            char padded[64];
            std::snprintf(padded, sizeof padded, "%7.4f\xb0 %c, %8.4f\xb0 %c", lat, ns, lon, ew);
            coordinates = padded;
        }
        std::vector<char> line(nameWidth + 64);
        std::snprintf(line.data(), line.size(), "%-*.*s %-3.3s %-23.23s\n", nameWidth, nameWidth,
                      s.name.c_str(), s.type.c_str(), coordinates.c_str());
        text += Out(line.data());
    }
    Emit(stdout, text);
    if (g_switches.flood && !stations.empty()) {
        char line[128];
        std::snprintf(line, sizeof line, "%-51.51s %-3.3s %-23.23s\n",
                      stations.front().name.c_str(), stations.front().type.c_str(),
                      stations.front().coordinates.c_str());
        Flood(Out(line));
    }
    return 0;
}

int Predict(const fs::path& data, const std::vector<Station>& stations, std::string name,
            const std::optional<std::string>& begin, const std::optional<std::string>& end) {
    if (g_utf8) {
        if (auto latin1 = Utf8ToLatin1(name)) name = *latin1;
    }
    const Station* found = nullptr;
    for (const Station& s : stations) {
        if (StartsWithCaseBlind(s.name, name)) {
            found = &s;
            break;
        }
    }
    if (!found) {
        Emit(stderr, std::string(kNotFound) + Out(name) + "\n\n");
        return 0;
    }
    std::optional<long long> from = LLONG_MIN, to = LLONG_MAX;
    for (auto [text, value] : {std::pair{&begin, &from}, std::pair{&end, &to}}) {
        if (!*text) continue;
        *value = ParseTime(**text);
        if (!*value) {
            Emit(stderr, std::string(kMktimeFailed) + **text + "\nin the time zone " + found->zone +
                             "\n\n");
            return 255;
        }
    }

    std::string out = Out(found->name) + "\n" + Out(found->coordinates) + "\n";
    for (const std::string& extra : found->extraHeader) out += Out(extra) + "\n";
    out += "\n";
    if (g_switches.flood) {
        Emit(stdout, out);
        Flood(LineBefore(begin));
    }
    if (g_switches.padMegabytes > 0) {
        const std::string line = LineBefore(begin);
        const size_t bytes = static_cast<size_t>(g_switches.padMegabytes * 1024 * 1024);
        out.reserve(out.size() + bytes + line.size());
        while (out.size() < bytes) out += line;
    }
    std::vector<fs::path> months;
    std::error_code ec;
    if (!found->key.empty()) {
        for (const auto& entry : fs::directory_iterator(data, ec)) {
            std::string file = entry.path().filename().string();
            const std::string suffix = ".stdout";
            size_t stem = found->key.size() + 1;
            if (file.size() == stem + 7 + suffix.size() && file.rfind(found->key + "_", 0) == 0 &&
                file.compare(stem + 7, suffix.size(), suffix) == 0)
                months.push_back(entry.path());
        }
    }
    std::sort(months.begin(), months.end());
    for (const fs::path& month : months) {
        for (const std::string& line : MonthEvents(month)) {
            auto event = ParseEventLine(line);
            if (!event) continue;
            if (char letter = MaskLetter(event->rest);
                letter && g_settings.eventMask.find(letter) != std::string::npos)
                continue;
            long long when = event->local;
            std::string zone = event->zone;
            if (g_settings.utc) {
                auto offset = ZoneOffset(zone);
                if (!offset) {
                    Emit(stderr, "tide stand-in: no UTC offset known for the zone " + zone + "\n");
                    return 2;
                }
                when -= *offset;
                zone = "UTC";
            }
            if (when < *from || when >= *to) continue;
            out += FormatTime(g_settings.dateFormat, when, zone) + " " +
                   FormatTime(g_settings.timeFormat, when, zone) + event->rest + "\n";
        }
    }
    Emit(stdout, out);
    return 0;
}

bool HarmonicsPresent() {
    const char* path = std::getenv("HFILE_PATH");
    if (!path || !*path) {
        Emit(stderr, std::string(kNoHfile) + "(HFILE_PATH is not set)\n\n");
        return false;
    }
    std::stringstream in(path);
    std::string item;
    std::error_code ec;
    bool any = false;
    std::string missing;
    while (std::getline(in, item, ':')) {
        if (fs::exists(item, ec))
            any = true;
        else
            missing += item + ": No such file or directory\n";
    }
    if (any) {
        Emit(stderr, std::string("Indexing ") + path + "...\n");
        return true;
    }
    Emit(stderr, missing + kNoHfile + path + "\n\n");
    return false;
}

void Garbage() {
    std::string junk;
    unsigned state = 12345;
    for (int i = 0; i < 600; ++i) {
        state = state * 1103515245u + 12345u;
        unsigned char c = static_cast<unsigned char>((state >> 16) % 255 + 1);
        junk += static_cast<char>(c);
        if (i % 60 == 59) junk += '\n';
    }
    Emit(stdout, junk);
}

}  // namespace

int main(int argc, char** argv) {
    g_switches = ParseSwitches(std::getenv("QUORVEX_STANDIN_FAIL"));
    if (g_switches.sleepSeconds > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(g_switches.sleepSeconds));
    if (g_switches.exitStatus) {
        Emit(stderr, "tide stand-in: failing on request with exit status " +
                         std::to_string(*g_switches.exitStatus) + "\n");
        return *g_switches.exitStatus;
    }
    if (g_switches.empty) return 0;
    if (g_switches.garbage) {
        Garbage();
        return 0;
    }
    if (g_switches.harmonics) {
        Emit(stdout, "harmonics.tcd: No such file or directory\n");
        return 0;
    }
    g_utf8 = LocaleIsUtf8();

    const char* home = std::getenv("HOME");
    if (home) ReadSettingsFile(g_settings, fs::path(home) / ".xtide.xml");

    std::optional<std::string> location, begin, end;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        // The value of a switch named by the first `length` bytes: attached or the next word.
        auto value = [&](size_t length) -> std::optional<std::string> {
            if (arg.size() > length) return arg.substr(length);
            if (i + 1 < argc) return std::string(argv[++i]);
            return std::nullopt;
        };
        bool setting = false;
        for (const char* name : {"df", "tf", "em", "tw"}) {
            if (arg.rfind(std::string("-") + name, 0) == 0) {
                if (auto v = value(3)) ApplySetting(g_settings, name, *v);
                setting = true;
                break;
            }
        }
        if (setting) continue;
        if (arg == "-ml")
            list = true;
        else if (arg.rfind("-z", 0) == 0) {
            if (auto v = value(2)) ApplySetting(g_settings, "z", *v);
        } else if (arg.rfind("-l", 0) == 0)
            location = value(2);
        else if (arg.rfind("-b", 0) == 0)
            begin = value(2);
        else if (arg.rfind("-e", 0) == 0)
            end = value(2);
    }

    std::error_code ec;
    if (!home || !fs::exists(fs::path(home) / ".disableXTidedisclaimer", ec)) Emit(stderr, kBanner);
    if (!HarmonicsPresent()) return 255;

    auto data = DataFolder();
    if (!data || !fs::exists(*data / "stations.txt", ec)) {
        Emit(stderr, "tide stand-in: no data folder (set QUORVEX_STANDIN_DATA)\n");
        return 2;
    }
    std::vector<Station> stations = ReadStations(*data / "stations.txt");
    if (list) return Listing(stations);
    if (!location) {
        Emit(stderr, "tide stand-in: give -ml or -l NAME\n");
        return 2;
    }
    return Predict(*data, stations, *location, begin, end);
}

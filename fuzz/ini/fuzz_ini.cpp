// Fuzz target for the INI store.
//
// The input is the INI file itself. The same bytes, read backwards from the end, also choose
// a sequence of store operations and their arguments: names and keys read back from the
// store, slices of the input, and a set of awkward fixed texts. Every operation runs on the
// file-backed store and, in step, on a memory-only store filled with the same content, so a
// result that depends on the order of earlier searches shows up as a difference.
//
// Checked, with a trap on the first failure:
//   - the loaded content is what a plain reading of the file gives (lines cut to 255 bytes,
//     CRs dropped, nothing before the first header or after a 0x1A mark, later duplicate
//     sections dropped);
//   - every line held is at most 255 bytes, and a cut never splits a valid UTF-8 sequence;
//   - a value just written reads back as written (cut, CR and LF made blanks), numbers,
//     flags and colours included; reads follow the documented number and colour forms;
//   - Close() writes exactly the lines held, and only when something changed;
//   - reopening gives the same lines as before closing, and saving again changes nothing.
// Only ReadColour may throw (ConversionError); any other exception ends the run.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "app/errors.h"
#include "app/text.h"
#include "store/biginifile.h"
#include "store/unclosedstores.h"

namespace {

using qs::TBiggerIniFile;
using qs::TIniLine;
using qs::TIniSection;
using Lines = std::vector<std::string>;

constexpr size_t kMaxLine = 255;
// Any legal cut of a long line keeps at least this many bytes (a UTF-8 sequence is at most
// four bytes, so at most three are given up).
constexpr size_t kShortestCut = kMaxLine - 3;

[[noreturn]] void Fail(const char* what, int line) {
  std::fprintf(stderr, "fuzz_ini: check failed at line %d: %s\n", line, what);
  std::fflush(stderr);
  __builtin_trap();
}
#define CHECK(cond)                     \
  do {                                  \
    if (!(cond)) Fail(#cond, __LINE__); \
  } while (0)

// ---- Files ---------------------------------------------------------------------------------

std::string g_folder;

void RemoveFolder() {
  std::error_code ignored;
  if (!g_folder.empty()) std::filesystem::remove_all(g_folder, ignored);
}

// One private folder for the whole run. /dev/shm is preferred: every save of the store
// syncs the file and its folder, which costs nothing there.
const std::string& Folder() {
  if (g_folder.empty()) {
    std::string root = "/tmp";
    if (const char* t = std::getenv("TMPDIR"); t && *t) root = t;
    if (::access("/dev/shm", W_OK | X_OK) == 0) root = "/dev/shm";
    std::string pattern = root + "/fuzz_ini.XXXXXX";
    if (!::mkdtemp(pattern.data())) {
      std::perror("fuzz_ini: mkdtemp");
      std::abort();
    }
    g_folder = pattern;
    std::atexit(RemoveFolder);
  }
  return g_folder;
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    std::perror("fuzz_ini: open");
    std::abort();
  }
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::perror("fuzz_ini: write");
      std::abort();
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  ::close(fd);
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  CHECK(fd >= 0);
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    CHECK(n >= 0);
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

// ---- Independent expectations ---------------------------------------------------------------

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string Lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence of two or more bytes starting at `at`, or 0.
size_t ValidSequenceAt(std::string_view s, size_t at) {
  auto byte = [&](size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
  unsigned b0 = byte(at), b1 = byte(at + 1);
  size_t length = 0;
  unsigned lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (b1 < lo || b1 > hi) return 0;
  for (size_t i = 2; i < length; ++i)
    if (!IsContinuation(static_cast<unsigned char>(byte(at + i)))) return 0;
  return length;
}

// Whether `cut` is what `source` may become as a stored line: all of it when it fits, else a
// prefix of 252 to 255 bytes that does not end inside a well-formed sequence and gives up
// bytes only to keep a sequence (well-formed or not) from being split.
bool LegalCut(std::string_view cut, std::string_view source) {
  if (source.size() <= kMaxLine) return cut == source;
  const size_t n = cut.size();
  if (n > kMaxLine || n < kShortestCut) return false;
  if (source.substr(0, n) != cut) return false;
  for (size_t s = n - 3; s < n; ++s) {
    size_t length = ValidSequenceAt(source, s);
    if (length > 0 && s + length > n) return false;
  }
  if (n < kMaxLine) {
    auto lead = static_cast<unsigned char>(source[n]);
    if (lead < 0xC0) return false;
    for (size_t i = n + 1; i <= kMaxLine; ++i)
      if (!IsContinuation(static_cast<unsigned char>(source[i]))) return false;
    size_t length = lead >= 0xF8 ? 8 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (n + length <= kMaxLine) return false;
  }
  return true;
}

std::string Blanked(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

bool HexMagnitude(std::string_view text, uint64_t limit, uint64_t& value) {
  if (text.empty()) return false;
  value = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > limit) return false;
  }
  return true;
}

bool DecimalMagnitude(std::string_view text, uint64_t limit, uint64_t& value) {
  if (text.empty()) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return false;
  }
  return true;
}

// The number forms ReadNumber accepts: "0x1F"; otherwise optional leading blanks, an
// optional sign, and decimal digits or hexadecimal digits after "$", "x" or "X".
bool ExpectedNumber(std::string_view text, int32_t& value) {
  constexpr uint64_t kMax = std::numeric_limits<int32_t>::max();
  uint64_t m = 0;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (!HexMagnitude(text.substr(2), kMax, m)) return false;
    value = static_cast<int32_t>(m);
    return true;
  }
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const uint64_t limit = kMax + (negative ? 1 : 0);
  bool ok;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X'))
    ok = HexMagnitude(text.substr(i + 1), limit, m);
  else
    ok = DecimalMagnitude(text.substr(i), limit, m);
  if (!ok) return false;
  value = static_cast<int32_t>(negative ? -static_cast<int64_t>(m) : static_cast<int64_t>(m));
  return true;
}

std::string Hex8(uint32_t v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%08X", v);
  return buffer;
}

struct ExpectedSection {
  std::string name;
  Lines lines;
};

// The content a store should hold after reading `bytes`.
std::vector<ExpectedSection> ExpectedContent(std::string_view bytes) {
  std::vector<ExpectedSection> out;
  bool inSection = false;
  size_t pos = 0;
  std::string line;
  while (pos < bytes.size()) {
    size_t lf = bytes.find('\n', pos);
    size_t end = lf == std::string_view::npos ? bytes.size() : lf;
    line.clear();
    for (size_t i = pos; i < end; ++i)
      if (bytes[i] != '\r') line.push_back(bytes[i]);
    pos = lf == std::string_view::npos ? bytes.size() : lf + 1;

    // The store's own cutting helper decides where a long line ends; it must be a legal cut.
    std::string cut = line.substr(0, qs::Utf8CutLength(line, kMaxLine));
    CHECK(LegalCut(cut, line));
    if (cut.empty()) continue;
    if (cut.front() == '\x1A') break;
    if (cut.size() >= 2 && cut.front() == '[' && cut.back() == ']') {
      out.push_back({cut.substr(1, cut.size() - 2), {}});
      inSection = true;
      continue;
    }
    if (inSection) out.back().lines.push_back(std::move(cut));
  }
  std::unordered_set<std::string> seen;
  std::vector<ExpectedSection> unique;
  for (auto& s : out)
    if (seen.insert(Lowered(s.name)).second) unique.push_back(std::move(s));
  return unique;
}

void CheckLine(const TIniLine& l) {
  CHECK(l.text.size() <= kMaxLine);
  CHECK(l.text.find_first_of("\r\n") == std::string::npos);
  auto eq = l.text.find('=');
  CHECK(l.eq == (eq == std::string::npos ? TIniLine::kNoKey : static_cast<uint32_t>(eq)));
}

// Every line within limits, section names unique ignoring letter case.
void CheckHeld(const TBiggerIniFile& ini) {
  std::unordered_set<std::string> names;
  for (const auto& s : ini.Sections().Items()) {
    CHECK(names.insert(Lowered(s.name)).second);
    for (const auto& l : s.lines) CheckLine(l);
  }
}

void CheckLoaded(const TBiggerIniFile& ini, std::string_view bytes) {
  auto expected = ExpectedContent(bytes);
  const auto& held = ini.Sections().Items();
  CHECK(held.size() == expected.size());
  for (size_t i = 0; i < held.size(); ++i) {
    CHECK(held[i].name == expected[i].name);
    CHECK(held[i].lines.size() == expected[i].lines.size());
    for (size_t k = 0; k < held[i].lines.size(); ++k)
      CHECK(held[i].lines[k].text == expected[i].lines[k]);
  }
  CheckHeld(ini);
}

void CheckSameContent(const TBiggerIniFile& a, const TBiggerIniFile& b) {
  const auto& x = a.Sections().Items();
  const auto& y = b.Sections().Items();
  CHECK(x.size() == y.size());
  for (size_t i = 0; i < x.size(); ++i) {
    CHECK(x[i].name == y[i].name);
    CHECK(x[i].lines.size() == y[i].lines.size());
    for (size_t k = 0; k < x[i].lines.size(); ++k) CHECK(x[i].lines[k].text == y[i].lines[k].text);
  }
}

// The file Close() should write for these lines.
std::string Joined(const Lines& lines) {
  std::string out;
  for (const auto& l : lines) out.append(l).append("\r\n");
  return out;
}

Lines AllLines(TBiggerIniFile& ini) {
  Lines lines;
  ini.ReadAllLines(lines);
  return lines;
}

// Whether the content reads back the same once saved. Callers keep names and lines within
// these bounds; the store itself does not refuse the rest.
bool SurvivesSaving(const TBiggerIniFile& ini) {
  for (const auto& s : ini.Sections().Items()) {
    if (s.lines.empty()) continue;
    if (s.name.size() + 2 > kMaxLine) return false;
    if (s.name.find_first_of("\r\n") != std::string::npos) return false;
    for (const auto& l : s.lines) {
      const std::string_view t = l.text;
      if (t.empty() || t.front() == '\x1A') return false;
      if (t.size() >= 2 && t.front() == '[' && t.back() == ']') return false;
    }
  }
  return true;
}

// A key for which ReadText must give back the line just written.
bool PlainKey(std::string_view key) {
  return !key.empty() && key.size() + 1 <= kShortestCut &&
         key.find_first_of("=\r\n") == std::string_view::npos;
}

// ---- Choosing arguments ---------------------------------------------------------------------

Lines MakeOddTexts() {
  Lines t = {"",
             "=",
             "==",
             "[x]",
             "[",
             "]",
             "[]",
             "[x",
             "a=b",
             " ",
             " = ",
             "\r",
             "\n",
             "\r\n",
             "a\rb",
             "a\nb",
             "a\r\nb=c",
             "[a\r\nb]",
             std::string("\0", 1),
             std::string("k\0v", 3),
             std::string("=\0=", 3),
             "\x1A",
             "\x1A"
             "x=1",
             ";comment",
             "Gr\xC3\xBC\xC3\x9F"
             "e",
             "\xE2\x82\xAC",
             "\xF0\x9F\x98\x80",
             "\xC3",
             "\xE2\x82",
             "\xF0\x9F\x98",
             "\x80",
             "\xC0\x80",
             "\xED\xA0\x80",
             "\xFF\xFE",
             "0x1F",
             "0X7fffffff",
             "0x80000000",
             "$7FFFFFFF",
             "-$80000000",
             "x10",
             "-2147483648",
             "2147483647",
             "2147483648",
             "-2147483649",
             "  42",
             "+7",
             " -0",
             "1",
             "0",
             "00C0C0C0",
             "ffffffff",
             "100000000",
             "0000000000ff",
             "zz",
             "engine1234",
             "ENGINE1234",
             "url",
             "URL",
             "title"};
  t.push_back(std::string(300, 'v'));
  t.push_back(std::string(260, '['));
  t.push_back("[" + std::string(298, 's') + "]");
  t.push_back("k=" + std::string(298, 'w'));
  t.push_back(std::string(250, 'b') + "\r\n\r\n\r\n" + std::string(50, 'c'));
  // Multibyte characters across the 255-byte cut at every offset.
  for (const char* mb : {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF8\x88\x80\x80\x80"}) {
    for (size_t pad = 240; pad <= 256; pad += 1) {
      std::string s(pad, 'a');
      while (s.size() < 300) s += mb;
      t.push_back(std::move(s));
    }
  }
  return t;
}

const Lines& OddTexts() {
  static const Lines texts = MakeOddTexts();
  return texts;
}

// Reads the input backwards, cycling, so the operations change with the end of the file and
// the content with its start.
class Script {
 public:
  Script(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() {
    if (size_ == 0) return 0;
    uint8_t b = data_[size_ - 1 - pos_ % size_];
    ++pos_;
    return b;
  }
  size_t Below(size_t n) {
    if (n <= 1) return 0;
    size_t v = Byte();
    if (n > 0x100) v = v << 8 | Byte();
    if (n > 0x10000) v = (v << 16) | static_cast<size_t>(Byte()) << 8 | Byte();
    return v % n;
  }
  uint32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
    return v;
  }
  bool OneIn(int n) { return Byte() % n == 0; }

  std::string Slice() {
    if (size_ == 0) return {};
    size_t at = Below(size_);
    size_t length = Below(std::min<size_t>(301, size_ - at + 1));
    return std::string(reinterpret_cast<const char*>(data_) + at, length);
  }
  const std::string& Odd() { return OddTexts()[Below(OddTexts().size())]; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

std::string FlipCase(std::string s, Script& script) {
  for (char& c : s)
    if (script.OneIn(2)) {
      if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 32);
      else if (c >= 'A' && c <= 'Z')
        c = static_cast<char>(c + 32);
    }
  return s;
}

std::string PickSection(Script& s, const TBiggerIniFile& ini) {
  const auto& items = ini.Sections().Items();
  switch (s.Byte() % 8) {
    case 0:
    case 1:
    case 2:
      if (!items.empty()) return items[s.Below(items.size())].name;
      return "engine1";
    case 3:
      if (!items.empty()) return FlipCase(items[s.Below(items.size())].name, s);
      return "Engine1";
    case 4:
    case 5:
      return s.Odd();
    case 6:
      return s.Slice();
    default:
      return "engine" + std::to_string(s.Below(10000));
  }
}

std::string PickKey(Script& s, TBiggerIniFile& ini, std::string_view section) {
  static const char* const kKeys[] = {"url", "title", "Count", "Colour", "Flag", "Category"};
  switch (s.Byte() % 8) {
    case 0:
    case 1:
    case 2:
    case 3: {
      Lines keys;
      ini.ReadKeyList(section, keys);
      if (keys.empty()) return kKeys[s.Below(6)];
      std::string key = keys[s.Below(keys.size())];
      return s.OneIn(4) ? FlipCase(std::move(key), s) : key;
    }
    case 4:
    case 5:
      return s.Odd();
    case 6:
      return s.Slice();
    default:
      return kKeys[s.Below(6)];
  }
}

std::string PickValue(Script& s, TBiggerIniFile& ini) {
  switch (s.Byte() % 8) {
    case 0:
    case 1:
    case 2:
      return s.Odd();
    case 3:
    case 4:
      return s.Slice();
    case 5:
      return std::to_string(static_cast<int32_t>(s.Word()));
    case 6: {
      std::string section = PickSection(s, ini);
      return ini.ReadText(section, PickKey(s, ini, section), "");
    }
    default: {
      std::string v;
      size_t parts = 1 + s.Below(4);
      for (size_t i = 0; i < parts; ++i) v += s.OneIn(2) ? s.Odd() : s.Slice();
      return v;
    }
  }
}

Lines PickLines(Script& s, TBiggerIniFile& ini) {
  Lines lines;
  size_t n = s.Below(7);
  for (size_t i = 0; i < n; ++i) {
    switch (s.Byte() % 4) {
      case 0: {
        Lines from;
        ini.ReadSectionLines(PickSection(s, ini), from);
        lines.push_back(from.empty() ? "a=1" : from[s.Below(from.size())]);
        break;
      }
      case 1:
        lines.push_back(s.Odd());
        break;
      case 2:
        lines.push_back(s.Slice());
        break;
      default:
        lines.push_back(PickKey(s, ini, "x") + "=" + PickValue(s, ini));
        break;
    }
  }
  return lines;
}

// ---- The run --------------------------------------------------------------------------------

// A memory-only store holding the same content as `from`.
void Mirror(const TBiggerIniFile& from, TBiggerIniFile& to) {
  to.LoadFromDisk();  // memory only: empties it
  for (const auto& s : from.Sections().Items()) {
    Lines lines;
    for (const auto& l : s.lines) lines.emplace_back(l.text);
    to.WriteSectionLines(s.name, lines);
  }
  CheckSameContent(from, to);
}

constexpr char kMissing[] = "\xFF<missing>\xFF";

// The number, flag and colour read from a key holding `text`.
void CheckConversions(TBiggerIniFile& ini, std::string_view section, std::string_view key,
                      const std::string& text) {
  int32_t number = 0;
  bool isNumber = ExpectedNumber(text, number);
  int32_t parsed = 0;
  CHECK(TBiggerIniFile::ParseNumber(text, parsed) == isNumber);
  if (isNumber) CHECK(parsed == number);
  CHECK(ini.ReadNumber(section, key, -7) == (isNumber ? number : -7));
  CHECK(ini.ReadFlag(section, key, true) == (isNumber ? number != 0 : true));
  CHECK(ini.ReadFlag(section, key, false) == (isNumber && number != 0));
  uint64_t colour = 0;
  bool isColour = HexMagnitude(text, std::numeric_limits<uint32_t>::max(), colour);
  try {
    uint32_t got = ini.ReadColour(section, key, 0x123456);
    CHECK(isColour && got == colour);
  } catch (const qs::ConversionError&) {
    CHECK(!isColour);
  }
}

// After a write of `value` under a plain key: the value reads back as stored.
void CheckWritten(TBiggerIniFile& ini, std::string_view section, std::string_view key,
                  std::string_view value) {
  if (!PlainKey(key)) return;
  std::string source = Blanked(std::string(key) + "=" + std::string(value));
  std::string got = ini.ReadText(section, key, kMissing);
  CHECK(got != kMissing);
  CHECK(LegalCut(std::string(key) + "=" + got, source));
  CheckConversions(ini, section, key, got);
}

size_t CountKey(TBiggerIniFile& ini, std::string_view section, std::string_view key) {
  Lines lines;
  ini.ReadSectionLines(section, lines);
  size_t n = 0;
  for (const auto& l : lines) {
    auto eq = l.find('=');
    if (eq != std::string::npos && SameIgnoringCase(std::string_view(l).substr(0, eq), key)) ++n;
  }
  return n;
}

bool HasSectionNamed(TBiggerIniFile& ini, std::string_view section) {
  Lines names;
  ini.ReadSectionNames(names);
  for (const auto& n : names)
    if (SameIgnoringCase(n, section)) return true;
  return false;
}

// Runs one operation on the file store `a` and the memory store `m`.
void Step(Script& s, TBiggerIniFile& a, TBiggerIniFile& m, const std::string& path) {
  const std::string section = PickSection(s, a);
  const std::string key = PickKey(s, a, section);
  switch (s.Byte() % 18) {
    case 0: {  // ReadText
      std::string fallback = s.OneIn(2) ? std::string() : s.Odd();
      std::string x = a.ReadText(section, key, fallback);
      CHECK(x == m.ReadText(section, key, fallback));
      break;
    }
    case 1: {  // WriteText
      std::string value = PickValue(s, a);
      a.WriteText(section, key, value);
      m.WriteText(section, key, value);
      if (key.empty()) {
        if (!section.empty() || !value.empty()) CHECK(!HasSectionNamed(a, section));
      } else {
        CheckWritten(a, section, key, value);
      }
      break;
    }
    case 2: {  // ReadNumber
      int32_t fallback = static_cast<int32_t>(s.Word());
      int32_t x = a.ReadNumber(section, key, fallback);
      CHECK(x == m.ReadNumber(section, key, fallback));
      int32_t expected = 0;
      if (!ExpectedNumber(a.ReadText(section, key, ""), expected)) expected = fallback;
      CHECK(x == expected);
      break;
    }
    case 3: {  // WriteNumber
      int32_t v = static_cast<int32_t>(s.Word());
      a.WriteNumber(section, key, v);
      m.WriteNumber(section, key, v);
      if (!key.empty()) CheckWritten(a, section, key, std::to_string(v));
      if (PlainKey(key) && key.size() + 12 <= kShortestCut) {
        CHECK(a.ReadNumber(section, key, ~v) == v);
      }
      break;
    }
    case 4: {  // ReadFlag
      bool fallback = s.OneIn(2);
      bool x = a.ReadFlag(section, key, fallback);
      CHECK(x == m.ReadFlag(section, key, fallback));
      CHECK(x == (a.ReadNumber(section, key, fallback ? 1 : 0) != 0));
      break;
    }
    case 5: {  // WriteFlag
      bool v = s.OneIn(2);
      a.WriteFlag(section, key, v);
      m.WriteFlag(section, key, v);
      if (!key.empty()) CheckWritten(a, section, key, v ? "1" : "0");
      if (PlainKey(key)) CHECK(a.ReadFlag(section, key, !v) == v);
      break;
    }
    case 6: {  // ReadColour
      uint32_t fallback = s.Word();
      std::string text = a.ReadText(section, key, Hex8(fallback));
      uint64_t expected = 0;
      bool valid = HexMagnitude(text, std::numeric_limits<uint32_t>::max(), expected);
      bool threwA = false, threwM = false;
      uint32_t x = 0, y = 0;
      try {
        x = a.ReadColour(section, key, fallback);
      } catch (const qs::ConversionError&) {
        threwA = true;
      }
      try {
        y = m.ReadColour(section, key, fallback);
      } catch (const qs::ConversionError&) {
        threwM = true;
      }
      CHECK(threwA == threwM);
      CHECK(threwA == !valid);
      if (!threwA) CHECK(x == expected && y == expected);
      break;
    }
    case 7: {  // WriteColour
      uint32_t v = s.Word();
      a.WriteColour(section, key, v);
      m.WriteColour(section, key, v);
      if (!key.empty()) CheckWritten(a, section, key, Hex8(v));
      if (PlainKey(key) && key.size() + 9 <= kShortestCut) {
        CHECK(a.ReadText(section, key, "") == Hex8(v));
        CHECK(a.ReadColour(section, key, ~v) == v);
      }
      break;
    }
    case 8: {  // ReadKeyList
      Lines x, y, lines;
      a.ReadKeyList(section, x);
      m.ReadKeyList(section, y);
      CHECK(x == y);
      a.ReadSectionLines(section, lines);
      CHECK(x.size() == lines.size());
      for (size_t i = 0; i < x.size(); ++i) {
        auto eq = lines[i].find('=');
        CHECK(x[i] == (eq == std::string::npos ? std::string() : lines[i].substr(0, eq)));
      }
      break;
    }
    case 9: {  // ReadSectionLines
      Lines x, y;
      a.ReadSectionLines(section, x);
      m.ReadSectionLines(section, y);
      CHECK(x == y);
      break;
    }
    case 10: {  // ReadSectionNames
      Lines x, y;
      a.ReadSectionNames(x);
      m.ReadSectionNames(y);
      CHECK(x == y);
      CHECK(x.size() == a.Sections().Items().size());
      break;
    }
    case 11: {  // ReadAllLines
      CHECK(AllLines(a) == AllLines(m));
      break;
    }
    case 12: {  // WriteSectionLines
      Lines source = PickLines(s, a);
      a.WriteSectionLines(section, source);
      m.WriteSectionLines(section, source);
      Lines got;
      a.ReadSectionLines(section, got);
      CHECK(got.size() == source.size());
      for (size_t i = 0; i < got.size(); ++i) CHECK(LegalCut(got[i], Blanked(source[i])));
      break;
    }
    case 13: {  // DropSection
      a.DropSection(section);
      m.DropSection(section);
      CHECK(!HasSectionNamed(a, section));
      break;
    }
    case 14: {  // DropKey
      size_t before = CountKey(a, section, key);
      a.DropKey(section, key);
      m.DropKey(section, key);
      CHECK(CountKey(a, section, key) == (before > 0 ? before - 1 : 0));
      break;
    }
    case 15: {  // SaveToDisk
      bool changed = a.Changed();
      Lines lines = AllLines(a);
      std::string old = ReadBytes(path);
      a.SaveToDisk();
      m.SaveToDisk();
      CHECK(!a.Changed());
      CHECK(ReadBytes(path) == (changed ? Joined(lines) : old));
      break;
    }
    case 16: {  // LoadFromDisk
      a.LoadFromDisk();
      CheckLoaded(a, ReadBytes(path));
      Mirror(a, m);
      break;
    }
    default: {  // StoredLine
      std::string text = s.OneIn(2) ? PickValue(s, a) : key + "=" + PickValue(s, a);
      CHECK(LegalCut(TBiggerIniFile::StoredLine(text), Blanked(text)));
      int32_t parsed = 0, expected = 0;
      bool ok = ExpectedNumber(text, expected);
      CHECK(TBiggerIniFile::ParseNumber(text, parsed) == ok);
      if (ok) CHECK(parsed == expected);
      break;
    }
  }
}

// Makes the store write its file even though its content ends as it was.
void ForceSave(TBiggerIniFile& ini) {
  for (const auto& s : ini.Sections().Items()) {
    if (s.lines.empty()) continue;
    std::string name = s.name;
    Lines lines;
    for (const auto& l : s.lines) lines.emplace_back(l.text);
    Lines longer = lines;
    longer.push_back("x=1");
    ini.WriteSectionLines(name, longer);
    ini.WriteSectionLines(name, lines);
    CHECK(ini.Changed());
    return;
  }
  ini.WriteSectionLines("t", {"a=1"});
  ini.DropSection("t");
  CHECK(ini.Changed());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = Folder() + "/store.ini";
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteBytes(path, input);

  Script script(data, size);
  TBiggerIniFile a(path);
  CheckLoaded(a, input);
  TBiggerIniFile m("");
  Mirror(a, m);

  const size_t steps = 1 + script.Below(32);
  for (size_t i = 0; i < steps; ++i) Step(script, a, m, path);
  CheckHeld(a);
  CheckSameContent(a, m);
  m.Close();

  // Close writes exactly the lines held, and only when something changed.
  const Lines before = AllLines(a);
  const bool changed = a.Changed();
  const bool survives = SurvivesSaving(a);
  const std::string old = ReadBytes(path);
  a.Close();
  CHECK(!a.Changed());
  const std::string first = ReadBytes(path);
  CHECK(first == (changed ? Joined(before) : old));

  // Reading it again gives the same lines.
  TBiggerIniFile b(path);
  CheckLoaded(b, first);
  const Lines reread = AllLines(b);
  if (survives) CHECK(reread == before);

  // Content read from a file is saved as it was read, and stays so.
  ForceSave(b);
  b.Close();
  const std::string second = ReadBytes(path);
  CHECK(second == Joined(reread));
  TBiggerIniFile c(path);
  CHECK(AllLines(c) == reread);
  ForceSave(c);
  c.Close();
  CHECK(ReadBytes(path) == second);

  CHECK(qs::UnclosedStoreCount() == 0);
  return 0;
}

#include "engine/events/variables/EscapeExpander.h"

#include <cstring>
#include <string_view>

#include "engine/events/variables/VariableId.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/MessageTextScan.h"

namespace {

const std::string kErrorText = "<<ERROR>>";

void ReportMissingMark(const char* line) { ShowErrorScreen(line, ErrorLocationText(), ""); }

std::string Decimal(int32_t value) { return std::to_string(value); }

int32_t NumberAt(const std::string& text, size_t pos) {
  return pos < text.size() ? ReadTextNumber(text.data() + pos, text.size() - pos) : 0;
}

// ---- References ----

struct Reference {
  size_t end;         // one past the last byte replaced
  std::string value;
};

// The closing mark of an escape: the first `mark` at or after `from`, or,
// when there is none, the byte after `previous` (after the error screen).
size_t FindMark(const std::string& text, char mark, size_t from, size_t previous, const char* missingLine) {
  const size_t found = from < text.size() ? text.find(mark, from) : std::string::npos;
  if (found != std::string::npos) return found;
  ReportMissingMark(missingLine);
  return previous + 1;
}

size_t EndAfter(const std::string& text, size_t mark) { return mark + 1 < text.size() ? mark + 1 : text.size(); }

struct ExpandContext {
  int32_t mapEventId;
  int32_t commonEventNumber;
  int32_t mapId;
};

// One kind of reference: its opening and how an occurrence at p becomes its
// value.
using ReadReference = Reference (*)(const std::string& text, size_t p, size_t open, const ExpandContext& at);

// Replaces every occurrence of the opening, first to last, while the text
// stays within sizeLimit bytes. A value is scanned again when it may hold the
// opening itself (it has a backslash), as the text after a replacement is
// searched from the replacement on.
void ExpandKind(std::string& text, std::string_view opening, ReadReference read, const ExpandContext& at,
                size_t sizeLimit) {
  if (text.find(opening) == std::string::npos) return;
  std::string out;
  size_t i = 0;
  int32_t replaced = 0;
  int32_t rescans = 0;
  for (;;) {
    const size_t p = text.find(opening, i);
    if (p == std::string::npos || replaced >= kMaxReferencesPerKind) break;
    Reference ref = read(text, p, p + opening.size(), at);
    const size_t rest = text.size() - ref.end;
    if (out.size() + (p - i) + ref.value.size() + rest > sizeLimit) break;
    ++replaced;
    out.append(text, i, p - i);
    if (ref.value.find('\\') != std::string::npos && rescans < kMaxRescansPerKind) {
      ++rescans;
      text = ref.value + text.substr(ref.end);
      i = 0;
    } else {
      out += ref.value;
      i = ref.end;
    }
  }
  out.append(text, i, std::string::npos);
  text = std::move(out);
}

// \v[n] and \vk[n]: entry n of numbered set k.
template <int kSet>
Reference NumberedVariable(const std::string& text, size_t p, size_t open, const ExpandContext&) {
  const size_t close = FindMark(text, ']', open, p,
                                kSet == 0 ? "エラー：\\v[の「]」が見つかりません" : "エラー：\\v?の「]」が見つかりません");
  const int64_t id = 2000000 + int64_t{kSet} * 100000 + NumberAt(text, open);
  return {EndAfter(text, close), Decimal(Variables.GetVariable(id))};
}

Reference SelfVariable(const std::string& text, size_t p, size_t open, const ExpandContext& at) {
  const size_t close = FindMark(text, ']', open, p, "エラー：\\selfの「]」が見つかりません");
  const int64_t id = 1000000 + int64_t{at.mapEventId} * 10 + NumberAt(text, open);
  return {EndAfter(text, close), Decimal(Variables.GetVariableOnMap(id, at.mapId))};
}

Reference CommonSelfVariable(const std::string& text, size_t p, size_t open, const ExpandContext& at) {
  const size_t close = FindMark(text, ']', open, p, "エラー：\\cselfの「]」が見つかりません");
  const int32_t n = NumberAt(text, open);
  const int64_t id = 15000000 + int64_t{at.commonEventNumber} * 100 + n;
  if (n >= 5 && n <= 9) return {EndAfter(text, close), Variables.GetStringVariable(id)};
  return {EndAfter(text, close), Decimal(Variables.GetVariable(id))};
}

template <int kDatabase>  // 0 user, 1 variable, 3 system
Reference DatabaseCell(const std::string& text, size_t p, size_t open, const ExpandContext&) {
  const char* const kMissingColon = "エラー：\\?dbの「:」が見つかりません";
  const size_t first = FindMark(text, ':', open, p, kMissingColon);
  const size_t second = FindMark(text, ':', first + 1, first, kMissingColon);
  const size_t close = FindMark(text, ']', second + 1, second, "エラー：\\?dbの「]」が見つかりません");
  const int64_t id = 1000000000 + int64_t{kDatabase} * 100000000 + int64_t{NumberAt(text, open)} * 1000000 +
                     int64_t{NumberAt(text, first + 1)} * 100 + NumberAt(text, second + 1);
  std::string value = Variables.GetStringVariable(id);
  if (value == kErrorText) value = Decimal(Variables.GetVariable(id));
  return {EndAfter(text, close), std::move(value)};
}

Reference StringVariable(const std::string& text, size_t p, size_t open, const ExpandContext&) {
  const size_t close = FindMark(text, ']', open, p, "エラー：\\sの「]」が見つかりません");
  return {EndAfter(text, close), Variables.GetStringVariable(3000000 + int64_t{NumberAt(text, open)})};
}

void ExpandReferences(std::string& text, const ExpandContext& at) {
  const size_t limit = text.size() + kMaxExpandedGrowth;
  ExpandKind(text, "\\v[", NumberedVariable<0>, at, limit);
  static constexpr ReadReference kSpareSets[] = {NumberedVariable<1>, NumberedVariable<2>, NumberedVariable<3>,
                                                 NumberedVariable<4>, NumberedVariable<5>, NumberedVariable<6>,
                                                 NumberedVariable<7>, NumberedVariable<8>, NumberedVariable<9>};
  for (int k = 1; k <= 9; ++k) {
    const char opening[] = {'\\', 'v', static_cast<char>('0' + k), '['};
    ExpandKind(text, std::string_view(opening, 4), kSpareSets[k - 1], at, limit);
  }
  ExpandKind(text, "\\self[", SelfVariable, at, limit);
  ExpandKind(text, "\\cself[", CommonSelfVariable, at, limit);
  // The user database's cells first, then the variable and the system
  // database's; a cell whose text names a cell of an earlier one sends the
  // expansion back to it.
  static constexpr std::string_view kDatabaseOpenings[] = {"\\udb[", "\\cdb[", "\\sdb["};
  static constexpr ReadReference kDatabaseReads[] = {DatabaseCell<0>, DatabaseCell<1>, DatabaseCell<3>};
  for (int round = 0; round < kMaxRescansPerKind; ++round) {
    int kind = 0;
    while (kind < 3 && text.find(kDatabaseOpenings[kind]) == std::string::npos) ++kind;
    if (kind == 3) break;
    ExpandKind(text, kDatabaseOpenings[kind], kDatabaseReads[kind], at, limit);
  }
  ExpandKind(text, "\\s[", StringVariable, at, limit);
}

// ---- Formatting escapes ----

enum Argument : uint8_t {
  kNoArgument,   // the opening alone is replaced
  kColor,        // one byte, 0..200
  kFace,         // one byte, not limited
  kSize,         // one byte, 1..240
  kSqueeze,      // the value itself as a byte
  kSpeed,        // two bytes
  kLineSpacing,  // two bytes, n + 32000
  kPlace,        // two bytes, 0..9999, negative 10000
};

struct FormatEscape {
  std::string_view opening;
  uint8_t code;
  Argument argument;
  const char* missingBracket;
};

// In the order of the conversion.
constexpr FormatEscape kFormatEscapes[] = {
    {"\\c[", 0x02, kColor, "エラー：\\cの「]」が見つかりません"},
    {"\\font[", 0x11, kFace, "エラー：\\fontの「]」が見つかりません"},
    {"\\f[", 0x03, kSize, "エラー：\\fの「]」が見つかりません"},
    {"\\m[", 0x04, kSize, "エラー：\\mの「]」が見つかりません"},
    {"\\E", 0x05, kNoArgument, nullptr},
    {"\\N", 0x06, kNoArgument, nullptr},
    {"\\-[", 0x07, kSqueeze, "エラー：\\-の「]」が見つかりません"},
    {"\\r[", 0x09, kNoArgument, nullptr},
    {"\\>", 0x0A, kNoArgument, nullptr},
    {"\\<", 0x0B, kNoArgument, nullptr},
    {"\\sp[", 0x0C, kSpeed, "エラー：\\spの「]」が見つかりません"},
    {"\\.", 0x0E, kNoArgument, nullptr},
    {"\\!", 0x0F, kNoArgument, nullptr},
    {"\\^", 0x10, kNoArgument, nullptr},
    {"\\space[", 0x12, kLineSpacing, "エラー：\\spaceの「]」が見つかりません"},
    {"<L>", 0x13, kNoArgument, nullptr},
    {"<C>", 0x14, kNoArgument, nullptr},
    {"<R>", 0x15, kNoArgument, nullptr},
    {"\\i[", 0x16, kPlace, "エラー：\\iの「]」が見つかりません"},
    {"\\img[", 0x17, kNoArgument, nullptr},
    {"\\mx[", 0x18, kPlace, "エラー：\\mxの「]」が見つかりません"},
    {"\\my[", 0x19, kPlace, "エラー：\\myの「]」が見つかりません"},
};
constexpr int kFormatEscapeCount = static_cast<int>(sizeof kFormatEscapes / sizeof kFormatEscapes[0]);

uint8_t SmallValue(int64_t v) { return static_cast<uint8_t>(static_cast<uint64_t>(v + 14)); }

void AppendWide(std::string& out, int64_t v) {
  out += static_cast<char>(SmallValue(v / 256));
  out += static_cast<char>(SmallValue(v % 256));
}

bool StartsWith(const std::string& text, size_t i, std::string_view s) {
  return text.size() - i >= s.size() && std::memcmp(text.data() + i, s.data(), s.size()) == 0;
}

// The escape whose opening stands at text[i] (each position opens at most
// one), or -1.
int FormatEscapeAt(const std::string& text, size_t i) {
  const char c = text[i];
  if (c != '\\' && c != '<') return -1;
  for (int k = 0; k < kFormatEscapeCount; ++k) {
    if (StartsWith(text, i, kFormatEscapes[k].opening)) return k;
  }
  return -1;
}

// The first "]" at a character boundary from `from`, or npos.
size_t FindClosingBracket(const std::string& text, size_t from) {
  for (size_t i = from; i < text.size();) {
    if (text[i] == ']') return i;
    i += MessageUnitLength(text.data() + i, text.size() - i);
  }
  return std::string::npos;
}

// Writes the control sequence of the escape at p; returns the end of what it
// replaces.
size_t ConvertEscape(const std::string& text, size_t p, const FormatEscape& e, std::string& out) {
  out += static_cast<char>(kControlByte);
  out += static_cast<char>(e.code);
  const size_t open = p + e.opening.size();
  if (e.argument == kNoArgument) return open;
  size_t close = FindClosingBracket(text, open);
  if (close == std::string::npos) {
    ReportMissingMark(e.missingBracket);
    close = p + 1;
  }
  const int64_t n = NumberAt(text, open);
  switch (e.argument) {
    case kColor:
      if (n > 200) {
        ShowErrorScreen("エラー：\\cの[]内は200以下までしか受け付けません", "指定色 > " + Decimal(static_cast<int32_t>(n)),
                        ErrorLocationText());
        out += static_cast<char>(SmallValue(200));
        return p + 2;  // the bracket and its number stay as text
      }
      out += static_cast<char>(SmallValue(n < 0 ? 0 : n));
      break;
    case kFace:
      if (n < 0 || n > 3) ShowErrorScreen("エラー：\\fontの[ ]内の値が0～3の範囲を超えています", "", "");
      out += static_cast<char>(SmallValue(n));
      break;
    case kSize:
      out += static_cast<char>(SmallValue(n < 1 ? 1 : n > 240 ? 240 : n));
      break;
    case kSqueeze: {
      // The byte must be neither NUL nor CR.
      const uint8_t b = static_cast<uint8_t>(static_cast<uint64_t>(n));
      out += static_cast<char>(b == 0 ? 255 : b == 13 ? 12 : b);
      break;
    }
    case kSpeed:
    case kLineSpacing: {
      int64_t v = e.argument == kSpeed ? n : n + 32000;
      if (v > 60000) v = 60000;
      AppendWide(out, v <= 0 ? 65535 : v);
      break;
    }
    case kPlace:
      AppendWide(out, n < 0 ? 10000 : n > 9999 ? 9999 : n);
      break;
    case kNoArgument:
      break;
  }
  return close + 1;
}

// Converts every occurrence of one escape, first to last, at character
// boundaries only (never inside a character or a control sequence).
void ConvertKind(std::string& text, const FormatEscape& e) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (StartsWith(text, i, e.opening)) {
      i = ConvertEscape(text, i, e, out);
      continue;
    }
    const size_t n = MessageUnitLength(text.data() + i, text.size() - i);
    out.append(text, i, n);
    i += n;
  }
  text = std::move(out);
}

void ConvertFormatting(std::string& text) {
  // Backslash pairs become literal backslashes first.
  std::string paired;
  paired.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
      paired += static_cast<char>(kControlByte);
      paired += static_cast<char>(kControlByte);
      i += 2;
      continue;
    }
    const size_t n = MessageUnitLength(text.data() + i, text.size() - i);
    paired.append(text, i, n);
    i += n;
  }
  // CRs go once, before any argument byte (13 among them) is written.
  std::erase(paired, '\r');
  text = std::move(paired);

  // A conversion never makes a new escape at a character boundary, so each
  // kind takes all its occurrences in one pass, and only the kinds present
  // need one.
  uint32_t present = 0;
  for (size_t i = 0; i < text.size();) {
    const int k = FormatEscapeAt(text, i);
    if (k >= 0) present |= 1u << k;
    i += MessageUnitLength(text.data() + i, text.size() - i);
  }
  for (int k = 0; k < kFormatEscapeCount; ++k) {
    if (present & (1u << k)) ConvertKind(text, kFormatEscapes[k]);
  }
}

// "@number" and a line feed at the start of a message: the number goes to
// system variable 0 and the line is removed.
void TakeLeadingNumberLine(std::string& text) {
  const size_t lf = text.find('\n');
  if (lf == std::string::npos) {
    text.erase(0, 1);
    return;
  }
  int32_t number = 0;
  if (CountMessageCharacters(text.data() + 1, lf - 1) > 9) {
    ShowErrorScreen("＠後に数字だけでなく、文字が入っている可能性があります", "", "");
  } else {
    number = ReadTextNumber(text.data() + 1, lf - 1);
  }
  Variables.SetVariable(9000000, number);
  text.erase(0, lf + 1);
}

bool NeedsExpansion(const std::string& text) {
  const char* p = text.data();
  const size_t n = text.size();
  return std::memchr(p, '\\', n) || std::memchr(p, '<', n) || std::memchr(p, '\r', n);
}

}  // namespace

int32_t ReadTextNumber(const char* text, size_t length) {
  size_t i = 0;
  while (i < length && text[i] == ' ') ++i;
  bool negative = false;
  if (i < length && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  int digits = 0;
  for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (++digits <= 9) value = value * 10 + (text[i] - '0');
  }
  if (digits > 9) return negative ? INT32_MIN : INT32_MAX;
  return static_cast<int32_t>(negative ? -value : value);
}

std::string ExpandMessageText(std::string text, int32_t mapEventId, int32_t commonEventNumber, int32_t mapId,
                              bool referencesOnly, bool wrap, const std::string& prefix, const std::string& suffix,
                              bool leadingNumberLine) {
  if (leadingNumberLine && !text.empty() && text[0] == '@') TakeLeadingNumberLine(text);
  if (wrap) text = prefix + text + suffix;
  if (!NeedsExpansion(text)) return text;
  ExpandReferences(text, {mapEventId, commonEventNumber, mapId});
  if (referencesOnly) return text;
  ConvertFormatting(text);
  return text;
}

std::string RewriteEscapes(std::string text) {
  if (!std::memchr(text.data(), kControlByte, text.size())) return text;
  std::string out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size();) {
    const size_t n = MessageUnitLength(text.data() + i, text.size() - i);
    const char* escape = nullptr;
    if (static_cast<uint8_t>(text[i]) == kControlByte && n >= 2) {
      switch (static_cast<uint8_t>(text[i + 1])) {
        case 0x01: escape = "\\\\"; break;
        case 0x05: escape = "\\E"; break;
        case 0x06: escape = "\\N"; break;
        case 0x09: escape = "\\r["; break;
        case 0x0A: escape = "\\>"; break;
        case 0x0B: escape = "\\<"; break;
        case 0x0E: escape = "\\."; break;
        case 0x0F: escape = "\\!"; break;
        case 0x10: escape = "\\^"; break;
        case 0x17: escape = "\\img["; break;
        default: break;
      }
    }
    if (escape) {
      out += escape;
    } else {
      out.append(text, i, n);
    }
    i += n;
  }
  return out;
}

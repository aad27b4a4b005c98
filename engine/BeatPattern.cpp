#include "engine/BeatPattern.h"

namespace {

// Today's measure list: its names are also its groupings, so they parse
// like any other measure name.
constexpr const char* kLegacyNames[LMeasure::kLegacyCount] = {"None",   "2", "3", "4",      "5",      "5(3+2)",
                                                              "5(2+3)", "6", "7", "7(4+3)", "7(3+4)", "8"};

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// A whole number of at most two digits (nothing here goes above 16), or -1.
int SmallNumber(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.size() > 2) return -1;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

char LBeatStateLetter(LBeatState state) {
  switch (state) {
    case LBeatState::Downbeat: return 'D';
    case LBeatState::Accent: return 'A';
    case LBeatState::Beat: return 'b';
    case LBeatState::Mute: break;
  }
  return '.';
}

LBeatState LNextBeatState(LBeatState state) {
  switch (state) {
    case LBeatState::Downbeat: return LBeatState::Accent;
    case LBeatState::Accent: return LBeatState::Beat;
    case LBeatState::Beat: return LBeatState::Mute;
    case LBeatState::Mute: break;
  }
  return LBeatState::Downbeat;
}

bool LBeatPattern::Parse(std::string_view text, LBeatPattern& out, std::string& error) {
  if (text.empty()) return error = "the beat pattern is empty; give one of D A b . per beat", false;
  if (text.size() > static_cast<size_t>(kMaxBeats))
    return error = "the beat pattern " + Quoted(text) + " has " + std::to_string(text.size()) +
                   " beats; a bar has at most 16",
           false;
  LBeatPattern p;
  p.m_beats = static_cast<int>(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case 'D': p.m_states[i] = LBeatState::Downbeat; break;
      case 'A': p.m_states[i] = LBeatState::Accent; break;
      case 'b': p.m_states[i] = LBeatState::Beat; break;
      case '.': p.m_states[i] = LBeatState::Mute; break;
      default:
        return error = "the beat pattern " + Quoted(text) + " has " + Quoted(text.substr(i, 1)) + " at beat " +
                       std::to_string(i + 1) + "; use D (downbeat), A (accent), b (beat) or . (mute)",
               false;
    }
  }
  out = p;
  return true;
}

LBeatState LBeatPattern::Get(int beat) const {
  return beat >= 0 && beat < m_beats ? m_states[static_cast<size_t>(beat)] : LBeatState::Mute;
}

bool LBeatPattern::Set(int beat, LBeatState state) {
  if (beat < 0 || beat >= m_beats) return false;
  m_states[static_cast<size_t>(beat)] = state;
  return true;
}

bool LBeatPattern::SetBeats(int beats) {
  if (beats < 1 || beats > kMaxBeats) return false;
  for (int b = m_beats; b < beats; ++b) m_states[static_cast<size_t>(b)] = LBeatState::Beat;
  m_beats = beats;
  return true;
}

std::string LBeatPattern::ToString() const {
  std::string s;
  for (int b = 0; b < m_beats; ++b) s += LBeatStateLetter(m_states[static_cast<size_t>(b)]);
  return s;
}

bool LMeasure::FromGrouping(int beats, std::string_view grouping, LMeasure& out, std::string& error) {
  if (beats < 1 || beats > LBeatPattern::kMaxBeats)
    return error = "a bar has 1 to 16 beats, not " + std::to_string(beats), false;
  LMeasure m;
  m.m_none = false;
  m.m_beats = beats;
  m.m_groupCount = 0;
  grouping = Trim(grouping);
  if (grouping.empty()) {
    m.m_groups[0] = static_cast<uint8_t>(beats);
    m.m_groupCount = 1;
    out = m;
    return true;
  }
  // Sums every group before judging, so the message gives the real total;
  // groups add up to at most 16 only when there are at most 16 of them.
  int sum = 0;
  for (std::string_view rest = grouping;;) {
    const size_t plus = rest.find('+');
    const int group = SmallNumber(rest.substr(0, plus));
    if (group < 0)
      return error = "the grouping " + Quoted(grouping) + " is not a list of group sizes like 2+2+3", false;
    if (group == 0) return error = "the grouping " + Quoted(grouping) + " has a group of 0 beats", false;
    sum += group;
    if (m.m_groupCount < LBeatPattern::kMaxBeats) m.m_groups[static_cast<size_t>(m.m_groupCount++)] = uint8_t(group);
    if (plus == std::string_view::npos) break;
    rest = rest.substr(plus + 1);
  }
  if (sum != beats)
    return error = "the grouping " + Quoted(grouping) + " adds up to " + std::to_string(sum) + ", not " +
                   std::to_string(beats) + " beats",
           false;
  out = m;
  return true;
}

bool LMeasure::Parse(std::string_view name, LMeasure& out, std::string& error) {
  name = Trim(name);
  if (name == "None" || name == "none") {
    out = LMeasure();
    return true;
  }
  const size_t open = name.find('(');
  const int beats = SmallNumber(name.substr(0, open));
  if (beats < 1 || beats > LBeatPattern::kMaxBeats)
    return error = "the measure " + Quoted(name) + " is not None, a number of beats from 1 to 16, or beats with " +
                   "their groups like 9(2+2+2+3)",
           false;
  if (open == std::string_view::npos) return FromGrouping(beats, "", out, error);
  if (name.back() != ')') return error = "the measure " + Quoted(name) + " lacks the ')' closing its grouping", false;
  return FromGrouping(beats, name.substr(open + 1, name.size() - open - 2), out, error);
}

LMeasure LMeasure::FromLegacyIndex(int index) {
  LMeasure m;
  std::string unused;
  if (index > 0 && index < kLegacyCount) Parse(kLegacyNames[index], m, unused);
  return m;
}

const char* LMeasure::LegacyName(int index) { return index >= 0 && index < kLegacyCount ? kLegacyNames[index] : ""; }

std::string LMeasure::Grouping() const {
  if (m_groupCount < 2) return "";
  std::string s;
  for (int i = 0; i < m_groupCount; ++i) s += (i ? "+" : "") + std::to_string(m_groups[static_cast<size_t>(i)]);
  return s;
}

std::string LMeasure::Name() const {
  if (m_none) return "None";
  const std::string grouping = Grouping();
  return std::to_string(m_beats) + (grouping.empty() ? "" : "(" + grouping + ")");
}

int LMeasure::LegacyIndex() const {
  const std::string name = Name();
  for (int i = 0; i < kLegacyCount; ++i)
    if (name == kLegacyNames[i]) return i;
  return -1;
}

LBeatPattern LMeasure::Pattern() const {
  LBeatPattern p;
  if (m_none) return p;
  std::string text;
  for (int g = 0; g < m_groupCount; ++g) {
    text += g == 0 ? 'D' : 'A';
    text.append(static_cast<size_t>(m_groups[static_cast<size_t>(g)] - 1), 'b');
  }
  std::string unused;
  LBeatPattern::Parse(text, p, unused);
  return p;
}

std::vector<std::string> LCommonGroupings(int beats) {
  switch (beats) {
    case 5: return {"3+2", "2+3"};
    case 6: return {"3+3", "2+2+2"};
    case 7: return {"2+2+3", "3+2+2", "2+3+2", "4+3", "3+4"};
    case 8: return {"3+3+2", "4+4", "2+3+3", "3+2+3"};
    case 9: return {"2+2+2+3", "3+3+3", "2+3+2+2", "4+5"};
    case 10: return {"3+3+2+2", "2+2+3+3", "5+5", "3+2+3+2"};
    case 11: return {"2+2+3+2+2", "3+3+3+2", "4+4+3", "3+3+2+3"};
    case 12: return {"3+3+3+3", "4+4+4", "2+2+2+2+2+2", "3+3+2+2+2"};
    case 13: return {"3+3+3+2+2", "4+4+5", "2+2+3+2+2+2"};
    case 14: return {"4+4+3+3", "3+3+4+4", "2+2+3+2+2+3"};
    case 15: return {"3+3+3+3+3", "5+5+5", "4+4+4+3", "2+2+3+2+2+2+2"};
    case 16: return {"4+4+4+4", "3+3+2+3+3+2", "3+3+3+3+2+2"};
    default: return {};
  }
}

bool LParseSwing(std::string_view text, int& percent, std::string& error) {
  std::string_view t = Trim(text);
  if (!t.empty() && t.back() == '%') t = Trim(t.substr(0, t.size() - 1));
  const int value = t == "off" || t == "Off" ? kSwingStraight : SmallNumber(t);
  if (value < kSwingStraight || value > kSwingMax)
    return error = "the swing " + Quoted(text) + " is not a whole percentage from 50 (straight) to 75", false;
  percent = value;
  return true;
}

bool LSwingApplies(int percent, int subdivisions) {
  return percent > kSwingStraight && percent <= kSwingMax && (subdivisions == 2 || subdivisions == 4);
}

LBeatFraction LSlotStart(int swingPercent, int subdivisions, int slot) {
  if (subdivisions < 1) return {};
  if (!LSwingApplies(swingPercent, subdivisions)) return {slot, subdivisions};
  // In hundredths of a beat for eighths, two-hundredths for sixteenths: each
  // half of the beat splits at swing percent of itself.
  if (subdivisions == 2) return {slot == 0 ? 0 : swingPercent, 100};
  return {(slot / 2) * 100 + (slot % 2) * swingPercent, 200};
}

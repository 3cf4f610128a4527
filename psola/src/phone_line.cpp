#include "phone_line.h"

#include <algorithm>
#include <cmath>

#include "mbrola.h"

namespace psola {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

struct Tokens {
  const char* at;
  const char* end;
  bool next(const char*& token, std::size_t& length) {
    while (at < end && isBlank(*at)) ++at;
    if (at == end) return false;
    token = at;
    while (at < end && !isBlank(*at)) ++at;
    length = static_cast<std::size_t>(at - token);
    return true;
  }
};

std::string shown(const char* token, std::size_t length) {
  constexpr std::size_t kShown = 40;
  std::string s(token, std::min(length, kShown));
  for (char& c : s)
    if (static_cast<unsigned char>(c) < ' ') c = '?';
  return length > kShown ? s + "..." : s;
}

void report(LineError& error, int code, std::string text) {
  if (error.code != 0) return;  // the first fault of a line is the one worth telling
  error.code = code;
  error.text = std::move(text);
}

}  // namespace

bool parseNumber(const char* text, std::size_t length, double& value) {
  std::size_t i = 0;
  double sign = 1;
  if (i < length && (text[i] == '+' || text[i] == '-')) sign = text[i++] == '-' ? -1 : 1;
  double mantissa = 0;
  int digits = 0, scale = 0;
  for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) mantissa = mantissa * 10 + (text[i] - '0');
  if (i < length && text[i] == '.') {
    for (++i; i < length && text[i] >= '0' && text[i] <= '9'; ++i, ++digits, --scale)
      mantissa = mantissa * 10 + (text[i] - '0');
  }
  if (digits == 0) return false;
  if (i < length && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    int expSign = 1, exponent = 0, expDigits = 0;
    if (i < length && (text[i] == '+' || text[i] == '-')) expSign = text[i++] == '-' ? -1 : 1;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i, ++expDigits)
      exponent = std::min(exponent * 10 + (text[i] - '0'), 10000);
    if (expDigits == 0) return false;
    scale += expSign * exponent;
  }
  if (i != length) return false;
  // Powers of ten up to 1e22 are exact doubles, so "130.5" is 1305 / 10 on
  // every platform, whatever its pow() rounds.
  scale = std::clamp(scale, -400, 400);
  double power = 1;
  for (int k = 0; k < std::abs(scale); ++k) power *= 10;
  value = sign * (scale < 0 ? mantissa / power : mantissa * power);
  return std::isfinite(value);
}

PhoneLine parsePhoneLine(const char* text, std::size_t length, LineError& error) {
  PhoneLine line;
  Tokens tokens{text, text + length};
  const char* token;
  std::size_t n;
  if (!tokens.next(token, n) || token[0] == ';') return line;
  if (n == 1 && token[0] == '#') {
    line.kind = PhoneLine::Kind::flush;
    return line;
  }
  const std::string name(token, n);
  if (!tokens.next(token, n)) {
    report(error, MBR_ERR_MALFORMED_LINE, "no duration after the phoneme " + shown(name.data(), name.size()));
    return line;
  }
  double ms;
  if (!parseNumber(token, n, ms)) {
    report(error, MBR_ERR_MALFORMED_LINE, "the duration '" + shown(token, n) + "' is not a number");
    return line;
  }
  if (ms < 0 || ms > kMaxDurationMs) {
    report(error, MBR_ERR_DURATION_RANGE, "the duration " + shown(token, n) + " ms is out of range (0 to 60000)");
    return line;
  }
  line.kind = PhoneLine::Kind::phone;
  line.name = name;
  line.ms = ms;
  while (tokens.next(token, n)) {
    double position, hz;
    const char* pitchToken;
    std::size_t pitchLength;
    if (!parseNumber(token, n, position)) {
      report(error, MBR_ERR_MALFORMED_LINE, "the pitch position '" + shown(token, n) + "' is not a number");
      break;
    }
    if (!tokens.next(pitchToken, pitchLength)) {
      report(error, MBR_ERR_MALFORMED_LINE, "a pitch position without its frequency");
      break;
    }
    if (!parseNumber(pitchToken, pitchLength, hz)) {
      report(error, MBR_ERR_MALFORMED_LINE, "the pitch '" + shown(pitchToken, pitchLength) + "' is not a number");
      break;
    }
    if (hz < kMinPitchHz || hz > kMaxPitchHz) {
      report(error, MBR_ERR_PITCH_RANGE, "the pitch " + shown(pitchToken, pitchLength) + " Hz is out of range (20 to 1000)");
      continue;
    }
    if (line.points.size() == kMaxPitchPoints) {
      report(error, MBR_ERR_TOO_MANY_PITCH_POINTS, "more than 100 pitch points on one phoneme");
      break;
    }
    line.points.push_back({std::clamp(position, 0.0, 100.0), hz});
  }
  std::stable_sort(line.points.begin(), line.points.end(),
                   [](const PitchPoint& a, const PitchPoint& b) { return a.position < b.position; });
  return line;
}

}  // namespace psola

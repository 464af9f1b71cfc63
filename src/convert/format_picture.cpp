// FormatFloat: a value laid out by a picture such as "#,##0.00;(#,##0.00);'nil'".
//
// A picture has up to three sections separated by ';' (outside quotes): for
// positive values, negative values and zero. An empty negative or zero
// section falls back to the first; an empty first section, or a value of
// 10^18 or more without scientific notation, falls back to the general
// format with 15 digits. Within a section:
//   0  a digit, or '0' where the value has none
//   #  a digit, or nothing where the value has none
//   .  the first one places the decimal separator
//   ,  anywhere: group the integer digits in threes
//   E+ E- e+ e-  scientific notation; up to four '0's after it give the
//      exponent's minimum width; '+' also shows the sign of positive exponents
//   'x' "x"  literal text; any other character is literal as well
#include <algorithm>
#include <cmath>

#include "convert/float_format.hpp"

namespace quarnel::convert {
namespace {

bool is_quote(wchar c) { return c == '\'' || c == '"'; }

struct Sections {
  WideView part[3];
  int count = 0;
};

Sections split_sections(WideView picture) {
  Sections s;
  std::size_t start = 0;
  wchar quote = 0;
  for (std::size_t i = 0; i < picture.size() && s.count < 2; ++i) {
    wchar c = picture[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (is_quote(c)) {
      quote = c;
    } else if (c == ';') {
      s.part[s.count++] = picture.substr(start, i - start);
      start = i + 1;
    }
  }
  // The last section ends at the next ';' (a fourth section is ignored).
  WideView rest = picture.substr(std::min(start, picture.size()));
  quote = 0;
  std::size_t end = 0;
  for (; end < rest.size(); ++end) {
    if (quote) {
      if (rest[end] == quote) quote = 0;
    } else if (is_quote(rest[end])) {
      quote = rest[end];
    } else if (rest[end] == ';') {
      break;
    }
  }
  s.part[s.count++] = rest.substr(0, end);
  return s;
}

// What a section asks for, found before anything is written.
struct Layout {
  int int_places = 0;  // digit placeholders before the decimal point
  int min_int = 0;     // integer digits always written (from the first '0')
  int dec_places = 0;  // digit placeholders after it
  int min_dec = 0;     // decimal digits always written (up to the last '0')
  bool grouping = false;
  bool scientific = false;
  bool exponent_plus = false;
  int exponent_digits = 0;
};

// The length of the exponent marker at `i` ("E+" and its zeros), or 0.
std::size_t exponent_marker(WideView sec, std::size_t i) {
  if ((sec[i] != 'E' && sec[i] != 'e') || i + 1 >= sec.size() ||
      (sec[i + 1] != '+' && sec[i + 1] != '-'))
    return 0;
  std::size_t j = i + 2;
  while (j < sec.size() && sec[j] == '0') ++j;
  return j - i;
}

Layout analyse(WideView sec) {
  Layout l;
  bool point = false;
  int first_zero = -1;
  wchar quote = 0;
  for (std::size_t i = 0; i < sec.size(); ++i) {
    wchar c = sec[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (is_quote(c)) {
      quote = c;
    } else if (c == '0' || c == '#') {
      if (point) {
        ++l.dec_places;
        if (c == '0') l.min_dec = l.dec_places;
      } else {
        if (c == '0' && first_zero < 0) first_zero = l.int_places;
        ++l.int_places;
      }
    } else if (c == '.') {
      point = true;
    } else if (c == ',') {
      l.grouping = true;
    } else if (std::size_t n = l.scientific ? 0 : exponent_marker(sec, i)) {
      l.scientific = true;
      l.exponent_plus = sec[i + 1] == '+';
      l.exponent_digits = std::min(static_cast<int>(n) - 2, 4);
      i += n - 1;
    }
  }
  if (first_zero >= 0) l.min_int = l.int_places - first_zero;
  return l;
}

// The rounded value as the section will show it.
struct Shown {
  Decimal d;
  int int_digits = 0;  // integer digits written, leading zeros included
  int leading = 0;     // of which zeros the picture asks for
  int first_dec = 0;   // index in d.digits of the first decimal digit
  int dec_digits = 0;  // decimal digits written
  int exponent = 0;    // scientific notation only

  wchar int_digit(int p) const {
    int i = p - leading;
    return static_cast<wchar>(i >= 0 && i < d.count ? d.digits[i] : '0');
  }
  wchar dec_digit(int j) const {
    int i = first_dec + j;
    return static_cast<wchar>(i >= 0 && i < d.count ? d.digits[i] : '0');
  }
};

Shown round_for(const Layout& l, double a) {
  Shown s;
  int value_int = 0, present_dec = 0;
  if (l.scientific) {
    // As many significant digits as there are placeholders; the exponent
    // puts the first of them in the first integer place.
    s.d = round_decimal(a, std::clamp(l.int_places + l.dec_places, 1, 18));
    if (s.d.count) {
      value_int = l.int_places;
      s.exponent = s.d.exponent - l.int_places;
    }
    s.first_dec = l.int_places;
  } else {
    s.d = round_decimal(a, 18, l.dec_places);
    value_int = std::max(s.d.exponent, 0);
    s.first_dec = s.d.exponent;
  }
  present_dec = std::max(s.d.count - s.first_dec, 0);
  // Scientific notation always shows one integer digit, even for zero.
  s.int_digits = std::max({value_int, l.min_int, l.scientific ? 1 : 0});
  s.leading = s.int_digits - value_int;
  s.dec_digits = std::min(l.dec_places, std::max(present_dec, l.min_dec));
  return s;
}

void put_int_digit(NumberText& out, const Shown& v, int p, const Layout& l, wchar thousands) {
  out.push(v.int_digit(p));
  int left = v.int_digits - p - 1;
  if (l.grouping && thousands && left > 0 && left % 3 == 0) out.push(thousands);
}

void write_section(NumberText& out, WideView sec, const Layout& l, const Shown& v, bool minus,
                   const NumberSettings& s) {
  if (minus) out.push('-');
  bool point = false, exponent_done = false;
  int int_seen = 0, dec_seen = 0;
  for (std::size_t i = 0; i < sec.size(); ++i) {
    wchar c = sec[i];
    if (is_quote(c)) {
      std::size_t close = sec.find(c, i + 1);
      if (close == WideView::npos) close = sec.size();
      out.append(sec.substr(i + 1, close - i - 1));
      i = close;
    } else if ((c == '0' || c == '#') && !point) {
      // The first placeholder also takes the digits the picture has no
      // place for.
      if (int_seen == 0)
        for (int p = 0; p < v.int_digits - l.int_places; ++p)
          put_int_digit(out, v, p, l, s.thousands);
      int place = l.int_places - int_seen++;
      if (place <= v.int_digits) put_int_digit(out, v, v.int_digits - place, l, s.thousands);
    } else if (c == '0' || c == '#') {
      if (dec_seen < v.dec_digits) out.push(v.dec_digit(dec_seen));
      ++dec_seen;
    } else if (c == '.') {
      if (point) continue;
      point = true;
      if (l.int_places == 0)
        for (int p = 0; p < v.int_digits; ++p) put_int_digit(out, v, p, l, s.thousands);
      if (v.dec_digits > 0) out.push(s.decimal);
    } else if (c == ',') {
      // Only asks for grouping.
    } else if (std::size_t n = exponent_done ? 0 : exponent_marker(sec, i)) {
      exponent_done = true;
      out.push(c);
      if (v.exponent < 0)
        out.push('-');
      else if (l.exponent_plus)
        out.push('+');
      int x = v.exponent < 0 ? -v.exponent : v.exponent;
      char buf[8];
      int k = 0;
      do buf[k++] = static_cast<char>('0' + x % 10);
      while ((x /= 10) > 0);
      for (int z = k; z < l.exponent_digits; ++z) out.push('0');
      while (k > 0) out.push(static_cast<wchar>(buf[--k]));
      i += n - 1;
    } else {
      out.push(c);
    }
  }
}

}  // namespace

void format_float(NumberText& out, WideView picture, double value, const NumberSettings& s) {
  if (put_non_finite(out, value)) return;
  Sections sections = split_sections(picture);
  if (sections.part[0].empty()) {
    float_to_text(out, value, s);
    return;
  }
  int which = value > 0 ? 0 : value < 0 ? 1 : 2;
  if (which >= sections.count || sections.part[which].empty()) which = 0;
  Layout layout = analyse(sections.part[which]);
  double a = std::fabs(value);
  if (!layout.scientific && a >= 1e18) {
    float_to_text(out, value, s);
    return;
  }
  Shown shown = round_for(layout, a);
  if (shown.d.count == 0 && which != 2 && sections.count == 3 && !sections.part[2].empty()) {
    // Rounded to nothing: the zero section applies.
    which = 2;
    layout = analyse(sections.part[2]);
    shown = round_for(layout, 0.0);
  }
  bool minus = value < 0 && which == 0 && shown.d.count > 0;
  write_section(out, sections.part[which], layout, shown, minus, s);
}

}  // namespace quarnel::convert

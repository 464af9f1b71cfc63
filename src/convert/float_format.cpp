// FloatToStr, FloatToStrF and the runtime Format's "%g".
//
// Digits come from std::to_chars, which rounds correctly and ignores the
// process locale. Two adjustments make them the runtime's digits:
//  - the runtime rounds a value lying exactly halfway away from zero (2.5 to
//    one digit is 3), where to_chars rounds to even; such ties are found
//    exactly from the binary representation and moved up by one ulp first;
//  - the runtime rounds once, to whichever of the significant-digit limit
//    and the decimal-place limit comes first.
#include "convert/float_format.hpp"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace quarnel::convert {
namespace {

constexpr int kMaxPrecision = 18;  // the runtime works in extended precision
constexpr int kMaxExponentDigits = 4;

void parse_scientific(const char* p, const char* end, Decimal& d) {
  for (; p != end && *p != 'e'; ++p)
    if (*p != '.') d.digits[d.count++] = *p;
  int sign = 1, x = 0;
  for (++p; p < end; ++p) {
    if (*p == '-') sign = -1;
    if (*p >= '0' && *p <= '9') x = x * 10 + (*p - '0');
  }
  d.exponent = sign * x + 1;
}

void parse_fixed(const char* p, const char* end, Decimal& d) {
  d.exponent = static_cast<int>(std::find(p, end, '.') - p);
  for (; p != end; ++p) {
    if (*p == '.') continue;
    if (d.count == 0 && *p == '0')
      --d.exponent;  // a leading zero only moves the point
    else
      d.digits[d.count++] = *p;
  }
}

void strip_trailing_zeros(Decimal& d) {
  while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
  if (d.count == 0) d.exponent = 0;
}

// True when rounding `a` to `places` digits after the decimal point (a
// negative count rounds to tens, hundreds, ...) meets an exact tie, that is
// when 2 * a * 10^places is an odd integer. With a = m * 2^e and m odd that
// needs e == -(places + 1) for places >= 0, and e == -places - 1 together
// with 5^-places dividing m for places < 0.
bool exactly_halfway(double a, int places) {
  int e = 0;
  double f = std::frexp(a, &e);
  auto m = static_cast<std::uint64_t>(std::ldexp(f, 53));
  e -= 53;
  while ((m & 1) == 0) m >>= 1, ++e;
  if (e != -places - 1) return false;
  if (places >= 0) return true;
  std::uint64_t five = 1;
  for (int i = 0; i < -places; ++i) {
    if (five > m / 5) return false;  // 5^-places exceeds m
    five *= 5;
  }
  return m % five == 0;
}

void put_digits(NumberText& out, const char* digits, int count) {
  out.append_ascii(std::string_view(digits, static_cast<std::size_t>(count)));
}

// "E" has been written; now the exponent's sign and digits.
void put_exponent(NumberText& out, int x, bool plus, int min_digits) {
  if (x < 0)
    out.push('-');
  else if (plus)
    out.push('+');
  char buf[8];
  auto r = std::to_chars(buf, buf + sizeof buf, x < 0 ? -x : x);
  auto n = static_cast<std::size_t>(r.ptr - buf);
  if (n < static_cast<std::size_t>(min_digits))
    out.fill('0', static_cast<std::size_t>(min_digits) - n);
  out.append_ascii(std::string_view(buf, n));
}

// An unsigned fixed-point amount: the integer digits (at least "0"), grouped
// by `thousands` when it is not 0, then `decimals` digits after the point.
void put_amount(NumberText& out, const Decimal& d, int decimals, wchar thousands, wchar point) {
  int whole = std::max(d.exponent, 0);
  if (whole == 0) out.push('0');
  for (int i = 0; i < whole; ++i) {
    out.push(static_cast<wchar>(i < d.count ? d.digits[i] : '0'));
    int left = whole - i - 1;
    if (thousands && left > 0 && left % 3 == 0) out.push(thousands);
  }
  if (decimals <= 0) return;
  out.push(point);
  for (int j = 0; j < decimals; ++j) {
    int k = d.exponent + j;
    out.push(static_cast<wchar>(k >= 0 && k < d.count ? d.digits[k] : '0'));
  }
}

// The currency layouts, numbered as the locale settings number them: '$'
// stands for the symbol and '1' for the amount.
constexpr const char* kPositiveCurrency[4] = {"$1", "1$", "$ 1", "1 $"};
constexpr const char* kNegativeCurrency[16] = {"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                               "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                               "$ -1", "1- $", "($ 1)", "(1 $)"};

void put_currency(NumberText& out, const Decimal& d, bool negative, int decimals,
                  const NumberSettings& s) {
  const char* layout = negative ? kNegativeCurrency[s.negative_currency_format % 16]
                                : kPositiveCurrency[s.currency_format % 4];
  for (const char* c = layout; *c; ++c) {
    if (*c == '$')
      out.append(s.currency_symbol());
    else if (*c == '1')
      put_amount(out, d, decimals, s.thousands, s.decimal);
    else
      out.push(static_cast<wchar>(*c));
  }
}

void put_exponent_form(NumberText& out, const Decimal& d, bool negative, int precision,
                       int exponent_digits, wchar point) {
  if (negative) out.push('-');
  out.push(static_cast<wchar>(d.count ? d.digits[0] : '0'));
  if (precision > 1) out.push(point);
  for (int i = 1; i < precision; ++i) out.push(static_cast<wchar>(i < d.count ? d.digits[i] : '0'));
  out.push('E');
  put_exponent(out, d.count ? d.exponent - 1 : 0, true, exponent_digits);
}

}  // namespace

Decimal round_decimal(double a, int significant, int decimals) {
  Decimal d;
  if (a == 0) return d;
  char buf[64];
  // The shortest digits that read back as `a`. They differ from `a` by at
  // most half an ulp, less than half a unit in the 15th digit of a normal
  // double: when there are no more of them than wanted, and no more than 15
  // are wanted, they are also the correctly rounded answer.
  auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
  parse_scientific(buf, r.ptr, d);
  int n = significant;
  bool place_limited = decimals >= 0 && d.exponent + decimals < n;
  if (place_limited) n = d.exponent + decimals;
  if (d.count <= n && n <= 15 && a >= DBL_MIN) return d;

  if (exactly_halfway(a, place_limited ? decimals : n - d.exponent))
    a = std::nextafter(a, HUGE_VAL);
  d = Decimal();
  if (place_limited) {
    // Fewer than 18 digits in all, so the fixed text is short.
    r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, decimals);
    parse_fixed(buf, r.ptr, d);
  } else {
    r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, n - 1);
    parse_scientific(buf, r.ptr, d);
  }
  strip_trailing_zeros(d);
  return d;
}

bool put_non_finite(NumberText& out, double value) {
  if (std::isnan(value))
    out.append_ascii("NAN");
  else if (std::isinf(value))
    out.append_ascii(value < 0 ? "-INF" : "INF");
  else
    return false;
  return true;
}

void put_general(NumberText& out, const Decimal& d, bool negative, int precision,
                 int exponent_digits, const NumberSettings& s) {
  if (d.count == 0) {
    out.push('0');
    return;
  }
  if (negative) out.push('-');
  // Fixed notation down to 0.0001 (exponent -3), although the runtime's own
  // description says 0.00001: its routines switch at 0.0001.
  if (d.exponent > precision || d.exponent < -3) {
    out.push(static_cast<wchar>(d.digits[0]));
    if (d.count > 1) {
      out.push(s.decimal);
      put_digits(out, d.digits + 1, d.count - 1);
    }
    out.push('E');
    put_exponent(out, d.exponent - 1, false, exponent_digits);
  } else if (d.exponent <= 0) {
    out.push('0');
    out.push(s.decimal);
    out.fill('0', static_cast<std::size_t>(-d.exponent));
    put_digits(out, d.digits, d.count);
  } else {
    int whole = std::min(d.count, d.exponent);
    put_digits(out, d.digits, whole);
    out.fill('0', static_cast<std::size_t>(d.exponent - whole));
    if (d.count > d.exponent) {
      out.push(s.decimal);
      put_digits(out, d.digits + d.exponent, d.count - d.exponent);
    }
  }
}

void float_to_text(NumberText& out, double value, unsigned format, int precision, int digits,
                   const NumberSettings& s) {
  if (put_non_finite(out, value)) return;
  precision = std::clamp(precision, 1, kMaxPrecision);
  int exponent_digits = std::clamp(digits, 0, kMaxExponentDigits);
  bool negative = value < 0;  // -0.0 prints as 0
  double a = std::fabs(value);
  switch (format) {
    case kGeneral:
      put_general(out, round_decimal(a, precision), negative, precision, exponent_digits, s);
      return;
    case kExponent:
      put_exponent_form(out, round_decimal(a, precision), negative, precision, exponent_digits,
                        s.decimal);
      return;
    case kFixed:
    case kNumber:
    case kCurrency: {
      int decimals = std::clamp(digits, 0, kMaxPrecision);
      Decimal d = round_decimal(a, precision, decimals);
      if (d.exponent > precision) {
        // More integer digits than the precision holds: scientific notation,
        // as the general format writes it.
        put_general(out, d, negative, precision, exponent_digits, s);
        return;
      }
      negative = negative && d.count > 0;  // what shows as zero has no sign
      if (format == kCurrency) {
        put_currency(out, d, negative, decimals, s);
      } else {
        if (negative) out.push('-');
        put_amount(out, d, decimals, format == kNumber ? s.thousands : wchar{0}, s.decimal);
      }
      return;
    }
    default:
      return;  // no such format
  }
}

}  // namespace quarnel::convert

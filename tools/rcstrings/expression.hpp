// Integer expressions, as identifiers of strings, LANGUAGE arguments and #if
// conditions use them: C's operators and precedence over numbers,
// parentheses and identifiers that the caller resolves. Parsing stops at the
// first token that cannot continue the expression.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "rc_compiler.hpp"
#include "token.hpp"

namespace rcstrings {

class Expression {
 public:
  using Resolve = std::function<std::int64_t(const Token&)>;
  Expression(const std::vector<Token>& tokens, std::size_t& pos, Resolve resolve,
             std::function<const std::string&(int)> file_name)
      : t_(tokens), pos_(pos), resolve_(std::move(resolve)), file_name_(std::move(file_name)) {}

  std::int64_t parse(int min_precedence = 1) {
    std::int64_t left = unary();
    for (;;) {
      const Token& op = peek();
      int p = op.kind == Kind::punct ? precedence(op.text) : 0;
      if (p < min_precedence) return left;
      ++pos_;
      std::int64_t right = parse(p + 1);
      left = apply(op, left, right);
    }
  }

 private:
  static int precedence(const std::string& op) {
    static const std::map<std::string, int> table = {
        {"||", 1}, {"&&", 2}, {"|", 3},  {"^", 4},  {"&", 5},  {"==", 6},
        {"!=", 6}, {"<", 7},  {"<=", 7}, {">", 7},  {">=", 7}, {"<<", 8},
        {">>", 8}, {"+", 9},  {"-", 9},  {"*", 10}, {"/", 10}, {"%", 10}};
    auto it = table.find(op);
    return it == table.end() ? 0 : it->second;
  }

  const Token& peek() const { return t_[std::min(pos_, t_.size() - 1)]; }

  [[noreturn]] void fail(const Token& at, const std::string& message) const {
    throw Error(file_name_(at.file), at.line, message);
  }

  std::int64_t unary() {
    const Token& t = peek();
    if (t.kind == Kind::punct &&
        (t.text == "-" || t.text == "+" || t.text == "~" || t.text == "!")) {
      ++pos_;
      std::int64_t v = unary();
      return t.text == "-" ? -v : t.text == "+" ? v : t.text == "~" ? ~v : !v;
    }
    if (is_punct(t, "(")) {
      ++pos_;
      std::int64_t v = parse();
      if (!is_punct(peek(), ")")) fail(peek(), "expected ')' but found " + describe(peek()));
      ++pos_;
      return v;
    }
    if (t.kind == Kind::number) {
      ++pos_;
      return t.value;
    }
    if (t.kind == Kind::identifier) {
      ++pos_;
      return resolve_(t);
    }
    fail(t, "expected a number but found " + describe(t));
  }

  std::int64_t apply(const Token& op, std::int64_t a, std::int64_t b) const {
    const std::string& o = op.text;
    if ((o == "/" || o == "%") && b == 0) fail(op, "division by zero");
    if (o == "||") return a || b;
    if (o == "&&") return a && b;
    if (o == "|") return a | b;
    if (o == "^") return a ^ b;
    if (o == "&") return a & b;
    if (o == "==") return a == b;
    if (o == "!=") return a != b;
    if (o == "<") return a < b;
    if (o == "<=") return a <= b;
    if (o == ">") return a > b;
    if (o == ">=") return a >= b;
    if (o == "<<") return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) << (b & 63));
    if (o == ">>") return a >> (b & 63);
    if (o == "+") return a + b;
    if (o == "-") return a - b;
    if (o == "*") return a * b;
    if (o == "/") return a / b;
    return a % b;
  }

  const std::vector<Token>& t_;
  std::size_t& pos_;
  Resolve resolve_;
  std::function<const std::string&(int)> file_name_;
};

}  // namespace rcstrings

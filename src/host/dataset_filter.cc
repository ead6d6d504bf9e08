#include "host/dataset_filter.h"

#include <charconv>
#include <optional>

#include "zel/error.h"

namespace zel::dataset {
namespace {

// Deeper nesting than this is refused: recursion must not exhaust the stack.
constexpr int kMaxDepth = 200;

bool IsIdentifierStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The expression as a message shows it: quoted, a long one cut.
std::string Shown(std::string_view expression) {
  constexpr std::size_t kShown = 120;
  if (expression.size() <= kShown) return "\"" + std::string(expression) + "\"";
  return "\"" + std::string(expression.substr(0, kShown)) + "...\"";
}

struct Token {
  enum class Kind { kEnd, kName, kText, kNumber, kOpen, kClose, kOperator, kAnd, kOr, kNot };
  Kind kind = Kind::kEnd;
  std::string text;  // name, text literal or operator
  double number = 0;
  std::size_t position = 0;  // 0-based offset of the first byte
};

}  // namespace

class FilterParser {
 public:
  FilterParser(std::string_view table, std::string_view expression)
      : table_(table), source_(expression) {}

  std::shared_ptr<const ParsedFilter> Run() {
    auto parsed = std::make_shared<ParsedFilter>();
    parsed->expression_ = std::string(source_);
    out_ = parsed.get();
    Advance();
    out_->root_ = ParseOr(0);
    if (token_.kind != Token::Kind::kEnd) SyntaxError(token_.position, Cp("fim da expressão"));
    return parsed;
  }

 private:
  [[noreturn]] void SyntaxError(std::size_t position, const std::string& expected) const {
    Fail(table_, Cp("erro de sintaxe no filtro ") + Shown(source_) + Cp(" na posição ") +
                     std::to_string(position + 1) + Cp(": esperado ") + expected);
  }

  int Add(ParsedFilter::Node node) {
    out_->nodes_.push_back(std::move(node));
    return static_cast<int>(out_->nodes_.size()) - 1;
  }

  // An AND or OR chain becomes one node with all its operands, so a long
  // chain does not make a deep tree.
  int ParseChain(int depth, Token::Kind joiner, ParsedFilter::Node::Kind kind) {
    const int first = joiner == Token::Kind::kOr ? ParseAnd(depth) : ParseFactor(depth);
    if (token_.kind != joiner) return first;
    ParsedFilter::Node chain{kind, {first}, {}, {}, CompareOp::kEqual};
    while (token_.kind == joiner) {
      Advance();
      chain.children.push_back(joiner == Token::Kind::kOr ? ParseAnd(depth) : ParseFactor(depth));
    }
    return Add(std::move(chain));
  }

  int ParseOr(int depth) {
    return ParseChain(depth, Token::Kind::kOr, ParsedFilter::Node::Kind::kOr);
  }

  int ParseAnd(int depth) {
    return ParseChain(depth, Token::Kind::kAnd, ParsedFilter::Node::Kind::kAnd);
  }

  int ParseFactor(int depth) {
    if (depth >= kMaxDepth) SyntaxError(token_.position, Cp("uma expressão menos aninhada"));
    if (token_.kind == Token::Kind::kNot) {
      Advance();
      const int operand = ParseFactor(depth + 1);
      return Add({ParsedFilter::Node::Kind::kNot, {operand}, {}, {}, CompareOp::kEqual});
    }
    if (token_.kind == Token::Kind::kOpen) {
      Advance();
      const int inner = ParseOr(depth + 1);
      if (token_.kind != Token::Kind::kClose) SyntaxError(token_.position, "')'");
      Advance();
      return inner;
    }
    ParsedFilter::Node node{
        ParsedFilter::Node::Kind::kCompare, {}, ParseOperand(), {}, CompareOp::kEqual};
    if (token_.kind != Token::Kind::kOperator) {
      SyntaxError(token_.position, Cp("um operador de comparação"));
    }
    node.op = OperatorOf(token_.text);
    Advance();
    node.right = ParseOperand();
    return Add(std::move(node));
  }

  ParsedFilter::Operand ParseOperand() {
    using Kind = ParsedFilter::Operand::Kind;
    ParsedFilter::Operand operand;
    switch (token_.kind) {
      case Token::Kind::kName:
        operand = {Kind::kField, token_.text, 0};
        break;
      case Token::Kind::kText:
        operand = {Kind::kText, token_.text, 0};
        break;
      case Token::Kind::kNumber:
        operand = {Kind::kNumber, {}, token_.number};
        break;
      default:
        SyntaxError(token_.position, Cp("um campo, um texto entre aspas ou um número"));
    }
    Advance();
    return operand;
  }

  static CompareOp OperatorOf(std::string_view op) {
    if (op == "=") return CompareOp::kEqual;
    if (op == "<>") return CompareOp::kNotEqual;
    if (op == "<") return CompareOp::kLess;
    if (op == ">") return CompareOp::kGreater;
    if (op == "<=") return CompareOp::kLessEqual;
    return CompareOp::kGreaterEqual;
  }

  // Reads the next token into token_.
  void Advance() {
    while (pos_ < source_.size() && IsBlank(source_[pos_])) ++pos_;
    token_ = Token{};
    token_.position = pos_;
    if (pos_ >= source_.size()) return;
    const char c = source_[pos_];
    if (c == '(' || c == ')') {
      token_.kind = c == '(' ? Token::Kind::kOpen : Token::Kind::kClose;
      ++pos_;
    } else if (c == '=' || c == '<' || c == '>') {
      ReadOperator();
    } else if (c == '\'' || c == '"') {
      ReadText(c);
    } else if (c == '[') {
      ReadBracketedName();
    } else if (IsDigit(c) || ((c == '-' || c == '+' || c == '.') && StartsNumber(pos_ + 1))) {
      ReadNumber();
    } else if (IsIdentifierStart(c)) {
      ReadWord();
    } else {
      SyntaxError(pos_, Cp("um campo, um texto, um número, um operador ou parênteses"));
    }
  }

  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

  bool StartsNumber(std::size_t at) const {
    return at < source_.size() &&
           (IsDigit(source_[at]) ||
            (source_[at] == '.' && at + 1 < source_.size() && IsDigit(source_[at + 1])));
  }

  void ReadOperator() {
    std::string op(1, source_[pos_++]);
    if (pos_ < source_.size()) {
      const char next = source_[pos_];
      if ((op == "<" && (next == '>' || next == '=')) || (op == ">" && next == '=')) {
        op += next;
        ++pos_;
      }
    }
    token_.kind = Token::Kind::kOperator;
    token_.text = std::move(op);
  }

  void ReadText(char quote) {
    ++pos_;
    std::string text;
    while (true) {
      if (pos_ >= source_.size()) SyntaxError(token_.position, Cp("o fecho das aspas"));
      const char c = source_[pos_++];
      if (c != quote) {
        text += c;
      } else if (pos_ < source_.size() && source_[pos_] == quote) {
        text += quote;  // a doubled quote stands for itself
        ++pos_;
      } else {
        break;
      }
    }
    token_.kind = Token::Kind::kText;
    token_.text = std::move(text);
  }

  void ReadBracketedName() {
    const std::size_t close = source_.find(']', pos_ + 1);
    if (close == std::string_view::npos) SyntaxError(pos_, "']'");
    if (close == pos_ + 1) SyntaxError(pos_ + 1, Cp("um nome de campo"));
    token_.kind = Token::Kind::kName;
    token_.text = std::string(source_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
  }

  void ReadNumber() {
    std::size_t end = pos_;
    if (source_[end] == '-' || source_[end] == '+') ++end;
    while (end < source_.size() && IsDigit(source_[end])) ++end;
    if (end < source_.size() && source_[end] == '.') {
      ++end;
      while (end < source_.size() && IsDigit(source_[end])) ++end;
    }
    // from_chars takes no leading '+'.
    const std::size_t from = source_[pos_] == '+' ? pos_ + 1 : pos_;
    double number = 0;
    const auto result = std::from_chars(source_.data() + from, source_.data() + end, number);
    if (result.ec != std::errc() || result.ptr != source_.data() + end) {
      SyntaxError(pos_, Cp("um número válido"));
    }
    token_.kind = Token::Kind::kNumber;
    token_.number = number;
    pos_ = end;
  }

  void ReadWord() {
    std::size_t end = pos_;
    while (end < source_.size() && (IsIdentifierStart(source_[end]) || IsDigit(source_[end]))) {
      ++end;
    }
    const std::string_view word = source_.substr(pos_, end - pos_);
    pos_ = end;
    if (EqualIgnoringCase(word, "AND")) {
      token_.kind = Token::Kind::kAnd;
    } else if (EqualIgnoringCase(word, "OR")) {
      token_.kind = Token::Kind::kOr;
    } else if (EqualIgnoringCase(word, "NOT")) {
      token_.kind = Token::Kind::kNot;
    } else {
      token_.kind = Token::Kind::kName;
      token_.text = std::string(word);
    }
  }

  std::string_view table_;
  std::string_view source_;
  std::size_t pos_ = 0;
  Token token_;
  ParsedFilter* out_ = nullptr;
};

std::shared_ptr<const ParsedFilter> ParsedFilter::Parse(std::string_view table,
                                                        std::string_view expression) {
  return FilterParser(table, expression).Run();
}

namespace {

using OperandKind = ParsedFilter::Operand::Kind;

bool IsNumeric(FieldType type) { return type == FieldType::kInteger || type == FieldType::kFloat; }

std::string Describe(const ParsedFilter::Operand& operand, const std::vector<FieldDef>& defs,
                     int field) {
  switch (operand.kind) {
    case OperandKind::kField:
      return Cp("o campo ") + defs[field].name + " (" + Cp(FieldTypeName(defs[field].type)) + ")";
    case OperandKind::kText:
      return "o texto '" + operand.text + "'";
    case OperandKind::kNumber:
      return Cp("o número ") + Variant(operand.number).AsText();
  }
  return {};
}

std::optional<double> NumberOf(const Cell& cell) {
  if (const auto* integer = std::get_if<std::int64_t>(&cell)) return static_cast<double>(*integer);
  if (const auto* real = std::get_if<double>(&cell)) return *real;
  return std::nullopt;
}

Cell LiteralCell(const ParsedFilter::Operand& literal) {
  if (literal.kind == OperandKind::kText) return literal.text;
  return literal.number;
}

bool Holds(CompareOp op, int order) {
  switch (op) {
    case CompareOp::kEqual:
      return order == 0;
    case CompareOp::kNotEqual:
      return order != 0;
    case CompareOp::kLess:
      return order < 0;
    case CompareOp::kGreater:
      return order > 0;
    case CompareOp::kLessEqual:
      return order <= 0;
    case CompareOp::kGreaterEqual:
      return order >= 0;
  }
  return false;
}

}  // namespace

BoundFilter BoundFilter::Bind(std::string_view table, const ParsedFilter& parsed,
                              const std::vector<FieldDef>& defs) {
  BoundFilter bound;
  bound.root_ = parsed.root();
  for (const ParsedFilter::Node& source : parsed.nodes()) {
    Node node{source.kind, source.children, {}, {}, source.op, Mode::kText};
    if (source.kind != ParsedFilter::Node::Kind::kCompare) {
      bound.nodes_.push_back(std::move(node));
      continue;
    }
    const auto field_of = [&](const ParsedFilter::Operand& operand) {
      if (operand.kind != OperandKind::kField) return -1;
      const int field = FindField(defs, operand.text);
      if (field < 0) {
        Fail(table, Cp("filtro ") + Shown(parsed.expression()) + Cp(": campo '") + operand.text +
                        Cp("' não encontrado"));
      }
      return field;
    };
    const int left_field = field_of(source.left);
    const int right_field = field_of(source.right);
    const auto mismatch = [&]() {
      Fail(table, Cp("filtro ") + Shown(parsed.expression()) + ": " +
                      Describe(source.left, defs, left_field) + Cp(" não pode ser comparado com ") +
                      Describe(source.right, defs, right_field));
    };
    node.left.field = left_field;
    node.right.field = right_field;
    if (left_field >= 0 && right_field >= 0) {
      const FieldType a = defs[left_field].type;
      const FieldType b = defs[right_field].type;
      if (a == FieldType::kText && b == FieldType::kText) {
        node.mode = Mode::kText;
      } else if (IsNumeric(a) && IsNumeric(b)) {
        node.mode = Mode::kNumber;
      } else if (a == b) {
        node.mode = Mode::kSame;
      } else {
        mismatch();
      }
    } else if (left_field < 0 && right_field < 0) {
      if (source.left.kind != source.right.kind) mismatch();
      node.mode = source.left.kind == OperandKind::kText ? Mode::kText : Mode::kNumber;
      node.left.constant = LiteralCell(source.left);
      node.right.constant = LiteralCell(source.right);
    } else {
      // One field meets one literal: the literal takes the field's type.
      const bool field_left = left_field >= 0;
      const FieldDef& def = defs[field_left ? left_field : right_field];
      const ParsedFilter::Operand& literal = field_left ? source.right : source.left;
      Operand& target = field_left ? node.right : node.left;
      const Variant value =
          literal.kind == OperandKind::kText ? Variant(literal.text) : Variant(literal.number);
      if (def.type == FieldType::kText) {
        if (literal.kind != OperandKind::kText) mismatch();
        node.mode = Mode::kText;
        target.constant = literal.text;
      } else {
        node.mode = IsNumeric(def.type) ? Mode::kNumber : Mode::kSame;
        try {
          if (IsNumeric(def.type)) {
            target.constant = value.AsDouble();
          } else {
            target.constant = ToCell(table, def, value);
          }
        } catch (const Error&) {
          mismatch();
        }
      }
    }
    bound.nodes_.push_back(std::move(node));
  }
  return bound;
}

bool BoundFilter::Evaluate(int index, const Row& row) const {
  const Node& node = nodes_[index];
  switch (node.kind) {
    case ParsedFilter::Node::Kind::kAnd:
      for (int child : node.children) {
        if (!Evaluate(child, row)) return false;
      }
      return true;
    case ParsedFilter::Node::Kind::kOr:
      for (int child : node.children) {
        if (Evaluate(child, row)) return true;
      }
      return false;
    case ParsedFilter::Node::Kind::kNot:
      return !Evaluate(node.children.front(), row);
    case ParsedFilter::Node::Kind::kCompare:
      return Compare(node, row);
  }
  return false;
}

bool BoundFilter::Compare(const Node& node, const Row& row) const {
  const Cell& a = node.left.field >= 0 ? row[node.left.field] : node.left.constant;
  const Cell& b = node.right.field >= 0 ? row[node.right.field] : node.right.constant;
  switch (node.mode) {
    case Mode::kText:
      return Holds(node.op, CompareText(CellText(a), CellText(b)));
    case Mode::kNumber: {
      const std::optional<double> x = NumberOf(a);
      const std::optional<double> y = NumberOf(b);
      if (!x || !y) return node.op == CompareOp::kNotEqual;
      return Holds(node.op, *x < *y ? -1 : (*y < *x ? 1 : 0));
    }
    case Mode::kSame:
      if (a.index() == 0 || b.index() == 0) return node.op == CompareOp::kNotEqual;
      return Holds(node.op, CompareCells(a, b));
  }
  return false;
}

}  // namespace zel::dataset

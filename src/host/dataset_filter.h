// Filter expressions of a dataset: parsed once when set, bound to the
// field positions when the filter applies, then evaluated row by row.
//
//   expression := term { OR term }
//   term       := factor { AND factor }
//   factor     := NOT factor | '(' expression ')' | operand op operand
//   operand    := field | [field name] | 'text' | "text" | number
//   op         := = | <> | < | > | <= | >=
#ifndef ZEL_HOST_DATASET_FILTER_H_
#define ZEL_HOST_DATASET_FILTER_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/dataset_value.h"

namespace zel::dataset {

enum class CompareOp { kEqual, kNotEqual, kLess, kGreater, kLessEqual, kGreaterEqual };

// The syntax tree of an expression, independent of any field layout.
class ParsedFilter {
 public:
  // Raises zel::Error naming the table, the expression and the 1-based
  // position of the first byte that does not fit. Nesting deeper than a few
  // hundred levels is refused rather than risking the stack.
  static std::shared_ptr<const ParsedFilter> Parse(std::string_view table,
                                                   std::string_view expression);

  struct Operand {
    enum class Kind { kField, kText, kNumber } kind;
    std::string text;  // field name or text literal
    double number = 0;
  };
  struct Node {
    enum class Kind { kAnd, kOr, kNot, kCompare } kind;
    std::vector<int> children;  // positions in nodes(): kAnd, kOr (2 or more), kNot (1)
    Operand left, right;        // kCompare
    CompareOp op = CompareOp::kEqual;
  };

  const std::string& expression() const { return expression_; }
  const std::vector<Node>& nodes() const { return nodes_; }
  int root() const { return root_; }

 private:
  friend class FilterParser;
  std::string expression_;
  std::vector<Node> nodes_;
  int root_ = -1;
};

// An expression bound to one field layout.
class BoundFilter {
 public:
  // Resolves field names and converts literals to the type of the field they
  // meet. Raises naming the table and the field when a field is missing or
  // a literal cannot be compared with it.
  static BoundFilter Bind(std::string_view table, const ParsedFilter& parsed,
                          const std::vector<FieldDef>& defs);

  bool Matches(const Row& row) const { return Evaluate(root_, row); }

 private:
  // kText: texts ignoring trailing blanks (null = ""); kNumber: integer and
  // float values as doubles; kSame: two values of one non-text type.
  enum class Mode { kText, kNumber, kSame };
  struct Operand {
    int field = -1;  // >= 0: the row's cell; otherwise `constant`
    Cell constant;
  };
  struct Node {
    ParsedFilter::Node::Kind kind;
    std::vector<int> children;
    Operand left, right;
    CompareOp op = CompareOp::kEqual;
    Mode mode = Mode::kText;
  };

  bool Evaluate(int node, const Row& row) const;
  bool Compare(const Node& node, const Row& row) const;

  std::vector<Node> nodes_;
  int root_ = -1;
};

}  // namespace zel::dataset

#endif  // ZEL_HOST_DATASET_FILTER_H_

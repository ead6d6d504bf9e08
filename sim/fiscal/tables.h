// The restaurant tables the printer keeps for the older interface's command
// family 80. Parameters arrive as digits with implied decimals (prices and
// discounts 2, quantities 3) and fixed-width texts; tables and product codes
// are compared without blanks and leading zeros.
//
//   80|48  register an item: table, price(8), rate, discount(8), quantity(6),
//          code(14), description(17), unit
//   80|49  cancel an item: the same fields; takes the quantity off the
//          table's item with that code
//   80|50  table check: table, people, then service fee as percent(4) or as
//          amount(14); "0","0000","00000000000000" for none. Prints the bill
//   80|58  close the check: table and amount(14); table "0" does nothing.
//          Prints the closing and frees the table
//   80|51  join: table A's items go to table B
//   80|52  open a fiscal coupon with table A's items, for buyer B; frees A
//   80|53  transfer: origin, (unused 4 digits), destination, price(8),
//          quantity(6), code(14), description(17), rate, unit
//   80|54  list the open tables
//   80|55  print the menu: every product registered on a table
//
// Refusals come back in the status bytes: ST1 1 wrong number of parameters,
// ST2 128 a parameter that does not read, ST2 16 a rate not programmed, ST2 4
// an item or table to cancel that is not there, ST2 1 a table that does not
// exist or a document in the way.
#ifndef ECFSIM_TABLES_H_
#define ECFSIM_TABLES_H_

#include <string>
#include <vector>

#include "printer.h"

namespace ecfsim {

// Whether the command (fields[1] of family 80) prints.
bool TableCommandPrints(const std::string& subcommand);
// Runs "80|<sub>|..."; `fields` are the frame's fields from the command on.
Outcome TableCommand(Printer& p, const std::vector<std::string>& fields);

}  // namespace ecfsim

#endif  // ECFSIM_TABLES_H_

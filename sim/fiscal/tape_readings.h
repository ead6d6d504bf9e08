// The day's figures as the X reading and the Z reduction print them on the
// paper roll. The serial X reading ("Retorno.txt", reading_files.h) keeps
// its own fixed layout for the programs that read it; on paper the figures
// are laid out for people: every amount ends at column 48 in the Brazilian
// format with its thousands dots ("1.799.998.224,74"), so the X and the Z
// read alike and large figures never lose their dots.
#ifndef ECFSIM_TAPE_READINGS_H_
#define ECFSIM_TAPE_READINGS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "printer_state.h"

namespace ecfsim {

// The lines (Windows-1252, exactly 48 columns or empty) of the day's
// counters and figures at `now` (yyyymmddhhmmss on the printer's clock),
// from the counters banner to the reductions left in the fiscal memory; the
// document's header and footer are the printer's.
std::vector<std::string> DayFiguresOnPaper(const PrinterState& state, std::int64_t now);

}  // namespace ecfsim

#endif  // ECFSIM_TAPE_READINGS_H_

// The rows of the data module's two message tables, in table order, as
// Windows-1252 "key|text" rows ready for TMessages.
//
// The standard table serves the printer core, programming, sales, closing
// and non-fiscal documents; the secondary table the file-generation and
// consumer-credit texts. Both hold texts for other printer families too, so
// that hosts built for them find every key they ask for.
#ifndef ZEL_CORE_MESSAGE_TEXTS_H_
#define ZEL_CORE_MESSAGE_TEXTS_H_

#include <string>
#include <vector>

namespace zel {

// 287 rows. Four keys appear twice: "Nome", "Suprimento" and "CV-EMITIDO"
// with the same text, and "AliqNaoCad", whose second row only repeats the
// key (the first row wins in TMessages).
std::vector<std::string> StandardMessageRows();
// 37 rows.
std::vector<std::string> SecondaryMessageRows();

}  // namespace zel

#endif  // ZEL_CORE_MESSAGE_TEXTS_H_

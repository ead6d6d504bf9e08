// The files the printer makes from its detail-tape memory (MFD) on request:
// the download of that memory into a file, and the conversion of a download
// into a text mirror that a person (or a tax inspector) can read.
//
// Download file. A real printer's download is binary; ours is text, so a
// test or a person can look into it. Windows-1252, CR LF line breaks:
//   ECFSIM-MFD 1
//   SERIE=<serial number>      MARCA=, MODELO=, CNPJ=, IE= likewise
//   USUARIO=<user number>
//   FAIXA=<kind 0/1/2>;<first>;<last>   the range it was taken with
//   DOC=<COO 6 digits>;<kind>;<yyyymmddhhmmss>;<line count>
//   <that many printed lines, as printed>
//   ... one DOC block per document, oldest first ...
//   FIM
//
// Mirror. Lines of at most 48 characters, Windows-1252, CR LF:
//   1-6  title, brand and model, serial number, owner, user, range
//   7    a line of "="
//   8    header of the first document: its date "dd/mm/yyyy" at columns
//        1-10, then time, COO and kind; its printed lines follow, and an
//        empty line separates documents
//   ...  (the first seven lines are never empty, so the first document's
//        date stays on line 8 also when empty lines are left out)
//   n-2  a line of "="
//   n-1  "Último documento:" with the last document's date at columns 20-29
//   n    the number of documents in the mirror
// Without documents in the range, line 8 says so and lines n-1 and n-2 are
// a count and the closing "=" line.
//
// Ranges, as the host sends them: download type "0" the whole memory, "1"
// movement dates ("DDMMYY", "DDMMYYYY" or with slashes), "2" COO numbers;
// both bounds included.
//
// Functions raise std::invalid_argument for arguments or a download file
// that do not read, and std::runtime_error for a file that cannot be read
// or written (a target directory that does not exist among them: the
// library does not create directories for its caller). Not thread-safe
// beyond the file system: the printer serialises its commands.
#ifndef ECFSIM_TAPE_FILES_H_
#define ECFSIM_TAPE_FILES_H_

#include <string>
#include <string_view>
#include <vector>

#include "printer_state.h"

namespace ecfsim {

struct DetailTapeRange {
  enum class Kind { kAll = 0, kByDate = 1, kByCoo = 2 };
  Kind kind = Kind::kAll;
  int first = 0;  // yyyymmdd or COO; unused for kAll
  int last = 0;
};

// Reads a download type and its bounds. Raises std::invalid_argument naming
// what does not read, or when the first bound comes after the last.
DetailTapeRange ParseDetailTapeRange(std::string_view type, std::string_view first,
                                     std::string_view last);

// The documents of `tape` that fall in `range`, in tape order.
std::vector<PrintedDocument> SelectDocuments(const std::vector<PrintedDocument>& tape,
                                             const DetailTapeRange& range);

// What a download file holds.
struct DetailTapeDownload {
  PrinterIdentity identity;  // serial, brand, model, CNPJ, IE and user are kept
  DetailTapeRange range;
  std::vector<PrintedDocument> documents;
};

std::string EncodeDownload(const DetailTapeDownload& download);
// Raises std::invalid_argument when `bytes` is not a download file.
DetailTapeDownload DecodeDownload(std::string_view bytes);

// The mirror of the documents of `download` that fall in `range`.
std::vector<std::string> MirrorLines(const DetailTapeDownload& download,
                                     const DetailTapeRange& range);

// Bematech_FI_DownloadMFD: writes the documents of `tape` in the range to
// `file` (Windows spelling, e.g. "c:\Download.MFD"). `user` must be a user
// the printer has had (1 up to identity.user_number). Returns the real path.
std::string WriteDownloadFile(std::string_view file, const PrinterState& state,
                              const std::vector<PrintedDocument>& tape, std::string_view type,
                              std::string_view first, std::string_view last, std::string_view user);

// Bematech_FI_FormatoDadosMFD: converts the download `source` into the
// mirror `target` (both in Windows spelling). Only `format` "0", the text
// mirror, is known. The range narrows what the download holds. Returns the
// real path of the mirror.
std::string WriteMirrorFile(std::string_view source, std::string_view target,
                            std::string_view format, std::string_view type, std::string_view first,
                            std::string_view last, std::string_view user);

}  // namespace ecfsim

#endif  // ECFSIM_TAPE_FILES_H_

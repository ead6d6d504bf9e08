// The stand-in for the printer maker's detail-tape file library, loaded as
// BemaMFD2.dll (here libBemaMFD2.so). It works on the download file the
// simulated printer writes for Bematech_FI_DownloadMFD (layout in
// sim/fiscal/tape_files.h) and never talks to the printer.
//
// Paths are in Windows or POSIX spelling and are mapped the way the
// simulated printer maps them (sim/fiscal/windows_paths.h). Target
// directories must exist; the library creates none. A target is written
// whole to a temporary file beside it and then renamed, so a failure never
// leaves a half-written file. Texts are zero-terminated; a null pointer is
// an empty text.
//
// Results: 1 done; kMfdCannotRead when the download cannot be read,
// kMfdBadArgument when it is not a download or an argument does not read
// (an unknown user, a range that ends before it starts, a date that is no
// date, an unknown layout), kMfdCannotWrite when the target cannot be
// written. The library keeps no state between calls.
//
// Type-E file (our layout; Windows-1252, CR LF, fixed-width fields, text
// fields left-aligned and padded with blanks, numbers zero-filled):
//   E01 header, one:
//     cols 1-3 "E01", 4-23 serial number, 24-43 brand, 44-63 model,
//     64-71 first date yyyymmdd, 72-79 last date yyyymmdd,
//     80-119 software name (argument 5), 120-129 software version
//     (argument 6)
//   E02 owner, one:
//     cols 1-3 "E02", 4-21 CNPJ, 22-36 state registration (IE),
//     37-38 user number
//   E14 document, one per document of the range, oldest first:
//     cols 1-3 "E14", 4-9 COO, 10-17 document kind, 18-31 moment
//     yyyymmddhhmmss, 32-35 number of printed lines
//   E15 printed line, one per line of the document just before:
//     cols 1-3 "E15", 4-9 COO, 10-13 line number from 1, 14-61 the line
//     as printed (48 columns)
//   E99 trailer, one: cols 1-3 "E99", 4-11 number of records before it
#ifndef BEMA_MFD2_H_
#define BEMA_MFD2_H_

#define BEMA_MFD2_ENTRY extern "C" __attribute__((visibility("default"))) int

inline constexpr int kMfdCannotRead = -1;
inline constexpr int kMfdBadArgument = -2;
inline constexpr int kMfdCannotWrite = -3;

// The text mirror (layout in sim/fiscal/tape_files.h) of the documents of
// the download `source` whose COO lies from `first_coo` to `last_coo`, both
// included, written to `target` for user `user`.
BEMA_MFD2_ENTRY BemaGeraTxtPorCOO(const char* source, const char* target, int user, int first_coo,
                                  int last_coo);

// The type-E file of the documents of the download `source` printed on the
// movement dates `first_date` to `last_date` (each "DDMMYY", "DDMMYYYY" or
// with slashes, both included), written to `target`. `software_name` and
// `software_version` go into the header. `layout` must be "2"; `reserved7`
// and the thirteen trailing arguments are not used.
BEMA_MFD2_ENTRY BemaGeraRegistrosTipoE(
    const char* source, const char* target, const char* first_date, const char* last_date,
    const char* software_name, const char* software_version, const char* reserved7,
    const char* layout, const char* reserved9, const char* reserved10, const char* reserved11,
    const char* reserved12, const char* reserved13, const char* reserved14, const char* reserved15,
    const char* reserved16, const char* reserved17, const char* reserved18, const char* reserved19,
    const char* reserved20, const char* reserved21);

#undef BEMA_MFD2_ENTRY

#endif  // BEMA_MFD2_H_

// The simulated non-fiscal receipt printer, built as libMp2032.so in place of
// the printer maker's Mp2032.dll: the four entries the driver calls and a
// control API (prefix NfSim_) for tests and demos.
//
// Entries. IniciaPorta opens the printer's port and answers more than 0 on
// success: 1; 0 when no printer is attached; -1 for a name that is no port
// ("COMn", "LPTn" or "USB", any case). FormataTX prints a text and ComandoTX
// sends raw command bytes (ESC "w" a full cut, ESC "m" a partial cut); both
// answer 1, or 0 when the port is not open. FechaPorta closes the port and
// answers 1. The five integers of FormataTX are formatting choices of the
// library (letter type, italic, underline, expanded, bold); they go to the
// journal and do not change the paper.
//
// Paper. Everything printed is appended to "tape.txt" in the printer's
// directory (NFSIM_DIR, by default "nfsim" under the current directory),
// UTF-8, lines wrapped at the printer's columns (48 unless set), a carriage
// return ignored and each line feed ending a line; a cut is a marked line.
//
// Faults and the journal are kept in memory, not on disk. Threading: every
// function takes the printer's lock; safe from any thread.
#ifndef NFSIM_MP2032_H_
#define NFSIM_MP2032_H_

#define NFSIM_EXPORT extern "C" __attribute__((visibility("default")))

NFSIM_EXPORT int IniciaPorta(const char* porta);
NFSIM_EXPORT int FormataTX(const char* texto, int tipo_letra, int italico, int sublinhado,
                           int expandido, int enfatizado);
NFSIM_EXPORT int ComandoTX(const char* comando, int tamanho);
NFSIM_EXPORT int FechaPorta(void);

// A new printer: port closed, paper tape wiped, faults and journal cleared,
// attached, 48 columns. The directory is taken again from NFSIM_DIR.
NFSIM_EXPORT void NfSim_Reset(void);
// Whether a printer is attached to the port (0: IniciaPorta answers 0).
NFSIM_EXPORT void NfSim_SetAttached(int attached);
// The columns of the model's paper (1 to 80; others are ignored).
NFSIM_EXPORT void NfSim_SetColumns(int columns);
// The entry answers `code` without being carried out, for the next `times`
// calls (-1: always; 0: remove the fault).
NFSIM_EXPORT void NfSim_FailEntry(const char* entry, int code, int times);

// The journal of calls, oldest first: "IniciaPorta|COM3",
// "FormataTX|text|3|0|0|0|1", "ComandoTX|bytes|2", "FechaPorta".
NFSIM_EXPORT int NfSim_JournalCount(void);
// Copies call `index` into `buffer` (at most `size` bytes with the
// terminator) and returns its full length, or -1 for a bad index.
NFSIM_EXPORT int NfSim_JournalGet(int index, char* buffer, int size);
NFSIM_EXPORT void NfSim_JournalClear(void);
// Copies the path of the paper tape into `buffer` like NfSim_JournalGet.
NFSIM_EXPORT int NfSim_TapePath(char* buffer, int size);

#undef NFSIM_EXPORT

#endif  // NFSIM_MP2032_H_

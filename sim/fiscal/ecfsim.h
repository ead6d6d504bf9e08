// Control API of the simulated fiscal printer (exported by libBemaFI32.so
// beside the printer's own entries), for tests and demos.
//
// The printer keeps its memory in the directory named by ECFSIM_DIR
// (default "ecfsim" in the current directory), read when the printer is
// first used and again at EcfSim_Reset and EcfSim_Restart. ECFSIM_LATENCY_MS
// adds a delay to every command (real-time mode for demos).
//
// Faults and conditions set here are not persisted and affect the named
// entry ("Bematech_FI_VendeItemDepartamento", ...) or, with the name "*",
// every entry. `times` is the number of calls affected, -1 for always and 0
// to remove the fault.
//
// Threading: every function takes the printer's lock; safe from any thread.
#ifndef ECFSIM_ECFSIM_H_
#define ECFSIM_ECFSIM_H_

#include "zel/export.h"

#define ECFSIM_CONTROL extern "C" ZEL_EXPORT

// A new printer: memory, paper tape and detail tape wiped, faults, journal
// and conditions cleared.
ECFSIM_CONTROL void EcfSim_Reset(void);
// A power cycle, or the process that had the port ending: the port is let
// go and the memory is read again from the directory (which is taken again
// from ECFSIM_DIR); faults and journal are kept.
//
// A memory that does not load (cut short, altered, holding an impossible
// figure, or missing from a printer whose tape shows it has printed) is
// never replaced by a new printer: every entry answers -27 with ST2 32
// until EcfSim_Reset. The port (see below) admits one process at a time: a
// command from a second process on the same directory answers -5.
ECFSIM_CONTROL void EcfSim_Restart(void);

// The printer clock runs `seconds` ahead of the computer's (negative: behind).
ECFSIM_CONTROL void EcfSim_SetClockOffset(long long seconds);

// Paper low or out for the next `commands` commands (-1: until reset; 0:
// paper back). Without paper, printing commands are refused with ST1 128.
ECFSIM_CONTROL void EcfSim_SetPaperLow(int commands);
ECFSIM_CONTROL void EcfSim_SetPaperOut(int commands);

// The entry returns `code` without being carried out.
ECFSIM_CONTROL void EcfSim_FailEntry(const char* entry, int code, int times);
// The entry reports these status bytes. Bytes that show a failure (ACK 21,
// or any ST1/ST2 bit but 2 and 64) keep the command from being carried out
// and the entry returns -27; other bytes only replace the report.
ECFSIM_CONTROL void EcfSim_SetEntryStatus(const char* entry, int ack, int st1, int st2, int times);
// The entry is carried out but its reply is lost: it returns 0 (1 for the
// older interface) and the status reads as no reply.
ECFSIM_CONTROL void EcfSim_DropReply(const char* entry, int times);
ECFSIM_CONTROL void EcfSim_ClearFaults(void);

// Switched off, every entry returns 0 (VerificaImpressoraLigada -6).
ECFSIM_CONTROL void EcfSim_SetPower(int on);
ECFSIM_CONTROL void EcfSim_SetDrawerOpen(int open);
// Delay in milliseconds added to every command; 0 for none.
ECFSIM_CONTROL void EcfSim_SetLatency(int milliseconds);

// Programs (rate > 0) or frees (rate 0) a tax-rate position 1-16; rate in
// hundredths of a percent. Returns 1, or 0 for a bad position or rate.
ECFSIM_CONTROL int EcfSim_SetTaxRate(int position, int rate, int iss);

// The journal of calls, oldest first, each "Entry|arg1|arg2..." with the
// texts as the host passed them (a null pointer as an empty text). The
// calls are also appended, in UTF-8, to "journal.txt" in the printer's
// directory, which outlives the process (EcfSim_JournalClear leaves it;
// EcfSim_Reset wipes it).
ECFSIM_CONTROL int EcfSim_JournalCount(void);
// Copies call `index` into `buffer` (at most `size` bytes with the
// terminator) and returns its full length, or -1 for a bad index.
ECFSIM_CONTROL int EcfSim_JournalGet(int index, char* buffer, int size);
ECFSIM_CONTROL void EcfSim_JournalClear(void);

// A figure of the printer, or -1 for an unknown name: "grand_total",
// "gross_sales", "net_sales", "cancellations", "discounts", "surcharges"
// (cents, both taxes); "coo", "crz", "cro", "gnf", "ccf", "cfc", "grg",
// "cdc", "cer"; "document" (the DocumentState number), "movement_date" and
// "last_reduced_date" (yyyymmdd), "drawer_open", "daylight_saving",
// "reductions" (records in the fiscal memory), "clock_offset"; "paper_low"
// and "paper_out" (commands left with that paper, -1 until reset).
ECFSIM_CONTROL long long EcfSim_Figure(const char* name);

// Writes `text` (Windows-1252) on the paper roll as a marked line,
// "*** text ***" centred, and records "EcfSim_Mark|text" in the journal: a
// host steering the printer shows there what it did and when. The mark is
// not a document: it takes no number and the detail tape does not keep it.
ECFSIM_CONTROL void EcfSim_Mark(const char* text);

// Copies the printer's directory into `buffer` like EcfSim_JournalGet.
ECFSIM_CONTROL int EcfSim_Directory(char* buffer, int size);

#undef ECFSIM_CONTROL

#endif  // ECFSIM_ECFSIM_H_

// The fiscal menu: fiscal-memory readings (printed or as a file), the
// detail-tape mirror, their electronic signature, the type-E file and the
// two menu reports. See zel/operations.h for how operations are exported.
//
// Files land in the fiscal-menu directory C:\MenuFiscal (mapped by the
// driver's Env like every Windows path), which the driver never creates:
// the host makes it. The printer library writes its reading output into the
// directory named by the Path key of Bemafi32.ini in the Windows system
// directory (retornaPathBematech).
//
// Positional arrays (`Params`) are read by index; an element the operation
// uses is converted to a text, and a missing one is an empty text. The
// by-reference `Reservado` is accepted and never written.
//
// Texts are Windows-1252; dialogs go through the host's Mensagem. Host
// thread only.
#ifndef ZEL_FISCAL_MENU_H_
#define ZEL_FISCAL_MENU_H_

#include <span>
#include <string>

#include "zel/export.h"
#include "zel/variant.h"

namespace Zel00101 {

// --- Fiscal-memory and detail-tape files ---------------------------------------

// Prints a fiscal-memory reading from `Inicio` to `Fim`: by movement date
// when `Seletor` is exactly "DATA", by reduction number otherwise; `Tipo`
// "C" asks for the complete reading. The return analysis's verdict, shown
// to nobody (no dialog); false too when anything raises.
ZEL_EXPORT bool EmiteLeituraMemoriaFiscal(const std::string& EsquemaCor, const std::string& Inicio,
                                          const std::string& Fim, const std::string& Tipo,
                                          const std::string& Seletor);

// The same reading as a file: `Params` [0] colour scheme, [1] first and
// [2] last value, [3] flag ("C" complete), [4] selector ("DATA" by date).
// The printer writes it into the Path directory; it is copied to
// C:\MenuFiscal\LMFC_<stamp>.txt (flag exactly "C") or LMFS_<stamp>.txt,
// the stamp being ddmmyyyyhhmss with the minute written without a leading
// zero, signed (geraEad) and announced. False when the printer refused,
// Bemafi32.ini is missing, or the copy failed (each with its dialog).
ZEL_EXPORT bool EmiteLeituraMemoriaFiscalSerial(std::span<const zel::Variant> Params,
                                                zel::Variant& Reservado);

// The detail-tape mirror: `Params` [0] colour scheme, [6] first and [7]
// last value, [8] download type ("0" whole memory, "1" dates, "2" COO
// numbers). The printer downloads its memory into <Path>download.mfd and
// converts it into C:\MenuFiscal\Espelho_MFD_<ddmmyyyyhhnnss>.txt, which is
// then signed. The conversion's verdict; a failed download is reported and
// the conversion still tried, on that download only (an older download file
// is removed first, so it never passes for this one).
ZEL_EXPORT bool geraEspelhoMfd(std::span<const zel::Variant> Params, zel::Variant& Reservado);

// Unit-qualified only. The printer library's output directory ending in
// "\": the first Path value of Bemafi32.ini in the Windows system
// directory ("\" when there is none), or "ARQ_N_ENC" when that file does
// not exist or cannot be read.
ZEL_EXPORT std::string retornaPathBematech();

// --- Electronic signature ---------------------------------------------------------

// Signs `Arquivo` in place through sign_bema.dll, loaded at each call: its
// generateEAD appends a signature record made with the driver's key. Reports
// nothing: a missing library or entry, or a failed signing, leaves the file
// unsigned. A file already signed is not signed again.
ZEL_EXPORT void geraEad(const std::string& Arquivo);

// The signing library's entries, bound by geraEad for the length of one
// signing and emptied after it; when the library lacks one, those bound
// before it stay set and nothing is called. Their arguments are zero-terminated texts;
// the keys are 256 hexadecimal digits; generateEAD's buffer holds at least
// 256 bytes and its last argument is 1.
using TsetLibType = int (*)(int type);
using Tgenkkey = int (*)(char* modulus, char* private_exponent);
using TgenerateEAD = int (*)(const char* file, const char* key1, const char* key2, char* work,
                             int mode);
using TvalidateFile = int (*)(const char* file, const char* modulus, const char* public_exponent);
extern ZEL_EXPORT TsetLibType Bematech_setLibType;
extern ZEL_EXPORT Tgenkkey Bematech_genkkey;
extern ZEL_EXPORT TgenerateEAD Bematech_generateEAD;
extern ZEL_EXPORT TvalidateFile Bematech_validateFile;

// The public half of the driver's signing key, as the signing library's
// validateFile takes it: 256 hexadecimal digits of the modulus, and the
// public exponent.
ZEL_EXPORT std::string ChavePublicaEad();
ZEL_EXPORT std::string ExpoentePublicoEad();

// --- Type-E and CAT52 files ---------------------------------------------------------

// The type-E file of the detail tape, C:\MenuFiscal\AC17-04<yyyymmddhhnnss>.txt
// (with "_2", "_3"... before ".txt" when a file of that name exists, so an
// earlier file is never overwritten), made through BemaMFD2.dll. `Tipo` "1":
// `Inicio` and `Fim` are COO numbers, the dates come from a mirror of that
// range; "2": they are dates as the printer library takes them. `Valor1`
// and `Valor2` are passed on to the library. Returns the file's name; ""
// for another `Tipo` (nothing done); "ERRO_" + the reason when a step fails,
// the library reports a failure or the file is not there (working files are
// removed in every case). The file is not signed here (geraEad).
ZEL_EXPORT std::string geraRegistroTipoE(const std::string& Inicio, const std::string& Fim,
                                         const std::string& Tipo, const std::string& Valor1,
                                         const std::string& Valor2);

// The host's entry for the CAT52 file: reads nothing, does nothing, true.
ZEL_EXPORT bool GeraCatGenerica(std::span<const zel::Variant> Params, zel::Variant& Reservado);

// BemaMFD2.dll's entries, bound by geraRegistroTipoE (and left bound).
using TBemaGeraTxtPorCOO = int (*)(const char* source, const char* target, int user, int first,
                                   int last);
using TBemaGeraRegistrosTipoE = int (*)(const char*, const char*, const char*, const char*,
                                        const char*, const char*, const char*, const char*,
                                        const char*, const char*, const char*, const char*,
                                        const char*, const char*, const char*, const char*,
                                        const char*, const char*, const char*, const char*,
                                        const char*);
extern ZEL_EXPORT TBemaGeraTxtPorCOO Bematech_GeraTxtPorCOO;
extern ZEL_EXPORT TBemaGeraRegistrosTipoE Bematech_GeraRegistrosTipoE;

// --- Fiscal menu reports --------------------------------------------------------------

// Prints, as a linked receipt, the totals by payment type of each
// cash-register day and over the period, from a data packet of rows
// DTMOVIMCAIXA, CDTIPORECE (1 to 20), NMTIPORECE, VRMOVIVEND grouped by day.
// The receipt's number goes to stRetorno. The first two texts are not used.
// Data that do not read (a missing field, a code that is no number or lies
// outside 1 to 20) are reported in one dialog before anything is printed.
ZEL_EXPORT void imprimeTipoRece(const std::string& Reservado1, const std::string& Reservado2,
                                const std::string& EsquemaCor, const zel::Variant& Dados);

// Prints, as a linked receipt, the identification of the point-of-sale
// software: `Params` [2] colour scheme, [3] a data packet of one row of the
// software's data (enciphered by the host), [4] a data packet of the fiscal
// printers' serial numbers (NRSERIEIMPRPERS). Data that do not read or do
// not decipher are reported in one dialog before anything is printed.
ZEL_EXPORT void ImprimeDadosPaf(std::span<const zel::Variant> Params, zel::Variant& Reservado);

}  // namespace Zel00101

#endif  // ZEL_FISCAL_MENU_H_

// The driver's exported operations, grouped by family.
//
// Each is a C++ function in namespace Zel00101 and, unless its comment says
// "unit-qualified only", also a C symbol of the same plain name, parameters
// and result (see ZEL_EXPORT_PLAIN_NAME in zel/export.h), which is how a
// host that loads the driver at run time finds it.
//
// Texts are Windows-1252 bytes; the caller owns every argument, and texts
// passed by reference are rewritten in place where an operation says so.
// Operations report failure the way their comment says (false, a text); a
// call through an unbound printer entry fails like a printer that does not
// answer, it never crashes.
// Threading: one host thread calls the driver at a time; nothing is guarded.
#ifndef ZEL_OPERATIONS_H_
#define ZEL_OPERATIONS_H_

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "zel/date_time.h"
#include "zel/export.h"
#include "zel/variant.h"

namespace zel {
class Dataset;
}  // namespace zel

namespace Zel00101 {

// --- Driver start and stop ---------------------------------------------------

// Empties the whole vendor entry table (the bound entries and the older
// interface's). Leaves the printer library loaded, the port as it is and
// boImpFiscalOK unchanged, so a later start binds again without loading.
ZEL_EXPORT void StopImpFiscal();

// Closes the port of the older printer interface: true exactly when its
// BemaFechaPorta entry answers 0. False when that entry is not bound.
ZEL_EXPORT bool FechaPorta();

// --- Start, port opening and printer validation --------------------------------
// Parameter arrays are arrays of (name, value) pairs (zel::MakeParams). The
// texts in and out are the caller's; by-reference arguments are rewritten
// where a comment says so and left alone otherwise.

// Loads and binds the printer library, opens the port and validates the
// printer (AbrePorta); sets boImpFiscalOK on success. A parameter array that
// cannot be read shows one dialog and the start goes on. When the port
// opening fails, empties the vendor entry table and returns false.
ZEL_EXPORT bool StartImpFiscal(const zel::Variant& Params);

// Opens the port, checks the printer clock (VerificaData) and that the
// printer is on, closes a linked receipt or management report left open and
// cancels a coupon left open (refreshing the stored grand total). Reads
// CDFILIAL, CDCAIXA, NRSERIE, ESQUEMACOR and PORTAIMPFIS.
ZEL_EXPORT bool AbrePorta(const zel::Variant& Params);

// Checks the printer clock against the computer's: false, with the DataDif
// dialog, when they differ by 16 minutes or more (a day or more, or a
// printer date that is no date, fails too). With `LeImpressora` the
// printer is read first (Data_Imp) into `DataHora` (12 digits, DDMMYYhhnnss).
// `Data` receives the movement date `DataMovimento` (DDMMYY) or, when that
// is empty or invalid, today.
ZEL_EXPORT bool VerificaData(const std::string& EsquemaCor, zel::DateTime& Data,
                             std::string& DataHora, const std::string& DataMovimento,
                             bool LeImpressora);

// Reads the printer's date and time into `DataHora` (DDMMYYhhnnss); the
// verdict of the return analysis, with dialogs.
ZEL_EXPORT bool Data_Imp(const std::string& EsquemaCor, std::string& DataHora);

// Reads the printer's movement date, date and time, register number and
// serial number. Replaces `Params` with DATAATUIMP, ECFIMP, REDIMP (as
// received), SERIEIMP and DATAIMP. False when one of them came back blank
// (the later ones are then not read and keep the values received). Fixes a
// BemaFI32.ini whose Impressora key is 1 and asks the host to terminate.
ZEL_EXPORT bool Carrega_Dados_Impressora(zel::Variant& Params);

// Compares the printer's grand total with the one stored in the host's
// Ploteva.cds for this register, or refreshes the stored one (IDVALIDA not
// "S", or the reset marker 10,10). False with the ArqConfig_Inv4 dialog when
// they differ or none is stored; false with the error's own text when the
// file cannot be read or a value does not decipher. A failed check leaves
// the file unchanged.
ZEL_EXPORT bool Atu_TotGeral(const zel::Variant& Params);

// The printer's grand total as a number text ("1234,56"). Always true; raises
// zel::Error when the printer's reply is not a number.
ZEL_EXPORT bool BuscaTotGer(const std::string& EsquemaCor, std::string& TotGeral);

// Unit-qualified only. A printer amount with two implied decimals as a
// number: "000000000000123456" is 1234.56 (',' and '.' are ignored). Raises
// zel::Error when the text is no amount.
ZEL_EXPORT double GetValue(const std::string& Valor);

// Checks the printer's serial number against the host's Ploteva.cds and
// REV_NRSERIE_IMP (dialog ECFERRADO2 for each mismatch). True at once when
// UTILIZAIMPFIS is false; false on any error.
ZEL_EXPORT bool VerificaSerialImp(const zel::Variant& Params);

// The six-digit national code of a printer model and firmware version
// ("000000" for models other than 20).
ZEL_EXPORT std::string Codigo_Nacional_ECF(int Modelo, const std::string& Versao);

// Unit-qualified only. True when the host set IdTotCompCred.
ZEL_EXPORT bool VerificaTotalizador();
// Unit-qualified only. Always true; the texts are left unchanged.
ZEL_EXPORT bool Modelo_Impressora(const std::string& EsquemaCor, std::string& Marca,
                                  std::string& Modelo, std::string& Tipo);
// Always true; the text is left unchanged.
ZEL_EXPORT bool Versao_Software_Basico(std::string& Versao);
// Unit-qualified only. Always false; the texts are left unchanged.
ZEL_EXPORT bool InfImpTerm(std::string& Marca, std::string& Modelo, std::string& Tipo);

// --- Return analysis -----------------------------------------------------------

// Unit-qualified only. Turns the status an entry returned (`Retorno`) and the
// printer's status bytes into one verdict: true when neither shows a
// failure. Writes the pending line stImpDebug and every problem found to
// the debug log; with `Mostra`, leaves TEF mode and shows one dialog per
// problem (dialog kind 0, colour scheme `EsquemaCor`); the low-paper notice
// only with `AvisaPoucoPapel` too. With `CancelaAberto`, cancels a fiscal
// coupon the status shows open. Raises nothing of its own: the verdict,
// the log and the dialogs are its only reports.
ZEL_EXPORT bool AnalisaRetorno(const std::string& EsquemaCor, std::int32_t Retorno, bool Mostra,
                               bool CancelaAberto, bool AvisaPoucoPapel);

// The reply variables of the older interface's last command, logged as
// "Retorno da Impressora " + result. For commands "3529" and "23" the first
// two characters; otherwise all 3000 (trimmed when `Apara`). When the reply
// cannot be read the buffer stays blank.
ZEL_EXPORT std::string RetornoImpFiscal(const std::string& Cmd, bool Apara);

// --- Raw command channel and status ----------------------------------------------

// Sends one raw command of the older printer interface: the frame
// ESC "|" Comando {"|" parameter} "|" ESC, with the printer's status checked
// before and after. `Parametros` may be empty. With `Mostra`, a paper-out
// printer is waited for (one dialog per status read until paper is back)
// and problems are shown; `Reservado` is not used. True when the command was
// accepted and the status afterwards passed ImpressoraOK. Not reentrant:
// while one command is in progress (boComando) another is refused with
// false, unsent and unlogged.
ZEL_EXPORT bool EnviaComando(const std::string& EsquemaCor, const std::string& Comando,
                             std::span<const std::string> Parametros, bool Mostra, bool Reservado);

// The status verdict of the older interface, read as AnalisaRetorno reads
// the fiscal library's: false for no reply, NAK or an error bit. With
// `Mostra`, problems are logged and shown and a paper-out printer is waited
// for; a low-paper notice also needs `AvisaPoucoPapel`; with `CancelaAberto`
// an open coupon is cancelled by command 14 (refused, like any command, when
// called from inside EnviaComando).
ZEL_EXPORT bool ImpressoraOK(const std::string& EsquemaCor, bool Mostra, bool CancelaAberto,
                             bool AvisaPoucoPapel);

// The host's status query: ImpressoraOK with the same arguments.
ZEL_EXPORT bool EstImpressora(const std::string& EsquemaCor, bool Mostra, bool CancelaAberto,
                              bool AvisaPoucoPapel);

// The fiscal library's status, analysed with dialogs shown and no coupon
// cancelled; the two flags are not used. Never raises: an error inside
// gives false.
ZEL_EXPORT bool Estado_Imp(const std::string& EsquemaCor, bool Reservado1, bool Reservado2);

// --- Fiscal counters -----------------------------------------------------------------

// Each reads one figure of the printer into `Valor` (or the three outputs),
// first set to blanks of the figure's width: the printer's text, neither
// trimmed nor converted. The entry's return is kept in inRetorno, the reply
// logged, and the result is AnalisaRetorno's verdict with no dialog shown
// and an open coupon cancelled. Widths: ContadorCupomFiscalMFD,
// NumeroOperacoesNaoFiscais, ContadorRelatoriosGerenciaisMFD and
// ContadorComprovantesCreditoMFD 6; NumeroSubstituicoesProprietario,
// NumeroIntervencoes and NumeroReducoes 4; VendaBruta 18; Descontos and
// Cancelamentos 14; DataHoraGravacaoUsuarioSWBasicoMFAdicional 20, 20, 5.
ZEL_EXPORT bool ContadorCupomFiscalMFD(const std::string& EsquemaCor, std::string& Valor);
ZEL_EXPORT bool NumeroSubstituicoesProprietario(const std::string& EsquemaCor, std::string& Valor);
ZEL_EXPORT bool NumeroOperacoesNaoFiscais(const std::string& EsquemaCor, std::string& Valor);
ZEL_EXPORT bool VendaBruta(const std::string& EsquemaCor, std::string& Valor);
ZEL_EXPORT bool Descontos(const std::string& EsquemaCor, std::string& Valor);
ZEL_EXPORT bool Cancelamentos(const std::string& EsquemaCor, std::string& Valor);
ZEL_EXPORT bool NumeroIntervencoes(const std::string& EsquemaCor, std::string& Valor);
ZEL_EXPORT bool ContadorRelatoriosGerenciaisMFD(const std::string& EsquemaCor, std::string& Valor);
ZEL_EXPORT bool ContadorComprovantesCreditoMFD(const std::string& EsquemaCor, std::string& Valor);

// The number the next Z reduction will have: the printer's count plus one,
// right-aligned in 4 columns ("  42" for "0041"; "   0" when the printer
// answered blanks). Raises zel::Error when the printer's text is neither
// blank nor a decimal integer.
ZEL_EXPORT bool NumeroReducoes(const std::string& EsquemaCor, std::string& Valor);

// The user's and the basic software's recording date-times (20 columns
// each) and the additional fiscal-memory indicator (5 columns).
ZEL_EXPORT bool DataHoraGravacaoUsuarioSWBasicoMFAdicional(const std::string& EsquemaCor,
                                                           std::string& DataUsuario,
                                                           std::string& DataSWBasico,
                                                           std::string& MFAdicional);

// --- Fiscal sale: opening, items, coupon number, cancellations ------------------
// Parameter arrays are arrays of (name, value) pairs; AbreCupom and VendaItem
// replace the caller's array with a new one where their comments say so.

// Opens a fiscal coupon for the buyer in INCLUICPF, INCLUINOME and
// INCLUIENDERECO (cut to 29, 30 and 80 characters for the printer). Under
// TEF (IDUTILTEF "S" or "T" and UTILTEF true) a failure asks the operator
// whether to print again, as often as the answer is yes; no returns false
// leaving `Params` untouched. Otherwise `Params` becomes INTTEFERRO (1 after
// a retry), INCLUICPF, INCLUINOME, INCLUIENDERECO, CUPNR and CONTCUPOM as
// received. A parameter array that cannot be read shows one dialog and
// returns false without printing.
ZEL_EXPORT bool AbreCupom(zel::Variant& Params);

// Sells one item (CDARVPROD, NMPROD, CDALIQ, QTDE, VALOR, DESCONT, UNIDADE)
// into the open coupon. A failure asks the operator whether to print again
// and repeats while the answer is yes. On success `Params` becomes the one
// pair INTTEFERRO (the value read from INTEFERRO); on failure it is left
// untouched. An unreadable parameter array, or a discount too large for the
// printer's field, shows one dialog and returns false without printing.
ZEL_EXPORT bool VendaItem(zel::Variant& Params);

// The printer's coupon counter (COO): six digits as the printer reports
// them, or "ERRO". Shows nothing; cancels a coupon the status shows open.
// `Reservado` is not used.
ZEL_EXPORT std::string Nr_Cupom(const std::string& Reservado, const std::string& EsquemaCor);

// Cancels the sold item numbered by characters 2 to 5 of `NrItem`; no dialog
// is shown. The other arguments are not used.
ZEL_EXPORT bool Cancela_ItGenerico(const std::string& EsquemaCor, const std::string& NrItem,
                                   const std::wstring& Reservado1, const std::wstring& Reservado2,
                                   const std::wstring& Reservado3, const std::wstring& Reservado4,
                                   const std::wstring& Reservado5, const std::wstring& Reservado6,
                                   const std::wstring& Reservado7, double Reservado8,
                                   double Reservado9);

// Cancels the last item sold, with dialogs.
ZEL_EXPORT bool Cancela_UltimoItem(const std::string& EsquemaCor);

// Cancels the open (or last) coupon. `Params`: 0 colour scheme, 1 Mostra,
// 2 CancelaAberto, 4 branch, 5 cash register, 6 printer serial. Writes the
// cancelled coupon's number (6 columns, empty when it could not be read)
// into `Resultado`[1, 0] and refreshes the stored grand total, whether or not
// the cancellation succeeded. Never raises: any error gives false.
ZEL_EXPORT bool Cancela_Cupom_Imp(std::span<const zel::Variant> Params, zel::Variant& Resultado);

// Surcharge on the open coupon's subtotal, sent as raw command 62|50. The
// amount is the number held in `Valor` (system decimal separator, "1,50");
// `Valor` is not changed. Raises zel::Error, sending nothing, when it is no
// number or does not fit the printer's ten-digit field (0 to 99999999,99).
ZEL_EXPORT bool Acrescimo_Imp(const std::string& EsquemaCor, std::string& Valor);

// Moves `Valor` from payment form `Texto1` to `Texto2` (raw command 74).
// Raises zel::Error, sending nothing, for an amount outside the printer's
// four-digit field (0 to 99,99).
ZEL_EXPORT bool Estorno(const std::string& EsquemaCor, const std::string& Texto1,
                        const std::string& Texto2, double Valor);

// --- Fiscal sale: closing and payments -------------------------------------------

// Closes the open fiscal coupon from the host's 43 positional values
// (`Params`): the discount [6] or surcharge [8] on the subtotal, every
// payment of the cash movements [13] oldest first under the payment-form
// names of the payment types [14] (under TEF the payments of one type go as
// one), then the closing message; with [4], a non-fiscal receipt [0], [7]
// after the coupon. `LinhasTef` holds card-slip lines and may be null.
// Under TEF ([9] "S" or "T" and [11] true) a failed step asks the operator
// whether to print again and resumes at that step, never repeating what the
// printer accepted. Writes `Resultado`[1, 0] (1 after a retry, else 0),
// [1, 1] (the value of [42]) and [1, 2] (the non-fiscal operations counter
// after the receipt, else empty), growing a short array; on a refusal by the
// operator the array is left alone. Raises zel::Error, with nothing sent to
// the printer, for bad input: fewer than 43 values, a report counter [29]
// that is no integer, a negative amount or both a discount and a surcharge,
// a payment whose payment type is missing or whose amount is not positive,
// a card-slip layout without three lines. Any other error is caught: the
// result row is written and the answer is false.
ZEL_EXPORT bool FechaCupom(std::span<const zel::Variant> Params,
                           const std::vector<std::string>* LinhasTef, zel::Variant& Resultado);

// --- X and Z readings, fiscal-memory readings, movement date --------------------
// The ignored texts are kept for hosts written for other printers. Results
// are the return analysis's verdict, with dialogs, unless a comment says
// otherwise.

// Prints an X reading (the day's summary; the day stays open).
ZEL_EXPORT bool Leitura_X_Imp(const std::string& Reservado1, const std::string& EsquemaCor,
                              const std::string& Reservado2);

// Reads the movement date into stDataCat (DDMMYY, kept even when the
// reduction then fails) and closes the fiscal day with a Z reduction on the
// printer's own clock. Asks nothing: confirming is the caller's business.
ZEL_EXPORT bool Reducao_Z_Imp(const std::string& Reservado1, const std::string& EsquemaCor,
                              const std::string& Reservado2);

// Appends 1278 blanks to `Dados` and has the printer write the data of the
// last reduction over the front of it, in the printer library's layout.
ZEL_EXPORT bool DadosUltimaRedZ(const std::string& EsquemaCor, std::string& Dados);

// The fiscal movement date (time part zero), in the current century. Never
// fails: while no day is open ("000000"), or when the printer does not
// answer or answers no date, it is today. Shows nothing.
ZEL_EXPORT zel::DateTime DataMoviFiscal(const std::string& EsquemaCor);

// Prints a fiscal-memory reading between `Inicio` and `Fim`, passed as
// given: dates for `Tipo` "D", reduction numbers for "R". Any other kind
// (lower case included) gives false and sends nothing.
ZEL_EXPORT bool Memoria_Fiscal_Imp(const std::string& EsquemaCor, const std::string& Tipo,
                                   const std::string& Inicio, const std::string& Fim,
                                   const std::string& Reservado);

// True when the printer's daylight-saving mode is on, whatever the analysis
// said (a printer that does not answer gives false).
ZEL_EXPORT bool Estado_HorVerao(const std::string& EsquemaCor);

// Toggles the printer's daylight-saving mode; problems are only logged.
ZEL_EXPORT bool Muda_Horario(const std::string& EsquemaCor);

// --- Z-reduction export ----------------------------------------------------------

// The day's fiscal figures as data: asks the printer for a serial X reading
// (Retorno.txt, in the folder of the Path key of BemaFI32.ini; the file of
// an earlier reading is removed first), keeps a copy of it as
// "Dados\Reduções\BemaMP20 - DDMMYYYY.txt" (movement date) and fills
// `ReducaoZ` (one row), `FormPgtoRedZ` (one row per payment form that has a
// payment type in `TiposRece`, matched on CDFPIMPFIS), `ImpostoRedZ` (taxed
// rates, then service-tax rates) and `TotNFiscRedZ` (non-fiscal
// totalizers), each replaced whole by the data module's table of the same
// name. NRUSUARIOMFD holds the owner-substitution count and CDMFADICIONAL
// the additional fiscal-memory indicator. All or nothing: false, with the
// reason in the debug log and the four datasets exactly as they were, when
// the Path key is missing, the printer refuses the reading or writes no
// file, the file does not read (the log names the line and columns) or a
// dataset refuses a value. `TiposRece` needs CDFPIMPFIS and CDTIPORECE; it
// is only read. The first, third and fourth arguments are not used.
ZEL_EXPORT bool ExportRedZ(const std::string& Reservado1, const std::string& EsquemaCor,
                           const std::string& Reservado2, std::int32_t Reservado3,
                           zel::Dataset& TiposRece, zel::Dataset& ReducaoZ,
                           zel::Dataset& FormPgtoRedZ, zel::Dataset& ImpostoRedZ,
                           zel::Dataset& TotNFiscRedZ);

// --- Non-fiscal documents: management report and linked receipt ------------------
// Thin wrappers of one printer call each; the result is the return
// analysis's verdict, with dialogs unless stated. Callers compose them as in
// nonfiscal/text_pieces.h.

// Closes whichever non-fiscal document is open (management report or linked
// receipt), analysed with the caller's flags.
ZEL_EXPORT bool FechRelatGerenc(const std::string& EsquemaCor, bool Mostra, bool CancelaAberto);

// Opens a management report, closing first one left open. After a
// successful opening the host records it (GravaCER) with the two keys and
// the movement date. The fourth text is not used.
ZEL_EXPORT bool Relatorio_Gerencial_Imp(const std::string& EsquemaCor, const std::string& Chave1,
                                        const std::string& Chave2, const std::string& Reservado);

// Registers a non-fiscal receipt of `Valor` (as the printer takes it) on the
// totalizer `Indice`, paid in `FormaPgto` (empty: cash).
ZEL_EXPORT bool Cupom_NFiscNVinc(const std::string& EsquemaCor, const std::string& Indice,
                                 const std::string& Valor, const std::string& FormaPgto);

// Opens a linked receipt against the last document's payment in
// `FormaPgto`. Value and coupon number are not sent: the printer takes the
// last document.
ZEL_EXPORT bool Abre_Comp_NFiscalVinc(const std::string& EsquemaCor, const std::string& FormaPgto,
                                      const std::string& Valor, const std::string& NumeroCupom);

// Prints `Texto` (whole lines ending in a line feed) in the open linked
// receipt or management report.
ZEL_EXPORT bool Usa_CompNFis(const std::string& EsquemaCor, const std::string& Texto);

// --- Card-payment (TEF) receipts --------------------------------------------------

// Prints the card slips of a card sale right after its coupon: item k of
// `Textos1` and item k of `Textos2` are the two copies of transaction k,
// each a text of lines ending in a line feed (a last line without one is
// printed too). `Vinculado` "N" prints the first copies, in a linked
// receipt opened on the payment form `FormaPgto` (first 16 characters);
// otherwise only the second copies go, into a management report, as they
// do whenever `Modo` is 2. The host gets `Delay`(4) before each second
// copy. Unless `Modo` is 2 the document number is read from the printer
// (Nr_Cupom, kept in stRetorno) in place of `NrDocumento`. Before printing,
// and after any failure, the operator is asked Imp_N_Resp: yes checks the
// printer again, or closes what is open and prints every slip again from
// the first in a management report; no gives false. True when every slip
// printed, the document closed and a document number is known (not empty,
// not "ERRO"). False at once, printing nothing, when `Textos1` is empty or
// null. Lists may be null (as empty); the fourth, fifth, eighth and tenth
// arguments are not used. Raises zel::Error, printing nothing, for an
// amount `Valor` the printer cannot take (negative, not a number, more
// than twelve integer digits).
ZEL_EXPORT bool ImprimeTef(const std::string& EsquemaCor, const std::vector<std::string>* Textos1,
                           const std::vector<std::string>* Textos2,
                           const std::vector<std::string>* Reservado1,
                           const std::vector<std::string>* Reservado2,
                           const std::string& NrDocumento, const std::string& FormaPgto,
                           const std::string& Reservado3, double Valor, double Reservado4,
                           std::int32_t Modo, const std::string& Vinculado);

// --- Cash movements and drawer ------------------------------------------------------

// Registers money put into the till, paid in "Dinheiro". An amount of 0 or
// less sends nothing and gives true. On failure shows ErroComando too and
// gives false. Raises zel::Error for an amount that is not a number.
ZEL_EXPORT bool Suprimento(const std::string& Reservado, const std::string& EsquemaCor,
                           double Valor);

// Registers money taken out of the till on the withdrawal totalizer; an
// amount of 0 is registered as one cent. On failure shows ErroComando too
// and gives false. Raises zel::Error for a negative amount, one the printer
// cannot take (more than twelve integer digits) or one that is not a number.
ZEL_EXPORT bool Sangria(const std::string& Reservado, const std::string& EsquemaCor, double Valor);

// Opens the cash drawer; the second argument is not used.
ZEL_EXPORT bool Abre_Gaveta_Imp(const std::string& EsquemaCor, bool Reservado);

// "01" when the drawer is open, "00" when closed, empty when the printer
// could not tell. A coupon found open is cancelled.
ZEL_EXPORT std::string Estado_Gaveta_Imp(const std::string& EsquemaCor);

// This printer has no cutter command of its own: always false, nothing sent.
ZEL_EXPORT bool Guilhotina(int Modo);

// Unit-qualified only. Bar codes are not printed through this call: always
// true, nothing sent.
ZEL_EXPORT bool CodigoBarra(const std::string& Tipo, const std::string& Codigo);

// --- Printer programming: tax rates, totalizers, payment forms -------------------
// Datasets are the caller's; the driver only reads and writes their rows
// during the call and keeps no pointer to them.

// Reads the printer's tax-rate table and service-tax list (kept in
// stAliquotaIss) into the data module's cdsAliqImpFis: one row per
// programmed rate (CDALIQIMPFIS its two-digit position, VRALIQIMPFIS the
// percent, IDALIQIMPFIS "S" for a service-tax rate, else "T"), then the rows
// NN, II and FF. `Aliquotas` receives a copy of that table. Printer problems
// are only logged.
ZEL_EXPORT void CarregaAliquota(const std::string& EsquemaCor, zel::Dataset& Aliquotas);

// Reads both rate lists like CarregaAliquota without keeping the rates:
// the verdict of the service-tax read (stAliquotaIss), problems only logged.
ZEL_EXPORT bool Retorno_Aliquotas_Imp(const std::string& EsquemaCor);

// Finds the five non-fiscal totalizers the driver uses in the printer's
// list, programming each missing one at the next position after the list,
// and returns their two-digit indexes; IdTotRelatorio receives the
// management report's. A position the printer refused to name is returned
// all the same (the refusal is logged). `Reservado` and `ReservadoDados`
// (may be null) are not used.
ZEL_EXPORT void CarregaTotalizador(std::string& IdCVEmitido, std::string& IdVendaCons,
                                   std::string& IdCompraCred, std::string& IdCancCred,
                                   std::string& IdRelatorio, const std::string& EsquemaCor,
                                   std::int32_t& Reservado, zel::Dataset* ReservadoDados);

// This printer family has no partial totalizers to name: does nothing and
// returns true. The arguments are not used.
ZEL_EXPORT bool Nomeia_TotParcial_Imp(const std::string& Nome1, const std::string& Nome2,
                                      const std::string& Nome3, const std::string& Nome4,
                                      const std::string& Nome5, bool Reservado1, bool Reservado2);

// Unit-qualified only. The totals reading of the older interface (command
// 27) through EnviaComando, with its `Mostra` and `Reservado`.
ZEL_EXPORT bool Leitura_Totais_Imp(const std::string& EsquemaCor, bool Mostra, bool Reservado);

// Command 10 of the older interface with the two texts, problems shown.
ZEL_EXPORT bool Totaliza_NFiscal_Imp(const std::string& EsquemaCor, const std::string& Texto1,
                                     const std::string& Texto2);

// Reconciles the host's payment types with the printer's payment forms:
// the rows of button kind 5 that are shown (IDMOSTRARECE "S" or blank) and
// not of kind "B" get their form (the first 16 characters of DSIMPFISCAL)
// programmed when the printer lacks it, or take the printer's spelling into
// NMTIPORECE when it has it; programmed or found rows get CDFPIMPFIS and
// IDEMIVALE ("N" for kind 4). A form the printer refuses leaves its row as
// it was. Makes sure the form "Rel Gerencial" exists. Services the host's
// message queue once per row; leaves `TiposRece` filtered on IDTPBUTTON =
// '5'. Raises zel::Error, before calling the printer, when the dataset
// lacks one of those fields or a row to reconcile has a blank DSIMPFISCAL.
// The first and third arguments are not used.
ZEL_EXPORT void CarregaRecebimento(const std::string& Reservado, const std::string& EsquemaCor,
                                   std::int32_t Reservado2, zel::Dataset& TiposRece);

// Programs one payment form (the first 16 characters of `FormaPg`, linked
// receipts allowed); the verdict of the return analysis with `Mostra` and
// `CancelaAberto`. Raises zel::Error for a blank name, which is not sent.
ZEL_EXPORT bool Config_FormaPg(const std::string& EsquemaCor, const std::string& FormaPg,
                               bool Mostra, bool CancelaAberto);

// --- Non-fiscal documents: withdrawal receipt, closing and product reports ---------
// Datasets are the caller's: the driver copies their rows in through their
// data packets and never keeps a pointer to them. Each report sends its
// text in pieces of whole lines of at most 620 characters, so no line is
// lost however long the text.

// Prints the products sold in `Produtos` (CDPRODUTO, NMPRODUTO, QTPRODVEND,
// VRTOTAL, VRACRE, VRDESC; IDTPIMPOSFIS and VRPEALIMPFIS when grouped) as a
// linked receipt. `Confirma` "N" prints, "S" asks ConfRelProds first, any
// other value prints nothing; `Agrupa` "S" groups the products by tax
// situation and rate, each group headed and totalled. `ReciboAberto` false
// on entry means the caller's non-fiscal document is still open: once the
// report is past its confirmation that document is closed and the flag set
// true. `NrCupom` receives the number of the receipt opened, if any. The
// first five texts are not used. Raises zel::Error, printing nothing and
// asking nothing, when a field it reads is missing or an amount is no
// number.
ZEL_EXPORT void Relatorio_Produto(const std::string& Reservado1, const std::string& Reservado2,
                                  const std::string& Reservado3, const std::string& Reservado4,
                                  const std::string& Reservado5, std::string& NrCupom,
                                  zel::Dataset& Produtos, const std::string& Confirma,
                                  const std::string& Agrupa, const std::string& EsquemaCor,
                                  bool& ReciboAberto);

// The cashier's withdrawal receipt and the closing reports, with the
// closing questions. In order:
// - with `ImprimeRecibo`, the withdrawal receipt in two copies (supervisor's
//   and operator's signature) from `MovFecha` and the first row of
//   `OperadorSup`, after an X reading when `LeituraX` is "S"; `ComEnvelope`
//   "S" names the envelope column;
// - with `SoSangria`, nothing more: the document is closed and the answer
//   is false (amounts from VRFECHADIG, else VRFECHAINF);
// - the operator's closing: the product report of `Produtos` (`Texto2`...
//   `Texto4`, `ConfirmaProdutos`, `AgrupaProdutos` go to Relatorio_Produto),
//   then, when `MovTot` has rows, the closing report: sales, the
//   withdrawals of `MovAbertura`, vouchers, supply, surplus or shortage;
// - the questions: AbreCaixa (yes gives true and ends), ConfReducao (only
//   with both `ConfirmaReducao` and `PedeReducao`; no ends), then
//   ConfRelFechamento, whose yes prints the general closing from
//   `ProdutosGeral` and `MovTot` under the title "RELATORIO DE FECHAMENTO
//   GERAL". A confirmed reduction gives `RedZ`, `FormRedZ`, `ImpostoRedZ`
//   and `TotNFis` the structures of the reduction datasets (no rows) and
//   sets `ReducaoConfirmada`.
// `Continuacao` keeps the datasets of the previous call (all but `MovTot`)
// and asks only ConfRelFechamento. `NrDocumento` receives the number of the
// first document printed unless it holds one (an X reading always sets
// it). No document of the call is left open. Raises zel::Error naming the
// dataset and field, before anything is printed, when a field a document
// reads is missing, an amount is no number, or `OperadorSup` is empty for a
// receipt. The arguments named Reservado are not used.
ZEL_EXPORT bool GeraReciboSangria(
    const std::string& Reservado1, const std::string& Texto2, const std::string& Texto3,
    const std::string& Texto4, const std::string& Reservado5, std::int32_t Reservado6,
    std::string& NrDocumento, zel::Dataset& MovFecha, zel::Dataset& Sangrias,
    zel::Dataset& Produtos, zel::Dataset& OperadorSup, zel::Dataset& MovTot,
    zel::Dataset& MovAbertura, zel::Dataset& ProdutosGeral, zel::DateTime Reservado15,
    bool ImprimeRecibo, bool ConfirmaReducao, bool Reservado18, zel::Dataset& RedZ,
    zel::Dataset& FormRedZ, zel::Dataset& ImpostoRedZ, zel::Dataset& TotNFis,
    bool& ReducaoConfirmada, zel::Dataset& TiposRece, const std::string& ConfirmaProdutos,
    const std::string& AgrupaProdutos, const std::string& LeituraX, const std::string& ComEnvelope,
    const std::string& EsquemaCor, bool SoSangria, bool Continuacao, bool PedeReducao);

}  // namespace Zel00101

#include "zel/restaurant_operations.h"  // IWYU pragma: export

#endif  // ZEL_OPERATIONS_H_

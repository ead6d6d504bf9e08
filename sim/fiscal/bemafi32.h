// Entries of the simulated fiscal printer library (libBemaFI32.so, loaded by
// the driver as "BemaFI32.dll").
//
// Conventions shared by every entry:
// - Result: 1 carried out; 0 no reply (the host heard nothing); -2 an
//   argument is malformed (nothing sent to the printer); -3 tax rate not
//   programmed; -6 printer switched off; -18 file not written; -24 payment
//   form not programmed; -25 non-fiscal totalizer not programmed; -27 the
//   printer refused the command and the status bytes say why. After every
//   command Bematech_FI_RetornoImpressora gives its ACK (6, or 21 NAK), ST1
//   and ST2; ST1 2 (coupon open) and ST1 64 (paper low) are informative.
// - In-arguments are zero-terminated Windows-1252 texts; a null pointer is an
//   empty text. The library keeps no pointer after the call.
// - Out-buffers are the caller's: the entry writes exactly the width given
//   below (padding with blanks), never more, and adds no terminator.
// - Amounts: a text with ',' or '.' is a decimal number ("12,50"); digits
//   alone carry implied decimals: 2 for money, 3 for quantities and unit
//   prices. Amounts read back are digits with 2 implied decimals.
// - Dates are DDMMYY (6 characters), times hhmmss.
// Threading: entries may be called from any thread; the printer runs one
// command at a time.
#ifndef ECFSIM_BEMAFI32_H_
#define ECFSIM_BEMAFI32_H_

#include "zel/export.h"

#define ECFSIM_ENTRY extern "C" ZEL_EXPORT int

// --- Status and information ---------------------------------------------
ECFSIM_ENTRY Bematech_FI_AbrePortaSerial();
ECFSIM_ENTRY Bematech_FI_FechaPortaSerial();
// Asks the printer for its status; same out-values as RetornoImpressora.
ECFSIM_ENTRY Bematech_FI_VerificaEstadoImpressora(int* ack, int* st1, int* st2);
// Status bytes of the last command (not a command itself).
ECFSIM_ENTRY Bematech_FI_RetornoImpressora(int* ack, int* st1, int* st2);
// 1 when "Retorno.txt" of the last serial reading exists, -18 otherwise.
ECFSIM_ENTRY Bematech_FI_LeArquivoRetorno();
ECFSIM_ENTRY Bematech_FI_DataMovimento(char* date6);  // "000000": no fiscal day open
ECFSIM_ENTRY Bematech_FI_DataHoraImpressora(char* date6, char* time6);
ECFSIM_ENTRY Bematech_FI_NumeroCaixa(char* register4);
ECFSIM_ENTRY Bematech_FI_NumeroSerie(char* serial15);
ECFSIM_ENTRY Bematech_FI_NumeroSerieMFD(char* serial15);
// 0 idle, 1 fiscal coupon open, 3 linked receipt open, 4 management report open.
ECFSIM_ENTRY Bematech_FI_StatusEstendidoMFD(int* status);
ECFSIM_ENTRY Bematech_FI_NumeroCupom(char* coo6);
ECFSIM_ENTRY Bematech_FI_GrandeTotal(char* total18);
ECFSIM_ENTRY Bematech_FI_VerificaImpressoraLigada();  // -6 when switched off
// 1 drawer open, 0 closed.
ECFSIM_ENTRY Bematech_FI_VerificaEstadoGaveta(int* state);
ECFSIM_ENTRY Bematech_FI_AcionaGaveta();
// Bits: 1 coupon open, 2 closing started, 4 daylight saving, 8 day already
// reduced, 32 last coupon may be cancelled.
ECFSIM_ENTRY Bematech_FI_FlagsFiscais(int* flags);
ECFSIM_ENTRY Bematech_FI_MarcaModeloTipoImpressoraMFD(char* brand15, char* model20, char* type7);
#ifndef ECFSIM_WITHOUT_FIRMWARE_ENTRY
ECFSIM_ENTRY Bematech_FI_VersaoFirmwareMFD(char* version6);
#endif
ECFSIM_ENTRY Bematech_FI_IniciaModoTEF();
ECFSIM_ENTRY Bematech_FI_FinalizaModoTEF();
ECFSIM_ENTRY Bematech_FI_AcionaGuilhotinaMFD(int mode);

// --- Programming ----------------------------------------------------------
// Positions 01-16 as "NNNN" (hundredths of a percent) joined by ",";
// "0000" for a free position; up to the last programmed position.
ECFSIM_ENTRY Bematech_FI_RetornoAliquotas(char* rates79);
// The service-tax (ISS) rates, same form.
ECFSIM_ENTRY Bematech_FI_VerificaAliquotasIss(char* rates79);
// Positions 01-09: the name in 19 columns, joined by ","; blank when free.
ECFSIM_ENTRY Bematech_FI_VerificaTotalizadoresNaoFiscais(char* names179);
// Index 1-30; naming a free position programs it, the same name again is
// accepted, another name is refused.
ECFSIM_ENTRY Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(int index, const char* name);
// Name up to 16; linked "1" allows linked receipts on the form.
ECFSIM_ENTRY Bematech_FI_ProgramaFormaPagamentoMFD(const char* name, const char* linked);
// Per programmed form: name (16), day total (20 digits), linked flag (1),
// "," between forms; at most 3016 characters.
ECFSIM_ENTRY Bematech_FI_VerificaFormasPagamento(char* forms3016);
ECFSIM_ENTRY Bematech_FI_ProgramaHorarioVerao();

// --- Fiscal coupon ----------------------------------------------------------
ECFSIM_ENTRY Bematech_FI_AbreCupom(const char* buyer_id);
ECFSIM_ENTRY Bematech_FI_AbreCupomMFD(const char* buyer_id, const char* name, const char* address);
// Rate: "01"-"16", "FF", "II" or "NN".
ECFSIM_ENTRY Bematech_FI_VendeItem(const char* code, const char* description, const char* rate,
                                   const char* unit_price, const char* quantity,
                                   const char* discount);
ECFSIM_ENTRY Bematech_FI_VendeItemDepartamento(const char* code, const char* description,
                                               const char* rate, const char* unit_price,
                                               const char* quantity, const char* surcharge,
                                               const char* discount, const char* department,
                                               const char* unit);
// Extends the description of the next item sold.
ECFSIM_ENTRY Bematech_FI_AumentaDescricaoItem(const char* description);
ECFSIM_ENTRY Bematech_FI_CancelaItemGenerico(const char* item_number);
ECFSIM_ENTRY Bematech_FI_CancelaItemAnterior();
// Cancels the open coupon, or the last coupon when it was the last document.
ECFSIM_ENTRY Bematech_FI_CancelaCupom();
// kind "d"/"a" (discount/surcharge), type "$" (amount) or "%" (percent).
ECFSIM_ENTRY Bematech_FI_IniciaFechamentoCupom(const char* kind, const char* type,
                                               const char* value);
ECFSIM_ENTRY Bematech_FI_EfetuaFormaPagamento(const char* form, const char* amount);
ECFSIM_ENTRY Bematech_FI_TerminaFechamentoCupom(const char* message);

// --- Non-fiscal documents -------------------------------------------------
// Index "01"-"30", or "SA" (withdrawal) and "SU" (supply); form empty = cash.
ECFSIM_ENTRY Bematech_FI_RecebimentoNaoFiscal(const char* index, const char* value,
                                              const char* form);
// Opens a linked receipt on the last document's payment in `form`; value and
// coupon number may be empty.
ECFSIM_ENTRY Bematech_FI_AbreComprovanteNaoFiscalVinculado(const char* form, const char* value,
                                                           const char* coo);
ECFSIM_ENTRY Bematech_FI_UsaComprovanteNaoFiscalVinculado(const char* text);
ECFSIM_ENTRY Bematech_FI_FechaComprovanteNaoFiscalVinculado();
// Opens a management report when none is open, then prints the text.
ECFSIM_ENTRY Bematech_FI_RelatorioGerencial(const char* text);
// Closes the open management report or linked receipt; nothing open is fine.
ECFSIM_ENTRY Bematech_FI_FechaRelatorioGerencial();
ECFSIM_ENTRY Bematech_FI_Suprimento(const char* value, const char* form);
ECFSIM_ENTRY Bematech_FI_Sangria(const char* value);
// Barcodes print inside an open management report or linked receipt.
ECFSIM_ENTRY Bematech_FI_CodigoBarrasCODABARMFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasCODE128MFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasCODE39MFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasCODE93MFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasEAN13MFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasEAN8MFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasISBNMFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasITFMFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasMSIMFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasPDF417MFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasPLESSEYMFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasUPCAMFD(const char* code);
ECFSIM_ENTRY Bematech_FI_CodigoBarrasUPCEMFD(const char* code);

// --- Readings and fiscal memory -------------------------------------------
ECFSIM_ENTRY Bematech_FI_LeituraX();
// Writes "Retorno.txt" of an X reading into the directory of BemaFI32.ini's Path.
ECFSIM_ENTRY Bematech_FI_LeituraXSerial();
// Date and time may be empty; when given they set the printer clock.
ECFSIM_ENTRY Bematech_FI_ReducaoZ(const char* date, const char* time);
// Both give the last reduction in the layout of last_reduction.h.
ECFSIM_ENTRY Bematech_FI_DadosUltimaReducao(char* data1278);
ECFSIM_ENTRY Bematech_FI_DadosUltimaReducaoMFD(char* data1278);
ECFSIM_ENTRY Bematech_FI_DadosSintegra(const char* first_date, const char* last_date);
ECFSIM_ENTRY Bematech_FI_MapaResumo();
// Printed fiscal-memory readings: dates DDMMYY or DD/MM/YY(YY), or reduction
// numbers; flag "c"/"C" complete, anything else simplified.
ECFSIM_ENTRY Bematech_FI_LeituraMemoriaFiscalData(const char* first, const char* last);
ECFSIM_ENTRY Bematech_FI_LeituraMemoriaFiscalReducao(const char* first, const char* last);
ECFSIM_ENTRY Bematech_FI_LeituraMemoriaFiscalDataMFD(const char* first, const char* last,
                                                     const char* flag);
ECFSIM_ENTRY Bematech_FI_LeituraMemoriaFiscalReducaoMFD(const char* first, const char* last,
                                                        const char* flag);
// The same readings written into "Retorno.txt" instead of printed.
ECFSIM_ENTRY Bematech_FI_LeituraMemoriaFiscalSerialDataMFD(const char* first, const char* last,
                                                           const char* flag);
ECFSIM_ENTRY Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD(const char* first, const char* last,
                                                              const char* flag);
ECFSIM_ENTRY Bematech_FI_DownloadMFD(const char* file, const char* type, const char* first,
                                     const char* last, const char* user);
ECFSIM_ENTRY Bematech_FI_FormatoDadosMFD(const char* source, const char* target, const char* format,
                                         const char* type, const char* first, const char* last,
                                         const char* user);
ECFSIM_ENTRY Bematech_FI_GeraRegistrosCAT52MFDEx(const char* source, const char* date,
                                                 const char* target);

// --- Counters and figures (digits, leading zeros) -------------------------
ECFSIM_ENTRY Bematech_FI_ContadorCupomFiscalMFD(char* ccf6);
ECFSIM_ENTRY Bematech_FI_NumeroSubstituicoesProprietario(char* count4);
ECFSIM_ENTRY Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional(char* user20, char* software20,
                                                                    char* additional5);
ECFSIM_ENTRY Bematech_FI_NumeroOperacoesNaoFiscais(char* gnf6);
ECFSIM_ENTRY Bematech_FI_NumeroIntervencoes(char* count4);
ECFSIM_ENTRY Bematech_FI_NumeroReducoes(char* crz4);
ECFSIM_ENTRY Bematech_FI_VendaBruta(char* amount18);
ECFSIM_ENTRY Bematech_FI_Cancelamentos(char* amount14);
ECFSIM_ENTRY Bematech_FI_Descontos(char* amount14);
ECFSIM_ENTRY Bematech_FI_Acrescimos(char* amount14);
ECFSIM_ENTRY Bematech_FI_ContadorRelatoriosGerenciaisMFD(char* grg6);
ECFSIM_ENTRY Bematech_FI_ContadorComprovantesCreditoMFD(char* cdc6);
ECFSIM_ENTRY Bematech_FI_NumeroCuponsCancelados(char* count4);
ECFSIM_ENTRY Bematech_FI_InicioFimCOOsMFD(char* first6, char* last6);
// 16 rate bases, then FF, II, NN, discounts, cancellations, surcharges:
// 22 amounts of 14 digits joined by "," (329 characters).
ECFSIM_ENTRY Bematech_FI_VerificaTotalizadoresParciais(char* totals329);
// Per totalizer position 01-30: counter (4), day total (20 digits), name
// (19), joined by "," (1319 characters).
ECFSIM_ENTRY Bematech_FI_VerificaRecebimentoNaoFiscal(char* receipts1319);
ECFSIM_ENTRY Bematech_FI_VerificaRecebimentoNaoFiscalMFD(char* receipts1319);

// --- Older interface (raw frames); 0 is success --------------------------
ECFSIM_ENTRY BemaIniPortaStr(const char* port);
ECFSIM_ENTRY BemaFechaPorta();
// A frame: ESC "|" command {"|" parameter} "|" ESC. 0 when the printer
// answered (its status may still show a refusal), 1 when no reply, -2 when
// the text is not a frame (nothing sent).
ECFSIM_ENTRY BemaFormataTX(const char* frame);
// Reply flag (0 answered, 1 no valid reply), ACK, ST1, ST2 of the last frame.
ECFSIM_ENTRY BemaStatus_Mp20FI(int* reply, int* ack, int* st1, int* st2);
// The reply variables of the last frame, up to 3000 characters.
ECFSIM_ENTRY BemaLe_Variaveis(char* reply3000);
// The reply of the last frame as ASCII codes ("048 049 ..."), up to 3000.
ECFSIM_ENTRY BemaRetorna_ASCII(char* reply3000);

#undef ECFSIM_ENTRY

#endif  // ECFSIM_BEMAFI32_H_

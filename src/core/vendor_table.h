// The vendor entry table: one exported function pointer per entry of the
// printer maker's fiscal library ("BemaFI32.dll"), named exactly like the
// entry, so every operation reaches the printer through
// Zel00101::Bematech_FI_<Entry>(...) and a host can see what is bound.
//
// Every entry returns an int status (1 done; 0 no reply; negative codes, see
// return_analysis.h). Texts are zero-terminated Windows-1252 bytes; `char*`
// parameters are out-buffers the caller fills with blanks of the entry's
// width first, and `int*` parameters are 32-bit out-integers the caller
// presets to 0. The library keeps no pointer after a call.
//
// Ownership and emptiness: every pointer starts empty (nullptr) and is
// filled by LoadAndBindVendorLibrary and emptied by StopImpFiscal. The
// functions they point to belong to the library, which is never unloaded.
// Never call a pointer directly: go through CallVendor (core/vendor_call.h),
// which answers an empty pointer like a printer that does not answer.
// Threading: not guarded; the host calls the driver from one thread.
#ifndef ZEL_CORE_VENDOR_TABLE_H_
#define ZEL_CORE_VENDOR_TABLE_H_

#include <span>

#include "zel/export.h"

// The 94 entries bound at start, in binding order: X(name, parameter list).
// All of them must be in the library for the binding to succeed, including
// those no operation calls.
#define ZEL_BOUND_VENDOR_ENTRIES(X)                                                              \
  X(Bematech_FI_AbrePortaSerial, ())                                                             \
  X(Bematech_FI_FechaPortaSerial, ())                                                            \
  X(Bematech_FI_VerificaEstadoImpressora, (int* ack, int* st1, int* st2))                        \
  X(Bematech_FI_RetornoImpressora, (int* ack, int* st1, int* st2))                               \
  X(Bematech_FI_FechaRelatorioGerencial, ())                                                     \
  X(Bematech_FI_LeArquivoRetorno, ())                                                            \
  X(Bematech_FI_DataMovimento, (char* date6))                                                    \
  X(Bematech_FI_DataHoraImpressora, (char* date6, char* time6))                                  \
  X(Bematech_FI_NumeroCaixa, (char* register4))                                                  \
  X(Bematech_FI_NumeroSerie, (char* serial15))                                                   \
  X(Bematech_FI_NumeroSerieMFD, (char* serial15))                                                \
  X(Bematech_FI_StatusEstendidoMFD, (int* status))                                               \
  X(Bematech_FI_ProgramaFormaPagamentoMFD, (const char* name, const char* linked))               \
  X(Bematech_FI_VerificaTotalizadoresNaoFiscais, (char* names))                                  \
  X(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms, (int index, const char* name))                  \
  X(Bematech_FI_RetornoAliquotas, (char* rates79))                                               \
  X(Bematech_FI_VerificaAliquotasIss, (char* rates79))                                           \
  X(Bematech_FI_AbreCupom, (const char* buyer_id))                                               \
  X(Bematech_FI_AbreCupomMFD, (const char* buyer_id, const char* name, const char* address))     \
  X(Bematech_FI_NumeroCupom, (char* coo6))                                                       \
  X(Bematech_FI_VendeItem, (const char* code, const char* description, const char* rate,         \
                            const char* unit_price, const char* quantity, const char* discount)) \
  X(Bematech_FI_VendeItemDepartamento,                                                           \
    (const char* code, const char* description, const char* rate, const char* unit_price,        \
     const char* quantity, const char* surcharge, const char* discount, const char* department,  \
     const char* unit))                                                                          \
  X(Bematech_FI_CancelaItemGenerico, (const char* item_number))                                  \
  X(Bematech_FI_CancelaCupom, ())                                                                \
  X(Bematech_FI_CancelaItemAnterior, ())                                                         \
  X(Bematech_FI_AcionaGaveta, ())                                                                \
  X(Bematech_FI_IniciaFechamentoCupom, (const char* kind, const char* type, const char* value))  \
  X(Bematech_FI_EfetuaFormaPagamento, (const char* form, const char* amount))                    \
  X(Bematech_FI_TerminaFechamentoCupom, (const char* message))                                   \
  X(Bematech_FI_RecebimentoNaoFiscal, (const char* index, const char* value, const char* form))  \
  X(Bematech_FI_ReducaoZ, (const char* date, const char* time))                                  \
  X(Bematech_FI_AbreComprovanteNaoFiscalVinculado,                                               \
    (const char* form, const char* value, const char* coo))                                      \
  X(Bematech_FI_UsaComprovanteNaoFiscalVinculado, (const char* text))                            \
  X(Bematech_FI_FechaComprovanteNaoFiscalVinculado, ())                                          \
  X(Bematech_FI_LeituraX, ())                                                                    \
  X(Bematech_FI_AumentaDescricaoItem, (const char* description))                                 \
  X(Bematech_FI_VerificaEstadoGaveta, (int* state))                                              \
  X(Bematech_FI_LeituraXSerial, ())                                                              \
  X(Bematech_FI_DadosUltimaReducao, (char* data1278))                                            \
  X(Bematech_FI_DadosUltimaReducaoMFD, (char* data1278))                                         \
  X(Bematech_FI_DadosSintegra, (const char* first_date, const char* last_date))                  \
  X(Bematech_FI_MapaResumo, ())                                                                  \
  X(Bematech_FI_RelatorioGerencial, (const char* text))                                          \
  X(Bematech_FI_Suprimento, (const char* value, const char* form))                               \
  X(Bematech_FI_Sangria, (const char* value))                                                    \
  X(Bematech_FI_Acrescimos, (char* amount14))                                                    \
  X(Bematech_FI_ProgramaHorarioVerao, ())                                                        \
  X(Bematech_FI_FlagsFiscais, (int* flags))                                                      \
  X(Bematech_FI_LeituraMemoriaFiscalData, (const char* first, const char* last))                 \
  X(Bematech_FI_LeituraMemoriaFiscalSerialDataMFD,                                               \
    (const char* first, const char* last, const char* flag))                                     \
  X(Bematech_FI_LeituraMemoriaFiscalReducao, (const char* first, const char* last))              \
  X(Bematech_FI_LeituraMemoriaFiscalReducaoMFD,                                                  \
    (const char* first, const char* last, const char* flag))                                     \
  X(Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD,                                            \
    (const char* first, const char* last, const char* flag))                                     \
  X(Bematech_FI_DownloadMFD,                                                                     \
    (const char* file, const char* type, const char* first, const char* last, const char* user)) \
  X(Bematech_FI_FormatoDadosMFD,                                                                 \
    (const char* source, const char* target, const char* format, const char* type,               \
     const char* first, const char* last, const char* user))                                     \
  X(Bematech_FI_VerificaFormasPagamento, (char* forms3016))                                      \
  X(Bematech_FI_InicioFimCOOsMFD, (char* first6, char* last6))                                   \
  X(Bematech_FI_NumeroCuponsCancelados, (char* count4))                                          \
  X(Bematech_FI_GrandeTotal, (char* total18))                                                    \
  X(Bematech_FI_GeraRegistrosCAT52MFDEx,                                                         \
    (const char* source, const char* date, const char* target))                                  \
  X(Bematech_FI_VerificaImpressoraLigada, ())                                                    \
  X(Bematech_FI_AcionaGuilhotinaMFD, (int mode))                                                 \
  X(Bematech_FI_CodigoBarrasCODABARMFD, (const char* code))                                      \
  X(Bematech_FI_CodigoBarrasCODE128MFD, (const char* code))                                      \
  X(Bematech_FI_CodigoBarrasCODE39MFD, (const char* code))                                       \
  X(Bematech_FI_CodigoBarrasCODE93MFD, (const char* code))                                       \
  X(Bematech_FI_CodigoBarrasEAN13MFD, (const char* code))                                        \
  X(Bematech_FI_CodigoBarrasEAN8MFD, (const char* code))                                         \
  X(Bematech_FI_CodigoBarrasISBNMFD, (const char* code))                                         \
  X(Bematech_FI_CodigoBarrasITFMFD, (const char* code))                                          \
  X(Bematech_FI_CodigoBarrasMSIMFD, (const char* code))                                          \
  X(Bematech_FI_CodigoBarrasPDF417MFD, (const char* code))                                       \
  X(Bematech_FI_CodigoBarrasPLESSEYMFD, (const char* code))                                      \
  X(Bematech_FI_CodigoBarrasUPCAMFD, (const char* code))                                         \
  X(Bematech_FI_CodigoBarrasUPCEMFD, (const char* code))                                         \
  X(Bematech_FI_IniciaModoTEF, ())                                                               \
  X(Bematech_FI_FinalizaModoTEF, ())                                                             \
  X(Bematech_FI_LeituraMemoriaFiscalDataMFD,                                                     \
    (const char* first, const char* last, const char* flag))                                     \
  X(Bematech_FI_ContadorCupomFiscalMFD, (char* ccf6))                                            \
  X(Bematech_FI_NumeroSubstituicoesProprietario, (char* count4))                                 \
  X(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional,                                      \
    (char* user20, char* software20, char* additional5))                                         \
  X(Bematech_FI_NumeroOperacoesNaoFiscais, (char* gnf6))                                         \
  X(Bematech_FI_NumeroIntervencoes, (char* count4))                                              \
  X(Bematech_FI_NumeroReducoes, (char* crz4))                                                    \
  X(Bematech_FI_VendaBruta, (char* amount18))                                                    \
  X(Bematech_FI_Cancelamentos, (char* amount14))                                                 \
  X(Bematech_FI_VerificaTotalizadoresParciais, (char* totals))                                   \
  X(Bematech_FI_VerificaRecebimentoNaoFiscal, (char* receipts))                                  \
  X(Bematech_FI_VerificaRecebimentoNaoFiscalMFD, (char* receipts))                               \
  X(Bematech_FI_Descontos, (char* amount14))                                                     \
  X(Bematech_FI_ContadorRelatoriosGerenciaisMFD, (char* grg6))                                   \
  X(Bematech_FI_ContadorComprovantesCreditoMFD, (char* cdc6))                                    \
  X(Bematech_FI_MarcaModeloTipoImpressoraMFD, (char* brand15, char* model20, char* type7))       \
  X(Bematech_FI_VersaoFirmwareMFD, (char* version6))

// The older printer interface (raw frames), bound from the same library
// when it offers them; a library without them still starts. Its status
// convention differs: 0 is success (see CallOlderInterface).
#define ZEL_OLDER_INTERFACE_ENTRIES(X)                             \
  X(BemaIniPortaStr, (const char* port))                           \
  X(BemaFechaPorta, ())                                            \
  X(BemaFormataTX, (const char* frame))                            \
  X(BemaStatus_Mp20FI, (int* reply, int* ack, int* st1, int* st2)) \
  X(BemaLe_Variaveis, (char* reply3000))                           \
  X(BemaRetorna_ASCII, (char* reply3000))

// Entries of the library's Spanish edition. Hosts built for it see the
// names; nothing binds or calls them, so they stay empty.
#define ZEL_SPANISH_VENDOR_ENTRIES(X)                                                           \
  X(Bematech_FI_AnulaCupon, ())                                                                 \
  X(Bematech_FI_AbreComprobanteNoFiscalVinculado,                                               \
    (const char* form, const char* value, const char* coupon))                                  \
  X(Bematech_FI_ReduccionZ, (const char* date, const char* time))                               \
  X(Bematech_FI_LecturaXSerial, ())                                                             \
  X(Bematech_FI_Provision, (const char* value, const char* form))                               \
  X(Bematech_FI_AbreComprobanteDeVenta, (const char* buyer_id))                                 \
  X(Bematech_FI_AbrePuertaSerial, ())                                                           \
  X(Bematech_FI_VerificaImpresoraPrendida, ())                                                  \
  X(Bematech_FI_CierraComprobanteNoFiscalVinculado, ())                                         \
  X(Bematech_FI_CierraInformeGerencial, ())                                                     \
  X(Bematech_FI_RetornoImpresora, (int* ack, int* st1, int* st2))                               \
  X(Bematech_FI_FechaMovimiento, (char* date6))                                                 \
  X(Bematech_FI_FechaHoraImpresora, (char* date6, char* time6))                                 \
  X(Bematech_FI_NumeroCaja, (char* register4))                                                  \
  X(Bematech_FI_VerificaTotalizadoresNoFiscales, (char* names))                                 \
  X(Bematech_FI_RetornoAlicuotas, (char* rates))                                                \
  X(Bematech_FI_CierraPuertaSerial, ())                                                         \
  X(Bematech_FI_VerificaFormasPago, (char* forms))                                              \
  X(Bematech_FI_VendeArticuloDepartamento,                                                      \
    (const char* code, const char* description, const char* rate, const char* unit_price,       \
     const char* quantity, const char* surcharge, const char* discount, const char* department, \
     const char* unit))                                                                         \
  X(Bematech_FI_LecturaX, ())                                                                   \
  X(Bematech_FI_DatosUltimaReduccion, (char* data))                                             \
  X(Bematech_FI_VerificaAlicuotasIss, (char* rates))                                            \
  X(Bematech_FI_LecturaMemoriaFiscalFecha, (const char* first, const char* last))               \
  X(Bematech_FI_LecturaMemoriaFiscalReduccion, (const char* first, const char* last))           \
  X(Bematech_FI_InformeGerencial, (const char* text))                                           \
  X(Bematech_FI_AnulaArticuloGenerico, (const char* item_number))                               \
  X(Bematech_FI_RecibimientoNoFiscal, (const char* index, const char* value, const char* form)) \
  X(Bematech_FI_AccionaGaveta, ())                                                              \
  X(Bematech_FI_VerificaEstadoImpresora, (int* ack, int* st1, int* st2))                        \
  X(Bematech_FI_NumeroCupon, (char* coupon))                                                    \
  X(Bematech_FI_IniciaCierreCupon, (const char* kind, const char* type, const char* value))     \
  X(Bematech_FI_EfectuaFormaPago, (const char* form, const char* amount))                       \
  X(Bematech_FI_FinalizarCierreCupon, (const char* message))                                    \
  X(Bematech_FI_ImprimeComprobanteNoFiscalVinculado, (const char* text))                        \
  X(Bematech_FI_AnulaArticuloAnterior, ())                                                      \
  X(Bematech_FI_FlagsFiscales, (int* flags))                                                    \
  X(Bematech_FI_ProgramaHorarioDeVerano, ())                                                    \
  X(Bematech_FI_GranTotal, (char* total))

// For each entry: its pointer type T<Entry> and the exported pointer <Entry>.
#define ZEL_DECLARE_VENDOR_POINTER(name, parameters) \
  using T##name = int(*) parameters;                 \
  extern ZEL_EXPORT T##name name;

namespace Zel00101 {
ZEL_BOUND_VENDOR_ENTRIES(ZEL_DECLARE_VENDOR_POINTER)
ZEL_OLDER_INTERFACE_ENTRIES(ZEL_DECLARE_VENDOR_POINTER)
ZEL_SPANISH_VENDOR_ENTRIES(ZEL_DECLARE_VENDOR_POINTER)
}  // namespace Zel00101

#undef ZEL_DECLARE_VENDOR_POINTER

namespace zel {

// One pointer of the table seen by name, for the binder.
struct VendorEntrySlot {
  const char* name;
  // Stores a library address in the pointer (nullptr empties it).
  void (*set)(void* address);
  // The address the pointer holds, nullptr when empty.
  void* (*get)();
};

// The 94 bound entries in binding order, and the six of the older interface.
std::span<const VendorEntrySlot> BoundVendorEntries();
std::span<const VendorEntrySlot> OlderInterfaceEntries();

// Loads "BemaFI32.dll" through Env when ImpFisDLLHandle is still empty
// (keeping the handle for the life of the process), then binds the 94
// entries in order. At the first entry the library lacks, empties the whole
// table and returns false, looking no further; false too when the library
// cannot be loaded. On success also binds whichever older-interface entries
// the library offers. Shows nothing and logs nothing.
bool LoadAndBindVendorLibrary();

}  // namespace zel

#endif  // ZEL_CORE_VENDOR_TABLE_H_

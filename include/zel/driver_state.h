// The driver's unit state: variables the library exports by name, so the
// host can read and assign them between calls.
//
// Texts are Windows-1252 bytes and start empty; when the library unloads,
// every text variable below is emptied and nothing else is touched.
// dsDirCad is set when the library loads: the host executable's directory in
// its short form, ending in a backslash. The data module is created by the
// first operation that needs it and lives until the process ends; the
// driver owns it and never frees it, so the host must not delete it.
// cdsAuxExtSimp points to a dataset owned by the driver, or is null.
// Threading: none of these is guarded. The host calls the driver from one
// thread and must not touch them while a call runs.
#ifndef ZEL_DRIVER_STATE_H_
#define ZEL_DRIVER_STATE_H_

#include <cstdint>
#include <string>

#include "zel/export.h"

namespace zel {
class Dataset;
class TdtmBematech10;
}  // namespace zel

namespace Zel00101 {

// Handle of the loaded printer library; null until the first start loads
// it, and then kept for the life of the process.
extern ZEL_EXPORT void* ImpFisDLLHandle;
// True once a start has completed and the port is open.
extern ZEL_EXPORT bool boImpFiscalOK;
// The single data module; null until first needed.
extern ZEL_EXPORT zel::TdtmBematech10* dtmBematech10;
// A log line waiting to be written before the next return analysis.
extern ZEL_EXPORT std::string stImpDebug;
// The last return code of the printer library.
extern ZEL_EXPORT std::int32_t inRetorno;
// Busy flag of the raw command channel.
extern ZEL_EXPORT bool boComando;
// Scratch buffer for texts the printer library returns.
extern ZEL_EXPORT std::string stRetorno;
// Two-digit index of the non-fiscal totalizer of the management report.
extern ZEL_EXPORT std::string IdTotRelatorio;
// The service-tax (ISS) rate list as last read from the printer.
extern ZEL_EXPORT std::string stAliquotaIss;
// Movement date read before the last Z reduction.
extern ZEL_EXPORT std::string stDataCat;
// Host executable directory, short form, with a trailing backslash.
extern ZEL_EXPORT std::string dsDirCad;
// Set by the host, read by the driver.
extern ZEL_EXPORT std::string ECF;
extern ZEL_EXPORT std::string IdTotCompCred;
extern ZEL_EXPORT std::string stAtuFili;
extern ZEL_EXPORT std::string stAtuCaixa;
extern ZEL_EXPORT std::string stSerieAtu;
// Auxiliary dataset of the consumer statement; null until that operation
// creates it.
extern ZEL_EXPORT zel::Dataset* cdsAuxExtSimp;

// Kept for hosts that store their own values here; the driver neither reads
// nor writes them (other than emptying the texts at unload).
extern ZEL_EXPORT std::string IdTotParcCV;
extern ZEL_EXPORT std::string IdTotParcVCons;
extern ZEL_EXPORT std::string IdTotCancCred;
extern ZEL_EXPORT std::string IdTotParcES;
extern ZEL_EXPORT std::string stNrLaudo;
extern ZEL_EXPORT std::string stPorta;
extern ZEL_EXPORT std::string stSistema;
extern ZEL_EXPORT std::string CdAliq;
extern ZEL_EXPORT std::string NrCupom;
extern ZEL_EXPORT std::string stData;
extern ZEL_EXPORT std::string stDataAtu;
extern ZEL_EXPORT std::string SerieECF;
extern ZEL_EXPORT std::string stRet;
extern ZEL_EXPORT std::string stRed;
extern ZEL_EXPORT std::string stCdPortaImpFis;
extern ZEL_EXPORT std::string stCdPortaBal;
extern ZEL_EXPORT std::string stIdPortaBal;
extern ZEL_EXPORT std::string stcdPortaDisp;
extern ZEL_EXPORT std::string stIdVePortaBal;
extern ZEL_EXPORT std::string stNrVelocBal;
extern ZEL_EXPORT std::string CdFormPagCPess;
extern ZEL_EXPORT std::string IdFormPagCPess;
extern ZEL_EXPORT std::string DsFormPagCPess;
extern ZEL_EXPORT std::string DsFormPagVCons;
extern ZEL_EXPORT std::string CdFormPagVCons;
extern ZEL_EXPORT std::string IdFormPagVCons;
extern ZEL_EXPORT std::string stLegendasNFiscal;
extern ZEL_EXPORT std::string dsDiretorio;
extern ZEL_EXPORT std::string stCRZUltRedZ;
extern ZEL_EXPORT std::string stCROUltRedZ;
extern ZEL_EXPORT std::string stCRZUltRedZECF;
extern ZEL_EXPORT std::string stCROUltRedZECF;
extern ZEL_EXPORT std::string stCodigoNacionalEcf;
extern ZEL_EXPORT std::string stdataUsuario;
extern ZEL_EXPORT std::string stdataSWBasico;
extern ZEL_EXPORT std::string stMFAdicional;
extern ZEL_EXPORT std::string stVersaoSoftwareBasico;
extern ZEL_EXPORT std::int32_t Rev_idTipoImpfis;

}  // namespace Zel00101

#endif  // ZEL_DRIVER_STATE_H_

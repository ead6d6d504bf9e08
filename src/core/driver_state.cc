#include "core/driver_state.h"

#include <array>
#include <cstdio>
#include <exception>

#include "platform/env.h"

namespace Zel00101 {

void* ImpFisDLLHandle = nullptr;
bool boImpFiscalOK = false;
zel::TdtmBematech10* dtmBematech10 = nullptr;
std::string stImpDebug;
std::int32_t inRetorno = 0;
bool boComando = false;
std::string stRetorno;
std::string IdTotRelatorio;
std::string stAliquotaIss;
std::string stDataCat;
std::string dsDirCad;
std::string ECF;
std::string IdTotCompCred;
std::string stAtuFili;
std::string stAtuCaixa;
std::string stSerieAtu;
zel::Dataset* cdsAuxExtSimp = nullptr;

std::string IdTotParcCV;
std::string IdTotParcVCons;
std::string IdTotCancCred;
std::string IdTotParcES;
std::string stNrLaudo;
std::string stPorta;
std::string stSistema;
std::string CdAliq;
std::string NrCupom;
std::string stData;
std::string stDataAtu;
std::string SerieECF;
std::string stRet;
std::string stRed;
std::string stCdPortaImpFis;
std::string stCdPortaBal;
std::string stIdPortaBal;
std::string stcdPortaDisp;
std::string stIdVePortaBal;
std::string stNrVelocBal;
std::string CdFormPagCPess;
std::string IdFormPagCPess;
std::string DsFormPagCPess;
std::string DsFormPagVCons;
std::string CdFormPagVCons;
std::string IdFormPagVCons;
std::string stLegendasNFiscal;
std::string dsDiretorio;
std::string stCRZUltRedZ;
std::string stCROUltRedZ;
std::string stCRZUltRedZECF;
std::string stCROUltRedZECF;
std::string stCodigoNacionalEcf;
std::string stdataUsuario;
std::string stdataSWBasico;
std::string stMFAdicional;
std::string stVersaoSoftwareBasico;
std::int32_t Rev_idTipoImpfis = 0;

namespace {

// Every text variable above, each once: what the unload step empties.
const std::array<std::string*, 48> kTexts = {
    &stImpDebug,
    &stRetorno,
    &IdTotRelatorio,
    &stAliquotaIss,
    &stDataCat,
    &dsDirCad,
    &ECF,
    &IdTotCompCred,
    &stAtuFili,
    &stAtuCaixa,
    &stSerieAtu,
    &IdTotParcCV,
    &IdTotParcVCons,
    &IdTotCancCred,
    &IdTotParcES,
    &stNrLaudo,
    &stPorta,
    &stSistema,
    &CdAliq,
    &NrCupom,
    &stData,
    &stDataAtu,
    &SerieECF,
    &stRet,
    &stRed,
    &stCdPortaImpFis,
    &stCdPortaBal,
    &stIdPortaBal,
    &stcdPortaDisp,
    &stIdVePortaBal,
    &stNrVelocBal,
    &CdFormPagCPess,
    &IdFormPagCPess,
    &DsFormPagCPess,
    &DsFormPagVCons,
    &CdFormPagVCons,
    &IdFormPagVCons,
    &stLegendasNFiscal,
    &dsDiretorio,
    &stCRZUltRedZ,
    &stCROUltRedZ,
    &stCRZUltRedZECF,
    &stCROUltRedZECF,
    &stCodigoNacionalEcf,
    &stdataUsuario,
    &stdataSWBasico,
    &stMFAdicional,
    &stVersaoSoftwareBasico,
};

}  // namespace

}  // namespace Zel00101

namespace zel {
namespace {

// Runs the load and unload steps with the library. Defined after the
// variables above, so it is built after them and destroyed before them.
struct UnitLifetime {
  UnitLifetime() {
    // A failure here must not stop the host from loading the library: the
    // directory stays empty and the operations that use it report the
    // missing file they then fail to find.
    try {
      InitializeDriverState();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "zel00100: host directory unknown: %s\n", error.what());
    }
  }
  ~UnitLifetime() { FinalizeDriverState(); }
};

const UnitLifetime unit_lifetime;

}  // namespace

void InitializeDriverState() {
  Env* env = Env::Current();
  Zel00101::dsDirCad = env->ShortPath(env->HostExecutableDirectory() + "\\");
}

void FinalizeDriverState() {
  for (std::string* text : Zel00101::kTexts) text->clear();
}

std::span<std::string* const> DriverStateTexts() { return Zel00101::kTexts; }

}  // namespace zel

// The library exports every entry the driver binds, in the driver's binding
// order, plus the older interface; the second build lacks only the firmware
// entry, so a binding that needs all 94 fails on it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kBoundEntries = {"AbrePortaSerial",
                                                "FechaPortaSerial",
                                                "VerificaEstadoImpressora",
                                                "RetornoImpressora",
                                                "FechaRelatorioGerencial",
                                                "LeArquivoRetorno",
                                                "DataMovimento",
                                                "DataHoraImpressora",
                                                "NumeroCaixa",
                                                "NumeroSerie",
                                                "NumeroSerieMFD",
                                                "StatusEstendidoMFD",
                                                "ProgramaFormaPagamentoMFD",
                                                "VerificaTotalizadoresNaoFiscais",
                                                "NomeiaTotalizadorNaoSujeitoIcms",
                                                "RetornoAliquotas",
                                                "VerificaAliquotasIss",
                                                "AbreCupom",
                                                "AbreCupomMFD",
                                                "NumeroCupom",
                                                "VendeItem",
                                                "VendeItemDepartamento",
                                                "CancelaItemGenerico",
                                                "CancelaCupom",
                                                "CancelaItemAnterior",
                                                "AcionaGaveta",
                                                "IniciaFechamentoCupom",
                                                "EfetuaFormaPagamento",
                                                "TerminaFechamentoCupom",
                                                "RecebimentoNaoFiscal",
                                                "ReducaoZ",
                                                "AbreComprovanteNaoFiscalVinculado",
                                                "UsaComprovanteNaoFiscalVinculado",
                                                "FechaComprovanteNaoFiscalVinculado",
                                                "LeituraX",
                                                "AumentaDescricaoItem",
                                                "VerificaEstadoGaveta",
                                                "LeituraXSerial",
                                                "DadosUltimaReducao",
                                                "DadosUltimaReducaoMFD",
                                                "DadosSintegra",
                                                "MapaResumo",
                                                "RelatorioGerencial",
                                                "Suprimento",
                                                "Sangria",
                                                "Acrescimos",
                                                "ProgramaHorarioVerao",
                                                "FlagsFiscais",
                                                "LeituraMemoriaFiscalData",
                                                "LeituraMemoriaFiscalSerialDataMFD",
                                                "LeituraMemoriaFiscalReducao",
                                                "LeituraMemoriaFiscalReducaoMFD",
                                                "LeituraMemoriaFiscalSerialReducaoMFD",
                                                "DownloadMFD",
                                                "FormatoDadosMFD",
                                                "VerificaFormasPagamento",
                                                "InicioFimCOOsMFD",
                                                "NumeroCuponsCancelados",
                                                "GrandeTotal",
                                                "GeraRegistrosCAT52MFDEx",
                                                "VerificaImpressoraLigada",
                                                "AcionaGuilhotinaMFD",
                                                "CodigoBarrasCODABARMFD",
                                                "CodigoBarrasCODE128MFD",
                                                "CodigoBarrasCODE39MFD",
                                                "CodigoBarrasCODE93MFD",
                                                "CodigoBarrasEAN13MFD",
                                                "CodigoBarrasEAN8MFD",
                                                "CodigoBarrasISBNMFD",
                                                "CodigoBarrasITFMFD",
                                                "CodigoBarrasMSIMFD",
                                                "CodigoBarrasPDF417MFD",
                                                "CodigoBarrasPLESSEYMFD",
                                                "CodigoBarrasUPCAMFD",
                                                "CodigoBarrasUPCEMFD",
                                                "IniciaModoTEF",
                                                "FinalizaModoTEF",
                                                "LeituraMemoriaFiscalDataMFD",
                                                "ContadorCupomFiscalMFD",
                                                "NumeroSubstituicoesProprietario",
                                                "DataHoraGravacaoUsuarioSWBasicoMFAdicional",
                                                "NumeroOperacoesNaoFiscais",
                                                "NumeroIntervencoes",
                                                "NumeroReducoes",
                                                "VendaBruta",
                                                "Cancelamentos",
                                                "VerificaTotalizadoresParciais",
                                                "VerificaRecebimentoNaoFiscal",
                                                "VerificaRecebimentoNaoFiscalMFD",
                                                "Descontos",
                                                "ContadorRelatoriosGerenciaisMFD",
                                                "ContadorComprovantesCreditoMFD",
                                                "MarcaModeloTipoImpressoraMFD",
                                                "VersaoFirmwareMFD"};

const std::vector<std::string> kOlderInterface = {"BemaIniPortaStr",  "BemaFechaPorta",
                                                  "BemaFormataTX",    "BemaStatus_Mp20FI",
                                                  "BemaLe_Variaveis", "BemaRetorna_ASCII"};

// The entries of `library` that cannot be found.
std::vector<std::string> Missing(const char* library) {
  void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
  EXPECT_NE(handle, nullptr) << dlerror();
  if (!handle) return {"<library>"};
  std::vector<std::string> missing;
  for (const std::string& entry : kBoundEntries) {
    if (!dlsym(handle, ("Bematech_FI_" + entry).c_str())) missing.push_back(entry);
  }
  for (const std::string& entry : kOlderInterface) {
    if (!dlsym(handle, entry.c_str())) missing.push_back(entry);
  }
  return missing;
}

TEST(ExportsTest, EveryBoundEntryIsThere) {
  ASSERT_EQ(kBoundEntries.size(), 94u);
  EXPECT_EQ(Missing(ECFSIM_LIBRARY), std::vector<std::string>{});
}

TEST(ExportsTest, SecondBuildLacksOnlyTheFirmwareEntry) {
  EXPECT_EQ(Missing(ECFSIM_NOFIRMWARE_LIBRARY), std::vector<std::string>{"VersaoFirmwareMFD"});
}

}  // namespace

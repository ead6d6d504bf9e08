// TdtmBematech10 is the driver's data module: the two message tables from
// which every operator text is taken, and the 36 in-memory datasets the
// operations fill for the host or receive from it.
//
// There is one instance per process, Zel00101::dtmBematech10, created by
// EnsureDataModule the first time an operation needs it and never freed
// (hosts may keep pointers to its datasets between calls). Building it
// gives each dataset its design-time fields and indexes; all start closed.
// Datasets whose structure comes with the host's data have no fields until a
// data packet arrives. Not thread-safe; the driver is called from one host
// thread.
#ifndef ZEL_CORE_DATA_MODULE_H_
#define ZEL_CORE_DATA_MODULE_H_

#include <string_view>
#include <vector>

#include "core/messages.h"
#include "zel/dataset.h"

namespace zel {

class TdtmBematech10 {
 public:
  TdtmBematech10();
  TdtmBematech10(const TdtmBematech10&) = delete;
  TdtmBematech10& operator=(const TdtmBematech10&) = delete;

  // The 36 datasets in declaration order.
  std::vector<Dataset*> Datasets();
  // The dataset named `name` (case ignored), or nullptr.
  Dataset* FindDataset(std::string_view name);

  TMessages msgPadrao;
  TMessages msgPadrao2;

  Dataset cdsAliqImpFis{"cdsAliqImpFis"};
  Dataset cdsReceb{"cdsReceb"};
  Dataset cdsParcProdutos{"cdsParcProdutos"};
  Dataset cdsMovCaixa{"cdsMovCaixa"};
  Dataset cdsMovCaixaTef{"cdsMovCaixaTef"};
  Dataset cdsRecebAux{"cdsRecebAux"};
  Dataset cdsTipoRece{"cdsTipoRece"};
  Dataset cdsMovFecha{"cdsMovFecha"};
  Dataset cdsSangria{"cdsSangria"};
  Dataset cdsOperadorSup{"cdsOperadorSup"};
  Dataset cdsTipoReceAux{"cdsTipoReceAux"};
  Dataset cdsMovAbertura{"cdsMovAbertura"};
  Dataset cdsMovTot{"cdsMovTot"};
  Dataset cdsRedzAux01{"cdsRedzAux01"};
  Dataset cdsFormRedzAux01{"cdsFormRedzAux01"};
  Dataset cdsTotNFisAux01{"cdsTotNFisAux01"};
  Dataset cdsImpostoRedzAux01{"cdsImpostoRedzAux01"};
  Dataset cdsReducaoZ{"cdsReducaoZ"};
  Dataset cdsFormPgtoRedZ{"cdsFormPgtoRedZ"};
  Dataset cdsImpostoRedZ{"cdsImpostoRedZ"};
  Dataset cdsTotNFiscRedZ{"cdsTotNFiscRedZ"};
  Dataset cdsTeste{"cdsTeste"};
  Dataset cdsProdVend{"cdsProdVend"};
  Dataset cdsAliqProduto{"cdsAliqProduto"};
  Dataset cdsItemsReg{"cdsItemsReg"};
  Dataset cdsProdDeb{"cdsProdDeb"};
  Dataset cdsTipoReceHomolog{"cdsTipoReceHomolog"};
  Dataset cdsMesaAberZel{"cdsMesaAberZel"};
  Dataset cdsProdutoTransf{"cdsProdutoTransf"};
  Dataset cdsDadosPaf{"cdsDadosPaf"};
  Dataset cdsBuscaNrSerieEcf{"cdsBuscaNrSerieEcf"};
  Dataset cdsCheckECF{"cdsCheckECF"};
  Dataset cdsParametros{"cdsParametros"};
  Dataset cdsEmprestimo{"cdsEmprestimo"};
  Dataset cdsFamiliaSaldo{"cdsFamiliaSaldo"};
  Dataset cdsSaldCred{"cdsSaldCred"};
};

// The data module, created on the first call (Zel00101::dtmBematech10).
TdtmBematech10& EnsureDataModule();

// Text of `key` in msgPadrao / msgPadrao2, creating the data module when it
// does not exist yet; with a file name, the text's "%s" is replaced by it.
std::string MsgPadrao(std::string_view key);
std::string MsgPadrao(std::string_view key, std::string_view file_name);
std::string MsgPadrao2(std::string_view key);
std::string MsgPadrao2(std::string_view key, std::string_view file_name);

}  // namespace zel

#endif  // ZEL_CORE_DATA_MODULE_H_

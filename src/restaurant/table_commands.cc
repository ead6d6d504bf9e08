// The table commands: one command of the printer's "80" family each, sent
// through the raw command channel with dialogs on. The printer keeps the
// tables; the driver only formats the fields.
#include <string>
#include <vector>

#include "host/codepage.h"
#include "host/string_functions.h"
#include "restaurant/table_fields.h"
#include "zel/error.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr int kTableColumns = 4;
constexpr int kCodeColumns = 14;

// A bar or an escape inside a text would end its field early and shift
// every field after it: the printer would register another table, code or
// amount. Such a text is refused before anything is sent.
bool SendTableCommand(const std::string& colour_scheme, const char* command,
                      const std::vector<std::string>& parameters) {
  for (const std::string& parameter : parameters) {
    if (parameter.find_first_of("|\x1b") != std::string::npos) {
      throw Error(Utf8ToCp1252("O texto \"") + parameter +
                  Utf8ToCp1252("\" contém um separador de campos da impressora (| ou ESC); o "
                               "comando não foi enviado."));
    }
  }
  return Zel00101::EnviaComando(colour_scheme, command, parameters, true, false);
}

// A table fitted to its four columns, or "no table" when that leaves blanks.
std::string FittedTable(const std::string& table) {
  std::string fitted = Ajusta(table, kTableColumns);
  return EmptyString(fitted) ? std::string(kNoTable) : fitted;
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Registra_Item_Imp(const std::string& EsquemaCor, const std::string& Mesa,
                       const std::string& Aliquota, const std::string& Codigo,
                       const std::string& Descricao, const std::string& Unidade, double Preco,
                       double Quantidade, double Desconto) {
  using namespace zel;
  return SendTableCommand(EsquemaCor, "80|48",
                          {Mesa.empty() ? std::string(kNoTable) : Mesa,
                           TableAmountField(TableAmount::kPrice, Preco, "Preco"), Aliquota,
                           TableAmountField(TableAmount::kPrice, Desconto, "Desconto"),
                           TableAmountField(TableAmount::kQuantity, Quantidade, "Quantidade"),
                           AjustaZero(Codigo, kCodeColumns), TableDescription(Descricao), Unidade});
}

bool Cancela_Item_Imp(const std::string& EsquemaCor, const std::string& Mesa,
                      const std::string& Aliquota, const std::string& Codigo,
                      const std::string& Descricao, const std::string& Unidade, double Preco,
                      double Quantidade, double Desconto) {
  using namespace zel;
  return SendTableCommand(EsquemaCor, "80|49",
                          {FittedTable(Mesa), TableAmountField(TableAmount::kPrice, Preco, "Preco"),
                           Aliquota, TableAmountField(TableAmount::kPrice, Desconto, "Desconto"),
                           TableAmountField(TableAmount::kQuantity, Quantidade, "Quantidade"),
                           Ajusta(Codigo, kCodeColumns), TableDescription(Descricao), Unidade});
}

bool Cupom_Conferencia(const std::string& EsquemaCor, const std::string& Mesa,
                       const std::string& Pessoas, double PercentualServico, double ValorServico) {
  using namespace zel;
  if (PercentualServico > 0) {
    return SendTableCommand(
        EsquemaCor, "80|50",
        {Mesa, Pessoas,
         TableAmountField(TableAmount::kPercent, PercentualServico, "PercentualServico")});
  }
  if (ValorServico > 0) {
    return SendTableCommand(
        EsquemaCor, "80|50",
        {Mesa, Pessoas, TableAmountField(TableAmount::kTotal, ValorServico, "ValorServico")});
  }
  return SendTableCommand(EsquemaCor, "80|50",
                          {Mesa, "0", "0000", TableAmountField(TableAmount::kTotal, 0, "")});
}

bool Fecha_Conferencia_Imp(const std::string& EsquemaCor, const std::string& Mesa, double Valor) {
  using namespace zel;
  if (Valor == 0) {
    return SendTableCommand(EsquemaCor, "80|58",
                            {"0", TableAmountField(TableAmount::kTotal, 0, "")});
  }
  return SendTableCommand(EsquemaCor, "80|58",
                          {Mesa, TableAmountField(TableAmount::kTotal, Valor, "Valor")});
}

bool Juncao_Mesa(const std::string& EsquemaCor, const std::string& Origem,
                 const std::string& Destino) {
  return zel::SendTableCommand(EsquemaCor, "80|51", {Origem, Destino});
}

bool AbreCupomRes(const std::string& EsquemaCor, const std::string& Mesa,
                  const std::string& Consumidor) {
  return zel::SendTableCommand(EsquemaCor, "80|52", {Mesa, Consumidor});
}

bool Transfere_Item_Imp(const std::string& EsquemaCor, const std::string& Origem,
                        const std::string& Destino, const std::string& Codigo,
                        const std::string& Descricao, const std::string& Aliquota,
                        const std::string& Unidade, double Reservado, double Preco,
                        double Quantidade) {
  using namespace zel;
  return SendTableCommand(
      EsquemaCor, "80|53",
      {Origem, TableAmountField(TableAmount::kPercent, Reservado, "Reservado"), Destino,
       TableAmountField(TableAmount::kPrice, Preco, "Preco"),
       TableAmountField(TableAmount::kQuantity, Quantidade, "Quantidade"),
       Ajusta(Codigo, kCodeColumns), TableDescription(Descricao), Aliquota, Unidade});
}

bool Rel_MesaAber(const std::string& EsquemaCor, const std::string& Parametro) {
  return zel::SendTableCommand(EsquemaCor, "80|54", {Parametro});
}

bool ImprimeCardapio(const std::string& EsquemaCor) {
  return zel::SendTableCommand(EsquemaCor, "80|55", {});
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Registra_Item_Imp,
                      (const std::string& EsquemaCor, const std::string& Mesa,
                       const std::string& Aliquota, const std::string& Codigo,
                       const std::string& Descricao, const std::string& Unidade, double Preco,
                       double Quantidade, double Desconto),
                      (EsquemaCor, Mesa, Aliquota, Codigo, Descricao, Unidade, Preco, Quantidade,
                       Desconto))
ZEL_EXPORT_PLAIN_NAME(bool, Cancela_Item_Imp,
                      (const std::string& EsquemaCor, const std::string& Mesa,
                       const std::string& Aliquota, const std::string& Codigo,
                       const std::string& Descricao, const std::string& Unidade, double Preco,
                       double Quantidade, double Desconto),
                      (EsquemaCor, Mesa, Aliquota, Codigo, Descricao, Unidade, Preco, Quantidade,
                       Desconto))
ZEL_EXPORT_PLAIN_NAME(bool, Cupom_Conferencia,
                      (const std::string& EsquemaCor, const std::string& Mesa,
                       const std::string& Pessoas, double PercentualServico, double ValorServico),
                      (EsquemaCor, Mesa, Pessoas, PercentualServico, ValorServico))
ZEL_EXPORT_PLAIN_NAME(bool, Fecha_Conferencia_Imp,
                      (const std::string& EsquemaCor, const std::string& Mesa, double Valor),
                      (EsquemaCor, Mesa, Valor))
ZEL_EXPORT_PLAIN_NAME(bool, Juncao_Mesa,
                      (const std::string& EsquemaCor, const std::string& Origem,
                       const std::string& Destino),
                      (EsquemaCor, Origem, Destino))
ZEL_EXPORT_PLAIN_NAME(bool, AbreCupomRes,
                      (const std::string& EsquemaCor, const std::string& Mesa,
                       const std::string& Consumidor),
                      (EsquemaCor, Mesa, Consumidor))
ZEL_EXPORT_PLAIN_NAME(bool, Transfere_Item_Imp,
                      (const std::string& EsquemaCor, const std::string& Origem,
                       const std::string& Destino, const std::string& Codigo,
                       const std::string& Descricao, const std::string& Aliquota,
                       const std::string& Unidade, double Reservado, double Preco,
                       double Quantidade),
                      (EsquemaCor, Origem, Destino, Codigo, Descricao, Aliquota, Unidade, Reservado,
                       Preco, Quantidade))
ZEL_EXPORT_PLAIN_NAME(bool, Rel_MesaAber,
                      (const std::string& EsquemaCor, const std::string& Parametro),
                      (EsquemaCor, Parametro))

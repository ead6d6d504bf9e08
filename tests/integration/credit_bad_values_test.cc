// A value the host left that does not convert (a balance, an amount, a date
// or a price holding text), in every consumer-credit document that reads
// one: the operation raises an error naming the dataset and the field, and
// neither printer was given anything, so no receipt or report is left open.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "credit_fixture.h"
#include "zel/date_time.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using S = const std::string&;
using CredPessoalFn = bool(S, S, S, S, S, S, std::string&, std::string&, Dataset&, double, S, S, S,
                           S, S, S, S, S, S, S, S, S, S, S, bool, S, S);
using ImpSaldoFn = bool(S, Dataset&, S, S);
using SaldoCredFn = void(S, S, S, S, Dataset&);
using SaldoNegativoFn = bool(S, S, Dataset&, Dataset&, S, S, S, S);
using ExtratoFn = bool(S, S, Dataset&, Dataset&, Dataset&, Dataset&, Dataset&, S, S, S, S, S,
                       Dataset&);
using DebitoConsFn = bool(S, const Variant&, double, S, S, S, S, S, S, double, double, double, S);
using ImpDebitoFn = void(S, S, S, S, S, S, S, double, double, Dataset&);

constexpr FieldType kText = FieldType::kText;

// The datasets of a statement, every value field a text field so a test can
// put in it what it likes. Good rows first: the bad value comes after some
// of the document could already have been printed.
struct StatementData {
  Dataset options = MakeTable("cdsOpcoes", {{"IDEMISEXTRSIMPL", kText, 1}}, {{"S"}});
  Dataset families =
      MakeTable("cdsFamilias", {{"CDFAMILISALD", kText, 6}, {"NMFAMILISALD", kText, 30}},
                {{"F1", "SILVA"}, {"F2", "LIMA"}});
  Dataset movements = MakeTable("cdsMovimentos",
                                {{"CDFAMILISALD", kText, 6},
                                 {"DATA", kText, 20},
                                 {"HORA", kText, 5},
                                 {"DSOPEEXTCONS", kText, 30},
                                 {"VRMOVEXTCONS", kText, 12},
                                 {"VRSALDCONEXT", kText, 12},
                                 {"NRSEQVENDA", kText, 10},
                                 {"IDTPMOVEXT", kText, 1}},
                                {{"F1", "01/12/2026", "08:00", "Deposito", "20", "70", "", "C"},
                                 {"F2", "01/12/2026", "09:00", "Lanche", "-5", "15", "", "C"}});
  Dataset items = MakeTable("cdsItens", {{"NRSEQVENDA", kText, 10},
                                         {"CDFAMILISALD", kText, 6},
                                         {"QTDE", kText, 12},
                                         {"NMPRODUTO", kText, 30},
                                         {"VRTOTAL", kText, 12}});
  Dataset balances = MakeTable("cdsSaldoFam", {{"SALDOFAM", kText, 12}}, {{"70"}, {"15"}});
  Dataset statement =
      MakeTable("cdsExtrato",
                {{"CDFAMILISALD", kText, 6},
                 {"NMFAMILISALD", kText, 30},
                 {"SALDANT", kText, 12},
                 {"DATA", kText, 20},
                 {"HORA", kText, 5},
                 {"DSOPEEXTCONS", kText, 30},
                 {"VALOR", kText, 12},
                 {"SALDO", kText, 12},
                 {"NRSEQVENDA", kText, 10},
                 {"IDTPMOVEXT", kText, 1}},
                {{"F1", "SILVA", "50", "01/12/2026", "08:00", "Deposito", "20", "70", "", "C"},
                 {"F2", "LIMA", "20", "01/12/2026", "09:00", "Lanche", "-5", "15", "", "C"}});

  // Puts `value` in `field` of the last row of `table`.
  static void Spoil(Dataset& table, const char* field, const char* value) {
    table.Last();
    table.Edit();
    table.SetValue(field, value);
    table.Post();
    table.First();
  }
};

struct BadValue {
  const char* operation;
  const char* dataset;  // as the error names it
  const char* field;
  std::function<void()> call;
};

class CreditBadValuesTest : public CreditFixture {
 protected:
  void Statement(StatementData& d) {
    Op<ExtratoFn>("Extrato")("", "006", d.options, d.families, d.movements, d.items, d.balances, "",
                             "EXTRATO", "01", "MARIA", "3A", d.statement);
  }
  void StatementWith(Dataset StatementData::*table, const char* field, const char* value,
                     bool by_family = true) {
    StatementData d;
    if (!by_family) StatementData::Spoil(d.options, "IDEMISEXTRSIMPL", "N");
    StatementData::Spoil(d.*table, field, value);
    Statement(d);
  }
};

TEST_F(CreditBadValuesTest, AValueThatDoesNotConvertRaisesBeforeEitherPrinterIsUsed) {
  const std::vector<BadValue> cases = {
      {"Compr_CredPessoal", "cdsPagamentos", "VRMOVIVEND",
       [&] {
         Dataset payments =
             MakeTable("cdsPagamentos", {{"VRMOVIVEND", kText, 12}, {"NMTIPORECE", kText, 40}},
                       {{"10", "Cartao"}, {"dez", "Cartao"}});
         std::string p7, p8;
         Op<CredPessoalFn>("Compr_CredPessoal")("", "03", "", "", "", "006", p7, p8, payments, 10.0,
                                                "MARIA", "000123", "", "", "", "", "", "", "", "",
                                                "", "", "", "", false, "SILVA", "");
       }},
      {"ImpSaldo", "cdsSaldos", "SALDOFAM",
       [&] {
         Dataset balances =
             MakeTable("cdsSaldos", {{"NMFAMILISALD", kText, 30}, {"SALDOFAM", kText, 12}},
                       {{"SILVA", "10"}, {"LIMA", "dez"}});
         Op<ImpSaldoFn>("ImpSaldo")("006", balances, "MARIA", "3A");
       }},
      {"Saldo_CredPessoal", "cdsSaldos", "VRSALDCONFAM",
       [&] {
         Dataset balances =
             MakeTable("cdsSaldos", {{"NMFAMILISALD", kText, 30}, {"VRSALDCONFAM", kText, 12}},
                       {{"SILVA", "10"}, {"LIMA", "1,2,3"}});
         Op<SaldoCredFn>("Saldo_CredPessoal")("", "", "006", "SALDOS", balances);
       }},
      {"SaldoNegativo", "cdsConsumidores", "SALDONEGATIVO",
       [&] {
         Dataset types =
             MakeTable("cdsTipos", {{"CDTIPOCONS", kText, 3}, {"NMTIPOCONS", kText, 30}},
                       {{"1", "ALUNOS"}, {"2", "PROFESSORES"}});
         Dataset consumers = MakeTable(
             "cdsConsumidores",
             {{"CDTIPOCONS", kText, 3}, {"NMCONSUMIDOR", kText, 30}, {"SALDONEGATIVO", kText, 12}},
             {{"1", "ANA", "-5"}, {"2", "BIA", "menos dois"}});
         Op<SaldoNegativoFn>("SaldoNegativo")("", "006", types, consumers, "NEGATIVOS", "01", "",
                                              "");
       }},
      {"Extrato (movement amount)", "cdsMovimentos", "VRMOVEXTCONS",
       [&] { StatementWith(&StatementData::movements, "VRMOVEXTCONS", "cinco"); }},
      {"Extrato (movement balance)", "cdsMovimentos", "VRSALDCONEXT",
       [&] { StatementWith(&StatementData::movements, "VRSALDCONEXT", "R$ 15"); }},
      {"Extrato (movement date)", "cdsMovimentos", "DATA",
       [&] { StatementWith(&StatementData::movements, "DATA", "ontem"); }},
      {"Extrato (previous balance)", "cdsExtrato", "SALDANT",
       [&] { StatementWith(&StatementData::statement, "SALDANT", "vinte"); }},
      {"Extrato (family balance)", "cdsSaldoFam", "SALDOFAM",
       [&] { StatementWith(&StatementData::balances, "SALDOFAM", "quinze"); }},
      {"Extrato (sale item)", "cdsItens", "VRTOTAL",
       [&] {
         StatementData d;
         AddRow(d.items, {"V1", "F1", "1", "SUCO", "meio"});
         Statement(d);
       }},
      {"Extrato combined (amount)", "cdsExtrato", "VALOR",
       [&] { StatementWith(&StatementData::statement, "VALOR", "menos cinco", false); }},
      {"Extrato combined (previous balance)", "cdsExtrato", "SALDANT",
       [&] { StatementWith(&StatementData::statement, "SALDANT", "?", false); }},
      {"Comp_DebitoCons", "cdsProdDeb", "VRPRECCOMVEN",
       [&] {
         Dataset products =
             MakeTable("cdsProdutos",
                       {{"CDARVPROD", kText, 20},
                        {"NMPRODUTO", kText, 40},
                        {"QTPRODCOMVEN", kText, 12},
                        {"VRPRECCOMVEN", kText, 12}},
                       {{"1", "SUCO", "1", "3,50"}, {"2", "PAO", "2", "dois reais"}});
         Op<DebitoConsFn>("Comp_DebitoCons")("006", products.Data(), 7.5, "Cartao", "123", "ANA",
                                             "55", "EMPRESA X", "42", 20.0, 0.0, 0.0, "1");
       }},
      {"ImpDebito_Consumidor", "cdsItens", "VRDESCCOMVEN",
       [&] {
         Dataset items = MakeTable("cdsItens",
                                   {{"QTPRODCOMVEN", kText, 12},
                                    {"VRPRECCOMVEN", kText, 12},
                                    {"VRDESCCOMVEN", kText, 12},
                                    {"NMPRODUTO", kText, 40}},
                                   {{"1", "3", "0", "SUCO"}, {"1", "2", "sem", "PAO"}});
         Op<ImpDebitoFn>("ImpDebito_Consumidor")("", "", "006", "42", "ANA", "Caixa 01", "", 20.0,
                                                 0.0, items);
       }},
  };

  for (const BadValue& bad : cases) {
    SCOPED_TRACE(bad.operation);
    try {
      bad.call();
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_THAT(error.what(), AllOf(HasSubstr(bad.dataset), HasSubstr(bad.field)));
    }
    EXPECT_THAT(SimJournal(), IsEmpty());
    EXPECT_THAT(ReceiptJournal(), IsEmpty());
    ClearSimJournal();
  }
}

}  // namespace
}  // namespace zel

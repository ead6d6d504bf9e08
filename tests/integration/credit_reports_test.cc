// Balance and statement reports through the loaded driver: what each linked
// receipt printed, piece by piece, on the simulated fiscal printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "credit_fixture.h"
#include "zel/date_time.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;

using S = const std::string&;
using ImpSaldoFn = bool(S, Dataset&, S, S);
using SaldoCredFn = void(S, S, S, S, Dataset&);
using SaldoNegativoFn = bool(S, S, Dataset&, Dataset&, S, S, S, S);
using ProdBloqFn = bool(S, S, S, Dataset&);
using ExtratoFn = bool(S, S, Dataset&, Dataset&, Dataset&, Dataset&, Dataset&, S, S, S, S, S,
                       Dataset&);

const std::string kRule(48, '-');

std::string Left(const std::string& text, std::size_t n) {
  return text.size() >= n ? text.substr(0, n) : text + std::string(n - text.size(), ' ');
}
std::string Right(const std::string& text, std::size_t n) {
  return text.size() >= n ? text.substr(0, n) : std::string(n - text.size(), ' ') + text;
}
std::string Centred(const std::string& text, std::size_t width) {
  const std::size_t room = width - text.size();
  return std::string(room / 2, ' ') + text + std::string(room - room / 2, ' ');
}

// The printed lines, each without its line feed.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

long Count(const std::vector<std::string>& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

Dataset FamilyBalances(const char* balance_field, int families, double each) {
  Dataset table = MakeTable(
      "cdsSaldos", {{"NMFAMILISALD", FieldType::kText, 30}, {balance_field, FieldType::kFloat, 0}});
  for (int i = 1; i <= families; ++i) {
    AddRow(table, {"FAMILIA " + std::to_string(i), each * i});
  }
  table.First();
  return table;
}

class CreditReportsTest : public CreditFixture {};

// Every family and the total reach the paper, however many there are: the
// text goes in pieces of whole lines instead of one piece cut at 620.
TEST_F(CreditReportsTest, ImpSaldoPrintsEveryFamilyAndTheTotal) {
  Dataset balances = FamilyBalances("SALDOFAM", 15, 10.0);

  EXPECT_TRUE(Op<ImpSaldoFn>("ImpSaldo")("006", balances, "MARIA", "3A"));

  const std::vector<std::string> lines = Lines(PrintedText());
  EXPECT_THAT(lines, Contains(Centred(">>> Consulta Saldo <<<", 48)));
  EXPECT_THAT(lines, Contains("MARIA - 3A"));
  for (int i = 1; i <= 15; ++i) {
    EXPECT_EQ(Count(lines, Left("FAMILIA " + std::to_string(i), 37) +
                               Right(std::to_string(10 * i) + ",00", 11)),
              1)
        << i;
  }
  EXPECT_EQ(lines.back(), Left("Saldo Total", 37) + Right("1200,00", 11));
  EXPECT_EQ(lines[lines.size() - 2], std::string(37, ' ') + std::string(11, '-'));
  for (const std::string& piece : PrintedPieces()) {
    EXPECT_LE(piece.size(), 620u);
    EXPECT_THAT(piece, EndsWith("\n"));
  }
  EXPECT_EQ(FiscalCalls("Bematech_FI_FechaRelatorioGerencial").size(), 1u);
}

TEST_F(CreditReportsTest, ImpSaldoStartsAtTheCurrentRow) {
  Dataset balances = FamilyBalances("SALDOFAM", 3, 1.0);
  balances.Next();

  Op<ImpSaldoFn>("ImpSaldo")("006", balances, "A", "B");

  EXPECT_THAT(PrintedText(), Not(HasSubstr("FAMILIA 1 ")));
  EXPECT_THAT(Lines(PrintedText()), Contains(Left("Saldo Total", 37) + Right("5,00", 11)));
}

TEST_F(CreditReportsTest, SaldoCredPessoalLeavesOutZeroBalancesButKeepsTheTotal) {
  Dataset balances = MakeTable(
      "cdsSaldos", {{"NMFAMILISALD", FieldType::kText, 30}, {"VRSALDCONFAM", FieldType::kFloat, 0}},
      {{"SILVA", 12.5}, {"SOUZA", 0.0}, {"LIMA", -2.0}});
  balances.Last();

  Op<SaldoCredFn>("Saldo_CredPessoal")("", "", "006", "SALDOS", balances);

  EXPECT_THAT(Lines(PrintedText()), ElementsAre("", Centred("SALDOS", 48), std::string(48, ' '),
                                                Left("SILVA", 25) + Right("12,50", 15),
                                                Left("LIMA", 25) + Right("-2,00", 15), kRule,
                                                Left("Saldo Total", 25) + Right("10,50", 15)));

  ClearSimJournal();
  Dataset zeros = FamilyBalances("VRSALDCONFAM", 2, 0.0);
  Op<SaldoCredFn>("Saldo_CredPessoal")("", "", "006", "SALDOS", zeros);
  EXPECT_THAT(Lines(PrintedText()),
              ElementsAre("", Centred("SALDOS", 48), std::string(48, ' '), kRule,
                          Left("Saldo Total", 25) + Right("0,00", 15)));
}

class NegativeBalancesTest : public CreditReportsTest {
 protected:
  Dataset types_ = MakeTable(
      "cdsTipos", {{"CDTIPOCONS", FieldType::kText, 3}, {"NMTIPOCONS", FieldType::kText, 20}},
      {{"1", "ALUNOS"}, {"2", "PROFESSORES"}, {"3", "FUNCIONARIOS"}});
  Dataset consumers_ = MakeTable("cdsConsumidores", {{"CDTIPOCONS", FieldType::kText, 3},
                                                     {"NMCONSUMIDOR", FieldType::kText, 40},
                                                     {"SALDONEGATIVO", FieldType::kFloat, 0}});
  bool Print() {
    return Op<SaldoNegativoFn>("SaldoNegativo")("", "006", types_, consumers_, "NEGATIVOS", "01",
                                                "", "");
  }
};

TEST_F(NegativeBalancesTest, NoConsumerInAnyTypePrintsNothing) {
  AddRow(consumers_, {"9", "SEM TIPO", -1.0});

  EXPECT_FALSE(Print());

  EXPECT_THAT(SimJournal(), IsEmpty());
}

TEST_F(NegativeBalancesTest, TwoTypesGetOneHeadingAndATotalEach) {
  AddRow(consumers_, {"1", "ANA", -10.0});
  AddRow(consumers_, {"3", "RUI", -4.5});
  AddRow(consumers_, {"1", "BIA", -2.25});
  consumers_.SetFilter("NMCONSUMIDOR = 'RUI'");
  consumers_.SetFiltered(true);

  EXPECT_TRUE(Print());

  const std::vector<std::string> lines = Lines(PrintedText());
  EXPECT_EQ(Count(lines, Centred("NEGATIVOS", 48)), 1);
  EXPECT_EQ(Count(lines, Centred(">>> Saldo Negativo por Consumidor <<<", 48)), 1);
  EXPECT_THAT(lines, Contains("Caixa: 01" + std::string(16, ' ') + "07/12/2026 10:05"));
  const std::vector<std::string> groups = {"ALUNOS",
                                           Left("ANA  ", 37) + Right("-10,00", 10),
                                           Left("BIA  ", 37) + Right("-2,25", 10),
                                           std::string(37, ' ') + std::string(11, '-'),
                                           Left("Saldo Total", 37) + Right("-12,25", 11),
                                           kRule,
                                           "FUNCIONARIOS",
                                           Left("RUI  ", 37) + Right("-4,50", 10),
                                           std::string(37, ' ') + std::string(11, '-'),
                                           Left("Saldo Total", 37) + Right("-4,50", 11)};
  const auto at = std::find(lines.begin(), lines.end(), "ALUNOS");
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(std::vector<std::string>(at, lines.end()), groups);
  EXPECT_THAT(PrintedText(), Not(HasSubstr("PROFESSORES")));
  EXPECT_EQ(consumers_.Filter(), "NMCONSUMIDOR = 'RUI'") << "the host's filter is given back";
  EXPECT_EQ(consumers_.RecordCount(), 1);
}

TEST_F(CreditReportsTest, ImprimeProdBloqListsEveryProduct) {
  Dataset products = MakeTable("cdsBloq",
                               {{"NMFILIAL", FieldType::kText, 30},
                                {"CDLOJA", FieldType::kText, 5},
                                {"CDPRODUTO", FieldType::kText, 10},
                                {"CDPROTECLADO", FieldType::kText, 10},
                                {"NMPRODUTO", FieldType::kText, 40}},
                               {{"ESCOLA CENTRO", "001", "1001", "11", "REFRIGERANTE LATA 350ML"},
                                {"ESCOLA CENTRO", "001", "1002", "12", "BALA"}});

  EXPECT_TRUE(Op<ProdBloqFn>("ImprimeProdBloq")("006", "", "", products));

  EXPECT_THAT(Lines(PrintedText()),
              ElementsAre(std::string(47, '-'), Centred("ESCOLA CENTRO", 48), kRule,
                          "Loja:" + Left("001", 20) + "07/12/2026 10:05:07", kRule,
                          Centred(">>> Produtos Bloqueados <<<", 48), kRule,
                          Left("CODIGO", 11) + Left("COD. TECLADO", 13) + "NOME",
                          Left("1001", 11) + Left("11", 13) + "REFRIGERANTE LATA 350ML ",
                          Left("1002", 11) + Left("12", 13) + Left("BALA", 24),
                          "Zelvora PDV (11)5555-0123 www.zelvora.example"));
}

// ---- The statement ------------------------------------------------------------

struct Movement {
  std::string family;
  int day;
  std::string time;
  std::string operation;
  double value;
  double balance;
  std::string sale;
  std::string kind;
};

class StatementTest : public CreditReportsTest {
 protected:
  Dataset options_ = MakeTable("cdsOpcoes", {{"IDEMISEXTRSIMPL", FieldType::kText, 1}}, {{"S"}});
  Dataset families_ = MakeTable("cdsFamilias", {{"CDFAMILISALD", FieldType::kText, 6},
                                                {"NMFAMILISALD", FieldType::kText, 30}});
  Dataset movements_ = MakeTable("cdsMovimentos", {{"CDFAMILISALD", FieldType::kText, 6},
                                                   {"DATA", FieldType::kDateTime, 0},
                                                   {"HORA", FieldType::kText, 5},
                                                   {"DSOPEEXTCONS", FieldType::kText, 30},
                                                   {"VRMOVEXTCONS", FieldType::kFloat, 0},
                                                   {"VRSALDCONEXT", FieldType::kFloat, 0},
                                                   {"NRSEQVENDA", FieldType::kText, 10},
                                                   {"IDTPMOVEXT", FieldType::kText, 1}});
  Dataset items_ = MakeTable("cdsItens", {{"NRSEQVENDA", FieldType::kText, 10},
                                          {"CDFAMILISALD", FieldType::kText, 6},
                                          {"QTDE", FieldType::kFloat, 0},
                                          {"NMPRODUTO", FieldType::kText, 30},
                                          {"VRTOTAL", FieldType::kFloat, 0}});
  Dataset balances_ = MakeTable("cdsSaldoFam", {{"SALDOFAM", FieldType::kFloat, 0}});
  Dataset statement_ = MakeTable("cdsExtrato", {{"CDFAMILISALD", FieldType::kText, 6},
                                                {"NMFAMILISALD", FieldType::kText, 30},
                                                {"SALDANT", FieldType::kFloat, 0},
                                                {"DATA", FieldType::kDateTime, 0},
                                                {"HORA", FieldType::kText, 5},
                                                {"DSOPEEXTCONS", FieldType::kText, 30},
                                                {"VALOR", FieldType::kFloat, 0},
                                                {"SALDO", FieldType::kFloat, 0},
                                                {"NRSEQVENDA", FieldType::kText, 10},
                                                {"IDTPMOVEXT", FieldType::kText, 1}});

  void AddMovement(const Movement& m) {
    AddRow(movements_, {m.family, EncodeDate(2026, 12, m.day), m.time, m.operation, m.value,
                        m.balance, m.sale, m.kind});
  }
  bool Print() {
    families_.First();
    movements_.First();
    items_.First();
    balances_.First();
    return Op<ExtratoFn>("Extrato")("", "006", options_, families_, movements_, items_, balances_,
                                    "", "EXTRATO", "01", "MARIA", "3A", statement_);
  }
};

std::string MovementLine(const std::string& time, const std::string& operation,
                         const std::string& value, const std::string& balance) {
  return " " + Left(time, 6) + Left(operation, 15) + "  " + Right(value, 7) + "  " +
         Right(balance, 7);
}

std::string ItemLine(const std::string& quantity, const std::string& name,
                     const std::string& total) {
  return std::string(12, ' ') + Left(quantity, 4) + " " + Left(name, 11) + " " + Right(total, 6);
}

TEST_F(StatementTest, ByFamilyWithDateRunsSaleItemsAndTheTotalOfAllBalances) {
  AddRow(families_, {"F1", "SILVA"});
  AddRow(families_, {"F2", "SEM MOVIMENTO"});
  AddRow(statement_, {"f1", "SILVA", 50.0});
  AddMovement({"F1", 1, "08:00", "Deposito", 20.0, 70.0, "", "C"});
  AddMovement({"F1", 1, "10:30", "Lanche", -5.5, 64.5, "V1", "V"});
  AddMovement({"F1", 2, "10:00", "Lanche", -3.0, 61.5, "V9", "V"});
  AddMovement({"F1", 1, "18:00", "Estorno", 1.0, 62.5, "", "C"});
  AddRow(items_, {"V1", "F1", 1.0, "SUCO", 3.5});
  AddRow(items_, {"V1", "F1", 0.5, "PAO DE QUEIJO", 2.0});
  AddRow(items_, {"V1", "F2", 9.0, "DE OUTRA FAMILIA", 9.0});
  AddRow(balances_, {62.5});
  AddRow(balances_, {100.0});

  EXPECT_TRUE(Print());

  const std::vector<std::string> lines = Lines(PrintedText());
  const auto block = std::find(lines.begin(), lines.end(), "MARIA-3A");
  ASSERT_NE(block, lines.end());
  EXPECT_EQ(std::vector<std::string>(block, lines.end()),
            (std::vector<std::string>{
                "MARIA-3A", kRule, Left("SALDO ANTERIOR - SILVA", 29) + Right("50,00", 11), kRule,
                Left("Data", 6) + Left("Operacao", 19) + Left("Valor", 8) + Left("Saldo", 7),
                "01/12/2026", MovementLine("08:00", "Deposito", "20,00", "70,00"),
                MovementLine("10:30", "Lanche", "-5,50", "64,50"), ItemLine("1", "SUCO", "3,50"),
                ItemLine("0,5", "PAO DE QUEIJ", "2,00"), "02/12/2026",
                MovementLine("10:00", "Lanche", "-3,00", "61,50"), "01/12/2026",
                MovementLine("18:00", "Estorno", "1,00", "62,50"), kRule,
                Left("Saldo Total", 12) + Right("162,50", 28)}));
  EXPECT_EQ(Count(lines, Centred("EXTRATO", 48)), 1);
  EXPECT_EQ(FiscalCalls("Bematech_FI_FechaRelatorioGerencial").size(), 1u);
}

TEST_F(StatementTest, NoFamilyOrNoMovementPrintsNothing) {
  AddMovement({"F1", 1, "08:00", "Deposito", 20.0, 70.0, "", "C"});
  EXPECT_FALSE(Print());

  AddRow(families_, {"F1", "SILVA"});
  movements_.EmptyDataSet();
  EXPECT_FALSE(Print());

  EXPECT_THAT(SimJournal(), IsEmpty());
}

// 5 families of 200 movements, every other one a sale of two items: every
// line reaches the paper.
TEST_F(StatementTest, AStatementOfAThousandMovementsLosesNoLine) {
  for (int f = 1; f <= 5; ++f) {
    const std::string family = "F" + std::to_string(f);
    AddRow(families_, {family, "FAMILIA " + family});
    AddRow(statement_, {family, "FAMILIA " + family, 10.0 * f});
    AddRow(balances_, {1.0});
    for (int m = 1; m <= 200; ++m) {
      const std::string sale = m % 2 == 0 ? family + "-" + std::to_string(m) : "";
      AddMovement({family, 1 + m / 10, "12:00", "Mov " + std::to_string(m), -1.0, 100.0 - m, sale,
                   sale.empty() ? "C" : "V"});
      if (!sale.empty()) {
        AddRow(items_, {sale, family, 1.0, "ITEM A", 0.5});
        AddRow(items_, {sale, family, 2.0, "ITEM B", 0.25});
      }
    }
  }

  EXPECT_TRUE(Print());

  const std::vector<std::string> lines = Lines(PrintedText());
  for (int m = 1; m <= 200; ++m) {
    EXPECT_EQ(Count(lines, MovementLine("12:00", "Mov " + std::to_string(m), "-1,00",
                                        std::to_string(100 - m) + ",00")),
              5)
        << m;
  }
  EXPECT_EQ(Count(lines, ItemLine("1", "ITEM A", "0,50")), 500);
  EXPECT_EQ(Count(lines, ItemLine("2", "ITEM B", "0,25")), 500);
  EXPECT_EQ(Count(lines, "01/12/2026"), 5);
  EXPECT_EQ(lines.back(), Left("Saldo Total", 12) + Right("5,00", 28));
  EXPECT_THAT(PrintedPieces(), Each(SizeIs(::testing::Le(620u))));
}

TEST_F(StatementTest, CombinedFormReadsTheStatementFromItsCurrentRow) {
  options_.Edit();
  options_.SetValue("IDEMISEXTRSIMPL", "N");
  options_.Post();
  auto row = [&](const char* family, const char* name, int day, const char* operation) {
    AddRow(statement_,
           {family, name, 5.0, EncodeDate(2026, 12, day), "09:00", operation, -1.0, 4.0, "", "C"});
  };
  row("F0", "JA IMPRESSA", 1, "Nao");
  row("F1", "SILVA", 1, "Um");
  row("F1", "SILVA", 1, "Dois");
  row("F2", "LIMA", 3, "Tres");
  AddRow(balances_, {7.0});
  statement_.First();
  statement_.Next();

  EXPECT_TRUE(Op<ExtratoFn>("Extrato")("", "006", options_, families_, movements_, items_,
                                       balances_, "", "EXTRATO", "01", "MARIA", "3A", statement_));

  const std::vector<std::string> lines = Lines(PrintedText());
  EXPECT_THAT(PrintedText(), Not(HasSubstr("JA IMPRESSA")));
  EXPECT_EQ(Count(lines, Left("SALDO ANTERIOR - SILVA", 29) + Right("5,00", 11)), 1);
  EXPECT_EQ(Count(lines, Left("SALDO ANTERIOR - LIMA", 29) + Right("5,00", 11)), 1);
  EXPECT_EQ(Count(lines, "01/12/2026"), 1);
  EXPECT_EQ(Count(lines, "03/12/2026"), 1);
  EXPECT_EQ(Count(lines, MovementLine("09:00", "Dois", "-1,00", "4,00")), 1);
  EXPECT_EQ(lines.back(), Left("Saldo Total", 12) + Right("7,00", 28));
}

TEST_F(StatementTest, AMissingFieldRaisesBeforeAnythingIsPrinted) {
  Dataset no_total = MakeTable("cdsItens", {{"NRSEQVENDA", FieldType::kText, 10}});
  AddRow(families_, {"F1", "SILVA"});
  AddMovement({"F1", 1, "08:00", "Deposito", 20.0, 70.0, "", "C"});

  EXPECT_THROW(Op<ExtratoFn>("Extrato")("", "006", options_, families_, movements_, no_total,
                                        balances_, "", "EXTRATO", "01", "A", "B", statement_),
               Error);
  EXPECT_THAT(SimJournal(), IsEmpty());
}

}  // namespace
}  // namespace zel

// The consumer account statement: per family, the previous balance, the
// movements under a date line for each run of equal dates, the items of each
// sale, and the sum of the family balances. Two forms: by family from the
// families and movements datasets ("S"), or from one combined dataset.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/data_module.h"
#include "credit/credit_text.h"
#include "host/date_format.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "nonfiscal/text_pieces.h"
#include "zel/credit_operations.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"
#include "zel/error.h"

namespace zel {
namespace {

constexpr int kMovementPrecision = 13;
constexpr char kSaleMovement[] = "V";

std::string Line(std::string_view text) { return std::string(text) + "\n"; }

// The statement's texts in the order they go to the printer, each one sent
// on its own. The whole statement is laid out before the report opens, so a
// value that does not convert raises with nothing printed.
using Texts = std::vector<std::string>;

// The item lines of every sale, read once, keyed by sale and family: a
// statement of many sales then costs the same per movement as one of few.
class SaleItems {
 public:
  explicit SaleItems(Dataset& items) {
    for (items.First(); !items.Eof(); items.Next()) {
      lines_[{RTrim(items.AsText("NRSEQVENDA")), RTrim(items.AsText("CDFAMILISALD"))}].push_back(
          Line(std::string(12, ' ') + TamFixo(FloatToText(items.AsDouble("QTDE")), 4) + " " +
               TamFixo(items.AsText("NMPRODUTO"), 11) + " " +
               TamFixoR(Fixed(items.AsDouble("VRTOTAL")), 6)));
    }
  }
  void AddTo(Texts& texts, const std::string& sale, const std::string& family) const {
    auto it = lines_.find({RTrim(sale), RTrim(family)});
    if (it == lines_.end()) return;
    texts.insert(texts.end(), it->second.begin(), it->second.end());
  }

 private:
  std::map<std::pair<std::string, std::string>, std::vector<std::string>> lines_;
};

// Field names of one movement: the two forms name value and balance
// differently.
struct MovementFields {
  const char* value;
  const char* balance;
};
constexpr MovementFields kFamilyFormFields{"VRMOVEXTCONS", "VRSALDCONEXT"};
constexpr MovementFields kCombinedFormFields{"VALOR", "SALDO"};

std::string FamilyBlock(const std::string& name, double previous_balance) {
  return Line(Rule()) +
         Line(TamFixo("SALDO ANTERIOR - " + name, 29) + TamFixoR(Fixed(previous_balance), 11)) +
         Line(Rule()) +
         Line(TamFixo("Data", 6) + TamFixo("Operacao", 19) + TamFixo("Valor", 8) +
              TamFixo("Saldo", 7));
}

// Lays out the movement at the cursor, after a date line when its date
// differs from the one before (`last_date`), then the sale's items.
void AddMovement(Texts& texts, const Dataset& movements, const MovementFields& fields,
                 std::string& last_date, const std::string& family, const SaleItems& items) {
  const std::string date = DateToText(movements.AsDateTime("DATA"));
  std::string text;
  if (date != last_date) text = Line(date);
  last_date = date;
  text += Line(" " + TamFixo(movements.AsText("HORA"), 6) +
               TamFixo(movements.AsText("DSOPEEXTCONS"), 15) + "  " +
               TamFixoR(Fixed(movements.AsDouble(fields.value), kMovementPrecision), 7) + "  " +
               TamFixoR(Fixed(movements.AsDouble(fields.balance), kMovementPrecision), 7));
  texts.push_back(std::move(text));
  const std::string sale = movements.AsText("NRSEQVENDA");
  if (!EmptyString(sale) && movements.AsText("IDTPMOVEXT") == kSaleMovement) {
    items.AddTo(texts, sale, family);
  }
}

// Form "S": the families in order, each with its movements. Nothing when
// there is no family or no movement.
std::optional<Texts> ByFamily(Dataset& families, Dataset& movements, Dataset& statement,
                              const SaleItems& items) {
  if (families.IsEmpty()) return std::nullopt;
  // The movements are walked in a copy of the driver's own, so the host's
  // dataset keeps its filter and cursor.
  if (Zel00101::cdsAuxExtSimp == nullptr) Zel00101::cdsAuxExtSimp = new Dataset("cdsAuxExtSimp");
  Dataset& copy = *Zel00101::cdsAuxExtSimp;
  copy.SetFilter("");
  copy.SetData(movements.Data());
  if (copy.IsEmpty()) return std::nullopt;
  copy.SetFiltered(true);
  Texts texts;
  for (families.First(); !families.Eof(); families.Next()) {
    const std::string family = families.AsText("CDFAMILISALD");
    copy.SetFilter(EqualsText("CDFAMILISALD", family));
    if (copy.IsEmpty()) continue;
    // A family missing from the statement has no previous balance to show:
    // 0, never the balance of whichever row happened to be current.
    const bool found = statement.Locate("CDFAMILISALD", Variant(family), {true});
    texts.push_back(
        FamilyBlock(families.AsText("NMFAMILISALD"), found ? statement.AsDouble("SALDANT") : 0));
    std::string last_date;
    try {
      for (copy.First(); !copy.Eof(); copy.Next()) {
        AddMovement(texts, copy, kFamilyFormFields, last_date, family, items);
      }
    } catch (const Error& error) {
      // The copy's name means nothing to the host: name its dataset too.
      throw Error(movements.Name() + ": " + error.what());
    }
  }
  return texts;
}

// The combined form: runs of rows of one family, from the current row.
std::optional<Texts> Combined(Dataset& statement, const SaleItems& items) {
  if (statement.Eof()) return std::nullopt;
  Texts texts;
  while (!statement.Eof()) {
    const std::string family = statement.AsText("CDFAMILISALD");
    texts.push_back(FamilyBlock(statement.AsText("NMFAMILISALD"), statement.AsDouble("SALDANT")));
    std::string last_date;
    while (!statement.Eof() && statement.AsText("CDFAMILISALD") == family) {
      AddMovement(texts, statement, kCombinedFormFields, last_date, family, items);
      statement.Next();
    }
  }
  return texts;
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Extrato(const std::string& Reservado1, const std::string& EsquemaCor, zel::Dataset& Opcoes,
             zel::Dataset& Familias, zel::Dataset& Movimentos, zel::Dataset& ItensVenda,
             zel::Dataset& SaldosFamilia, const std::string& /*Reservado8*/,
             const std::string& Titulo, const std::string& Caixa, const std::string& Cabecalho1,
             const std::string& Cabecalho2, zel::Dataset& ExtratoDs) {
  using namespace zel;
  EnsureDataModule();
  RequireFields(Opcoes, {"IDEMISEXTRSIMPL"});
  RequireFields(ItensVenda, {"NRSEQVENDA", "CDFAMILISALD", "QTDE", "NMPRODUTO", "VRTOTAL"});
  RequireFields(SaldosFamilia, {"SALDOFAM"});
  Opcoes.First();
  const bool by_family = Opcoes.AsText("IDEMISEXTRSIMPL") == "S";
  if (by_family) {
    RequireFields(Familias, {"CDFAMILISALD", "NMFAMILISALD"});
    RequireFields(Movimentos, {"CDFAMILISALD", "DATA", "HORA", "DSOPEEXTCONS", "VRMOVEXTCONS",
                               "VRSALDCONEXT", "NRSEQVENDA", "IDTPMOVEXT"});
    RequireFields(ExtratoDs, {"CDFAMILISALD", "SALDANT"});
  } else {
    RequireFields(ExtratoDs, {"CDFAMILISALD", "NMFAMILISALD", "SALDANT", "DATA", "HORA",
                              "DSOPEEXTCONS", "VALOR", "SALDO", "NRSEQVENDA", "IDTPMOVEXT"});
  }
  const SaleItems items(ItensVenda);
  const std::optional<Texts> body =
      by_family ? ByFamily(Familias, Movimentos, ExtratoDs, items) : Combined(ExtratoDs, items);
  if (!body) return false;
  double total = 0;
  for (; !SaldosFamilia.Eof(); SaldosFamilia.Next()) total += SaldosFamilia.AsDouble("SALDOFAM");

  Cabecalho(Reservado1, EsquemaCor, Titulo, Caixa, "", "");
  SendText(Line(Cabecalho1 + "-" + Cabecalho2));
  for (const std::string& text : *body) SendText(text);
  SendText(Line(Rule()) + Line(TamFixo("Saldo Total", 12) + TamFixoR(Fixed(total), 28)));
  CloseNonFiscalDocument(EsquemaCor);
  return true;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Extrato,
                      (const std::string& Reservado1, const std::string& EsquemaCor,
                       zel::Dataset& Opcoes, zel::Dataset& Familias, zel::Dataset& Movimentos,
                       zel::Dataset& ItensVenda, zel::Dataset& SaldosFamilia,
                       const std::string& Reservado8, const std::string& Titulo,
                       const std::string& Caixa, const std::string& Cabecalho1,
                       const std::string& Cabecalho2, zel::Dataset& ExtratoDs),
                      (Reservado1, EsquemaCor, Opcoes, Familias, Movimentos, ItensVenda,
                       SaldosFamilia, Reservado8, Titulo, Caixa, Cabecalho1, Cabecalho2, ExtratoDs))

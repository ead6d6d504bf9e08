// Balance reports of the consumer-credit module, each a linked receipt of
// 48 columns: the heading shared by the longer reports, a consumer's family
// balances, every family's balance, negative balances by consumer type and
// the blocked products. The host prepares the figures; these only lay them
// out.
#include <string>
#include <vector>

#include "core/data_module.h"
#include "credit/credit_text.h"
#include "host/string_functions.h"
#include "nonfiscal/text_pieces.h"
#include "zel/credit_operations.h"
#include "zel/dataset.h"

namespace zel {
namespace {

constexpr int kNameWidth = 37;
constexpr int kValueWidth = 11;
constexpr int kNegativeValueWidth = 10;
constexpr int kAllNameWidth = 25;
constexpr int kAllValueWidth = 15;
constexpr char kTotalLabel[] = "Saldo Total";

std::string Line(std::string_view text) { return std::string(text) + "\n"; }

// The two lines under a column of values: a short rule and the total.
std::string TotalLines(double total) {
  return Line(TamFixo(" ", kNameWidth) + std::string(kValueWidth, '-')) +
         Line(TamFixo(kTotalLabel, kNameWidth) + TamFixoR(Fixed(total), kValueWidth));
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

void Cabecalho(const std::string& /*Reservado1*/, const std::string& EsquemaCor,
               const std::string& Titulo, const std::string& Caixa,
               const std::string& /*Reservado5*/, const std::string& /*Reservado6*/) {
  using namespace zel;
  EnsureDataModule();
  OpenReportFrame(EsquemaCor);
  SendText("\n" + Line(Rule()) + Line(Centraliza(Titulo, kCreditWidth)) + "\n" + Line(Rule()) +
           Line("Caixa: " + Caixa + std::string(16, ' ') + NowText("dd/mm/yyyy hh:nn")) +
           Line(Rule()));
}

bool ImpSaldo(const std::string& EsquemaCor, zel::Dataset& Saldos, const std::string& Cabecalho1,
              const std::string& Cabecalho2) {
  using namespace zel;
  EnsureDataModule();
  RequireFields(Saldos, {"NMFAMILISALD", "SALDOFAM"});
  // Every family and the total go out, in pieces of whole lines: however
  // many families a consumer has, none is lost. They are read before the
  // report opens, so a balance that is no number leaves nothing printed.
  std::string text;
  double total = 0;
  for (; !Saldos.Eof(); Saldos.Next()) {
    const double balance = Saldos.AsDouble("SALDOFAM");
    text += Line(TamFixo(Saldos.AsText("NMFAMILISALD"), kNameWidth) +
                 TamFixoR(Fixed(balance), kValueWidth));
    total += balance;
  }
  OpenReportFrame(EsquemaCor);
  SendText(Line(Centraliza(">>> Consulta Saldo <<<", kCreditWidth)) + Line(Rule()) +
           Line(Cabecalho1 + " - " + Cabecalho2) + "\n");
  SendText(text + TotalLines(total));
  CloseNonFiscalDocument(EsquemaCor);
  return true;
}

void Saldo_CredPessoal(const std::string& /*Reservado1*/, const std::string& /*Reservado2*/,
                       const std::string& EsquemaCor, const std::string& Titulo,
                       zel::Dataset& Saldos) {
  using namespace zel;
  EnsureDataModule();
  RequireFields(Saldos, {"NMFAMILISALD", "VRSALDCONFAM"});
  // The whole text is made before the report opens: a balance that is no
  // number raises with nothing printed.
  std::string text =
      "\n" + Line(Centraliza(Titulo, kCreditWidth)) + Line(std::string(kCreditWidth, ' '));
  double total = 0;
  for (Saldos.First(); !Saldos.Eof(); Saldos.Next()) {
    const double balance = Saldos.AsDouble("VRSALDCONFAM");
    if (balance == 0) continue;
    text += Line(TamFixo(Saldos.AsText("NMFAMILISALD"), kAllNameWidth) +
                 TamFixoR(Fixed(balance), kAllValueWidth));
    total += balance;
  }
  text += Line(Rule()) +
          Line(TamFixo(kTotalLabel, kAllNameWidth) + TamFixoR(Fixed(total), kAllValueWidth));
  OpenReportFrame(EsquemaCor);
  SendText(text);
  CloseNonFiscalDocument(EsquemaCor);
}

bool SaldoNegativo(const std::string& Reservado1, const std::string& EsquemaCor,
                   zel::Dataset& TiposConsumidor, zel::Dataset& Consumidores,
                   const std::string& Titulo, const std::string& Caixa,
                   const std::string& Reservado7, const std::string& Reservado8) {
  using namespace zel;
  EnsureDataModule();
  RequireFields(TiposConsumidor, {"CDTIPOCONS", "NMTIPOCONS"});
  RequireFields(Consumidores, {"CDTIPOCONS", "NMCONSUMIDOR", "SALDONEGATIVO"});
  // Every group is laid out before the report opens, so a balance that is
  // no number raises with nothing printed; the pieces then go out as laid
  // out, one per consumer line and one per group total.
  std::vector<std::string> pieces;
  {
    FilterGuard keep_filter(Consumidores);
    for (; !TiposConsumidor.Eof(); TiposConsumidor.Next()) {
      Consumidores.SetFilter(EqualsText("CDTIPOCONS", TiposConsumidor.AsText("CDTIPOCONS")));
      Consumidores.SetFiltered(true);
      if (Consumidores.IsEmpty()) continue;
      std::string heading;
      if (pieces.empty()) {
        heading = Line(Centraliza(">>> Saldo Negativo por Consumidor <<<", kCreditWidth));
      }
      heading += Line(Rule()) + Line(TiposConsumidor.AsText("NMTIPOCONS"));
      double total = 0;
      for (Consumidores.First(); !Consumidores.Eof(); Consumidores.Next()) {
        const double balance = Consumidores.AsDouble("SALDONEGATIVO");
        pieces.push_back(heading +
                         Line(TamFixo(Consumidores.AsText("NMCONSUMIDOR") + "  ", kNameWidth) +
                              TamFixoR(Fixed(balance), kNegativeValueWidth)));
        heading.clear();
        total += balance;
      }
      pieces.push_back(TotalLines(total));
    }
  }
  if (pieces.empty()) return false;
  Cabecalho(Reservado1, EsquemaCor, Titulo, Caixa, Reservado7, Reservado8);
  for (const std::string& piece : pieces) SendText(piece);
  CloseNonFiscalDocument(EsquemaCor);
  return true;
}

bool ImprimeProdBloq(const std::string& EsquemaCor, const std::string& /*Reservado2*/,
                     const std::string& /*Reservado3*/, zel::Dataset& Produtos) {
  using namespace zel;
  EnsureDataModule();
  RequireFields(Produtos, {"NMFILIAL", "CDLOJA", "CDPRODUTO", "CDPROTECLADO", "NMPRODUTO"});
  OpenReportFrame(EsquemaCor);
  SendText(Line(std::string(47, '-')) +
           Line(Centraliza(Produtos.AsText("NMFILIAL"), kCreditWidth)) + Line(Rule()));
  SendText(Line("Loja:" + TamFixo(Produtos.AsText("CDLOJA"), 20) + NowText("dd/mm/yyyy hh:nn:ss")) +
           Line(Rule()) + Line(Centraliza(">>> Produtos Bloqueados <<<", kCreditWidth)) +
           Line(Rule()) +
           Line(TamFixo(MsgPadrao("Codigo"), 11) + TamFixo("COD. TECLADO", 13) + "NOME"));
  for (Produtos.First(); !Produtos.Eof(); Produtos.Next()) {
    SendText(Line(TamFixo(Produtos.AsText("CDPRODUTO"), 11) +
                  TamFixo(Produtos.AsText("CDPROTECLADO"), 13) +
                  TamFixo(Produtos.AsText("NMPRODUTO"), 24)));
  }
  SendText(Line(FooterLine()));
  CloseNonFiscalDocument(EsquemaCor);
  return true;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(void, Cabecalho,
                      (const std::string& Reservado1, const std::string& EsquemaCor,
                       const std::string& Titulo, const std::string& Caixa,
                       const std::string& Reservado5, const std::string& Reservado6),
                      (Reservado1, EsquemaCor, Titulo, Caixa, Reservado5, Reservado6))
ZEL_EXPORT_PLAIN_NAME(bool, ImpSaldo,
                      (const std::string& EsquemaCor, zel::Dataset& Saldos,
                       const std::string& Cabecalho1, const std::string& Cabecalho2),
                      (EsquemaCor, Saldos, Cabecalho1, Cabecalho2))
ZEL_EXPORT_PLAIN_NAME(void, Saldo_CredPessoal,
                      (const std::string& Reservado1, const std::string& Reservado2,
                       const std::string& EsquemaCor, const std::string& Titulo,
                       zel::Dataset& Saldos),
                      (Reservado1, Reservado2, EsquemaCor, Titulo, Saldos))
ZEL_EXPORT_PLAIN_NAME(bool, SaldoNegativo,
                      (const std::string& Reservado1, const std::string& EsquemaCor,
                       zel::Dataset& TiposConsumidor, zel::Dataset& Consumidores,
                       const std::string& Titulo, const std::string& Caixa,
                       const std::string& Reservado7, const std::string& Reservado8),
                      (Reservado1, EsquemaCor, TiposConsumidor, Consumidores, Titulo, Caixa,
                       Reservado7, Reservado8))
ZEL_EXPORT_PLAIN_NAME(bool, ImprimeProdBloq,
                      (const std::string& EsquemaCor, const std::string& Reservado2,
                       const std::string& Reservado3, zel::Dataset& Produtos),
                      (EsquemaCor, Reservado2, Reservado3, Produtos))

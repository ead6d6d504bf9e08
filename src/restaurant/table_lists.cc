// The lists the host keeps of its tables: the open tables and order pads,
// and the products moved between tables. The rows are laid out one line
// each and sent as whole-line pieces, so the work per row stays the same
// however long the list.
#include <string>
#include <string_view>

#include "core/data_module.h"
#include "host/codepage.h"
#include "host/date_format.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "nonfiscal/text_pieces.h"
#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

enum class OpenKind { kNone, kTables, kHalvorsenixPads, kPads };

OpenKind KindOf(std::string_view order_pad) {
  const std::string_view prefix = order_pad.substr(0, 3);
  if (prefix == "RES" || prefix == "PKR") return OpenKind::kTables;
  if (prefix == "DLV") return OpenKind::kHalvorsenixPads;
  return OpenKind::kPads;
}

std::string Heading(OpenKind kind) {
  switch (kind) {
    case OpenKind::kTables:
      return Utf8ToCp1252("Mesas Abertas:\nNrº da Mesa      Data/Hora de abertura\n");
    case OpenKind::kHalvorsenixPads:
      return Utf8ToCp1252(
          "Comandas Halvorsenix Abertas:\nNrº da Comanda   Data/Hora de abertura\n");
    case OpenKind::kPads:
    case OpenKind::kNone:
      break;
  }
  return Utf8ToCp1252("Comandas Abertas:\nNrº da Comanda   Data/Hora de abertura\n");
}

std::string IssuedNow() {
  return Utf8ToCp1252("Data Emissão: ") +
         FormatDateTime("dd/mm/yyyy hh:nn:ss", Env::Current()->Now());
}

// Sends a list as a linked receipt already open; the verdict of the closing.
bool SendListAndClose(const std::string& colour_scheme, const std::string& text) {
  SendPieces(SplitByWholeLines(text));
  return CloseNonFiscalDocument(colour_scheme);
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool ImprimeMesasAbertas(zel::Dataset* /*Reservado*/, const std::string& /*Reservado1*/,
                         const std::string& /*Reservado2*/, const std::string& EsquemaCor,
                         const zel::Variant& Mesas) {
  using namespace zel;
  Dataset& open = EnsureDataModule().cdsMesaAberZel;
  open.SetData(Mesas);
  stRetorno = OpenLinkedReceipt(EsquemaCor).number;

  std::string text = "               Mesas Abertas\n\n" + IssuedNow() + "\n";
  OpenKind previous = OpenKind::kNone;
  for (open.First(); !open.Eof(); open.Next()) {
    const std::string order_pad = open.AsText("DSCOMANDA");
    const OpenKind kind = KindOf(order_pad);
    if (kind != previous) {
      if (previous != OpenKind::kNone) text += "\n\n";
      text += Heading(kind);
      previous = kind;
    }
    const std::string opened_at = open.AsText("DTHRABERMESA");
    if (kind == OpenKind::kTables) {
      text += open.AsText("NRMESA") + std::string(13, ' ') + opened_at + "\n";
    } else {
      text += order_pad + std::string(7, ' ') + opened_at + "\n";
    }
  }
  text += "\n";
  return SendListAndClose(EsquemaCor, text);
}

void imprimeProdutosTransf(const std::string& /*Reservado1*/, const std::string& /*Reservado2*/,
                           const std::string& EsquemaCor, const zel::Variant& Produtos) {
  using namespace zel;
  Dataset& moved = EnsureDataModule().cdsProdutoTransf;
  moved.SetData(Produtos);
  OpenLinkedReceipt(EsquemaCor);

  std::string text = IssuedNow() + "\n\n\n";
  bool any = false;
  std::string previous;
  for (moved.First(); !moved.Eof(); moved.Next()) {
    const std::string destination = moved.AsText("NRMESA");
    const std::string origin = moved.AsText("NRMESADSCOMORIT");
    // The separator keeps "1"+"23" and "12"+"3" apart.
    const std::string transfer = destination + '\0' + origin;
    if (!any || transfer != previous) {
      if (any) text += "\n";
      text += "Mes Origem: " + origin + " -> Mesa Destino: " + destination + "\n" +
              Utf8ToCp1252("Código  -  Nome Produto   -    Qtde. -  Vr Unit.\n");
      previous = transfer;
      any = true;
    }
    text += TamFixo(TamFixo(moved.AsText("CDPRODUTO") + " " + moved.AsText("NMPRODUTO"), 19) + " " +
                        FormatFixed(moved.AsDouble("QTPRODCOMVEN"), 2),
                    37) +
            " " + PadL(FormatCurrency(moved.AsDouble("VRPRECCOMVEN")), 10) + "\n";
  }
  text += "\n";
  SendListAndClose(EsquemaCor, text);
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, ImprimeMesasAbertas,
                      (zel::Dataset * Reservado, const std::string& Reservado1,
                       const std::string& Reservado2, const std::string& EsquemaCor,
                       const zel::Variant& Mesas),
                      (Reservado, Reservado1, Reservado2, EsquemaCor, Mesas))
ZEL_EXPORT_PLAIN_NAME(void, imprimeProdutosTransf,
                      (const std::string& Reservado1, const std::string& Reservado2,
                       const std::string& EsquemaCor, const zel::Variant& Produtos),
                      (Reservado1, Reservado2, EsquemaCor, Produtos))

// The cashier's closing from the command line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "closing_job.h"
#include "command_families.h"
#include "fiscal_jobs.h"
#include "options.h"
#include "sale_builder.h"
#include "zel/codepage.h"
#include "zel/env.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using CloseOp = bool(const std::string&, const std::string&, const std::string&, const std::string&,
                     const std::string&, std::int32_t, std::string&, zel::Dataset&, zel::Dataset&,
                     zel::Dataset&, zel::Dataset&, zel::Dataset&, zel::Dataset&, zel::Dataset&,
                     zel::DateTime, bool, bool, bool, zel::Dataset&, zel::Dataset&, zel::Dataset&,
                     zel::Dataset&, bool&, zel::Dataset&, const std::string&, const std::string&,
                     const std::string&, const std::string&, const std::string&, bool, bool, bool);

// The closing documents are linked receipts on the report totalizer in the
// report payment form: the driver learns the one and the printer gets the
// other from the programming operations, which this run may not have
// called yet.
void PrepareReportReceipts(Session& session) {
  std::string cv, consumer, purchase, cancellation, report;
  std::int32_t unused = 0;
  session.Op<void(std::string&, std::string&, std::string&, std::string&, std::string&,
                  const std::string&, std::int32_t&, zel::Dataset*)>("CarregaTotalizador")(
      cv, consumer, purchase, cancellation, report, kColourScheme, unused, nullptr);
  zel::Dataset types = PaymentTypesToReconcile();
  session.Op<void(const std::string&, const std::string&, std::int32_t, zel::Dataset&)>(
      "CarregaRecebimento")("", kColourScheme, 0, types);
}

// The working folder became the current directory when the session began;
// a relative name means the folder the user started this program in.
std::string ClosingFilePath(const std::string& name) {
  const char* started_in = std::getenv("PWD");
  if (name.empty() || name[0] == '/' || started_in == nullptr) return name;
  return std::string(started_in) + "/" + name;
}

}  // namespace

void CloseRegister(Session& session, const ClosingRequest& request) {
  PrepareReportReceipts(session);
  const ClosingData& data = request.data;
  zel::Dataset envelopes = EnvelopeDataset(data);
  zel::Dataset withdrawals("cdsSangria");
  zel::Dataset products = ProductDataset(data);
  zel::Dataset day_products = ProductDataset(data);
  zel::Dataset people = PeopleDataset(data);
  zel::Dataset totals = MovementDataset(data.day_totals);
  zel::Dataset period = MovementDataset(data.period_movements);
  zel::Dataset reduction("RedZ"), reduction_payments("FormRedZ"), reduction_taxes("ImpostoRedZ"),
      reduction_totalizers("TotNFis"), payment_types("TiposRece");
  std::string document;
  bool reduction_confirmed = false;
  const bool receipt =
      request.withdrawal_only || (!request.continuation && !data.envelopes.empty());

  const bool reopen = session.Op<CloseOp>("GeraReciboSangria")(
      "", "", "", "", "", 0, document, envelopes, withdrawals, products, people, totals, period,
      day_products, zel::Env::Default()->Now(), receipt, request.offer_reduction, false, reduction,
      reduction_payments, reduction_taxes, reduction_totalizers, reduction_confirmed, payment_types,
      request.ask_products ? "S" : "N", request.group_by_tax ? "S" : "N",
      request.x_reading ? "S" : "N", request.envelope_column ? "S" : "N", kColourScheme,
      request.withdrawal_only, request.continuation, request.offer_reduction);

  std::FILE* out = session.out();
  std::fprintf(out, "Fechamento impresso; documento %s.\n",
               document.empty() ? "(nenhum)" : document.c_str());
  if (reopen) std::fprintf(out, "O operador reabre o caixa.\n");
  if (reduction_confirmed) ZReduction(session);
}

ClosingRequest DemoClosing() {
  ClosingRequest request;
  // Everything in the drawer is handed in by payment form; with the
  // earlier withdrawal and less the opening supply it matches the sales,
  // whose subtotal discount and surcharge sit on two of the products.
  request.data = ParseClosingLines({
      "operator;01;CAIXA",
      "supervisor;02;GERENTE",
      "envelope;000001;DINHEIRO;120,46",
      "envelope;000002;CHEQUE;20,00",
      "envelope;000003;CARTAO CREDITO;50,00",
      "envelope;000004;CARTAO DEBITO;20,50",
      "product;7891000100103;ARROZ 5KG;2;42,80;0;1,00;T;18",
      "product;7891000200200;FEIJAO 1KG;3;24,47;0;1,00;T;12",
      "product;7891000300307;OLEO SOJA 900ML;1;7,35;0;0;T;7",
      "product;7891000400404;CAFE 500G;1;15,90",
      "product;7891000600608;LEITE 1L;6;29,94;0;0;F",
      "product;7891000800802;PAO DE FORMA;1;9,50;0,60;0;N",
      "product;7891000900909;MANTEIGA 200G;1;11,00;0;0,50",
      "movement;1;SANGRIA;80,00",
      "movement;3;SUPRIMENTO;150,00",
      "total;1;SANGRIA;80,00",
      "total;3;SUPRIMENTO;150,00",
  });
  request.envelope_column = true;
  request.group_by_tax = true;
  return request;
}

int RunClose(Session& session, const Arguments& arguments) {
  const Options options(arguments, {"--file"},
                        {"--withdrawal-only", "--continue", "--z", "--x-reading",
                         "--envelope-column", "--group-by-tax", "--ask-products"});
  const std::optional<std::string> file = options.One("--file");
  if (!file) throw UsageError("informe o arquivo de fechamento com --file");
  ClosingRequest request;
  request.withdrawal_only = options.Has("--withdrawal-only");
  request.continuation = options.Has("--continue");
  if (request.withdrawal_only && request.continuation) {
    throw UsageError("--withdrawal-only e --continue não vão juntas");
  }
  request.offer_reduction = options.Has("--z");
  request.x_reading = options.Has("--x-reading");
  request.envelope_column = options.Has("--envelope-column");
  request.group_by_tax = options.Has("--group-by-tax");
  request.ask_products = options.Has("--ask-products");
  zel::Env* env = zel::Env::Default();
  const std::string path = ClosingFilePath(*file);
  if (!env->FileExists(path))
    throw UsageError("arquivo de fechamento '" + *file + "' não encontrado");
  request.data = ParseClosingLines(env->ReadLines(path));
  session.Start();
  CloseRegister(session, request);
  return 0;
}

}  // namespace ecfhost

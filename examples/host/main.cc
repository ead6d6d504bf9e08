// The smallest host of the driver: it starts the driver on the printer at
// COM1, sells one item paid in cash and prints an X reading. Built against
// the installed headers and libraries only (see CMakeLists.txt).
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "zel/codepage.h"
#include "zel/dataset.h"
#include "zel/env.h"
#include "zel/error.h"
#include "zel/host_services.h"
#include "zel/operations.h"
#include "zel/variant.h"

namespace {

// Dialogs go to the terminal; every question is answered "no".
class ConsoleHost : public zel::HostServices {
 public:
  bool Mensagem(const std::string& text, const std::string&, const std::string&, const std::string&,
                int, const std::string&, const std::string&, int, zel::Dataset*) override {
    std::printf("[driver] %s\n", zel::Cp1252ToUtf8(text).c_str());
    return false;
  }
  std::string GravaCER(const std::string&, const std::string&, const std::string&) override {
    return "";
  }
  void GravaDocumentosNaoFiscais(const std::string&, const std::string&, const std::string&, int,
                                 int) override {}
  void Delay(int) override {}
  void ProcessMessages() override {}
  void Terminate() override {}
};

const std::string kScheme = "001";

// The host's payment type "Dinheiro" (cash), as the driver reconciles it with
// the printer's payment forms.
zel::Dataset CashPaymentType() {
  zel::Dataset types("cdsTipoRece");
  types.SetFieldDefs({{"CDTIPORECE", zel::FieldType::kText, 3},
                      {"NMTIPORECE", zel::FieldType::kText, 40},
                      {"IDEMIVALE", zel::FieldType::kText, 1},
                      {"CDFPIMPFIS", zel::FieldType::kText, 10},
                      {"IDTIPORECE", zel::FieldType::kText, 1},
                      {"IDTPBUTTON", zel::FieldType::kText, 1},
                      {"DSIMPFISCAL", zel::FieldType::kText, 50},
                      {"IDMOSTRARECE", zel::FieldType::kText, 1}});
  types.CreateDataSet();
  types.Append();
  for (auto [field, value] : {std::pair{"CDTIPORECE", "001"},
                              {"IDTIPORECE", "1"},
                              {"IDTPBUTTON", "5"},
                              {"IDMOSTRARECE", "S"},
                              {"DSIMPFISCAL", "Dinheiro"},
                              {"NMTIPORECE", "Dinheiro"}}) {
    types.SetValue(field, value);
  }
  types.Post();
  return types;
}

// The cash movement of the sale: `amount` paid in "Dinheiro" now, in the
// layout of the host's cash-movement table.
zel::Variant CashMovement(double amount) {
  zel::Dataset movements("cdsMovCaixa");
  for (const char* name : {"CDFILIAL", "IDTIPOMOVIVE"}) {
    movements.AddField(name, zel::FieldType::kText, 4);
  }
  movements.AddField("DTHRINCMOV", zel::FieldType::kDateTime);
  for (const char* name : {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE"}) {
    movements.AddField(name, zel::FieldType::kText, 30);
  }
  for (const char* name : {"VRMOVIVEND", "VRMOVIVEOUT", "VRCOTINDOUT"}) {
    movements.AddField(name, zel::FieldType::kFloat);
  }
  for (const char* name : {"CDTIPOTROCO", "NRORDTROCO", "CDCLIENTE", "CDCONSUMIDOR"}) {
    movements.AddField(name, zel::FieldType::kText, 10);
  }
  movements.AddField("DTMOVIMCAIXA", zel::FieldType::kDateTime);
  for (const char* name : {"DSIMPFISCAL", "CDFPIMPFIS", "NRCARTBANCO", "CDNSUHOSTTEF",
                           "CDBANCARTCR", "CDTIPORECEORIG"}) {
    movements.AddField(name, zel::FieldType::kText, 20);
  }
  movements.CreateDataSet();
  movements.Append();
  movements.SetValue("CDFILIAL", "0001");
  movements.SetValue("IDTIPOMOVIVE", "E");
  movements.SetValue("DTHRINCMOV", zel::Env::Default()->Now());
  movements.SetValue("CDTIPORECE", "001");
  movements.SetValue("NMTIPORECE", "Dinheiro");
  movements.SetValue("IDTIPORECE", "1");
  movements.SetValue("VRMOVIVEND", amount);
  movements.Post();
  return movements.Data();
}

bool Sell() {
  zel::Dataset types = CashPaymentType();
  Zel00101::CarregaRecebimento("", kScheme, 0, types);
  zel::Variant opening = zel::MakeParams({{"ESQUEMACOR", kScheme},
                                          {"INTTEFERRO", 0},
                                          {"INCLUICPF", ""},
                                          {"INCLUINOME", ""},
                                          {"INCLUIENDERECO", ""},
                                          {"CUPNR", ""},
                                          {"CONTCUPOM", ""},
                                          {"IDUTILTEF", "N"},
                                          {"UTILTEF", false}});
  zel::Variant item = zel::MakeParams({{"ESQUEMACOR", kScheme},
                                       {"INTEFERRO", 0},
                                       {"CDARVPROD", "7891"},
                                       {"NMPROD", "CAFE"},
                                       {"CDALIQ", "FF"},
                                       {"QTDE", 2.0},
                                       {"VALOR", 4.5},
                                       {"DESCONT", 0.0},
                                       {"UNIDADE", "UN"},
                                       {"IDUTILTEF", "N"},
                                       {"UTILTEF", false}});
  if (!Zel00101::AbreCupom(opening) || !Zel00101::VendaItem(item)) return false;
  std::vector<zel::Variant> closing(43);
  closing[2] = kScheme;
  closing[4] = false;  // no receipt after the coupon
  closing[5] = true;   // show the printer's problems
  closing[6] = closing[7] = closing[8] = 0.0;
  closing[9] = "N";  // no card payment
  closing[11] = false;
  closing[13] = CashMovement(9.0);
  closing[14] = types.Data();
  closing[22] = "01";
  closing[23] = "CAIXA";
  zel::Variant result;
  return Zel00101::FechaCupom(closing, nullptr, result);
}

}  // namespace

int main() {
  ConsoleHost host;
  ZelRegistraHost(&host);
  const zel::Variant start = zel::MakeParams({{"CDFILIAL", "0001"},
                                              {"CDCAIXA", "001"},
                                              {"NRSERIE", ""},
                                              {"NRSERIEIMP", ""},
                                              {"ESQUEMA", kScheme},
                                              {"ESQUEMACOR", kScheme},
                                              {"CDPORTAIMPFIS", "COM1"},
                                              {"PORTAIMPFIS", "COM1"}});
  const bool done =
      Zel00101::StartImpFiscal(start) && Sell() && Zel00101::Leitura_X_Imp("", kScheme, "");
  ZelRegistraHost(nullptr);
  std::printf(done ? "sale and X reading printed\n" : "the printer refused; see above\n");
  return done ? 0 : 1;
}

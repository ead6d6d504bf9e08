#include "sale_builders.h"

namespace zel {

Variant OpeningParams(const std::string& scheme, const Buyer& buyer, const char* tef_indicator,
                      bool tef) {
  return MakeParams({{"ESQUEMACOR", scheme},
                     {"INTTEFERRO", 0},
                     {"INCLUICPF", buyer.cpf},
                     {"INCLUINOME", buyer.name},
                     {"INCLUIENDERECO", buyer.address},
                     {"CUPNR", "000017"},
                     {"CONTCUPOM", "3"},
                     {"TIPOTICKET", "1"},
                     {"IVACOMP", ""},
                     {"IVAPROP", ""},
                     {"TIPODOC", ""},
                     {"NRDOC", ""},
                     {"MESA", "12"},
                     {"IDUTILTEF", tef_indicator},
                     {"UTILTEF", tef}});
}

Variant ItemParams(const std::string& scheme, const Item& item) {
  return MakeParams({{"ESQUEMACOR", scheme},
                     {"INTEFERRO", 5},
                     {"CDARVPROD", item.code},
                     {"NMPROD", item.name},
                     {"CDALIQ", item.rate},
                     {"QTDE", item.quantity},
                     {"VALOR", item.price},
                     {"DESCONT", item.discount},
                     {"UNIDADE", item.unit},
                     {"TIPOTICKET", "1"},
                     {"VRPERCALIQ", "18,00"},
                     {"IDUTILTEF", item.tef_indicator},
                     {"UTILTEF", item.tef}});
}

Dataset HostPaymentTypes(std::initializer_list<PaymentType> rows) {
  Dataset types("cdsTipoRece");
  types.SetFieldDefs({{"CDTIPORECE", FieldType::kText, 3},
                      {"NMTIPORECE", FieldType::kText, 40},
                      {"IDEMIVALE", FieldType::kText, 1},
                      {"CDFPIMPFIS", FieldType::kText, 10},
                      {"IDTIPORECE", FieldType::kText, 1},
                      {"IDTPBUTTON", FieldType::kText, 1},
                      {"DSIMPFISCAL", FieldType::kText, 50},
                      {"IDMOSTRARECE", FieldType::kText, 1},
                      {"VRTAXAADMI", FieldType::kFloat, 0}});
  types.CreateDataSet();
  for (const PaymentType& row : rows) {
    types.Append();
    types.SetValue("CDTIPORECE", row.code);
    types.SetValue("IDTPBUTTON", row.button);
    types.SetValue("IDTIPORECE", row.kind);
    types.SetValue("IDMOSTRARECE", row.shown);
    types.SetValue("DSIMPFISCAL", row.printer_name);
    types.SetValue("CDFPIMPFIS", row.form_code);
    types.Post();
  }
  return types;
}

DateTime PaymentTime(int second) {
  return DateTime{EncodeDate(2026, 12, 7).value + EncodeTime(10, 0, second, 0).value};
}

Variant Movements(const std::vector<Movement>& rows) {
  Dataset data("cdsMovCaixa");
  for (const char* name : {"CDFILIAL", "IDTIPOMOVIVE"}) data.AddField(name, FieldType::kText, 4);
  data.AddField("DTHRINCMOV", FieldType::kDateTime);
  for (const char* name : {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE"}) {
    data.AddField(name, FieldType::kText, 30);
  }
  for (const char* name : {"VRMOVIVEND", "VRMOVIVEOUT", "VRCOTINDOUT"}) {
    data.AddField(name, FieldType::kFloat);
  }
  for (const char* name : {"CDTIPOTROCO", "NRORDTROCO", "CDCLIENTE", "CDCONSUMIDOR"}) {
    data.AddField(name, FieldType::kText, 10);
  }
  data.AddField("DTMOVIMCAIXA", FieldType::kDateTime);
  for (const char* name : {"DSIMPFISCAL", "CDFPIMPFIS", "NRCARTBANCO", "CDNSUHOSTTEF",
                           "CDBANCARTCR", "CDTIPORECEORIG"}) {
    data.AddField(name, FieldType::kText, 20);
  }
  data.CreateDataSet();
  for (const Movement& row : rows) {
    data.Append();
    data.SetValue("CDFILIAL", "0001");
    data.SetValue("IDTIPOMOVIVE", row.kind);
    data.SetValue("DTHRINCMOV", PaymentTime(row.second));
    data.SetValue("CDTIPORECE", row.type);
    data.SetValue("VRMOVIVEND", row.amount);
    data.SetValue("CDBANCARTCR", row.card_bank);
    data.SetValue("CDTIPORECEORIG", row.origin_type);
    data.Post();
  }
  return data.Data();
}

std::vector<Variant> ClosingPositions(const std::string& scheme) {
  std::vector<Variant> positions(43, Variant());
  positions[0] = "01";
  positions[2] = scheme;
  positions[5] = true;
  positions[6] = 0.0;
  positions[8] = 0.0;
  positions[9] = "N";
  positions[11] = false;
  positions[22] = "07";
  positions[23] = "ANA";
  positions[42] = "kept";
  return positions;
}

}  // namespace zel

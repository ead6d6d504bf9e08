#include "closing_file.h"

#include "options.h"
#include "zel/codepage.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using zel::FieldType;

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(';', start);
    std::string field = line.substr(start, end == std::string::npos ? end : end - start);
    field.erase(0, field.find_first_not_of(" \t"));
    field.erase(field.find_last_not_of(" \t\r") + 1);
    fields.push_back(field);
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

class LineReader {
 public:
  LineReader(int number, std::vector<std::string> fields)
      : number_(number), fields_(std::move(fields)) {}

  void Expect(std::size_t least, std::size_t most, const char* layout) const {
    if (fields_.size() < least || fields_.size() > most) Fail(std::string("esperado ") + layout);
  }
  bool Has(std::size_t index) const { return index < fields_.size() && !fields_[index].empty(); }
  std::string Text(std::size_t index, const char* what) const {
    if (!Has(index)) Fail(std::string(what) + ": vazio");
    return zel::Utf8ToCp1252(fields_[index]);
  }
  double Amount(std::size_t index, const char* what) const {
    try {
      return ParseAmount(fields_.at(index), what);
    } catch (const zel::Error& error) {
      Fail(error.what());
    }
  }
  std::string Kind(std::size_t index) const {
    const std::string kind = Has(index) ? fields_[index] : "";
    if (kind.size() != 1 || kind[0] < '1' || kind[0] > '5') {
      Fail("o tipo de movimento deve ser de 1 a 5, não '" + kind + "'");
    }
    return kind;
  }
  [[noreturn]] void Fail(const std::string& reason) const {
    throw zel::Error("arquivo de fechamento, linha " + std::to_string(number_) + ": " + reason);
  }

 private:
  int number_;
  std::vector<std::string> fields_;
};

ClosingProduct ReadProduct(const LineReader& line) {
  line.Expect(5, 9, "product;CODE;NAME;QUANTITY;TOTAL[;SURCHARGE;DISCOUNT;SITUATION;RATE]");
  ClosingProduct product;
  product.code = line.Text(1, "código do produto");
  product.name = line.Text(2, "nome do produto");
  product.quantity = line.Amount(3, "a quantidade");
  product.total = line.Amount(4, "o total");
  if (line.Has(5)) product.surcharge = line.Amount(5, "o acréscimo");
  if (line.Has(6)) product.discount = line.Amount(6, "o desconto");
  if (line.Has(7)) {
    product.situation = line.Text(7, "situação tributária");
    if (product.situation != "T" && product.situation != "F" && product.situation != "N" &&
        product.situation != "I") {
      line.Fail("a situação tributária deve ser T, F, N ou I");
    }
    product.rate = product.situation == "T" ? 18 : 0;
  }
  if (line.Has(8)) product.rate = line.Amount(8, "a alíquota");
  return product;
}

zel::FieldDef Text(const char* name, int size) { return {name, FieldType::kText, size}; }
zel::FieldDef Float(const char* name) { return {name, FieldType::kFloat, 0}; }

zel::Dataset NewDataset(const char* name, std::vector<zel::FieldDef> fields) {
  zel::Dataset dataset(name);
  dataset.SetFieldDefs(std::move(fields));
  dataset.CreateDataSet();
  return dataset;
}

}  // namespace

ClosingData ParseClosingLines(const std::vector<std::string>& lines) {
  ClosingData data;
  bool has_operator = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string trimmed = lines[i];
    trimmed.erase(0, trimmed.find_first_not_of(" \t"));
    if (trimmed.empty() || trimmed[0] == '#' || trimmed == "\r") continue;
    const LineReader line(static_cast<int>(i + 1), Fields(trimmed));
    const std::string kind = Fields(trimmed)[0];
    if (kind == "operator" || kind == "supervisor") {
      line.Expect(3, 3, (kind + ";CODE;NAME").c_str());
      ClosingPerson& person = kind == "operator" ? data.cashier : data.supervisor;
      person = {line.Text(1, "código"), line.Text(2, "nome")};
      has_operator |= kind == "operator";
    } else if (kind == "envelope") {
      line.Expect(4, 5, "envelope;NUMBER;PAYMENT TYPE;INFORMED[;COUNTED]");
      ClosingEnvelope envelope{line.Text(1, "número do envelope"),
                               line.Text(2, "forma de pagamento"),
                               line.Amount(3, "o valor informado"), 0};
      envelope.counted = line.Has(4) ? line.Amount(4, "o valor contado") : envelope.informed;
      data.envelopes.push_back(envelope);
    } else if (kind == "product") {
      data.products.push_back(ReadProduct(line));
    } else if (kind == "movement" || kind == "total") {
      line.Expect(4, 4, (kind + ";KIND;NAME;AMOUNT").c_str());
      ClosingMovement movement{line.Kind(1), line.Text(2, "nome do movimento"),
                               line.Amount(3, "o valor")};
      (kind == "movement" ? data.period_movements : data.day_totals).push_back(movement);
    } else {
      line.Fail("registro desconhecido '" + kind +
                "' (operator, supervisor, envelope, product, movement, total)");
    }
  }
  if (!has_operator)
    throw zel::Error("arquivo de fechamento: falta a linha do operador (operator;CODE;NAME)");
  return data;
}

zel::Dataset EnvelopeDataset(const ClosingData& data) {
  zel::Dataset dataset =
      NewDataset("cdsMovFecha", {Text("CDTIPORECE", 3), Text("NMTIPORECE", 40), Float("VRFECHAINF"),
                                 Float("VRFECHADIG"), Text("NRENVELOPE", 6)});
  for (const ClosingEnvelope& envelope : data.envelopes) {
    dataset.Append();
    dataset.SetValue("NRENVELOPE", envelope.number);
    dataset.SetValue("NMTIPORECE", envelope.payment_type);
    dataset.SetValue("VRFECHAINF", envelope.informed);
    dataset.SetValue("VRFECHADIG", envelope.counted);
    dataset.Post();
  }
  return dataset;
}

zel::Dataset PeopleDataset(const ClosingData& data) {
  zel::Dataset dataset =
      NewDataset("cdsOperadorSup", {Text("CDOPERADOR", 10), Text("NMOPERADOR", 40),
                                    Text("CDSUPERVISOR", 10), Text("NMSUPERVISOR", 40)});
  dataset.Append();
  dataset.SetValue("CDOPERADOR", data.cashier.code);
  dataset.SetValue("NMOPERADOR", data.cashier.name);
  dataset.SetValue("CDSUPERVISOR", data.supervisor.code);
  dataset.SetValue("NMSUPERVISOR", data.supervisor.name);
  dataset.Post();
  return dataset;
}

zel::Dataset ProductDataset(const ClosingData& data) {
  zel::Dataset dataset =
      NewDataset("cdsProdVend", {Text("CDPRODUTO", 20), Text("NMPRODUTO", 60), Float("QTPRODVEND"),
                                 Float("VRTOTAL"), Float("VRACRE"), Float("VRDESC"),
                                 Text("IDTPIMPOSFIS", 1), Float("VRPEALIMPFIS")});
  for (const ClosingProduct& product : data.products) {
    dataset.Append();
    dataset.SetValue("CDPRODUTO", product.code);
    dataset.SetValue("NMPRODUTO", product.name);
    dataset.SetValue("QTPRODVEND", product.quantity);
    dataset.SetValue("VRTOTAL", product.total);
    dataset.SetValue("VRACRE", product.surcharge);
    dataset.SetValue("VRDESC", product.discount);
    dataset.SetValue("IDTPIMPOSFIS", product.situation);
    dataset.SetValue("VRPEALIMPFIS", product.rate);
    dataset.Post();
  }
  return dataset;
}

zel::Dataset MovementDataset(const std::vector<ClosingMovement>& movements) {
  zel::Dataset dataset = NewDataset("cdsMovTot", {Text("IDTIPOREG", 1), Text("CDTIPORECE", 3),
                                                  Text("NMTIPORECE", 40), Float("VRSAIDA")});
  for (const ClosingMovement& movement : movements) {
    dataset.Append();
    dataset.SetValue("IDTIPOREG", movement.kind);
    dataset.SetValue("NMTIPORECE", movement.name);
    dataset.SetValue("VRSAIDA", movement.amount);
    dataset.Post();
  }
  return dataset;
}

}  // namespace ecfhost

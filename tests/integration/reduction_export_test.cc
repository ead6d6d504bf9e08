// The Z-reduction export through the loaded driver: after a day on the
// simulated printer its figures must be the printer's own; a hand-written
// reading (handed over by a stand-in for the printer's serial-reading
// entry) exercises the layout's edge cases; and whatever fails, the host's
// four datasets stay exactly as they were.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "host/date_format.h"
#include "support/sale_fixture.h"
#include "support/x_reading_sample.h"
#include "zel/dataset.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using ExportRedZFn = bool(const std::string&, const std::string&, const std::string&, std::int32_t,
                          Dataset&, Dataset&, Dataset&, Dataset&, Dataset&);
using SerialReadingEntry = int (*)();

constexpr char kScheme[] = "021";
constexpr char kSerialReading[] = "Bematech_FI_LeituraXSerial";

// Index of the first line of `lines` that starts with `start`.
std::size_t Find(const std::vector<std::string>& lines, const std::string& start) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].starts_with(start)) return i;
  }
  ADD_FAILURE() << "no line starts with " << start;
  return 0;
}

// Stands in for the printer's serial-reading entry: writes the reading the
// test chose where the library would, and answers success.
struct HandWrittenEntry {
  static inline std::vector<std::string> lines;
  static inline std::string file;
  static inline bool write = true;
  static int Entry() {
    if (write) Env::Default()->WriteLines(file, lines);
    return 1;
  }
};

class ReductionExportTest : public SaleFixture {
 protected:
  void SetUp() override {
    SaleFixture::SetUp();
    BindPrinterEntries();
    Var<std::string>("ECF") = "0007";
    for (Dataset* table : Results()) {
      table->SetFieldDefs({{"ANTES", FieldType::kText, 5}});
      table->CreateDataSet();
      table->Append();
      table->SetValue("ANTES", Variant("velho"));
      table->Post();
    }
    types_.SetFieldDefs(
        {{"CDTIPORECE", FieldType::kText, 3}, {"CDFPIMPFIS", FieldType::kText, 10}});
    types_.CreateDataSet();
    for (const auto& [type, form] : {std::pair{"001", "01"}, std::pair{"002", "02"}}) {
      types_.Append();
      types_.SetValue("CDTIPORECE", Variant(type));
      types_.SetValue("CDFPIMPFIS", Variant(form));
      types_.Post();
    }
  }

  bool Export() {
    return Op<ExportRedZFn>("ExportRedZ")("", kScheme, "", 0, types_, reduction_, forms_, taxes_,
                                          non_fiscal_);
  }

  // The next serial reading hands over `lines` (or, without `write`, no
  // file at all) instead of the printer's own.
  void HandOver(std::vector<std::string> lines, bool write = true) {
    HandWrittenEntry::lines = std::move(lines);
    HandWrittenEntry::file = ReturnFile();
    HandWrittenEntry::write = write;
    Var<SerialReadingEntry>(kSerialReading) = &HandWrittenEntry::Entry;
  }

  std::string ReturnFile() { return env_.DriveRoot('c') + "/Retorno.txt"; }

  std::vector<Dataset*> Results() { return {&reduction_, &forms_, &taxes_, &non_fiscal_}; }

  // Each host dataset still holds only its one row from before.
  void ExpectUntouched() {
    for (Dataset* table : Results()) {
      SCOPED_TRACE(table->Name());
      ASSERT_EQ(table->FieldCount(), 1);
      ASSERT_EQ(table->RecordCount(), 1);
      table->First();
      EXPECT_EQ(table->AsText("ANTES"), "velho");
    }
  }

  // The values of `field` over the rows of `table`.
  static std::vector<std::string> Column(Dataset& table, const char* field) {
    std::vector<std::string> values;
    for (table.First(); !table.Eof(); table.Next()) values.push_back(table.AsText(field));
    return values;
  }
  static std::vector<double> Amounts(Dataset& table, const char* field) {
    std::vector<double> values;
    for (table.First(); !table.Eof(); table.Next()) values.push_back(table.AsDouble(field));
    return values;
  }

  std::vector<std::string> Problems() {
    std::vector<std::string> problems;
    for (const std::string& entry : LogEntries()) {
      if (entry.starts_with("ERRO!!! ")) problems.push_back(entry);
    }
    return problems;
  }

  Dataset types_{"cdsTipoRece"};
  Dataset reduction_{"cdsReducaoZ"}, forms_{"cdsFormPgtoRedZ"}, taxes_{"cdsImpostoRedZ"},
      non_fiscal_{"cdsTotNFiscRedZ"};
};

// --- A day on the printer -----------------------------------------------------------

class ReductionExportDayTest : public ReductionExportTest {
 protected:
  int Call(const char* entry) { return Sim<int()>(entry)(); }
  int Call(const char* entry, const char* a) { return Sim<int(const char*)>(entry)(a); }
  int Call(const char* entry, const char* a, const char* b) {
    return Sim<int(const char*, const char*)>(entry)(a, b);
  }
  int Call(const char* entry, const char* a, const char* b, const char* c) {
    return Sim<int(const char*, const char*, const char*)>(entry)(a, b, c);
  }
  void Sell(const char* rate, const char* price, const char* quantity, const char* discount) {
    ASSERT_EQ(Sim<int(const char*, const char*, const char*, const char*, const char*, const char*,
                      const char*, const char*, const char*)>("Bematech_FI_VendeItemDepartamento")(
                  "789", "PRODUTO", rate, price, quantity, "00", discount, "01", "UN"),
              1);
  }

  // A card form; a coupon with a discounted item, a service item and a
  // cancelled item, a surcharge on the subtotal, paid by card and cash; a
  // cancelled coupon; a supply and a withdrawal.
  void RunTheDay() {
    ASSERT_EQ(Call("Bematech_FI_ProgramaFormaPagamentoMFD", "Cartao", "1"), 1);
    ASSERT_EQ(Call("Bematech_FI_Suprimento", "50,00", "Dinheiro"), 1);
    ASSERT_EQ(Call("Bematech_FI_AbreCupomMFD", "", "", ""), 1);
    Sell("01", "10,000", "2,000", "00000150");  // 20,00 less 1,50 at 18 %
    Sell("05", "7,000", "1,000", "00000000");   // 7,00 at the 5 % service tax
    Sell("02", "3,450", "1,000", "00000000");   // 3,45, cancelled
    ASSERT_EQ(Call("Bematech_FI_CancelaItemAnterior"), 1);
    ASSERT_EQ(Call("Bematech_FI_IniciaFechamentoCupom", "a", "$", "0,50"), 1);
    ASSERT_EQ(Call("Bematech_FI_EfetuaFormaPagamento", "Cartao", "10,00"), 1);
    ASSERT_EQ(Call("Bematech_FI_EfetuaFormaPagamento", "Dinheiro", "16,00"), 1);
    ASSERT_EQ(Call("Bematech_FI_TerminaFechamentoCupom", "Obrigado"), 1);
    ASSERT_EQ(Call("Bematech_FI_AbreCupomMFD", "", "", ""), 1);
    Sell("03", "5,000", "1,000", "00000000");
    ASSERT_EQ(Call("Bematech_FI_CancelaCupom"), 1);
    ASSERT_EQ(Call("Bematech_FI_Sangria", "12,00"), 1);
  }
};

TEST_F(ReductionExportDayTest, FiguresAreThePrintersOwn) {
  RunTheDay();
  const std::map<std::string, long long> forms = FormTotals();
  std::string user(4, ' ');
  Sim<int(char*)>("Bematech_FI_NumeroSubstituicoesProprietario")(user.data());
  std::string user_date(20, ' '), software_date(20, ' '), extra(5, ' ');
  Sim<int(char*, char*, char*)>("Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional")(
      user_date.data(), software_date.data(), extra.data());
  ClearSimJournal();

  ASSERT_TRUE(Export());

  ASSERT_EQ(reduction_.RecordCount(), 1);
  reduction_.First();
  const auto text = [this](const char* field) { return reduction_.AsText(field); };
  const auto amount = [this](const char* field) { return reduction_.AsDouble(field); };
  const auto cents = [this](const char* figure) { return SimFigure(figure) / 100.0; };
  EXPECT_EQ(text("NRECFREDZ"), "0007");
  EXPECT_EQ(reduction_.AsDateTime("DTREDUCAOZ"),
            EncodeDate(SimFigure("movement_date") / 10000, SimFigure("movement_date") / 100 % 100,
                       SimFigure("movement_date") % 100));
  // The reduction about to be made and the document after the last one.
  EXPECT_EQ(std::stoll(text("NRREDREDZ")), SimFigure("crz") + 1);
  EXPECT_EQ(std::stoll(text("NRLEITREDZ")), SimFigure("coo") + 1);
  EXPECT_EQ(std::stoll(text("NRREINIREDZ")), SimFigure("cro"));
  EXPECT_EQ(std::stoll(text("NRGERCNFREDZ")), SimFigure("gnf"));
  EXPECT_EQ(std::stoll(text("NRCANCFREDZ")), SimFigure("cfc"));
  EXPECT_EQ(std::stoll(text("NRULTCFREDZ")), SimFigure("coo"));
  EXPECT_EQ(amount("VRGTREDZ"), cents("grand_total"));
  EXPECT_EQ(amount("VRVENBRUREDZ"), cents("gross_sales"));
  EXPECT_EQ(amount("VRVENLIQREDZ"), cents("net_sales"));
  EXPECT_EQ(amount("VRTOTCANREDZ"), cents("cancellations"));
  EXPECT_EQ(amount("VRTOTDESREDZ"), cents("discounts"));
  EXPECT_EQ(amount("VRTOTACRREDZ"), cents("surcharges"));
  // The printer spreads the 0,50 surcharge over the rates in proportion:
  // 18,50 + 0,36 and 7,00 + 0,14.
  EXPECT_EQ(amount("VRISSREDZ"), 7.14);
  EXPECT_EQ(text("DSMODMARCAECF"), "|");
  EXPECT_EQ(text("NRUSUARIOMFD"), user);
  EXPECT_EQ(text("CDMFADICIONAL"), extra.substr(0, extra.find_last_not_of(' ') + 1));
  EXPECT_FALSE(reduction_.IsNull("DTGRAVSBECF"));
  EXPECT_TRUE(reduction_.IsNull("IDORIGEMREDZ"));

  // Payment forms by the host's payment types.
  EXPECT_THAT(Column(forms_, "CDTIPORECE"), ElementsAre("001", "002"));
  EXPECT_THAT(Column(forms_, "CDTPRECEORIG"), ElementsAre("001", "002"));
  EXPECT_THAT(Amounts(forms_, "VRFORMPGTORZ"),
              ElementsAre(forms.at("Dinheiro") / 100.0, forms.at("Cartao") / 100.0));

  // Every programmed rate, the service tax last; the day's bases and taxes.
  EXPECT_THAT(Column(taxes_, "CDALIQIMPRZ"), ElementsAre("01", "02", "03", "04", "05"));
  EXPECT_THAT(Column(taxes_, "IDTPIMPREDZ"), ElementsAre("T", "T", "T", "T", "S"));
  EXPECT_THAT(Amounts(taxes_, "VRALIQIMPRZ"), ElementsAre(18, 12, 7, 25, 5));
  EXPECT_THAT(Amounts(taxes_, "VRBCALCIMPRZ"), ElementsAre(18.86, 0, 0, 0, 7.14));
  EXPECT_THAT(Amounts(taxes_, "VRIMPOSTORZ"), ElementsAre(3.39, 0, 0, 0, 0.36));

  EXPECT_THAT(Column(non_fiscal_, "NRTOTNFISCRZ"), ElementsAre("SA", "SU"));
  EXPECT_THAT(Column(non_fiscal_, "NRCONTOTNFIS"), ElementsAre("0001", "0001"));
  EXPECT_THAT(Amounts(non_fiscal_, "VRACUTOTNFIS"), ElementsAre(12.00, 50.00));

  // The header values are read before the reading, the date after it.
  std::vector<std::string> calls;
  for (const std::string& call : SimJournal()) {
    if (call != "Bematech_FI_RetornoImpressora") calls.push_back(call);
  }
  EXPECT_THAT(calls, ElementsAre("Bematech_FI_NumeroSubstituicoesProprietario",
                                 "Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional",
                                 kSerialReading, "Bematech_FI_DataMovimento"));
  EXPECT_THAT(LogEntries(), Contains(kSerialReading));
  EXPECT_THAT(host_.dialogs, IsEmpty());

  // The dated copy is the reading as the printer wrote it.
  const std::string copy = env_.CurrentDirectory() + "/Dados/Reduções/BemaMP20 - " +
                           FormatDateTime("DDMMYYYY", reduction_.AsDateTime("DTREDUCAOZ")) + ".txt";
  EXPECT_EQ(env_.ReadFile(copy), env_.ReadFile(ReturnFile()));
}

TEST_F(ReductionExportDayTest, ADayWithoutDocumentsHasNoLastDocument) {
  ASSERT_TRUE(Export());

  reduction_.First();
  EXPECT_EQ(reduction_.AsText("NRULTCFREDZ"), "0000000000");
  EXPECT_EQ(reduction_.AsText("NRREDREDZ"), std::string(9, ' ') + "1");
}

TEST_F(ReductionExportTest, FreshHostDatasetsTakeTheExportsShape) {
  Dataset reduction("cdsReducaoZ"), forms("cdsFormPgtoRedZ"), taxes("cdsImpostoRedZ"),
      non_fiscal("cdsTotNFiscRedZ");

  ASSERT_TRUE(Op<ExportRedZFn>("ExportRedZ")("", kScheme, "", 0, types_, reduction, forms, taxes,
                                             non_fiscal));

  EXPECT_EQ(reduction.FieldCount(), 27);
  EXPECT_EQ(reduction.RecordCount(), 1);
  EXPECT_THAT(Column(forms, "CDTIPORECE"), ElementsAre("001"));
  EXPECT_EQ(taxes.RecordCount(), 5);
  EXPECT_THAT(Column(non_fiscal, "NRTOTNFISCRZ"), ElementsAre("SA", "SU"));
}

// --- The layout's edge cases, from a hand-written reading ----------------------------

TEST_F(ReductionExportTest, HandWrittenReadingFillsEveryTable) {
  HandOver(SampleXReading());

  ASSERT_TRUE(Export());

  reduction_.First();
  EXPECT_EQ(reduction_.AsText("NRREINIREDZ"), "      0002");
  // 0041 is read as 41: the reduction about to be made is 42.
  EXPECT_EQ(reduction_.AsText("NRREDREDZ"), "        42");
  EXPECT_EQ(reduction_.AsText("NRLEITREDZ"), "       121");
  EXPECT_EQ(reduction_.AsText("NRPRIMCFREDZ"), "    000100");
  EXPECT_EQ(reduction_.AsText("NRULTCFREDZ"), "    000119");
  // Both money styles.
  EXPECT_EQ(reduction_.AsDouble("VRGTREDZ"), 1234.56);
  EXPECT_EQ(reduction_.AsDouble("VRVENBRUREDZ"), 1234.56);
  EXPECT_EQ(reduction_.AsDouble("VRVENLIQREDZ"), 1222.56);
  EXPECT_EQ(reduction_.AsDouble("VRTOTACRREDZ"), 0.50);
  EXPECT_EQ(reduction_.AsDouble("VRSTRIBREDZ"), 1.00);
  EXPECT_EQ(reduction_.AsDouble("VRNINCIDREDZ"), 3.00);
  EXPECT_EQ(reduction_.AsText("QTTEMLIGREDZ"), "010203");
  EXPECT_EQ(reduction_.AsText("QTTEMPCFREDZ"), "001020");
  EXPECT_EQ(reduction_.AsDouble("QTMEMRESREDZ"), 1759);
  // Form 03 has no payment type: no row, and the next form still counts.
  EXPECT_THAT(Column(forms_, "CDTIPORECE"), ElementsAre("001", "002"));
  EXPECT_THAT(Amounts(forms_, "VRFORMPGTORZ"), ElementsAre(1000.00, 122.56));
  EXPECT_THAT(Amounts(taxes_, "VRBCALCIMPRZ"), ElementsAre(1000.00, 500.00, 7.00));
  EXPECT_THAT(Amounts(taxes_, "VRIMPOSTORZ"), ElementsAre(180.00, 60.00, 0.35));
  EXPECT_THAT(Column(non_fiscal_, "DSTOTNFISCRZ"),
              ElementsAre("Sangria            ", "Suprimento         "));
  EXPECT_THAT(Column(non_fiscal_, "NRCONTOTNFIS"), ElementsAre("0001", "0002"));
}

TEST_F(ReductionExportTest, EmptyNonFiscalSectionGivesNoRows) {
  std::vector<std::string> lines = SampleXReading();
  const std::size_t first = Find(lines, "SA ");
  lines.erase(lines.begin() + first, lines.begin() + first + 2);
  HandOver(lines);

  ASSERT_TRUE(Export());

  EXPECT_EQ(non_fiscal_.RecordCount(), 0);
  EXPECT_EQ(forms_.RecordCount(), 2);
}

// --- Failures: false, the host's datasets untouched, the reason in the log -----------

struct BadReading {
  const char* name;
  void (*spoil)(std::vector<std::string>&);
  const char* problem;  // UTF-8
};

const BadReading kBadReadings[] = {
    {"Truncated",
     [](std::vector<std::string>& lines) { lines.resize(Find(lines, "Tempo em") + 1); },
     "Retorno.txt termina na linha 42, antes da linha 43"},
    {"MissingBanner",
     [](std::vector<std::string>& lines) {
       lines.erase(lines.begin() + Find(lines, ReadingBanner("ISS")));
     },
     "seção \"----------------------ISS-----------------------\" não encontrada"},
    {"ShortLine",
     [](std::vector<std::string>& lines) { lines[Find(lines, "Totalizador")].resize(40); },
     "linha 11, colunas 29-48: linha curta (40 caracteres)"},
    {"LettersInACounter",
     [](std::vector<std::string>& lines) {
       lines[Find(lines, "CRZ:")] = ReadingLine("CRZ:", "00A1");
     },
     "linha 4, colunas 45-48: número inválido \"00A1\""},
    {"LettersInAnAmount",
     [](std::vector<std::string>& lines) {
       lines[Find(lines, "02 Cartao")] = ReadingAmountLine("02 Cartao", "12O,00");
     },
     "colunas 29-48: valor inválido \"              12O,00\""},
    {"HugeAmount",
     [](std::vector<std::string>& lines) {
       lines[Find(lines, "Venda Bruta")] =
           ReadingAmountLine("Venda Bruta:", "99999999999999999,99");
     },
     "linha 12, colunas 29-48: valor grande demais"},
    {"LettersInATaxedRate",
     [](std::vector<std::string>& lines) {
       lines[Find(lines, "02  12,00")] = ReadingRateLine("02", "12,0x", "50000", "6000");
     },
     "colunas 5-9: valor inválido \"12,0x\""},
    {"BadTime",
     [](std::vector<std::string>& lines) {
       lines[Find(lines, "Tempo em")] = ReadingLine("Tempo em servico:", "01:0?:03        ");
     },
     "colunas 33-40: tempo inválido"},
};

class BadReadingTest : public ReductionExportTest,
                       public ::testing::WithParamInterface<BadReading> {};

TEST_P(BadReadingTest, FailsNamingThePlaceAndTouchesNothing) {
  std::vector<std::string> lines = SampleXReading();
  GetParam().spoil(lines);
  HandOver(lines);

  EXPECT_FALSE(Export());

  ExpectUntouched();
  ASSERT_EQ(Problems().size(), 1u);
  EXPECT_THAT(Problems()[0], HasSubstr(GetParam().problem));
}

INSTANTIATE_TEST_SUITE_P(Layout, BadReadingTest, ::testing::ValuesIn(kBadReadings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReductionExportTest, RefusedReadingNeverParsesAnEarlierFile) {
  // Yesterday's reading is still there; today's is refused.
  env_.WriteLines(ReturnFile(), SampleXReading());
  FailEntry(kSerialReading, -6, 1);

  EXPECT_FALSE(Export());

  ExpectUntouched();
  EXPECT_FALSE(env_.FileExists(ReturnFile()));
  EXPECT_THAT(host_.DialogTexts(),
              ElementsAre(Utf8ToCp1252("Impressora desligada ou desconectada.")));
  EXPECT_THAT(Problems(), Contains(HasSubstr("recusou a leitura X serial")));
}

TEST_F(ReductionExportTest, AReadingThatWritesNoFileFails) {
  env_.WriteLines(ReturnFile(), SampleXReading());
  HandOver({}, /*write=*/false);

  EXPECT_FALSE(Export());

  ExpectUntouched();
  EXPECT_THAT(Problems(), Contains(HasSubstr("Retorno.txt não foi gravado")));
}

TEST_F(ReductionExportTest, MissingPathKeyAsksForNoReading) {
  WriteBemaIni({"[Sistema]", "Porta=COM1", "Path="});
  ClearSimJournal();

  EXPECT_FALSE(Export());

  ExpectUntouched();
  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_THAT(Problems(), Contains(HasSubstr("chave Path")));
}

TEST_F(ReductionExportTest, WithoutIniFileTheReadingIsOnDriveC) {
  env_.RemoveFile(env_.SystemDirectory() + "/BemaFI32.ini");

  EXPECT_TRUE(Export());

  EXPECT_EQ(reduction_.RecordCount(), 1);
  EXPECT_TRUE(env_.FileExists(ReturnFile()));
}

TEST_F(ReductionExportTest, HostPaymentTypesWithoutThePrintersIndexFail) {
  types_.Close();
  types_.SetFieldDefs({{"CDTIPORECE", FieldType::kText, 3}});
  types_.CreateDataSet();

  EXPECT_FALSE(Export());

  ExpectUntouched();
  EXPECT_THAT(Problems(), Contains(HasSubstr("CDFPIMPFIS")));
}

TEST_F(ReductionExportTest, FolderThatCannotBeMadeIsToldAndTheExportGoesOn) {
  env_.InjectFailure(EnvOperation::kCreateDirectories, TestEnv::kEveryCall, "Dados");

  EXPECT_TRUE(Export());

  EXPECT_EQ(reduction_.RecordCount(), 1);
  ASSERT_EQ(host_.dialogs.size(), 2u);
  EXPECT_EQ(Cp1252ToUtf8(host_.dialogs[0].text), "Não foi possível criar o diretório: Dados");
  EXPECT_EQ(Cp1252ToUtf8(host_.dialogs[1].text),
            "Não foi possível criar o diretório: Dados\\Reduções");
  EXPECT_EQ(host_.dialogs[0].colour_scheme, "002");
  EXPECT_EQ(host_.dialogs[0].question, "N");
  EXPECT_EQ(host_.dialogs[0].kind, 3);
}

}  // namespace
}  // namespace zel

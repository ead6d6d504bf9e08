#include "core/messages.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "core/message_texts.h"
#include "zel/error.h"

namespace zel {
namespace {

std::vector<std::string> KeysOf(const TMessages& table) {
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < table.Count(); ++i) keys.emplace_back(table.KeyAt(i));
  return keys;
}

// --- The table class -------------------------------------------------------

TEST(TMessagesTest, KeysMatchIgnoringLetterCase) {
  TMessages table({"Relatorio|Relatorios", "ImpErro|Impressora fiscal com erro."});
  EXPECT_EQ(table.Msg("RELATORIO"), "Relatorios");
  EXPECT_EQ(table.Msg("relatorio"), "Relatorios");
  EXPECT_EQ(table.Msg("IMPERRO"), "Impressora fiscal com erro.");
  EXPECT_TRUE(table.Contains("imperro"));
}

TEST(TMessagesTest, FirstOfTwoRowsWithTheSameKeyWins) {
  TMessages table({"Chave|primeiro", "Outra|x", "CHAVE|segundo"});
  EXPECT_EQ(table.Count(), 3u);
  EXPECT_EQ(table.Msg("chave"), "primeiro");
  EXPECT_EQ(table.Row(2), "CHAVE|segundo");
}

TEST(TMessagesTest, TextRunsFromTheFirstBarToTheEndOfTheRow) {
  TMessages table({"Linha|a|b", "Vazio|"});
  EXPECT_EQ(table.Msg("Linha"), "a|b");
  EXPECT_EQ(table.KeyAt(0), "Linha");
  EXPECT_TRUE(table.Contains("Vazio"));
  EXPECT_EQ(table.Msg("Vazio"), "");
}

TEST(TMessagesTest, MissingKeyGivesASentenceNamingTheKey) {
  TMessages table({"ImpErro|Impressora fiscal com erro."});
  EXPECT_FALSE(table.Contains("ErroGravacao"));
  EXPECT_EQ(table.Msg("ErroGravacao"), "Mensagem n\xE3o cadastrada (ErroGravacao).");
  EXPECT_EQ(TMessages().Msg("relFechamentoGeral"),
            "Mensagem n\xE3o cadastrada (relFechamentoGeral).");
}

TEST(TMessagesTest, FileNameFillsTheFirstPlaceholderOnly) {
  TMessages table({"Arq|Arquivo (%s) e %s.", "Sem|Nada a preencher."});
  EXPECT_EQ(table.Msg("arq", "C:\\x\\Ploteva.cds"), "Arquivo (C:\\x\\Ploteva.cds) e %s.");
  EXPECT_EQ(table.Msg("Sem", "a.txt"), "Nada a preencher.");
  // A file name that itself holds "%s" is not expanded again.
  EXPECT_EQ(table.Msg("Arq", "%s"), "Arquivo (%s) e %s.");
  EXPECT_EQ(FillPlaceholder("%s", ""), "");
}

TEST(TMessagesTest, MalformedRowsAreRefused) {
  TMessages table;
  EXPECT_THROW(table.Add("SemBarra"), Error);
  EXPECT_THROW(table.Add("|texto sem chave"), Error);
  EXPECT_EQ(table.Count(), 0u);
  EXPECT_THROW(table.Row(0), Error);
  EXPECT_THROW(TMessages({"Boa|linha", "ruim"}), Error);
}

// --- The driver's two tables -----------------------------------------------

class DriverTablesTest : public ::testing::Test {
 protected:
  TMessages standard_{StandardMessageRows()};
  TMessages secondary_{SecondaryMessageRows()};
};

TEST_F(DriverTablesTest, HoldTheirRowCounts) {
  EXPECT_EQ(standard_.Count(), 287u);
  EXPECT_EQ(secondary_.Count(), 37u);
}

TEST_F(DriverTablesTest, StandardKeysStandInTableOrder) {
  const std::vector<std::string> keys = KeysOf(standard_);
  const std::map<std::size_t, std::string> expected = {
      {0, "Nome"},        {1, "Relatorio"},           {7, "AliqNaoCad"},
      {30, "ErroPorta"},  {46, "AliqNaoCad"},         {62, "Nome"},
      {69, "CV-EMITIDO"}, {70, "Suprimento"},         {99, "Tampa_aberta"},
      {100, "Erro001"},   {176, "TOTALIZ"},           {181, "ArqConfig_Inv"},
      {223, "Quarvel"},   {234, "N_ENC_CLIENTE.CFG"}, {286, "CatRio_Gerada"},
  };
  for (const auto& [index, key] : expected) EXPECT_EQ(keys.at(index), key) << "row " << index;
}

TEST_F(DriverTablesTest, PrinterErrorRowsFollowTheirNumberingWithItsGaps) {
  std::vector<std::string> expected;
  auto add = [&](int from, int to) {
    for (int n = from; n <= to; ++n) {
      expected.push_back("Erro" + std::string(n < 10 ? "00" : "0") + std::to_string(n));
    }
  };
  add(1, 52);
  add(54, 56);
  add(58, 69);
  add(71, 71);
  add(76, 83);
  const std::vector<std::string> keys = KeysOf(standard_);
  const std::vector<std::string> run(keys.begin() + 100, keys.begin() + 100 + expected.size());
  EXPECT_EQ(run, expected);
  EXPECT_EQ(keys.at(100 + expected.size()), "TOTALIZ");
}

TEST_F(DriverTablesTest, SecondaryKeysStandInTableOrder) {
  const std::vector<std::string> keys = KeysOf(secondary_);
  EXPECT_EQ(keys.front(), "Erro_Detectar");
  EXPECT_EQ(keys.at(19), "Erro_Gravacao");
  EXPECT_EQ(keys.at(29), "GER_COTEPE_OK");
  EXPECT_EQ(keys.at(32), "Data");
  EXPECT_EQ(keys.back(), "INSCRICAOMUNICIPAL");
}

TEST_F(DriverTablesTest, OnlyTheFourKnownKeysRepeat) {
  std::map<std::string, std::vector<std::string>> rows_by_key;
  for (std::size_t i = 0; i < standard_.Count(); ++i) {
    std::string key(standard_.KeyAt(i));
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    rows_by_key[key].push_back(standard_.Row(i));
  }
  std::map<std::string, std::vector<std::string>> repeated;
  for (const auto& [key, rows] : rows_by_key) {
    if (rows.size() > 1) repeated[key] = rows;
  }
  const std::map<std::string, std::vector<std::string>> expected = {
      {"aliqnaocad",
       {"AliqNaoCad|Al\xEDquota n\xE3o cadastrada na impressora fiscal.", "AliqNaoCad|AliqNaoCad"}},
      {"cv-emitido", {"CV-EMITIDO|CONTRA-VALE EMITIDO", "CV-EMITIDO|CONTRA-VALE EMITIDO"}},
      {"nome", {"Nome|NOME", "Nome|NOME"}},
      {"suprimento", {"Suprimento|Suprimento", "Suprimento|Suprimento"}},
  };
  EXPECT_EQ(repeated, expected);
  EXPECT_EQ(standard_.Msg("ALIQNAOCAD"), "Al\xEDquota n\xE3o cadastrada na impressora fiscal.");
  for (std::size_t i = 0; i < secondary_.Count(); ++i) {
    for (std::size_t j = i + 1; j < secondary_.Count(); ++j) {
      EXPECT_NE(secondary_.KeyAt(i), secondary_.KeyAt(j));
    }
  }
}

// Byte-exact Windows-1252: the conversion of the accented letters is part of
// what is checked.
TEST_F(DriverTablesTest, QuotedTextsAreExactInTheCodePage) {
  const std::map<std::string, std::string> expected = {
      {"AliqNProg", "Al\xEDquota n\xE3o programada na impressora fiscal."},
      {"DataDif", "Data da impressora fiscal difere da data do sistema em mais de 15 minutos."},
      {"ErroComunicacao", "Erro de comunica\xE7\xE3o."},
      {"ErroExecucao", "Erro de execu\xE7\xE3o na fun\xE7\xE3o."},
      {"BancoNCad", "Banco n\xE3o cadastrado no arquivo de inicializ\xE7\xE3o da impressora."},
      {"TransEfet", "Transa\xE7\xE3o j\xE1 efetuada."},
      {"DataFiscalAnterior",
       "A data fiscal da impressora est\xE1 menor que a data atual. \xC9 necess\xE1ria a "
       "impress\xE3o de uma Redu\xE7\xE3o Z. Confirma?"},
      {"Bemafi_Imp",
       "O par\xE2metro Impressora no arquivo BemaFI32.ini encontra-se com o valor errado.O "
       "sistema ir\xE1 alterar este par\xE2metro automaticamente e ser\xE1 fechado."},
      {"Imp_N_Resp", "Impressora n\xE3o responde. Imprimir novamente?"},
      {"ErroItem", "Erro ao imprimir o item: "},
      {"Relatorio", "Relatorios"},
      {"Compra-Cred", "Cred Pessoal"},
      {"RelGerencial", "Rel Gerencial"},
      {"Convenio", "Conv\xEAnio"},
      {"Tot_Acre", "Total de Acr\xE9scimos"},
      {"Isento", "Isento :"},
      {"NIncide", "N\xE3o Incide"},
      {"ConfReducao", "Confirma impress\xE3o da redu\xE7\xE3o z?"},
      {"Cabecalho", "CODIGO     NOME          QTDE   VR.UNIT. VR.TOT."},
      {"SEN_PED", "SENHA PEDIDO:  "},
      {"Canc_Deposito", "Cancelamento do dep\xF3sito"},
      {"N_POS_DIR", "N\xE3o foi poss\xEDvel criar o diret\xF3rio:"},
  };
  for (const auto& [key, text] : expected) EXPECT_EQ(standard_.Msg(key), text) << key;
  EXPECT_EQ(secondary_.Msg("DATA"), "Data/Hora");
  EXPECT_EQ(secondary_.Msg("InscMunicipal"), "Insc.Municipal");
}

TEST_F(DriverTablesTest, PlaceholdersTakeTheFileName) {
  EXPECT_EQ(standard_.Msg("ArqConfig_Inv", "C:\\PDV\\Ploteva.cds"),
            "Arquivo (C:\\PDV\\Ploteva.cds) com a configura\xE7\xE3o da impressora fiscal "
            "est\xE1 inv\xE1lido. Atualize o arquivo antes de tentar novamente.");
  EXPECT_EQ(standard_.Msg("ArqConfig_Inv1", "x.cds"),
            "O arquivo (x.cds) possui internamente um c\xF3"
            "digo de filial diferente da filial "
            "definida no nome do  arquivo. Atualize o arquivo antes de tentar novamente.");
  EXPECT_EQ(standard_.Msg("ArqConfig_Inv4", "y.cds"),
            "Arquivo (y.cds) est\xE1 inv\xE1lido. Valor do totalizador geral da impressora fiscal "
            "est\xE1 incorreto.");
  EXPECT_EQ(secondary_.Msg("SALDO_FIN", "R$ 12,50"), "Saldo Final : R$ 12,50");
}

TEST_F(DriverTablesTest, EveryRowHasAKeyATextAndAtMostOnePlaceholder) {
  for (const TMessages* table : {&standard_, &secondary_}) {
    for (std::size_t i = 0; i < table->Count(); ++i) {
      const std::string& row = table->Row(i);
      const std::string text = row.substr(row.find('|') + 1);
      EXPECT_FALSE(table->KeyAt(i).empty()) << row;
      EXPECT_FALSE(text.empty()) << row;
      const std::size_t first = text.find("%s");
      if (first != std::string::npos) {
        EXPECT_EQ(text.find("%s", first + 1), std::string::npos) << row;
      }
    }
  }
}

TEST_F(DriverTablesTest, TotalizerNamesFitWhatThePrinterCompares) {
  for (const char* key : {"CV-EMITIDO", "VENDA-CONS", "Relatorio", "Compra-Cred", "Canc-Cred"}) {
    EXPECT_LE(standard_.Msg(key).size(), 19u) << key;
  }
}

TEST_F(DriverTablesTest, MakersFooterFitsOnePrintedLine) {
  const std::string footer = standard_.Msg("Quarvel");
  EXPECT_FALSE(footer.empty());
  EXPECT_LE(footer.size(), 48u);
}

}  // namespace
}  // namespace zel

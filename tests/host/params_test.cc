#include <gtest/gtest.h>

#include <string>

#include "host/codepage.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace zel {
namespace {

// The message of the error RecebeParams raises, or "" when it raises none.
std::string RefusalOf(const Variant& params, std::string_view name) {
  try {
    RecebeParams(params, name);
  } catch (const Error& error) {
    return error.what();
  }
  return "";
}

Variant Pair(Variant name, Variant value) { return Variant(VariantArray{name, value}); }

TEST(ParamsTest, MakeParamsBuildsPairsInOrder) {
  const Variant params = MakeParams({{"ESQUEMACOR", "001"}, {"QTDE", 2.5}});
  EXPECT_EQ(params, Variant(VariantArray{Pair("ESQUEMACOR", "001"), Pair("QTDE", 2.5)}));
  EXPECT_EQ(MakeParams({}), Variant(VariantArray{}));
}

TEST(ParamsTest, ReadsValuesByNameIgnoringCase) {
  const Variant params = MakeParams(
      {{"CdFilial", "0001"}, {"QTDE", 1.5}, {"UTILTEF", false}, {"VAZIO", {}}, {"qtde", 9.0}});
  EXPECT_EQ(RecebeParams(params, "CDFILIAL"), Variant("0001"));
  EXPECT_EQ(RecebeParams(params, "cdfilial"), Variant("0001"));
  EXPECT_EQ(RecebeParams(params, "Qtde"), Variant(1.5));  // the first match wins
  EXPECT_EQ(RecebeParams(params, "UTILTEF"), Variant(false));
  EXPECT_TRUE(RecebeParams(params, "VAZIO").IsEmpty());
  EXPECT_NE(RefusalOf(params, "CDFILIA"), "");
  EXPECT_NE(RefusalOf(params, "CDFILIAL "), "");
}

TEST(ParamsTest, MissingNameIsNamed) {
  const std::string expected =
      Utf8ToCp1252("Parâmetro 'NRSERIEIMP' não encontrado entre os parâmetros recebidos");
  EXPECT_EQ(RefusalOf(MakeParams({{"CDFILIAL", "0001"}}), "NRSERIEIMP"), expected);
  EXPECT_EQ(RefusalOf(MakeParams({}), "NRSERIEIMP"), expected);
}

TEST(ParamsTest, MalformedArraysAreRefusedWithTheirProblem) {
  const struct {
    Variant params;
    const char* message;
  } cases[] = {
      {Variant("CDFILIAL=1"), "Os parâmetros recebidos não são uma matriz (tipo String)"},
      {Variant(), "Os parâmetros recebidos não são uma matriz (tipo Empty)"},
      {Variant(VariantArray{Pair("A", 1), Variant(VariantArray{"B"})}),
       "O elemento 1 dos parâmetros não é um par (nome, valor) (matriz de 1 item)"},
      {Variant(VariantArray{Variant(VariantArray{"A", 1, 2})}),
       "O elemento 0 dos parâmetros não é um par (nome, valor) (matriz de 3 itens)"},
      {Variant(VariantArray{Pair("A", 1), Variant(5)}),
       "O elemento 1 dos parâmetros não é um par (nome, valor) (tipo Integer)"},
      {Variant(VariantArray{Pair("A", 1), Pair(10, "dez")}),
       "O nome do elemento 1 dos parâmetros não é um texto (tipo Integer)"},
      {Variant(VariantArray{Pair(Variant(VariantArray{}), 1)}),
       "O nome do elemento 0 dos parâmetros não é um texto (matriz de 0 itens)"},
  };
  // "A" is in most arrays: a malformed element after the match is still refused.
  for (const auto& c : cases) EXPECT_EQ(RefusalOf(c.params, "A"), Utf8ToCp1252(c.message));
}

TEST(ParamsTest, ReturnsACopy) {
  const Variant params = MakeParams({{"ITENS", Variant(VariantArray{1, 2})}});
  Variant items = RecebeParams(params, "ITENS");
  items.MutableArray().push_back(3);
  EXPECT_EQ(RecebeParams(params, "ITENS").AsArray().size(), 2u);
}

}  // namespace
}  // namespace zel

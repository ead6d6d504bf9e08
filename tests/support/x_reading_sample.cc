#include "support/x_reading_sample.h"

#include <cstdio>

#include "host/codepage.h"

namespace zel {
namespace {

constexpr std::size_t kWidth = 48;

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n % 100);
  return text;
}

}  // namespace

std::string ReadingLine(const std::string& label, const std::string& value) {
  return label + Blanks(kWidth - label.size() - value.size()) + value;
}

std::string ReadingAmountLine(const std::string& label, const std::string& amount) {
  return label + Blanks(28 - label.size()) + Blanks(20 - amount.size()) + amount;
}

std::string ReadingBanner(const char* utf8_title) {
  const std::string title = Utf8ToCp1252(utf8_title);
  const std::size_t left = (kWidth - title.size()) / 2;
  return std::string(left, '-') + title + std::string(kWidth - left - title.size(), '-');
}

std::string ReadingRateLine(const std::string& position, const std::string& rate,
                            const std::string& base, const std::string& tax) {
  return position + "  " + rate + Blanks(5) + Blanks(15 - base.size()) + base + " " +
         Blanks(18 - tax.size()) + tax;
}

std::vector<std::string> SampleXReading(int extra) {
  std::vector<std::string> lines = {
      "LEITURA X",
      ReadingBanner("CONTADORES"),
      ReadingLine("CRO:", "0002"),
      ReadingLine("CRZ:", "0041"),
      ReadingLine("COO:", "000120"),
      ReadingLine("GNF:", "000015"),
      ReadingLine("CFC:", "0003"),
      ReadingLine("Primeiro:", "000100"),
      ReadingLine("Ultimo:", "000119"),
      ReadingBanner("TOTALIZADORES FISCAIS"),
      ReadingAmountLine("Totalizador Geral:", "1.234,56"),
      ReadingAmountLine("Venda Bruta:", "123456"),
      ReadingAmountLine("ISS:", "7,00"),
      ReadingAmountLine("Cancelamentos:", "10,00"),
      ReadingAmountLine("Descontos:", "2,00"),
      ReadingAmountLine("Total Nao Fiscal:", "5,00"),
      ReadingAmountLine("Venda Liquida:", "1.222,56"),
      ReadingAmountLine("Acrescimos:", "0,50"),
      ReadingBanner("Não Tributados"),
      ReadingAmountLine("Substituicao:", "1,00"),
      ReadingAmountLine("Isencao:", "2,00"),
      ReadingAmountLine("Nao Incidencia:", "3,00"),
      ReadingBanner("Tributados"),
      "No  Aliq.   Base de Calculo            Imposto",
      ReadingRateLine("01", "18,00", "1.000,00", "180,00"),
      ReadingRateLine("02", "12,00", "50000", "6000"),
  };
  for (int i = 0; i < extra; ++i) {
    lines.push_back(ReadingRateLine(TwoDigits(3 + i), "07,00", "100,00", "7,00"));
  }
  const std::vector<std::string> middle = {
      ReadingRateLine("Total", "", "", ""),
      ReadingBanner("ISS"),
      "No  Aliq.   Base de Calculo            Imposto",
      ReadingRateLine("05", "05,00", "7,00", "0,35"),
      "Total         7,00 0,35",
      ReadingBanner("Formas de Pagamento"),
      ReadingAmountLine("01 Dinheiro", "1.000,00"),
      ReadingAmountLine("03 Vale", "100,00"),
      ReadingAmountLine("02 Cartao", "122,56"),
  };
  lines.insert(lines.end(), middle.begin(), middle.end());
  for (int i = 0; i < extra; ++i) {
    lines.push_back(ReadingAmountLine(TwoDigits(4 + i) + " Forma", "1,00"));
  }
  const std::vector<std::string> end = {
      "",
      ReadingBanner("TOTALIZADORES NÃO FISCAIS"),
      "No Descricao           CON  Valor acumulado",
      "SA Sangria             0001" + Blanks(17) + "3,00",
      "SU Suprimento          0002" + Blanks(17) + "8,00",
      std::string(kWidth, '-'),
      ReadingLine("Tempo em servico:", "01:02:03        "),
      ReadingLine("Tempo emitindo:", "00:10:20        "),
      "Memoria livre:    1759 reducoes",
      std::string(kWidth, '-'),
  };
  lines.insert(lines.end(), end.begin(), end.end());
  return lines;
}

}  // namespace zel

// The restaurant operations: the printer's table commands, and the table
// documents the driver prints itself as linked receipts. Included by
// zel/operations.h; the same rules hold (C symbol of the plain name unless
// "unit-qualified only", Windows-1252 texts owned by the caller, one host
// thread).
#ifndef ZEL_RESTAURANT_OPERATIONS_H_
#define ZEL_RESTAURANT_OPERATIONS_H_

#include <string>

#include "zel/export.h"
#include "zel/variant.h"

namespace zel {
class Dataset;
}  // namespace zel

namespace Zel00101 {

// --- Table commands ---------------------------------------------------------------
// Each sends one command of the "80" family through EnviaComando with the
// colour scheme and Mostra true, and returns its verdict. Amounts become
// digit fields with implied decimals; one that does not fit its field (or
// is negative, or no number) raises zel::Error naming the field and its
// largest value, and nothing is sent, since the printer would otherwise
// read another amount. So does a text holding "|" or ESC, which would end
// its field early and shift the fields after it.

// Registers an item on table or order pad `Mesa` ("9999" when empty):
// price, rate code, discount, quantity (three decimals), product code
// (zero-filled to 14), description (first 17 characters), unit.
ZEL_EXPORT bool Registra_Item_Imp(const std::string& EsquemaCor, const std::string& Mesa,
                                  const std::string& Aliquota, const std::string& Codigo,
                                  const std::string& Descricao, const std::string& Unidade,
                                  double Preco, double Quantidade, double Desconto);

// Takes an item off a table: the same fields, with the table fitted to 4
// columns ("9999" when blank) and the code fitted to 14.
ZEL_EXPORT bool Cancela_Item_Imp(const std::string& EsquemaCor, const std::string& Mesa,
                                 const std::string& Aliquota, const std::string& Codigo,
                                 const std::string& Descricao, const std::string& Unidade,
                                 double Preco, double Quantidade, double Desconto);

// Prints the table check: with a service percent above 0 (4 digits), else
// with a service amount above 0 (14 digits), else with neither, in which
// case `Pessoas` is not sent.
ZEL_EXPORT bool Cupom_Conferencia(const std::string& EsquemaCor, const std::string& Mesa,
                                  const std::string& Pessoas, double PercentualServico,
                                  double ValorServico);

// Closes the check of `Mesa` for `Valor`; a `Valor` of 0 sends table "0"
// and no amount, which the printer takes as nothing to close.
ZEL_EXPORT bool Fecha_Conferencia_Imp(const std::string& EsquemaCor, const std::string& Mesa,
                                      double Valor);

// Moves every item of table `Origem` to table `Destino`.
ZEL_EXPORT bool Juncao_Mesa(const std::string& EsquemaCor, const std::string& Origem,
                            const std::string& Destino);

// Opens a fiscal coupon holding the items of `Mesa`, for `Consumidor`.
ZEL_EXPORT bool AbreCupomRes(const std::string& EsquemaCor, const std::string& Mesa,
                             const std::string& Consumidor);

// Moves `Quantidade` of one product from `Origem` to `Destino`. `Reservado`
// travels as 4 digits the printer does not read.
ZEL_EXPORT bool Transfere_Item_Imp(const std::string& EsquemaCor, const std::string& Origem,
                                   const std::string& Destino, const std::string& Codigo,
                                   const std::string& Descricao, const std::string& Aliquota,
                                   const std::string& Unidade, double Reservado, double Preco,
                                   double Quantidade);

// The printer's own list of open tables; `Parametro` is sent as it is.
ZEL_EXPORT bool Rel_MesaAber(const std::string& EsquemaCor, const std::string& Parametro);

// Unit-qualified only. The printer's menu: every product it has seen on a
// table.
ZEL_EXPORT bool ImprimeCardapio(const std::string& EsquemaCor);

// --- Table documents -----------------------------------------------------------------
// Printed as a linked receipt: a one-cent receipt on the report totalizer
// (IdTotRelatorio), the linked receipt, the text in pieces, FechRelatGerenc.
// A failed step is reported to the operator by the return analysis and the
// printing goes on; each result below says what it tells.

// The host's own text of a table check. `NumeroCupom` receives the receipt
// number (six digits or "ERRO"). Returns the verdict of the closing, so a
// host may rely on it, though other drivers give no verdict here.
ZEL_EXPORT bool Conferencia(const std::string& EsquemaCor, std::string& NumeroCupom,
                            const std::string& Texto);

// As Conferencia, the pieces sent with the caller's colour scheme; after a
// successful closing the host's GravaDocumentosNaoFiscais records `Chave`
// as a "CM" document. False on any failure or error (never raises).
ZEL_EXPORT bool Conferencia_Formatada(const std::string& EsquemaCor, const std::string& Reservado1,
                                      const std::string& Reservado2, const std::string& Chave,
                                      std::string& NumeroCupom, const std::string& Texto);

// The host's text of an exchange receipt; the verdict of the closing.
ZEL_EXPORT bool Cupom_Troca(const std::string& EsquemaCor, const std::string& Reservado1,
                            const std::string& Reservado2, const std::string& Texto);

// The table-opening receipt: `Itens` is the data packet of the table's
// products (CDARVPROD, NMPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN), loaded into
// cdsParcProdutos. Service fee, surcharge and discount print when above 0.
// Returns whether the linked receipt opened.
ZEL_EXPORT bool Abertura_Mesa(const std::string& EsquemaCor, const std::string& Reservado1,
                              const std::string& Mesa, const std::string& Reservado2,
                              const std::string& Emissao, const zel::Variant& Itens,
                              double Desconto, double Reservado3, double Reservado4,
                              double TaxaServico, double Reservado5, double Total,
                              double Acrescimo);

// The sales record of a table (a 4-character number) or order pad: the
// rows of `Itens` (CDPROD, NMPROD, STQTDE, STVALOR), copied into
// cdsItemsReg. True once printed, whatever the printer said.
ZEL_EXPORT bool RegistroVenda(const std::string& EsquemaCor, const std::string& Reservado1,
                              const std::string& Reservado2, zel::Dataset& Itens,
                              const std::string& Numero);

// Unit-qualified only. Prepares the host's sales-record file cdsVenda.cds
// in dsDirCad for a cancellation: keeps only the rows printed on the fiscal
// coupon (IDPRODIMPFIS "S") with their service fee and discounts set to 0.
// The file is replaced whole or not at all; a file that does not load, or
// cannot be written, is left as it was and the cause shown to the operator.
// A missing file does nothing.
ZEL_EXPORT void CancRegistroVenda(const std::string& EsquemaCor);

// The list of open tables and order pads from the host's data
// (DSCOMANDA, NRMESA, DTHRABERMESA), grouped by kind in the order given.
// The receipt number is kept in stRetorno. Returns the verdict of the
// closing (other drivers give none; a host should not depend on it).
// `Reservado` may be null.
ZEL_EXPORT bool ImprimeMesasAbertas(zel::Dataset* Reservado, const std::string& Reservado1,
                                    const std::string& Reservado2, const std::string& EsquemaCor,
                                    const zel::Variant& Mesas);

// The products moved between tables (NRMESA, NRMESADSCOMORIT, CDPRODUTO,
// NMPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN), one heading per transfer.
ZEL_EXPORT void imprimeProdutosTransf(const std::string& Reservado1, const std::string& Reservado2,
                                      const std::string& EsquemaCor, const zel::Variant& Produtos);

}  // namespace Zel00101

#endif  // ZEL_RESTAURANT_OPERATIONS_H_
